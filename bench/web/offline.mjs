// The page's startup with its service worker, in headless Chromium:
// navigation → the name prompt's <dialog> open, by the page's own clock.
//
//   node bench/web/offline.mjs first     a first visit: every file from the host,
//                                         the worker registered once the prompt is open
//   node bench/web/offline.mjs second    a second visit: the page and all its files
//                                         from the worker's cache
//   node bench/web/offline.mjs rounds N  N rounds of first, second and the bare
//                                         page (bench.mjs startup bare), alternated,
//                                         each run a Chromium of its own; medians
//
// A single run prints prompt_open_ms=… as bench.mjs does; rounds prints each
// side's median, the ratio of the second visit to the bare page, and the
// spread. The built page is read from build-web/site, or $VENDRAL_WEB_SITE.
import { spawnSync } from "node:child_process";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { REPO, launchBrowser, newPage, serveSite, within } from "../../tests/web/browser.mjs";

const HERE = dirname(fileURLToPath(import.meta.url));
const SITE = resolve(process.env.VENDRAL_WEB_SITE || join(REPO, "build-web/site"));

// Notes the moment the name prompt opens on every page the context loads.
async function watchPrompt(page) {
  await page.addInitScript(() => {
    window.__promptOpen = new Promise((resolve) => {
      new MutationObserver((records, observer) => {
        for (const r of records) {
          if (r.target.id !== "prompt" || !r.target.open) continue;
          observer.disconnect();
          resolve(performance.now());
          return;
        }
      }).observe(document, { subtree: true, attributes: true, attributeFilter: ["open"] });
    });
  });
}

async function visit(which) {
  const server = await serveSite(SITE);
  const browser = await launchBrowser({ shared: false });
  try {
    const { page, faults } = await newPage(browser);
    await watchPrompt(page);
    const url = new URL("index.html", server.url).href;
    if (which === "second") {
      await page.goto(url, { waitUntil: "load", timeout: 60_000 });
      await within(60_000, "the worker in control", page.waitForFunction(() => navigator.serviceWorker.controller !== null));
      // The first visit's game is left behind: a new one opens as a player's would.
      await page.goto("about:blank");
    }
    await page.goto(url, { waitUntil: "commit", timeout: 60_000 });
    const open = await within(60_000, "the name prompt", page.evaluate(() => window.__promptOpen));
    const fromWorker = await page.evaluate(() => navigator.serviceWorker.controller !== null);
    if (which === "second" && !fromWorker) throw new Error("the second visit was not served by the worker");
    if (faults.length) throw new Error(faults.join("; "));
    console.log(`prompt_open_ms=${open.toFixed(1)}`);
  } finally {
    await browser.close();
    await server.close();
  }
}

// One run of a side in a process of its own; its prompt_open_ms. A run that
// fails (a browser here may stall past a time limit) is tried once more.
function runOnce(side) {
  const [script, args] = side === "bare" ? [join(HERE, "bench.mjs"), ["startup", "bare"]] : [fileURLToPath(import.meta.url), [side]];
  let why = "";
  for (let attempt = 0; attempt < 2; ++attempt) {
    const run = spawnSync(process.execPath, [script, ...args], { encoding: "utf8", env: process.env });
    const m = run.stdout.match(/^prompt_open_ms=([\d.]+)$/m);
    if (run.status === 0 && m) return Number(m[1]);
    why = run.stderr.trim() || run.stdout.trim();
    process.stderr.write(`${side}: the run failed (${why}); once more\n`);
  }
  throw new Error(`${side} failed twice: ${why}`);
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};

async function rounds(n) {
  const sides = ["first", "second", "bare"];
  // One unrecorded run of each: the first launch warms the disk cache.
  for (const side of sides) runOnce(side);
  const times = Object.fromEntries(sides.map((s) => [s, []]));
  for (let i = 0; i < n; ++i) {
    for (const side of i % 2 ? [...sides].reverse() : sides) times[side].push(runOnce(side));
    process.stderr.write(`round ${i + 1}/${n}\n`);
  }
  for (const side of sides) {
    const t = times[side];
    console.log(`${side}_prompt_open_ms=${median(t).toFixed(1)} (${Math.min(...t).toFixed(0)}–${Math.max(...t).toFixed(0)})`);
  }
  console.log(`second_to_bare=${(median(times.second) / median(times.bare)).toFixed(2)}`);
  console.log(`first_to_bare=${(median(times.first) / median(times.bare)).toFixed(2)}`);
}

const [mode, count] = process.argv.slice(2);
try {
  if (mode === "first" || mode === "second") await visit(mode);
  else if (mode === "rounds" && Number(count) > 0) await rounds(Number(count));
  else {
    process.stderr.write("usage: node bench/web/offline.mjs first|second | rounds N\n");
    process.exitCode = 2;
  }
} catch (e) {
  process.stderr.write(`offline.mjs: ${e.message}\n`);
  process.exitCode = 1;
}
