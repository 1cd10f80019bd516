// The bare page for startup: what the game page does at its simplest before
// its name prompt. Its own tiny WebAssembly module is fetched and
// instantiated as the game's is, one of its functions called, then the
// prompt is opened as a modal dialog with the focus in its field.
"use strict";
WebAssembly.instantiateStreaming(fetch("tiny.wasm")).then(({ instance }) => {
  if (instance.exports.add(2, 3) !== 5) throw new Error("the module adds wrongly");
  const prompt = document.getElementById("prompt");
  prompt.showModal();
  prompt.querySelector(".field").focus();
});
