// The scripted player's script format, read as vendral-replay reads it, for
// every player in JavaScript (the web player in tests/web/replay.mjs and the
// web benchmarks in bench/web) so that no two of them read it differently.
//
// A script is one command a line: "#" lines and blank lines are skipped, the
// command runs up to the first space and everything after that space, every
// character of it, is the command's text.

// The script's lines as { number, command, rest }; `number` counts from 1
// over every line of the text, skipped ones included.
export function readScript(text) {
  const raws = text.split("\n");
  if (raws.length && raws[raws.length - 1] === "") raws.pop();
  const lines = [];
  raws.forEach((raw, i) => {
    if (raw.endsWith("\r")) raw = raw.slice(0, -1);
    const first = raw.search(/[^ \t]/);
    if (first < 0 || raw[first] === "#") return;
    const space = raw.indexOf(" ");
    lines.push({
      number: i + 1,
      command: space < 0 ? raw : raw.slice(0, space),
      rest: space < 0 ? "" : raw.slice(space + 1),
    });
  });
  return lines;
}

// A whole 64-bit number written with digits alone (and a leading minus).
function readInt64(text) {
  if (!/^-?[0-9]+$/.test(text)) return null;
  const n = BigInt(text);
  if (n < -(2n ** 63n) || n > 2n ** 63n - 1n) return null;
  return n;
}

// FORM.CONTROL into its two halves, or null.
function splitName(word) {
  const dot = word.indexOf(".");
  if (dot <= 0 || dot + 1 === word.length) return null;
  return [word.slice(0, dot), word.slice(dot + 1)];
}

// What one line of readScript asks for: { command, ... } with the command's
// parts, or { why } worded as vendral-replay words a line it cannot read.
//   name      { name }                 cancel  { name: null }
//   roll      { digit }                wait    { ms } (a BigInt)
//   click     { form, control }        type    { form, control, text }
//   drag      { form, image, toForm, target }
//   state     {}                       screen  { form }
export function readCommand({ command, rest }) {
  switch (command) {
    case "name":
      return { command, name: rest };
    case "cancel":
      return rest === "" ? { command, name: null } : { why: "cancel takes nothing after it" };
    case "roll": {
      const d = readInt64(rest);
      return d === null || d < 0n || d > 9n ? { why: "a roll is a whole number 0 to 9" } : { command, digit: Number(d) };
    }
    case "click": {
      const name = splitName(rest);
      return name ? { command, form: name[0], control: name[1] } : { why: "expected FORM.CONTROL" };
    }
    case "type": {
      // The text is everything after the name's space; without one, none.
      const space = rest.indexOf(" ");
      const name = splitName(space < 0 ? rest : rest.slice(0, space));
      if (!name) return { why: "expected FORM.CONTROL TEXT" };
      return { command, form: name[0], control: name[1], text: space < 0 ? "" : rest.slice(space + 1) };
    }
    case "drag": {
      const space = rest.indexOf(" ");
      const from = space < 0 ? null : splitName(rest.slice(0, space));
      const to = space < 0 ? null : splitName(rest.slice(space + 1));
      if (!from || !to) return { why: "expected FORM.IMAGE FORM.TARGET" };
      return { command, form: from[0], image: from[1], toForm: to[0], target: to[1] };
    }
    case "wait": {
      const ms = readInt64(rest);
      return ms === null || ms < 0n ? { why: "expected milliseconds" } : { command, ms };
    }
    case "state":
      return { command };
    case "screen":
      return rest === "" || rest.includes(" ") ? { why: "expected FORM" } : { command, form: rest };
    default:
      return { why: "unknown command" };
  }
}

// How vendral-replay names a line it refuses: "error: line N: LINE: WHY".
export function lineError(line, why) {
  return `error: line ${line.number}: ${line.command}${line.rest === "" ? "" : " " + line.rest}: ${why}\n`;
}
