// Vendral in the browser: the page side of the game. The game logic runs in
// the WebAssembly module (vendral.wasm); this script, which the build puts
// after the module's own loader in vendral.js, draws each
// screen it reports as a panel of native controls, shows its message boxes
// and name prompt as modal dialogs, runs its timers on the browser's clock,
// and carries the player's clicks, typing and drags back in.
//
// All text the game shows goes in through textContent or a field's value:
// a name like "<b>" is shown as typed and never read as markup.
//
// Opened with ?test (and &seed=N), the page waits for window.vendral.start(),
// its clock stands still until window.vendral.advance(ms), and
// window.vendral.roll(d) queues the next random draw: the scripted player's
// wait and roll, for tests that play a script through the page. With
// ?test&live the clock runs as for a player (for benchmarks of the timers).
(() => {
  "use strict";

  const TWIPS_PER_PIXEL = 15;
  const TITLEBAR = 22; // px, as in style.css
  const BORDER = 1;
  const MARGIN = 8;

  const params = new URLSearchParams(location.search);
  const testMode = params.has("test");
  const seedText = params.get("seed") ?? "1";
  const testSeed = /^\d{1,15}$/.test(seedText) ? Number(seedText) : 1;
  // Run modes of the game: scripted draws and seed (1), a clock that stands still (2).
  const runMode = testMode ? 1 | (params.has("live") ? 0 : 2) : 0;

  const desk = document.getElementById("desk");
  const loading = document.getElementById("loading");
  const endedNotice = document.getElementById("ended");
  const msgbox = document.getElementById("msgbox");
  const prompt = document.getElementById("prompt");

  let core = null; // the module
  const screens = new Map(); // name -> { def, section, titlebar, client, elements }
  let raised = 0;
  let gameOver = false;
  const clockStart = performance.now();

  // --- Calls into the game, one at a time ------------------------------------
  // A handler waiting in a dialog is suspended inside the module: nothing may
  // call in until it has finished. A player's action during that time cannot
  // happen (the dialog is modal) and is dropped; a timer that falls due waits.

  let inFlight = 0;
  let openDialog = null; // "message" | "prompt" | null
  let wakeWaiting = false;
  const settleWaiters = [];

  function busy() {
    return inFlight > 0 || gameOver;
  }

  async function enter(name, args = [], types = args.map(() => "string")) {
    inFlight++;
    try {
      return await core.ccall(name, "number", types, args, { async: true });
    } catch (error) {
      failed(error);
      return -1;
    } finally {
      inFlight--;
      afterCall();
    }
  }

  function afterCall() {
    if (inFlight > 0) return;
    if (wakeWaiting && !gameOver) {
      wakeWaiting = false;
      wake();
    }
    checkSettled();
  }

  function checkSettled() {
    if ((inFlight > 0 || wakeWaiting) && !openDialog) return;
    const state = { dialog: openDialog, ended: gameOver };
    // A test looks at the page next: every panel is there.
    if (settleWaiters.length) buildScreens();
    for (const resolve of settleWaiters.splice(0)) resolve(state);
  }

  function failed(error) {
    console.error("Vendral stopped:", error);
    endGame("Something went wrong and the game had to stop. Sorry!");
  }

  // Text for the module, in memory it frees: long text would not fit the stack.
  function heapText(text) {
    const size = core.lengthBytesUTF8(text) + 1;
    const memory = core._malloc(size);
    if (memory) core.stringToUTF8(text, memory, size);
    return memory;
  }

  function click(screen, control) {
    if (busy()) return;
    enter("vendral_press", [screen, control]);
  }

  // --- Dialogs -----------------------------------------------------------------

  let focusBefore = null;

  function showDialog(dialog, kind, focus) {
    focusBefore = document.activeElement;
    openDialog = kind;
    dialog.showModal();
    focus.focus();
    checkSettled();
  }

  function closeDialog(dialog) {
    dialog.close();
    openDialog = null;
    // Back to the button that was pressed, unless the story hid or greyed it:
    // then the screen holds the focus, so Enter never presses a choice the
    // player did not pick.
    const before = focusBefore;
    focusBefore = null;
    if (before && before.isConnected && canHoldFocus(before)) before.focus({ preventScroll: true });
    else parkFocus(before);
  }

  function canHoldFocus(element) {
    if (element.closest("[hidden]") || element.hasAttribute("disabled")) return false;
    return element.tabIndex >= 0 || element === document.body;
  }

  function parkFocus(near) {
    const section = near && near.closest ? near.closest(".screen") : null;
    if (section && !section.hidden) section.focus({ preventScroll: true });
    else {
      const top = topScreen();
      if (top) top.section.focus({ preventScroll: true });
    }
  }

  function messageBox(text) {
    return new Promise((resolve) => {
      msgbox.querySelector(".text").textContent = text;
      const ok = msgbox.querySelector(".ok");
      const done = () => {
        ok.removeEventListener("click", done);
        msgbox.removeEventListener("cancel", cancel);
        closeDialog(msgbox);
        resolve();
      };
      // Escape closes the box as OK does: it has no other answer.
      const cancel = (event) => {
        event.preventDefault();
        done();
      };
      ok.addEventListener("click", done);
      msgbox.addEventListener("cancel", cancel);
      showDialog(msgbox, "message", ok);
    });
  }

  function namePrompt(title, text) {
    return new Promise((resolve) => {
      prompt.querySelector(".title").textContent = title;
      prompt.querySelector(".text").textContent = text;
      const field = prompt.querySelector(".field");
      const ok = prompt.querySelector(".ok");
      const cancelButton = prompt.querySelector(".cancel");
      field.value = "";
      const finish = (answer) => {
        ok.removeEventListener("click", accept);
        cancelButton.removeEventListener("click", reject);
        field.removeEventListener("keydown", key);
        prompt.removeEventListener("cancel", escape);
        closeDialog(prompt);
        resolve(answer);
      };
      const accept = () => finish(field.value);
      const reject = () => finish(null);
      const key = (event) => {
        if (event.key === "Enter" && !event.isComposing) {
          event.preventDefault();
          accept();
        }
      };
      const escape = (event) => {
        event.preventDefault();
        reject();
      };
      ok.addEventListener("click", accept);
      cancelButton.addEventListener("click", reject);
      field.addEventListener("keydown", key);
      prompt.addEventListener("cancel", escape);
      showDialog(prompt, "prompt", field);
    });
  }

  // --- Screens -------------------------------------------------------------------

  // Twips to whole pixels, rounded as every binding of the game rounds them,
  // so the page's controls cover exactly the pixels the game reckons with.
  const px = (twips) => Math.trunc((twips + 7) / TWIPS_PER_PIXEL);

  // A screen loads hidden, and its panel is built a moment later: the title
  // screen loads behind the name prompt, which shows first, and its panel is
  // built while the player types. Anything that needs the panel sooner (the
  // screen shown, a test's look) builds it then; until then the table keeps
  // the latest state of every control, changes and moves included.
  const unbuilt = [];
  let loads = 0;

  function screenLoaded(def) {
    screens.set(def.name, { def, section: null, elements: [], loadIndex: loads++ });
    unbuilt.push(def.name);
    if (unbuilt.length === 1) requestAnimationFrame(() => setTimeout(buildScreens, 0));
  }

  function buildScreens() {
    for (const name of unbuilt.splice(0)) if (!gameOver) built(screens.get(name));
  }

  function built(entry) {
    if (entry.section) return entry;
    const def = entry.def;
    const section = document.createElement("section");
    section.className = "screen";
    section.dataset.screen = def.name;
    section.tabIndex = -1;
    section.hidden = true;
    const titlebar = document.createElement("div");
    titlebar.className = "titlebar";
    titlebar.setAttribute("aria-hidden", "true");
    const client = document.createElement("div");
    client.className = "client";
    client.style.width = `${px(def.width)}px`;
    client.style.height = `${px(def.height)}px`;
    if (def.background) client.style.background = def.background;
    section.append(titlebar, client);
    Object.assign(entry, { section, titlebar, client });

    const area = { width: px(def.width), height: px(def.height) };
    def.controls.forEach((control, index) => {
      const element = makeControl(def.name, control, index);
      entry.elements.push(element);
      if (!element) return;
      element.box = { width: px(control.width), height: px(control.height), area };
      client.append(element);
    });
    setCaption(entry, def.caption);
    // Panels lie in the page in the order their screens loaded (the Tab order between them).
    let next = null;
    for (const other of screens.values())
      if (other.section && other !== entry && other.loadIndex > entry.loadIndex && (!next || other.loadIndex < next.loadIndex))
        next = other;
    desk.insertBefore(section, next ? next.section : null);
    def.controls.forEach((control, index) => {
      if (entry.elements[index]) applyControl(entry, index, control);
    });
    layout();
    return entry;
  }

  // The game's names of its control kinds, as the page writes them in data-kind.
  const KINDS = { button: "Button", label: "Label", image: "Image", textbox: "TextBox" };

  function makeControl(screen, control, index) {
    control.kind = KINDS[control.kind] ?? "Timer";
    // Buttons and the text box lie above labels and pictures, whatever the
    // table order; among themselves, later rows lie above earlier ones.
    const raisedKind = control.kind === "Button" || control.kind === "TextBox";
    let element;
    switch (control.kind) {
      case "Button": {
        element = document.createElement("button");
        element.type = "button";
        if (control.picture) element.classList.add("graphical");
        const picture = document.createElement("img");
        picture.alt = "";
        picture.draggable = false;
        const caption = document.createElement("span");
        caption.className = "caption";
        element.append(picture, caption);
        if (control.background) {
          element.style.background = control.background;
          element.classList.add("coloured");
        }
        element.addEventListener("click", () => click(screen, control.name));
        break;
      }
      case "Label": {
        element = document.createElement("div");
        element.className = "label";
        if (control.click || control.drop) element.classList.add("takes-mouse");
        if (control.click) element.addEventListener("click", () => click(screen, control.name));
        break;
      }
      case "Image": {
        element = document.createElement("div");
        element.className = "image";
        if (control.stretch) element.classList.add("stretch");
        const picture = document.createElement("img");
        picture.alt = "";
        picture.draggable = false;
        element.append(picture);
        if (control.click) {
          // A picture that does something is a button to the keyboard and a screen reader.
          element.classList.add("takes-mouse");
          element.setAttribute("role", "button");
          element.tabIndex = 0;
          element.addEventListener("click", () => click(screen, control.name));
          element.addEventListener("keydown", (event) => {
            if (event.key === "Enter" || event.key === " ") {
              event.preventDefault();
              if (!element.hasAttribute("disabled")) click(screen, control.name);
            }
          });
        } else {
          element.setAttribute("role", "img");
        }
        if (control.draggable) {
          element.classList.add("takes-mouse", "draggable");
          element.addEventListener("pointerdown", (event) => startDrag(event, screen, control.name, element));
        }
        break;
      }
      case "TextBox": {
        element = document.createElement("input");
        element.type = "text";
        element.autocomplete = "off";
        element.spellcheck = false;
        element.setAttribute("aria-label", control.name);
        element.addEventListener("input", () => {
          if (busy()) return;
          enter("vendral_type", [screen, control.name, heapText(element.value)], ["string", "string", "number"]);
        });
        break;
      }
      default:
        return null;
    }
    element.dataset.control = control.name;
    element.dataset.kind = control.kind;
    element.style.zIndex = String((raisedKind ? 1000 : 0) + index);
    element.style.width = `${px(control.width)}px`;
    element.style.height = `${px(control.height)}px`;
    element.dataset.size = control.points > 0 ? `${control.points}pt` : "";
    element.style.fontSize = element.dataset.size;
    if (control.bold) element.style.fontWeight = "bold";
    element.title = "";
    return element;
  }

  function setCaption(entry, caption) {
    entry.titlebar.textContent = caption;
    entry.section.setAttribute("aria-label", caption);
  }

  function applyControl(entry, index, state) {
    const element = entry.elements[index];
    if (!element) return;
    const kind = element.dataset.kind;
    // A focused control that hides or greys itself hands the focus to its
    // screen, not to the next choice.
    const losingFocus = (!state.visible || !state.enabled) && document.activeElement === element;
    // Only what changed is written: a moving label changes its place alone,
    // and every write can cost the browser a new style and layout.
    const last = element.lastState ?? {};
    element.lastState = state;
    if (state.left !== last.left || state.top !== last.top) place(element, state.left, state.top);
    // Shown before a new caption is fitted: a hidden label has no size to fit.
    if (state.visible !== last.visible) element.hidden = !state.visible;
    switch (kind) {
      case "Button": {
        const caption = element.querySelector(".caption");
        if (caption.textContent !== state.caption) caption.textContent = state.caption;
        setPicture(element.querySelector("img"), state.picture);
        element.classList.toggle("graphical", Boolean(state.picture));
        break;
      }
      case "Label":
        if (element.textContent !== state.caption) {
          element.textContent = state.caption;
          element.dataset.fit = "";
          if (!entry.section.hidden && state.visible) fitLabel(element);
        }
        break;
      case "Image":
        setPicture(element.querySelector("img"), state.picture);
        if (state.picture !== last.picture) element.setAttribute("aria-label", state.words || state.picture || "");
        break;
      case "TextBox":
        if (element.value !== state.caption) element.value = state.caption;
        break;
    }
    if (state.enabled !== last.enabled) {
      if (kind === "Button" || kind === "TextBox") element.disabled = !state.enabled;
      else {
        element.toggleAttribute("disabled", !state.enabled);
        if (state.enabled) element.removeAttribute("aria-disabled");
        else element.setAttribute("aria-disabled", "true");
      }
    }
    if (losingFocus) parkFocus(element);
  }

  function setPicture(img, picture) {
    const src = picture ? `art/${picture}.svg` : "";
    if (img.dataset.picture === picture) return;
    img.dataset.picture = picture;
    if (src) {
      img.src = src;
      img.hidden = false;
    } else {
      img.removeAttribute("src");
      img.hidden = true;
    }
  }

  // A label whose text runs past its box is set a little smaller, down to 8
  // pixels, so none of it is lost (the screens were laid out for another face).
  // Each look at the overflow costs the browser a layout: a new text as long
  // as the last fitted one (a clock's next second) keeps that size while it
  // fits, and the label's own size is read once.
  function fitLabel(element) {
    if (element.dataset.fit === "done") return;
    element.dataset.fit = "done";
    const overflows = () =>
      element.scrollHeight > element.clientHeight + 1 || element.scrollWidth > element.clientWidth + 1;
    const length = element.textContent.length;
    if (element.fitted?.length === length && !overflows()) return;
    element.style.fontSize = element.dataset.size;
    element.designed ??= parseFloat(getComputedStyle(element).fontSize);
    let size = element.designed;
    while (size > 8 && overflows()) {
      size -= 0.5;
      element.style.fontSize = `${size}px`;
    }
    element.fitted = { length };
  }

  function fitLabels(entry) {
    for (const element of entry.elements)
      if (element && element.dataset.kind === "Label" && !element.hidden && element.dataset.fit !== "done") fitLabel(element);
  }

  function screenChanged(name, visible, caption) {
    let entry = screens.get(name);
    if (!entry) return;
    if (!entry.section && !visible) {
      entry.def.caption = caption;
      return;
    }
    entry = built(entry);
    setCaption(entry, caption);
    if (visible === !entry.section.hidden) return;
    entry.section.hidden = !visible;
    if (visible) {
      // The screen shown last lies on top.
      entry.section.style.zIndex = String(++raised);
      entry.order = raised;
      fitLabels(entry);
      layout();
      if (!openDialog && !entry.section.contains(document.activeElement)) entry.section.focus({ preventScroll: true });
    } else if (entry.section.contains(document.activeElement)) {
      parkFocus(null);
    }
    const top = topScreen();
    document.title = top ? `${top.titlebar.textContent} – Vendral` : "Vendral";
  }

  function controlChanged(name, index, state) {
    const entry = screens.get(name);
    if (!entry) return;
    if (entry.section) applyControl(entry, index, state);
    else Object.assign(entry.def.controls[index], state);
  }

  // Where a control lies: its left and top, or, once it moves on its own,
  // a translation from where it lay then. A control that stays wholly
  // outside its screen cannot be seen, and is not moved there: the credits
  // lines rise on long after they have left the top.
  function place(element, left, top) {
    const at = { x: px(left), y: px(top) };
    const drawn = element.drawnAt;
    if (drawn && ((drawn.x === at.x && drawn.y === at.y) || (outside(element, drawn) && outside(element, at)))) return;
    element.drawnAt = at;
    if (!element.classList.contains("moving")) {
      element.style.left = `${at.x}px`;
      element.style.top = `${at.y}px`;
      element.placedAt = at;
      return;
    }
    const from = element.placedAt;
    element.style.transform = `translate(${at.x - from.x}px, ${at.y - from.y}px)`;
  }

  function outside(element, at) {
    const { width, height, area } = element.box;
    return at.x >= area.width || at.y >= area.height || at.x + width <= 0 || at.y + height <= 0;
  }

  // The rising credits move six lines hundreds of times a second: a move
  // comes with the screen's name as the module's pointer to it, read once.
  const namesAt = new Map();
  function controlMoved(nameAt, index, left, top) {
    let name = namesAt.get(nameAt);
    if (name === undefined) namesAt.set(nameAt, (name = core.UTF8ToString(nameAt)));
    const entry = screens.get(name);
    if (!entry) return;
    if (!entry.section) {
      Object.assign(entry.def.controls[index], { left, top });
      return;
    }
    const element = entry.elements[index];
    if (!element) return;
    const last = element.lastState;
    if (left === last.left && top === last.top) return;
    // A control that moves on its own (a credits line) gets a layer of its
    // own and moves by a transform: no layout, no painting, only the
    // compositor's work.
    if (!element.classList.contains("moving")) element.classList.add("moving");
    place(element, left, top);
    last.left = left;
    last.top = top;
  }

  function topScreen() {
    let top = null;
    for (const entry of screens.values())
      if (entry.section && !entry.section.hidden && (!top || entry.order > top.order)) top = entry;
    return top;
  }

  // Every screen is scaled by one factor, the largest at which the biggest
  // screen loaded so far fits the window, and centred in it.
  function layout() {
    let width = 0;
    let height = 0;
    for (const { def } of screens.values()) {
      width = Math.max(width, px(def.width) + 2 * BORDER);
      height = Math.max(height, px(def.height) + TITLEBAR + 2 * BORDER);
    }
    if (!width) return;
    const room = desk.getBoundingClientRect();
    const scale = Math.max(0.1, Math.min((room.width - 2 * MARGIN) / width, (room.height - 2 * MARGIN) / height, 3));
    for (const { def, section } of screens.values()) {
      if (!section) continue;
      const w = (px(def.width) + 2 * BORDER) * scale;
      const h = (px(def.height) + TITLEBAR + 2 * BORDER) * scale;
      const x = Math.round((room.width - w) / 2);
      const y = Math.round((room.height - h) / 2);
      section.style.transform = `translate(${x}px, ${y}px) scale(${scale})`;
    }
  }

  // --- Dragging the disc: a pointer drag, by mouse, pen or finger --------------

  function startDrag(event, screen, image, element) {
    if (busy() || element.hidden || (event.pointerType === "mouse" && event.button !== 0)) return;
    event.preventDefault();
    const ghost = document.createElement("img");
    ghost.className = "drag-ghost";
    ghost.alt = "";
    ghost.src = element.querySelector("img").src;
    const follow = (e) => {
      ghost.style.transform = `translate(${e.clientX - 16}px, ${e.clientY - 16}px)`;
    };
    follow(event);
    document.body.append(ghost);
    try {
      element.setPointerCapture(event.pointerId);
    } catch {
      // A pointer that is already gone ends the drag at once below.
    }
    const finish = (e, dropped) => {
      element.removeEventListener("pointermove", follow);
      element.removeEventListener("pointerup", up);
      element.removeEventListener("pointercancel", cancel);
      element.removeEventListener("lostpointercapture", cancel);
      ghost.remove();
      if (!dropped || busy()) return;
      // Dropped on whatever lies under the pointer; only a label that takes
      // drops does anything with it.
      const under = document.elementFromPoint(e.clientX, e.clientY);
      const target = under && under.closest("[data-control]");
      const section = target && target.closest(".screen");
      if (!target || !section || section.hidden) return;
      enter("vendral_drag", [screen, image, section.dataset.screen, target.dataset.control]);
    };
    const up = (e) => finish(e, true);
    const cancel = (e) => finish(e, false);
    element.addEventListener("pointermove", follow);
    element.addEventListener("pointerup", up);
    element.addEventListener("pointercancel", cancel);
    // A message box that opens meanwhile (a timer's) takes the pointer away.
    element.addEventListener("lostpointercapture", cancel);
  }

  // --- Time ----------------------------------------------------------------------

  let wakeTimer = 0;
  let lastWake = -Infinity;

  const now = () => Math.floor(performance.now() - clockStart);
  // The wall clock's milliseconds at the game clock's zero, taken once so
  // that clocks started at different moments keep one phase.
  let wallAtStart = null;
  const wallOffset = () => (wallAtStart ??= Date.now() - now());

  // The game asks to be woken when its next tick that would change something
  // falls due. Ticks due within 15 ms of the last wake-up are gathered into
  // one, and run in time order on the game's clock: the rising credits move
  // as far, without waking the page every few milliseconds.
  function timersChanged(due) {
    if (wakeTimer) clearTimeout(wakeTimer);
    wakeTimer = 0;
    if (due < 0 || gameOver) return;
    const t = now();
    let at = due;
    if (at > t) at = Math.max(at, lastWake + 15);
    wakeTimer = setTimeout(onWakeTimer, Math.max(0, at - t));
  }

  function onWakeTimer() {
    wakeTimer = 0;
    if (inFlight > 0) {
      wakeWaiting = true; // after the open dialog closes
      return;
    }
    wake();
  }

  function wake() {
    if (gameOver) return;
    lastWake = now();
    enter("vendral_wake");
  }

  // The browser's own formats of its locale, each made once, when first
  // needed: making one costs far more than a clock's tick.
  let dateFormat = null;
  let timeFormat = null;

  function clockText(date) {
    if (date) {
      dateFormat ??= new Intl.DateTimeFormat(undefined, { dateStyle: "short" });
      return dateFormat.format(new Date());
    }
    timeFormat ??= new Intl.DateTimeFormat(undefined, { hour: "numeric", minute: "2-digit", second: "2-digit" });
    return timeFormat.format(new Date());
  }

  function freshSeed() {
    const words = new Uint32Array(2);
    crypto.getRandomValues(words);
    return (words[0] & 0x1fffff) * 0x100000000 + words[1];
  }

  // --- The end -----------------------------------------------------------------

  function endGame(text) {
    if (gameOver) return;
    gameOver = true;
    if (wakeTimer) clearTimeout(wakeTimer);
    wakeTimer = 0;
    for (const dialog of [msgbox, prompt]) if (dialog.open) dialog.close();
    for (const { section } of screens.values()) if (section) section.hidden = true;
    loading.hidden = true;
    if (text) endedNotice.querySelector(".text").textContent = text;
    endedNotice.hidden = false;
    endedNotice.querySelector("button").focus();
    document.title = "Vendral";
    checkSettled();
  }

  const again = endedNotice.querySelector("button");
  again.addEventListener("click", () => location.reload());
  // Enter still held from the last message box does not start a new game.
  again.addEventListener("keydown", (event) => {
    if (event.repeat) event.preventDefault();
  });
  window.addEventListener("resize", layout);

  // --- Start ---------------------------------------------------------------------

  const rolls = [];
  const page = {
    messageBox,
    prompt: namePrompt,
    now,
    wallOffset,
    clockText,
    freshSeed,
    scriptedRoll: () => (rolls.length ? rolls.shift() : -1),
    endProgram: () => endGame(null),
    screenLoaded,
    screenChanged,
    controlChanged,
    controlMoved,
    timersChanged,
  };

  function start() {
    if (inFlight > 0 || screens.size > 0 || gameOver) return;
    loading.hidden = true;
    enter("vendral_start", [runMode, testSeed], ["number", "number"]);
  }

  function testInterface() {
    // These look at the game without running any of it; while a handler
    // waits in a dialog the module must not be entered at all.
    const text = (name, args) => {
      if (inFlight > 0) throw new Error("a message box is open");
      return core.ccall(name, "string", args.map(() => "string"), args);
    };
    return Object.freeze({
      start,
      settle: () =>
        new Promise((resolve) => {
          settleWaiters.push(resolve);
          checkSettled();
        }),
      roll: (d) => {
        rolls.push(Number(d));
      },
      advance: (ms) => {
        if (busy()) return;
        enter("vendral_advance", [Number(ms)], ["number"]);
      },
      state: () => text("vendral_state", []),
      // Where the game has put a control, in twips, drawn there or not.
      placeOf: (form, control) => {
        buildScreens();
        const entry = screens.get(String(form));
        const index = entry?.def.controls.findIndex((c) => c.name === control) ?? -1;
        const last = index >= 0 ? entry.elements[index]?.lastState : null;
        return last ? { left: last.left, top: last.top } : null;
      },
      lookUp: (form, control) => text("vendral_look_up", [String(form), String(control)]),
      clickPoint: (form, control) => {
        const answer = text("vendral_click_point", [String(form), String(control)]);
        if (answer.startsWith("!")) return { refusal: answer.slice(1) };
        // The middle of the pixel the game names.
        const [x, y] = answer.split(" ").map(Number);
        return { x: px(x) + 0.5, y: px(y) + 0.5 };
      },
    });
  }

  let signalReady;
  if (testMode) window.vendralReady = new Promise((resolve) => (signalReady = resolve));

  if (typeof createVendral !== "function") {
    loading.textContent = "Vendral could not be loaded.";
    return;
  }
  createVendral({ page })
    .then((module) => {
      core = module;
      if (testMode) {
        loading.hidden = true;
        window.vendral = testInterface();
        signalReady();
      } else {
        start();
      }
    })
    .catch((error) => {
      console.error(error);
      loading.textContent = "Vendral could not start in this browser.";
    });
})();
