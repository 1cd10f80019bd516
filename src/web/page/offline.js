// Offline play and safe updates, the page's side of the service worker
// (sw.js, written by the build with the build's exact file list).
//
// The page registers the worker once its game is up; after that first visit
// the whole game, "Play again" included, comes from the worker's cache.
// A new version of the game installs beside the old one and waits: it never
// takes over a game being played. Before a game starts (before the name
// prompt) the page asks a waiting version to take over and, once it
// controls the page, reloads into it, at most once per load. At the end of a
// game the page looks for a new version and, when one is waiting, says so
// on the end screen.
//
// The scripted player's page (?test) registers no worker, so its timing and
// transcripts are the plain page's; ?test&offline registers it as the real
// page always does, for the tests of offline play.

const params = new URLSearchParams(location.search);
// Browsers offer service workers to secure pages only (https, or localhost).
const enabled = "serviceWorker" in navigator && (!params.has("test") || params.has("offline"));
// How long a waiting version may take to take over before the game starts
// on the version the page has.
const TAKE_OVER_MS = 10_000;

export const UPDATE_READY_TEXT = "A new version of Vendral is ready. It starts when you play again.";

export function registerWorker() {
  if (!enabled) return;
  const register = () =>
    navigator.serviceWorker.register("sw.js", { scope: "./" }).catch((error) => {
      // The game plays on without it, online only.
      console.warn("Vendral cannot be kept for offline play:", error);
    });
  // Called once the game is up (its name prompt open), and registered at
  // the browser's next quiet moment after the page has loaded: the worker
  // starts a thread of its own and fetches every file of the page again,
  // which would otherwise compete with compiling and starting the module
  // and make the player wait longer for the prompt.
  const whenQuiet = () =>
    "requestIdleCallback" in window ? requestIdleCallback(register, { timeout: 2000 }) : setTimeout(register, 500);
  if (document.readyState === "complete") whenQuiet();
  else window.addEventListener("load", whenQuiet, { once: true });
}

// Asks `worker` to take over; resolves to its answer, or null after a while.
function askToTakeOver(worker) {
  return new Promise((resolve) => {
    const channel = new MessageChannel();
    const timer = setTimeout(() => resolve(null), TAKE_OVER_MS);
    channel.port1.onmessage = (event) => {
      clearTimeout(timer);
      resolve(event.data);
    };
    worker.postMessage({ type: "take-over" }, [channel.port2]);
  });
}

// Resolves when the game may start. Where a new version waits, it is asked
// to take over first, once `loaded` (the module coming up) has resolved: the
// browser lets a new version take over only when the old one is answering
// none of the page's requests. If it takes over, the page reloads into it
// and this never resolves.
export async function beforeGame(loaded) {
  if (!enabled) return;
  let registration;
  try {
    registration = await navigator.serviceWorker.getRegistration();
  } catch {
    return;
  }
  const waiting = registration?.waiting;
  if (!waiting || !registration.active) return;
  try {
    await loaded;
  } catch {
    return;
  }
  const container = navigator.serviceWorker;
  const controlled = new Promise((resolve) => container.addEventListener("controllerchange", resolve, { once: true }));
  if ((await askToTakeOver(waiting)) !== "taking-over") return;
  const tookOver = await Promise.race([
    controlled.then(() => true),
    new Promise((resolve) => setTimeout(() => resolve(false), TAKE_OVER_MS)),
  ]);
  if (!tookOver) return;
  location.reload();
  await new Promise(() => {});
}

// The end of a game: if a new version is waiting, or turns up now, the end
// screen says so above its "Play again".
export function afterGame(notice) {
  if (!enabled) return;
  const say = () => {
    if (notice.querySelector(".update")) return;
    const line = document.createElement("p");
    line.className = "update";
    line.setAttribute("role", "status");
    line.textContent = UPDATE_READY_TEXT;
    notice.querySelector("button").before(line);
  };
  const whenInstalled = (worker) => {
    if (!worker) return;
    if (worker.state === "installed") say();
    else worker.addEventListener("statechange", () => worker.state === "installed" && say());
  };
  navigator.serviceWorker
    .getRegistration()
    .then((registration) => {
      // A page with no older version in place (the first visit) has no
      // new version to offer: its worker is the first.
      if (!registration?.active) return;
      if (registration.waiting) {
        say();
        return;
      }
      whenInstalled(registration.installing);
      registration.addEventListener("updatefound", () => whenInstalled(registration.installing));
      return registration.update();
    })
    .catch(() => {
      // No network: there is no new version to look for.
    });
}
