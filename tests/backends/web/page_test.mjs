// The web page in Debian's Chromium, headless: it loads cleanly, draws the same frames as the
// native renderer (from its worker, and on the page itself where a browser cannot draw from a
// worker), through the flash limit at the size a canvas pixel is seen at, keeps drawing, opens and closes its version box, takes keys with the desktop's codes,
// carries the program's sound to the page, copes with a missing and a broken picture, and stands
// still for a visitor who asks for less motion until the button, Return or Space starts it.
//
//   node tests/backends/web/page_test.mjs SITE_DIR RENDERER   (run from the repository root)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Checks, launch, readPng, sleep, watch } from './driver.mjs';
import { answerPictures, copyPictures, serve } from './serve.mjs';

const [siteDir, renderer] = process.argv.slice(2);
const kSeed = 6, kStart = '2026/12/07 6:38:00', kFrames = 100;
const kQuery = `?seed=${kSeed}&start=${encodeURIComponent(kStart).replace(/%20/g, '+')}`;
// The clock's label lies over the canvas from (224, 280) to the page's edge: fonts differ between
// the desktop and a browser, so it is left out of the comparison on both sides.
const inLabel = (x, y) => x >= 224 && y >= 280;

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-web-'));
// The site's pictures come in one archive. Under /missing/ it has no noise picture; under
// /corrupt/ its face picture is a file cut short; under /palette/ the face and the noise are
// pictures of 256 colours, which the browser decodes. Each is the dat/ folder of `work`'s folder
// of that name, archived by the system's tar. Under /test/ lies what a test wrote into `work`.
const variants = { missing: path.join(work, 'missing'), corrupt: path.join(work, 'corrupt'),
                   palette: path.join(work, 'palette') };
for (const folder of Object.values(variants)) copyPictures(folder);
fs.rmSync(path.join(variants.missing, 'dat', 'noise.bmp'));
fs.truncateSync(path.join(variants.corrupt, 'dat', 'face.bmp'), 200);
for (const name of ['face.bmp', 'noise.bmp']) {
  const file = path.join(variants.palette, 'dat', name);
  execFileSync('convert', [file, '-colors', '256', '-type', 'Palette', `BMP3:${file}`]);
}
const server = await serve(siteDir, 0, (url, response) => {
  if (url.startsWith('/test/')) {
    const file = path.join(work, url.slice(6));
    if (fs.existsSync(file)) response.writeHead(200).end(fs.readFileSync(file));
    else response.writeHead(404).end();
    return true;
  }
  // Under /octet/ the host calls the program plain bytes, not WebAssembly.
  if (url === '/octet/ombrevale.wasm') {
    response.writeHead(200, { 'Content-Type': 'application/octet-stream' })
      .end(fs.readFileSync(path.join(siteDir, 'ombrevale.wasm')));
    return true;
  }
  if (url.startsWith('/octet/')) return url.slice(6);
  const match = url.match(/^\/(missing|corrupt|palette)(\/.*)$/);
  if (!match) return false;
  const [, variant, file] = match;
  if (file !== '/pictures.tar.gz') return file;
  answerPictures(response, variants[variant]);
  return true;
});
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await launch({ args: ['--window-size=900,700'] });
const checks = new Checks();
const check = (name, body) => checks.check(name, body);

// A page of the site, with what went wrong on it recorded. `before` runs in the page before its
// own scripts do; `viewport` is the browser window's, in CSS pixels, with its devicePixelRatio;
// `watching` is handed the page before it loads.
async function open(url, { reducedMotion = false, before = null,
                           viewport = { width: 900, height: 700 }, watching = () => {} } = {}) {
  const page = watch(await browser.newPage());
  // The console's warnings, the program's worker's among them.
  page.warnings = [];
  page.on('console', (m) => { if (m.type() === 'warn') page.warnings.push(m.text()); });
  watching(page);
  if (reducedMotion)
    await page.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
  if (before) await page.evaluateOnNewDocument(before);
  await page.setViewport(viewport);
  await page.goto(origin + url, { waitUntil: 'load' });
  return page;
}

const shown = (page) => page.evaluate(() => OmbrevalePage.test.shown);
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

// The window the pages open in, 900 x 700 at a devicePixelRatio of 1, shows the page at twice its
// size: its frames pass through the flash limit seen at 2x.
const kSeenAt2x = ['--scale', '2'];

// The native renderer's frames for the seed and start, as RGB bytes, run in `folder` (its dat/),
// seen as its `options` say (--scale S, --no-flash-limit).
function nativeFrames(frames, folder, options = kSeenAt2x) {
  const out = path.join(work, `native-${path.basename(folder)}${options.join('')}`);
  execFileSync(path.resolve(renderer), ['--seed', String(kSeed), '--start', kStart, '--frames',
    String(frames), ...options, '--out', out], { cwd: folder });
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

let native = [];  // the renderer's frames, once the first check has made them
await check('the page loads with no console error and no failed request, and draws the ' +
            'native renderer\'s frames pixel for pixel', async () => {
  const page = await open(`/${kQuery}&record=${kFrames}`);
  native = nativeFrames(kFrames, '.');
  await expectSameFrames(page, native);
  assert.equal(await page.evaluate(() => OmbrevalePage.test.shownScale), 2);
  assert.deepEqual(page.problems, []);
  assert.equal(await page.evaluate(() => OmbrevalePage.test.inWorker), true,
               'the program runs in a worker of the page');
  assert.deepEqual(await page.workers()[0].evaluate(() => performance.getEntriesByType('resource')
    .map((e) => e.name)), [], 'the worker fetched what the page had fetched for it');
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

await check('where a browser cannot draw from a worker, the program runs on the page itself and ' +
            'draws the same frames', async () => {
  const page = await open(`/${kQuery}&record=30`,
                          { before: () => { delete HTMLCanvasElement.prototype.transferControlToOffscreen; } });
  await expectSameFrames(page, native.slice(0, 30));
  assert.equal(await page.evaluate(() => OmbrevalePage.test.inWorker), false);
  assert.match(await page.title(), /^Ombrevale [0-9]+\.[0-9]+$/);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('a browser that cannot inflate a stream fetches the pictures\' archive as it is, and ' +
            'draws the same frames', async () => {
  const page = await open(`/${kQuery}&record=10`, { before: () => {
    delete HTMLCanvasElement.prototype.transferControlToOffscreen;
    delete globalThis.DecompressionStream;
  } });
  await expectSameFrames(page, native.slice(0, 10));
  const fetched = await page.evaluate(() => performance.getEntriesByType('resource')
    .map((e) => new URL(e.name).pathname).filter((name) => name.startsWith('/pictures')));
  assert.deepEqual(fetched, ['/pictures.tar']);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('where the page cannot compile the program as it arrives (the host does not call it ' +
            'WebAssembly), the worker fetches it itself and draws the same frames', async () => {
  const page = await open(`/octet/${kQuery}&record=10`);
  await expectSameFrames(page, native.slice(0, 10));
  assert.equal(await page.evaluate(() => OmbrevalePage.test.inWorker), true);
  const asked = page.workers()[0].evaluate(() => performance.getEntriesByType('resource')
    .map((e) => new URL(e.name).pathname));
  assert.deepEqual(await asked, ['/octet/ombrevale.wasm']);
  assert.deepEqual(page.problems, []);
  await page.close();
});

// The flash limit works at the size a canvas pixel is seen, in CSS pixels: the page's factor in
// device pixels over the devicePixelRatio.
const kLimitOff = 'ombrevale: the flash limit is off: the vision may flash past the safe limit';
await check('in a window large enough for four times the page, the page draws the renderer\'s ' +
            'frames seen at 4x; with ?flash-limit=off the vision as designed, and the console ' +
            'says so once', async () => {
  const large = { width: 1700, height: 1400 };
  const page = await open(`/${kQuery}&record=60`, { viewport: large });
  await expectSameFrames(page, nativeFrames(60, '.', ['--scale', '4']));
  assert.deepEqual(await page.evaluate(() => [OmbrevalePage.test.scale, OmbrevalePage.test.shownScale]),
                   [4, 4]);
  assert.deepEqual(page.problems, []);
  await page.close();

  const said = [];
  const off = await open(`/${kQuery}&record=60&flash-limit=off`, {
    viewport: large, watching: (p) => p.on('console', (m) => said.push(m.text())) });
  await expectSameFrames(off, nativeFrames(60, '.', ['--scale', '4', '--no-flash-limit']));
  assert.deepEqual(said.filter((text) => text.includes('flash limit')), [kLimitOff]);
  assert.deepEqual(off.problems, []);
  await off.close();
});

await check('at a devicePixelRatio of 2, the page at four times its size in device pixels draws ' +
            'the frames seen at 2x', async () => {
  const page = await open(`/${kQuery}&record=40`,
                          { viewport: { width: 900, height: 700, deviceScaleFactor: 2 } });
  await expectSameFrames(page, nativeFrames(40, '.', ['--scale', '2']));
  assert.deepEqual(await page.evaluate(() => [OmbrevalePage.test.scale, OmbrevalePage.test.shownScale]),
                   [4, 2]);
  assert.deepEqual(page.problems, []);
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
  checks.note(`${(50000 / Math.max(1, Date.now() - started)).toFixed(1)} frames a second`);
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
  // The window's colours are the program's (platform/Palette.h): the menu strip in the button
  // face, the box's title bar in the active caption's colour.
  const colour = (selector, property) =>
    page.evaluate((q, p) => getComputedStyle(document.querySelector(q))[p], selector, property);
  assert.equal(await colour('#strip', 'backgroundColor'), 'rgb(212, 208, 200)');
  assert.equal(await colour('#box h1', 'backgroundColor'), 'rgb(0, 0, 128)');
  assert.equal(await colour('#box h1', 'color'), 'rgb(255, 255, 255)');

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

// A wave of `seconds` of a quiet tone, 8-bit mono at 8000 samples a second.
function wave(seconds) {
  const samples = Math.round(8000 * seconds);
  const file = Buffer.alloc(44 + samples);
  file.write('RIFF', 0);
  file.writeUInt32LE(36 + samples, 4);
  file.write('WAVEfmt ', 8);
  file.writeUInt32LE(16, 16);
  file.writeUInt16LE(1, 20);  // plain samples
  file.writeUInt16LE(1, 22);  // one channel
  file.writeUInt32LE(8000, 24);
  file.writeUInt32LE(8000, 28);
  file.writeUInt16LE(1, 32);
  file.writeUInt16LE(8, 34);
  file.write('data', 36);
  file.writeUInt32LE(samples, 40);
  for (let i = 0; i < samples; ++i) file[44 + i] = 128 + Math.round(20 * Math.sin(i / 4));
  return file;
}

await check('the program\'s sound calls reach the page\'s Web Audio from its worker, with their ' +
            'answers, and the end of a wave comes back', async () => {
  fs.writeFileSync(path.join(work, 'tone.wav'), wave(0.3));
  const page = await open('/');
  await waitForFrames(page, 2);
  await page.mouse.click(5, 5);  // the visitor's first touch lets the page sound
  const [worker] = page.workers();
  const played = await worker.evaluate(async () => {
    const missing = await OmbrevaleAudio.play('test/nothing-here.wav', false);
    const status = await OmbrevaleAudio.play('test/tone.wav', false);
    const playing = OmbrevaleAudio.playing();
    await OmbrevaleAudio.ended();
    return { missing, status, playing, after: OmbrevaleAudio.playing(),
             known: OMBREVALE_FACTS.mci.fileMissing };
  });
  assert.deepEqual(played, { missing: played.known, status: 0, playing: true, after: false,
                             known: 305 });
  // The music's synthesiser answers the same way, with what its function resolved to.
  assert.deepEqual(await worker.evaluate(() => OmbrevaleMusic.fetchPiece('test/nothing-here.mid')),
                   { status: 305 });
  assert.deepEqual(page.problems.filter((p) => !p.includes('nothing-here.') &&
                                        !p.startsWith('console: Failed to load resource')), []);
  await page.close();
});

await check('a missing picture leaves its control empty: the vision runs without it, as the ' +
            'renderer does', async () => {
  const page = await open(`/missing/${kQuery}&record=30`);
  await expectSameFrames(page, nativeFrames(30, variants.missing));
  assert.equal(await page.evaluate(() => document.getElementById('error').hidden), true);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('a picture the program leaves to the browser\'s decoder (of 256 colours) shows as the ' +
            'renderer shows it', async () => {
  const page = await open(`/palette/${kQuery}&record=30`);
  await expectSameFrames(page, nativeFrames(30, variants.palette));
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('a broken picture shows the error on the page and no vision', async () => {
  const page = await open(`/corrupt/${kQuery}`);
  await page.waitForFunction(() => !document.getElementById('error').hidden, { timeout: 10000 });
  const text = await page.evaluate(() => document.getElementById('error').innerText);
  // Beneath it, the offer of the session's last minute as a replay.
  assert.match(text, /^Ombrevale\s+dat\/face\.bmp: not a readable bitmap \(.+\)\s+Save the last minute as a replay$/);
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

await check('Return starts the still vision too, as a key the window takes, and the prompt says so',
            async () => {
  const page = await open('/?start=2026/12/07+06:38:05', { reducedMotion: true });
  await page.waitForSelector('#start:not([hidden])', { timeout: 10000 });
  assert.deepEqual(await page.evaluate(() => [document.getElementById('start').textContent,
                                              document.getElementById('note').textContent]),
                   ['Start the vision', 'Return or Space starts it too']);
  await waitForFrames(page, 2);
  await page.keyboard.press('Enter');
  await waitForFrames(page, 10);
  assert.equal(await page.evaluate(() => document.getElementById('prompt').hidden), true);
  assert.deepEqual(await page.evaluate(() => OmbrevalePage.test.keys), [13]);
  // The note about the vision, from the menu strip.
  await page.click('#about-open');
  assert.match(await page.evaluate(() => document.getElementById('about').open &&
                                          document.getElementById('about-text').textContent),
               /flashes[^]*reduce motion/);
  await page.keyboard.press('Escape');
  assert.equal(await page.evaluate(() => document.getElementById('about').open), false);
  // The address asks for the same calm start (?calm=1), and Space starts it as well.
  const asked = await open('/?calm=1');
  await asked.waitForSelector('#start:not([hidden])', { timeout: 10000 });
  await waitForFrames(asked, 2);
  await asked.keyboard.press('Space');
  await waitForFrames(asked, 10);
  assert.deepEqual([...page.problems, ...asked.problems], []);
  await page.close();
  await asked.close();
});

await check('an address value the program cannot take is one console warning that names it and ' +
            'what is used instead, and the page runs without it', async () => {
  const page = await open('/?scale=9&start=garbage&seed=abc');
  await waitForFrames(page, 5);
  const said = (name) => page.warnings.filter((w) => w.startsWith(`ombrevale: the address's ${name} `));
  assert.deepEqual(said('scale'), ['ombrevale: the address\'s scale \'9\' is not a whole number ' +
    'from 1 to 8; the page takes the largest factor that fits the window.']);
  assert.equal(said('start').length, 1);
  assert.match(said('start')[0], /'garbage'.*the clock starts from the present/);
  assert.equal(said('seed').length, 1);
  // 900 x 700 holds the page twice.
  assert.equal(await page.evaluate(() => OmbrevalePage.test.scale), 2);
  assert.deepEqual(page.problems, []);
  // Values it takes say nothing.
  const good = await open(`/${kQuery}&scale=1`);
  await waitForFrames(good, 2);
  assert.deepEqual(good.warnings.filter((w) => w.startsWith('ombrevale:')), []);
  await page.close();
  await good.close();
});

await check('the calm start\'s prompt stands on a panel of its own, the vision hidden behind its ' +
            'words; the note on the vision, closed with Return, leaves Return to start the vision',
            async () => {
  const page = await open('/?calm=1');
  await page.waitForSelector('#start:not([hidden])', { timeout: 10000 });
  await waitForFrames(page, 2);
  // Under the line and the link, only their ink on the panel's face: every pixel a shade between
  // black and the face, none of the vision's colours.
  const face = [212, 208, 200];
  for (const selector of ['#note', '#about-link']) {
    const clip = await page.$eval(selector, (e) => {
      const r = e.getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height };
    });
    const file = path.join(work, 'prompt.png');
    await page.screenshot({ path: file, clip });
    const { rgb } = readPng(file);
    for (let i = 0; i < rgb.length; i += 3) {
      const t = rgb[i] / face[0];
      const off = Math.max(Math.abs(rgb[i + 1] - t * face[1]), Math.abs(rgb[i + 2] - t * face[2]));
      assert.ok(off <= 12, `${selector}: a pixel of ${[...rgb.subarray(i, i + 3)]} shows through`);
    }
  }
  await page.click('#about-link');
  await page.waitForFunction(() => document.getElementById('about').open, { timeout: 10000 });
  await page.keyboard.press('Enter');  // its OK button, focused as it opens
  // Closed, and its close handled (the event follows the closing by a task): the focus has left
  // the link that opened it.
  await page.waitForFunction(() => !document.getElementById('about').open &&
                                   document.activeElement.id !== 'about-link', { timeout: 10000 });
  await page.keyboard.press('Enter');
  assert.equal(await page.evaluate(() => document.getElementById('about').open), false,
               'Return opened the note again');
  await waitForFrames(page, 10);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('in a browser\'s window smaller than the page, the wheel scrolls the page to its ' +
            'buttons and its clock; in one that holds it, nothing scrolls', async () => {
  const page = await open('/');
  await waitForFrames(page, 2);
  const scrolled = () => page.$eval('#stage', (e) => [e.scrollLeft, e.scrollTop]);
  await page.mouse.move(450, 350);
  await page.mouse.wheel({ deltaX: 400, deltaY: 400 });
  await sleep(500);
  assert.deepEqual(await scrolled(), [0, 0], 'a page that fits scrolled');

  await page.setViewport({ width: 300, height: 200 });
  await page.waitForFunction(() => OmbrevalePage.test.scale === 1, { timeout: 10000 });
  // What lies at the middle of the element is the element itself: in view, not covered or cut.
  const reachable = (selector) => page.$eval(selector, (e) => {
    const r = e.getBoundingClientRect();
    const there = document.elementFromPoint(r.x + r.width / 2, r.y + r.height / 2);
    return there !== null && (e === there || e.contains(there));
  });
  assert.equal(await reachable('#fullscreen'), false, 'the page does not reach past the window');
  await page.mouse.move(100, 100);
  await page.mouse.wheel({ deltaX: 1000 });
  await page.waitForFunction(() => {
    const e = document.getElementById('stage');
    return e.scrollLeft > 0 && e.scrollLeft >= e.scrollWidth - e.clientWidth - 1;
  }, { timeout: 10000 });
  assert.equal(await reachable('#fullscreen'), true, 'the fullscreen button stays out of reach');
  assert.equal(await reachable('#about-open'), true, 'the note\'s button stays out of reach');
  await page.mouse.wheel({ deltaY: 1000 });
  await page.waitForFunction(() => {
    const e = document.getElementById('stage');
    return e.scrollTop > 0 && e.scrollTop >= e.scrollHeight - e.clientHeight - 1;
  }, { timeout: 10000 });
  // The clock lets the pointer through to the vision: it is reached when what the page shows of it
  // lies in view.
  const clock = await page.$eval('.label', (e) => {
    const r = e.getBoundingClientRect(), stage = document.getElementById('stage');
    const bottom = Math.min(r.bottom, document.getElementById('page').getBoundingClientRect().bottom);
    return r.top >= 0 && bottom <= stage.clientHeight && r.left < stage.clientWidth;
  });
  assert.ok(clock, 'the clock stays out of view');
  assert.deepEqual(page.problems, []);
  await page.close();
});

// The page as a screen reader finds it, from Chromium's accessibility tree: one line a node.
function describe(node, depth = 0) {
  const states = ['focused', 'modal'].filter((state) => node[state]);
  let line = `${'  '.repeat(depth)}[${node.role}] "${node.name || ''}"`;
  if (node.description) line += ` (${node.description})`;
  if (states.length) line += ` {${states.join(', ')}}`;
  return [line, ...(node.children || []).flatMap((child) => describe(child, depth + 1))];
}
const find = (node, match) =>
  match(node) ? node : (node.children || []).map((c) => find(c, match)).find(Boolean);

await check('a screen reader finds the window, its menu, the vision, the clock as a timer that is ' +
            'not live, the calm start\'s button with its hint, and the box as a dialog', async () => {
  const page = await open('/?start=2026/12/07+06:38:05', { reducedMotion: true });
  await page.waitForSelector('#start:not([hidden])', { timeout: 10000 });
  await waitForFrames(page, 2);
  const tree = await page.accessibility.snapshot();
  console.log(`--- the calm start, as Chromium's accessibility tree has it:\n${describe(tree).join('\n')}`);
  const product = 'Ombrevale';
  const version = await page.evaluate(() => OMBREVALE_FACTS.version);
  assert.equal(tree.name, `${product} ${version}`);
  const menubar = find(tree, (n) => n.role === 'menubar');
  assert.deepEqual(menubar.children.map((n) => [n.role, n.name]), [['menuitem', 'Version']]);
  assert.ok(find(tree, (n) => n.role === 'image' && n.name === 'The title vision'));
  const start = find(tree, (n) => n.role === 'button' && n.name === 'Start the vision');
  assert.equal(start.description, 'Return or Space starts it too');
  // The clock: a timer whose text is the caption shown, and a live region that is off. The
  // reader's short tree folds the timer into its text; the whole tree keeps it.
  const whole = await page.accessibility.snapshot({ interestingOnly: false });
  const timer = find(whole, (n) => n.role === 'timer');
  assert.ok(timer, 'no timer in the tree');
  const texts = (node) => [node.role === 'StaticText' ? node.name : '',
                           ...(node.children || []).map(texts)].join('');
  assert.equal(texts(timer), '2028/12/07 6:38:05');
  const cdp = await page.createCDPSession();
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  const live = nodes.filter((n) => (n.properties || []).some((p) => p.name === 'live'))
    .map((n) => [n.role.value, n.properties.find((p) => p.name === 'live').value.value]);
  // Nothing on the page is announced as it changes: no live region but one that is off (which
  // Chromium leaves out of its tree), the clock's.
  assert.deepEqual(live.filter(([, value]) => value !== 'off'), []);
  assert.equal(await page.$eval('#labels .label', (e) => e.getAttribute('aria-live')), 'off');

  // The box, opened from the menu: a modal dialog titled as the box, its text, its button focused.
  await page.keyboard.press('Enter');
  await waitForFrames(page, 5);
  await page.click('#menu [role=menuitem]');
  await page.waitForFunction(() => document.getElementById('box').open, { timeout: 5000 });
  const boxTree = await page.accessibility.snapshot();
  console.log(`--- the version box:\n${describe(boxTree).join('\n')}`);
  const dialog = find(boxTree, (n) => n.role === 'dialog');
  assert.equal(dialog.name, product);
  assert.equal(dialog.modal, true);
  // Its three lines are its text, and what it says of itself as it opens.
  const lines = find(dialog, (n) => n.role === 'StaticText' && n.name.startsWith('ver ')).name
    .split('\n');
  assert.deepEqual(lines.map((line, i) => (i === 1 ? line.slice(0, 8) : line)),
                   [`ver ${version}`, 'made by ', '2002/5/28']);
  assert.equal(dialog.description, lines.join(' '));
  const ok = find(dialog, (n) => n.role === 'button');
  assert.deepEqual([ok.name, ok.focused], ['OK', true]);
  await page.keyboard.press('Enter');
  assert.equal(await page.evaluate(() => document.getElementById('box').open), false);
  // Closed, it gives the focus back to what had it, the menu's entry.
  const after = await page.accessibility.snapshot();
  const focused = find(after, (n) => n.focused);
  assert.deepEqual(focused && [focused.role, focused.name], ['menuitem', 'Version']);
  assert.deepEqual(page.problems, []);
  await cdp.detach();
  await page.close();
});

await browser.close();
server.close();
fs.rmSync(work, { recursive: true, force: true });
process.exit(checks.report());
