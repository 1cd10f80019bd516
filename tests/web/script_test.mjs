// The one reader of the scripted player's format in JavaScript
// (tests/web/script.mjs), checked without a browser.
import { test } from "node:test";
import assert from "node:assert/strict";
import { lineError, readCommand, readScript } from "./script.mjs";

const one = (text) => {
  const lines = readScript(text);
  assert.equal(lines.length, 1, JSON.stringify(text));
  return readCommand(lines[0]);
};

test("comments and blank lines are skipped, every line still counted", () => {
  const text = ["# a comment", "", "   ", "\t# indented comment", "click Form1.cmdknight\r", "\t", "state"].join("\n") + "\n";
  const lines = readScript(text);
  assert.deepEqual(
    lines.map((l) => [l.number, l.command, l.rest]),
    [
      [5, "click", "Form1.cmdknight"],
      [7, "state", ""],
    ],
  );
  // Without a final newline the last line is still read.
  assert.equal(readScript("state").length, 1);
  assert.equal(readScript("").length, 0);
});

test("a typed text is every character after the name's space, and none without one", () => {
  assert.deepEqual(one("type Form1.Text1"), { command: "type", form: "Form1", control: "Text1", text: "" });
  for (const text of ["", "TEKAVURM", " leading", "trailing ", "two  spaces", "# not a comment", "tab\there", "x", "é ü"]) {
    const got = one(`type Form1.Text1 ${text}`);
    assert.equal(got.text, text, JSON.stringify(text));
    assert.equal(got.control, "Text1");
  }
  // A name keeps its spaces too; a line ending in CR loses only the CR.
  assert.equal(one("name  Tom ").name, " Tom ");
  assert.equal(one("type Form1.Text1 abc\r\n").text, "abc");
});

test("lines that cannot be read are refused in vendral-replay's words", () => {
  const refused = {
    "click Form1": "expected FORM.CONTROL",
    "click .cmd": "expected FORM.CONTROL",
    "click Form1.": "expected FORM.CONTROL",
    "type Form1 TEXT": "expected FORM.CONTROL TEXT",
    "drag Form1.Image2": "expected FORM.IMAGE FORM.TARGET",
    "drag Form1.Image2 Form1": "expected FORM.IMAGE FORM.TARGET",
    "roll 10": "a roll is a whole number 0 to 9",
    "roll -1": "a roll is a whole number 0 to 9",
    "roll +3": "a roll is a whole number 0 to 9",
    "roll": "a roll is a whole number 0 to 9",
    "wait -5": "expected milliseconds",
    "wait 1.5": "expected milliseconds",
    "wait 9223372036854775808": "expected milliseconds",
    "cancel now": "cancel takes nothing after it",
    "screen": "expected FORM",
    "screen Form1 Form2": "expected FORM",
    "jump Form1": "unknown command",
    " click Form1.cmdknight": "unknown command",
  };
  for (const [text, why] of Object.entries(refused)) assert.deepEqual(one(text), { why }, text);
  // Accepted at the edges of the same rules.
  assert.equal(one("roll 0").digit, 0);
  assert.equal(one("roll 9").digit, 9);
  assert.equal(one("wait 9223372036854775807").ms, 2n ** 63n - 1n);
  assert.equal(one("cancel").name, null);
  assert.deepEqual(one("drag Form1.Image2 Form1.Label3"), {
    command: "drag",
    form: "Form1",
    image: "Image2",
    toForm: "Form1",
    target: "Label3",
  });
  // The refusal names the line as it was written.
  const [line] = readScript("\n\nroll 12\n");
  assert.equal(lineError(line, readCommand(line).why), "error: line 3: roll 12: a roll is a whole number 0 to 9\n");
  const [bare] = readScript("roll");
  assert.equal(lineError(bare, "x"), "error: line 1: roll: x\n");
});
