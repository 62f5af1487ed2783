// The web page in Debian's Chromium, headless: it loads cleanly, draws the same frames as the
// native renderer, keeps drawing, opens and closes its version box, takes keys with the desktop's
// codes, copes with a missing and a broken picture, and stands still for a visitor who asks for
// less motion.
//
//   node tests/backends/web/page_test.mjs SITE_DIR RENDERER   (run from the repository root)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { serve } from './serve.mjs';

const [siteDir, renderer] = process.argv.slice(2);
const kSeed = 6, kStart = '2026/12/07 6:38:00', kFrames = 100;
const kQuery = `?seed=${kSeed}&start=${encodeURIComponent(kStart).replace(/%20/g, '+')}`;
// The clock's label lies over the canvas from (224, 280) to the page's edge: fonts differ between
// the desktop and a browser, so it is left out of the comparison on both sides.
const inLabel = (x, y) => x >= 224 && y >= 280;

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-web-'));
// Under /missing/ the site has no noise picture; under /corrupt/ its face picture is a file cut
// short.
const server = await serve(siteDir, 0, (url, response) => {
  const match = url.match(/^\/(missing|corrupt)(\/.*)$/);
  if (!match) return false;
  const [, variant, file] = match;
  if (variant === 'missing' && file === '/dat/noise.bmp') {
    response.writeHead(404).end();
  } else if (variant === 'corrupt' && file === '/dat/face.bmp') {
    const whole = fs.readFileSync(path.join(siteDir, file));
    response.writeHead(200, { 'Content-Type': 'image/bmp' }).end(whole.subarray(0, 200));
  } else {
    return file;
  }
  return true;
});
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  userDataDir: path.join(work, 'profile'),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--window-size=900,700'],
});

const results = [];
async function check(name, body) {
  const started = Date.now();
  try {
    await body();
    results.push(`ok   ${name} (${Date.now() - started} ms)`);
  } catch (error) {
    results.push(`FAIL ${name}: ${error.stack || error}`);
  }
}

// A page of the site, with what went wrong on it recorded.
async function open(url, { reducedMotion = false } = {}) {
  const page = await browser.newPage();
  page.problems = [];
  page.on('console', (m) => { if (m.type() === 'error') page.problems.push(`console: ${m.text()}`); });
  page.on('pageerror', (e) => page.problems.push(`page error: ${e.message}`));
  page.on('requestfailed', (r) => page.problems.push(`failed: ${r.url()}`));
  page.on('response', (r) => { if (r.status() >= 400) page.problems.push(`${r.status()}: ${r.url()}`); });
  if (reducedMotion)
    await page.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(origin + url, { waitUntil: 'load' });
  return page;
}

const shown = (page) => page.evaluate(() => OmbrevalePage.test.shown);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
async function waitForFrames(page, count) {
  await page.waitForFunction((n) => OmbrevalePage.test.shown >= n, { timeout: 15000 }, count);
}

// The clock's text `seconds` after `start`, two years ahead, as the page's label writes it.
function clockText(start, seconds) {
  const [date, time] = start.split(' ');
  const [year, month, day] = date.split('/').map(Number);
  const [h, m, s] = time.split(':').map(Number);
  const at = new Date(Date.UTC(year + 2, month - 1, day, h, m, s + seconds));
  const two = (n) => String(n).padStart(2, '0');
  return `${at.getUTCFullYear()}/${two(at.getUTCMonth() + 1)}/${two(at.getUTCDate())} ` +
         `${at.getUTCHours()}:${two(at.getUTCMinutes())}:${two(at.getUTCSeconds())}`;
}

// The native renderer's frames for the seed and start, as RGB bytes, run in `folder` (its dat/).
function nativeFrames(frames, folder) {
  const out = path.join(work, `native-${path.basename(folder)}`);
  execFileSync(path.resolve(renderer), ['--seed', String(kSeed), '--start', kStart, '--frames',
    String(frames), '--out', out], { cwd: folder });
  return Array.from({ length: frames }, (_, i) => {
    const png = path.join(out, `frame-${String(i).padStart(4, '0')}.png`);
    return execFileSync('convert', [png, '-depth', '8', 'rgb:-'], { maxBuffer: 1 << 22 });
  });
}

// The first pixel where the page's frame (RGBA) differs from the native one (RGB), label aside.
function firstDifference(rgba, rgb) {
  for (let y = 0; y < 300; ++y)
    for (let x = 0; x < 400; ++x) {
      if (inLabel(x, y)) continue;
      const i = y * 400 + x;
      for (let c = 0; c < 3; ++c)
        if (rgba[i * 4 + c] !== rgb[i * 3 + c])
          return `(${x}, ${y}): page ${[...rgba.subarray(i * 4, i * 4 + 3)]} native ${[...rgb.subarray(i * 3, i * 3 + 3)]}`;
    }
  return null;
}

async function expectSameFrames(page, native) {
  await page.waitForFunction((n) => OmbrevalePage.test.frames.length >= n, { timeout: 20000 },
                             native.length);
  for (let i = 0; i < native.length; ++i) {
    const rgba = Buffer.from(await page.evaluate((k) => {
      const frame = OmbrevalePage.test.frames[k];
      let text = '';
      for (let at = 0; at < frame.length; at += 0x8000)
        text += String.fromCharCode(...frame.subarray(at, at + 0x8000));
      return btoa(text);
    }, i), 'base64');
    const difference = firstDifference(rgba, native[i]);
    assert.equal(difference, null, `frame ${i} differs at ${difference}`);
  }
}

await check('the page loads with no console error and no failed request, and draws the ' +
            'native renderer\'s frames pixel for pixel', async () => {
  const page = await open(`/${kQuery}&record=${kFrames}`);
  const native = nativeFrames(kFrames, '.');
  await expectSameFrames(page, native);
  assert.deepEqual(page.problems, []);
  // The clock's label: two years ahead of the fixed start, at its place, in its colour and face.
  const label = await page.evaluate(() => {
    const l = document.querySelector('.label');
    const style = getComputedStyle(l);
    return { text: l.textContent, left: style.left, top: style.top, color: style.color,
             weight: style.fontWeight, size: style.fontSize, family: style.fontFamily };
  });
  // Each recorded frame shows the clock as the pass before it wrote it: the fixed start two years
  // on, plus the seconds the page's clock had counted by then; "Burst" until the seconds first
  // change. Read with the frame it belongs to, it holds however slowly the machine ran meanwhile.
  const { labelsShown, clockOrigin } = await page.evaluate(() => (
    { labelsShown: OmbrevalePage.test.labelsShown, clockOrigin: OmbrevalePage.test.clockOrigin }));
  assert.equal(labelsShown[0].text, 'Burst', 'the first frame, before the clock is written');
  for (let k = 1; k < labelsShown.length; ++k) {
    const seconds = (at, slack) => Math.floor((at - clockOrigin + slack) / 1000);
    const earliest = seconds(labelsShown[k - 1].at, -1), latest = seconds(labelsShown[k].at, 1);
    const possible = [];
    for (let s = earliest; s <= latest; ++s) possible.push(s <= 0 ? 'Burst' : clockText(kStart, s));
    assert.ok(possible.includes(labelsShown[k].text),
              `frame ${k} shows "${labelsShown[k].text}", not one of ${possible.join(', ')}`);
  }
  assert.notEqual(labelsShown.at(-1).text, 'Burst', 'the clock was never written');
  assert.deepEqual([label.left, label.top, label.color, label.weight, label.size],
                   ['226px', '282px', 'rgb(255, 128, 128)', '700', '16px']);
  assert.match(label.family, /^"ＭＳ Ｐゴシック"/);
  assert.match(await page.title(), /^Ombrevale [0-9]+\.[0-9]+$/);
  await page.close();
});

// How many frames a second the page draws is measured by bench/web_measure.mjs; a test only asks
// that it goes on, which holds on a machine of any speed.
await check('the vision keeps drawing', async () => {
  const page = await open('/');
  await waitForFrames(page, 5);
  const before = await shown(page);
  await page.waitForFunction((n) => OmbrevalePage.test.shown >= n, { timeout: 20000 }, before + 50);
  const started = Date.now();
  await page.waitForFunction((n) => OmbrevalePage.test.shown >= n, { timeout: 20000 }, before + 100);
  results.push(`     (${(50000 / Math.max(1, Date.now() - started)).toFixed(1)} frames a second)`);
  await page.close();
});

await check('the version box opens by click and keyboard, freezes the vision, and closes by ' +
            'OK, Return, Space and Escape', async () => {
  const page = await open('/');
  await waitForFrames(page, 5);
  const boxOpen = () => page.evaluate(() => document.getElementById('box').open);
  const opened = async (how) => {
    await page.waitForFunction(() => document.getElementById('box').open, { timeout: 10000 });
    const text = await page.evaluate(() => [document.getElementById('box-title').textContent,
      document.getElementById('box-text').textContent]);
    assert.equal(text[0], 'Ombrevale', how);
    assert.match(text[1], /^ver [0-9.]+\nmade by the Ombrevale team\n2002\/5\/28$/, how);
    const frozen = await shown(page);
    await sleep(300);
    assert.equal(await shown(page), frozen, `the vision went on with the box open (${how})`);
  };
  const goesOn = async (how) => {
    await page.waitForFunction(() => !document.getElementById('box').open, { timeout: 10000 });
    const at = await shown(page);
    await page.waitForFunction((n) => OmbrevalePage.test.shown > n, { timeout: 10000 }, at + 3)
      .catch(() => assert.fail(`the vision stands still after ${how}`));
  };
  const [entry] = await page.$$('#menu button');
  assert.equal(await entry.evaluate((e) => e.textContent), 'Version');

  await entry.click();
  await opened('click');
  await page.keyboard.press('KeyQ');  // typed at the box: dropped
  await page.click('#box-ok');
  await goesOn('OK');

  await entry.focus();
  await page.keyboard.press('Enter');
  await opened('Return on the menu entry');
  await page.keyboard.press('Enter');
  await goesOn('Return');

  await page.focus('body');
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyV');
  await page.keyboard.up('Alt');
  await opened('Alt+V');
  await page.keyboard.press('Space');
  await goesOn('Space');

  await entry.click();
  await opened('click again');
  await page.keyboard.press('Escape');
  await goesOn('Escape');
  assert.equal(await page.evaluate(() => OmbrevalePage.test.boxes), 4);
  // Of all the keys pressed, only the Alt of Alt+V reached the window: not what was typed at the
  // box, not the keys that closed it, not Return on the menu entry.
  assert.deepEqual(await page.evaluate(() => OmbrevalePage.test.keys), [18]);
  assert.equal(await boxOpen(), false);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('keys arrive by their place with the desktop\'s codes', async () => {
  const page = await open('/');
  await waitForFrames(page, 2);
  await page.evaluate(() => document.activeElement.blur());
  const keys = [['KeyA', 65], ['KeyX', 88], ['Digit0', 48], ['Digit7', 55], ['Semicolon', 186],
    ['BracketLeft', 219], ['Quote', 222], ['Slash', 191], ['Numpad7', 103], ['NumpadAdd', 107],
    ['NumpadDecimal', 110], ['ArrowUp', 38], ['F5', 116], ['Escape', 27], ['Space', 32]];
  // F5 is the browser's: the page hears it, and the browser would still reload; the test only
  // presses keys it does not act on.
  for (const [code] of keys.filter(([c]) => c !== 'F5')) await page.keyboard.press(code);
  await page.waitForFunction((n) => OmbrevalePage.test.keys.length >= n, { timeout: 10000 },
                             keys.length - 1);
  assert.deepEqual(await page.evaluate(() => OmbrevalePage.test.keys),
                   keys.filter(([c]) => c !== 'F5').map(([, code]) => code));
  await page.close();
});

await check('a missing picture leaves its control empty: the vision runs without it, as the ' +
            'renderer does', async () => {
  const folder = path.join(work, 'without-noise');
  fs.mkdirSync(path.join(folder, 'dat'), { recursive: true });
  for (const name of fs.readdirSync('dat'))
    if (name !== 'noise.bmp') fs.copyFileSync(path.join('dat', name), path.join(folder, 'dat', name));
  const page = await open(`/missing/${kQuery}&record=30`);
  await expectSameFrames(page, nativeFrames(30, folder));
  assert.equal(await page.evaluate(() => document.getElementById('error').hidden), true);
  // The one failed request is the missing picture's.
  assert.deepEqual(page.problems.filter((p) => !p.includes('noise.bmp') &&
                                        !p.startsWith('console: Failed to load resource')), []);
  assert.equal(page.problems.filter((p) => p.startsWith('404: ')).length, 1);
  await page.close();
});

await check('a broken picture shows the error on the page and no vision', async () => {
  const page = await open(`/corrupt/${kQuery}`);
  await page.waitForFunction(() => !document.getElementById('error').hidden, { timeout: 10000 });
  const text = await page.evaluate(() => document.getElementById('error').innerText);
  assert.match(text, /^Ombrevale\s+dat\/face\.bmp: not a readable bitmap \(.+\)$/);
  await sleep(300);
  assert.equal(await shown(page), 0);
  assert.equal(await page.evaluate(() => document.getElementById('window').hidden), true);
  await page.close();
});

await check('reduced motion shows the first frame still, and a button that starts the vision',
            async () => {
  const page = await open('/?start=2026/12/07+06:38:05', { reducedMotion: true });
  await page.waitForSelector('#start:not([hidden])', { timeout: 10000 });
  await waitForFrames(page, 2);
  await sleep(400);
  // The first frame, shown once more with the clock its pass wrote, and nothing after it.
  assert.equal(await shown(page), 2);
  assert.equal(await page.evaluate(() => document.querySelector('.label').textContent),
               '2028/12/07 6:38:05');
  await page.click('#start');
  await waitForFrames(page, 10);
  assert.equal(await page.evaluate(() => document.getElementById('start').hidden), true);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await browser.close();
server.close();
fs.rmSync(work, { recursive: true, force: true });
console.log(results.join('\n'));
process.exit(results.some((r) => r.startsWith('FAIL')) ? 1 : 0);
