// The web page's figures in headless Chromium on this machine, for the built site and, with
// --beside DIR, for another build of it (today's main, say) measured in the same run, turn about:
// what a first visit transfers gzip-compressed and what the site's scripts and WebAssembly weigh;
// when the first frame shows (the median of ten first visits, each in a fresh profile, and of ten
// visits again, served by the page's service worker where it has one); frames a second and the
// page's main thread's busy share at the natural size over 10 s; the page's size at every
// devicePixelRatio and whether each canvas pixel is a whole block of device pixels; the heap over a
// minute; and screenshots of the page, its box and fullscreen.
//
//   node bench/web_measure.mjs [HEAP_SECONDS] [SCREENSHOT_FOLDER] [--beside DIR]
// from the repository root, after tests/backends/web/run (or scripts/web) has built build/web/site
// and installed the driver in tests/backends/web/node_modules.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { blocks, launch, readPng, sleep } from '../tests/backends/web/driver.mjs';
import { serve } from '../tests/backends/web/serve.mjs';

const args = process.argv.slice(2);
const besideAt = args.indexOf('--beside');
const beside = besideAt >= 0 ? args.splice(besideAt, 2)[1] : null;
const [heapSeconds = '60', shots = 'build/web/shots'] = args;
const sites = [process.env.OMBREVALE_SITE || 'build/web/site', ...(beside ? [beside] : [])];
fs.mkdirSync(shots, { recursive: true });
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return (sorted[(sorted.length - 1) >> 1] + sorted[sorted.length >> 1]) / 2;
};
const kb = (bytes) => `${(bytes / 1024).toFixed(0)} KB`;
const gzipped = (file) => zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;

// Each site served, with the paths a visit asked for noted.
const served = await Promise.all(sites.map(async (site) => {
  const asked = new Set();
  const server = await serve(site, 0, (url) => {
    asked.add(url.endsWith('/') ? `${url}index.html` : url);
    return false;
  });
  return { site, asked, server, origin: `http://127.0.0.1:${server.address().port}/` };
}));
const browser = await launch();

// The site's files gzip-compressed, as a static host sends them; and what a first visit asked for.
for (const s of served) {
  let all = 0, code = 0;
  const walk = (dir) => fs.readdirSync(dir, { withFileTypes: true }).forEach((e) => {
    const file = path.join(dir, e.name);
    if (e.isDirectory()) return walk(file);
    const size = gzipped(file);
    all += size;
    if (/\.(js|wasm)$/.test(file)) code += size;
  });
  walk(s.site);
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.goto(s.origin, { waitUntil: 'load' });
  await page.waitForFunction(() => OmbrevalePage.test.shown > 10, { timeout: 30000 });
  await sleep(3000);  // what a service worker keeps of the site is part of the visit
  await context.close();
  let visit = 0;
  for (const url of s.asked) {
    const file = path.join(s.site, url);
    if (fs.existsSync(file)) visit += gzipped(file);
  }
  console.log(`${s.site}: site gzip ${kb(all)}; its .js and .wasm gzip ${kb(code)}; a first visit ` +
              `transfers ${kb(visit)} gzip in ${s.asked.size} requests`);
}

// The first frame after navigation: first visits, each in a profile of its own, then visits again
// in one profile; the sites turn about, after one visit each that fills the server's cache of
// compressed files, as a static host keeps them.
const firsts = served.map(() => ({ fresh: [], again: [] }));
const again = await browser.createBrowserContext();
for (let i = -1; i < 10; ++i) {
  for (const [k, s] of served.entries()) {
    for (const kind of ['fresh', 'again']) {
      const context = kind === 'fresh' ? await browser.createBrowserContext() : again;
      const page = await context.newPage();
      await page.goto(s.origin, { waitUntil: 'load' });
      await page.waitForFunction(() => OmbrevalePage.test.firstFrameAt > 0, { timeout: 30000 });
      if (i >= 0) firsts[k][kind].push(await page.evaluate(() => OmbrevalePage.test.firstFrameAt));
      // Long enough for a service worker to keep the site after the first visit.
      if (i < 0 && kind === 'again') await sleep(3000);
      await page.close();
      if (kind === 'fresh') await context.close();
    }
  }
}
for (const [k, s] of served.entries()) {
  for (const kind of ['fresh', 'again']) {
    const times = firsts[k][kind];
    console.log(`${s.site}: first frame, ${kind === 'fresh' ? 'first visits' : 'visits again'}: ` +
                `median ${median(times).toFixed(0)} ms (${times.map((t) => t.toFixed(0)).join(', ')})`);
  }
}

// At the natural size: frames a second and the page's main thread's work over 10 s, turn about.
for (let round = 0; round < 2; ++round) {
  for (const s of served) {
    const page = await browser.newPage();
    await page.setViewport({ width: 420, height: 340 });
    await page.goto(s.origin, { waitUntil: 'load' });
    await sleep(1000);
    const cdp = await page.createCDPSession();
    await cdp.send('Performance.enable');
    const metric = async (name) =>
      (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === name).value;
    const t0 = await metric('TaskDuration'), f0 = await page.evaluate(() => OmbrevalePage.test.shown);
    const w0 = Date.now();
    await sleep(10000);
    const t1 = await metric('TaskDuration'), f1 = await page.evaluate(() => OmbrevalePage.test.shown);
    const wall = (Date.now() - w0) / 1000;
    console.log(`${s.site}: natural size: ${((f1 - f0) / wall).toFixed(1)} frames a second; main ` +
                `thread busy ${(100 * (t1 - t0) / wall).toFixed(1)} % (TaskDuration ` +
                `${(t1 - t0).toFixed(2)} s in ${wall.toFixed(1)} s)`);
    await page.close();
  }
}

// The page's size at each devicePixelRatio in a browser window of 900 x 700, the first frame held
// still for a visitor who asked for less motion: in CSS and device pixels, device pixels to a
// canvas pixel, and whether every canvas pixel is one block of them (the text over it aside).
for (const ratio of [1, 1.25, 1.5, 1.75, 2, 3]) {
  const sized = await launch({ args: [`--force-device-scale-factor=${ratio}`, '--window-size=900,700'],
                               defaultViewport: null });
  for (const s of served) {
    const page = await sized.newPage();
    await page.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
    await page.goto(s.origin, { waitUntil: 'load' });
    await page.waitForFunction(() => OmbrevalePage.test.shown >= 2, { timeout: 30000 });
    await sleep(500);
    const seen = await page.evaluate(() => {
      const box = (element) => element && !element.hidden && element.getBoundingClientRect().toJSON();
      return { window: box(document.getElementById('window')), canvas: box(document.getElementById('canvas')),
               texts: [...document.querySelectorAll('#start, #prompt, .label')].map(box).filter(Boolean) };
    });
    const file = path.join(os.tmpdir(), `ombrevale-ratio-${process.pid}.png`);
    await page.screenshot({ path: file });
    const picture = readPng(file);
    fs.rmSync(file);
    const left = Math.round(seen.canvas.left * ratio), top = Math.round(seen.canvas.top * ratio);
    const n = seen.canvas.width * ratio / 404;
    let crisp = 'no: a canvas pixel is not a whole number of device pixels';
    if (Math.abs(n - Math.round(n)) < 0.01) {
      const texts = seen.texts.map((r) => [(r.left - seen.canvas.left) * ratio / n - 4,
        (r.top - seen.canvas.top) * ratio / n - 4, (r.right - seen.canvas.left) * ratio / n + 4,
        (r.bottom - seen.canvas.top) * ratio / n + 4]);
      const { uneven } = blocks(picture, left, top, Math.round(n), 404, 304, (x, y) =>
        texts.some(([x0, y0, x1, y1]) => x >= x0 && x <= x1 && y >= y0 && y <= y1));
      crisp = uneven ? `no: block ${uneven.slice(0, 2)} is not one colour` : 'yes';
    }
    console.log(`${s.site}: at ${ratio}: the page ${seen.window.width.toFixed(2)} x ` +
                `${seen.window.height.toFixed(2)} CSS pixels, ${(seen.window.width * ratio).toFixed(1)} x ` +
                `${(seen.window.height * ratio).toFixed(1)} device pixels at (${(seen.window.left * ratio).toFixed(1)}, ` +
                `${(seen.window.top * ratio).toFixed(1)}), ${n.toFixed(3)} device pixels to a canvas ` +
                `pixel; every canvas pixel a whole block: ${crisp}`);
    await page.close();
  }
  await sized.close();
}

// The heap over a minute (JS heap used after a collection, and the program's memory), and
// screenshots: the page scaled, its box, and fullscreen where headless grants it. This build only.
{
  const { origin } = served[0];
  const page = await browser.newPage();
  await page.setViewport({ width: 420, height: 340 });
  await page.goto(origin, { waitUntil: 'load' });
  await sleep(1000);
  const heaps = [];
  for (let s = 0; s <= Number(heapSeconds); s += Number(heapSeconds) / 4) {
    if (s > 0) await sleep(Number(heapSeconds) * 250);
    const cdp = await page.createCDPSession();
    await cdp.send('HeapProfiler.collectGarbage');
    const { usedSize } = await cdp.send('Runtime.getHeapUsage');
    // The program's memory, where it runs: in the page's worker, or on the page itself.
    const [worker] = page.workers();
    const wasm = await (worker || page).evaluate(() => HEAPU8.length);
    heaps.push(`${s.toFixed(0)} s: page JS ${kb(usedSize)}, program ${(wasm / 1048576).toFixed(1)} MB`);
    await cdp.detach();
  }
  console.log(`heap: ${heaps.join('; ')}`);
  await page.close();

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
}
await browser.close();
served.forEach((s) => s.server.close());
