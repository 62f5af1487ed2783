// The web page at its true size at every devicePixelRatio, in Debian's Chromium, headless, a
// browser per ratio: the page's factor N is the largest whose N x 404 by N x 324 device pixels fit
// the browser's window, and a screenshot (in device pixels) shows every pixel of the canvas as a
// block of N x N device pixels of its colour, the page landing on whole device pixels; ?scale=N
// overrides the fit; and the page fits itself again when the ratio changes.
//
//   node tests/backends/web/scale_test.mjs SITE_DIR   (run from the repository root)
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Checks, blocks, launch, readPng, watch } from './driver.mjs';
import { serve } from './serve.mjs';

const [siteDir] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-scale-'));
const server = await serve(siteDir);
const origin = `http://127.0.0.1:${server.address().port}`;
const checks = new Checks();
const { clientWidth, clientHeight, pageWidth, pageHeight, menuHeight, pageFrame, canvasWidth,
        canvasHeight } = await import('node:vm').then((vm) => {
  const context = {};
  vm.runInNewContext(`${fs.readFileSync(path.join(siteDir, 'facts.js'))}; this.facts = OMBREVALE_FACTS;`,
                     context);
  return context.facts;
});
// The calm start holds the first frame still, so that the screenshot and the canvas agree.
const kQuery = '?calm=1&seed=6&start=2026/12/07+06:38:00&record=2';

// What the page shows of itself, in CSS pixels, once the still frame and its prompt are up.
async function look(page) {
  await page.waitForFunction(() => OmbrevalePage.test.frames.length >= 2 &&
                                   !document.getElementById('prompt').hidden, { timeout: 20000 });
  return page.evaluate(() => {
    const box = (id) => {
      const r = document.getElementById(id).getBoundingClientRect();
      return { left: r.left, top: r.top, width: r.width, height: r.height };
    };
    return { ratio: devicePixelRatio, width: innerWidth, height: innerHeight,
             scale: OmbrevalePage.test.scale, window: box('window'), canvas: box('canvas'),
             prompt: box('prompt'), label: document.querySelector('.label').getBoundingClientRect().toJSON() };
  });
}

// Device pixels of a length in CSS pixels, which must be whole.
function device(css, ratio, what) {
  const pixels = css * ratio;
  assert.ok(Math.abs(pixels - Math.round(pixels)) < 0.02, `${what}: ${pixels} device pixels`);
  return Math.round(pixels);
}

// A screenshot of the page in device pixels: every pixel of its 404 x 304 canvas a block of
// n x n device pixels, its vision's the recorded frame's colours, where no text lies over it. The
// page's factor n, unless asked for, is the largest whole one that fits the screenshot.
async function expectBlocks(page, seen, n, name, { fits = true } = {}) {
  const { ratio } = seen;
  const file = path.join(work, `${name}.png`);
  await page.screenshot({ path: file });
  const picture = readPng(file);
  assert.ok(Math.abs(picture.width - seen.width * ratio) <= 4 &&
            Math.abs(picture.height - seen.height * ratio) <= 4,
            `a screenshot of ${picture.width} x ${picture.height} for a window of ` +
            `${seen.width} x ${seen.height} at ${ratio}`);
  if (fits) {
    assert.equal(n, Math.max(1, Math.floor(Math.min(picture.width / clientWidth,
                                                    picture.height / clientHeight))));
  }
  const left = device(seen.canvas.left, ratio, 'the canvas\'s left');
  const top = device(seen.canvas.top, ratio, 'the canvas\'s top');
  assert.equal(device(seen.canvas.width, ratio, 'its width'), n * pageWidth);
  assert.equal(device(seen.canvas.height, ratio, 'its height'), n * pageHeight);
  assert.equal(device(seen.window.width, ratio, 'the window\'s width'), n * clientWidth);
  assert.equal(device(seen.window.height, ratio, 'the window\'s height'), n * clientHeight);
  assert.equal(device(seen.canvas.top - seen.window.top, ratio, 'the strip'), n * menuHeight);

  // The text over the canvas (the prompt, the clock's label) is the browser's, smoothed and with a
  // shadow: its blocks are left out, with a few to spare around them.
  const inPage = (r) => [(r.left - seen.canvas.left) * ratio / n, (r.top - seen.canvas.top) * ratio / n,
                         (r.left + r.width - seen.canvas.left) * ratio / n,
                         (r.top + r.height - seen.canvas.top) * ratio / n];
  const texts = [seen.prompt, seen.label].map(inPage);
  const underText = (x, y) => texts.some(([x0, y0, x1, y1]) =>
    x >= x0 - 4 && x <= x1 + 4 && y >= y0 - 4 && y <= y1 + 4);
  const { uneven, colours } = blocks(picture, left, top, n, pageWidth, pageHeight, underText);
  assert.equal(uneven, null, `a block of ${n} x ${n} device pixels is not one colour: ` +
               `[page x, page y, x, y] ${uneven}`);
  // Block for canvas pixel: the still frame the page recorded, its place not shifted by a pixel.
  const frame = Buffer.from(await page.evaluate(() => {
    const pixels = OmbrevalePage.test.frames[1];
    let text = '';
    for (let at = 0; at < pixels.length; at += 0x8000)
      text += String.fromCharCode(...pixels.subarray(at, at + 0x8000));
    return btoa(text);
  }), 'base64');
  let compared = 0;
  for (let y = 0; y < canvasHeight; ++y) {
    for (let x = 0; x < canvasWidth; ++x) {
      if (underText(x + pageFrame, y + pageFrame)) continue;
      const at = ((y + pageFrame) * pageWidth + x + pageFrame) * 3, want = (y * canvasWidth + x) * 4;
      if (colours[at] !== frame[want] || colours[at + 1] !== frame[want + 1] ||
          colours[at + 2] !== frame[want + 2]) {
        assert.fail(`canvas pixel (${x}, ${y}) shows ${[...colours.subarray(at, at + 3)]}, ` +
                    `the canvas holds ${[...frame.subarray(want, want + 3)]}`);
      }
      ++compared;
    }
  }
  assert.ok(compared > canvasWidth * canvasHeight / 2, `only ${compared} pixels compared`);
}

const kRatios = [1, 1.25, 1.5, 1.75, 2, 3];
for (const ratio of kRatios) {
  await checks.check(`at devicePixelRatio ${ratio}, every canvas pixel is N x N device pixels, ` +
                     'N the largest whole factor that fits', async () => {
    const browser = await launch({ args: [`--force-device-scale-factor=${ratio}`, '--window-size=900,700'],
                                   defaultViewport: null });
    try {
      const page = watch(await browser.newPage());
      await page.goto(origin + '/' + kQuery, { waitUntil: 'load' });
      const seen = await look(page);
      assert.equal(seen.ratio, ratio);
      await expectBlocks(page, seen, seen.scale, `ratio-${ratio}`);
      checks.note(`${ratio}: a browser window of ${Math.round(seen.width * ratio)} x ` +
                  `${Math.round(seen.height * ratio)} device pixels, N = ${seen.scale}, the page ` +
                  `${seen.window.width.toFixed(2)} x ${seen.window.height.toFixed(2)} CSS pixels at ` +
                  `(${seen.window.left.toFixed(2)}, ${seen.window.top.toFixed(2)})`);

      // A factor asked for in the address: 1, and one larger than the fit, as far as it fits.
      for (const asked of ratio === 2 ? [1, 3] : []) {
        const other = watch(await browser.newPage());
        await other.goto(`${origin}/${kQuery}&scale=${asked}`, { waitUntil: 'load' });
        const shown = await look(other);
        assert.equal(shown.scale, asked);
        await expectBlocks(other, shown, asked, `ratio-${ratio}-scale-${asked}`, { fits: false });
        assert.deepEqual(other.problems, []);
      }
      assert.deepEqual(page.problems, []);
    } finally {
      await browser.close();
    }
  });
}

await checks.check('moved to a monitor of twice the density, the page fits itself again: as many ' +
                   'device pixels, half the CSS pixels', async () => {
  // Two screens side by side, the second at devicePixelRatio 2; the window moves there.
  const browser = await launch({ args: ['--window-size=1300,1000', '--screen-info=' +
                                        '{2000x1500 devicePixelRatio=1}{2000x1500 devicePixelRatio=2}'],
                                 defaultViewport: null });
  try {
    const page = watch((await browser.pages())[0]);
    await page.goto(origin + '/' + kQuery, { waitUntil: 'load' });
    const before = await look(page);
    assert.equal(before.ratio, 1);
    await expectBlocks(page, before, before.scale, 'before-the-move');
    const cdp = await page.createCDPSession();
    const { windowId } = await cdp.send('Browser.getWindowForTarget');
    await cdp.send('Browser.setWindowBounds', { windowId, bounds: { left: 2100, top: 100 } });
    await page.waitForFunction(() => devicePixelRatio === 2, { timeout: 10000 });
    await page.waitForFunction((w) => document.getElementById('window').getBoundingClientRect().width === w,
                               { timeout: 10000 }, before.scale * clientWidth / 2);
    const after = await look(page);
    await expectBlocks(page, after, after.scale, 'after-the-move');
    assert.deepEqual(page.problems, []);
  } finally {
    await browser.close();
  }
});

server.close();
fs.rmSync(work, { recursive: true, force: true });
process.exit(checks.report());
