// The web page as a web game players keep, in Debian's Chromium, headless, served from the zip a
// web-game host takes: the zip holds the site with index.html at its root; its manifest parses and
// names icons that are there, and the browser finds the page installable; once the vision has
// shown, a second visit works with no network at all, drawing and moving, and what the page
// fetched later from the site (as the music's sound font) is kept too; a site of another version
// replaces what the last one kept.
//
//   node tests/backends/web/offline_test.mjs ZIP SITE_DIR   (run from the repository root)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Checks, launch, watch } from './driver.mjs';
import { serve } from './serve.mjs';

const [zip, siteDir] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-offline-'));
const unpacked = path.join(work, 'site');
execFileSync('unzip', ['-q', zip, '-d', unpacked]);
const checks = new Checks();

// The server can be cut off (every connection dropped, as with no network), and can serve the
// site as another version would. It also serves a file of the site's that no page loads at first:
// a sound font, under sound/.
let cutOff = false, nextVersion = null;
const kFont = Buffer.alloc(300000, 7);
const server = await serve(unpacked, 0, (url, response) => {
  if (cutOff) {
    response.socket.destroy();
    return true;
  }
  if (url === '/sound/test.sf2') {
    response.writeHead(200, { 'Content-Type': 'application/octet-stream' }).end(kFont);
    return true;
  }
  if (url === '/sw.js' && nextVersion) {
    const text = fs.readFileSync(path.join(unpacked, 'sw.js'), 'utf8');
    const changed = text.replace(/const kCache = 'ombrevale-[^']*';/, `const kCache = 'ombrevale-${nextVersion}';`);
    assert.notEqual(changed, text);
    response.writeHead(200, { 'Content-Type': 'text/javascript' }).end(changed);
    return true;
  }
  return false;
});
const origin = `http://127.0.0.1:${server.address().port}`;

await checks.check('the zip holds the site as it is, index.html at its root', async () => {
  const listed = (dir, base = '') => fs.readdirSync(dir, { withFileTypes: true }).flatMap((e) =>
    (e.isDirectory() ? listed(path.join(dir, e.name), `${base}${e.name}/`) : [`${base}${e.name}`]));
  assert.ok(fs.existsSync(path.join(unpacked, 'index.html')));
  assert.deepEqual(listed(unpacked).sort(), listed(siteDir).sort());
});

const browser = await launch();
const page = watch(await browser.newPage());
await page.setViewport({ width: 900, height: 700 });
const version = await (async () => {
  await page.goto(origin + '/', { waitUntil: 'load' });
  return page.evaluate(() => OMBREVALE_FACTS.version);
})();
const kept = () => page.evaluate(() => caches.keys());

await checks.check('its manifest parses, names the launcher\'s icons, which are there at their ' +
                   'sizes, and the browser finds the page installable', async () => {
  const cdp = await page.createCDPSession();
  const manifest = await cdp.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, []);
  const data = JSON.parse(manifest.data);
  assert.equal(data.name, 'Ombrevale');
  assert.equal(data.short_name, 'Ombrevale');
  assert.equal(data.display, 'standalone');
  assert.equal(data.background_color, 'black');
  assert.ok(data.icons.length >= 2);
  for (const icon of data.icons) {
    const size = await page.evaluate(async (src) => {
      const picture = await createImageBitmap(await (await fetch(src)).blob());
      return `${picture.width}x${picture.height}`;
    }, icon.src);
    assert.equal(size, icon.sizes, icon.src);
  }
  assert.ok(data.icons.some((icon) => parseInt(icon.sizes, 10) >= 192), 'an icon for a launcher');
  // Installable: once the vision shows, its service worker has kept the site.
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 30000 });
  assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
  assert.deepEqual(await kept(), [`ombrevale-${version}`]);
});

await checks.check('a second visit works with no network, drawing and moving, and what the page ' +
                   'fetched later is kept too', async () => {
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 30000 });
  // Fetched once the site was kept, as the music fetches its sound font when a piece first opens.
  assert.equal(await page.evaluate(async () => (await (await fetch('sound/test.sf2')).arrayBuffer())
    .byteLength), kFont.length);
  cutOff = true;
  await page.setOfflineMode(true);
  page.problems.length = 0;
  await page.reload({ waitUntil: 'load' });
  await page.waitForFunction(() => OmbrevalePage.test.shown >= 30, { timeout: 30000 });
  assert.equal(await page.evaluate(() => OmbrevalePage.test.inWorker), true);
  assert.equal(await page.evaluate(async () => (await (await fetch('sound/test.sf2')).arrayBuffer())
    .byteLength), kFont.length);
  assert.deepEqual(page.problems, []);
  await page.setOfflineMode(false);
  cutOff = false;
});

await checks.check('a site of another version replaces what this one kept', async () => {
  nextVersion = `${version}.1`;
  await page.reload({ waitUntil: 'load' });
  await page.evaluate(async () => (await navigator.serviceWorker.ready).update());
  await page.waitForFunction((name) => caches.keys().then((names) => names.length === 1 && names[0] === name),
                             { timeout: 30000 }, `ombrevale-${nextVersion}`);
  await page.waitForFunction(() => OmbrevalePage.test.shown >= 5, { timeout: 30000 });
  assert.deepEqual(page.problems, []);
});

await browser.close();
server.close();
fs.rmSync(work, { recursive: true, force: true });
process.exit(checks.report());
