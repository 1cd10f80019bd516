// The test interface, window.vendral, made only when the page is opened
// with ?test: the scripted player's start, settle, wait (advance) and roll,
// and looks at the game that run none of it.
import { busy, enter, look, settle } from "./calls.js";
import { buildScreens } from "./panels.js";
import { controlNamed, screenNamed } from "./screens.js";

const rolls = [];

// The next queued draw of the scripted player, or -1 for none.
export function scriptedRoll() {
  return rolls.length ? rolls.shift() : -1;
}

export function testInterface(start) {
  return Object.freeze({
    start,
    settle,
    // Every refusal of the game, by its key: the web player's words.
    refusals: Object.freeze(JSON.parse(look("vendral_refusals", []))),
    roll: (d) => {
      rolls.push(Number(d));
    },
    advance: (ms) => {
      if (busy()) return;
      enter("vendral_advance", [Number(ms)], ["number"]);
    },
    state: () => look("vendral_state", []),
    // Where the game has put a control, in pixels, drawn there or not.
    placeOf: (form, control) => {
      buildScreens();
      const found = controlNamed(screenNamed(String(form)), control);
      return found?.element ? { left: found.state.left, top: found.state.top } : null;
    },
    lookUp: (form, control) => look("vendral_look_up", [String(form), String(control)]),
    clickPoint: (form, control) => {
      const answer = look("vendral_click_point", [String(form), String(control)]);
      if (answer.startsWith("!")) return { refusal: answer.slice(1) };
      // The middle of the pixel the game names.
      const [x, y] = answer.split(" ").map(Number);
      return { x: x + 0.5, y: y + 0.5 };
    },
  });
}
