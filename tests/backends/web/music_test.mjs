// The music channel on the web page, in Debian's Chromium, headless: a piece opens, plays, sounds
// and ends as on the desktop, with the length the desktop's SMF reader gives it; the game's own
// PlayMusic loops a piece or closes it at its end; a missing or broken file and a soundfont that
// cannot be had answer as on a machine without them; the console's commands wait for the version
// box; and before the visitor's first gesture a piece plays in silence on the program's clock and
// sounds from where that clock has reached at the first click. The program runs in a worker of the
// page, and, where a browser cannot draw from one, on the page itself: its music is the same.
//
//   node tests/backends/web/music_test.mjs SITE_DIR   (run from the repository root)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { Checks, launch as launchBrowser, sleep } from './driver.mjs';
import { serve } from './serve.mjs';

const [siteDir] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-music-'));

// Standard MIDI files written here: each track a list of [delta, ...event bytes], ended for it.
function vlq(n) {
  const out = [n & 0x7f];
  while ((n >>= 7)) out.unshift((n & 0x7f) | 0x80);
  return out;
}
function smf(format, division, tracks) {
  const u32 = (n) => [n >>> 24, (n >> 16) & 255, (n >> 8) & 255, n & 255];
  const bytes = [...Buffer.from('MThd'), ...u32(6), 0, format, 0, tracks.length, division >> 8,
    division & 255];
  for (const events of tracks) {
    const body = events.concat([[0, 0xff, 0x2f, 0]])
      .flatMap(([delta, ...event]) => [...vlq(delta), ...event]);
    bytes.push(...Buffer.from('MTrk'), ...u32(body.length), ...body);
  }
  return Buffer.from(bytes);
}
// The same file with three bytes more in its header, which a reader skips.
const longHeader = (file) => Buffer.concat([file.subarray(0, 7), Buffer.from([9]),
  file.subarray(8, 14), Buffer.alloc(3), file.subarray(14)]);
const tempo = (delta, us) => [delta, 0xff, 0x51, 3, us >> 16, (us >> 8) & 255, us & 255];
// `count` notes of `ticks` each, one after the other, on a piano.
const melody = (count, ticks) => [[0, 0xc0, 0]].concat(Array.from({ length: count }, (_, i) =>
  [[0, 0x90, 60 + (i % 12), 100], [ticks, 0x80, 60 + (i % 12), 0]]).flat());
const pieces = {
  // Two tracks; the tempo doubles after a second (running status on the way): 1.5 seconds.
  'tune.mid': smf(1, 480, [[tempo(0, 500000), tempo(960, 250000)],
    [[0, 0xc0, 0], [0, 0x90, 60, 100], [480, 60, 0], [0, 64, 100], [480, 0x80, 64, 0],
     [0, 0x90, 67, 100], [480, 0x80, 67, 0], [0, 0x90, 72, 100], [480, 0x80, 72, 0]]]),
  'loop.mid': smf(0, 480, [melody(2, 480)]),   // one second
  // 150 beats a minute, 200 from 0.8 s on, a note every half beat: 7.4 seconds.
  'long.mid': smf(1, 480, [[tempo(0, 400000), tempo(960, 300000)], melody(48, 240)]),
  // What FluidSynth cannot read as it is: SMPTE timing (25 frames of 40 ticks, 1000 ticks a
  // second), a header of nine bytes, an escape, running status after a meta event. 1.5 seconds.
  'odd.mid': longHeader(smf(0, 0xe728, [[[0, 0xf7, 1, 0xfe], [0, 0xc0, 0], [0, 0x90, 60, 100],
    [0, 0xff, 1, 1, 0x61], [1000, 60, 0], [0, 0x90, 64, 100], [500, 0x80, 64, 0]]])),
  'broken.mid': Buffer.concat([Buffer.from('MThd'), Buffer.from([0, 0, 0, 6, 0, 0, 0, 1, 1])]),
  'text.mid': Buffer.from('not a piece of music\n'),
};
for (const [name, bytes] of Object.entries(pieces)) fs.writeFileSync(path.join(work, name), bytes);

// The desktop's length of each piece: its own SMF reader, built here as a small program.
fs.writeFileSync(path.join(work, 'length.cpp'), `
#include <cmath>
#include <cstdio>
#include <vector>
#include "platform/midi/Smf.h"
int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::vector<uint8_t> bytes;
    ombrevale::ReadSmallFile(argv[i], bytes);
    const ombrevale::SmfInfo info = ombrevale::ReadSmf(bytes);
    const double ms = info.ok ? std::ceil(info.seconds * 1000.0) : -1.0;
    std::printf("%.0f\\n", ms);
  }
}`);
execFileSync('g++', ['-std=c++20', '-O1', '-I.', path.join(work, 'length.cpp'),
  'platform/midi/Smf.cpp', 'platform/midi/TempoMap.cpp', 'platform/files/RegularFile.cpp', '-o',
  path.join(work, 'length')]);
const desktopLength = Object.fromEntries(['tune.mid', 'loop.mid', 'long.mid', 'odd.mid'].map(
  (name) => [name, Number(execFileSync(path.join(work, 'length'), [path.join(work, name)]))]));
assert.deepEqual(desktopLength,
                 { 'tune.mid': 1500, 'loop.mid': 1000, 'long.mid': 7400, 'odd.mid': 1500 });
// Where long.mid stands `ms` into it, in ticks.
const longTick = (ms) => (ms <= 800 ? (ms * 480) / 400 : 960 + ((ms - 800) * 480) / 300);

// The pieces are served under test/; under nosoundfont/ the site has no soundfont, under
// badsoundfont/ its soundfont is a gzip stream of what is no soundfont, and under nosynth/ and
// badsynth/ the synthesiser's WebAssembly is missing, or is no WebAssembly.
const server = await serve(siteDir, 0, (url, response) => {
  const [, variant = '', file] =
    url.match(/^\/(?:(nosoundfont|badsoundfont|nosynth|badsynth)\/)?(.*)$/);
  if (file.startsWith('test/')) {
    const name = file.slice(5);
    if (!pieces[name]) response.writeHead(404).end();
    else response.writeHead(200, { 'Content-Type': 'audio/midi' }).end(pieces[name]);
  } else if (variant === 'nosoundfont' && file === 'sound/TimGM6mb.sf2.gz') {
    response.writeHead(404).end();
  } else if (variant === 'badsoundfont' && file === 'sound/TimGM6mb.sf2.gz') {
    response.writeHead(200).end(zlib.gzipSync(Buffer.alloc(70000, 'RIFF not sfbk ')));
  } else if (variant === 'nosynth' && file.endsWith('.wasm') && file.startsWith('music/')) {
    response.writeHead(404).end();
  } else if (variant === 'badsynth' && file.endsWith('.wasm') && file.startsWith('music/')) {
    response.writeHead(200, { 'Content-Type': 'application/wasm' }).end(Buffer.alloc(5000, 7));
  } else {
    return `/${file}`;
  }
  return true;
});
const origin = `http://127.0.0.1:${server.address().port}`;
const launch = (policy) => launchBrowser({ args: [`--autoplay-policy=${policy}`] });
// Most checks in a browser that lets the page sound at once; the first gesture in one that waits.
const browser = await launch('no-user-gesture-required');
const strictBrowser = await launch('document-user-activation-required');

const checks = new Checks();
const check = (name, body) => checks.check(name, body);

// Waits for a condition, asked again and again, for at most `seconds`.
async function until(what, condition, seconds = 20) {
  const end = Date.now() + seconds * 1000;
  while (!(await condition())) {
    if (Date.now() > end) assert.fail(`waited ${seconds} s for ${what}`);
    await sleep(100);
  }
}

// A page of the site with its vision running, what went wrong on it and its warnings recorded.
// `run` evaluates in the page; with `gesture` false it does so as no visitor's gesture would.
// `before` runs in the page before its own scripts.
async function open(url, { on = browser, gesture = true, before = null } = {}) {
  const page = await on.newPage();
  if (before) await page.evaluateOnNewDocument(before);
  page.problems = [];
  page.warnings = [];
  page.on('console', (m) => {
    if (m.type() === 'error' && !m.text().startsWith('Failed to load resource'))
      page.problems.push(`console: ${m.text()}`);
    if (m.type() === 'warn') page.warnings.push(m.text());
  });
  page.on('pageerror', (e) => page.problems.push(`page error: ${e.message}`));
  // The soundfont as the page asks for it, whether the site's service worker or the server answers.
  page.soundfontAsked = 0;
  page.on('request', (r) => { if (r.url().endsWith('/sound/TimGM6mb.sf2.gz')) ++page.soundfontAsked; });
  const session = await page.createCDPSession();
  page.run = async (expression) => {
    if (gesture) return page.evaluate(expression);
    const answer = await session.send('Runtime.evaluate',
      { expression, awaitPromise: true, returnByValue: true, userGesture: false });
    if (answer.exceptionDetails) throw new Error(answer.exceptionDetails.exception.description);
    return answer.result.value;
  };
  page.mci = (command) => page.run(`OmbrevalePage.mci(${JSON.stringify(command)})`);
  page.mode = async (alias) => (await page.mci(`status ${alias} mode`)).reply;
  page.shown = () => page.run('OmbrevalePage.test.shown');
  await page.goto(origin + url, { waitUntil: 'load' });
  await until('the vision', async () => (await page.shown()) >= 3);
  return page;
}

// Listens to the synthesiser's output: the loudest sample of the last 2048 it gave.
async function listen(page) {
  await page.run(`(() => {
    const analyser = OmbrevaleMusic.output.context.createAnalyser();
    analyser.fftSize = 2048;
    OmbrevaleMusic.output.connect(analyser);
    window.loudest = () => {
      const samples = new Float32Array(analyser.fftSize);
      analyser.getFloatTimeDomainData(samples);
      return samples.reduce((most, v) => Math.max(most, Math.abs(v)), 0);
    };
  })()`);
  return () => page.run('loudest()');
}

// Plays the piece under `alias`: when the play was asked, on the page's clock.
async function play(page, alias) {
  const asked = await page.run(`(async () => {
    const at = performance.now();
    const { status } = await OmbrevalePage.mci('play ${alias}');
    return status === 0 ? at : -1;
  })()`);
  assert.ok(asked >= 0, 'play failed');
  return asked;
}
// The piece stopped, as it is now: not before its length after the play was asked.
async function stoppedAfter(page, asked, lengthMs) {
  const ended = await page.run('performance.now()');
  assert.ok(ended - asked >= lengthMs, `stopped ${ended - asked} ms after play, before its length`);
}

await check('a piece opens, plays and sounds; its length is the desktop\'s, the synthesiser\'s ' +
            'position advances, it pauses and resumes, and it stops at its end', async () => {
  const page = await open('/');
  assert.equal(await page.run('OmbrevalePage.test.inWorker'), true, 'the program runs in a worker');
  assert.deepEqual(await page.mci('open "test/tune.mid" type sequencer alias tune'),
                   { status: 0, reply: '1' });
  assert.deepEqual(await page.run('OmbrevaleMusic.held()'),
                   [{ path: 'test/tune.mid', lengthMs: desktopLength['tune.mid'] }]);
  const loudest = await listen(page);
  const asked = await play(page, 'tune');
  assert.equal(await page.mode('tune'), 'playing');
  await until('sound from the synthesiser', async () => (await loudest()) > 0.01);
  const position = await page.run('OmbrevaleMusic.position()');
  await until('the position to advance', async () =>
    (await page.run('OmbrevaleMusic.position()')) > position + 100);
  await until('the end of the piece', async () => (await page.mode('tune')) === 'stopped');
  await stoppedAfter(page, asked, desktopLength['tune.mid']);

  assert.equal((await page.mci('play tune from 0')).status, 0);
  await until('the second start', async () => (await page.mode('tune')) === 'playing' &&
    (await page.run('OmbrevaleMusic.position()')) > 0);
  // The first start's end, arriving late, is not the second's.
  await page.run('OmbrevalePage.callProgram("OmbrevaleMusicEnded", null, ["number"], [1])');
  assert.equal(await page.mode('tune'), 'playing', 'an old start\'s end stopped the new one');
  assert.equal((await page.mci('pause tune')).status, 0);
  assert.equal(await page.mode('tune'), 'paused');
  const held = await page.run('OmbrevaleMusic.position()');
  await sleep(300);
  assert.equal(await page.run('OmbrevaleMusic.position()'), held, 'the synthesiser went on');
  assert.equal((await page.mci('resume tune')).status, 0);
  assert.equal(await page.mode('tune'), 'playing');
  await until('the position to advance again', async () =>
    (await page.run('OmbrevaleMusic.position()')) > held);
  assert.deepEqual(await page.mci('close tune'), { status: 0, reply: '' });
  assert.deepEqual(await page.run('OmbrevaleMusic.held()'), []);
  assert.equal((await page.mci('status tune mode')).status, 303);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('a file the synthesiser cannot read as it is (SMPTE timing, a long header, an escape, ' +
            'running status after a meta event) sounds for its length, as the program reads it',
            async () => {
  const page = await open('/');
  assert.equal((await page.mci('open "test/odd.mid" alias odd')).status, 0);
  assert.deepEqual(await page.run('OmbrevaleMusic.held()'),
                   [{ path: 'test/odd.mid', lengthMs: desktopLength['odd.mid'] }]);
  const loudest = await listen(page);
  const asked = await play(page, 'odd');
  await until('sound from the synthesiser', async () => (await loudest()) > 0.01);
  // The second note begins a second in: the synthesiser is still on the piece there.
  await until('the synthesiser a second into the piece', async () =>
    (await page.run('OmbrevaleMusic.position()')) > 1000);
  await until('the end of the piece', async () => (await page.mode('odd')) === 'stopped');
  await stoppedAfter(page, asked, desktopLength['odd.mid']);
  assert.deepEqual(page.problems, []);
  assert.deepEqual(page.warnings, []);
  await page.close();
});

await check('the game\'s own PlayMusic loops a piece at its end, and closes one that does not ' +
            'loop', async () => {
  const page = await open('/');
  assert.equal(await page.run('OmbrevalePage.playMusic("test/loop.mid", true)'), 0);
  await until('slot 0 to start the piece twice more', async () =>
    (await page.run('OmbrevaleMusic.test.starts')) >= 3, 30);
  assert.equal(await page.mode('m1'), 'playing');
  assert.equal((await page.run('OmbrevaleMusic.held()')).length, 1, 'one piece, started again');

  assert.equal(await page.run('OmbrevalePage.playMusic("test/loop.mid", false)'), 0);
  const starts = await page.run('OmbrevaleMusic.test.starts');
  await until('slot 0 to close the piece', async () =>
    (await page.mci('status m1 mode')).status === 303, 30);
  assert.deepEqual(await page.run('OmbrevaleMusic.held()'), []);
  assert.equal(await page.run('OmbrevaleMusic.test.starts'), starts, 'it was started again');
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('the README\'s console commands answer as it says, with the piece the site carries',
            async () => {
  // Each `await OmbrevalePage.mci('...')` of the README, with the answer its comment gives.
  const examples = [...fs.readFileSync('README.md', 'utf8').matchAll(
    /^await OmbrevalePage\.mci\('([^']*)'\) *\/\/ *(\{.*\})$/gm)];
  assert.ok(examples.length >= 2, 'the README shows no console commands with their answers');
  const page = await open('/');
  for (const [, command, answer] of examples) {
    const expected = Function(`return (${answer});`)();
    assert.deepEqual(await page.mci(command), expected, command);
  }
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('where the program runs on the page itself, not in a worker, a piece sounds, loops ' +
            'and closes the same way', async () => {
  const page = await open('/', { before: () => {
    delete HTMLCanvasElement.prototype.transferControlToOffscreen;
  } });
  assert.equal(await page.run('OmbrevalePage.test.inWorker'), false);
  assert.equal((await page.mci('open test/loop.mid alias a')).status, 0);
  const loudest = await listen(page);
  assert.equal((await page.mci('close a')).status, 0);
  assert.equal(await page.run('OmbrevalePage.playMusic("test/loop.mid", true)'), 0);
  await until('sound from the synthesiser', async () => (await loudest()) > 0.01);
  const starts = await page.run('OmbrevaleMusic.test.starts');
  await until('slot 0 to start the piece again', async () =>
    (await page.run('OmbrevaleMusic.test.starts')) > starts, 30);
  assert.equal(await page.run('OmbrevalePage.playMusic("test/loop.mid", false)'), 0);
  await until('slot 0 to close the piece', async () =>
    (await page.mci('status m1 mode')).status === 303, 30);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('a missing MIDI file answers "file missing" and a broken one "file cannot be ' +
            'played", without fetching the soundfont; a good one opens after them', async () => {
  const page = await open('/');
  assert.deepEqual(await page.mci('open "test/nothere.mid" alias a'), { status: 305, reply: '' });
  assert.equal((await page.mci('open "test/broken.mid" alias a')).status, 306);
  assert.equal((await page.mci('open test/text.mid alias a')).status, 306);
  assert.equal(page.soundfontAsked, 0, 'a bad file woke the synthesiser');
  assert.equal((await page.mci('open test/loop.mid alias a')).status, 0);
  assert.equal(page.soundfontAsked, 1);
  assert.deepEqual(page.problems, []);
  assert.deepEqual(page.warnings, []);
  await page.close();
});

await check('without a soundfont or a synthesiser, or with one that cannot be read, the channel ' +
            'answers as a machine without a MIDI device, warns once and the vision goes on',
            async () => {
  for (const variant of ['nosoundfont', 'badsoundfont', 'nosynth', 'badsynth']) {
    const page = await open(`/${variant}/`);
    assert.equal((await page.mci('open test/tune.mid alias a')).status, 307, variant);
    assert.equal((await page.mci('open test/loop.mid alias b')).status, 307, variant);
    assert.equal(await page.run('OmbrevalePage.playMusic("test/loop.mid", true)'), 307, variant);
    assert.equal(page.warnings.filter((w) => w.startsWith('ombrevale: no music: ')).length, 1,
                 `${variant}: ${page.warnings}`);
    const shown = await page.shown();
    await until('the vision to go on', async () => (await page.shown()) > shown + 10);
    assert.deepEqual(page.problems, [], variant);
    await page.close();
  }
});

await check('a command sent while the version box is open waits for it to close', async () => {
  const page = await open('/');
  assert.equal((await page.mci('open test/loop.mid alias a')).status, 0);
  await page.click('#menu button');
  await until('the box', () => page.run('document.getElementById("box").open'));
  await page.run('void OmbrevalePage.mci("status a mode").then((a) => { window.answer = a; })');
  await sleep(300);
  assert.equal(await page.run('window.answer'), undefined, 'answered inside the box\'s pass');
  await page.click('#box-ok');
  await until('the answer', async () => (await page.run('window.answer')) !== undefined);
  assert.deepEqual(await page.run('window.answer'), { status: 0, reply: 'stopped' });
  const shown = await page.shown();
  await until('the vision to go on', async () => (await page.shown()) > shown + 3);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await check('before the first gesture a piece plays silently on the program\'s clock; at the ' +
            'first click it sounds from where that clock has reached', async () => {
  const page = await open('/', { on: strictBrowser, gesture: false });
  assert.equal((await page.mci('open test/long.mid alias a')).status, 0);
  const loudest = await listen(page);
  assert.equal((await page.mci('play a')).status, 0);
  // The piece began playing before this: the program's clock has it at least this far on.
  const played = await page.run('performance.now()');
  await until('a second of the piece', async () =>
    (await page.run('performance.now()')) - played > 1000);
  assert.equal(await page.mode('a'), 'playing');
  assert.equal(await page.run('OmbrevaleMusic.output.context.state'), 'suspended');
  assert.equal(await page.run('OmbrevaleMusic.position()'), 0);
  assert.equal(await loudest(), 0);
  const reached = (await page.run('performance.now()')) - played;

  await page.mouse.click(5, 5);
  await until('the synthesiser to be sent to the clock\'s place', async () =>
    (await page.run('OmbrevaleMusic.test.seeks')).length === 1);
  const [seek] = await page.run('OmbrevaleMusic.test.seeks');
  assert.ok(seek >= reached, `sent to ${seek} ms, where the clock had reached ${reached} ms`);
  await until('the sound', async () => (await loudest()) > 0.01 &&
    (await page.run('OmbrevaleMusic.position()')) > seek);
  // The player went to the tick that the piece's tempo map puts at the clock's place.
  const [position, tick] = await page.run(
    'OmbrevaleMusic.position().then((ms) => [ms, OmbrevaleMusic.test.tick])');
  assert.ok(Math.abs(tick - longTick(position)) < 24,
            `at ${position} ms the player is at tick ${tick}, not ${longTick(position)}`);
  assert.equal(await page.mode('a'), 'playing');
  assert.equal(page.warnings.filter((w) => w.startsWith('ombrevale:')).length, 0);
  assert.deepEqual(page.problems, []);
  await page.close();
});

await browser.close();
await strictBrowser.close();
server.close();
fs.rmSync(work, { recursive: true, force: true });
process.exit(checks.report());
