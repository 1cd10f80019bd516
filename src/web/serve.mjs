// A small static server for the built page: the files of one folder, each
// with its own type (the module as application/wasm, which the browser
// needs to compile it while it streams in), and the page's Content Security
// Policy as a header, so a local run is held to the same rules as a host
// that sends it. Nothing else is served: no listing, nothing outside the folder.
//
//   node src/web/serve.mjs [DIR] [--port N] [--host H]
//
// Also used by the browser tests: import { startServer } from "./serve.mjs".
import { createServer } from "node:http";
import { readFile, stat } from "node:fs/promises";
import { extname, join, resolve, sep } from "node:path";
import { fileURLToPath } from "node:url";

export const CONTENT_SECURITY_POLICY = [
  "default-src 'none'",
  "script-src 'self' 'wasm-unsafe-eval'",
  "style-src 'self'",
  "img-src 'self'",
  "connect-src 'self'",
  // The service worker that keeps the game for offline play, and the
  // manifest that makes it installable.
  "worker-src 'self'",
  "manifest-src 'self'",
  "base-uri 'none'",
  "form-action 'none'",
  "frame-ancestors 'none'",
].join("; ");

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".svg": "image/svg+xml",
  ".png": "image/png",
  ".json": "application/json",
  ".webmanifest": "application/manifest+json",
  ".txt": "text/plain; charset=utf-8",
};

export function startServer({ root, port = 0, host = "127.0.0.1" } = {}) {
  const base = resolve(root);
  const server = createServer(async (req, res) => {
    const headers = {
      "Content-Security-Policy": CONTENT_SECURITY_POLICY,
      "X-Content-Type-Options": "nosniff",
      "Cache-Control": "no-cache",
    };
    try {
      if (req.method !== "GET" && req.method !== "HEAD") {
        res.writeHead(405, headers).end();
        return;
      }
      let path = decodeURIComponent(new URL(req.url, "http://x").pathname);
      if (path.endsWith("/")) path += "index.html";
      const file = resolve(join(base, path));
      if (file !== base && !file.startsWith(base + sep)) {
        res.writeHead(404, headers).end();
        return;
      }
      const info = await stat(file);
      if (!info.isFile()) {
        res.writeHead(404, headers).end();
        return;
      }
      const body = await readFile(file);
      headers["Content-Type"] = TYPES[extname(file)] ?? "application/octet-stream";
      headers["Content-Length"] = body.length;
      res.writeHead(200, headers);
      res.end(req.method === "HEAD" ? undefined : body);
    } catch {
      res.writeHead(404, headers).end();
    }
  });
  return new Promise((ok, fail) => {
    server.once("error", fail);
    server.listen(port, host, () => {
      const { port: bound } = server.address();
      ok({
        url: `http://${host}:${bound}/`,
        // Stops at once, keep-alive connections and all: a page served by
        // it finds the host gone (the offline tests stop it mid-visit).
        close: () =>
          new Promise((done) => {
            server.close(() => done());
            server.closeAllConnections();
          }),
      });
    });
  });
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  let root = ".";
  let port = 8000;
  let host = "127.0.0.1";
  for (let i = 0; i < args.length; ++i) {
    if (args[i] === "--port") port = Number(args[++i]);
    else if (args[i] === "--host") host = args[++i];
    else root = args[i];
  }
  const { url } = await startServer({ root, port, host });
  console.log(`Serving ${resolve(root)} at ${url} (Ctrl+C stops)`);
}
