// Where the screens lie in the window, which layout draws them, and labels
// set to fit their boxes.
import { allScreens } from "./screens.js";
import { arrangeAll, reading, setReading } from "./reading.js";

const TITLEBAR = 22; // px, as in style.css
const BORDER = 1;
const MARGIN = 8;

const desk = document.getElementById("desk");
const root = document.documentElement;
const switcher = document.getElementById("layout-switch");

// The layout the player chose for this tab, or null while the page follows
// the window. The choice is kept in the address only (?layout=reading or
// original), so that playing again keeps it; nothing is stored.
const asked = new URLSearchParams(location.search).get("layout");
let chosen = asked === "reading" || asked === "original" ? asked : null;

// A window too small to show the biggest screen loaded so far at its own
// size is narrow: there the switch between the layouts is offered, and the
// page starts in the reading layout (reading.js). Elsewhere every screen is
// scaled by one factor, the largest at which the biggest screen fits the
// window, and centred in it.
export function layout() {
  let width = 0;
  let height = 0;
  for (const screen of allScreens()) {
    width = Math.max(width, screen.width + 2 * BORDER);
    height = Math.max(height, screen.height + TITLEBAR + 2 * BORDER);
  }
  if (!width) return;
  const narrow = Math.min((innerWidth - 2 * MARGIN) / width, (innerHeight - 2 * MARGIN) / height) < 1;
  root.classList.toggle("narrow", narrow);
  const wanted = narrow && (chosen ?? "reading") === "reading";
  const switched = setReading(wanted);
  switcher.textContent = wanted ? "Original layout" : "Reading layout";
  if (wanted) {
    if (!switched) arrangeAll();
    return;
  }
  // Labels given new text in the column are fitted to their boxes again.
  if (switched) for (const screen of allScreens()) if (screen.section && !screen.section.hidden) fitLabels(screen);
  const room = desk.getBoundingClientRect();
  const scale = Math.max(0.1, Math.min((room.width - 2 * MARGIN) / width, (room.height - 2 * MARGIN) / height, 3));
  for (const screen of allScreens()) {
    if (!screen.section) continue;
    const w = (screen.width + 2 * BORDER) * scale;
    const h = (screen.height + TITLEBAR + 2 * BORDER) * scale;
    const x = Math.round((room.width - w) / 2);
    const y = Math.round((room.height - h) / 2);
    screen.section.style.transform = `translate(${x}px, ${y}px) scale(${scale})`;
  }
}

// A label whose text runs past its box is set a little smaller, down to 8
// pixels, so none of it is lost (the screens were laid out for another face).
// Each look at the overflow costs the browser a layout: a new text as long
// as the last fitted one (a clock's next second) keeps that size while it
// fits, and the label's own size is read once.
export function fitLabel(control) {
  // In the column a label's text wraps at the size it is read at; it is
  // fitted to its box when the original layout is back.
  if (control.fitDone || reading()) return;
  control.fitDone = true;
  const element = control.element;
  const overflows = () =>
    element.scrollHeight > element.clientHeight + 1 || element.scrollWidth > element.clientWidth + 1;
  const length = element.textContent.length;
  if (control.fitted?.length === length && !overflows()) return;
  element.style.fontSize = control.size;
  control.designed ??= parseFloat(getComputedStyle(element).fontSize);
  let size = control.designed;
  while (size > 8 && overflows()) {
    size -= 0.5;
    element.style.fontSize = `${size}px`;
  }
  control.fitted = { length };
}

// The labels of a screen just shown whose text has not been fitted yet.
export function fitLabels(screen) {
  for (const control of screen.controls)
    if (control.element && control.kind === "label" && !control.element.hidden && !control.fitDone) fitLabel(control);
}

// The switch: the other layout, for as long as the tab is open. The
// control that had the focus keeps it, and is brought into view.
switcher?.addEventListener("click", () => {
  chosen = reading() ? "original" : "reading";
  const address = new URL(location.href);
  address.searchParams.set("layout", chosen);
  history.replaceState(history.state, "", address);
  layout();
  const focused = document.activeElement;
  if (focused && focused !== switcher && desk.contains(focused)) focused.scrollIntoView({ block: "nearest" });
});
