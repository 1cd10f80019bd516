// Dragging the disc: a pointer drag, by mouse, pen or finger. A picture of
// it follows the pointer, and it is dropped on whatever lies under the
// pointer when it is let go.
import { busy, enter } from "./calls.js";

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
