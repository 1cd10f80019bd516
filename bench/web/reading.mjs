// One step of play on a phone, in the reading layout beside the original:
//
//   node bench/web/reading.mjs [ROUNDS]      (15 rounds by default)
//
// Each round opens the page afresh at 360 x 640 with touch, in one layout
// and then the other (?layout=reading, ?layout=original), lets the web
// player (tests/web's, with a finger) pick the knight, and times the step
// that starts the first journey: from the tap's click event to the page at
// rest (the game settled and the next frame drawn), by the page's own
// clock. Printed as key=value lines: each layout's median in ms, and the
// reading layout's median over the original's.
//
// The built page is read from build-web/site, or $VENDRAL_WEB_SITE.
import { join, resolve } from "node:path";
import { REPO, launchBrowser, openPage, serveSite } from "../../tests/web/browser.mjs";
import { PageDriver, runScript } from "../../tests/web/replay.mjs";
import { readScript } from "../../tests/web/script.mjs";

const SITE = resolve(process.env.VENDRAL_WEB_SITE || join(REPO, "build-web/site"));
const ROUNDS = Number(process.argv[2] ?? 15);
if (!Number.isInteger(ROUNDS) || ROUNDS < 1) {
  process.stderr.write("usage: node bench/web/reading.mjs [ROUNDS]\n");
  process.exit(2);
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};

// The time of one step in a fresh page in `layout`, in ms.
async function step(browser, server, layout) {
  const { page, context, faults } = await openPage(browser, server, `index.html?test&hold&seed=1&layout=${layout}`, {
    viewport: { width: 360, height: 640 },
    hasTouch: true,
  });
  try {
    let transcript = "";
    const write = (text) => (transcript += text);
    const driver = new PageDriver(page, write, { touch: true });
    if ((await runScript(readScript("name Ann\nclick Form1.cmdknight\n"), driver, write)) !== 0) throw new Error(transcript);
    const shown = await page.evaluate(() => document.documentElement.classList.contains("reading"));
    if (shown !== (layout === "reading")) throw new Error(`the page is not in the ${layout} layout`);
    // The page at rest before the step.
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    await page.evaluate(() => {
      window.__clicked = null;
      document.addEventListener("click", (e) => (window.__clicked ??= e.timeStamp), { capture: true, once: true });
    });
    const at = await driver.controlPoint("Form1", "cmdstart");
    if (at.refusal !== undefined) throw new Error(at.refusal);
    await driver.clickAt(at);
    const ms = await page.evaluate(async () => {
      await window.vendral.settle();
      await new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
      return window.__clicked === null ? null : performance.now() - window.__clicked;
    });
    if (ms === null) throw new Error("the tap gave no click");
    if (faults.length) throw new Error(faults.join("\n"));
    return ms;
  } finally {
    await context.close();
  }
}

const server = await serveSite(SITE);
const browser = await launchBrowser({ shared: false });
const times = { reading: [], original: [] };
try {
  for (let round = 0; round < ROUNDS; ++round) {
    // Alternated, each layout first every other round.
    const order = round % 2 ? ["original", "reading"] : ["reading", "original"];
    for (const layout of order) times[layout].push(await step(browser, server, layout));
  }
} finally {
  await browser.close();
  await server.close();
}
const reading = median(times.reading);
const original = median(times.original);
console.log(`step_reading_ms=${reading.toFixed(1)}`);
console.log(`step_original_ms=${original.toFixed(1)}`);
console.log(`step_ratio=${(reading / original).toFixed(2)}`);
