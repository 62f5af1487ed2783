// A static server for the built site, bound to 127.0.0.1 only: what scripts/web serves, and what
// the browser tests load. A test may answer some addresses itself (`answer` returns true when it
// did) or have another file of the site served for them (it returns that file's address).
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.bmp': 'image/bmp',
};

export function serve(siteDir, port = 0, answer = () => false) {
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
      response.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
                                'Cache-Control': 'no-cache' });
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve(server)));
}

// Run by itself: serve the site named on the command line on the port given (8000 by default).
if (import.meta.url === `file://${process.argv[1]}`) {
  const [siteDir = 'build/web/site', port = '8000'] = process.argv.slice(2);
  const server = await serve(siteDir, Number(port));
  console.log(`Ombrevale is served on http://127.0.0.1:${server.address().port}/ (Ctrl+C ends it)`);
}
