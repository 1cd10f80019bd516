// The scripted player through the web page:
//
//   node tests/web/replay.mjs [--seed N] [--site DIR] [SCRIPT]
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
import { readFileSync } from "node:fs";
import { resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { DEFAULT_SITE, launchBrowser, openPage, serveSite, within } from "./browser.mjs";

// How long the page may take to settle after one action before it counts
// as hung.
const SETTLE_MS = 30_000;
// VENDRAL_WEB_TRACE=1 writes each script line to standard error as it is played.
const TRACE = Boolean(process.env.VENDRAL_WEB_TRACE);

export class PageFault extends Error {}

// One script line into its command and the rest, as vendral-replay splits
// them: "#" lines and blank lines are skipped, the command runs up to the
// first space.
export function parseScript(text) {
  const raws = text.split("\n");
  if (raws.length && raws[raws.length - 1] === "") raws.pop();
  const lines = [];
  raws.forEach((raw, i) => {
    if (raw.endsWith("\r")) raw = raw.slice(0, -1);
    const first = raw.search(/[^ \t]/);
    if (first < 0 || raw[first] === "#") return;
    const space = raw.indexOf(" ");
    lines.push({
      number: i + 1,
      command: space < 0 ? raw : raw.slice(0, space),
      rest: space < 0 ? "" : raw.slice(space + 1),
    });
  });
  return lines;
}

// A whole 64-bit number written with digits alone (and a leading minus).
function parseInt64(text) {
  if (!/^-?[0-9]+$/.test(text)) return null;
  const n = BigInt(text);
  if (n < -(2n ** 63n) || n > 2n ** 63n - 1n) return null;
  return n;
}

function splitName(word) {
  const dot = word.indexOf(".");
  if (dot <= 0 || dot + 1 === word.length) return null;
  return [word.slice(0, dot), word.slice(dot + 1)];
}

// A name inside a CSS attribute selector.
const CSS_escape = (name) => name.replace(/["\\]/g, "\\$&");
const oneLine = (text) => text.replaceAll("\n", "\\n");
const quoted = (text) => '"' + text.replaceAll('"', '\\"').replaceAll("\n", "\\n") + '"';

// Plays the parsed script through the page; lines go to `write`. Returns
// the exit status, 0 or 2, or throws PageFault.
// The game starts at the first action (or at the end of a script of none);
// a driver already started, as a test may hand in, is played on.
export async function runScript(lines, driver, write) {
  const fail = (line, why) => {
    write(`error: line ${line.number}: ${line.command}${line.rest === "" ? "" : " " + line.rest}: ${why}\n`);
    return 2;
  };
  for (const line of lines) {
    const { command: cmd, rest } = line;
    if (TRACE) process.stderr.write(`replay.mjs: line ${line.number}: ${cmd} ${rest}\n`);
    if (driver.started && driver.ended) {
      write("error: the game has ended\n");
      return 2;
    }
    if (cmd === "name") {
      driver.names.push(rest);
      continue;
    }
    if (cmd === "cancel") {
      if (rest !== "") return fail(line, "cancel takes nothing after it");
      driver.names.push(null);
      continue;
    }
    if (cmd === "roll") {
      const d = parseInt64(rest);
      if (d === null || d < 0n || d > 9n) return fail(line, "a roll is a whole number 0 to 9");
      await driver.roll(Number(d));
      continue;
    }
    if (!driver.started) {
      await driver.start();
      if (driver.ended) {
        write("error: the game has ended\n");
        return 2;
      }
    }
    let why = "";
    if (cmd === "click") {
      const name = splitName(rest);
      if (!name) return fail(line, "expected FORM.CONTROL");
      why = await driver.click(...name);
    } else if (cmd === "type") {
      const space = rest.indexOf(" ");
      const name = splitName(space < 0 ? rest : rest.slice(0, space));
      if (!name) return fail(line, "expected FORM.CONTROL TEXT");
      why = await driver.type(...name, space < 0 ? "" : rest.slice(space + 1));
    } else if (cmd === "drag") {
      const space = rest.indexOf(" ");
      const from = space < 0 ? null : splitName(rest.slice(0, space));
      const to = space < 0 ? null : splitName(rest.slice(space + 1));
      if (!from || !to) return fail(line, "expected FORM.IMAGE FORM.TARGET");
      why = await driver.drag(...from, ...to);
    } else if (cmd === "wait") {
      const ms = parseInt64(rest);
      if (ms === null || ms < 0n) return fail(line, "expected milliseconds");
      await driver.wait(ms);
    } else if (cmd === "state") {
      write(await driver.state());
    } else if (cmd === "screen") {
      if (rest === "" || rest.includes(" ")) return fail(line, "expected FORM");
      const text = await driver.screen(rest);
      if (text === "") return fail(line, "no such screen");
      write(text);
    } else {
      return fail(line, "unknown command");
    }
    if (why !== "") return fail(line, why);
  }
  if (!driver.started) await driver.start();
  return 0;
}

// --- Reading the page ---------------------------------------------------
// These run inside the page.

// Where FORM.CONTROL stands in the DOM and what the player can tell about
// it, or why the player cannot reach it (worded as the headless player
// words it); with `aim`, also the page point a click of the player's would
// hit (from the game's click point of the control) and what lies on top there.
function inspect([form, control, aim]) {
  const why = window.vendral.lookUp(form, control);
  if (why) return { why };
  const screen = document.querySelector(`#desk section.screen[data-screen="${CSS.escape(form)}"]`);
  if (!screen) return { why: "the screen is not loaded" };
  const client = screen.querySelector(".client");
  const el = client.querySelector(`[data-control="${CSS.escape(control)}"]`);
  const hiddenIn = (node) => {
    for (let n = node; n && n !== screen.parentElement; n = n.parentElement) if (n.hidden) return true;
    return false;
  };
  const found = {
    why: "",
    kind: el?.dataset.kind ?? null,
    screenHidden: hiddenIn(screen),
    hidden: el ? hiddenIn(el) : false,
    disabled: el ? el.hasAttribute("disabled") : false,
    draggable: el ? el.dataset.kind === "Image" && el.classList.contains("draggable") : false,
    // A label or picture that takes no mouse lets a click through to what lies beneath.
    takesClicks: el ? el.dataset.kind === "Button" || el.classList.contains("takes-mouse") : false,
  };
  if (!aim || found.screenHidden || found.hidden) return found;
  const point = window.vendral.clickPoint(form, control);
  if (point.refusal !== undefined || !el) return { ...found, at: { refusal: point.refusal ?? "no point of the control can be clicked" } };
  const area = client.getBoundingClientRect();
  const scale = area.width / client.offsetWidth;
  const x = area.left + point.x * scale;
  const y = area.top + point.y * scale;
  const top = document.elementFromPoint(x, y);
  const holder = top?.closest("[data-control]");
  const what = !top
    ? "nothing"
    : holder
      ? `control ${holder.closest(".screen").dataset.screen}.${holder.dataset.control}`
      : `<${top.tagName.toLowerCase()}${top.id ? "#" + top.id : ""}>`;
  return { ...found, at: { x, y, onTop: !!top && el.contains(top), found: what } };
}

function readScreen(form) {
  if (window.vendral.lookUp(form, "") === "no such screen") return "";
  const screen = document.querySelector(`#desk section.screen[data-screen="${CSS.escape(form)}"]`);
  if (!screen) return `screen ${form} not loaded\n`;
  const quoted = (t) => '"' + t.replaceAll('"', '\\"').replaceAll("\n", "\\n") + '"';
  const title = screen.querySelector(".titlebar");
  let out = `screen ${screen.dataset.screen} visible=${screen.hidden ? "no" : "yes"} caption=${quoted(title ? title.textContent : "")}\n`;
  for (const el of screen.querySelectorAll(".client [data-control]")) {
    let hidden = false;
    for (let n = el; n && n !== screen; n = n.parentElement) hidden ||= n.hidden;
    if (hidden) continue;
    const kind = el.dataset.kind;
    let caption = "";
    if (kind === "Button") caption = el.querySelector(".caption")?.textContent ?? "";
    else if (kind === "Label") caption = el.textContent;
    else if (kind === "TextBox") caption = el.value;
    out += `  ${el.dataset.control} kind=${kind.toLowerCase()} caption=${quoted(caption)} enabled=${el.hasAttribute("disabled") ? "no" : "yes"}\n`;
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

export class PageDriver {
  constructor(page, write) {
    this.page = page;
    this.write = write;
    this.names = [];
    this.started = false;
    this.ended = false;
  }

  async eval(fn, arg, what = "the page") {
    return within(SETTLE_MS, what, this.page.evaluate(fn, arg));
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
    return this.eval(readScreen, form);
  }

  // A real click at a page point: the mouse moves there, goes down and up.
  async clickAt({ x, y }) {
    await this.page.mouse.click(x, y);
  }

  // The point of the control that a click of the player's would hit, in
  // page coordinates, or why the control has none.
  async controlPoint(form, control) {
    return (await this.eval(inspect, [form, control, true])).at ?? { refusal: "no such control" };
  }

  async click(form, control) {
    const c = await this.eval(inspect, [form, control, true]);
    if (c.why) return c.why;
    if (!c.kind || c.kind === "TextBox") return "the control takes no clicks";
    if (c.screenHidden) return "the screen is hidden";
    if (c.hidden) return "the control is hidden";
    if (c.disabled) return "the control is disabled";
    const at = c.at;
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
    if (c.why) return c.why;
    if (c.kind !== "TextBox") return "the control is not a text box";
    if (c.screenHidden) return "the screen is hidden";
    if (c.hidden) return "the control is hidden";
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
    if (c.why) return c.why;
    if (!c.draggable) return "the control is not a draggable image";
    if (c.screenHidden) return "the screen is hidden";
    if (c.hidden) return "the control is hidden";
    const t = await this.eval(inspect, [toForm, target, true]);
    if (t.why) return t.why;
    if (!t.screenHidden && !t.hidden) {
      const to = t.at;
      if (to.refusal !== undefined) return to.refusal;
      if (t.takesClicks && !to.onTop)
        throw new PageFault(`drag onto ${toForm}.${target}: ${to.found} lies on top at its click point (${to.x}, ${to.y})`);
      const from = c.at;
      if (from.refusal !== undefined) throw new PageFault(`drag ${form}.${image}: ${from.refusal}`);
      if (!from.onTop)
        throw new PageFault(`drag ${form}.${image}: ${from.found} lies on top at its click point (${from.x}, ${from.y})`);
      const mouse = this.page.mouse;
      await mouse.move(from.x, from.y);
      await mouse.down();
      const steps = 5;
      for (let i = 1; i <= steps; ++i)
        await mouse.move(from.x + ((to.x - from.x) * i) / steps, from.y + ((to.y - from.y) * i) / steps);
      await mouse.up();
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
        await this.press(box.ok, "the message box's OK");
      } else {
        this.write(`prompt: ${oneLine(box.title)} | ${oneLine(box.text)}\n`);
        const name = this.names.length ? this.names.shift() : null;
        if (name !== null) {
          await this.typeInto("#prompt input.field", name);
          this.write(`answer: ${oneLine(name)}\n`);
          await this.press(box.ok, "the name prompt's OK");
        } else {
          this.write("answer: (cancel)\n");
          await this.press(box.cancel, "the name prompt's Cancel");
        }
      }
    }
  }

  async press(button, what) {
    if (!button) throw new PageFault(`${what} button is missing`);
    if (!button.onTop) throw new PageFault(`${what} button is covered at its centre`);
    await this.clickAt(button);
  }
}

// Plays one script text on a fresh page of the served site; resolves to
// {status, transcript, faults}. Faults of the page end the run early.
export async function playOnPage(browser, server, scriptText, seed = "1") {
  const { page, context, faults } = await openPage(browser, server, `index.html?test&seed=${seed}`);
  let transcript = "";
  const write = (text) => (transcript += text);
  let status;
  try {
    status = await runScript(parseScript(scriptText), new PageDriver(page, write), write);
  } catch (e) {
    faults.push(e instanceof PageFault ? e.message : String(e?.stack ?? e));
    status = 1;
  }
  await context.close();
  if (faults.length) status = 1;
  return { status, transcript, faults };
}

async function main(args) {
  const usage = "usage: node tests/web/replay.mjs [--seed N] [--site DIR] [SCRIPT]\n";
  let seed = "1";
  let site = DEFAULT_SITE;
  let file = null;
  for (let i = 0; i < args.length; ++i) {
    const arg = args[i];
    if (arg === "--seed" && i + 1 < args.length) {
      seed = args[++i];
      if (!/^[0-9]+$/.test(seed)) {
        process.stderr.write("replay.mjs: --seed takes a whole number\n");
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
    const { status, transcript, faults } = await playOnPage(browser, server, text, seed);
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
