// Opens the built page in headless Chromium for the browser tests: the
// site served on 127.0.0.1 by the page's own server (with its Content
// Security Policy), Debian's Chromium driven through playwright-core, and
// every fault the page shows on its own (an uncaught exception, a console
// error, a blocked resource, an alert) gathered for the test to check.
import { existsSync, readFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";
import { startServer } from "../../src/web/serve.mjs";

export const REPO = resolve(dirname(fileURLToPath(import.meta.url)), "../..");
export const DEFAULT_SITE = join(REPO, "build-web/site");

export const CHROMIUM = process.env.VENDRAL_CHROMIUM || "/usr/bin/chromium";

// What Chromium needs to run as root without a display, a GPU or a network,
// and without calling home.
export const CHROMIUM_ARGS = [
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
  "--disable-dev-shm-usage",
];

// A Chromium of its own, or the one browser_daemon.mjs keeps running for a
// whole test run when VENDRAL_WEB_BROWSER names its state file (each test
// still plays in a fresh browser context of its own). With `shared: false`
// always one of its own, as a benchmark needs: browser.process() is then
// the process its others descend from.
export async function launchBrowser({ shared = true } = {}) {
  const keeper = shared ? process.env.VENDRAL_WEB_BROWSER : "";
  if (keeper && existsSync(keeper)) {
    try {
      const { wsEndpoint } = JSON.parse(readFileSync(keeper, "utf8"));
      return await chromium.connect(wsEndpoint, { timeout: 30_000 });
    } catch (e) {
      process.stderr.write(`the shared browser cannot be reached (${e.message}); launching one\n`);
    }
  }
  // playwright gives each launch a fresh profile folder of its own.
  return chromium.launch({ executablePath: CHROMIUM, headless: true, args: CHROMIUM_ARGS, timeout: 60_000 });
}

export async function serveSite(site = DEFAULT_SITE) {
  if (!existsSync(join(site, "index.html"))) throw new Error(`no built page at ${site} (scripts/web.sh --no-serve builds it)`);
  return startServer({ root: site });
}

// A fresh page in a browser context of its own, with its faults gathered
// in `faults` as lines of text, not yet opened on anything.
export async function newPage(browser, { viewport = { width: 1280, height: 800 }, hasTouch = false } = {}) {
  const context = await browser.newContext({ viewport, hasTouch, deviceScaleFactor: 1 });
  const page = await context.newPage();
  const faults = [];
  const requests = [];
  const dialogs = [];
  page.on("pageerror", (e) => faults.push(`uncaught exception: ${e.message}`));
  page.on("console", (m) => {
    if (m.type() === "error") faults.push(`console error: ${m.text()}`);
  });
  page.on("requestfailed", (r) => {
    const why = r.failure()?.errorText;
    // The browser fetches the tab's icon for itself (a request of no kind the
    // page makes, an SVG where the pictures come as images) and drops that
    // fetch when it no longer needs it: not a fault of the page.
    if (why === "net::ERR_ABORTED" && r.resourceType() === "other" && r.url().endsWith(".svg")) return;
    faults.push(`request failed: ${r.url()} (${why})`);
  });
  page.on("request", (r) => requests.push(r.url()));
  page.on("dialog", (d) => {
    dialogs.push(`${d.type()}: ${d.message()}`);
    faults.push(`a ${d.type()} opened: ${d.message()}`);
    d.dismiss().catch(() => {});
  });
  // Policy violations are counted by the page itself, from its first script on.
  await page.addInitScript(() => {
    window.__violations = [];
    document.addEventListener("securitypolicyviolation", (e) =>
      window.__violations.push(`${e.violatedDirective} ${e.blockedURI}`),
    );
  });
  return { page, context, faults, requests, dialogs };
}

// A fresh page (newPage's) opened on `path` (a path and query under the
// server's root). Resolves once the test interface is ready when the query
// asks for it.
export async function openPage(browser, server, path, options = {}) {
  const opened = await newPage(browser, options);
  const url = new URL(path, server.url).href;
  await opened.page.goto(url, { waitUntil: "load", timeout: 60_000 });
  if (new URL(url).searchParams.has("test")) {
    await within(60_000, "window.vendralReady", opened.page.evaluate(() => window.vendralReady));
  }
  return opened;
}

// Rejects with `what` if `promise` takes longer than `ms`: a page that
// stops answering fails the test instead of hanging it.
export function within(ms, what, promise) {
  let timer;
  const timeout = new Promise((_, fail) => {
    timer = setTimeout(() => fail(new Error(`${what}: no answer within ${ms} ms`)), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}
