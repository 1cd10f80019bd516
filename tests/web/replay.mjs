// The scripted player through the web page:
//
//   node tests/web/replay.mjs [--seed N] [--site DIR] [--layout reading] [SCRIPT]
//
// plays a vendral-replay script (read from standard input without SCRIPT)
// on the built page in headless Chromium and prints the same transcript as
// vendral-replay, with the same exit status (0 played through, 2 refused).
// Clicks, typing and drags are real input events at the page coordinates of
// the controls; message boxes and the name prompt are read off the page's
// dialogs and answered through their buttons; the screen is read off the
// DOM. A page that misbehaves on its own (a click that lands on something
// else, an exception, a console error, a dialog that never settles) is a
// fault: the transcript so far goes to standard output, the fault to
// standard error, and the exit status is 1.
//
// With --layout reading the page is a phone held upright (360 x 640, touch)
// in its reading layout: the game is asked where a click would land as
// ever, and refuses the same; the finger then taps the control where it
// lies in the column, and drags the disc there with touch events.
import { readFileSync } from "node:fs";
import { resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { DEFAULT_SITE, launchBrowser, openPage, serveSite, within } from "./browser.mjs";
import { lineError, readCommand, readScript } from "./script.mjs";

// How long the page may take to settle after one action before it counts
// as hung.
const SETTLE_MS = 30_000;
// VENDRAL_WEB_TRACE=1 writes each script line to standard error as it is played.
const TRACE = Boolean(process.env.VENDRAL_WEB_TRACE);

export class PageFault extends Error {}

// A name inside a CSS attribute selector.
const CSS_escape = (name) => name.replace(/["\\]/g, "\\$&");
const oneLine = (text) => text.replaceAll("\n", "\\n");

// The script format is read by tests/web/script.mjs alone; readScript is
// also offered here under its old name, for tests that play script text.
export { readScript as parseScript };

// Plays the script's lines (readScript's) through the page; lines go to
// `write`. Returns the exit status, 0 or 2, or throws PageFault.
// The game starts at the first action (or at the end of a script of none);
// a driver already started, as a test may hand in, is played on.
export async function runScript(lines, driver, write) {
  for (const line of lines) {
    if (TRACE) process.stderr.write(`replay.mjs: line ${line.number}: ${line.command} ${line.rest}\n`);
    if (driver.started && driver.ended) {
      write("error: the game has ended\n");
      return 2;
    }
    // Names and rolls are queued before the game starts; every other line
    // starts it first, even one that cannot be read, as vendral-replay does.
    const queued = ["name", "cancel", "roll"].includes(line.command);
    if (!queued && !driver.started) {
      await driver.start();
      if (driver.ended) {
        write("error: the game has ended\n");
        return 2;
      }
    }
    const step = readCommand(line);
    if (step.why) {
      write(lineError(line, step.why));
      return 2;
    }
    if (step.command === "name" || step.command === "cancel") {
      driver.names.push(step.name);
      continue;
    }
    if (step.command === "roll") {
      await driver.roll(step.digit);
      continue;
    }
    let why = "";
    switch (step.command) {
      case "click":
        why = await driver.click(step.form, step.control);
        break;
      case "type":
        why = await driver.type(step.form, step.control, step.text);
        break;
      case "drag":
        why = await driver.drag(step.form, step.image, step.toForm, step.target);
        break;
      case "wait":
        await driver.wait(step.ms);
        break;
      case "state":
        write(await driver.state());
        break;
      case "screen": {
        const text = await driver.screen(step.form);
        if (text === "") why = "no such screen";
        else write(text);
        break;
      }
    }
    if (why !== "") {
      write(lineError(line, why));
      return 2;
    }
  }
  if (!driver.started) await driver.start();
  return 0;
}

// --- Reading the page ---------------------------------------------------
// These run inside the page. Control kinds are read off data-kind as the
// game names them ("button", "label", "image", "textbox").

// Where FORM.CONTROL stands in the DOM and what the player can tell about
// it: `why`, the game's own words when the name cannot be reached, or
// `refusal`, the key of the game's refusal when the page draws no such
// screen; with `aim`, also the page point a click of the player's would
// hit (from the game's click point of the control, in pixels of the
// unscaled screen) and what lies on top there.
function inspect([form, control, aim, scroll = true]) {
  const why = window.vendral.lookUp(form, control);
  if (why) return { why };
  const screen = document.querySelector(`#desk section.screen[data-screen="${CSS.escape(form)}"]`);
  if (!screen) return { refusal: "not-loaded" };
  const client = screen.querySelector(".client");
  const el = client.querySelector(`[data-control="${CSS.escape(control)}"]`);
  const hiddenIn = (node) => {
    for (let n = node; n && n !== screen.parentElement; n = n.parentElement) if (n.hidden) return true;
    return false;
  };
  const kind = el?.dataset.kind ?? null;
  const found = {
    kind,
    screenHidden: hiddenIn(screen),
    hidden: el ? hiddenIn(el) : false,
    disabled: el ? el.hasAttribute("disabled") : false,
    draggable: kind === "image" && el.classList.contains("draggable"),
    // A label or picture that takes no mouse lets a click through to what lies beneath.
    takesClicks: kind === "button" || (el ? el.classList.contains("takes-mouse") : false),
  };
  if (!aim || found.screenHidden || found.hidden) return found;
  const point = window.vendral.clickPoint(form, control);
  if (point.refusal !== undefined) return { ...found, at: { refusal: point.refusal } };
  if (!el) return { ...found, at: { refusal: null } };
  let x;
  let y;
  if (document.documentElement.classList.contains("reading")) {
    // The column: the middle of the control where it lies, brought into view.
    if (scroll) el.scrollIntoView({ block: "center", inline: "nearest" });
    const r = el.getBoundingClientRect();
    x = r.left + r.width / 2;
    y = r.top + r.height / 2;
  } else {
    // The page may draw the screen scaled to fit the window.
    const area = client.getBoundingClientRect();
    const scale = area.width / client.offsetWidth;
    x = area.left + point.x * scale;
    y = area.top + point.y * scale;
  }
  const top = document.elementFromPoint(x, y);
  const holder = top?.closest("[data-control]");
  const what = !top
    ? "nothing"
    : holder
      ? `control ${holder.closest(".screen").dataset.screen}.${holder.dataset.control}`
      : `<${top.tagName.toLowerCase()}${top.id ? "#" + top.id : ""}>`;
  return { ...found, at: { x, y, onTop: !!top && el.contains(top), found: what } };
}

// FORM as the headless player describes it, or "" for a screen the game
// does not know (`unknown`: the game's words for that).
function readScreen([form, unknown]) {
  if (window.vendral.lookUp(form, "") === unknown) return "";
  const screen = document.querySelector(`#desk section.screen[data-screen="${CSS.escape(form)}"]`);
  if (!screen) return `screen ${form} not loaded\n`;
  const quoted = (t) => '"' + t.replaceAll('"', '\\"').replaceAll("\n", "\\n") + '"';
  const title = screen.querySelector(".titlebar");
  let out = `screen ${screen.dataset.screen} visible=${screen.hidden ? "no" : "yes"} caption=${quoted(title ? title.textContent : "")}\n`;
  // In the table's order, whatever order the layout put them in.
  const rows = [...screen.querySelectorAll(".client [data-control]")];
  rows.sort((a, b) => Number(a.dataset.index) - Number(b.dataset.index));
  for (const el of rows) {
    let hidden = false;
    for (let n = el; n && n !== screen; n = n.parentElement) hidden ||= n.hidden;
    if (hidden) continue;
    const kind = el.dataset.kind;
    let caption = "";
    if (kind === "button") caption = el.querySelector(".caption")?.textContent ?? "";
    else if (kind === "label") caption = el.textContent;
    else if (kind === "textbox") caption = el.value;
    out += `  ${el.dataset.control} kind=${kind} caption=${quoted(caption)} enabled=${el.hasAttribute("disabled") ? "no" : "yes"}\n`;
  }
  return out;
}

// Waits for the game to rest; then, if a dialog waits for the player,
// its words and the centres of its buttons.
async function settleAndRead() {
  const rest = await window.vendral.settle();
  if (!rest.dialog) return rest;
  const d = document.getElementById(rest.dialog === "message" ? "msgbox" : "prompt");
  if (!d || !d.open) return { ...rest, box: null };
  const centre = (b) => {
    if (!b) return null;
    const r = b.getBoundingClientRect();
    const x = r.left + r.width / 2;
    const y = r.top + r.height / 2;
    const top = document.elementFromPoint(x, y);
    return { x, y, onTop: !!top && b.contains(top) };
  };
  return {
    ...rest,
    box: {
      title: d.querySelector(".title")?.textContent ?? "",
      text: d.querySelector(".text")?.textContent ?? "",
      ok: centre(d.querySelector("button.ok")),
      cancel: centre(d.querySelector("button.cancel")),
    },
  };
}

// --- The driver ---------------------------------------------------------

// The kinds a click can be aimed at.
const CLICKABLE = new Set(["button", "label", "image"]);

// Plays a script's actions on one page with real input events. Message
// boxes and the name prompt are answered with the mouse, or with `keyboard`
// by the Enter key, as a player holding Enter through them does (a name
// prompt cancelled is still cancelled with the mouse).
export class PageDriver {
  constructor(page, write, { keyboard = false, touch = false } = {}) {
    this.page = page;
    this.write = write;
    this.keyboard = keyboard;
    // Taps and drags with a finger instead of the mouse.
    this.touch = touch;
    this.names = [];
    this.started = false;
    this.ended = false;
    this.refusals = null;
  }

  async eval(fn, arg, what = "the page") {
    return within(SETTLE_MS, what, this.page.evaluate(fn, arg));
  }

  // The game's words for a refusal, by its key, as the page hands them on.
  async refusal(key) {
    this.refusals ??= await this.eval(() => window.vendral.refusals ?? null);
    const text = this.refusals?.[key];
    if (typeof text !== "string") throw new PageFault(`the page gives no refusal text for "${key}"`);
    return text;
  }

  // Why the player cannot act on a control that inspect found, or "": the
  // game's words for a name it cannot reach, then what the page shows.
  async barred(c, { fits, unfit, enabledOnly }) {
    if (c.why) return c.why;
    if (c.refusal) return this.refusal(c.refusal);
    if (!fits) return this.refusal(unfit);
    if (c.screenHidden) return this.refusal("screen-hidden");
    if (c.hidden) return this.refusal("control-hidden");
    if (enabledOnly && c.disabled) return this.refusal("control-disabled");
    return "";
  }

  // Where a click of the player's at a shown control lands, or its refusal
  // as { refusal }.
  async aim(at) {
    if (at.refusal === undefined) return at;
    return { refusal: at.refusal ?? (await this.refusal("covered")) };
  }

  async roll(d) {
    await this.eval((d) => window.vendral.roll(d), d);
  }

  async start() {
    this.started = true;
    await this.eval(() => window.vendral.start());
    await this.settle();
  }

  async state() {
    return this.eval(() => window.vendral.state());
  }

  async screen(form) {
    return this.eval(readScreen, [form, await this.refusal("unknown-screen")]);
  }

  // A real click at a page point: the mouse moves there, goes down and up.
  async clickAt({ x, y }) {
    if (this.touch) await this.page.touchscreen.tap(x, y);
    else await this.page.mouse.click(x, y);
  }

  // The point of the control that a click of the player's would hit, in
  // page coordinates, or why the control has none.
  async controlPoint(form, control) {
    const c = await this.eval(inspect, [form, control, true]);
    const why = await this.barred(c, { fits: true });
    return why ? { refusal: why } : this.aim(c.at);
  }

  async click(form, control) {
    const c = await this.eval(inspect, [form, control, true]);
    const why = await this.barred(c, { fits: CLICKABLE.has(c.kind), unfit: "not-clickable", enabledOnly: true });
    if (why) return why;
    const at = await this.aim(c.at);
    if (at.refusal !== undefined) return at.refusal;
    if (c.takesClicks && !at.onTop)
      throw new PageFault(`click ${form}.${control}: ${at.found} lies on top at its click point (${at.x}, ${at.y})`);
    await this.clickAt(at);
    await this.settle();
    return "";
  }

  // Types into a text box as a player would: focus, select all, and the new
  // text typed over it (or deleted, for empty text).
  async type(form, control, text) {
    const c = await this.eval(inspect, [form, control, false]);
    const why = await this.barred(c, { fits: c.kind === "textbox", unfit: "not-text-box" });
    if (why) return why;
    await this.typeInto(`#desk section.screen[data-screen="${CSS_escape(form)}"] .client [data-control="${CSS_escape(control)}"]`, text);
    await this.settle();
    return "";
  }

  // Focuses the field and selects its text, then types the new text over it
  // (or deletes it, for empty text) with the keyboard.
  async typeInto(selector, text) {
    const focused = await this.eval((sel) => {
      const field = document.querySelector(sel);
      field.focus();
      field.select();
      return document.activeElement === field;
    }, selector);
    if (!focused) throw new PageFault(`${selector} cannot take the focus`);
    if (text === "") await this.page.keyboard.press("Delete");
    else await this.page.keyboard.insertText(text);
  }

  // A real pointer drag: down on the picture's click point, a few moves,
  // and up where a click on the target would land, on whatever lies on top
  // there. A drop on a hidden target does nothing; on one wholly covered,
  // it is refused as a click would be.
  async drag(form, image, toForm, target) {
    const c = await this.eval(inspect, [form, image, true]);
    const why = await this.barred(c, { fits: c.draggable, unfit: "not-draggable" });
    if (why) return why;
    const t = await this.eval(inspect, [toForm, target, true]);
    // The target brought into view may have moved the picture: it is found
    // again where it lies now.
    if (this.touch && !c.why && !c.refusal) Object.assign(c, await this.eval(inspect, [form, image, true, false]));
    if (t.why) return t.why;
    if (t.refusal) return this.refusal(t.refusal);
    if (!t.screenHidden && !t.hidden) {
      const to = await this.aim(t.at);
      if (to.refusal !== undefined) return to.refusal;
      if (t.takesClicks && !to.onTop)
        throw new PageFault(`drag onto ${toForm}.${target}: ${to.found} lies on top at its click point (${to.x}, ${to.y})`);
      const from = await this.aim(c.at);
      if (from.refusal !== undefined) throw new PageFault(`drag ${form}.${image}: ${from.refusal}`);
      if (!from.onTop)
        throw new PageFault(`drag ${form}.${image}: ${from.found} lies on top at its click point (${from.x}, ${from.y})`);
      const steps = 5;
      const along = (i) => ({ x: from.x + ((to.x - from.x) * i) / steps, y: from.y + ((to.y - from.y) * i) / steps });
      if (this.touch) {
        const cdp = await this.page.context().newCDPSession(this.page);
        const touch = (type, points) => cdp.send("Input.dispatchTouchEvent", { type, touchPoints: points });
        await touch("touchStart", [from]);
        for (let i = 1; i <= steps; ++i) await touch("touchMove", [along(i)]);
        // The finger rests before it is lifted: a finger lifted on the move
        // flings, and the browser takes the next tap for the fling's stop.
        await new Promise((r) => setTimeout(r, 120));
        await touch("touchMove", [to]);
        await touch("touchEnd", []);
        await cdp.detach();
      } else {
        const mouse = this.page.mouse;
        await mouse.move(from.x, from.y);
        await mouse.down();
        for (let i = 1; i <= steps; ++i) await mouse.move(along(i).x, along(i).y);
        await mouse.up();
      }
    }
    await this.settle();
    return "";
  }

  async wait(ms) {
    await this.eval((ms) => window.vendral.advance(ms), Number(ms));
    await this.settle();
  }

  // Lets the game run until it rests, reading and answering every dialog
  // it opens meanwhile, as a player would.
  async settle() {
    for (;;) {
      const { dialog, ended, box } = await this.eval(settleAndRead, undefined, "settle()");
      if (dialog === null) {
        if (ended && !this.ended) {
          this.ended = true;
          this.write("end\n");
        }
        return;
      }
      if (dialog !== "message" && dialog !== "prompt")
        throw new PageFault(`settle() gave an unknown dialog ${JSON.stringify(dialog)}`);
      if (!box) throw new PageFault(`settle() says a ${dialog} is open, but its dialog is not`);
      if (dialog === "message") {
        this.write(`message: ${oneLine(box.text)}\n`);
        await this.press(box.ok, "the message box's OK", true);
      } else {
        this.write(`prompt: ${oneLine(box.title)} | ${oneLine(box.text)}\n`);
        const name = this.names.length ? this.names.shift() : null;
        if (name !== null) {
          await this.typeInto("#prompt input.field", name);
          this.write(`answer: ${oneLine(name)}\n`);
          await this.press(box.ok, "the name prompt's OK", true);
        } else {
          this.write("answer: (cancel)\n");
          await this.press(box.cancel, "the name prompt's Cancel");
        }
      }
    }
  }

  // Presses a dialog's button; an OK button, with `keyboard`, by Enter.
  async press(button, what, ok = false) {
    if (!button) throw new PageFault(`${what} button is missing`);
    if (this.keyboard && ok) return this.page.keyboard.press("Enter");
    if (!button.onTop) throw new PageFault(`${what} button is covered at its centre`);
    await this.clickAt(button);
  }
}

// Plays one script text on a fresh page of the served site; resolves to
// {status, transcript, faults}. Faults of the page end the run early. The
// page holds the game until the first action starts it.
// `layout: "reading"` plays it on a phone held upright, in the reading layout.
export async function playOnPage(browser, server, scriptText, seed = "1", { layout = "original" } = {}) {
  const phone = layout === "reading";
  const { page, context, faults } = await openPage(
    browser,
    server,
    `index.html?test&hold&seed=${seed}${phone ? "&layout=reading" : ""}`,
    phone ? { viewport: { width: 360, height: 640 }, hasTouch: true } : {},
  );
  let transcript = "";
  const write = (text) => (transcript += text);
  let status;
  try {
    status = await runScript(readScript(scriptText), new PageDriver(page, write, { touch: phone }), write);
  } catch (e) {
    faults.push(e instanceof PageFault ? e.message : String(e?.stack ?? e));
    status = 1;
  }
  await context.close();
  if (faults.length) status = 1;
  return { status, transcript, faults };
}

async function main(args) {
  const usage = "usage: node tests/web/replay.mjs [--seed N] [--site DIR] [--layout reading] [SCRIPT]\n";
  let seed = "1";
  let layout = "original";
  let site = DEFAULT_SITE;
  let file = null;
  for (let i = 0; i < args.length; ++i) {
    const arg = args[i];
    if (arg === "--seed" && i + 1 < args.length) {
      seed = args[++i];
      if (!/^[0-9]+$/.test(seed) || BigInt(seed) >= 2n ** 64n) {
        process.stderr.write("replay.mjs: --seed takes a whole number\n");
        return 2;
      }
    } else if (arg === "--layout" && i + 1 < args.length) {
      layout = args[++i];
      if (layout !== "reading" && layout !== "original") {
        process.stderr.write("replay.mjs: --layout takes reading or original\n");
        return 2;
      }
    } else if (arg === "--site" && i + 1 < args.length) {
      site = resolve(args[++i]);
    } else if (arg === "--help" || arg === "-h") {
      process.stdout.write(usage);
      return 0;
    } else if (file === null && !arg.startsWith("-")) {
      file = arg;
    } else {
      process.stderr.write(usage);
      return 2;
    }
  }
  let text;
  try {
    text = readFileSync(file ?? 0, "utf8");
  } catch {
    process.stderr.write(`replay.mjs: cannot read ${file ?? "standard input"}\n`);
    return 2;
  }
  const server = await serveSite(site);
  const browser = await launchBrowser();
  try {
    const { status, transcript, faults } = await playOnPage(browser, server, text, seed, { layout });
    process.stdout.write(transcript);
    for (const f of faults) process.stderr.write(`replay.mjs: the page failed: ${f}\n`);
    return status;
  } finally {
    await browser.close();
    await server.close();
  }
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  main(process.argv.slice(2)).then(
    (status) => (process.exitCode = status),
    (e) => {
      process.stderr.write(`replay.mjs: ${e?.stack ?? e}\n`);
      process.exitCode = 1;
    },
  );
}
