// Where a page's time goes: a Chrome trace of the whole browser over an
// interval, summed per process kind, thread and event. Used by
// `bench.mjs idle|credits game|bare --trace` in place of the CPU figure
// (tracing costs CPU of its own, so its figures are for finding the cost,
// not for the table).
//
// Each event's own time is its thread time (tdur) less that of the events
// nested in it on the same thread; wall time (dur) where no thread time was
// recorded.
import { writeFileSync } from "node:fs";

const CATEGORIES = [
  "toplevel",
  "blink",
  "cc",
  "viz",
  "gpu",
  "v8",
  "v8.execute",
  "devtools.timeline",
  "disabled-by-default-devtools.timeline",
  "disabled-by-default-devtools.timeline.frame",
];

// More categories can be added with $VENDRAL_TRACE_CATEGORIES (comma-separated),
// e.g. disabled-by-default-devtools.timeline.invalidationTracking.
export async function startTrace(browser, page) {
  const extra = (process.env.VENDRAL_TRACE_CATEGORIES ?? "").split(",").filter(Boolean);
  await browser.startTracing(page, { categories: [...CATEGORIES, ...extra] });
  return {
    async stop(keep = "") {
      const buffer = await browser.stopTracing();
      if (keep) writeFileSync(keep, buffer);
      return summarise(JSON.parse(buffer.toString("utf8")));
    },
  };
}

export async function traceInterval(browser, page, ms, keep = "") {
  const trace = await startTrace(browser, page);
  await new Promise((done) => setTimeout(done, ms));
  return trace.stop(keep);
}

function summarise(trace) {
  const events = Array.isArray(trace) ? trace : trace.traceEvents;
  // The traced span: from the first timed event to the last.
  let first = Infinity;
  let last = -Infinity;
  for (const e of events) {
    if (e.ph === "M" || typeof e.ts !== "number" || e.ts <= 0) continue;
    first = Math.min(first, e.ts);
    last = Math.max(last, e.ts + (e.dur ?? 0));
  }
  const seconds = (last - first) / 1e6;
  const processName = new Map();
  const threadName = new Map();
  for (const e of events) {
    if (e.ph !== "M") continue;
    if (e.name === "process_name") processName.set(e.pid, e.args.name);
    if (e.name === "thread_name") threadName.set(`${e.pid}/${e.tid}`, e.args.name);
  }
  // Complete events per thread; B/E pairs made complete.
  const perThread = new Map();
  const open = new Map();
  const push = (key, ev) => {
    if (!perThread.has(key)) perThread.set(key, []);
    perThread.get(key).push(ev);
  };
  for (const e of events) {
    const key = `${e.pid}/${e.tid}`;
    if (e.ph === "X" && e.dur !== undefined) {
      push(key, { name: e.name, ts: e.ts, end: e.ts + e.dur, cost: e.tdur ?? e.dur });
    } else if (e.ph === "B") {
      if (!open.has(key)) open.set(key, []);
      open.get(key).push(e);
    } else if (e.ph === "E") {
      const b = open.get(key)?.pop();
      if (b) {
        const cost = b.tts !== undefined && e.tts !== undefined ? e.tts - b.tts : e.ts - b.ts;
        push(key, { name: b.name, ts: b.ts, end: e.ts, cost });
      }
    }
  }
  // Own time: each event's cost less its children's, by nesting on the thread.
  const rows = new Map(); // "process|thread|event" -> µs
  const threadTotals = new Map(); // "process|thread" -> µs of top-level events
  for (const [key, list] of perThread) {
    const pid = Number(key.split("/")[0]);
    const proc = (processName.get(pid) ?? "?").replace(/ \(.*\)$/, "");
    const thread = (threadName.get(key) ?? "?").replace(/\d+$/, "");
    list.sort((a, b) => a.ts - b.ts || b.end - a.end);
    const stack = [];
    for (const ev of list) {
      while (stack.length && stack[stack.length - 1].end <= ev.ts) stack.pop();
      ev.own = ev.cost;
      if (stack.length) stack[stack.length - 1].own -= ev.cost;
      else threadTotals.set(`${proc}|${thread}`, (threadTotals.get(`${proc}|${thread}`) ?? 0) + ev.cost);
      stack.push(ev);
    }
    for (const ev of list) {
      const row = `${proc}|${thread}|${ev.name}`;
      rows.set(row, (rows.get(row) ?? 0) + Math.max(0, ev.own));
    }
  }
  // Tiles rastered anew, per frame that rastered any, and the frames drawn.
  const tilesOfFrame = new Map();
  let paints = 0;
  for (const e of events) {
    if (e.name === "RasterTask" && e.args?.tileData) {
      const frame = e.args.tileData.sourceFrameNumber;
      if (!tilesOfFrame.has(frame)) tilesOfFrame.set(frame, new Set());
      tilesOfFrame.get(frame).add(e.args.tileData.tileId?.id_ref);
    }
    if (e.name === "Paint" && e.ph === "X") paints++;
  }
  let tiles = 0;
  for (const set of tilesOfFrame.values()) tiles += set.size;
  const percent = (us) => ((100 * us) / 1e6 / seconds).toFixed(2);
  const lines = [];
  lines.push(`traced ${seconds.toFixed(1)} s; ${tilesOfFrame.size} frames rastered tiles, ${(tiles / Math.max(1, tilesOfFrame.size)).toFixed(1)} tiles each; ${paints} paints`);
  lines.push("% of a core, by thread (events at the top of their thread):");
  for (const [key, us] of [...threadTotals].sort((a, b) => b[1] - a[1]).slice(0, 14)) {
    lines.push(`  ${percent(us).padStart(6)}  ${key.replace("|", " / ")}`);
  }
  lines.push("own time of each event, the 30 largest:");
  for (const [key, us] of [...rows].sort((a, b) => b[1] - a[1]).slice(0, 30)) {
    const [proc, thread, name] = key.split("|");
    lines.push(`  ${percent(us).padStart(6)}  ${proc} / ${thread} / ${name}`);
  }
  return lines.join("\n");
}

// The page's own script over an interval: V8's sampling profiler, its
// samples summed per function (own time), the largest first.
export async function profileInterval(page, ms) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send("Profiler.enable");
  await cdp.send("Profiler.setSamplingInterval", { interval: 100 });
  await cdp.send("Profiler.start");
  await new Promise((done) => setTimeout(done, ms));
  const { profile } = await cdp.send("Profiler.stop");
  const byId = new Map(profile.nodes.map((n) => [n.id, n]));
  const own = new Map();
  const deltas = profile.timeDeltas ?? [];
  let total = 0;
  profile.samples.forEach((id, i) => {
    const node = byId.get(id);
    const f = node.callFrame;
    const where = f.url ? `${f.url.replace(/^.*\//, "")}:${f.lineNumber + 1}` : "";
    const key = `${f.functionName || "(anonymous)"} ${where}`.trim();
    const us = deltas[i + 1] ?? 0;
    total += us;
    own.set(key, (own.get(key) ?? 0) + us);
  });
  const busy = [...own].filter(([key]) => key !== "(idle)" && key !== "(program)" && key !== "(garbage collector)");
  const lines = [`script profile over ${(total / 1e6).toFixed(1)} s; own time in ms (of ${((busy.reduce((t, [, us]) => t + us, 0)) / 1000).toFixed(1)} ms of script), the largest:`];
  for (const [key, us] of [...own].sort((a, b) => b[1] - a[1]).filter(([key]) => key !== "(idle)").slice(0, 20))
    lines.push(`  ${(us / 1000).toFixed(1).padStart(8)}  ${key}`);
  return lines.join("\n");
}
