// The bare page for the credits: six labels, each moved up one pixel on
// every tick of its own timer at 4 to 9 ms; one more timer starts every
// 1.5 s, as the game's credits lines do. window.creditsStarted tells how
// many run; window.creditsSteps how far each label has risen.
"use strict";
const panel = document.getElementById("panel");
window.creditsStarted = 0;
window.creditsSteps = [0, 0, 0, 0, 0, 0];
const lines = [];
for (let i = 0; i < 6; ++i) {
  const line = document.createElement("div");
  line.className = "label";
  line.textContent = "A line of the credits";
  line.style.left = "248px";
  line.style.top = `${368 + (i === 1 ? 16 : 8)}px`;
  line.hidden = true;
  panel.append(line);
  lines.push(line);
}
function startNext() {
  const i = window.creditsStarted++;
  const line = lines[i];
  let top = parseInt(line.style.top, 10);
  setInterval(() => {
    line.hidden = false;
    top -= 1;
    line.style.top = `${top}px`;
    window.creditsSteps[i] += 1;
  }, 4 + i);
  if (window.creditsStarted < 6) setTimeout(startNext, 1500);
}
setTimeout(startNext, 1500);
