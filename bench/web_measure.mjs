// The web page's figures in headless Chromium on this machine: what the site transfers
// compressed, when the first frame shows, frames a second, the main thread's busy share and the
// heap over a minute; and screenshots of the page, its version box and fullscreen.
//
//   node bench/web_measure.mjs [SECONDS_FOR_HEAP] [SCREENSHOT_FOLDER]
// from the repository root, after tests/backends/web/run (or scripts/web) has built build/web/site and
// installed the driver in tests/backends/web/node_modules.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from '../tests/backends/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';
import { serve } from '../tests/backends/web/serve.mjs';

const site = process.env.OMBREVALE_SITE || 'build/web/site';
const [heapSeconds = '60', shots = 'build/web/shots'] = process.argv.slice(2);
fs.mkdirSync(shots, { recursive: true });

// Compressed as a static host sends it: gzip at level 9, file by file.
let all = 0, code = 0, raw = 0;
const walk = (dir) => fs.readdirSync(dir, { withFileTypes: true }).forEach((e) => {
  const file = path.join(dir, e.name);
  if (e.isDirectory()) return walk(file);
  const bytes = fs.readFileSync(file);
  const gz = zlib.gzipSync(bytes, { level: 9 }).length;
  raw += bytes.length;
  all += gz;
  if (/ombrevale\.(js|wasm)$/.test(file)) code += gz;
});
walk(site);
console.log(`site: ${(raw / 1024).toFixed(0)} KB, gzip ${(all / 1024).toFixed(0)} KB; ` +
            `ombrevale.js + ombrevale.wasm gzip ${(code / 1024).toFixed(0)} KB`);

const server = await serve(site);
const origin = `http://127.0.0.1:${server.address().port}/`;
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true,
  userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-measure-')),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// First frame, over five loads after one that fills the server's cache of compressed files, as a
// static host keeps them.
const firsts = [];
for (let i = -1; i < 5; ++i) {
  const page = await browser.newPage();
  await page.goto(origin, { waitUntil: 'load' });
  await page.waitForFunction(() => OmbrevalePage.test.shown > 0);
  if (i >= 0) firsts.push(await page.evaluate(() => OmbrevalePage.test.firstFrameAt));
  await page.close();
}
console.log(`first frame after navigation start: ${firsts.map((t) => t.toFixed(0)).join(', ')} ms`);

// At natural size: frames a second and the main thread's work over 10 s.
const page = await browser.newPage();
await page.setViewport({ width: 420, height: 340 });
await page.goto(origin, { waitUntil: 'load' });
await sleep(1000);
const cdp = await page.createCDPSession();
await cdp.send('Performance.enable');
const metric = async (name) =>
  (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === name).value;
const heap = async () => page.evaluate(() => ({
  js: performance.memory ? performance.memory.usedJSHeapSize : 0, wasm: HEAPU8.length }));
const t0 = await metric('TaskDuration'), f0 = await page.evaluate(() => OmbrevalePage.test.shown);
const w0 = Date.now();
await sleep(10000);
const t1 = await metric('TaskDuration'), f1 = await page.evaluate(() => OmbrevalePage.test.shown);
const wall = (Date.now() - w0) / 1000;
console.log(`natural size: ${((f1 - f0) / wall).toFixed(1)} frames a second; main thread busy ` +
            `${(100 * (t1 - t0) / wall).toFixed(1)} % (TaskDuration ${(t1 - t0).toFixed(2)} s in ${wall.toFixed(1)} s)`);

// The heap over a minute (JS heap used after a collection, and the program's memory).
const heaps = [];
for (let s = 0; s <= Number(heapSeconds); s += Number(heapSeconds) / 4) {
  if (s > 0) await sleep(Number(heapSeconds) * 250);
  await cdp.send('HeapProfiler.collectGarbage');
  const { usedSize } = await cdp.send('Runtime.getHeapUsage');
  const { wasm } = await heap();
  heaps.push(`${s.toFixed(0)} s: JS ${(usedSize / 1024).toFixed(0)} KB, wasm ${(wasm / 1048576).toFixed(1)} MB`);
}
console.log(`heap: ${heaps.join('; ')}`);
await page.close();

// Screenshots: the page scaled 2x, its box, and fullscreen where headless grants it.
const shot = await browser.newPage();
await shot.setViewport({ width: 1000, height: 720 });
await shot.goto(origin + '?seed=6&start=2026/12/07+06:38:00', { waitUntil: 'load' });
await sleep(1500);
await shot.screenshot({ path: path.join(shots, 'page.png') });
await shot.click('#menu button');
await sleep(300);
await shot.screenshot({ path: path.join(shots, 'box.png') });
await shot.keyboard.press('Escape');
await shot.click('#fullscreen');
await sleep(800);
const full = await shot.evaluate(() => !!document.fullscreenElement);
await shot.screenshot({ path: path.join(shots, 'fullscreen.png') });
console.log(`screenshots in ${shots}/ (page.png, box.png, fullscreen.png; fullscreen granted: ${full})`);
await browser.close();
server.close();
