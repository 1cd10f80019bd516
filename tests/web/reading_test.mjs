// The reading layout on phones, in headless Chromium: a whole game read
// and played with a finger at three phone sizes, the switch between the
// layouts, where the page starts, and Tab order in the column.
//
//   node --test tests/web/reading_test.mjs
//
// VENDRAL_WEB_SITE names the built site (build-web/site by default).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { DEFAULT_SITE, REPO, launchBrowser, openPage, serveSite } from "./browser.mjs";
import { PageDriver, parseScript, runScript } from "./replay.mjs";

const SITE = process.env.VENDRAL_WEB_SITE || DEFAULT_SITE;
const KNIGHT = readFileSync(join(REPO, "bench/playthroughs/knight_full.script"), "utf8");

let browser;
let server;
before(async () => {
  server = await serveSite(SITE);
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

async function phoneGame(t, viewport, query = "") {
  const g = await openPage(browser, server, `index.html?test&hold&seed=1${query}`, { viewport, hasTouch: true });
  t.after(() => g.context.close());
  g.transcript = "";
  g.write = (text) => (g.transcript += text);
  return g;
}

// Runs in the page: what a player on a phone could not read or hit.
function measure() {
  const problems = [];
  const shown = (el) => el.getClientRects().length > 0 && !el.closest("[hidden]");
  const name = (el) =>
    el.dataset?.control ? `${el.closest(".screen").dataset.screen}.${el.dataset.control}` : el.id || el.className || el.tagName;
  const scaleOf = (el) => {
    const section = el.closest(".screen");
    return section ? section.getBoundingClientRect().width / section.offsetWidth : 1;
  };
  if (document.scrollingElement.scrollWidth > innerWidth) problems.push("the page scrolls sideways");
  const desk = document.getElementById("desk");
  if (desk.scrollWidth > desk.clientWidth + 1) problems.push("the column scrolls sideways");
  const dialog = document.querySelector("dialog[open]");
  const scopes = [desk, document.getElementById("layout-bar"), dialog].filter(Boolean);
  const all = scopes.flatMap((s) => [s, ...s.querySelectorAll("*")]).filter(shown);
  for (const el of all) {
    const target =
      el.matches("button, input, [role='button'], .takes-mouse, .draggable") && !el.closest(".no-drop") && !el.disabled;
    if (target) {
      const r = el.getBoundingClientRect();
      if (r.width < 44 || r.height < 44) problems.push(`${name(el)}: a target of ${r.width.toFixed(1)} x ${r.height.toFixed(1)}`);
    }
    const text = [...el.childNodes].some((n) => n.nodeType === Node.TEXT_NODE && n.textContent.trim() !== "");
    if (text || el.matches("input")) {
      const size = parseFloat(getComputedStyle(el).fontSize) * scaleOf(el);
      if (size < 16) problems.push(`${name(el)}: text at ${size.toFixed(1)} px`);
    }
    if ((text || el.matches("[data-control], button")) && !el.matches("input, .text")) {
      if (el.scrollWidth > el.clientWidth + 1 || el.scrollHeight > el.clientHeight + 1)
        problems.push(`${name(el)}: text runs out of its box (${el.scrollWidth}x${el.scrollHeight} in ${el.clientWidth}x${el.clientHeight})`);
    }
  }
  // The column offers exactly the controls a click can land on by the game's rule.
  if (!dialog && document.documentElement.classList.contains("reading")) {
    for (const section of desk.querySelectorAll("section.screen:not([hidden])"))
      for (const el of section.querySelectorAll("button, input, [role='button'], .draggable")) {
        if (el.hidden) continue;
        const point = window.vendral.clickPoint(section.dataset.screen, el.dataset.control);
        if (shown(el) !== (point.refusal === undefined))
          problems.push(`${name(el)}: ${shown(el) ? "offered with no click point" : "left out, though a click lands on it"}`);
      }
  }
  return problems;
}

// The scripted player with a finger, looking at the page after every step
// and at every dialog before answering it.
class LookingDriver extends PageDriver {
  constructor(page, write, where) {
    super(page, write, { touch: true });
    this.where = where;
    this.problems = new Set();
    this.looks = 0;
  }
  async look(when) {
    this.looks++;
    for (const p of await this.eval(measure)) this.problems.add(`${this.where}, ${when}: ${p}`);
  }
  async settle() {
    await super.settle();
    await this.look("at rest");
  }
  async press(button, what, ok) {
    await this.look(what);
    return super.press(button, what, ok);
  }
}

test("a whole game on a phone reads and plays in the column at three sizes, the ending included", async (t) => {
  for (const viewport of [
    { width: 360, height: 640 },
    { width: 390, height: 844 },
    { width: 640, height: 360 },
  ]) {
    const where = `${viewport.width}x${viewport.height}`;
    const g = await phoneGame(t, viewport);
    const driver = new LookingDriver(g.page, g.write, where);
    const status = await runScript(parseScript(KNIGHT), driver, g.write);
    assert.equal(status, 0, `${where}: ${g.transcript}`);
    assert.match(g.transcript, /\nend\n$/, where);
    assert.equal(await g.page.evaluate(() => document.documentElement.className), "narrow reading", where);
    assert.ok(driver.looks > 200, `${where}: looked ${driver.looks} times`);
    assert.deepEqual([...driver.problems].slice(0, 20), [], where);
    assert.deepEqual(g.faults, [], where);
    await g.context.close();
  }
});

test("the page starts in the reading layout on a small window only, and the choice lasts in the address", async (t) => {
  for (const [width, height, reading] of [
    [360, 640, true],
    [640, 360, true],
    [960, 640, false],
    [1280, 800, false],
  ]) {
    const g = await phoneGame(t, { width, height });
    await g.page.evaluate(() => window.vendral.start());
    const found = await g.page.evaluate(() => ({
      reading: document.documentElement.classList.contains("reading"),
      switchShown: document.getElementById("layout-switch").getClientRects().length > 0,
    }));
    assert.deepEqual(found, { reading, switchShown: reading }, `${width}x${height}`);
    await g.context.close();
  }
  // Switched to the original, a new game (playing again reloads) keeps it; nothing is stored.
  const g = await phoneGame(t, { width: 360, height: 640 });
  assert.equal(await runScript(parseScript("name Ann\n"), new PageDriver(g.page, g.write, { touch: true }), g.write), 0);
  await g.page.tap("#layout-switch");
  assert.equal(await g.page.locator("#layout-switch").textContent(), "Reading layout");
  await g.page.reload();
  await g.page.evaluate(() => window.vendralReady.then(() => window.vendral.start()));
  const after = await g.page.evaluate(() => ({
    reading: document.documentElement.classList.contains("reading"),
    stored: localStorage.length + sessionStorage.length,
  }));
  assert.deepEqual(after, { reading: false, stored: 0 });
});

test("switching layouts keeps the game where it was, and Tab follows the layout shown", async (t) => {
  const g = await phoneGame(t, { width: 360, height: 640 });
  const { page } = g;
  const driver = new PageDriver(page, g.write, { touch: true });
  const play = (script) => runScript(parseScript(script), driver, g.write);
  const lines = KNIGHT.split("\n");
  // The title, the first journey with its choices, a store, and the Final Battle.
  const stops = [6, 8, 20, lines.findIndex((l) => l.includes("Form4.")) + 1];
  const seen = async () => ({
    state: await driver.state(),
    screens: (await Promise.all(["Form1", "Form3", "Form4"].map((f) => driver.screen(f)))).join(""),
  });
  let from = 0;
  for (const stop of stops) {
    assert.equal(await play(lines.slice(from, stop).join("\n") + "\n"), 0, g.transcript);
    from = stop;
    const where = lines[stop - 1];
    const before = await seen();
    await page.tap("#layout-switch");
    const original = await page.evaluate(() => ({
      reading: document.documentElement.classList.contains("reading"),
      // In each panel the controls lie in the table's order.
      inTable: [...document.querySelectorAll("#desk .client")].every((c) =>
        [...c.children].every((el, i, a) => i === 0 || Number(a[i - 1].dataset.index) < Number(el.dataset.index)),
      ),
    }));
    assert.deepEqual(original, { reading: false, inTable: true }, where);
    assert.deepEqual(await seen(), before, `${where}: the switch to the original layout changed the game`);
    await page.tap("#layout-switch");
    assert.deepEqual(await seen(), before, `${where}: the switch back changed the game`);
    // Tab from the top of the column walks its choices in the order they are shown.
    await page.evaluate(() => document.getElementById("layout-switch").focus());
    const walked = [];
    for (let i = 0; i < 40; ++i) {
      await page.keyboard.press("Tab");
      const at = await page.evaluate(() => {
        const el = document.activeElement;
        if (!el?.dataset?.control) return null;
        return { name: el.dataset.control, screen: el.closest(".screen").dataset.screen, top: el.getBoundingClientRect().top + document.getElementById("desk").scrollTop };
      });
      if (!at || walked.some((w) => w.name === at.name && w.screen === at.screen)) break;
      walked.push(at);
    }
    assert.ok(walked.length > 0, `${where}: Tab reached no choice`);
    const shown = await page.evaluate(() =>
      [...document.querySelectorAll("#desk section.screen:not([hidden]) [data-control]")]
        .filter((el) => el.tabIndex >= 0 && !el.disabled && el.getClientRects().length > 0)
        .map((el) => el.dataset.control),
    );
    assert.deepEqual(walked.map((w) => w.name), shown.slice(0, walked.length), `${where}: Tab order`);
    for (let i = 1; i < walked.length; ++i)
      if (walked[i].screen === walked[i - 1].screen)
        assert.ok(walked[i].top >= walked[i - 1].top, `${where}: Tab went up the column at ${walked[i].name}`);
  }
  assert.deepEqual(g.faults, []);
});
