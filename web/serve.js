// A static server for the page folder (dist/web) on 127.0.0.1, for trying the
// page out and for the tests:  node web/serve.js FOLDER [PORT]   (port 0
// picks a free one). It serves the regular files inside FOLDER and nothing
// else; a request it cannot or will not answer gets a 4xx, never an end to
// the server. This file decides which file a request may have; npm's send
// streams it (Range, ETag, Last-Modified, and a stream closed with its
// response, however the client leaves).
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const finalhandler = require('finalhandler');
const send = require('send');

// The page reads vorlex.wasm's bytes itself, so its type is a courtesy here.
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.png': 'image/png', '.gif': 'image/gif', '.bmp': 'image/bmp', '.svg': 'image/svg+xml',
};
// Far beyond any path in the page; a longer one is refused before it is read.
const longestPath = 1024;
// A client that has not sent its whole request head by then gets 408.
const headersTimeout = 20000;

// The names a request's target holds, or a status saying why not: 400 for
// a target that does not decode or holds what no file name may, 414 for one
// too long, 404 for a dot name (.., .git), which is never served. A target
// in absolute form (http://host/path, as a proxy sends it) names its path.
function namesFor(target) {
  if (target.length > longestPath)
    return { status: 414 };
  if (/^https?:\/\//i.test(target)) {
    try {
      target = new URL(target).pathname;
    } catch {
      return { status: 400 };
    }
  }
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
  return { names };
}

function answer(response, status, headers = {}) {
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8', ...headers });
  response.end(`${status} ${http.STATUS_CODES[status]}\n`);
}

function respond(root, request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    answer(response, 405, { Allow: 'GET, HEAD' });
    return;
  }
  const { status, names } = namesFor(request.url);
  if (status) {
    answer(response, status);
    return;
  }
  // A link inside the folder that leads out of it is not followed, and
  // only a regular file is read (a FIFO would hold the answer for ever).
  fs.realpath(path.join(root, ...names), (error, real) => {
    if (error || !real.startsWith(root + path.sep)) {
      answer(response, 404);
      return;
    }
    fs.stat(real, (statError, info) => {
      if (statError || !info.isFile()) {
        answer(response, 404);
        return;
      }
      response.setHeader('Content-Type', types[path.extname(real)] || 'application/octet-stream');
      response.setHeader('X-Content-Type-Options', 'nosniff');
      const inside = '/' + path.relative(root, real).split(path.sep).map(encodeURIComponent).join('/');
      send(request, inside, { root, index: false, dotfiles: 'deny' })
        .on('error', (sendError) => {
          response.removeHeader('Content-Type');
          finalhandler(request, response)(sendError);
        })
        .pipe(response);
    });
  });
}

function serve(folder, port = 0, limits = {}) {
  const root = fs.realpathSync(folder);
  const server = http.createServer({
    headersTimeout: limits.headersTimeout || headersTimeout,
    requestTimeout: 2 * (limits.headersTimeout || headersTimeout),
    // How often Node looks for requests past those times (30 s by default).
    connectionsCheckingInterval: Math.min(1000, limits.headersTimeout || headersTimeout),
  }, (request, response) => respond(root, request, response));
  // A request Node cannot parse (a bad request line, headers too large), or
  // whose head came too slowly.
  server.on('clientError', (error, socket) => {
    const status = { HPE_HEADER_OVERFLOW: 431, ERR_HTTP_REQUEST_TIMEOUT: 408 }[error.code] || 400;
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
