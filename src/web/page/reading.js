// The reading layout: on a window too small for the screens' own size, each
// screen on show is drawn as a column the width of the window instead of a
// scaled-down panel. The same elements the panel is made of are put in
// another order and styled by style.css under html.reading:
//
//  - the screens on show, topmost first (the one shown last lies on top);
//  - on each, its status labels (the class, life, magic, money, the enemy's
//    life, as the module marks them) and any picture that can be dragged
//    (the disc) in one block that stays at the top of the column while it
//    scrolls, so the disc can be dragged onto any label of the screen;
//  - then the other controls in reading order: top to bottom, then left to
//    right, by where the game has put them now (table order between two at
//    one place), as spoken play reads them.
//
// A control the player could not reach in the panel is left out of the
// column: a label wholly outside its screen or without words, a picture
// without a picture, and a control that takes clicks (or drops) with no
// point a click could land on by the game's own rule (the module's
// vendral_click_point). A credits line is shown once it has risen into
// its screen, and stays, so the credits can be read whole.
//
// Tab walks the column in the order it is shown: the elements themselves are
// moved, and put back in the table's order for the original layout.
import { afterCalls, ended, look } from "./calls.js";
import { allScreens } from "./screens.js";

const root = document.documentElement;
const desk = document.getElementById("desk");

let on = false;
const dirty = new Set(); // screens whose column is to be put in order again
let arranging = false; // a microtask will put them in order
let targetsDue = false; // the click points are to be asked once the game rests
let pressed = null; // the control the player last pressed in the column
let topShown = null; // the screen at the top of the column

export function reading() {
  return on;
}

// Turns the reading layout on or off; true when it changed.
export function setReading(want) {
  if (want === on) return false;
  on = want;
  root.classList.toggle("reading", on);
  keepingFocus(() => {
    for (const screen of allScreens()) if (screen.section) (on ? arrange : restore)(screen);
    orderScreens();
  });
  if (on) targetsChanged();
  return true;
}

// Every column put in order at once (a screen was built or shown).
export function arrangeAll() {
  if (!on) return;
  keepingFocus(() => {
    for (const screen of allScreens()) if (screen.section) arrange(screen);
    orderScreens();
  });
  targetsChanged();
}

// Something on `screen` changed (a caption, a place, a control shown or
// hidden): its column is put in order once the module's report is in.
export function columnChanged(screen) {
  if (!on) return;
  dirty.add(screen);
  if (!arranging) {
    arranging = true;
    queueMicrotask(arrangeDirty);
  }
  targetsChanged();
}

function arrangeDirty() {
  arranging = false;
  if (!on) return dirty.clear();
  keepingFocus(() => {
    for (const screen of dirty) if (screen.section) arrange(screen);
  });
  dirty.clear();
}

// The click points can only be asked for while no call runs in the module.
function targetsChanged() {
  if (targetsDue) return;
  targetsDue = true;
  afterCalls(markTargets);
}

// Elements moved in the page lose the focus; it is given back.
function keepingFocus(fn) {
  const focused = document.activeElement;
  fn();
  if (focused && focused !== document.activeElement && focused.isConnected) focused.focus({ preventScroll: true });
}

// Top to bottom, then left to right, then table order.
function readBefore(a, b) {
  return a.state.top - b.state.top || a.state.left - b.state.left || a.index - b.index;
}

function withinScreen(control) {
  const { left, top } = control.state;
  const { width, height } = control.box;
  const screen = control.screen;
  return Math.max(left, 0) < Math.min(left + width, screen.width) && Math.max(top, 0) < Math.min(top + height, screen.height);
}

// Whether the control has something to show in the column (its click point aside).
function hasPlace(control) {
  const { kind, state } = control;
  if (kind === "image") return state.picture !== "";
  if (kind !== "label") return true;
  // A label without words that takes a click (a hidden place to find)
  // keeps a place a finger can find too.
  if (state.caption.trim() === "" && !control.row.click) return false;
  // A credits line, once it has been seen rising, stays in the column.
  const inside = withinScreen(control);
  if (control.moving) return (control.risen ||= inside);
  return inside;
}

function arrange(screen) {
  const { client } = screen;
  let block = screen.statusBlock;
  if (!block) {
    block = screen.statusBlock = document.createElement("div");
    block.className = "status";
  }
  const head = [];
  const body = [];
  for (const control of screen.controls) {
    const { element, row } = control;
    if (!element) continue;
    const shown = hasPlace(control);
    element.classList.toggle("off-column", !shown);
    (row.status || row.draggable ? head : body).push(control);
  }
  head.sort(readBefore);
  body.sort(readBefore);
  block.classList.toggle("empty", !head.some((c) => !c.element.classList.contains("off-column") && c.state.visible));
  putInOrder(block, head.map((c) => c.element));
  putInOrder(client, [block, ...body.map((c) => c.element)]);
}

// Moves the elements only when their order differs: a move costs a layout
// and takes the focus away.
function putInOrder(parent, elements) {
  const children = parent.children;
  let same = children.length === elements.length;
  for (let i = 0; same && i < elements.length; ++i) same = children[i] === elements[i];
  if (!same) parent.append(...elements);
}

// Back in the table's order, without the status block.
function restore(screen) {
  screen.statusBlock?.remove();
  putInOrder(
    screen.client,
    screen.controls.filter((c) => c.element).map((c) => c.element),
  );
}

// The panels in the order they lie in the page: in the column the screens
// on show topmost first, in the original layout the order they loaded.
function orderScreens() {
  const screens = [...allScreens()].filter((s) => s.section);
  if (on) screens.sort((a, b) => Number(a.section.hidden) - Number(b.section.hidden) || b.order - a.order);
  else screens.sort((a, b) => a.loadIndex - b.loadIndex);
  const sections = [...desk.querySelectorAll(":scope > section.screen")];
  if (sections.length !== screens.length || sections.some((s, i) => s !== screens[i].section)) {
    for (const screen of screens) desk.append(screen.section);
  }
  // A screen newly on top is read from its caption.
  const top = screens.find((s) => !s.section.hidden) ?? null;
  if (on && top !== topShown && top) desk.scrollTop = 0;
  topShown = top;
}

// Marks every control that takes clicks or drops and has no point a click
// could land on: such a control is not offered in the column (a label that
// only takes drops is still read, but takes none).
function markTargets() {
  targetsDue = false;
  if (!on || ended()) return;
  for (const screen of allScreens()) {
    if (!screen.section || screen.section.hidden) continue;
    for (const control of screen.controls) {
      const { element, row, kind, state } = control;
      if (!element) continue;
      const clicked = kind === "button" || kind === "textbox" || row.click || row.draggable;
      if (!clicked && !row.drop) continue;
      const free = state.visible && !look("vendral_click_point", [screen.name, row.name]).startsWith("!");
      element.classList.toggle(clicked ? "no-point" : "no-drop", !free);
    }
  }
  // After a step that took away the choice just pressed, the column shows
  // its screen from the top, where the story goes on.
  const last = pressed;
  pressed = null;
  if (last && last.isConnected && last.getClientRects().length === 0) last.closest(".screen")?.scrollIntoView({ block: "start" });
}

desk.addEventListener(
  "click",
  (event) => {
    if (on) pressed = event.target.closest?.("[data-control]") ?? null;
  },
  true,
);
