// A static server for the page folder (dist/web) on 127.0.0.1, for trying the
// page out and for the tests:  node web/serve.js FOLDER [PORT]   (port 0
// picks a free one). It serves the regular files inside FOLDER and nothing
// else; a request it cannot or will not answer gets a 4xx in one plain line
// and the connection is closed, never an end to the server. This file
// decides which file a request may have, headers.js which stored encoding of
// it goes out and what the answer says besides; npm's send streams it
// (Range, ETag, Last-Modified, and a stream closed with its response,
// however the client leaves).
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const send = require('send');
const { policy, stored, choose, caching, wholeSuffix } = require('./headers.js');

// The page reads vorlex.wasm's bytes itself, so its type is a courtesy here.
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.png': 'image/png', '.gif': 'image/gif', '.bmp': 'image/bmp', '.svg': 'image/svg+xml',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json',
};
const allowed = 'GET, HEAD';
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

// An error's answer: its status in one plain line, whatever NODE_ENV says,
// and the connection closed once it is out (Node destroys the socket then).
// Not nosniff: a browser would log a missing script's 404 twice, the second
// time as a script of the wrong type.
const errorPolicy = { ...policy };
delete errorPolicy['X-Content-Type-Options'];
function errorText(status) {
  return `${status} ${http.STATUS_CODES[status]}\n`;
}
function answer(response, status, headers = {}) {
  for (const name of response.getHeaderNames())
    response.removeHeader(name);
  response.shouldKeepAlive = false;
  const text = errorText(status);
  response.writeHead(status, { ...errorPolicy, 'Content-Type': 'text/plain; charset=utf-8', 'Content-Length': text.length,
                               ...headers, Connection: 'close' });
  response.end(text);
}

// The regular file at `real` if it is one inside root, with its size and time.
function regular(root, real, done) {
  fs.realpath(real, (error, resolved) => {
    if (error || !resolved.startsWith(root + path.sep))
      return done(null);
    fs.stat(resolved, (statError, info) => done(statError || !info.isFile() ? null
      : { file: resolved, size: info.size, mtimeMs: info.mtimeMs }));
  });
}

// The stored encodings beside the file that are regular files inside root,
// but for one older than the file: a file changed by hand after the build
// is sent as it is now.
function variantsOf(root, { file, mtimeMs }, done) {
  const found = [];
  let left = stored.length;
  stored.forEach(([coding, suffix]) => regular(root, file + suffix, (variant) => {
    if (variant && variant.mtimeMs >= mtimeMs) found.push({ coding, ...variant });
    if (--left === 0) done(stored.map(([coding]) => found.find((v) => v.coding === coding)).filter(Boolean));
  }));
}

function respond(root, request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    answer(response, 405, { Allow: allowed });
    return;
  }
  const { status, names } = namesFor(request.url);
  if (status) {
    answer(response, status);
    return;
  }
  // A link inside the folder that leads out of it is not followed, and
  // only a regular file is read (a FIFO would hold the answer for ever).
  regular(root, path.join(root, ...names), (found) => {
    if (!found) {
      answer(response, 404);
      return;
    }
    variantsOf(root, found, (variants) => {
      const chosen = choose(request, found.file, found.size, variants);
      for (const [name, value] of Object.entries(policy))
        response.setHeader(name, value);
      response.setHeader('Content-Type', types[path.extname(found.file)] || 'application/octet-stream');
      if (variants.length) response.setHeader('Vary', 'Accept-Encoding');
      if (chosen.coding !== 'identity') response.setHeader('Content-Encoding', chosen.coding);
      const cache = caching(path.basename(found.file));
      for (const [name, value] of Object.entries(cache.headers || {}))
        response.setHeader(name, value);
      request.headers.range = wholeSuffix(request.headers.range, found.size);
      const inside = '/' + path.relative(root, chosen.file).split(path.sep).map(encodeURIComponent).join('/');
      send(request, inside, { root, index: false, dotfiles: 'deny', acceptRanges: chosen.coding === 'identity', ...cache })
        .on('error', (sendError) => answer(response, sendError.status || 500, sendError.headers))
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
  // A request Node cannot parse (a bad request line, a method it does not
  // know, headers too large), or whose head came too slowly; and CONNECT,
  // which Node hands over apart. The answer goes out and the connection is
  // closed, not half-closed: a client that keeps its end holds nothing here.
  const refuse = (socket, status, headers = '') => {
    if (socket.writable) {
      const text = errorText(status);
      socket.write(`HTTP/1.1 ${status} ${http.STATUS_CODES[status]}\r\n${headers}Content-Type: text/plain; charset=utf-8\r\n` +
                   `Content-Length: ${text.length}\r\nConnection: close\r\n\r\n${text}`);
    }
    socket.destroySoon();
  };
  server.on('clientError', (error, socket) => {
    let status = { HPE_HEADER_OVERFLOW: 431, ERR_HTTP_REQUEST_TIMEOUT: 408 }[error.code] || 400;
    // A well-formed request line with a method Node's parser does not know.
    if (error.code === 'HPE_INVALID_METHOD' && /^[!#$%&'*+.^_`|~0-9A-Za-z-]+ \S+ HTTP\/1\.[01]\r?\n/.test(String(error.rawPacket)))
      status = 405;
    refuse(socket, status, status === 405 ? `Allow: ${allowed}\r\n` : '');
  });
  server.on('connect', (request, socket) => refuse(socket, 405, `Allow: ${allowed}\r\n`));
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
