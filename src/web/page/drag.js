// Dragging the disc: a pointer drag, by mouse, pen or finger. A picture of
// it follows the pointer, and it is dropped on whatever lies under the
// pointer when it is let go.
import { busy, enter } from "./calls.js";
import { allScreens } from "./screens.js";
import { say } from "./spoken.js";

export function startDrag(event, screen, image, element) {
  if (busy() || element.hidden || (event.pointerType === "mouse" && event.button !== 0)) return;
  event.preventDefault();
  // Without the pointer (already gone, or taken) there is no drag: nothing
  // would tell it that the pointer was let go.
  try {
    element.setPointerCapture(event.pointerId);
  } catch {
    return;
  }
  const ghost = document.createElement("img");
  ghost.className = "drag-ghost";
  ghost.alt = "";
  ghost.src = element.querySelector("img").src;
  const follow = (e) => {
    ghost.style.transform = `translate(${e.clientX - 16}px, ${e.clientY - 16}px)`;
  };
  follow(event);
  document.body.append(ghost);
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

// Dragging the disc by keyboard: Enter or Space on the disc picks it up; the
// labels that take drops on the screens on show are then walked with the
// arrow keys or Tab, each read as it takes the focus; Enter drops the disc on
// the one chosen, landing where a click on that label would land (as the
// game's drag of one control onto another does), and Escape puts it back.
let carried = null; // { element, screen, image, at: the label chosen }

export function carryByKeyboard(element, screen, image) {
  element.tabIndex = 0;
  element.setAttribute("role", "button");
  element.setAttribute("aria-description", "Enter picks it up to drop on a label");
  element.addEventListener("keydown", (event) => {
    if (event.key !== "Enter" && event.key !== " ") return;
    event.preventDefault();
    // A key held from an earlier press picks up nothing.
    if (event.repeat || carried || busy() || element.hidden || element.closest(".screen")?.hidden) return;
    pickUp(element, screen, image);
  });
}

// The labels that take drops, on every screen on show, in reading order.
function dropTargets() {
  const targets = [];
  for (const s of allScreens()) {
    if (!s.section || s.section.hidden) continue;
    const here = s.controls.filter((c) => c.kind === "label" && c.row.drop && c.element && !c.element.hidden);
    here.sort((a, b) => a.state.top - b.state.top || a.state.left - b.state.left);
    for (const c of here) targets.push(c);
  }
  // Screens in the order they loaded.
  return targets.sort((a, b) => a.screen.loadIndex - b.screen.loadIndex);
}

function pickUp(element, screen, image) {
  const targets = dropTargets();
  const what = element.getAttribute("aria-label") || "it";
  if (!targets.length) {
    say([`There is nowhere to drop ${what}.`]);
    return;
  }
  carried = { element, screen, image, at: null };
  document.addEventListener("keydown", carryKey, true);
  document.addEventListener("focusin", carryFocus);
  say([`You carry ${what}. Arrow keys choose a label, Enter drops it there, Escape puts it back.`]);
  choose(targets[0]);
}

function choose(target) {
  if (carried.at) carried.at.element.removeAttribute("aria-description");
  carried.at = target;
  target.element.tabIndex = -1;
  target.element.setAttribute("aria-description", "Enter drops it here");
  target.element.focus({ preventScroll: true });
}

// Ends the carrying; the focus goes back to the disc when it was put back.
function putDown(back) {
  const { element, at } = carried;
  carried = null;
  document.removeEventListener("keydown", carryKey, true);
  document.removeEventListener("focusin", carryFocus);
  if (at) at.element.removeAttribute("aria-description");
  if (back && !element.hidden) element.focus({ preventScroll: true });
}

function carryKey(event) {
  const forward = event.key === "ArrowDown" || event.key === "ArrowRight" || (event.key === "Tab" && !event.shiftKey);
  const backward = event.key === "ArrowUp" || event.key === "ArrowLeft" || (event.key === "Tab" && event.shiftKey);
  if (forward || backward) {
    event.preventDefault();
    // The labels as they are now: a timer may have hidden or shown one.
    const targets = dropTargets();
    if (!targets.length) return putDown(true);
    const i = targets.indexOf(carried.at);
    const next = i < 0 ? 0 : (i + (forward ? 1 : targets.length - 1)) % targets.length;
    choose(targets[next]);
  } else if (event.key === "Escape") {
    event.preventDefault();
    putDown(true);
  } else if (event.key === "Enter") {
    event.preventDefault();
    if (event.repeat) return;
    const { screen, image, at } = carried;
    putDown(false);
    if (busy() || at.element.hidden || at.screen.section.hidden) return;
    enter("vendral_drag", [screen, image, at.screen.name, at.row.name]);
  }
}

// The focus went elsewhere (a message box opened, or the player clicked):
// the disc is put back where it lay.
function carryFocus(event) {
  if (carried && event.target !== carried.at?.element) putDown(false);
}
