// The bare page for an idle screen: one label rewritten every second with
// the time, as a screen's clock is.
"use strict";
const clock = document.getElementById("clock");
const tick = () => {
  clock.textContent = new Date().toLocaleTimeString(undefined, { hour: "numeric", minute: "2-digit", second: "2-digit" });
};
tick();
setInterval(tick, 1000);
