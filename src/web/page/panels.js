// Each screen the game loads as a panel of native controls: built from the
// screen's table, then kept in the state the game reports for every control.
import { busy, enter, ended, heapText, module, openDialog, press } from "./calls.js";
import { parkFocus } from "./dialogs.js";
import { carryByKeyboard, startDrag } from "./drag.js";
import { fitLabel, fitLabels, layout } from "./layout.js";
import { columnChanged } from "./reading.js";
import { addScreen, allScreens, raise, screenNamed, topScreen } from "./screens.js";
import { focusParked } from "./spoken.js";

const desk = document.getElementById("desk");

// A screen loads hidden, and its panel is built a moment later: the title
// screen loads behind the name prompt, which shows first, and its panel is
// built while the player types. Anything that needs the panel sooner (the
// screen shown, a test's look) builds it then; until then the records keep
// the latest state of every control, changes and moves included.
const unbuilt = [];

// Once the game is over nothing the module still reports is drawn: the
// panels stay put away behind the end's notice.
export function screenLoaded(def) {
  if (ended()) return;
  addScreen(def);
  // The biggest screen so far decides whether the window is narrow.
  layout();
  unbuilt.push(def.name);
  if (unbuilt.length === 1) requestAnimationFrame(() => setTimeout(buildScreens, 0));
}

export function buildScreens() {
  for (const name of unbuilt.splice(0)) if (!ended()) built(screenNamed(name));
}

function built(screen) {
  if (screen.section) return screen;
  const section = document.createElement("section");
  section.className = "screen";
  section.dataset.screen = screen.name;
  section.tabIndex = -1;
  section.hidden = true;
  const titlebar = document.createElement("div");
  titlebar.className = "titlebar";
  titlebar.setAttribute("aria-hidden", "true");
  const client = document.createElement("div");
  client.className = "client";
  client.style.width = `${screen.width}px`;
  client.style.height = `${screen.height}px`;
  if (screen.def.background) client.style.background = screen.def.background;
  section.append(titlebar, client);
  Object.assign(screen, { section, titlebar, client });

  for (const control of screen.controls) {
    control.element = makeControl(control);
    if (control.element) client.append(control.element);
  }
  setCaption(screen, screen.caption);
  // Panels lie in the page in the order their screens loaded (the Tab order between them).
  let next = null;
  for (const other of allScreens())
    if (other.section && other !== screen && other.loadIndex > screen.loadIndex && (!next || other.loadIndex < next.loadIndex))
      next = other;
  desk.insertBefore(section, next ? next.section : null);
  for (const control of screen.controls) if (control.element) applyControl(control, control.state);
  layout();
  return screen;
}

function makeControl(control) {
  const { row, kind, index } = control;
  const screen = control.screen.name;
  const click = () => press(screen, row.name);
  // Buttons and the text box lie above labels and pictures, whatever the
  // table order; among themselves, later rows lie above earlier ones.
  const raisedKind = kind === "button" || kind === "textbox";
  let element;
  switch (kind) {
    case "button": {
      element = document.createElement("button");
      element.type = "button";
      if (row.picture) element.classList.add("graphical");
      const picture = document.createElement("img");
      picture.alt = "";
      picture.draggable = false;
      const caption = document.createElement("span");
      caption.className = "caption";
      element.append(picture, caption);
      if (row.background) {
        element.style.background = row.background;
        element.classList.add("coloured");
      }
      element.addEventListener("click", click);
      break;
    }
    case "label": {
      element = document.createElement("div");
      element.className = "label";
      if (row.click || row.drop) element.classList.add("takes-mouse");
      if (row.click) element.addEventListener("click", click);
      break;
    }
    case "image": {
      element = document.createElement("div");
      element.className = "image";
      if (row.stretch) element.classList.add("stretch");
      const picture = document.createElement("img");
      picture.alt = "";
      picture.draggable = false;
      element.append(picture);
      if (row.click) {
        // A picture that does something is a button to the keyboard and a screen reader.
        element.classList.add("takes-mouse");
        element.setAttribute("role", "button");
        element.tabIndex = 0;
        element.addEventListener("click", click);
        element.addEventListener("keydown", (event) => {
          if (event.key === "Enter" || event.key === " ") {
            event.preventDefault();
            if (!element.hasAttribute("disabled")) click();
          }
        });
      } else {
        element.setAttribute("role", "img");
      }
      if (row.draggable) {
        element.classList.add("takes-mouse", "draggable");
        element.addEventListener("pointerdown", (event) => startDrag(event, screen, row.name, element));
        carryByKeyboard(element, screen, row.name);
      }
      break;
    }
    case "textbox": {
      element = document.createElement("input");
      element.type = "text";
      element.autocomplete = "off";
      element.spellcheck = false;
      // Named as a player knows it: the game asks for the code "in the
      // textbox provided".
      element.setAttribute("aria-label", "Code");
      element.addEventListener("input", () => {
        if (busy()) return;
        enter("vendral_type", [screen, row.name, heapText(element.value)], ["string", "string", "number"]);
      });
      break;
    }
    default:
      return null;
  }
  element.dataset.control = row.name;
  element.dataset.kind = kind;
  // Its row in the table: the reading layout reorders the elements.
  element.dataset.index = String(index);
  // The size it was designed at, and its box's shape, for the reading layout.
  if (control.size) element.style.setProperty("--size", control.size);
  if (row.width > 0 && row.height > 0) element.style.setProperty("--aspect", `${row.width} / ${row.height}`);
  element.style.zIndex = String((raisedKind ? 1000 : 0) + index);
  element.style.width = `${control.box.width}px`;
  element.style.height = `${control.box.height}px`;
  element.style.fontSize = control.size;
  if (row.bold) element.style.fontWeight = "bold";
  element.title = "";
  return element;
}

function setCaption(screen, caption) {
  screen.caption = caption;
  screen.titlebar.textContent = caption;
  screen.section.setAttribute("aria-label", caption);
}

function applyControl(control, state) {
  const { element, kind } = control;
  // A focused control that hides or greys itself hands the focus to its
  // screen, not to the next choice.
  const losingFocus = (!state.visible || !state.enabled) && document.activeElement === element;
  // Only what changed is written: a moving label changes its place alone,
  // and every write can cost the browser a new style and layout.
  const last = control.drawn ?? {};
  control.drawn = { ...state };
  if (state.left !== last.left || state.top !== last.top) place(control, state.left, state.top);
  // Shown before a new caption is fitted: a hidden label has no size to fit.
  if (state.visible !== last.visible) element.hidden = !state.visible;
  switch (kind) {
    case "button": {
      const caption = element.querySelector(".caption");
      if (caption.textContent !== state.caption) caption.textContent = state.caption;
      setPicture(element.querySelector("img"), state.picture);
      element.classList.toggle("graphical", Boolean(state.picture));
      break;
    }
    case "label":
      if (element.textContent !== state.caption) {
        element.textContent = state.caption;
        control.fitDone = false;
      }
      // Fitted once it can be seen: a text given while the label was hidden
      // is fitted when the label is shown.
      if (!control.fitDone && state.visible && !control.screen.section.hidden) fitLabel(control);
      break;
    case "image":
      setPicture(element.querySelector("img"), state.picture);
      // Named by what it shows; a picture without words is not named by its file.
      if (state.picture !== last.picture) element.setAttribute("aria-label", state.words || "");
      break;
    case "textbox":
      if (element.value !== state.caption) element.value = state.caption;
      break;
  }
  if (state.enabled !== last.enabled) {
    if (kind === "button" || kind === "textbox") element.disabled = !state.enabled;
    else {
      element.toggleAttribute("disabled", !state.enabled);
      if (state.enabled) element.removeAttribute("aria-disabled");
      else element.setAttribute("aria-disabled", "true");
    }
  }
  if (losingFocus) parkFocus(element);
  columnChanged(control.screen);
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

export function screenChanged(name, visible, caption) {
  let screen = screenNamed(name);
  if (!screen || ended()) return;
  if (!screen.section && !visible) {
    screen.caption = caption;
    return;
  }
  screen = built(screen);
  setCaption(screen, caption);
  if (visible === !screen.section.hidden) return;
  screen.section.hidden = !visible;
  if (visible) {
    // The screen shown last lies on top.
    screen.section.style.zIndex = String(raise(screen));
    fitLabels(screen);
    layout();
    if (!openDialog() && !screen.section.contains(document.activeElement)) {
      screen.section.focus({ preventScroll: true });
      focusParked(screen.section);
    }
  } else if (screen.section.contains(document.activeElement)) {
    parkFocus(null);
  }
  const top = topScreen();
  document.title = top ? `${top.titlebar.textContent} – Vendral` : "Vendral";
}

export function controlChanged(name, index, state) {
  const control = screenNamed(name)?.controls[index];
  if (!control || ended()) return;
  control.state = state;
  if (control.element) applyControl(control, state);
}

// Where a control lies: its left and top, or, once it moves on its own,
// a translation from where it lay then. A control that stays wholly
// outside its screen cannot be seen, and is not moved there: the credits
// lines rise on long after they have left the top.
function place(control, left, top) {
  const { element } = control;
  const at = { x: left, y: top };
  const drawn = control.drawnAt;
  if (drawn && ((drawn.x === at.x && drawn.y === at.y) || (outside(control, drawn) && outside(control, at)))) return;
  control.drawnAt = at;
  if (!control.moving) {
    element.style.left = `${at.x}px`;
    element.style.top = `${at.y}px`;
    control.placedAt = at;
    return;
  }
  const from = control.placedAt;
  element.style.transform = `translate(${at.x - from.x}px, ${at.y - from.y}px)`;
}

function outside(control, at) {
  const { width, height } = control.box;
  const { width: areaWidth, height: areaHeight } = control.screen;
  return at.x >= areaWidth || at.y >= areaHeight || at.x + width <= 0 || at.y + height <= 0;
}

// The rising credits move six lines hundreds of times a second: a move
// comes with the screen's name as the module's pointer to it, read once.
const namesAt = new Map();
export function controlMoved(nameAt, index, left, top) {
  let name = namesAt.get(nameAt);
  if (name === undefined) namesAt.set(nameAt, (name = module().UTF8ToString(nameAt)));
  const control = screenNamed(name)?.controls[index];
  if (!control || ended()) return;
  const state = control.state;
  if (left === state.left && top === state.top) return;
  state.left = left;
  state.top = top;
  if (!control.element) return;
  // A control that moves on its own (a credits line) gets a layer of its
  // own and moves by a transform: no layout, no painting, only the
  // compositor's work.
  if (!control.moving) {
    control.moving = true;
    control.element.classList.add("moving");
  }
  place(control, left, top);
  control.drawn.left = left;
  control.drawn.top = top;
  columnChanged(control.screen);
}

// The game is over: every panel is put away.
export function hidePanels() {
  for (const { section } of allScreens()) if (section) section.hidden = true;
}
