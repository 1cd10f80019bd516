// The game's clock on the browser's: the time, the wall clock's phase, the
// clock labels' text, fresh seeds, and the timer that wakes the game when
// its next tick falls due.
import { afterCalls, calling, ended, enter } from "./calls.js";

const clockStart = performance.now();
let wakeTimer = 0;
let wakeWaits = false;

export const now = () => Math.floor(performance.now() - clockStart);

// The wall clock's milliseconds at the game clock's zero, taken once so
// that clocks started at different moments keep one phase.
let wallAtStart = null;
export const wallOffset = () => (wallAtStart ??= Date.now() - now());

// The game asks to be woken at `at` on this clock (-1: never), its ticks
// already gathered into as few wake-ups as it needs: the page only arms its
// timer for that moment.
export function timersChanged(at) {
  stopClock();
  if (at < 0 || ended()) return;
  wakeTimer = setTimeout(onWakeTimer, Math.max(0, at - now()));
}

export function stopClock() {
  if (wakeTimer) clearTimeout(wakeTimer);
  wakeTimer = 0;
}

function onWakeTimer() {
  wakeTimer = 0;
  // While a handler waits in a dialog, the wake-up waits for it.
  if (!calling()) wake();
  else if (!wakeWaits) {
    wakeWaits = true;
    afterCalls(wake);
  }
}

function wake() {
  wakeWaits = false;
  if (ended()) return;
  enter("vendral_wake");
}

// The browser's own formats of its locale, each made once, when first
// needed: making one costs far more than a clock's tick.
let dateFormat = null;
let timeFormat = null;

export function clockText(date) {
  if (date) {
    dateFormat ??= new Intl.DateTimeFormat(undefined, { dateStyle: "short" });
    return dateFormat.format(new Date());
  }
  timeFormat ??= new Intl.DateTimeFormat(undefined, { hour: "numeric", minute: "2-digit", second: "2-digit" });
  return timeFormat.format(new Date());
}

export function freshSeed() {
  const words = new Uint32Array(2);
  crypto.getRandomValues(words);
  return (words[0] & 0x1fffff) * 0x100000000 + words[1];
}
