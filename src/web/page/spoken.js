// What a screen reader hears as the story goes on. The game decides what is
// told after each step (core/spoken.h); the page hands it over here:
//
// - through one polite live region whose text is replaced at every step
//   that tells something (a step that tells nothing leaves it as it was),
//   after the step's message boxes, which are read as dialogs;
// - by the focus: when the control the player pressed hid or greyed itself,
//   or a new screen took the focus, the focus goes to the label the game
//   names as where reading starts again (made focusable for it, never a
//   choice). When that label is the first line told, the focus move reads
//   it and the live region carries only the lines after it, so that no line
//   is heard twice;
// - the repeat key (F2, as on the desktop) tells the top screen again
//   through the live region.
import { busy, ended, look, module, openDialog } from "./calls.js";
import { screenNamed } from "./screens.js";

export const REPEAT_KEY = "F2";

const region = document.getElementById("spoken");
// Out of sight but read: the page's policy lets styles in only from its
// style sheet or from script.
Object.assign(region.style, {
  position: "absolute",
  width: "1px",
  height: "1px",
  margin: "-1px",
  padding: "0",
  overflow: "hidden",
  clip: "rect(0 0 0 0)",
  clipPath: "inset(50%)",
  whiteSpace: "nowrap",
  border: "0",
});

// Where the focus was put when the control holding it went away (or a new
// screen took it), until the next announcement says where reading starts.
let parked = null;

// The focus was parked on `element` (a screen's panel, or the page).
export function focusParked(element) {
  parked = element;
}

// Lines into the live region, one paragraph each, in new nodes every time:
// the same words told twice in a row (the repeat key pressed twice) are
// still new to a screen reader.
export function say(lines) {
  if (!lines.length) return;
  region.replaceChildren(
    ...lines.map((line) => {
      const p = document.createElement("p");
      p.textContent = line;
      return p;
    }),
  );
}

// The module's announcement after a step: its lines, and the control (by
// its screen's name and its index there) reading starts again from.
export function spoken(lines, screenName, index) {
  if (ended()) return;
  const from = screenNamed(screenName)?.controls[index]?.element ?? null;
  // Nothing holding the focus (as when the name prompt has closed) counts
  // as parked too.
  const now = document.activeElement;
  const free = !now || now === document.body || now === parked;
  const moved = free && from && readable(from);
  parked = null;
  if (moved) {
    // Not in the Tab order, and Enter on it does nothing: a label.
    from.tabIndex = -1;
    from.focus({ preventScroll: true });
    if (lines.length && lines[0].trim() === from.textContent.trim()) lines = lines.slice(1);
  }
  say(lines);
}

function readable(element) {
  const section = element.closest(".screen");
  return !element.hidden && section && !section.hidden && element.dataset.kind === "label";
}

// The repeat key: nothing else in the game uses it, and screen readers leave
// a bare F2 to the page. While a message box waits it is read already.
export function listenForRepeat() {
  document.addEventListener("keydown", (event) => {
    if (event.key !== REPEAT_KEY || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
    event.preventDefault();
    if (event.repeat || busy() || openDialog() || !module()) return;
    say(JSON.parse(look("vendral_repeat", [])));
  });
}
