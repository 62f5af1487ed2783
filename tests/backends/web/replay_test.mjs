// Replays on the web page, in Debian's Chromium, headless: the visitor's session saved with the
// page's button and from the console, which the renderer plays frame for frame; the Linux program's
// replay (tests/reference/replays) played by the page in real time, frame for frame;
// a changed frame caught at its frame with the inputs before it; files that cannot be played said
// once; and the last minute offered when a fatal error ends the session.
//
//   node tests/backends/web/replay_test.mjs SITE_DIR RENDERER REPLAY_EDIT   (from the repository root)
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Checks, downloaded, launch, sleep, watch } from './driver.mjs';
import { answerPictures, copyPictures, serve } from './serve.mjs';

const [siteDir, renderer, replayEdit] = process.argv.slice(2);
const kReplays = 'tests/reference/replays';
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-web-replay-'));
const downloads = path.join(work, 'downloads');
fs.mkdirSync(downloads);
// A dat/ folder whose face picture is cut short, for the fatal error.
const corrupt = path.join(work, 'corrupt');
copyPictures(corrupt);
fs.truncateSync(path.join(corrupt, 'dat', 'face.bmp'), 200);

// Under /replays/ the committed replays; under /test/ what a test wrote into `work`; under
// /corrupt/ the site with the cut face picture.
const server = await serve(siteDir, 0, (url, response) => {
  const folder = url.startsWith('/replays/') ? kReplays : url.startsWith('/test/') ? work : null;
  if (folder) {
    const file = path.join(folder, path.basename(url));
    if (fs.existsSync(file)) response.writeHead(200).end(fs.readFileSync(file));
    else response.writeHead(404, 'Not Found').end();
    return true;
  }
  if (!url.startsWith('/corrupt/')) return false;
  if (url !== '/corrupt/pictures.tar.gz') return url.slice(8);
  answerPictures(response, corrupt);
  return true;
});
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await launch({ args: ['--window-size=900,700'] });
const checks = new Checks();
const check = (name, body) => checks.check(name, body);

// A page of the site with what went wrong on it recorded, and every line its console said.
async function open(url) {
  const page = watch(await browser.newPage());
  page.said = [];
  page.on('console', (m) => page.said.push({ type: m.type(), text: m.text() }));
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(origin + url, { waitUntil: 'load' });
  return page;
}

// The renderer's word on a replay, run from `folder` (its dat/): its status and what it said.
function rendered(file, folder = '.') {
  const run = spawnSync(path.resolve(renderer), ['--replay', path.resolve(file)], { cwd: folder, encoding: 'utf8' });
  return { status: run.status, stdout: run.stdout.trim(), stderr: run.stderr.trim() };
}

// How a replay the page plays went, as the page's note says it, once it has played (a replay of
// twenty seconds in real time, on a slow machine).
async function outcome(page) {
  await page.waitForFunction(() => OmbrevalePage.test.replayOutcome !== null, { timeout: 120000 });
  return page.evaluate(() => ({ ...OmbrevalePage.test.replayOutcome,
    note: document.getElementById('replay-note').textContent,
    noteShown: !document.getElementById('replay-note').hidden }));
}
const errors = (page) => page.said.filter((m) => m.type === 'error').map((m) => m.text);

await check('Save replay downloads the session, from the page\'s bar and from the console, and ' +
            'the renderer plays it frame for frame', async () => {
  const page = await open('/?start=2026/12/31+23:59:57');
  await page.waitForFunction(() => OmbrevalePage.test.shown >= 20, { timeout: 20000 });
  await page.keyboard.press('KeyQ');
  await page.click('#menu button');
  await page.waitForFunction(() => document.getElementById('box').open, { timeout: 10000 });
  await sleep(300);
  await page.keyboard.press('Enter');
  await page.waitForFunction((n) => OmbrevalePage.test.shown >= n, { timeout: 20000 },
                             await page.evaluate(() => OmbrevalePage.test.shown) + 150);
  const saved = await downloaded(page, downloads, () => page.click('#save-replay'));
  assert.match(path.basename(saved), /^ombrevale-\d{4}-\d\d-\d\d-\d{6}\.replay$/);
  let played = rendered(saved);
  assert.equal(played.status, 0, played.stderr);
  assert.match(played.stdout, /^checked (\d+) frames of .*: every one as recorded$/);
  assert.ok(Number(played.stdout.split(' ')[1]) >= 170, played.stdout);
  fs.renameSync(saved, path.join(work, 'first.replay'));
  // From the console, later: the same session, longer.
  let answer = null;
  const again = await downloaded(page, downloads, async () => {
    answer = await page.evaluate(() => OmbrevalePage.replay.save());
  });
  assert.equal(answer, true);
  played = rendered(again);
  assert.equal(played.status, 0, played.stderr);
  assert.ok(fs.statSync(again).size > fs.statSync(path.join(work, 'first.replay')).size);
  assert.deepEqual(page.problems, []);
  await page.close();
});

// A committed replay in real time, another desktop's: the Linux program's. The Linux window and
// the Windows program play the others; the renderer plays every one of them. The renderer's count
// is what the page must say it checked.
await check('the page plays linux-x11.replay in real time, frame for frame, with its box, and ' +
            'says so on the console and in its note', async () => {
  const expected = rendered(path.join(kReplays, 'linux-x11.replay'));
  assert.equal(expected.status, 0, expected.stderr);
  const count = expected.stdout.match(/^checked (\d+) frames/)[1];
  const page = await open('/?replay=/replays/linux-x11.replay');
  const said = await outcome(page);
  const line = `checked ${count} frames of /replays/linux-x11.replay: every one as recorded`;
  assert.deepEqual([said.text, said.failed, said.note, said.noteShown], [line, false, line, true]);
  assert.equal(page.said.filter((m) => m.text === line).length, 1, 'one console line');
  assert.deepEqual(page.problems, []);
  // The box the player opened, shown and closed by itself; the save button is not the replay's.
  assert.equal(await page.evaluate(() => OmbrevalePage.test.boxes), 1);
  assert.equal(await page.evaluate(() => document.getElementById('box').open), false);
  assert.equal(await page.evaluate(() => document.getElementById('save-replay').hidden), true);
  await page.close();
});

await check('a frame changed in the replay is caught at that frame: one console error with the ' +
            'inputs before it, and the note', async () => {
  execFileSync(replayEdit, [path.join(kReplays, 'windows.replay'), path.join(work, 'changed.replay'),
    'change-hash', '150']);
  const page = await open('/?replay=/test/changed.replay');
  const said = await outcome(page);
  assert.equal(said.failed, true);
  assert.match(said.text, /^\/test\/changed\.replay went another way at frame 150: its hash is [0-9a-f]{16}, the replay holds [0-9a-f]{16}; the last inputs before it: .*at frame \d+$/);
  assert.equal(said.note, said.text);
  assert.deepEqual(errors(page), [`ombrevale: ${said.text}`]);
  // The renderer catches it at the same frame.
  const native = rendered(path.join(work, 'changed.replay'));
  assert.equal(native.status, 1);
  assert.match(native.stderr, /went another way at frame 150: /);
  await page.close();
});

await check('a replay that cannot be played is said once, on the console and in the note, and ' +
            'nothing plays', async () => {
  fs.writeFileSync(path.join(work, 'cut.replay'), fs.readFileSync(path.join(kReplays, 'web.replay')).subarray(0, 3000));
  for (const [name, why] of [['cut.replay', 'the replay is cut short'],
                             ['nowhere.replay', 'it could not be fetched (404 Not Found)']]) {
    const page = await open(`/?replay=/test/${name}`);
    const said = await outcome(page);
    const sentence = `cannot play /test/${name}: ${why}`;
    assert.deepEqual([said.text, said.failed, said.noteShown], [sentence, true, true]);
    assert.deepEqual(errors(page).filter((e) => !e.startsWith('Failed to load resource')),
                     [`ombrevale: ${sentence}`]);
    await sleep(300);
    assert.equal(await page.evaluate(() => OmbrevalePage.test.shown), 0);
    await page.close();
  }
});

await check('a fatal error offers the last minute as a replay, which the renderer reads',
            async () => {
  const page = await open('/corrupt/');
  await page.waitForSelector('#last-minute:not([hidden])', { timeout: 20000 });
  assert.match(await page.evaluate(() => document.getElementById('error-text').textContent),
               /^dat\/face\.bmp: not a readable bitmap/);
  const kept = await downloaded(page, downloads, () => page.click('#last-minute'));
  assert.match(path.basename(kept), /^last-minute-\d{4}-\d\d-\d\d-\d{6}\.replay$/);
  // Played where the same picture is cut short, the session ends on the same error.
  const played = rendered(kept, corrupt);
  assert.equal(played.status, 1, `${played.stdout} ${played.stderr}`);
  // The renderer names the picture by its whole path, as the desktop does.
  assert.match(played.stderr, /^ombrevale: \S*\/dat\/face\.bmp: not a readable bitmap/);
  await page.close();
});

await browser.close();
server.close();
fs.rmSync(work, { recursive: true, force: true });
process.exit(checks.report());
