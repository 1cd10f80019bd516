// Spoken play in the web page, in headless Chromium: what a screen reader
// is handed (the live region's text, the focus and its name) checked step
// by step against the headless player's `spoken:` and `repeat:` lines for
// the same script, a whole game played with the keyboard alone, and the
// disc dragged by keyboard.
//
//   node --test tests/web/spoken_test.mjs
//
// VENDRAL_WEB_SITE names the built site (build-web/site by default) and
// VENDRAL_REPLAY the native vendral-replay (the first build*/vendral-replay
// found by default).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { existsSync, readFileSync, readdirSync } from "node:fs";
import { join } from "node:path";
import { DEFAULT_SITE, REPO, launchBrowser, openPage, serveSite, within } from "./browser.mjs";
import { PageDriver, runScript } from "./replay.mjs";
import { readCommand, readScript } from "./script.mjs";

const SITE = process.env.VENDRAL_WEB_SITE || DEFAULT_SITE;
const oneLine = (text) => text.replaceAll("\n", "\\n");
// The accessibility tree reads text with its white space run together.
const squeeze = (text) => text.replace(/\s+/g, " ").trim();

function nativeReplay() {
  if (process.env.VENDRAL_REPLAY) return process.env.VENDRAL_REPLAY;
  for (const dir of readdirSync(REPO).filter((d) => d.startsWith("build")).sort()) {
    const file = join(REPO, dir, "vendral-replay");
    if (existsSync(file)) return file;
  }
  throw new Error("no vendral-replay built: set VENDRAL_REPLAY");
}

function spokenTranscript(script) {
  const run = spawnSync(nativeReplay(), ["--spoken"], { input: script, encoding: "utf8" });
  assert.equal(run.status, 0, run.stdout + run.stderr);
  return run.stdout;
}

// What the headless player prints for each step of the script: the first
// for the start (with the names and rolls queued before it), then one for
// every action after it, each as { message, spoken, repeat } lines.
function expectedSteps(script) {
  const raws = script.split("\n").filter((l) => l.trim() !== "" && !l.trim().startsWith("#"));
  const lead = raws.findIndex((l) => !/^(name|cancel|roll) /.test(l) && l !== "cancel");
  const cut = (k) => spokenTranscript(raws.slice(0, k).join("\n") + "\n");
  const steps = [];
  let before = "";
  for (let k = lead; k <= raws.length; ++k) {
    const now = cut(k);
    assert.ok(now.startsWith(before), `the transcript of ${k} lines does not go on from ${k - 1}`);
    const part = now.slice(before.length).split("\n");
    const of = (kind) => part.filter((l) => l.startsWith(`${kind}: `)).map((l) => l.slice(kind.length + 2));
    // Where reading starts again when nothing on the screen is told anew:
    // the top screen's situation, the repeat key's first line.
    const situation = () => spokenTranscript(raws.slice(0, k).join("\n") + "\nrepeat\n").slice(now.length).split("\n").find((l) => l.startsWith("repeat: "))?.slice(8);
    steps.push({ line: k === lead ? "(start)" : raws[k - 1], message: of("message"), spoken: of("spoken"), repeat: of("repeat"), situation });
    before = now;
  }
  return { lead: raws.slice(0, lead), steps };
}

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

// Everything a screen reader is handed, logged in the page in the order it
// happens: the page giving a label the focus ({ focus }), the live region's new
// lines ({ live }), a message box opening ({ box }), and every text the
// clocks ever showed.
function listen() {
  window.__heard = [];
  window.__clock = new Set();
  const region = document.getElementById("spoken");
  const lived = (records) => {
    for (const r of records)
      if (r.target === region && r.addedNodes.length) window.__heard.push({ live: [...r.addedNodes].map((n) => n.textContent) });
  };
  const watch = new MutationObserver(lived);
  watch.observe(region, { childList: true });
  document.addEventListener("focusin", (e) => {
    lived(watch.takeRecords());
    // The focus going back from a closed box to where it was is no news.
    const back = e.relatedTarget?.closest?.("dialog");
    if (e.target.dataset?.kind === "label" && !back) window.__heard.push({ focus: e.target.textContent });
  });
  const box = document.getElementById("msgbox");
  new MutationObserver(() => {
    lived(watch.takeRecords());
    if (box.open) window.__heard.push({ box: box.querySelector(".text").textContent });
  }).observe(box, { attributes: true, attributeFilter: ["open"] });
  const clocks = () => {
    for (const el of document.querySelectorAll('[data-control="lbltime"], [data-control="lbldate"]'))
      if (el.textContent) window.__clock.add(el.textContent);
  };
  new MutationObserver(clocks).observe(document.getElementById("desk"), { subtree: true, childList: true, characterData: true });
}

async function taken(page) {
  return page.evaluate(() => window.__heard.splice(0));
}

// The live region's lines and the focused node, as Chromium's
// accessibility tree gives them, and every name and description in it.
async function axView(cdp) {
  const { nodes } = await cdp.send("Accessibility.getFullAXTree");
  const byId = new Map(nodes.map((n) => [n.nodeId, n]));
  const prop = (n, name) => n.properties?.find((p) => p.name === name)?.value.value;
  const texts = (n) => {
    if (n.role?.value === "StaticText") return [n.name?.value ?? ""];
    return (n.childIds ?? []).flatMap((id) => (byId.has(id) ? texts(byId.get(id)) : []));
  };
  const live = nodes.find((n) => !n.ignored && prop(n, "live") === "polite" && n.role?.value !== "StaticText");
  const focused = nodes.filter((n) => !n.ignored && prop(n, "focused") && n.role?.value !== "RootWebArea").pop();
  return {
    live: live ? texts(live).map(squeeze) : null,
    focused: focused && { role: focused.role?.value, name: focused.name?.value ?? "", description: focused.description?.value ?? "" },
    words: nodes.filter((n) => !n.ignored).flatMap((n) => [n.name?.value ?? "", n.description?.value ?? ""]).filter(Boolean),
  };
}

// The focused element as the page has it.
const focusedElement = (page) =>
  page.evaluate(() => {
    const el = document.activeElement;
    return {
      control: el?.dataset?.control ?? null,
      screen: el?.closest?.(".screen")?.dataset.screen ?? null,
      kind: el?.dataset?.kind ?? null,
      choice: Boolean(el?.dataset?.control) && (el.tagName === "BUTTON" || el.getAttribute("role") === "button"),
      text: el?.textContent ?? "",
    };
  });

// Tab until FORM.CONTROL has the focus.
async function tabTo(page, form, control) {
  for (let i = 0; i < 200; ++i) {
    const at = await focusedElement(page);
    if (at.screen === form && at.control === control) return;
    await page.keyboard.press("Tab");
  }
  assert.fail(`Tab never reaches ${form}.${control}`);
}

// Lets the game rest, answering every message box with Enter and the name
// prompt by typing.
async function settle(page, names) {
  for (;;) {
    const { dialog } = await within(30_000, "settle()", page.evaluate(() => window.vendral.settle()));
    if (dialog === "message") await page.keyboard.press("Enter");
    else if (dialog === "prompt") {
      const name = names.shift() ?? null;
      if (name === null) await page.keyboard.press("Escape");
      else {
        await page.keyboard.type(name);
        await page.keyboard.press("Enter");
      }
    } else return;
  }
}

test("a whole game played by keyboard is heard as the headless player's spoken lines", async (t) => {
  // The wizard's whole game, with the repeat key pressed now and then.
  const lines = readFileSync(join(REPO, "bench/playthroughs/wizard_full.script"), "utf8").split("\n");
  const script = lines.flatMap((l, i) => (i % 40 === 39 && l.startsWith("click") ? [l, "repeat"] : [l])).join("\n");
  const { lead, steps } = expectedSteps(script);
  assert.ok(steps.length > 150 && steps.some((s) => s.repeat.length > 0));

  const g = await openPage(browser, server, "index.html?test&hold&seed=1");
  t.after(() => g.context.close());
  const { page } = g;
  await page.evaluate(listen);
  const cdp = await g.context.newCDPSession(page);
  await cdp.send("Accessibility.enable");
  const internal = new Set(await page.evaluate(() => [...document.querySelectorAll("[data-screen]")].map((s) => s.dataset.screen)));
  const names = [];
  for (const l of lead) {
    const c = readCommand(readScript(l)[0]);
    if (c.command === "roll") await page.evaluate((d) => window.vendral.roll(d), c.digit);
    else names.push(c.name);
  }
  await page.evaluate(() => window.vendral.start());
  let lastLive = null;
  for (const step of steps) {
    const [cmd] = readScript(step.line);
    const c = step.line === "(start)" ? { command: "start" } : cmd.command === "repeat" ? { command: "repeat" } : readCommand(cmd);
    const where = `after ${step.line}`;
    if (c.command === "click" || c.command === "type") {
      await tabTo(page, c.form, c.control);
      if (c.command === "click") await page.keyboard.press("Enter");
      else await page.keyboard.type(c.text);
    } else if (c.command === "wait") await page.evaluate((ms) => window.vendral.advance(ms), Number(c.ms));
    else if (c.command === "roll") await page.evaluate((d) => window.vendral.roll(d), c.digit);
    else if (c.command === "repeat") await page.keyboard.press("F2");
    await settle(page, names);

    const heard = await taken(page);
    const boxes = heard.filter((h) => h.box !== undefined).map((h) => oneLine(h.box));
    const told = heard.filter((h) => h.box === undefined).map((h) => (h.focus !== undefined ? { focus: oneLine(h.focus) } : h.live.map(oneLine)));
    const expected = c.command === "repeat" ? step.repeat : step.spoken;
    assert.deepEqual(boxes, step.message, `${where}: the message boxes`);
    // The focus goes where reading starts again, only once in a step and
    // first: to the first line told (which the live region then leaves
    // out), or to the screen's situation when no label is told.
    assert.ok(told.slice(1).every((h) => h.focus === undefined), `${where}: the focus moved after the live region spoke`);
    if (told[0]?.focus !== undefined && told[0].focus !== expected[0]) {
      assert.equal(told[0].focus, step.situation(), `${where}: the focus goes to the situation ${JSON.stringify([told, expected])}`);
      told.shift();
    }
    assert.deepEqual(told.flatMap((h) => h.focus ?? h), expected, `${where}: what is told`);
    // Boxes first, then the step's announcement.
    const firstTold = heard.findIndex((h) => h.box === undefined);
    assert.ok(firstTold < 0 || heard.slice(firstTold).every((h) => h.box === undefined), `${where}: told before a box`);
    for (const h of heard) if (h.live) lastLive = h.live;

    const ax = await axView(cdp);
    if (lastLive) assert.deepEqual(ax.live, lastLive.map(squeeze), `${where}: the live region`);
    const at = await focusedElement(page);
    // Never a choice the player did not pick.
    if (at.choice) assert.ok(c.command !== "click" || (at.screen === c.form && at.control === c.control), `${where}: ${at.control} has the focus`);
    if (at.kind === "label") {
      assert.equal(squeeze(ax.focused.name), squeeze(at.text), `${where}: the focused label's name`);
      assert.equal(ax.focused.description, "", where);
    }
    // No internal name is read anywhere.
    for (const name of await page.evaluate(() => [...document.querySelectorAll("[data-control]")].map((e) => e.dataset.control)))
      internal.add(name);
    const leaked = ax.words.filter((w) => [...internal].some((n) => new RegExp(`\\b${n}\\b`).test(w)));
    assert.deepEqual(leaked, [], `${where}: internal names in the accessibility tree`);
  }
  assert.equal(await page.evaluate(() => document.getElementById("ended").hidden), false, "the game ended");
  // Through the whole game the clocks ticked, and none of it was told.
  const clock = await page.evaluate(() => [...window.__clock]);
  assert.ok(clock.length > 1);
  const heardAll = steps.flatMap((s) => [...s.spoken, ...s.repeat]);
  assert.deepEqual(heardAll.filter((l) => clock.includes(l)), []);
  assert.deepEqual(g.faults, []);
});

test("the disc is carried by keyboard to the label a pointer would drop it on", async (t) => {
  const toDisc =
    "name Tom\nclick Form1.cmdknight\nclick Form1.cmdstart\nclick Form1.Command3\nclick Form1.Command6\n" +
    "click Form1.Command10\nclick Form1.Command13\nclick Form1.cmdno\nclick Form1.Command14\n" +
    "click Form1.Command19\nclick Form1.Command21\nclick Form1.Command26\nclick Form1.Command27\nclick Form1.lblelife\n";
  const g = await openPage(browser, server, "index.html?test&hold&seed=1");
  t.after(() => g.context.close());
  const { page } = g;
  let transcript = "";
  const driver = new PageDriver(page, (text) => (transcript += text));
  assert.equal(await runScript(readScript(toDisc), driver, (text) => (transcript += text)), 0, transcript);
  await page.evaluate(listen);
  const cdp = await g.context.newCDPSession(page);
  await cdp.send("Accessibility.enable");
  const before = await driver.state();

  // The labels that take drops on the screens on show: the class label alone.
  const targets = ["Label1"];
  await tabTo(page, "Form1", "Image2");
  assert.equal((await axView(cdp)).focused.role, "button");
  await page.keyboard.press("Enter");
  // Picked up: each label that takes a drop is walked, and read as it is.
  const walked = [];
  for (let i = 0; i < 4; ++i) {
    const at = await focusedElement(page);
    const ax = await axView(cdp);
    assert.equal(at.kind, "label");
    assert.equal(squeeze(ax.focused.name), squeeze(at.text));
    assert.notEqual(ax.focused.description, "");
    walked.push(at.control);
    await page.keyboard.press(i % 2 ? "Tab" : "ArrowDown");
  }
  assert.deepEqual([...new Set(walked)].sort(), [...targets].sort());
  assert.equal(walked[0], walked[targets.length], "the walk goes round");
  // Escape puts it back; nothing happened in the game.
  await page.keyboard.press("Escape");
  assert.equal((await focusedElement(page)).control, "Image2");
  assert.equal(await driver.state(), before);
  // Held Enter picks it up and drops nothing.
  for (let i = 0; i < 10; ++i) await page.keyboard.down("Enter");
  await page.keyboard.up("Enter");
  await settle(page, []);
  assert.equal(await driver.state(), before);
  assert.equal((await focusedElement(page)).kind, "label");
  // Dropped on the class label: the game's drag onto it, heard as the headless player tells it.
  for (let i = 0; i < 4 && (await focusedElement(page)).control !== "Label1"; ++i) await page.keyboard.press("ArrowDown");
  await taken(page);
  await page.keyboard.press("Enter");
  await settle(page, []);
  const heard = await taken(page);
  const native = spokenTranscript(toDisc + "drag Form1.Image2 Form1.Label1\nstate\n");
  const dropped = native.slice(spokenTranscript(toDisc).length).split("\n");
  assert.deepEqual(heard.filter((h) => h.box).map((h) => h.box), dropped.filter((l) => l.startsWith("message: ")).map((l) => l.slice(9)));
  assert.deepEqual(
    heard.flatMap((h) => h.focus !== undefined ? [h.focus] : h.live ?? []),
    dropped.filter((l) => l.startsWith("spoken: ")).map((l) => l.slice(8)),
  );
  assert.ok(native.endsWith(await driver.state()), "the state after the drop is the headless player's");
  assert.deepEqual(g.faults, []);
});
