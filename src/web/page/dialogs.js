// The game's message boxes and name prompt as modal dialogs, and where the
// focus goes when one closes or a control lets it go.
import { ended, setDialog } from "./calls.js";
import { topScreen } from "./screens.js";
import { focusParked } from "./spoken.js";

const msgbox = document.getElementById("msgbox");
const prompt = document.getElementById("prompt");

let focusBefore = null;
// Answers the dialog that is open as OK or Cancel would (null: none is open).
let answerOpen = null;

function showDialog(dialog, kind, focus) {
  focusBefore = document.activeElement;
  dialog.showModal();
  focus.focus();
  setDialog(kind);
}

function closeDialog(dialog) {
  dialog.close();
  answerOpen = null;
  setDialog(null);
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
  // A label holds the focus only once the page gave it (where reading
  // started again, or where the disc was dropped); Enter on it does nothing.
  return element.tabIndex >= 0 || element === document.body || element.dataset.kind === "label";
}

// The focus goes to the screen `near` lies on, or else to the screen on top,
// and from there to where reading starts again once the step is told.
export function parkFocus(near) {
  let section = near && near.closest ? near.closest(".screen") : null;
  if (!section || section.hidden) section = topScreen()?.section ?? null;
  if (!section) return;
  section.focus({ preventScroll: true });
  focusParked(section);
}

// Once the game is over a box shows nothing and is answered at once: a
// handler that was waiting goes on without showing anything more.
export function messageBox(text) {
  if (ended()) return Promise.resolve();
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
    answerOpen = done;
    showDialog(msgbox, "message", ok);
  });
}

export function namePrompt(title, text) {
  if (ended()) return Promise.resolve(null);
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
    answerOpen = reject;
    showDialog(prompt, "prompt", field);
  });
}

// The game is over: the dialog that is open is answered, a box with OK and
// the name prompt with Cancel, so the handler waiting on it is not left
// waiting for ever.
export function closeDialogs() {
  if (answerOpen) answerOpen();
  for (const dialog of [msgbox, prompt]) if (dialog.open) dialog.close();
}
