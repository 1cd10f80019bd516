// Writes the page's service worker for one build: the worker's template
// (sw.js) with the build's exact file list, each file's SHA-256, and the
// name of its cache, "vendral-" and the first 16 hex digits of a hash over
// all of them and the template itself. Any change to any file of the build
// gives a new worker and a new cache, so an old build's files and a new
// one's never share a cache.
//
//   node precache.mjs SITE TEMPLATE FILE...
//
// FILE names each file of the build, relative to SITE (index.html,
// art/cup.svg, ...). A listed file that is not in SITE fails the build here,
// named, rather than the worker's install on a player's machine. A file in
// SITE that is not listed is left out of the cache, with a warning: it is
// not part of this build (a picture left behind by an older one).
import { createHash } from "node:crypto";
import { readFileSync, readdirSync, statSync, writeFileSync, renameSync } from "node:fs";
import { join, relative, resolve, sep } from "node:path";
import { fileURLToPath } from "node:url";

export const WORKER = "sw.js";
const PLACEHOLDER = '"@BUILD@"';

export class PrecacheError extends Error {}

const sha256 = (data) => createHash("sha256").update(data).digest("hex");

// Every file under `dir`, as paths relative to it with forward slashes.
export function filesUnder(dir) {
  const found = [];
  const walk = (at) => {
    for (const entry of readdirSync(at, { withFileTypes: true })) {
      const path = join(at, entry.name);
      if (entry.isDirectory()) walk(path);
      else if (entry.isFile()) found.push(relative(dir, path).split(sep).join("/"));
    }
  };
  walk(dir);
  return found.sort();
}

// The build the worker carries: { cache, files: [[path, sha256], ...] }.
export function describeBuild(site, templateText, files) {
  const seen = new Set();
  const listed = [];
  for (const file of files) {
    const path = file.split(sep).join("/");
    if (path === WORKER) throw new PrecacheError(`${WORKER} is the worker itself and cannot be in its own list`);
    if (path.startsWith("/") || path.split("/").some((part) => part === ".." || part === "." || part === ""))
      throw new PrecacheError(`"${file}" is not a plain path inside the site`);
    if (seen.has(path)) throw new PrecacheError(`${path} is listed twice`);
    seen.add(path);
    let body;
    try {
      if (!statSync(join(site, path)).isFile()) throw new Error("not a file");
      body = readFileSync(join(site, path));
    } catch {
      throw new PrecacheError(`${path} is part of the build but missing from ${site}`);
    }
    listed.push([path, sha256(body)]);
  }
  if (!listed.some(([path]) => path === "index.html")) throw new PrecacheError("the build has no index.html");
  listed.sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0));
  const whole = sha256(templateText + "\n" + listed.map(([path, hash]) => `${path}\0${hash}\n`).join(""));
  return { cache: `vendral-${whole.slice(0, 16)}`, files: listed };
}

// The worker's text for `build`.
export function workerText(templateText, build) {
  const at = templateText.indexOf(PLACEHOLDER);
  if (at < 0 || templateText.indexOf(PLACEHOLDER, at + 1) >= 0)
    throw new PrecacheError(`the worker's template must hold ${PLACEHOLDER} exactly once`);
  return templateText.slice(0, at) + JSON.stringify(build) + templateText.slice(at + PLACEHOLDER.length);
}

// The build a written worker carries (for tests and for rebuilding a copy).
export function readBuild(text) {
  const m = text.match(/^const BUILD = (\{.*\});$/m);
  if (!m) throw new PrecacheError("no build in this worker");
  return JSON.parse(m[1]);
}

// Writes SITE/sw.js; returns { build, unlisted }.
export function precache(site, template, files) {
  const templateText = readFileSync(template, "utf8");
  const build = describeBuild(site, templateText, files);
  const listed = new Set(build.files.map(([path]) => path));
  const unlisted = filesUnder(site).filter((path) => path !== WORKER && !listed.has(path));
  // Written whole or not at all: a host copying the folder meanwhile never
  // sees half a worker.
  const out = join(site, WORKER);
  writeFileSync(out + ".new", workerText(templateText, build));
  renameSync(out + ".new", out);
  return { build, unlisted };
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const [site, template, ...files] = process.argv.slice(2);
  if (!site || !template || files.length === 0) {
    process.stderr.write("usage: node precache.mjs SITE TEMPLATE FILE...\n");
    process.exitCode = 2;
  } else {
    try {
      const { unlisted } = precache(site, template, files);
      for (const path of unlisted) process.stderr.write(`precache.mjs: warning: ${path} is not part of this build and is not cached\n`);
    } catch (e) {
      if (!(e instanceof PrecacheError)) throw e;
      process.stderr.write(`precache.mjs: ${e.message}\n`);
      process.exitCode = 1;
    }
  }
}
