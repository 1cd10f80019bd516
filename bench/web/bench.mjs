// Vendral's web page measured in headless Chromium, each figure beside the
// same figure of a bare page (bench/web/bare/) served the same way:
//
//   node bench/web/bench.mjs transfer          every file of the built page, gzip -9
//   node bench/web/bench.mjs startup game|bare navigation → name prompt open (ms)
//   node bench/web/bench.mjs idle game|bare    CPU of the renderers over 10 s: the Final
//                                               Battle after Nilrem shows himself, or a
//                                               page rewriting a clock label every second
//   node bench/web/bench.mjs credits game|bare CPU of the renderers over 10 s: the ending
//                                               with its six credits lines rising, or six
//                                               4–9 ms timers moving six labels
//   ... startup|idle|credits game|bare --trace [FILE]
//                                               where the time of those 10 s (or of the
//                                               startup) goes instead
//   ... idle|credits game|bare --profile        where the page's script spends them
//
// Each run is one Chromium of its own (a fresh profile folder, so no two runs
// share a process or a cache) and one server (src/web/serve.mjs, the page's
// own, with its Content Security Policy). Figures are printed as key=value
// lines for bench/run.sh; a run that does not reach the moment it measures
// fails with exit status 1 and says why.
//
// The built page is read from build-web/site, or $VENDRAL_WEB_SITE.
import { execFileSync, spawn } from "node:child_process";
import { copyFileSync, existsSync, mkdtempSync, readFileSync, readdirSync, readlinkSync, rmSync, statSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, relative, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";
import { startServer } from "../../src/web/serve.mjs";

const HERE = dirname(fileURLToPath(import.meta.url));
const REPO = resolve(HERE, "../..");
const SITE = resolve(process.env.VENDRAL_WEB_SITE || join(REPO, "build-web/site"));
const CHROMIUM = process.env.VENDRAL_CHROMIUM || "/usr/bin/chromium";
const MEASURE_MS = 10_000;
const REVEAL = "Nilrem reveals himself.";
// The game's page is measured 20 s or more after it was opened (the battle
// comes 15 s after its screen loads); a bare page waits as long, so that
// neither is measured while its loading still settles.
const BARE_SETTLE_MS = 20_000;

// Headless, as root, without a GPU, a network beyond 127.0.0.1 or calling home.
const CHROMIUM_FLAGS = [
  "--headless",
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
  "--window-size=1280,800",
];

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// A run that cannot reach what it measures stops here; the browser and
// the server are still closed on the way out.
function fail(why) {
  throw new Error(why);
}

function report(key, value) {
  console.log(`${key}=${value}`);
}

// Rejects with `what` if `promise` takes longer than `ms`.
function within(ms, what, promise) {
  let timer;
  const timeout = new Promise((_, no) => {
    timer = setTimeout(() => no(new Error(`${what}: nothing within ${ms} ms`)), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

// --- The browser ---------------------------------------------------------------

// One Chromium with a profile folder of its own, driven over the DevTools
// protocol. Its processes are told apart from every other Chromium on the
// machine by that folder, which each of them carries on its command line.
async function launch() {
  const profile = mkdtempSync(join(tmpdir(), "vendral-bench-chromium-"));
  const child = spawn(CHROMIUM, [...CHROMIUM_FLAGS, `--user-data-dir=${profile}`, "--remote-debugging-port=0", "about:blank"], {
    detached: true, // its own process group, so that it can be ended as a whole
    stdio: "ignore",
  });
  let exited = false;
  child.on("exit", () => (exited = true));
  const portFile = join(profile, "DevToolsActivePort");
  let port = "";
  for (let i = 0; i < 600 && !port && !exited; ++i) {
    if (existsSync(portFile)) port = readFileSync(portFile, "utf8").split("\n")[0].trim();
    if (!port) await sleep(50);
  }
  if (!port) fail(`${CHROMIUM} did not start`);
  const browser = await chromium.connectOverCDP(`http://127.0.0.1:${port}`, { timeout: 60_000 });
  const context = browser.contexts()[0];
  const page = context.pages()[0] ?? (await context.newPage());
  const faults = [];
  page.on("pageerror", (e) => faults.push(`uncaught exception: ${e.message}`));
  page.on("console", (m) => {
    if (m.type() === "error") faults.push(`console error: ${m.text()}`);
  });
  const close = async () => {
    try {
      const cdp = await browser.newBrowserCDPSession();
      await within(5000, "closing Chromium", cdp.send("Browser.close"));
    } catch {
      // ended below
    }
    await browser.close().catch(() => {});
    for (let i = 0; i < 100 && !exited; ++i) await sleep(50);
    if (!exited) {
      try {
        process.kill(-child.pid, "SIGKILL");
      } catch {
        // already gone
      }
    }
    // Any process of this profile left behind (a helper that outlived the
    // group) is ended by its own id.
    for (const p of chromiumProcesses(profile)) {
      try {
        process.kill(p.pid, "SIGKILL");
      } catch {
        // gone meanwhile
      }
    }
    rmSync(profile, { recursive: true, force: true });
  };
  return { browser, context, page, profile, faults, close };
}

// The Chromium processes of one profile: { pid, type } with type "renderer",
// "gpu-process", "utility", "zygote" or "browser".
function chromiumProcesses(profile) {
  const mark = `--user-data-dir=${profile}`;
  const found = [];
  for (const name of readdirSync("/proc")) {
    if (!/^\d+$/.test(name)) continue;
    let line;
    try {
      line = readFileSync(`/proc/${name}/cmdline`, "utf8").replaceAll("\0", " ");
      // The launcher script carries the same arguments; only Chromium itself counts.
      if (!readlinkSync(`/proc/${name}/exe`).includes("chromium")) continue;
    } catch {
      continue;
    }
    if (!line.includes(mark)) continue;
    const type = /--type=([\w-]+)/.exec(line)?.[1] ?? "browser";
    found.push({ pid: Number(name), type });
  }
  return found;
}

// Run time (ns) and voluntary context switches of every thread of the
// given processes, by "pid/tid".
function threadTimes(processes) {
  const times = new Map();
  for (const { pid, type } of processes) {
    let tids;
    try {
      tids = readdirSync(`/proc/${pid}/task`);
    } catch {
      continue;
    }
    for (const tid of tids) {
      try {
        const ns = Number(readFileSync(`/proc/${pid}/task/${tid}/schedstat`, "utf8").split(" ")[0]);
        const status = readFileSync(`/proc/${pid}/task/${tid}/status`, "utf8");
        const switches = Number(/voluntary_ctxt_switches:\s*(\d+)/.exec(status)?.[1] ?? 0);
        times.set(`${pid}/${tid}`, { type, ns, switches });
      } catch {
        // the thread ended meanwhile
      }
    }
  }
  return times;
}

// CPU over `ms` of the renderer processes of a browser (% of one core) and
// their wake-ups a second; the browser's other processes (the browser
// itself, its GPU and utility processes) apart, for the record.
async function measureLoad(profile, ms) {
  const before = threadTimes(chromiumProcesses(profile));
  const start = process.hrtime.bigint();
  await sleep(ms);
  const after = threadTimes(chromiumProcesses(profile));
  const elapsedNs = Number(process.hrtime.bigint() - start);
  let rendererNs = 0;
  let otherNs = 0;
  let switches = 0;
  let renderers = new Set();
  for (const [key, now] of after) {
    const was = before.get(key) ?? { ns: 0, switches: 0 };
    if (now.type === "renderer") {
      rendererNs += now.ns - was.ns;
      switches += now.switches - was.switches;
      renderers.add(key.split("/")[0]);
    } else {
      otherNs += now.ns - was.ns;
    }
  }
  return {
    cpuPercent: (100 * rendererNs) / elapsedNs,
    wakeupsPerSecond: switches / (elapsedNs / 1e9),
    otherCpuPercent: (100 * otherNs) / elapsedNs,
    renderers: renderers.size,
  };
}

// With --trace [FILE], the runs of idle and credits record a Chrome trace
// of the interval instead and print where its time went (and keep the
// trace in FILE for chrome://tracing or Perfetto).
const traceAt = process.argv.indexOf("--trace");
const tracing = traceAt >= 0;
// With --profile, V8's sampling profile of the page's script over the interval.
const profiling = process.argv.includes("--profile");
const traceFile = tracing && process.argv[traceAt + 1] && !process.argv[traceAt + 1].startsWith("-") ? process.argv[traceAt + 1] : "";

// With --css RULE (again for more), the rule is added to the page's style
// sheet just before the interval: a way to try a change of the page's look
// on its cost without building the page anew. Never for the table.
const cssRules = process.argv.flatMap((arg, i) => (arg === "--css" && process.argv[i + 1] ? [process.argv[i + 1]] : []));

// The measured interval: the renderers' CPU, or with --trace a trace summary.
async function observe({ browser, page, profile }) {
  for (const rule of cssRules) {
    await page.evaluate((rule) => {
      const sheet = document.styleSheets[0];
      sheet.insertRule(rule, sheet.cssRules.length);
    }, rule);
  }
  if (cssRules.length) await sleep(300);
  if (profiling) {
    const { profileInterval } = await import("./trace.mjs");
    console.log(await profileInterval(page, MEASURE_MS));
    return null;
  }
  if (!tracing) return measureLoad(profile, MEASURE_MS);
  const { traceInterval } = await import("./trace.mjs");
  console.log(await traceInterval(browser, page, MEASURE_MS, traceFile));
  return null;
}

function reportLoad(load) {
  if (!load) return;
  report("cpu_percent", load.cpuPercent.toFixed(3));
  report("wakeups_per_s", load.wakeupsPerSecond.toFixed(1));
  report("other_cpu_percent", load.otherCpuPercent.toFixed(3));
  report("renderers", load.renderers);
}

// --- The bare pages ------------------------------------------------------------

// The bare pages' one WebAssembly module, written out by hand: a single
// exported function add(a, b) returning a + b.
const TINY_WASM = Uint8Array.from([
  0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00, // "\0asm", version 1
  0x01, 0x07, 0x01, 0x60, 0x02, 0x7f, 0x7f, 0x01, 0x7f, // types: (i32, i32) -> i32
  0x03, 0x02, 0x01, 0x00, // functions: one, of type 0
  0x07, 0x07, 0x01, 0x03, 0x61, 0x64, 0x64, 0x00, 0x00, // exports: "add" = function 0
  0x0a, 0x09, 0x01, 0x07, 0x00, 0x20, 0x00, 0x20, 0x01, 0x6a, 0x0b, // code: local.get 0, local.get 1, i32.add
]);

// The bare pages and their module in a folder of their own, served as the game's is.
function bareSite() {
  const dir = mkdtempSync(join(tmpdir(), "vendral-bench-bare-"));
  for (const name of readdirSync(join(HERE, "bare"))) copyFileSync(join(HERE, "bare", name), join(dir, name));
  writeFileSync(join(dir, "tiny.wasm"), TINY_WASM);
  return dir;
}

async function withSite(side, body) {
  let root = SITE;
  let scratch = null;
  if (side === "bare") root = scratch = bareSite();
  else if (!existsSync(join(SITE, "index.html"))) fail(`no built page at ${SITE} (scripts/web.sh --no-serve builds it)`);
  const server = await startServer({ root });
  const browser = await launch();
  try {
    return await body(server, browser);
  } finally {
    await browser.close();
    await server.close();
    if (scratch) rmSync(scratch, { recursive: true, force: true });
  }
}

// --- Playing the game page -------------------------------------------------------
// The page is opened with ?test&live: the game's clock runs as for a player,
// and window.vendral lets the harness queue rolls and wait for the page to
// settle. Controls and the dialogs' buttons are clicked with the mouse
// (real input events at the element's centre, on whatever lies on top
// there), text is typed into the field. With --keyboard the boxes and the
// name prompt are answered with the Enter key instead, as a player holding
// Enter through them does.

const keyboard = process.argv.includes("--keyboard");
const controlAt = (form, control) => `#desk section.screen[data-screen="${form}"] .client [data-control="${control}"]`;

class Player {
  constructor(page) {
    this.page = page;
    this.messages = [];
  }

  async open(base) {
    await this.page.goto(new URL("index.html?test&live", base).href, { waitUntil: "load", timeout: 60_000 });
    await within(60_000, "the page's test interface", this.page.evaluate(() => window.vendralReady));
    await this.page.evaluate(() => window.vendral.start());
  }

  // Answers the name prompt and every message box as they come, until the
  // game waits for the player. Returns the messages seen.
  async answer(name = "Tom") {
    const seen = [];
    for (;;) {
      const state = await within(30_000, "the page settling", this.page.evaluate(() => window.vendral.settle()));
      if (state.ended) throw new Error("the game ended");
      if (!state.dialog) return seen;
      let text;
      if (state.dialog === "prompt") {
        text = `prompt: ${await this.page.locator("#prompt .text").textContent()}`;
        await this.page.locator("#prompt .field").fill(name);
        if (keyboard) await this.page.keyboard.press("Enter");
        else await this.page.locator("#prompt .ok").click({ timeout: 10_000 });
      } else {
        text = await this.page.locator("#msgbox .text").textContent();
        if (keyboard) await this.page.keyboard.press("Enter");
        else await this.page.locator("#msgbox .ok").click({ timeout: 10_000 });
      }
      seen.push(text);
      this.messages.push(text);
    }
  }

  // Clicks FORM.CONTROL, or types TEXT into it, once no dialog is open. A
  // box that a timer opens meanwhile is answered first.
  async act(form, control, action, text = "") {
    for (let tries = 0; ; ++tries) {
      await this.answer();
      const element = this.page.locator(controlAt(form, control));
      try {
        if (action === "type") await element.fill(text, { timeout: 5000 });
        else await element.click({ timeout: 5000 });
        break;
      } catch (error) {
        const boxOpen = await this.page.evaluate(() => Boolean(document.querySelector("dialog[open]")));
        if (!boxOpen || tries > 10) throw new Error(`${action} ${form}.${control}: ${error.message.split("\n")[0]}`);
      }
    }
    await this.answer();
  }

  click(form, control) {
    return this.act(form, control, "click");
  }

  type(form, control, text) {
    return this.act(form, control, "type", text);
  }

  roll(d) {
    return this.page.evaluate((d) => window.vendral.roll(d), d);
  }

  shown(form, control = null) {
    return this.page.evaluate(
      ([form, control]) => {
        const screen = document.querySelector(`#desk section.screen[data-screen="${form}"]`);
        if (!screen || screen.hidden) return false;
        if (!control) return true;
        const el = screen.querySelector(`.client [data-control="${control}"]`);
        return Boolean(el && !el.hidden);
      },
      [form, control],
    );
  }

  read(form, control, what = "text") {
    return this.page.evaluate(
      ([form, control, what]) => {
        const el = document.querySelector(`#desk section.screen[data-screen="${form}"] .client [data-control="${control}"]`);
        if (!el) return null;
        if (what !== "top") return el.textContent;
        // Where the game has put it, in pixels (a line far above the screen
        // is no longer drawn where it is).
        return Math.round(window.vendral.placeOf(form, control).top / 15);
      },
      [form, control, what],
    );
  }

  // What holds the focus, and whether the browser draws its focus ring.
  focus() {
    return this.page.evaluate(() => {
      const el = document.activeElement;
      if (!el || el === document.body) return "body";
      const name = el.dataset.control ?? el.dataset.screen ?? el.id ?? el.tagName;
      return `${el.tagName.toLowerCase()}:${name}${el.matches(":focus-visible") ? ",ring" : ""}`;
    });
  }

  // Plays a script of the scripted player's commands name, roll, click and type.
  async play(file) {
    const lines = readFileSync(join(HERE, file), "utf8").split("\n");
    let name = "Tom";
    let started = false;
    for (const raw of lines) {
      const line = raw.trim();
      if (line === "" || line.startsWith("#")) continue;
      const space = line.indexOf(" ");
      const command = space < 0 ? line : line.slice(0, space);
      const rest = space < 0 ? "" : line.slice(space + 1);
      if (command === "name") {
        name = rest;
        continue;
      }
      if (command === "roll") {
        await this.roll(Number(rest));
        continue;
      }
      if (!started) {
        await this.answer(name);
        started = true;
      }
      const [where, text] = command === "type" ? [rest.slice(0, rest.indexOf(" ")), rest.slice(rest.indexOf(" ") + 1)] : [rest, ""];
      const [form, control] = where.split(".");
      if (command === "click") await this.click(form, control);
      else if (command === "type") await this.type(form, control, text);
      else throw new Error(`${file}: the harness plays no "${command}"`);
    }
  }
}

// --- The benchmarks ------------------------------------------------------------

function transfer() {
  if (!existsSync(join(SITE, "index.html"))) fail(`no built page at ${SITE}`);
  // Every file of the built page: the page, its style and scripts, the
  // module and every picture a screen can show (and the icon).
  const files = [];
  const walk = (dir) => {
    for (const name of readdirSync(dir)) {
      const path = join(dir, name);
      if (statSync(path).isDirectory()) walk(path);
      else files.push(path);
    }
  };
  walk(SITE);
  const sizes = files.map((path) => ({
    name: relative(SITE, path),
    raw: statSync(path).size,
    gzip: execFileSync("gzip", ["-9", "-n", "-c", path], { maxBuffer: 1 << 28 }).length,
  }));
  sizes.sort((a, b) => b.gzip - a.gzip);
  const sum = (key) => sizes.reduce((total, s) => total + s[key], 0);
  report("files", sizes.length);
  report("raw_bytes", sum("raw"));
  report("gzip_bytes", sum("gzip"));
  for (const s of sizes) report("file", `${s.name} ${s.raw} ${s.gzip}`);
}

// Navigation start → the name prompt's <dialog> open, from the page's own
// clock (performance.now() counts from the navigation's start): an observer
// installed before any of the page's scripts notes the moment the dialog
// gets its open attribute, and the start of the next frame.
async function startup(side) {
  await withSite(side, async (server, chrome) => {
    const { context, page, faults } = chrome;
    await context.addInitScript(() => {
      window.__promptOpen = new Promise((resolve) => {
        new MutationObserver((records, observer) => {
          for (const r of records) {
            if (r.target.id !== "prompt" || !r.target.open) continue;
            observer.disconnect();
            const open = performance.now();
            requestAnimationFrame(() => resolve({ open, frame: performance.now() }));
            return;
          }
        }).observe(document, { subtree: true, attributes: true, attributeFilter: ["open"] });
      });
    });
    const path = side === "game" ? "index.html" : "startup.html";
    let traced = null;
    if (tracing) traced = await import("./trace.mjs").then((t) => t.startTrace(chrome.browser, page));
    await page.goto(new URL(path, server.url).href, { waitUntil: "commit", timeout: 60_000 });
    const seen = await within(60_000, "the name prompt", page.evaluate(() => window.__promptOpen));
    if (traced) console.log(await traced.stop(traceFile));
    const steps = await page.evaluate(() => {
      const nav = performance.getEntriesByType("navigation")[0];
      const last = (ending) =>
        Math.max(0, ...performance.getEntriesByType("resource").filter((r) => r.name.endsWith(ending)).map((r) => r.responseEnd));
      return {
        html: nav.responseEnd,
        dom: nav.domContentLoadedEventEnd,
        wasm: last(".wasm"),
      };
    });
    if (faults.length) fail(faults.join("; "));
    report("prompt_open_ms", seen.open.toFixed(1));
    report("prompt_frame_ms", seen.frame.toFixed(1));
    report("html_received_ms", steps.html.toFixed(1));
    report("dom_content_loaded_ms", steps.dom.toFixed(1));
    report("wasm_received_ms", steps.wasm.toFixed(1));
  });
}

async function idle(side) {
  await withSite(side, async (server, chrome) => {
    const { page, faults } = chrome;
    if (side === "bare") {
      await page.goto(new URL("clock.html", server.url).href, { waitUntil: "load", timeout: 60_000 });
      await sleep(BARE_SETTLE_MS);
      const before = await page.evaluate(() => document.getElementById("clock").textContent);
      const load = await observe(chrome);
      if ((await page.evaluate(() => document.getElementById("clock").textContent)) === before) fail("the clock stood still");
      if (faults.length) fail(faults.join("; "));
      reportLoad(load);
      return;
    }
    const player = new Player(page);
    await player.open(server.url);
    await player.play("battle.script");
    if (!(await player.shown("Form4"))) fail("the Final Battle is not shown");
    // Nilrem shows himself 15 s after the battle screen loaded, with a box.
    await page.waitForFunction(() => document.getElementById("msgbox").open, null, { timeout: 25_000, polling: 200 });
    const seen = await player.answer();
    if (seen[0] !== REVEAL) fail(`the reveal came as "${seen[0]}"`);
    if (!(await player.shown("Form4", "Image2"))) fail("Nilrem is not shown");
    await sleep(500);
    const before = await player.read("Form4", "lbltime");
    const load = await observe(chrome);
    if ((await player.read("Form4", "lbltime")) === before) fail("the battle clock stood still");
    if (await page.evaluate(() => Boolean(document.querySelector("dialog[open]")))) fail("a box opened while idle");
    if (faults.length) fail(faults.join("; "));
    reportLoad(load);
    report("focus", await player.focus());
  });
}

async function credits(side) {
  await withSite(side, async (server, chrome) => {
    const { page, faults } = chrome;
    if (side === "bare") {
      // Measured as the game's credits are: from just after the sixth line
      // starts, while it still rises across the panel (it starts 9 s after
      // the page loads, long after the loading settled).
      await page.goto(new URL("credits.html", server.url).href, { waitUntil: "load", timeout: 60_000 });
      await page.waitForFunction(() => window.creditsStarted === 6, null, { timeout: 30_000, polling: 200 });
      await sleep(200);
      const before = await page.evaluate(() => window.creditsSteps[0]);
      const load = await observe(chrome);
      const steps = (await page.evaluate(() => window.creditsSteps[0])) - before;
      if (faults.length) fail(faults.join("; "));
      reportLoad(load);
      report("first_line_steps", steps);
      return;
    }
    const player = new Player(page);
    await player.open(server.url);
    await player.play("ending.script");
    if (!(await player.shown("Form6"))) fail("the ending is not shown");
    if (player.messages.some((m) => /cheated/i.test(m))) fail("a cheater's ending: no credits");
    // The battle's 15 s timer runs on after the battle is won: Nilrem's
    // reveal still comes, over the ending, and is answered as a player would.
    if (!player.messages.includes(REVEAL)) {
      await page.waitForFunction(() => document.getElementById("msgbox").open, null, { timeout: 25_000, polling: 200 });
      const seen = await player.answer();
      if (seen[0] !== REVEAL) fail(`a box "${seen[0]}" came over the ending`);
    }
    // One more line starts every 1.5 s; the sixth after 9 s.
    await page.waitForFunction(
      () => !document.querySelector('#desk section[data-screen="Form6"] [data-control="lblf"]').hidden,
      null,
      { timeout: 20_000, polling: 200 },
    );
    await sleep(200);
    const before = await player.read("Form6", "lbla", "top");
    const load = await observe(chrome);
    // Each 4 ms tick of the first line moves it one step of 15 twips: one pixel.
    const steps = before - (await player.read("Form6", "lbla", "top"));
    if (await page.evaluate(() => Boolean(document.querySelector("dialog[open]")))) fail("a box opened over the credits");
    if (faults.length) fail(faults.join("; "));
    reportLoad(load);
    report("first_line_steps", steps);
    report("focus", await player.focus());
    if (!tracing && !profiling && (steps < 2400 || steps > 2600)) {
      const seen = await page.evaluate(() => ({
        box: document.querySelector("dialog[open]")?.textContent.trim() ?? null,
        ended: !document.getElementById("ended").hidden,
        tops: [...document.querySelectorAll('#desk section[data-screen="Form6"] .label')].map(
          (l) => `${l.dataset.control}:${l.hidden ? "hidden" : l.style.top}`,
        ),
      }));
      fail(`the first credits line rose ${steps} steps in 10 s, not about 2500 (${JSON.stringify(seen)})`);
    }
  });
}

const [mode, side] = process.argv.slice(2);
const sides = ["game", "bare"];
try {
  if (mode === "transfer") transfer();
  else if (mode === "startup" && sides.includes(side)) await startup(side);
  else if (mode === "idle" && sides.includes(side)) await idle(side);
  else if (mode === "credits" && sides.includes(side)) await credits(side);
  else {
    console.error("usage: node bench/web/bench.mjs transfer | startup game|bare | idle game|bare | credits game|bare");
    process.exit(2);
  }
} catch (error) {
  console.error(`bench-web: ${error.message}`);
  process.exitCode = 1;
}
