// The page folder and its server: dist/web holds the page's files alone;
// web/serve.js, run as scripts/web.sh runs it, answers odd and hostile
// requests with a 4xx and goes on serving, and serves nothing outside the
// folder; web.sh refuses a bad port before it builds anything.
'use strict';
const assert = require('node:assert');
const crypto = require('node:crypto');
const zlib = require('node:zlib');
const { execFileSync, spawn, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');
const { after, before, describe, it } = require('node:test');
const { serve } = require('../../web/serve.js');

const root = path.resolve(__dirname, '../..');
const webPage = process.env.VORLEX_WEB_PAGE || path.join(root, 'dist/web');

// Sends `request` as it stands and resolves to the status of the answer,
// its head and its body.
function ask(url, request) {
  return new Promise((resolve, reject) => {
    const socket = net.connect(Number(new URL(url).port), '127.0.0.1');
    const chunks = [];
    socket.on('data', (chunk) => chunks.push(chunk));
    socket.on('error', reject);
    socket.on('close', () => {
      const [head, body] = Buffer.concat(chunks).toString('latin1').split('\r\n\r\n');
      resolve({ status: Number((head.match(/^HTTP\/1\.1 (\d{3}) /) || [])[1]), head, body });
    });
    // Not half-closed: the server would take that for a client gone.
    socket.write(`${request}\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n`);
  });
}
const get = (url, target) => ask(url, `GET ${target} HTTP/1.1`);

let server, url;
// The name the build gave a file: page.css as page.3f9c1a2b.css.
const builtName = (stem, type) => fs.readdirSync(webPage).find((name) => new RegExp(`^${stem}\\.[0-9a-f]{8}\\.${type}$`).test(name));
const wasm = builtName('vorlex', 'wasm');

before(async () => {
  // In development mode, where a default error page would show its trace.
  server = spawn(process.execPath, [path.join(root, 'web/serve.js'), webPage, '0'],
                 { stdio: ['ignore', 'pipe', 'inherit'], env: { ...process.env, NODE_ENV: 'development' } });
  url = await new Promise((resolve, reject) => {
    server.stdout.once('data', (line) => resolve(String(line).match(/http:\/\/\S+\//)[0]));
    server.once('exit', (status) => reject(new Error(`serve.js ended with status ${status}`)));
  });
});

after(() => server?.kill());

describe('the page folder', () => {
  const hashedName = /^(.*)\.([0-9a-f]{8})(\.[a-z]+)$/;
  const compressed = /\.(js|wasm|css|svg|html|webmanifest|bmp)$/;
  const files = fs.readdirSync(webPage, { recursive: true, withFileTypes: true })
    .filter((entry) => !entry.isDirectory())
    .map((entry) => path.relative(webPage, path.join(entry.path, entry.name)));

  it('holds the page\'s files by their content\'s names, the ten images, and nothing else', () => {
    const images = fs.readFileSync(path.join(root, 'cmake/sources.cmake'), 'utf8')
      .match(/set\(VORLEX_RESOURCES([^)]*)\)/)[1].trim().split(/\s+/);
    const plain = files.filter((name) => !/\.(br|gz)$/.test(name))
      .map((name) => name.replace(hashedName, (whole, stem, hash, type) => {
        const bytes = fs.readFileSync(path.join(webPage, name));
        assert.strictEqual(hash, crypto.createHash('sha256').update(bytes).digest('hex').slice(0, 8), name);
        return stem + type;
      }));
    assert.deepStrictEqual(plain.sort(), ['icon-192.png', 'icon-maskable-512.png', 'icon.svg', 'index.html', 'page.css',
      'page.js', 'pause.js', 'picture.js', 'sw.js', 'vorlex.js', 'vorlex.wasm', 'vorlex.webmanifest',
      ...images.map((name) => `Vorlex.app/Contents/Resources/${name}`)].sort());
  });

  it('holds a brotli and a gzip copy of each text-like file, and the first load over brotli is under 90 KiB', () => {
    const unpack = { br: zlib.brotliDecompressSync, gz: zlib.gunzipSync };
    for (const name of files.filter((file) => compressed.test(file))) {
      for (const [suffix, decode] of Object.entries(unpack))
        assert.ok(decode(fs.readFileSync(path.join(webPage, `${name}.${suffix}`))).equals(fs.readFileSync(path.join(webPage, name))), name);
    }
    // The page's own files, as the worker lists them, but the images.
    const sw = fs.readFileSync(path.join(webPage, 'sw.js'), 'utf8');
    const fetched = ['index.html', 'vorlex.webmanifest', ...sw.match(/var files = \[([^\]]*)\]/)[1].match(/'[^']*'/g)
      .map((name) => name.slice(1, -1)).filter((name) => name !== './' && !name.startsWith('Vorlex.app/'))];
    const bytes = fetched.reduce((sum, name) => sum + fs.statSync(path.join(webPage, `${name}.br`)).size, 0);
    assert.ok(bytes < 90 * 1024, `${bytes} bytes over brotli`);
  });
});

describe('the server', () => {
  const requests = [
    ['/%ff', 400], ['/%00', 400], ['/%E0%A4%A', 400], ['/%', 400], ['/a%5c..%5cindex.html', 400],
    ['/..%2f..%2fetc%2fpasswd', 400], ['/../', 404], ['/%2e%2e/%2e%2e/etc/passwd', 404], ['/.git/config', 404],
    ['/CMakeCache.txt', 404], ['/Makefile', 404], ['/CMakeFiles/', 404], ['/cmake_install.cmake', 404],
    ['/Vorlex.app/', 404], [`/${'a'.repeat(2000)}`, 414], [`/${'a'.repeat(70000)}`, 431],
    ['http://127.0.0.1/.git/config', 404], ['http://[/', 400], ['*', 400],
  ];
  const otherMethods = ['DELETE /index.html', 'PUT /x', 'PROPFIND /', 'BREW /', 'CONNECT 127.0.0.1:22'];
  // An error is its status in one plain line, whoever answers it.
  const assertPlainError = ({ status, head, body }, what) => {
    assert.match(head, /\r\nContent-Type: text\/plain/i, what);
    assert.strictEqual(body, `${status} ${require('node:http').STATUS_CODES[status]}\n`, what);
  };
  it('answers odd and hostile requests with a 4xx line and goes on serving', async () => {
    for (const [target, status] of requests) {
      const answer = await get(url, target);
      assert.strictEqual(answer.status, status, `GET ${target.slice(0, 40)}`);
      assertPlainError(answer, target.slice(0, 40));
    }
    for (const line of otherMethods) {
      const answer = await ask(url, `${line} HTTP/1.1`);
      assert.deepStrictEqual([answer.status, /\r\nAllow: GET, HEAD\r\n/.test(answer.head)], [405, true], line);
      assertPlainError(answer, line);
    }
    assert.strictEqual((await ask(url, 'NOT HTTP AT ALL')).status, 400);
    for (const [header, status] of [['If-Match: "other"', 412], ['Range: bytes=999999999-', 416]])
      assertPlainError(await ask(url, `GET /index.html HTTP/1.1\r\n${header}`), header);
    assert.strictEqual(server.exitCode, null);
    for (const [target, type] of [['/', 'text/html'], ['/?frames=3', 'text/html'], [`/${wasm}`, 'application/wasm'], ['/vorlex.webmanifest', 'application/manifest\\+json'],
                                  ['/Vorlex.app/Contents/Resources/image.png', 'image/png'], [`/${builtName('page', 'css')}`, 'text/css'],
                                  ['http://127.0.0.1:8000/sw.js?x', 'text/javascript']]) {
      const { status, head } = await get(url, target);
      assert.strictEqual(status, 200, `GET ${target}`);
      assert.match(head, new RegExp(`\r\nContent-Type: ${type}`, 'i'));
    }
  });

  const header = (head, name) => (head.match(new RegExp(`\r\n${name}: ([^\r]*)`, 'i')) || [])[1];
  it('sends the smallest encoding the client accepts, with Vary and its length, and a range from the file itself', async () => {
    const size = (suffix) => String(fs.statSync(path.join(webPage, wasm + suffix)).size);
    for (const [accept, coding, suffix] of [['br, gzip', 'br', '.br'], ['gzip', 'gzip', '.gz'], ['gzip;q=0, identity', undefined, ''],
                                            [undefined, undefined, ''], ['*', 'br', '.br'], ['br;q=0, *', 'gzip', '.gz']]) {
      const { status, head } = await ask(url, `GET /${wasm} HTTP/1.1${accept === undefined ? '' : `\r\nAccept-Encoding: ${accept}`}`);
      assert.deepStrictEqual([status, header(head, 'Content-Encoding'), header(head, 'Content-Length'), header(head, 'Vary')],
                             [200, coding, size(suffix), 'Accept-Encoding'], `Accept-Encoding: ${accept}`);
    }
    const { status, head } = await ask(url, `GET /${wasm} HTTP/1.1\r\nAccept-Encoding: br\r\nRange: bytes=0-9`);
    assert.deepStrictEqual([status, header(head, 'Content-Encoding'), header(head, 'Content-Length')], [206, undefined, '10']);
  });

  it('lets a file named by its content be kept for ever, asks after the rest, and sends the policy docs/web.md states, nosniff with a file', async () => {
    const stated = fs.readFileSync(path.join(root, 'docs/web.md'), 'utf8').match(/^ +Content-Security-Policy: (.*)$/m)[1];
    for (const [target, cache] of [[`/${wasm}`, 'public, max-age=31536000, immutable'], ['/', 'no-cache'], ['/sw.js', 'no-cache'],
                                   ['/vorlex.webmanifest', 'no-cache'], ['/Vorlex.app/Contents/Resources/image.png', 'no-cache'],
                                   ['/none', undefined]]) {
      const { head } = await get(url, target);
      assert.deepStrictEqual([header(head, 'Cache-Control'), header(head, 'Content-Security-Policy'),
                              header(head, 'X-Content-Type-Options'), header(head, 'Referrer-Policy')],
                             [cache, stated, cache && 'nosniff', 'no-referrer'], target);
    }
  });

  it('serves a range, a suffix longer than the file whole, and leaks no descriptor to 1000 clients that leave early', async () => {
    assert.match((await ask(url, 'GET /index.html HTTP/1.1\r\nRange: bytes=0-9')).head, /^HTTP\/1\.1 206 .*\r\nContent-Length: 10\r\n/s);
    const size = fs.statSync(path.join(webPage, 'index.html')).size;
    assert.match((await ask(url, `GET /index.html HTTP/1.1\r\nRange: bytes=-${size + 1000}`)).head,
                 new RegExp(`^HTTP/1\\.1 206 .*\r\nContent-Range: bytes 0-${size - 1}/${size}\r\nContent-Length: ${size}\r\n`, 's'));
    const open = () => fs.readdirSync(`/proc/${server.pid}/fd`).length;
    const leaveEarly = () => new Promise((resolve, reject) => {
      const socket = net.connect(Number(new URL(url).port), '127.0.0.1');
      socket.on('error', reject);
      socket.once('data', () => socket.destroy());
      socket.on('close', resolve);
      socket.write(`GET /${wasm} HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n`);
    });
    await leaveEarly();
    const before = open();
    for (let client = 0; client < 1000; ++client)
      await leaveEarly();
    // The server closes its side as it notices: give it a moment.
    for (let wait = 0; wait < 50 && open() > before; ++wait)
      await new Promise((resolve) => setTimeout(resolve, 100));
    assert.ok(open() <= before, `${open()} descriptors open after the clients, ${before} before`);
  });

  it('answers a request head that comes too slowly with 408, and closes every connection it answered with an error', async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-served-'));
    const site = await serve(folder, 0, { headersTimeout: 500 });
    // Clients that keep their end open: the server must close its own.
    const sockets = [];
    const statusOf = (request) => new Promise((resolve, reject) => {
      const socket = net.connect({ port: Number(new URL(site.url).port), host: '127.0.0.1', allowHalfOpen: true });
      sockets.push(socket);
      socket.on('error', reject);
      socket.once('data', (chunk) => resolve(Number(String(chunk).slice(9, 12))));
      socket.write(request);
    });
    const connections = () => new Promise((resolve) => site.server.getConnections((error, count) => resolve(count)));
    try {
      const slow = Array.from({ length: 20 }, () => statusOf('GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n'));  // and no more
      assert.deepStrictEqual(await Promise.all(slow), Array(20).fill(408));
      for (const [request, status] of [['GET /none', 404], ['GET /%ff', 400], ['NOT HTTP AT ALL', 400], ['FOO /', 405]])
        assert.strictEqual(await statusOf(`${request} HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n`), status, request);
      for (let wait = 0; wait < 30 && (await connections()) > 0; ++wait)
        await new Promise((resolve) => setTimeout(resolve, 100));
      assert.strictEqual(await connections(), 0, 'connections left open');
    } finally {
      sockets.forEach((socket) => socket.destroy());
      site.server.close();
      fs.rmSync(folder, { recursive: true });
    }
  });

  it('serves no link out of the folder and no FIFO', async () => {
    const [folder, outside] = ['served', 'outside'].map((name) => fs.mkdtempSync(path.join(os.tmpdir(), `vorlex-${name}-`)));
    fs.writeFileSync(path.join(folder, 'index.html'), 'page');
    fs.writeFileSync(path.join(outside, 'secret'), 'secret');
    fs.symlinkSync(path.join(outside, 'secret'), path.join(folder, 'secret'));
    fs.symlinkSync(outside, path.join(folder, 'up'));
    execFileSync('mkfifo', [path.join(folder, 'fifo')]);
    const site = await serve(folder);
    try {
      for (const [target, status] of [['/secret', 404], ['/up/secret', 404], ['/fifo', 404], ['/', 200]])
        assert.strictEqual((await get(site.url, target)).status, status, target);
    } finally {
      site.server.close();
      [folder, outside].forEach((made) => fs.rmSync(made, { recursive: true, force: true }));
    }
  });
});

describe('scripts/web.sh', () => {
  for (const args of [['abc'], ['65536'], ['-1'], ['8000', '8001']]) {
    it(`refuses "serve ${args.join(' ')}" in one line, before building`, () => {
      const build = path.join(os.tmpdir(), `vorlex-never-built-${process.pid}`);
      const run = spawnSync(path.join(root, 'scripts/web.sh'), ['serve', ...args],
                            { env: { ...process.env, VORLEX_WEB_BUILD: build }, encoding: 'utf8' });
      assert.strictEqual(run.status, 2);
      assert.strictEqual(run.stdout, '');
      assert.match(run.stderr, /^web\.sh: serve wants a port from 0 to 65535 .*\n$/);
      assert.ok(!fs.existsSync(build), 'it built the page');
    });
  }

  it('puts the page in no folder that holds something else', () => {
    const other = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-not-a-page-'));
    fs.writeFileSync(path.join(other, 'keep'), '');
    const run = spawnSync(path.join(root, 'scripts/web.sh'), [], { env: { ...process.env, VORLEX_WEB_PAGE: other }, encoding: 'utf8' });
    assert.deepStrictEqual([run.status, fs.readdirSync(other)], [1, ['keep']]);
    assert.match(run.stderr, /holds files but no page; not replacing it\n$/);
    fs.rmSync(other, { recursive: true });
  });
});
