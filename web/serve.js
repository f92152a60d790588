// A static server for the page folder (dist/web) on 127.0.0.1, for trying the
// page out and for the tests:  node web/serve.js FOLDER [PORT]   (port 0
// picks a free one). It serves the regular files inside FOLDER and nothing
// else; a request it cannot or will not answer gets a 4xx, never an end to
// the server.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

// .wasm must come as application/wasm for the browser to compile it as it loads.
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.gif': 'image/gif', '.bmp': 'image/bmp',
};
// Far beyond any path in the page; a longer one is refused before it is read.
const longestPath = 1024;

// The file a request's path names inside root, or a status saying why not:
// 400 for a path that does not decode or holds what no file name may, 414
// for one too long, 404 for a dot name (.., .git), which is never served.
function fileFor(root, target) {
  if (target.length > longestPath)
    return { status: 414 };
  if (!target.startsWith('/'))
    return { status: 400 };
  const query = target.search(/[?#]/);
  const raw = query < 0 ? target : target.slice(0, query);
  const names = [];
  for (const part of raw.split('/').slice(1)) {
    let name;
    try {
      name = decodeURIComponent(part);
    } catch {  // %ff, %E0%A4%A: not UTF-8
      return { status: 400 };
    }
    if (/[\0-\x1f\\/]/.test(name))
      return { status: 400 };
    if (name.startsWith('.'))
      return { status: 404 };
    names.push(name);
  }
  if (names[names.length - 1] === '')  // a folder: its page
    names.push('index.html');
  return { file: path.join(root, ...names) };
}

function answer(response, status, headers = {}) {
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8', ...headers });
  response.end(`${status} ${http.STATUS_CODES[status]}\n`);
}

function serve(folder, port = 0) {
  const root = fs.realpathSync(folder);
  const server = http.createServer((request, response) => {
    if (request.method !== 'GET' && request.method !== 'HEAD') {
      answer(response, 405, { Allow: 'GET, HEAD' });
      return;
    }
    const { status, file } = fileFor(root, request.url);
    if (status) {
      answer(response, status);
      return;
    }
    // A link inside the folder that leads out of it is not followed, and
    // only a regular file is read (a FIFO would hold the answer for ever).
    fs.realpath(file, (error, real) => {
      if (error || !real.startsWith(root + path.sep)) {
        answer(response, 404);
        return;
      }
      fs.stat(real, (statError, info) => {
        if (statError || !info.isFile()) {
          answer(response, 404);
          return;
        }
        response.writeHead(200, {
          'Content-Type': types[path.extname(real)] || 'application/octet-stream',
          'Content-Length': info.size,
          'X-Content-Type-Options': 'nosniff',
        });
        if (request.method === 'HEAD') {
          response.end();
          return;
        }
        fs.createReadStream(real)
          .on('error', () => response.destroy())
          .pipe(response);
      });
    });
  });
  // A request Node cannot parse (a bad request line, headers too large).
  server.on('clientError', (error, socket) => {
    const status = error.code === 'HPE_HEADER_OVERFLOW' ? 431 : 400;
    if (socket.writable)
      socket.end(`HTTP/1.1 ${status} ${http.STATUS_CODES[status]}\r\nConnection: close\r\n\r\n`);
    else
      socket.destroy();
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve({ server, url: `http://127.0.0.1:${server.address().port}/` }));
  });
}

module.exports = { serve };

if (require.main === module) {
  const [folder, port = '8000'] = process.argv.slice(2);
  if (!folder || !/^\d{1,5}$/.test(port) || Number(port) > 65535) {
    console.error('usage: node web/serve.js FOLDER [PORT]');
    process.exit(2);
  }
  if (!fs.existsSync(path.join(folder, 'index.html'))) {
    console.error(`serve.js: no page in ${folder}: build it first with scripts/web.sh`);
    process.exit(1);
  }
  serve(folder, Number(port)).then(
    ({ url }) => console.log(`Serving the page at ${url} (Ctrl+C stops it)`),
    (error) => {
      console.error(`serve.js: cannot serve on 127.0.0.1:${port}: ${error.message}`);
      process.exit(1);
    });
}
