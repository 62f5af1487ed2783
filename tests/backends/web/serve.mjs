// A static server for the built site, bound to 127.0.0.1 only: what scripts/web serves, and what
// the browser tests load. A test may answer some addresses itself (`answer` returns true when it
// did) or have another file of the site served for them (it returns that file's address). Files go
// out gzip-compressed to a browser that accepts it, as a static host sends them, but for those
// compressed already.
import { execFileSync } from 'node:child_process';
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.bmp': 'image/bmp',
  '.tar': 'application/x-tar', '.png': 'image/png', '.webmanifest': 'application/manifest+json',
  '.gz': 'application/gzip',
};

export function serve(siteDir, port = 0, answer = () => false) {
  const compressed = new Map();  // file -> [modified time, gzip bytes]
  const server = http.createServer((request, response) => {
    let url = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    const answered = answer(url, response);
    if (answered === true) return;
    if (typeof answered === 'string') url = answered;
    if (url.endsWith('/')) url += 'index.html';
    const file = path.join(siteDir, path.normalize(url).replace(/^(\.\.[/\\])+/, ''));
    fs.readFile(file, (error, data) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      const headers = { 'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
                        'Cache-Control': 'no-cache' };
      // What is compressed already goes out as it is.
      if (/\bgzip\b/.test(request.headers['accept-encoding'] || '') && !file.endsWith('.gz')) {
        const modified = fs.statSync(file).mtimeMs;
        let known = compressed.get(file);
        if (!known || known[0] !== modified) {
          known = [modified, zlib.gzipSync(data, { level: 9 })];
          compressed.set(file, known);
        }
        headers['Content-Encoding'] = 'gzip';
        data = known[1];
      }
      response.writeHead(200, headers);
      response.end(data);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

// Why a port could not be listened on, in one sentence for the person who named it.
function refusal(error, port) {
  if (error.code === 'EADDRINUSE')
    return `port ${port} is in use by another program: end it, or name another port ` +
           '(scripts/web 8080)';
  if (error.code === 'EACCES')
    return `may not listen on port ${port} (ports below 1024 are the system's): name another ` +
           'port (scripts/web 8080)';
  return `cannot listen on port ${port}: ${error.message}`;
}

// Run by itself: serve the site named on the command line on the port given (8000 by default).
if (import.meta.url === `file://${process.argv[1]}`) {
  const [siteDir = 'build/web/site', port = '8000'] = process.argv.slice(2);
  try {
    const server = await serve(siteDir, Number(port));
    console.log(`Ombrevale is served on http://127.0.0.1:${server.address().port}/ (Ctrl+C ends it)`);
  } catch (error) {
    console.error(`scripts/web: ${refusal(error, port)}.`);
    process.exit(1);
  }
}

// A copy of the repository's pictures (./dat) as `folder`/dat, for a test to break one of them.
export function copyPictures(folder) {
  fs.mkdirSync(path.join(folder, 'dat'), { recursive: true });
  for (const name of fs.readdirSync('dat')) fs.copyFileSync(path.join('dat', name), path.join(folder, 'dat', name));
  return folder;
}

// Answers with `folder`/dat as the site's picture archive (pictures.tar.gz), archived by the
// system's tar.
export function answerPictures(response, folder) {
  const archive = execFileSync('tar', ['--sort=name', '-cf', '-', '-C', folder, 'dat'], { maxBuffer: 1 << 24 });
  response.writeHead(200, { 'Content-Type': 'application/gzip' }).end(zlib.gzipSync(archive));
}
