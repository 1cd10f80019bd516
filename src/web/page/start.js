// Vendral in the browser: the page side of the game. The game logic runs in
// the WebAssembly module (vendral.wasm); this script, which the build puts
// after the module's own loader in vendral.js, draws each screen it reports
// as a panel of native controls, shows its message boxes and name prompt as
// modal dialogs, runs its timers on the browser's clock, and carries the
// player's clicks, typing and drags back in.
//
// All text the game shows goes in through textContent or a field's value:
// a name like "<b>" is shown as typed and never read as markup.
//
// Opened with ?test (and &seed=N), the page plays the scripted player's
// game: window.vendral (the test interface) is made, the game starts, its
// clock stands still until window.vendral.advance(ms), and
// window.vendral.roll(d) queues the next random draw. With ?test&hold the
// game waits for window.vendral.start(), for a harness that must be ready
// before the name prompt; with ?test&live the clock runs as for a player
// (for benchmarks of the timers). window.vendralReady resolves once
// window.vendral is there.
//
// This file starts the game and ends it; the others each keep one concern.
import { busy, checkSettled, endCalls, enter, ended, heapText, module, setHooks, setModule } from "./calls.js";
import { closeDialogs, messageBox, namePrompt } from "./dialogs.js";
import { clockText, freshSeed, now, stopClock, timersChanged, wallOffset } from "./clock.js";
import { layout } from "./layout.js";
import { buildScreens, controlChanged, controlMoved, hidePanels, screenChanged, screenLoaded } from "./panels.js";
import { scriptedRoll, testInterface } from "./test.js";
import { listenForRepeat, spoken } from "./spoken.js";
import { afterGame, beforeGame, registerWorker } from "./offline.js";

const params = new URLSearchParams(location.search);
const testMode = params.has("test");
// The seed as written: the game reads it as the headless player reads its
// --seed, and refuses what is not a whole number it can take.
const seedText = params.get("seed") ?? "1";
// Run modes of the game: scripted draws and seed (1), a clock that stands still (2).
const runMode = testMode ? 1 | (params.has("live") ? 0 : 2) : 0;

const loading = document.getElementById("loading");
const endedNotice = document.getElementById("ended");

function endGame(text) {
  if (ended()) return;
  endCalls();
  stopClock();
  closeDialogs();
  hidePanels();
  loading.hidden = true;
  if (text) endedNotice.querySelector(".text").textContent = text;
  endedNotice.hidden = false;
  afterGame(endedNotice);
  endedNotice.querySelector("button").focus();
  document.title = "Vendral";
  checkSettled();
}

setHooks({
  failed: (error) => {
    console.error("Vendral stopped:", error);
    endGame("Something went wrong and the game had to stop. Sorry!");
  },
  beforeLook: buildScreens,
});

const again = endedNotice.querySelector("button");
again.addEventListener("click", () => location.reload());
// Enter still held from the last message box does not start a new game.
again.addEventListener("keydown", (event) => {
  if (event.repeat) event.preventDefault();
});
window.addEventListener("resize", layout);
listenForRepeat();

const page = {
  messageBox,
  prompt: namePrompt,
  now,
  wallOffset,
  clockText,
  freshSeed,
  scriptedRoll,
  endProgram: () => endGame(null),
  screenLoaded,
  screenChanged,
  controlChanged,
  controlMoved,
  timersChanged,
  spoken,
};

// Starts the game, once. The call returns only when the game first rests
// (after the name prompt and the boxes that follow it); a refused seed
// returns at once, before anything is shown.
let started = false;
function start() {
  if (started || busy()) return;
  started = true;
  loading.hidden = true;
  // The seed goes in on the heap: a long one would not fit the stack.
  const seed = heapText(seedText);
  enter("vendral_start", [runMode, seed], ["number", "number"]).then((result) => {
    module()._free(seed);
    if (result !== 1) return;
    console.error(`Vendral: the seed ${JSON.stringify(seedText)} is refused: the seed takes a whole number.`);
    loading.textContent = "This seed cannot be played: the seed takes a whole number.";
    loading.hidden = false;
  });
}

// The module starts compiling as soon as this script runs, while the
// module's loader sets itself up (10 ms or more here) rather than after it.
// A host that does not serve it as application/wasm cannot have it compiled
// as it streams in: it is then compiled from the whole file.
const WASM = "vendral.wasm";
const compiling =
  typeof WebAssembly === "object" && typeof WebAssembly.compileStreaming === "function"
    ? WebAssembly.compileStreaming(fetch(WASM, { credentials: "same-origin" }))
    : Promise.reject(new Error("no streaming compilation"));
compiling.catch(() => {});

function cannotStart(error) {
  console.error(error);
  loading.textContent = "Vendral could not start in this browser.";
}

// The loader's hook for making the module's instance: from the compiled
// module above. Returns at once; the loader waits for `receive`.
function instantiateWasm(imports, receive) {
  compiling
    .catch(() =>
      fetch(WASM, { credentials: "same-origin" })
        .then((response) => {
          if (!response.ok) throw new Error(`${WASM}: ${response.status}`);
          return response.arrayBuffer();
        })
        .then((bytes) => WebAssembly.compile(bytes)),
    )
    .then((compiled) => WebAssembly.instantiate(compiled, imports))
    .then((instance) => receive(instance))
    .catch(cannotStart);
  return {};
}

let signalReady;
if (testMode) window.vendralReady = new Promise((resolve) => (signalReady = resolve));

if (typeof createVendral !== "function") {
  loading.textContent = "Vendral could not be loaded.";
} else {
  // A new version waiting takes over (and the page reloads into it) before
  // any game starts, once the module is up.
  const loaded = createVendral({ page, instantiateWasm });
  Promise.all([loaded, beforeGame(loaded)])
    .then(([module]) => {
      setModule(module);
      if (testMode) {
        loading.hidden = true;
        window.vendral = testInterface(start);
        signalReady();
        if (!params.has("hold")) start();
      } else {
        start();
      }
      registerWorker();
    })
    .catch(cannotStart);
}
