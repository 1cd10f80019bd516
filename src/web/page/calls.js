// Calls into the game's module, one at a time. A handler waiting in a dialog
// is suspended inside the module: nothing may call in until it has finished.
// A player's action during that time cannot happen (the dialog is modal) and
// is dropped; a timer that falls due waits until the call returns.
//
// settle() is the test interface's wait: it resolves once the game rests (no
// call running) or waits on the player in a dialog.

let core = null; // the module
let inFlight = 0;
let over = false;
let dialog = null; // "message" | "prompt" | null
const whenIdle = []; // run once the running call returns
const settleWaiters = [];
const hooks = { failed: () => {}, beforeLook: () => {} };

export function setModule(module) {
  core = module;
}

export function module() {
  return core;
}

// `failed(error)`: a call threw. `beforeLook()`: a test looks at the page next.
export function setHooks(given) {
  Object.assign(hooks, given);
}

export function calling() {
  return inFlight > 0;
}

export function ended() {
  return over;
}

export function busy() {
  return inFlight > 0 || over;
}

// The game is over: nothing more goes in, and what waited for the running
// call to return is dropped.
export function endCalls() {
  over = true;
  whenIdle.length = 0;
}

export function openDialog() {
  return dialog;
}

export function setDialog(kind) {
  dialog = kind;
  if (kind) checkSettled();
}

// Runs `fn` once the running call has returned (at once when none runs).
export function afterCalls(fn) {
  if (inFlight > 0) whenIdle.push(fn);
  else fn();
}

export async function enter(name, args = [], types = args.map(() => "string")) {
  inFlight++;
  try {
    return await core.ccall(name, "number", types, args, { async: true });
  } catch (error) {
    hooks.failed(error);
    return -1;
  } finally {
    inFlight--;
    afterCall();
  }
}

function afterCall() {
  if (inFlight > 0) return;
  if (!over) for (const fn of whenIdle.splice(0)) fn();
  checkSettled();
}

export function checkSettled() {
  if (inFlight > 0 && !dialog) return;
  const state = { dialog, ended: over };
  // A test looks at the page next: every panel is there.
  if (settleWaiters.length) hooks.beforeLook();
  for (const resolve of settleWaiters.splice(0)) resolve(state);
}

export function settle() {
  return new Promise((resolve) => {
    settleWaiters.push(resolve);
    checkSettled();
  });
}

// Text for the module, in memory it frees: long text would not fit the stack.
export function heapText(text) {
  const size = core.lengthBytesUTF8(text) + 1;
  const memory = core._malloc(size);
  if (memory) core.stringToUTF8(text, memory, size);
  return memory;
}

// A call that only looks at the game and answers in text; while a handler
// waits in a dialog the module must not be entered at all.
export function look(name, args) {
  if (inFlight > 0) throw new Error("a message box is open");
  return core.ccall(name, "string", args.map(() => "string"), args);
}

export function press(screen, control) {
  if (busy()) return;
  enter("vendral_press", [screen, control]);
}
