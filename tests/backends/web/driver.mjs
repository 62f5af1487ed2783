// What the web page's tests and its benchmark share: Debian's Chromium, headless, driven by
// puppeteer-core; a page of the site with what went wrong on it recorded; checks reported by name;
// and a look at a screenshot's pixels in blocks.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A browser of its own, in a profile of its own; `args` are Chromium's switches besides ours.
export function launch({ args = [], ...options } = {}) {
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), 'ombrevale-chromium-')),
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           ...args],
    ...options,
  });
}

// Records on `page.problems` what went wrong on it: console errors, page errors, failed requests
// and answers of 400 or more.
export function watch(page) {
  page.problems = [];
  page.on('console', (m) => { if (m.type() === 'error') page.problems.push(`console: ${m.text()}`); });
  page.on('pageerror', (e) => page.problems.push(`page error: ${e.message}`));
  page.on('requestfailed', (r) => page.problems.push(`failed: ${r.url()}`));
  page.on('response', (r) => { if (r.status() >= 400) page.problems.push(`${r.status()}: ${r.url()}`); });
  return page;
}

// Runs `action` on `page` and waits, up to 30 seconds, for the file the browser downloads into
// `folder` as it does: its path.
export async function downloaded(page, folder, action) {
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  const before = new Set(fs.readdirSync(folder));
  await action();
  for (let waited = 0; waited < 30000; waited += 100) {
    const fresh = fs.readdirSync(folder).filter((f) => !before.has(f) && !f.endsWith('.crdownload'));
    if (fresh.length > 0) return path.join(folder, fresh[0]);
    await sleep(100);
  }
  throw new Error(`nothing was downloaded into ${folder}`);
}

// Named checks, run one after the other; `report()` prints them and gives the exit status.
export class Checks {
  results = [];
  async check(name, body) {
    const started = Date.now();
    try {
      await body();
      this.results.push(`ok   ${name} (${Date.now() - started} ms)`);
    } catch (error) {
      this.results.push(`FAIL ${name}: ${error.stack || error}`);
    }
  }
  note(text) { this.results.push(`     (${text})`); }
  report() {
    console.log(this.results.join('\n'));
    return this.results.some((r) => r.startsWith('FAIL')) ? 1 : 0;
  }
}

// A PNG file's pixels as RGB bytes, with its size.
export function readPng(file) {
  const [width, height] = execFileSync('identify', ['-format', '%w %h', file]).toString()
    .split(' ').map(Number);
  const rgb = execFileSync('convert', [file, '-depth', '8', 'rgb:-'], { maxBuffer: 1 << 28 });
  return { width, height, rgb };
}

// Looks at the `columns` x `rows` blocks of n x n pixels from (left, top) of a picture read by
// readPng, leaving out the blocks `skip(column, row)` names: the first pixel of a block whose pixels
// are not all of one colour, as [column, row, x, y], or null; and the blocks' colours, row by row,
// as RGB bytes.
export function blocks(picture, left, top, n, columns, rows, skip = () => false) {
  const { width, rgb } = picture;
  const colours = Buffer.alloc(columns * rows * 3);
  let uneven = null;
  for (let row = 0; row < rows; ++row) {
    for (let column = 0; column < columns; ++column) {
      const first = ((top + row * n) * width + left + column * n) * 3;
      rgb.copy(colours, (row * columns + column) * 3, first, first + 3);
      if (uneven || skip(column, row)) continue;
      for (let y = 0; y < n && !uneven; ++y) {
        for (let x = 0; x < n; ++x) {
          const at = ((top + row * n + y) * width + left + column * n + x) * 3;
          if (rgb[at] !== rgb[first] || rgb[at + 1] !== rgb[first + 1] || rgb[at + 2] !== rgb[first + 2]) {
            uneven = [column, row, x, y];
            break;
          }
        }
      }
    }
  }
  return { uneven, colours };
}
