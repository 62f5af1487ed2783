// Records the replay the web page must play as every other player does: the page in Debian's
// Chromium, headless, driven as a visitor drives it, saved with its own "Save replay" button. Run
// it again, from the repository root, when the frames change on purpose (record.sh says when).
//
//   node tests/reference/replays/record-web.mjs SITE-DIR
//
// web.replay: about twenty seconds of a calm start on 31 December at 23:59:50, the vision started
// with Return, a key, the version box held open a second and closed with Return, the browser's
// window made larger, fullscreen and back, and the year rolling over.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { downloaded, launch, sleep } from '../../backends/web/driver.mjs';
import { serve } from '../../backends/web/serve.mjs';

const [siteDir = 'build/web/site'] = process.argv.slice(2);
const out = path.join(path.dirname(new URL(import.meta.url).pathname), 'web.replay');
const server = await serve(siteDir);
const browser = await launch({ args: ['--window-size=900,700'] });
const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-record-web-'));
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 900, height: 700 });
  const origin = `http://127.0.0.1:${server.address().port}`;
  await page.goto(`${origin}/?calm=1&start=2026/12/31+23:59:50`, { waitUntil: 'load' });
  await page.waitForSelector('#start:not([hidden])', { timeout: 20000 });
  await sleep(1000);
  await page.keyboard.press('Enter');
  await sleep(1500);
  await page.keyboard.press('KeyA');
  await sleep(500);
  await page.click('#menu button');
  await page.waitForFunction(() => document.getElementById('box').open, { timeout: 10000 });
  await sleep(1000);
  await page.keyboard.press('Enter');
  await sleep(1000);
  await page.setViewport({ width: 1300, height: 1000 });
  await sleep(2000);
  await page.click('#fullscreen');
  await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 10000 });
  await sleep(2000);
  await page.evaluate(() => document.exitFullscreen());
  await sleep(7000);
  const file = await downloaded(page, downloads, () => page.click('#save-replay'));
  fs.copyFileSync(file, out);
  console.log(`recorded ${out} (${fs.statSync(out).size} bytes)`);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(downloads, { recursive: true, force: true });
}
