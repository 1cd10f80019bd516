// One headless Chromium shared by all the web tests of a test run, so that
// each test opens a fresh browser context in it instead of starting a
// browser of its own (CTest starts it and stops it as a fixture).
//
//   node tests/web/browser_daemon.mjs start STATE   start it in the background
//   node tests/web/browser_daemon.mjs stop STATE    stop it
//
// STATE is a JSON file with the browser's endpoint and the keeper's process
// id; tests find it through VENDRAL_WEB_BROWSER=STATE. A browser left
// behind by a run that was cut short stops by itself after an hour.
import { spawn } from "node:child_process";
import { existsSync, openSync, readFileSync, renameSync, rmSync, writeFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";
import { CHROMIUM, CHROMIUM_ARGS } from "./browser.mjs";

const LIFETIME_MS = 60 * 60 * 1000;
const [command, state] = process.argv.slice(2);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Whether `pid` is still a keeper of ours (and not a process that took its number since).
function keeping(pid) {
  try {
    return readFileSync(`/proc/${pid}/cmdline`, "utf8").includes("browser_daemon.mjs");
  } catch {
    return false;
  }
}

async function stop() {
  if (!existsSync(state)) return;
  let pid = 0;
  try {
    pid = JSON.parse(readFileSync(state, "utf8")).pid;
  } catch {}
  rmSync(state, { force: true });
  if (!pid || !keeping(pid)) return;
  process.kill(pid, "SIGTERM");
  for (let i = 0; i < 100 && keeping(pid); ++i) await sleep(100);
  if (keeping(pid)) process.kill(pid, "SIGKILL");
}

if (!state || !["start", "stop", "keep"].includes(command)) {
  process.stderr.write("usage: node tests/web/browser_daemon.mjs start|stop STATE\n");
  process.exit(2);
}

if (command === "stop") {
  await stop();
} else if (command === "start") {
  await stop();
  const log = `${state}.log`;
  const out = openSync(log, "w");
  const keeper = spawn(process.execPath, [fileURLToPath(import.meta.url), "keep", state], {
    detached: true,
    stdio: ["ignore", out, out],
  });
  let exited = false;
  keeper.on("exit", () => (exited = true));
  keeper.unref();
  for (let i = 0; i < 600 && !existsSync(state) && !exited; ++i) await sleep(100);
  if (!existsSync(state)) {
    process.stderr.write(`the shared browser did not start:\n${readFileSync(log, "utf8")}`);
    if (!exited) process.kill(keeper.pid, "SIGTERM");
    process.exit(1);
  }
  console.log(`shared browser ready (${state})`);
  process.exit(0);
} else {
  const server = await chromium.launchServer({
    executablePath: CHROMIUM,
    headless: true,
    args: CHROMIUM_ARGS,
    host: "127.0.0.1",
    port: 0,
    timeout: 60_000,
  });
  const quit = async () => {
    await server.close().catch(() => {});
    process.exit(0);
  };
  process.on("SIGTERM", quit);
  process.on("SIGINT", quit);
  setTimeout(quit, LIFETIME_MS);
  writeFileSync(`${state}.new`, JSON.stringify({ wsEndpoint: server.wsEndpoint(), pid: process.pid }));
  renameSync(`${state}.new`, state);
}
