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
//
// Options of startup, idle and credits:
//   --seconds N      measure N seconds instead of 10
//   --pointer WHERE  where the mouse pointer rests over the measured interval:
//                    "corner" (the default: the page's top left corner, outside
//                    any control, on both pages alike) or "left" (where the
//                    game's last click left it; the bare page is never touched)
//   --keyboard       answer the game's boxes and name prompt with Enter
//   --threads        each thread's CPU and wake-ups a second beside the figures
//   --trace [FILE]   where the time of the interval (or of the startup) goes,
//                    instead of the CPU figure; the trace is kept in FILE
//   --profile        where the page's script spends the interval
//   --css RULE       add RULE to the page's style sheet before the interval
//                    (again for more): a style change tried on its cost
//
// The game's page is played by tests/web's scripted player (its script reader,
// its real mouse and keyboard input, its answers to boxes) through
// battle.script and ending.script, with the game's clock running as for a
// player (?test&hold&live). Each run is one Chromium of its own, launched as
// the web tests launch it (tests/web/browser.mjs: a fresh profile, so no two
// runs share a process or a cache), and one server (src/web/serve.mjs, the
// page's own, with its Content Security Policy). What only a benchmark needs
// is here: the CPU of Chromium's renderer processes from /proc, the timings
// and the bare pages. Figures are printed as key=value lines for
// bench/run.sh; a run that does not reach the moment it measures fails with
// exit status 1 and says why.
//
// The built page is read from build-web/site, or $VENDRAL_WEB_SITE.
import { execFileSync } from "node:child_process";
import { copyFileSync, existsSync, mkdtempSync, readFileSync, readdirSync, readlinkSync, rmSync, statSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, relative, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { REPO, launchBrowser, newPage, serveSite, within } from "../../tests/web/browser.mjs";
import { PageDriver, runScript } from "../../tests/web/replay.mjs";
import { readScript } from "../../tests/web/script.mjs";
import { startServer } from "../../src/web/serve.mjs";

const HERE = dirname(fileURLToPath(import.meta.url));
const SITE = resolve(process.env.VENDRAL_WEB_SITE || join(REPO, "build-web/site"));
const REVEAL = "Nilrem reveals himself.";
// The game's page is measured 20 s or more after it was opened (the battle
// comes 15 s after its screen loads), so a bare page is not measured while
// its loading still settles either. It waits 40 s: a page left untouched
// from its start sees the browser's own process busy (80–130 wake-ups a
// second, and at times a renderer of no page's) from about 20 s to 30 s
// after it opened, which the game's page, clicked through meanwhile, does
// not; after that both are measured in a quiet browser.
const BARE_SETTLE_MS = 40_000;

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// A run that cannot reach what it measures stops here; the browser and
// the server are still closed on the way out.
function fail(why) {
  throw new Error(why);
}

function report(key, value) {
  console.log(`${key}=${value}`);
}

// --- Options ---------------------------------------------------------------------

const args = process.argv.slice(2);
const [mode, side] = args;
const option = (name) => args.indexOf(name);
const valueOf = (name) => {
  const at = option(name);
  return at >= 0 && args[at + 1] && !args[at + 1].startsWith("--") ? args[at + 1] : "";
};
const tracing = option("--trace") >= 0;
const traceFile = valueOf("--trace");
const profiling = option("--profile") >= 0;
const keyboard = option("--keyboard") >= 0;
const threads = option("--threads") >= 0;
const cssRules = args.flatMap((arg, i) => (arg === "--css" && args[i + 1] ? [args[i + 1]] : []));
const seconds = option("--seconds") >= 0 ? Number(valueOf("--seconds")) : 10;
const pointer = valueOf("--pointer") || "corner";
const MEASURE_MS = seconds * 1000;
const usage =
  "usage: node bench/web/bench.mjs transfer | startup|idle|credits game|bare " +
  "[--seconds N] [--pointer corner|left] [--keyboard] [--threads] [--trace [FILE]] [--profile] [--css RULE]...";

// --- The browser's processes -------------------------------------------------------

// The Chromium processes under process `root` (this harness: its one
// browser is started by it): { pid, type } with type "renderer",
// "gpu-process", "utility", "zygote" or "browser".
function chromiumProcesses(root) {
  const parentOf = new Map();
  for (const name of readdirSync("/proc")) {
    if (!/^\d+$/.test(name)) continue;
    try {
      // "pid (name) state ppid ...": the name may hold spaces and parentheses.
      const stat = readFileSync(`/proc/${name}/stat`, "utf8");
      parentOf.set(Number(name), Number(stat.slice(stat.lastIndexOf(")") + 2).split(" ")[1]));
    } catch {
      // ended meanwhile
    }
  }
  const under = (pid) => {
    for (let p = pid; p > 1; p = parentOf.get(p) ?? 0) if (p === root) return true;
    return false;
  };
  const found = [];
  for (const pid of parentOf.keys()) {
    if (!under(pid)) continue;
    let line;
    try {
      // The launcher script Debian puts in front of Chromium is not Chromium.
      if (!readlinkSync(`/proc/${pid}/exe`).includes("chromium")) continue;
      line = readFileSync(`/proc/${pid}/cmdline`, "utf8").replaceAll("\0", " ");
    } catch {
      continue;
    }
    found.push({ pid, type: /--type=([\w-]+)/.exec(line)?.[1] ?? "browser" });
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
        const name = /^Name:\s*(.*)$/m.exec(status)?.[1] ?? "?";
        times.set(`${pid}/${tid}`, { type, name, ns, switches });
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
async function measureLoad(root, ms) {
  const before = threadTimes(chromiumProcesses(root));
  const start = process.hrtime.bigint();
  await sleep(ms);
  const after = threadTimes(chromiumProcesses(root));
  const elapsedNs = Number(process.hrtime.bigint() - start);
  let rendererNs = 0;
  let otherNs = 0;
  let switches = 0;
  const renderers = new Set();
  const byThread = new Map();
  for (const [key, now] of after) {
    const was = before.get(key) ?? { ns: 0, switches: 0 };
    const thread = `${now.type} ${key.split("/")[0]} ${now.name}`;
    const sum = byThread.get(thread) ?? { ns: 0, switches: 0 };
    byThread.set(thread, { ns: sum.ns + now.ns - was.ns, switches: sum.switches + now.switches - was.switches });
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
    threads: [...byThread]
      .filter(([, t]) => t.switches > 0)
      .sort((a, b) => b[1].switches - a[1].switches)
      .map(([thread, t]) => `${thread}: ${((100 * t.ns) / elapsedNs).toFixed(3)} % ${(t.switches / (elapsedNs / 1e9)).toFixed(1)}/s`),
  };
}

// The measured interval: the renderers' CPU, or with --trace a trace
// summary, or with --profile a profile of the page's script. The pointer
// is put where it is to rest first. `sample`, when given, is read just
// before the interval and just after: { load, before, after }.
async function observe({ browser, page }, sample = async () => null) {
  if (pointer === "corner") await page.mouse.move(1, 1);
  else if (pointer !== "left") fail(`--pointer takes corner or left, not "${pointer}"`);
  for (const rule of cssRules) {
    await page.evaluate((rule) => {
      const sheet = document.styleSheets[0];
      sheet.insertRule(rule, sheet.cssRules.length);
    }, rule);
  }
  // The pointer's move and a new rule are drawn before the interval.
  await sleep(300);
  const before = await sample();
  let load = null;
  if (profiling) {
    const { profileInterval } = await import("./trace.mjs");
    console.log(await profileInterval(page, MEASURE_MS));
  } else if (tracing) {
    const { traceInterval } = await import("./trace.mjs");
    console.log(await traceInterval(browser, page, MEASURE_MS, traceFile));
  } else {
    load = await measureLoad(process.pid, MEASURE_MS);
  }
  return { load, before, after: await sample() };
}

function reportLoad(load) {
  if (!load) return;
  report("cpu_percent", load.cpuPercent.toFixed(3));
  report("wakeups_per_s", load.wakeupsPerSecond.toFixed(1));
  report("other_cpu_percent", load.otherCpuPercent.toFixed(3));
  report("renderers", load.renderers);
  if (threads) for (const line of load.threads) report("thread", line);
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

// Serves the game's site or a bare one and opens one fresh page in a
// Chromium of its own, for `body({ server, browser, page, faults })`.
async function withSite(which, body) {
  const scratch = which === "bare" ? bareSite() : null;
  const server = scratch ? await startServer({ root: scratch }) : await serveSite(SITE);
  try {
    const browser = await launchBrowser({ shared: false });
    try {
      const { page, faults } = await newPage(browser);
      return await body({ server, browser, page, faults });
    } finally {
      await browser.close();
    }
  } finally {
    await server.close();
    if (scratch) rmSync(scratch, { recursive: true, force: true });
  }
}

// --- Playing the game page ---------------------------------------------------------

// Opens the game with its clock running as for a player, held until the
// script's first action starts it.
async function openGame(page, server) {
  await page.goto(new URL("index.html?test&hold&live", server.url).href, { waitUntil: "load", timeout: 60_000 });
  await within(60_000, "the page's test interface", page.evaluate(() => window.vendralReady));
}

// Plays one of the benchmark's scripts with tests/web's scripted player.
// Returns the player, to play on, and the transcript so far.
async function play(page, file) {
  const played = { transcript: "" };
  const write = (text) => (played.transcript += text);
  played.driver = new PageDriver(page, write, { keyboard });
  const status = await runScript(readScript(readFileSync(join(HERE, file), "utf8")), played.driver, write);
  if (status !== 0) fail(`${file} did not play through: ${played.transcript.trim().split("\n").pop()}`);
  return played;
}

// The messages the player answered, from a transcript.
const messagesOf = (transcript) =>
  transcript
    .split("\n")
    .filter((l) => l.startsWith("message: "))
    .map((l) => l.slice("message: ".length));

// Whether FORM is shown, and CONTROL on it (when named), as the player reads the screen.
async function shown(driver, form, control = null) {
  const screen = await driver.screen(form);
  if (!screen.startsWith(`screen ${form} visible=yes`)) return false;
  return !control || screen.includes(`\n  ${control} kind=`);
}

// Waits for a box the game opens by itself and answers it; returns its words.
async function answerNextBox(page, played, ms) {
  await page.waitForFunction(() => document.getElementById("msgbox").open, null, { timeout: ms, polling: 200 });
  const before = played.transcript.length;
  await played.driver.settle();
  return messagesOf(played.transcript.slice(before))[0] ?? null;
}

const labelText = (page, form, control) =>
  page.evaluate(
    ([form, control]) =>
      document.querySelector(`#desk section.screen[data-screen="${form}"] .client [data-control="${control}"]`)?.textContent ?? null,
    [form, control],
  );

// Where the game has put a control's top, in pixels (a line far above the
// screen is no longer drawn where it is).
const topOf = (page, form, control) => page.evaluate(([form, control]) => window.vendral.placeOf(form, control).top, [form, control]);

const boxOpen = (page) => page.evaluate(() => Boolean(document.querySelector("dialog[open]")));

// What holds the focus, and whether the browser draws its focus ring.
function focusOf(page) {
  return page.evaluate(() => {
    const el = document.activeElement;
    if (!el || el === document.body) return "body";
    const name = el.dataset.control ?? el.dataset.screen ?? el.id ?? el.tagName;
    return `${el.tagName.toLowerCase()}:${name}${el.matches(":focus-visible") ? ",ring" : ""}`;
  });
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
async function startup(which) {
  await withSite(which, async ({ server, browser, page, faults }) => {
    await page.addInitScript(() => {
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
    const path = which === "game" ? "index.html" : "startup.html";
    let traced = null;
    if (tracing) traced = await import("./trace.mjs").then((t) => t.startTrace(browser, page));
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

async function idle(which) {
  await withSite(which, async (chrome) => {
    const { server, page, faults } = chrome;
    if (which === "bare") {
      await page.goto(new URL("clock.html", server.url).href, { waitUntil: "load", timeout: 60_000 });
      await sleep(BARE_SETTLE_MS);
      const clock = await observe(chrome, () => page.evaluate(() => document.getElementById("clock").textContent));
      if (clock.after === clock.before) fail("the clock stood still");
      if (faults.length) fail(faults.join("; "));
      reportLoad(clock.load);
      return;
    }
    await openGame(page, server);
    const played = await play(page, "battle.script");
    if (!(await shown(played.driver, "Form4"))) fail("the Final Battle is not shown");
    // Nilrem shows himself 15 s after the battle screen loaded, with a box.
    const reveal = await answerNextBox(page, played, 25_000);
    if (reveal !== REVEAL) fail(`the reveal came as "${reveal}"`);
    if (!(await shown(played.driver, "Form4", "Image2"))) fail("Nilrem is not shown");
    await sleep(500);
    const clock = await observe(chrome, () => labelText(page, "Form4", "lbltime"));
    if (clock.after === clock.before) fail("the battle clock stood still");
    if (await boxOpen(page)) fail("a box opened while idle");
    if (faults.length) fail(faults.join("; "));
    reportLoad(clock.load);
    report("focus", await focusOf(page));
  });
}

async function credits(which) {
  // The first line rises one pixel a tick of its 4 ms timer.
  const expectedSteps = MEASURE_MS / 4;
  await withSite(which, async (chrome) => {
    const { server, page, faults } = chrome;
    if (which === "bare") {
      // Measured as the game's credits are: from just after the sixth line
      // starts, while it still rises across the panel (it starts 9 s after
      // the page loads, long after the loading settled).
      await page.goto(new URL("credits.html", server.url).href, { waitUntil: "load", timeout: 60_000 });
      await page.waitForFunction(() => window.creditsStarted === 6, null, { timeout: 30_000, polling: 200 });
      await sleep(200);
      const line = await observe(chrome, () => page.evaluate(() => window.creditsSteps[0]));
      if (faults.length) fail(faults.join("; "));
      reportLoad(line.load);
      report("first_line_steps", line.after - line.before);
      return;
    }
    await openGame(page, server);
    const played = await play(page, "ending.script");
    if (!(await shown(played.driver, "Form6"))) fail("the ending is not shown");
    if (messagesOf(played.transcript).some((m) => /cheated/i.test(m))) fail("a cheater's ending: no credits");
    // The battle's 15 s timer runs on after the battle is won: Nilrem's
    // reveal still comes, over the ending, and is answered as a player would.
    if (!messagesOf(played.transcript).includes(REVEAL)) {
      const seen = await answerNextBox(page, played, 25_000);
      if (seen !== REVEAL) fail(`a box "${seen}" came over the ending`);
    }
    // One more line starts every 1.5 s; the sixth after 9 s.
    await page.waitForFunction(
      () => !document.querySelector('#desk section[data-screen="Form6"] [data-control="lblf"]').hidden,
      null,
      { timeout: 20_000, polling: 200 },
    );
    await sleep(200);
    const line = await observe(chrome, () => topOf(page, "Form6", "lbla"));
    const steps = line.before - line.after;
    if (await boxOpen(page)) fail("a box opened over the credits");
    if (faults.length) fail(faults.join("; "));
    reportLoad(line.load);
    report("first_line_steps", steps);
    report("focus", await focusOf(page));
    if (!tracing && !profiling && Math.abs(steps - expectedSteps) > expectedSteps * 0.04) {
      const seen = await page.evaluate(() => ({
        box: document.querySelector("dialog[open]")?.textContent.trim() ?? null,
        ended: !document.getElementById("ended").hidden,
        tops: [...document.querySelectorAll('#desk section[data-screen="Form6"] .label')].map(
          (l) => `${l.dataset.control}:${l.hidden ? "hidden" : l.style.top}`,
        ),
      }));
      fail(`the first credits line rose ${steps} steps in ${seconds} s, not about ${expectedSteps} (${JSON.stringify(seen)})`);
    }
  });
}

const sides = ["game", "bare"];
try {
  if (!(seconds > 0)) {
    console.error(usage);
    process.exitCode = 2;
  } else if (mode === "transfer") transfer();
  else if (mode === "startup" && sides.includes(side)) await startup(side);
  else if (mode === "idle" && sides.includes(side)) await idle(side);
  else if (mode === "credits" && sides.includes(side)) await credits(side);
  else {
    console.error(usage);
    process.exitCode = 2;
  }
} catch (error) {
  console.error(`bench-web: ${error.message}`);
  process.exitCode = 1;
}
