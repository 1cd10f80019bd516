// Renders the installed app's icons from the game's own SVG icon, at build
// time, with rsvg-convert (Debian's librsvg2-bin), then makes them smaller
// with pngquant: browsers install a page only with PNG icons of their own
// sizes, and ignore SVG ones.
//
//   node icons.mjs ICON.svg OUTDIR BACKGROUND
//
// writes OUTDIR/icon-192.png and OUTDIR/icon-512.png (the icon as drawn, on
// a clear ground) and OUTDIR/icon-maskable-512.png: the icon on a square of
// BACKGROUND (a #rrggbb colour), shrunk so that every corner of the shield
// and the sword's pommel stay inside the circle a launcher may cut it to
// (the middle 80%, a radius of 0.4 of the side). Exit status 1 with a
// message when the icon cannot be read or rsvg-convert or pngquant is
// missing or fails.
import { spawnSync } from "node:child_process";
import { mkdirSync, readFileSync, writeFileSync, rmSync } from "node:fs";
import { join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

export const SIZES = [192, 512];
export const MASKABLE_SIZE = 512;
// The share of the maskable icon's side the drawing takes. The icon's
// farthest points (the shield's top corners, the pommel) lie 1.24 half-sides
// from its middle; 0.62 × 1.24 = 0.77 of a half-side stays inside the
// safe circle of 0.8.
export const MASKABLE_SHARE = 0.62;

export class IconError extends Error {}

// The icon's SVG nested in a square of `background`, `share` of its side,
// centred: one SVG that rsvg-convert draws as it stands.
export function maskableSvg(iconText, size, background, share) {
  if (!/^#[0-9a-fA-F]{6}$/.test(background)) throw new IconError(`the background "${background}" is not a #rrggbb colour`);
  const open = iconText.match(/<svg\b[^>]*>/);
  if (!open) throw new IconError("the icon holds no <svg> element");
  const viewBox = open[0].match(/viewBox="([^"]+)"/);
  if (!viewBox) throw new IconError("the icon's <svg> has no viewBox to scale it by");
  const inner = iconText.slice(open.index + open[0].length, iconText.lastIndexOf("</svg>"));
  const side = Math.round(size * share);
  const at = Math.round((size - side) / 2);
  return [
    `<svg xmlns="http://www.w3.org/2000/svg" width="${size}" height="${size}" viewBox="0 0 ${size} ${size}">`,
    `<rect width="${size}" height="${size}" fill="${background}"/>`,
    `<svg x="${at}" y="${at}" width="${side}" height="${side}" viewBox="${viewBox[1]}">`,
    inner,
    "</svg>",
    "</svg>",
    "",
  ].join("\n");
}

function rsvg(input, output, size) {
  const run = spawnSync("rsvg-convert", ["--width", String(size), "--height", String(size), "--format", "png", "--output", output, input], {
    encoding: "utf8",
  });
  if (run.error?.code === "ENOENT") throw new IconError("rsvg-convert is not installed (Debian's librsvg2-bin: scripts/deps.sh librsvg2-bin)");
  if (run.error || run.status !== 0) throw new IconError(`rsvg-convert failed on ${input}: ${run.error?.message ?? run.stderr.trim()}`);
}

// The icon's flat colours and their soft edges fit a palette of 256
// colours with no difference to see, at under half the size: pngquant
// (Debian's pngquant) redraws each PNG so, in place. An icon it cannot
// draw well enough in a palette (or no smaller) is kept as rsvg-convert drew it.
function shrink(png) {
  const run = spawnSync(
    "pngquant",
    ["--quality=80-100", "--speed=1", "--strip", "--skip-if-larger", "--force", "--output", png, png],
    { encoding: "utf8" },
  );
  if (run.error?.code === "ENOENT") throw new IconError("pngquant is not installed (Debian's pngquant: scripts/deps.sh pngquant)");
  // 98: no smaller; 99: not good enough in a palette.
  if (run.status === 98 || run.status === 99) return;
  if (run.error || run.status !== 0) throw new IconError(`pngquant failed on ${png}: ${run.error?.message ?? run.stderr.trim()}`);
}

export function renderIcons(icon, outDir, background) {
  let text;
  try {
    text = readFileSync(icon, "utf8");
  } catch (e) {
    throw new IconError(`cannot read the icon ${icon}: ${e.message}`);
  }
  mkdirSync(outDir, { recursive: true });
  for (const size of SIZES) {
    rsvg(icon, join(outDir, `icon-${size}.png`), size);
    shrink(join(outDir, `icon-${size}.png`));
  }
  const wrapper = join(outDir, "icon-maskable.svg.tmp");
  writeFileSync(wrapper, maskableSvg(text, MASKABLE_SIZE, background, MASKABLE_SHARE));
  try {
    rsvg(wrapper, join(outDir, `icon-maskable-${MASKABLE_SIZE}.png`), MASKABLE_SIZE);
  } finally {
    rmSync(wrapper, { force: true });
  }
  shrink(join(outDir, `icon-maskable-${MASKABLE_SIZE}.png`));
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const [icon, outDir, background] = process.argv.slice(2);
  if (!icon || !outDir || !background) {
    process.stderr.write("usage: node icons.mjs ICON.svg OUTDIR BACKGROUND\n");
    process.exitCode = 2;
  } else {
    try {
      renderIcons(icon, outDir, background);
    } catch (e) {
      if (!(e instanceof IconError)) throw e;
      process.stderr.write(`icons.mjs: ${e.message}\n`);
      process.exitCode = 1;
    }
  }
}
