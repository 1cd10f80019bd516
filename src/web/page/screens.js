// The screens the game has loaded, one record each, and one record for every
// control on them. The table a screen came with (its `def`) is kept as it
// came; what changes (the caption, a control's latest state, the panel built
// for it) lives in the records. Places and sizes arrive in whole pixels of
// the unscaled screen, and kinds as the game's own words ("button", "label",
// "image", "textbox", "timer").

const screens = new Map(); // name -> screen record
let loads = 0;
let raised = 0;

// The state of a control as the game last reported it; the table's row
// holds the state it had when its screen loaded.
function stateOf(row) {
  const { caption, visible, enabled, left, top, picture, words } = row;
  return { caption, visible, enabled, left, top, picture, words };
}

export function addScreen(def) {
  const record = {
    def,
    name: def.name,
    caption: def.caption,
    width: def.width,
    height: def.height,
    loadIndex: loads++,
    order: 0, // when it was last shown; the latest lies on top
    // The panel, once built.
    section: null,
    titlebar: null,
    client: null,
    controls: [],
  };
  record.controls = def.controls.map((row, index) => ({
    screen: record,
    index,
    row,
    kind: row.kind,
    // The latest state the game reported, drawn or not.
    state: stateOf(row),
    // The panel's element (none for a timer, or before the panel is built),
    // and the state it was last drawn in.
    element: null,
    drawn: null,
    box: { width: row.width, height: row.height },
    // Where it was last drawn, and where it lay when it began to move on its own.
    drawnAt: null,
    placedAt: null,
    moving: false,
    // Label fitting: the font size of the table, the size found for it, and
    // whether the text shown has been fitted.
    size: row.points > 0 ? `${row.points}pt` : "",
    designed: null,
    fitted: null,
    fitDone: false,
  }));
  screens.set(def.name, record);
  return record;
}

export function screenNamed(name) {
  return screens.get(name);
}

export function allScreens() {
  return screens.values();
}

export function controlNamed(screen, name) {
  return screen?.controls.find((c) => c.row.name === name) ?? null;
}

// The screen shown now lies above every other.
export function raise(screen) {
  screen.order = ++raised;
  return screen.order;
}

export function topScreen() {
  let top = null;
  for (const screen of screens.values())
    if (screen.section && !screen.section.hidden && (!top || screen.order > top.order)) top = screen;
  return top;
}
