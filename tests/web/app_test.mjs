// The page as an installed app, in headless Chromium: installable (its
// manifest and icons), playable with no network after one visit, and
// updated only between games, never mixing two builds' files.
//
//   node --test tests/web/app_test.mjs
//
// VENDRAL_WEB_SITE names the built site (build-web/site by default). The
// scripted page is opened with ?test&offline, which registers the service
// worker as the real page always does.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { createHash } from "node:crypto";
import { appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";
import { CHROMIUM, CHROMIUM_ARGS, DEFAULT_SITE, REPO, launchBrowser, openPage, within } from "./browser.mjs";
import { PageDriver, parseScript, runScript } from "./replay.mjs";
import { startServer } from "../../src/web/serve.mjs";
import { WORKER, describeBuild, filesUnder, precache, readBuild } from "../../src/web/offline/precache.mjs";

const SITE = process.env.VENDRAL_WEB_SITE || DEFAULT_SITE;
const TEMPLATE = join(REPO, "src/web/offline/sw.js");
const PRECACHE = join(REPO, "src/web/offline/precache.mjs");
const STORY = join(REPO, "tests/story/dragon/knight_sword_death");
const UPDATE_READY = "A new version of Vendral is ready. It starts when you play again.";

// A PNG with no way to be see-through: true colour without alpha, or a
// palette with no transparency chunk.
function opaque(png) {
  const colourType = png[25];
  if (colourType === 2) return true;
  if (colourType !== 3) return false;
  for (let at = 8; at < png.length; at += 12 + png.readUInt32BE(at))
    if (png.subarray(at + 4, at + 8).toString() === "tRNS") return false;
  return true;
}

const sha256 = (data) => createHash("sha256").update(data).digest("hex");
const builtOf = (site) => readBuild(readFileSync(join(site, WORKER), "utf8"));

// A copy of the built site in a folder of its own, removed after the test.
function copySite(t) {
  const dir = mkdtempSync(join(tmpdir(), "vendral-site-"));
  cpSync(SITE, dir, { recursive: true });
  t.after(() => rmSync(dir, { recursive: true, force: true }));
  return dir;
}

let browser;
before(async () => {
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
});

// Opens `path` of `server` and waits until the worker controls the page.
async function openControlled(t, server, path) {
  const g = await openPage(browser, server, path);
  t.after(() => g.context.close());
  await within(30_000, "a worker in control", g.page.waitForFunction(() => navigator.serviceWorker.controller !== null));
  return g;
}

// Every response the page gets from now on, as { path, fromWorker, body }.
function recordResponses(page, server) {
  const seen = [];
  page.on("response", async (r) => {
    const path = r.url().startsWith(server.url) ? r.url().slice(server.url.length).replace(/[?#].*$/, "") || "index.html" : r.url();
    const entry = { path, fromWorker: r.fromServiceWorker(), status: r.status(), body: null };
    seen.push(entry);
    entry.body = await r.body().catch(() => null);
  });
  return seen;
}

// The script played on `page` (already showing ?test&offline); its transcript.
async function play(page, script) {
  let transcript = "";
  const write = (text) => (transcript += text);
  const status = await runScript(parseScript(script), new PageDriver(page, write), write);
  return { status, transcript };
}

// Waits through the reloads that follow `action` until the page has the
// game's test interface and has stopped loading for a while (long enough
// for a reload loop to show itself); resolves to how many times it loaded.
async function reloadsAfter(page, action) {
  let loads = 0;
  const count = (frame) => frame === page.mainFrame() && ++loads;
  page.on("framenavigated", count);
  await action();
  await within(60_000, "the game back after reloading", (async () => {
    for (;;) {
      const seen = loads;
      let ready = false;
      try {
        ready = await page.evaluate(() => window.vendralReady?.then(() => true) ?? false);
      } catch {
        // The page reloaded while we looked.
      }
      await page.waitForTimeout(1500);
      if (ready && seen > 0 && loads === seen) break;
    }
  })());
  page.off("framenavigated", count);
  return loads;
}

test("the build's worker lists exactly the built files, and a missing file fails the build by name", (t) => {
  const build = builtOf(SITE);
  const onDisk = filesUnder(SITE).filter((path) => path !== WORKER);
  assert.deepEqual(build.files.map(([path]) => path), onDisk);
  for (const [path, hash] of build.files) assert.equal(hash, sha256(readFileSync(join(SITE, path))), path);
  for (const needed of ["index.html", "vendral.js", "vendral.wasm", "style.css", "manifest.webmanifest", "icons/icon-maskable-512.png", "art/icon.svg"])
    assert.ok(onDisk.includes(needed), needed);
  // The cache is named by the content: the same files give the same name,
  // one changed byte another.
  const template = readFileSync(TEMPLATE, "utf8");
  const files = build.files.map(([path]) => path);
  assert.equal(describeBuild(SITE, template, files).cache, build.cache);
  const dir = copySite(t);
  appendFileSync(join(dir, "style.css"), "\n");
  assert.notEqual(describeBuild(dir, template, files).cache, build.cache);
  // A missing file stops the step, named, and leaves the worker as it was.
  rmSync(join(dir, "art/cup.svg"));
  const before = readFileSync(join(dir, WORKER), "utf8");
  const run = spawnSync(process.execPath, [PRECACHE, dir, TEMPLATE, ...files], { encoding: "utf8" });
  assert.equal(run.status, 1, run.stderr);
  assert.match(run.stderr, /art\/cup\.svg/);
  assert.equal(readFileSync(join(dir, WORKER), "utf8"), before);
  // A stray file in the folder is not part of the build: warned of, not cached.
  writeFileSync(join(dir, "art/cup.svg"), readFileSync(join(SITE, "art/cup.svg")));
  const named = describeBuild(dir, template, files).cache;
  writeFileSync(join(dir, "left-behind.svg"), "<svg/>");
  const { build: rebuilt, unlisted } = precache(dir, TEMPLATE, files);
  assert.deepEqual(unlisted, ["left-behind.svg"]);
  assert.equal(rebuilt.cache, named);
  assert.deepEqual(builtOf(dir), rebuilt);
});

test("the page installs as an app: its manifest, icons and worker", async (t) => {
  const dir = copySite(t);
  const server = await startServer({ root: dir });
  t.after(() => server.close());
  // Chromium offers to install from a profile of its own only (never from
  // a private window, as a test's browser context is): a browser of its own.
  const profile = mkdtempSync(join(tmpdir(), "vendral-profile-"));
  const context = await chromium.launchPersistentContext(profile, { executablePath: CHROMIUM, headless: true, args: CHROMIUM_ARGS, timeout: 60_000 });
  t.after(async () => {
    await context.close();
    rmSync(profile, { recursive: true, force: true });
  });
  const page = context.pages()[0] ?? (await context.newPage());
  const faults = [];
  page.on("pageerror", (e) => faults.push(`uncaught exception: ${e.message}`));
  page.on("console", (m) => m.type() === "error" && faults.push(`console error: ${m.text()}`));
  // The worker is registered only once the name prompt is open, so that
  // it does not keep the player waiting for the prompt.
  await page.addInitScript(() => {
    const register = ServiceWorkerContainer.prototype.register;
    ServiceWorkerContainer.prototype.register = function (...args) {
      window.__promptOpenAtRegister = document.getElementById("prompt")?.open ?? null;
      return register.apply(this, args);
    };
  });
  await page.goto(new URL("index.html", server.url).href, { waitUntil: "load", timeout: 60_000 });
  await within(30_000, "a worker in control", page.waitForFunction(() => navigator.serviceWorker.controller !== null));
  assert.equal(await page.evaluate(() => window.__promptOpenAtRegister), true);
  const cdp = await context.newCDPSession(page);
  const manifest = await cdp.send("Page.getAppManifest");
  assert.ok(manifest.url && manifest.data, "the page links no manifest");
  assert.deepEqual(manifest.errors, []);
  const parsed = JSON.parse(manifest.data);
  assert.equal(parsed.name, "Vendral");
  assert.ok(parsed.short_name && parsed.description);
  assert.equal(parsed.display, "standalone");
  // Relative to the page's folder, so it installs from any folder of any host.
  assert.equal(new URL(parsed.start_url, manifest.url).href, server.url);
  assert.equal(new URL(parsed.scope, manifest.url).href, server.url);
  const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
  assert.deepEqual(installabilityErrors, []);
  // The icons: PNGs of the sizes they claim, the maskable one opaque (no
  // alpha: the ground a launcher cuts to shape is the game's colour).
  for (const icon of parsed.icons) {
    const png = readFileSync(join(dir, icon.src));
    assert.equal(png.subarray(1, 4).toString(), "PNG", icon.src);
    const [w, h] = [png.readUInt32BE(16), png.readUInt32BE(20)];
    assert.equal(icon.sizes, `${w}x${h}`, icon.src);
    if (icon.purpose === "maskable") assert.ok(opaque(png), `${icon.src} may be see-through`);
  }
  assert.ok(parsed.icons.some((i) => i.purpose === "maskable") && parsed.icons.some((i) => i.sizes === "192x192"));
  // Cache Storage holds the build's own files and nothing else.
  const build = builtOf(dir);
  const cached = await page.evaluate(async () => {
    const names = await caches.keys();
    const keys = await (await caches.open(names[0])).keys();
    return { names, paths: keys.map((r) => new URL(r.url).pathname.slice(1)).sort() };
  });
  assert.deepEqual(cached, { names: [build.cache], paths: build.files.map(([path]) => path) });
  // A file of no build goes to the network untouched; a listed one comes
  // from the worker.
  assert.deepEqual(faults, []);
  writeFileSync(join(dir, "notes.txt"), "not the game's");
  const fetched = async (path) => {
    const [response] = await Promise.all([page.waitForResponse((r) => r.url().endsWith(path)), page.evaluate((p) => fetch(p).then((r) => r.text()), path)]);
    return { fromWorker: response.fromServiceWorker(), status: response.status() };
  };
  assert.deepEqual(await fetched("notes.txt"), { fromWorker: false, status: 200 });
  assert.deepEqual(await fetched("nothing-here.txt"), { fromWorker: false, status: 404 });
  assert.deepEqual(await fetched("style.css"), { fromWorker: true, status: 200 });
  // The scripted player's page keeps to the plain page: no worker.
  const plain = await openPage(browser, server, "index.html?test");
  t.after(() => plain.context.close());
  assert.equal(await plain.page.evaluate(async () => (await navigator.serviceWorker.getRegistration()) ?? null), null);
  assert.deepEqual(plain.faults, []);
});

test("after one visit the whole game plays with no network, Play again included", async (t) => {
  const dir = copySite(t);
  const server = await startServer({ root: dir });
  const g = await openControlled(t, server, "index.html?test&offline&hold");
  await server.close();
  const { page } = g;
  await page.reload({ waitUntil: "load" });
  await within(60_000, "window.vendralReady", page.evaluate(() => window.vendralReady));
  const responses = recordResponses(page, server);
  const { status, transcript } = await play(page, readFileSync(`${STORY}.script`, "utf8"));
  assert.equal(status, 0);
  assert.equal(transcript, readFileSync(`${STORY}.expected`, "utf8"));
  const loads = await reloadsAfter(page, () => page.locator("#ended button").click());
  assert.equal(loads, 1);
  await page.evaluate(() => window.vendral.start());
  await page.locator("#prompt[open]").waitFor({ timeout: 30_000 });
  const network = responses.filter((r) => !r.fromWorker);
  assert.deepEqual(network, []);
  assert.ok(responses.some((r) => r.path === "vendral.wasm"), "Play again fetched no module");
  assert.deepEqual(g.faults, []);
});

test("a new build waits for the next game and never mixes its files with the old one's", async (t) => {
  const dir = copySite(t);
  const files = builtOf(dir).files.map(([path]) => path);
  const server = await startServer({ root: dir });
  t.after(() => server.close());
  const g = await openControlled(t, server, "index.html?test&offline&hold");
  const { page } = g;
  const a = builtOf(dir);
  const lines = readFileSync(`${STORY}.script`, "utf8").split("\n");
  const half = lines.slice(0, lines.findIndex((l) => l.startsWith("click Form1.Command2")) + 1).join("\n") + "\n";
  let transcript = "";
  const write = (text) => (transcript += text);
  const driver = new PageDriver(page, write);
  await runScript(parseScript(half), driver, write);

  // The host is half-way through an upload: the new worker and one file of
  // the new build, another of a third. The new worker refuses to install.
  const cssA = readFileSync(join(dir, "style.css"), "utf8");
  writeFileSync(join(dir, "style.css"), cssA + "\n/* build B */\n");
  const b = precache(dir, TEMPLATE, files).build;
  writeFileSync(join(dir, "style.css"), cssA + "\n/* build C */\n");
  const installed = () =>
    page.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      await registration.update();
      const worker = registration.installing ?? registration.waiting;
      if (!worker) return "none";
      while (worker.state === "installing") await new Promise((r) => worker.addEventListener("statechange", r, { once: true }));
      return worker.state;
    });
  assert.equal(await installed(), "redundant");
  assert.deepEqual(await page.evaluate(() => caches.keys()), [a.cache]);

  // The upload completes: build B installs and waits while A's game goes on.
  writeFileSync(join(dir, "style.css"), cssA + "\n/* build B */\n");
  const rest = lines.slice(half.split("\n").length - 1).join("\n");
  await runScript(parseScript(rest), driver, write);
  assert.equal(transcript, readFileSync(`${STORY}.expected`, "utf8"));
  await page.locator("#ended .update").waitFor({ timeout: 30_000 });
  assert.equal(await page.locator("#ended .update").textContent(), UPDATE_READY);
  // A's page still gets A's files.
  assert.equal(await page.evaluate(() => fetch("style.css").then((r) => r.text())), cssA);

  // Play again: B takes over before the next game, with one more reload and no loop.
  const recorded = recordResponses(page, server);
  const loads = await reloadsAfter(page, () => page.locator("#ended button").click());
  assert.equal(loads, 2);
  assert.deepEqual(await page.evaluate(() => caches.keys()), [b.cache]);
  const hashes = new Map(b.files);
  // The page after the take-over: every file from B's cache, as B has it.
  const second = recorded.slice(recorded.findLastIndex((r) => r.path === "index.html"));
  assert.ok(second.some((r) => r.path === "style.css"));
  for (const r of second) {
    assert.ok(r.fromWorker && hashes.has(r.path), `${r.path} came from ${r.fromWorker ? "the worker" : "the network"}`);
    assert.equal(sha256(r.body), hashes.get(r.path), r.path);
  }
  const next = await play(page, readFileSync(`${STORY}.script`, "utf8"));
  assert.equal(next.transcript, readFileSync(`${STORY}.expected`, "utf8"));
  assert.deepEqual(g.faults, []);
});
