// The web page's own tests, in headless Chromium: names shown as plain
// text, the page's policy and privacy, the keyboard, a touch drag of the
// disc, the fit of the screens to small and large windows, the end of the
// game, and the scripted player's refusals beside the headless player's.
//
//   node --test tests/web/page_test.mjs
//
// VENDRAL_WEB_SITE names the built site (build-web/site by default) and
// VENDRAL_REPLAY the native vendral-replay whose transcripts the page must
// match (the first build*/vendral-replay found by default).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { existsSync, readFileSync, readdirSync } from "node:fs";
import { join } from "node:path";
import vm from "node:vm";
import { DEFAULT_SITE, REPO, launchBrowser, newPage, openPage, serveSite, within } from "./browser.mjs";
import { PageDriver, parseScript, runScript } from "./replay.mjs";
import { JoinError, joinModules } from "../../src/web/page/join.mjs";

const SITE = process.env.VENDRAL_WEB_SITE || DEFAULT_SITE;

function nativeReplay() {
  if (process.env.VENDRAL_REPLAY) return process.env.VENDRAL_REPLAY;
  for (const dir of readdirSync(REPO).filter((d) => d.startsWith("build")).sort()) {
    const file = join(REPO, dir, "vendral-replay");
    if (existsSync(file)) return file;
  }
  throw new Error("no vendral-replay built: set VENDRAL_REPLAY");
}

// What the headless player prints for a script.
function headless(script, seed = 1) {
  const run = spawnSync(nativeReplay(), ["--seed", String(seed)], { input: script, encoding: "utf8" });
  return { status: run.status, transcript: run.stdout };
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

// A fresh page in test mode with the scripted player on it; `play` runs
// script lines on the same game, and `transcript` is all it printed.
async function testGame(t, { seed = 1, viewport, hasTouch = false, query = "" } = {}) {
  const g = await openPage(browser, server, `index.html?test&hold&seed=${seed}${query}`, { viewport, hasTouch });
  t.after(() => g.context.close());
  g.transcript = "";
  const write = (text) => (g.transcript += text);
  g.driver = new PageDriver(g.page, write);
  g.play = (script) => runScript(parseScript(script), g.driver, write);
  return g;
}

// Every message box's text as it opens, and whether it held any markup.
async function watchBoxes(page) {
  await page.evaluate(() => {
    window.__boxes = [];
    const box = document.getElementById("msgbox");
    new MutationObserver(() => {
      if (box.open) {
        const text = box.querySelector(".text");
        window.__boxes.push({ text: text.textContent, markup: text.childElementCount > 0 });
      }
    }).observe(box, { attributes: true, attributeFilter: ["open"] });
  });
  return () => page.evaluate(() => window.__boxes);
}

function stateOf(text, name) {
  const m = text.match(new RegExp(`^state ${name}=(.*)$`, "m"));
  assert.ok(m, `no ${name} in the state`);
  return m[1];
}

const sword6 = "click Form1.Command2\n".repeat(6);
const toBattle = "click Form1.cmdwizard\ntype Form1.txtjump TEKAVURM\nclick Form1.cmdverify\nclick Form1.Command138\nclick Form3.Command53\n";

test("names are shown as plain text, exactly as typed, in messages and labels", async (t) => {
  let long = "";
  for (let i = 0; i < 10000; ++i) long += "abcdefghijklmnopqrstuvwxyz<&>\"'"[i % 31];
  const xss = "<img src=x onerror=alert(1)>";
  const names = [xss, "A&B", '"quotes"', long, "<script>alert(2)</script>", "Cheater", ""];
  // Plays the script in parts on one page, looking at the page after each,
  // and compares the whole transcript with the headless player's.
  const playInParts = async (name, parts, look = async () => {}) => {
    const label = JSON.stringify(name.slice(0, 30));
    const g = await testGame(t);
    const boxes = await watchBoxes(g.page);
    for (const part of parts) {
      assert.equal(await g.play(part), 0, `${label}: ${g.transcript}`);
      await look(g, label);
    }
    const expected = headless(parts.join(""));
    assert.equal(g.transcript, expected.transcript, `${label}: the page's transcript differs from the headless player's`);
    assert.match(g.transcript, /\nend\n$/, label);
    const seen = await boxes();
    assert.ok(seen.length > 3, label);
    assert.deepEqual(seen.filter((b) => b.markup), [], `${label}: a message box holds markup`);
    // Nothing the name carried became an element or ran.
    const injected = await g.page.evaluate(() => document.querySelectorAll("#desk img[src='x'], #desk script, dialog img, dialog script").length);
    assert.equal(injected, 0, label);
    assert.deepEqual(g.dialogs, [], label);
    assert.deepEqual(g.faults, [], label);
    await g.context.close();
  };
  // The dragon's defeat and Form1's "Quit" (after the name prompt's help
  // message for a name that cannot be used).
  for (const name of names)
    await playInParts(name, [`name ${name}\nclick Form1.cmdknight\nclick Form1.cmdstart\n${sword6}click Form1.cmdlose\n`]);
  // The ending, whose text and two boxes carry the name; the text read
  // off the label itself.
  for (const name of [xss, long]) {
    await playInParts(
      name,
      [`name ${name}\n${toBattle}click Form4.lblactivate\nclick Form4.cmdfury\n`, "click Form6.suprwizard\nclick Form6.cmdquit\n"],
      async (g, label) => {
        if (g.driver.ended) return;
        const text = await g.page.evaluate(() => {
          const el = document.querySelector('section[data-screen="Form6"] [data-control="lbltext"]');
          return { text: el.textContent, elements: el.childElementCount };
        });
        assert.ok(text.text.includes(`, ${name}, are promoted`), `${label}: ${text.text.slice(0, 400)}`);
        assert.equal(text.elements, 0, label);
      },
    );
  }
});

test("the scripted player's refusals read as the headless player writes them", async (t) => {
  const cases = [
    ["cancel\nclick Form1.cmdstart\n", "the control is hidden"],
    ["click Form1.cmdintroduction\nclick Form1.cmdwizard\n", "the screen is hidden"],
    ["click Form2.Command1\n", "the screen is not loaded"],
    ["click Form1.tmtime\n", "the control takes no clicks"],
    ["click Form1.txtjump\n", "the control takes no clicks"],
    ["type Form1.cmdverify x\n", "the control is not a text box"],
    ["drag Form1.Label1 Form1.Label2\n", "the control is not a draggable image"],
    ["click Form7.Command1\n", "no such screen"],
    ["screen Form7\n", "no such screen"],
    [`name Tom\n${toBattle}click Form4.cmdrevive\n`, "the control is disabled"],
    [`name Tom\n${toBattle}click Form4.lblelife\ndrag Form4.imgcheat Form4.Nothing\n`, "no such control"],
    ["click Form1.cmdintroduction\nclick Form2.Command2\nstate\n", "the game has ended"],
    ["roll 10\n", "a roll is a whole number 0 to 9"],
    ["wait -5\n", "expected milliseconds"],
    ["click Form1\n", "expected FORM.CONTROL"],
    ["leap Form1.cmdwizard\n", "unknown command"],
  ];
  for (const [script, refusal] of cases) {
    const g = await testGame(t);
    const status = await g.play(script);
    const expected = headless(script);
    assert.equal(status, 2, script);
    assert.equal(expected.status, 2, script);
    assert.equal(g.transcript, expected.transcript, script);
    assert.ok(g.transcript.includes(refusal + "\n"), `${script}: ${g.transcript}`);
    assert.deepEqual(g.faults, [], script);
    await g.context.close();
  }
});

test("the page keeps to its own files and policy and stores nothing", async (t) => {
  // As a player opens it: no test interface, the game starts at once.
  const g = await openPage(browser, server, "index.html");
  t.after(() => g.context.close());
  const { page } = g;
  assert.equal(await page.evaluate(() => typeof window.vendral), "undefined");
  const dialogOpen = () => page.evaluate(() => document.querySelector("dialog[open]")?.id ?? null);
  // Answer every box the way a player does, with the mouse.
  const answerAll = async () => {
    for (let i = 0; i < 50; ++i) {
      await page.waitForTimeout(50);
      const open = await dialogOpen();
      if (!open) return;
      if (open === "prompt") await page.locator("#prompt input.field").fill("Pat");
      await page.locator(`#${open} button.ok`).click();
    }
    assert.fail("the boxes never stopped");
  };
  await page.locator("#prompt[open]").waitFor({ timeout: 30_000 });
  await answerAll();
  for (const control of ["cmdknight", "cmdstart", "Command2", "Command2"]) {
    await page.locator(`[data-screen="Form1"] [data-control="${control}"]`).click();
    await answerAll();
  }
  // The clock labels run on the browser's clock meanwhile.
  await page.waitForTimeout(1500);
  await answerAll();
  // Two blows of the dragon's breath: the clicks reached the game.
  assert.equal(await page.locator('[data-screen="Form1"] [data-control="lbllife"]').textContent(), "Life:40");
  assert.deepEqual(await page.evaluate(() => window.__violations), []);
  assert.deepEqual(g.faults, []);
  const origin = new URL(server.url).origin;
  assert.deepEqual(g.requests.filter((url) => new URL(url).origin !== origin), []);
  assert.ok(g.requests.some((url) => url.endsWith(".wasm")), "the module was not fetched");
  assert.deepEqual(await g.context.cookies(), []);
  const stored = await page.evaluate(async () => ({
    local: localStorage.length,
    session: sessionStorage.length,
    databases: (await indexedDB.databases()).length,
  }));
  assert.deepEqual(stored, { local: 0, session: 0, databases: 0 });
  // The policy is in force: an inline script is refused and reported.
  const ran = await page.evaluate(async () => {
    const script = document.createElement("script");
    script.textContent = "window.__inline = true";
    document.body.append(script);
    await new Promise((r) => setTimeout(r, 100));
    return window.__inline === true;
  });
  assert.equal(ran, false);
  // (Reported once for each copy of the policy: the header's and the page's own.)
  const violations = await page.evaluate(() => window.__violations);
  assert.ok(violations.length > 0 && violations.every((v) => v.startsWith("script-src")), violations.join("\n"));
});

test("the keyboard: Tab walks the buttons in table order, Enter held plays the dragon fight to the defeat", async (t) => {
  const g = await testGame(t);
  const { page } = g;
  await g.play("name Kay\n");
  const focused = () => page.evaluate(() => document.activeElement?.dataset?.control ?? null);
  // The buttons on offer, in the order of the screen's table (as the
  // headless player lists them).
  const buttons = headless("name Kay\nscreen Form1\n")
    .transcript.split("\n")
    .filter((l) => / kind=button .* enabled=yes$/.test(l))
    .map((l) => l.trim().split(" ")[0]);
  assert.ok(buttons.length >= 4, buttons.join(" "));
  const walked = [];
  for (let i = 0; i < buttons.length * 3 && walked.length < buttons.length; ++i) {
    await page.keyboard.press("Tab");
    const at = await focused();
    const kind = await page.evaluate(() => document.activeElement?.dataset?.kind);
    if (kind === "button" && !walked.includes(at)) walked.push(at);
  }
  assert.deepEqual(walked, buttons);

  // Enter on the knight's button, then held on the sword.
  for (let i = 0; i < 10 && (await focused()) !== "cmdknight"; ++i) await page.keyboard.press("Tab");
  assert.equal(await focused(), "cmdknight");
  await page.keyboard.press("Enter");
  await g.driver.settle();
  await g.play("click Form1.cmdstart\n");
  assert.equal(stateOf(await g.driver.state(), "life"), "60");
  for (let i = 0; i < 20 && (await focused()) !== "Command2"; ++i) await page.keyboard.press("Tab");
  assert.equal(await focused(), "Command2");
  const boxes = await watchBoxes(page);
  // Playwright sends every keydown after the first with repeat set, as a held key does.
  for (let i = 0; i < 60; ++i) await page.keyboard.down("Enter");
  await page.keyboard.up("Enter");
  const settled = await page.evaluate(() => window.vendral.settle());
  assert.deepEqual(settled, { dialog: null, ended: false });
  const texts = (await boxes()).map((b) => b.text);
  const count = (text) => texts.filter((x) => x === text).length;
  assert.equal(count("The dragon scorches you with its fiery breath."), 6, texts.join("\n"));
  assert.equal(count("You have lost."), 1, texts.join("\n"));
  assert.equal(stateOf(await g.driver.state(), "life"), "0");
  const screen = await g.driver.screen("Form1");
  assert.match(screen, /^ {2}cmdlose kind=button caption="Quit" enabled=yes$/m);
  assert.match(screen, /^ {2}lbllife kind=label caption="Life:0" enabled=yes$/m);
  assert.doesNotMatch(screen, /Command2/);
  assert.equal(await page.evaluate(() => document.querySelector("dialog[open]")), null);
  assert.equal(await page.evaluate(() => document.getElementById("ended").hidden), true);
  assert.deepEqual(g.faults, []);
});

test("the disc dragged by touch onto the class label gives the cheat's life", async (t) => {
  const g = await testGame(t, { hasTouch: true });
  const { page } = g;
  await g.play(
    "name Tom\nclick Form1.cmdknight\nclick Form1.cmdstart\nclick Form1.Command3\nclick Form1.Command6\n" +
      "click Form1.Command10\nclick Form1.Command13\nclick Form1.cmdno\nclick Form1.Command14\n" +
      "click Form1.Command19\nclick Form1.Command21\nclick Form1.Command26\nclick Form1.Command27\nclick Form1.lblelife\n",
  );
  const before = await g.driver.state();
  assert.match(await g.driver.screen("Form1"), /^ {2}Image2 kind=image /m);
  const box = (control) =>
    page.evaluate((c) => {
      const r = document.querySelector(`[data-screen="Form1"] [data-control="${c}"]`).getBoundingClientRect();
      return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
    }, control);
  const from = await g.driver.controlPoint("Form1", "Image2");
  assert.equal(from.onTop, true);
  const to = await box("Label1");
  const cdp = await g.context.newCDPSession(page);
  await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x: from.x, y: from.y }] });
  for (let i = 1; i <= 6; ++i) {
    const p = { x: from.x + ((to.x - from.x) * i) / 6, y: from.y + ((to.y - from.y) * i) / 6 };
    await cdp.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: [p] });
  }
  await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  const start = g.transcript.length;
  await g.driver.settle();
  assert.equal(g.transcript.slice(start), "message: You have cheated!\n");
  const afterDrop = await g.driver.state();
  assert.equal(Number(stateOf(afterDrop, "life")), Number(stateOf(before, "life")) + 1000);
  assert.equal(stateOf(afterDrop, "playername"), "Cheater");
  const screen = await g.driver.screen("Form1");
  assert.match(screen, new RegExp(`^ {2}lbllife kind=label caption="Life:${stateOf(afterDrop, "life")}" enabled=yes$`, "m"));
  assert.doesNotMatch(screen, /Image2/);
  assert.deepEqual(g.faults, []);
});

test("every screen fits small and large windows whole, in its own proportions", async (t) => {
  for (const viewport of [
    { width: 360, height: 640 },
    { width: 1920, height: 1080 },
  ]) {
    // The original layout, which a phone shows when the player switches to it.
    const g = await testGame(t, { viewport, query: "&layout=original" });
    const { page } = g;
    // `fills`: the biggest screen loaded so far is on show, and it fills
    // the window across or down (it is not left small).
    const check = async (when, fills = false) => {
      const found = await page.evaluate(() => {
        const root = document.documentElement;
        const boxes = [...document.querySelectorAll("#desk section.screen:not([hidden]), dialog[open]")].map((el) => {
          const r = el.getBoundingClientRect();
          return { name: el.dataset.screen ?? el.id, dialog: el.tagName === "DIALOG", left: r.left, top: r.top, right: r.right, bottom: r.bottom, ratio: r.width / r.height, own: el.offsetWidth / el.offsetHeight };
        });
        return {
          boxes,
          scrolls: root.scrollWidth > root.clientWidth || root.scrollHeight > root.clientHeight || document.body.scrollWidth > document.body.clientWidth || document.body.scrollHeight > document.body.clientHeight,
        };
      });
      const where = `${viewport.width}x${viewport.height}, ${when}`;
      assert.ok(found.boxes.length > 0, where);
      const shown = found.boxes.filter((b) => !b.dialog);
      const fill = Math.max(0, ...shown.map((b) => Math.max((b.right - b.left) / viewport.width, (b.bottom - b.top) / viewport.height)));
      if (fills) assert.ok(fill > 0.9, `${where}: the screens fill only ${fill} of the window`);
      assert.equal(found.scrolls, false, `${where}: the page scrolls`);
      for (const b of found.boxes) {
        assert.ok(b.left >= -0.5 && b.top >= -0.5 && b.right <= viewport.width + 0.5 && b.bottom <= viewport.height + 0.5, `${where}: ${b.name} runs out of the window: ${JSON.stringify(b)}`);
        if (!b.dialog)
          assert.ok(Math.abs(b.ratio / b.own - 1) < 0.01, `${where}: ${b.name} lost its proportions: ${JSON.stringify(b)}`);
      }
    };
    await page.evaluate(() => window.vendral.start());
    await page.evaluate(() => window.vendral.settle());
    g.driver.started = true;
    await check("the name prompt");
    await page.locator("#prompt input.field").fill("Max");
    await page.locator("#prompt button.ok").click();
    assert.equal((await page.evaluate(() => window.vendral.settle())).dialog, "message");
    await check("a message box");
    await g.driver.settle();
    await g.play("click Form1.cmdintroduction\n");
    await check("the introduction");
    await g.play("click Form2.Command1\n");
    await check("the title", true);
    await g.play("click Form1.cmdknight\ntype Form1.txtjump TEKAVURM\nclick Form1.cmdverify\nclick Form1.Command138\nclick Form3.Command53\n");
    await check("the Final Battle", true);
    await g.play("click Form4.cmdlose\n");
    await check("the quit screen");
    assert.deepEqual(g.faults, []);
    await g.context.close();
  }
});

test("a message box opens over the screen as its handler left it, and the screen moves on after it", async (t) => {
  const g = await testGame(t);
  await g.page.evaluate(() => {
    window.__seen = [];
    const box = document.getElementById("msgbox");
    const form1 = 'section[data-screen="Form1"] ';
    const read = (name) => document.querySelector(`${form1}[data-control="${name}"]`);
    new MutationObserver(() => {
      if (!box.open) return;
      window.__seen.push({
        box: box.querySelector(".text").textContent,
        magic: read("lblmagic").textContent,
        life: read("lbllife").textContent,
        lose: !read("cmdlose").hidden,
        run: !read("Command8").hidden,
      });
    }).observe(box, { attributes: true, attributeFilter: ["open"] });
  });
  // The wizard runs invisible from the bandits five times: each run writes
  // his magic before its box and the blow's life after it; the fifth blow
  // kills him, shows "Quit" and hides the choices before its box.
  const toBandits = "name Ann\nclick Form1.cmdwizard\nclick Form1.cmdstart\nclick Form1.Command1\nclick Form1.Command4\nclick Form1.Command6\nclick Form1.Command7\n";
  assert.equal(await g.play(toBandits + "click Form1.Command8\n".repeat(5)), 0, g.transcript);
  const seen = await g.page.evaluate(() => window.__seen);
  const runs = seen.filter((s) => s.box === "The bandits see your shadow. You have been hit.");
  assert.equal(runs.length, 5);
  const value = (text) => Number(text.replace(/^[A-Za-z]+:/, ""));
  for (let i = 1; i < 5; ++i) {
    assert.equal(value(runs[i].magic), value(runs[i - 1].magic) - 5, `run ${i + 1}: ${JSON.stringify(runs[i])}`);
    assert.equal(value(runs[i].life), value(runs[i - 1].life) - 20, `run ${i + 1}: ${JSON.stringify(runs[i])}`);
  }
  assert.ok(runs.every((s) => !s.lose && s.run));
  const lost = seen.find((s) => s.box === "You have lost.");
  assert.ok(lost, JSON.stringify(seen));
  assert.equal(lost.lose, true);
  assert.equal(lost.run, false);
  assert.equal(lost.life, "Life:0");
  assert.deepEqual(g.faults, []);
});

test("after Quit the page says the game is over and offers to play again", async (t) => {
  const g = await testGame(t);
  const { page } = g;
  assert.equal(await g.play("name Bo\nclick Form1.cmdintroduction\nclick Form2.Command2\n"), 0);
  assert.match(g.transcript, /\nend\n$/);
  const ended = await page.evaluate(() => {
    const notice = document.getElementById("ended");
    const button = notice.querySelector("button");
    return {
      shown: !notice.hidden && notice.checkVisibility(),
      text: notice.textContent,
      button: button?.textContent,
      focused: document.activeElement === button,
      screens: document.querySelectorAll("#desk section.screen:not([hidden])").length,
    };
  });
  assert.equal(ended.shown, true);
  assert.match(ended.text, /game is over/i);
  assert.equal(ended.button, "Play again");
  assert.equal(ended.focused, true);
  assert.equal(ended.screens, 0);
  // Play again: a new game from the start.
  await Promise.all([page.waitForEvent("load"), page.getByRole("button", { name: "Play again" }).click()]);
  await page.evaluate(() => window.vendralReady);
  await page.evaluate(() => window.vendral.start());
  assert.deepEqual(await page.evaluate(() => window.vendral.settle()), { dialog: "prompt", ended: false });
  assert.equal(await page.evaluate(() => document.getElementById("ended").hidden), true);
  assert.deepEqual(g.faults, []);
});

test("the page's modules join into one script in the order of their imports; a cycle or an unknown name is refused", () => {
  const joinFiles = (files, entry = "main.js") =>
    joinModules(entry, (file) => {
      if (!(file in files)) throw new Error("not there");
      return files[file];
    });
  const files = {
    "main.js": 'import { twice, named as called } from "./b.js";\nimport { base } from "./c.js";\nglobalThis.result = [twice(), called, base];\n',
    "b.js": 'import {\n  base,\n  bump as more,\n} from "./c.js";\nexport function twice() {\n  return more(base) * 2;\n}\nconst name = "b";\nexport { name as named };\n',
    "c.js": "export const base = 20;\nexport async function ignored() {}\nexport const bump = (n) => n + 1;\nconst hidden = 1;\n",
  };
  const script = joinFiles(files);
  // A module comes after everything it imports, and nothing of import or export is left.
  const at = (file) => script.indexOf(`// --- ${file} ---`);
  assert.ok(at("c.js") >= 0 && at("c.js") < at("b.js") && at("b.js") < at("main.js"), script);
  assert.doesNotMatch(script, /^\s*(import|export)\b/m);
  // It runs as a classic script, every binding in place, and leaks no name of a module.
  const context = vm.createContext({});
  vm.runInContext(script, context);
  assert.deepEqual([...context.result], [42, "b", 20]);
  assert.equal(vm.runInContext("typeof hidden + typeof twice + typeof base", context), "undefinedundefinedundefined");

  const refused = (changes, pattern) =>
    assert.throws(() => joinFiles({ ...files, ...changes }), (e) => e instanceof JoinError && pattern.test(e.message), JSON.stringify(changes));
  refused({ "c.js": 'import { twice } from "./b.js";\nexport const base = twice;\nexport const bump = 1;\n' }, /cycle: b\.js -> c\.js -> b\.js/);
  refused({ "main.js": 'import { base } from "./gone.js";\n' }, /main\.js imports \.\/gone\.js, which is not there/);
  refused({ "main.js": 'import { nothing } from "./c.js";\n' }, /imports nothing from \.\/c\.js, which does not export it/);
  refused({ "main.js": 'import { base } from "../c.js";\n' }, /only modules of this folder/);
  refused({ "main.js": 'import c from "./c.js";\n' }, /cannot join/);
  refused({ "c.js": "export let base = 1;\n" }, /cannot join "export let/);
  refused({ "c.js": "export const base = 1;\nexport { base };\n" }, /base is exported twice/);

  // The page itself: every module of its folder is in the one script, and it compiles.
  const folder = join(REPO, "src/web/page");
  const page = joinModules("start.js", (file) => readFileSync(join(folder, file), "utf8"));
  for (const file of readdirSync(folder).filter((f) => f.endsWith(".js"))) assert.ok(page.includes(`// --- ${file} ---`), file);
  new vm.Script(page);
});

// A page in test mode whose side of the module (Module.page) the test holds
// as window.__modulePage, and every screen's table as window.__tables, so
// it can report to the page as the module would.
async function caughtGame(t, query = "test") {
  const g = await testGame(t);
  await g.page.addInitScript(() => {
    let factory;
    window.__tables = {};
    Object.defineProperty(window, "createVendral", {
      configurable: true,
      set: (f) => (factory = f),
      get: () =>
        factory &&
        ((options) => {
          const page = (window.__modulePage = options.page);
          const loaded = page.screenLoaded;
          page.screenLoaded = (def) => {
            window.__tables[def.name] = structuredClone(def);
            loaded(def);
          };
          return factory(options);
        }),
    });
  });
  await g.page.goto(new URL(`index.html?${query}`, server.url).href);
  await g.page.evaluate(() => window.vendralReady);
  return g;
}

const shown = (page) =>
  page.evaluate(() => ({
    dialog: document.querySelector("dialog[open]")?.id ?? null,
    screens: document.querySelectorAll("#desk section.screen:not([hidden])").length,
  }));

test("?test starts the game by itself; ?test&hold waits for start(); the refusals come from the game", async (t) => {
  const g = await openPage(browser, server, "index.html?test");
  t.after(() => g.context.close());
  await g.page.locator("#prompt[open]").waitFor({ timeout: 30_000 });
  await g.page.evaluate(() => window.vendral.start());
  assert.deepEqual(await g.page.evaluate(() => window.vendral.settle()), { dialog: "prompt", ended: false });
  assert.equal(await g.page.locator("dialog[open]").count(), 1, "a second start");

  const held = await openPage(browser, server, "index.html?test&hold");
  t.after(() => held.context.close());
  const { page } = held;
  await page.waitForTimeout(300);
  assert.deepEqual(await shown(page), { dialog: null, screens: 0 });
  assert.deepEqual(await page.evaluate(() => window.vendral.settle()), { dialog: null, ended: false });
  await page.evaluate(() => window.vendral.start());
  assert.deepEqual(await page.evaluate(() => window.vendral.settle()), { dialog: "prompt", ended: false });

  const refusals = await page.evaluate(() => ({ frozen: Object.isFrozen(window.vendral.refusals), all: { ...window.vendral.refusals } }));
  assert.equal(refusals.frozen, true);
  for (const key of ["unknown-screen", "unknown-control", "not-loaded", "screen-hidden", "control-hidden", "control-disabled", "not-clickable", "not-text-box", "not-draggable", "busy", "ended", "covered"])
    assert.ok(typeof refusals.all[key] === "string" && refusals.all[key] !== "", key);
  // The same words the headless player writes.
  assert.ok(headless("click Form1.cmdstart\n").transcript.includes(refusals.all["control-hidden"] + "\n"));
  assert.deepEqual([...g.faults, ...held.faults], []);
});

test("a seed is read whole as the headless player reads it, and a seed that is no whole number is refused plainly", async (t) => {
  const script = `name Sam\n${toBattle}state\n`;
  const transcripts = new Set();
  for (const seed of ["1", "18446744073709551615", "12345678901234567890"]) {
    const g = await testGame(t, { seed });
    assert.equal(await g.play(script), 0, g.transcript);
    const expected = headless(script, seed);
    assert.equal(expected.status, 0, seed);
    assert.equal(g.transcript, expected.transcript, `seed ${seed}`);
    transcripts.add(g.transcript);
    assert.deepEqual(g.faults, []);
    await g.context.close();
  }
  assert.equal(transcripts.size, 3, "the seeds play alike: the test cannot tell them apart");

  for (const seed of ["-1", "abc", "18446744073709551616", "1.5", ""]) {
    const g = await openPage(browser, server, `index.html?test&seed=${encodeURIComponent(seed)}`);
    await g.page.waitForTimeout(200);
    const notice = await g.page.evaluate(() => {
      const loading = document.getElementById("loading");
      return { hidden: loading.hidden, text: loading.textContent };
    });
    assert.deepEqual(notice, { hidden: false, text: "This seed cannot be played: the seed takes a whole number." }, seed);
    assert.deepEqual(await shown(g.page), { dialog: null, screens: 0 }, seed);
    assert.ok(g.faults.length === 1 && /seed/.test(g.faults[0]), `${seed}: ${g.faults.join("\n")}`);
    await g.context.close();
  }
});

test("a label given a new text while hidden is fitted when it is shown on a screen already showing", async (t) => {
  const g = await caughtGame(t);
  assert.equal(await g.play("name Lee\n"), 0, g.transcript);
  const found = await g.page.evaluate(() => {
    const report = window.__modulePage;
    const row = window.__tables.Form1.controls.find((c) => c.name === "lbldate");
    const index = window.__tables.Form1.controls.indexOf(row);
    const el = document.querySelector('[data-screen="Form1"] [data-control="lbldate"]');
    const state = (caption, visible) => ({ caption, visible, enabled: true, left: row.left, top: row.top, picture: "", words: "" });
    const look = () => ({
      size: parseFloat(getComputedStyle(el).fontSize),
      overflows: el.scrollHeight > el.clientHeight + 1 || el.scrollWidth > el.clientWidth + 1,
    });
    const text = "Thursday, the thirty-first of December 2026";
    const designed = look().size;
    // The text comes while the label is hidden; the next report shows it.
    report.controlChanged("Form1", index, state(text, false));
    report.controlChanged("Form1", index, state(text, true));
    const shownLater = look();
    // The same text coming while it can be seen.
    report.controlChanged("Form1", index, state("", true));
    report.controlChanged("Form1", index, state(text, true));
    return { designed, shownLater, shownAtOnce: look(), hidden: el.hidden };
  });
  assert.equal(found.hidden, false);
  assert.ok(found.shownAtOnce.size < found.designed, `the text fits unfitted: ${JSON.stringify(found)}`);
  assert.deepEqual(found.shownLater, found.shownAtOnce);
  assert.equal(found.shownLater.overflows, false, JSON.stringify(found));
  assert.deepEqual(g.faults, []);
});

test("a drag whose pointer cannot be captured ends at once and leaves nothing behind", async (t) => {
  const g = await testGame(t);
  const { page } = g;
  await g.play(
    "name Tom\nclick Form1.cmdknight\nclick Form1.cmdstart\nclick Form1.Command3\nclick Form1.Command6\n" +
      "click Form1.Command10\nclick Form1.Command13\nclick Form1.cmdno\nclick Form1.Command14\n" +
      "click Form1.Command19\nclick Form1.Command21\nclick Form1.Command26\nclick Form1.Command27\nclick Form1.lblelife\n",
  );
  const life = async () => Number(stateOf(await g.driver.state(), "life"));
  const before = await life();
  await page.evaluate(() => {
    window.__capture = Element.prototype.setPointerCapture;
    Element.prototype.setPointerCapture = () => {
      throw new DOMException("the pointer is gone", "NotFoundError");
    };
  });
  const start = g.transcript.length;
  assert.equal(await g.driver.drag("Form1", "Image2", "Form1", "Label1"), "");
  assert.equal(await page.locator(".drag-ghost").count(), 0, "the dragged picture stays on the page");
  assert.equal(g.transcript.slice(start), "");
  assert.equal(await life(), before);
  // The disc is dragged as ever once the pointer can be captured again.
  await page.evaluate(() => (Element.prototype.setPointerCapture = window.__capture));
  assert.equal(await g.driver.drag("Form1", "Image2", "Form1", "Label1"), "");
  assert.equal(g.transcript.slice(start), "message: You have cheated!\n");
  assert.equal(await page.locator(".drag-ghost").count(), 0);
  assert.equal(await life(), before + 1000);
  assert.deepEqual(g.faults, []);
});

test("the game ending while a dialog waits answers it, and the handler that waited shows nothing more", async (t) => {
  const answered = async (g) => {
    const { page } = g;
    await page.evaluate(() => window.__modulePage.endProgram());
    const settled = await within(10_000, "settle() after the end", page.evaluate(() => window.vendral.settle()));
    assert.deepEqual(settled, { dialog: null, ended: true });
    // Whatever the handler did after its dialog, the page stays at its end.
    await page.waitForTimeout(200);
    assert.deepEqual(await shown(page), { dialog: null, screens: 0 });
    const end = await page.evaluate(() => ({
      notice: !document.getElementById("ended").hidden,
      focused: document.activeElement === document.querySelector("#ended button"),
    }));
    assert.deepEqual(end, { notice: true, focused: true });
    assert.deepEqual(g.faults, []);
  };
  // The name prompt: its handler goes on as for Cancel, with its boxes.
  const prompted = await caughtGame(t);
  assert.deepEqual(await prompted.page.evaluate(() => window.vendral.settle()), { dialog: "prompt", ended: false });
  await answered(prompted);
  // A message box, clicked open by the player.
  const boxed = await caughtGame(t);
  boxed.driver.names.push("Kim");
  await boxed.driver.settle();
  await boxed.page.locator('[data-screen="Form1"] [data-control="cmdknight"]').click();
  assert.deepEqual(await boxed.page.evaluate(() => window.vendral.settle()), { dialog: "message", ended: false });
  await answered(boxed);
});

test("a host that serves the module with another type still starts the game; one without the module says so", async (t) => {
  const wasm = readFileSync(join(SITE, "vendral.wasm"));
  const served = async (answer) => {
    const g = await newPage(browser);
    t.after(() => g.context.close());
    await g.page.route("**/vendral.wasm", answer);
    await g.page.goto(new URL("index.html?test&hold", server.url).href, { waitUntil: "load", timeout: 60_000 });
    return g;
  };
  // Not compiled as it streams in (the browser wants application/wasm):
  // compiled from the whole file instead, and the game plays.
  const plain = await served((route) => route.fulfill({ body: wasm, contentType: "application/octet-stream" }));
  await within(60_000, "window.vendralReady", plain.page.evaluate(() => window.vendralReady));
  await plain.page.evaluate(() => window.vendral.start());
  await plain.page.locator("#prompt[open]").waitFor({ timeout: 30_000 });
  assert.deepEqual(plain.faults, []);
  // No module at all: the page says it cannot start, and nothing else runs.
  const missing = await served((route) => route.fulfill({ status: 404, body: "" }));
  await missing.page.waitForFunction(() => document.getElementById("loading").textContent.includes("could not start"), null, { timeout: 30_000 });
  assert.equal(await missing.page.evaluate(() => window.vendral ?? null), null);
});
