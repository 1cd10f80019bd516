// Screenshots of the web page for the README: the Final Battle on a desktop
// browser window, and on a phone held upright the first journey and the
// Final Battle in the reading layout beside the original layout, played in
// headless Chromium through the page's test mode.
//
//   scripts/web.sh --no-serve && npm ci --prefix tests/web
//   node tools/web_screenshots.mjs [OUT_DIR]     (default docs/screenshots)
import { mkdirSync } from "node:fs";
import { join, resolve } from "node:path";
import { launchBrowser, openPage, REPO, serveSite } from "../tests/web/browser.mjs";

const out = resolve(process.argv[2] ?? join(REPO, "docs/screenshots"));
mkdirSync(out, { recursive: true });

// Answers every dialog the game opens until it waits for the player again;
// the name prompt gets `name`.
async function settle(page, name = "Ann") {
  for (;;) {
    const { dialog } = await page.evaluate(() => window.vendral.settle());
    if (!dialog) return;
    if (dialog === "prompt") await page.fill("#prompt .field", name);
    await page.click(dialog === "prompt" ? "#prompt .ok" : "#msgbox .ok");
  }
}

async function act(page, selector, text) {
  if (text === undefined) await page.click(selector);
  else await page.fill(selector, text);
  await settle(page);
}

const browser = await launchBrowser();
const server = await serveSite(process.env.VENDRAL_WEB_SITE || undefined);
try {
  // The wizard jumps to the Gates with the second code and meets Nilrem.
  {
    const { page, context } = await openPage(browser, server, "?test", { viewport: { width: 1280, height: 800 } });
    await page.evaluate(() => window.vendral.start());
    await settle(page);
    await act(page, '[data-control="cmdwizard"]');
    await act(page, '[data-control="txtjump"]', "TEKAVURM");
    await act(page, '[data-control="cmdverify"]');
    await act(page, '[data-control="Command138"]');
    await act(page, '[data-screen="Form3"] [data-control="Command53"]');
    await page.evaluate(() => window.vendral.advance(15000));
    await settle(page);
    await page.screenshot({ path: join(out, "web-desktop.png") });
    await context.close();
  }
  // On a phone, in each layout: a knight on the road, and the wizard at the
  // Final Battle.
  for (const [layout, suffix] of [
    ["original", ""],
    ["reading", "-reading"],
  ]) {
    const phone = { viewport: { width: 360, height: 640 }, hasTouch: true };
    {
      const { page, context } = await openPage(browser, server, `?test&layout=${layout}`, phone);
      await page.evaluate(() => window.vendral.start());
      await settle(page);
      await act(page, '[data-control="cmdknight"]');
      await act(page, '[data-control="cmdstart"]');
      await page.screenshot({ path: join(out, `web-phone${suffix}.png`) });
      await context.close();
    }
    {
      const { page, context } = await openPage(browser, server, `?test&layout=${layout}`, phone);
      await page.evaluate(() => window.vendral.start());
      await settle(page);
      await act(page, '[data-control="cmdwizard"]');
      await act(page, '[data-control="txtjump"]', "TEKAVURM");
      await act(page, '[data-control="cmdverify"]');
      await act(page, '[data-control="Command138"]');
      await act(page, '[data-screen="Form3"] [data-control="Command53"]');
      await page.evaluate(() => window.vendral.advance(15000));
      await settle(page);
      await page.screenshot({ path: join(out, `web-phone-battle${suffix}.png`) });
      await context.close();
    }
  }
} finally {
  await browser.close();
  await server.close();
}
console.log(`Screenshots in ${out}: web-desktop.png, web-phone.png, web-phone-battle.png, web-phone-reading.png, web-phone-battle-reading.png`);
