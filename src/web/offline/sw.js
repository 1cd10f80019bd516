// Vendral's service worker: after one visit the whole game plays with no
// network. The build step (precache.mjs) writes this file beside the page
// with the build's exact file list in BUILD, so each build has a worker of
// its own and a cache of its own, named by the build's content hash.
//
// - Install: every listed file is fetched from the host and checked against
//   its hash before it goes in the cache. A host that serves a mix of two
//   builds (half-way through an upload) fails the install, which the
//   browser tries again on a later visit; the old version plays meanwhile.
// - Requests: a listed file is answered from this build's cache first; the
//   network only if the cache has lost it. Anything else (another folder of
//   the host, a file of no build) goes to the network untouched.
// - A new build waits while any page plays the old one. A page about to
//   start a game (before the name prompt) asks the waiting worker to take
//   over; it does only if that page is the game's one window, so it never
//   swaps files under a game in another tab. Once active it removes the
//   caches of older builds.
const BUILD = "@BUILD@";
const PREFIX = "vendral-";
const SCOPE = self.registration.scope;
const FILES = new Map(BUILD.files);

// The listed file `url` asks for, or null. The page itself is asked for by
// its folder as well as by name, with any query (?test...).
function listedPath(url) {
  if (!url.startsWith(SCOPE)) return null;
  let path = url.slice(SCOPE.length).replace(/[?#].*$/, "");
  if (path === "") path = "index.html";
  return FILES.has(path) ? path : null;
}

const hex = (buffer) => Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, "0")).join("");

async function fill() {
  const cache = await caches.open(BUILD.cache);
  await Promise.all(
    BUILD.files.map(async ([path, hash]) => {
      const url = new URL(path, SCOPE).href;
      const response = await fetch(url, { cache: "reload", credentials: "same-origin" });
      if (!response.ok) throw new Error(`${path}: the host answered ${response.status}`);
      const body = await response.arrayBuffer();
      if (hex(await crypto.subtle.digest("SHA-256", body)) !== hash)
        throw new Error(`${path} differs from this build's: the host serves another version`);
      // Stored afresh so that a host's redirect (index.html to its folder)
      // is not kept: a page cannot be answered with a redirected response.
      const { status, statusText, headers } = response;
      await cache.put(url, new Response(body, { status, statusText, headers }));
    }),
  );
}

self.addEventListener("install", (event) => {
  event.waitUntil(
    fill().catch(async (error) => {
      await caches.delete(BUILD.cache);
      throw error;
    }),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    (async () => {
      for (const name of await caches.keys()) if (name.startsWith(PREFIX) && name !== BUILD.cache) await caches.delete(name);
      // The page of a first visit is served from here from now on: its
      // pictures still to come are this build's, and so are the files of
      // "Play again" with no network.
      await self.clients.claim();
    })(),
  );
});

self.addEventListener("fetch", (event) => {
  const { request } = event;
  if (request.method !== "GET") return;
  const path = listedPath(request.url);
  if (!path) return;
  event.respondWith(
    (async () => (await caches.match(new URL(path, SCOPE).href, { cacheName: BUILD.cache })) ?? fetch(request))(),
  );
});

// A page about to start a game asks with { type: "take-over" } and a port
// for the answer: "taking-over" (the page reloads once this worker controls
// it) or "in-use" (another window plays; the page plays the version it has).
self.addEventListener("message", (event) => {
  if (event.data?.type !== "take-over" || !event.ports[0]) return;
  const [port] = event.ports;
  event.waitUntil(
    (async () => {
      const others = async () => {
        const windows = await self.clients.matchAll({ type: "window", includeUncontrolled: true });
        return windows.some((client) => client.id !== event.source?.id && client.url.startsWith(SCOPE));
      };
      // A page reloaded from the cache asks before the document it replaces
      // has quite gone: that one is given a moment to go.
      let alone = !(await others());
      for (let i = 0; i < 10 && !alone; ++i) {
        await new Promise((resolve) => setTimeout(resolve, 100));
        alone = !(await others());
      }
      port.postMessage(alone ? "taking-over" : "in-use");
      // Kept alive until it is on its way to taking over.
      if (alone) await self.skipWaiting();
    })(),
  );
});
