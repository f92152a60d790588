// The page folder and its server: dist/web holds the page's files alone;
// web/serve.js, run as scripts/web.sh runs it, answers odd and hostile
// requests with a 4xx and goes on serving, and serves nothing outside the
// folder; web.sh refuses a bad port before it builds anything.
'use strict';
const assert = require('node:assert');
const { execFileSync, spawn, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');
const { after, before, describe, it } = require('node:test');
const { serve } = require('../../web/serve.js');

const root = path.resolve(__dirname, '../..');
const webPage = process.env.VORLEX_WEB_PAGE || path.join(root, 'dist/web');

// Sends `request` as it stands and resolves to the status of the answer.
function ask(url, request) {
  return new Promise((resolve, reject) => {
    const socket = net.connect(Number(new URL(url).port), '127.0.0.1');
    const chunks = [];
    socket.on('data', (chunk) => chunks.push(chunk));
    socket.on('error', reject);
    socket.on('close', () => {
      const head = Buffer.concat(chunks).toString('latin1');
      resolve({ status: Number((head.match(/^HTTP\/1\.1 (\d{3}) /) || [])[1]), head });
    });
    // Not half-closed: the server would take that for a client gone.
    socket.write(`${request}\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n`);
  });
}
const get = (url, target) => ask(url, `GET ${target} HTTP/1.1`);

let server, url;

before(async () => {
  server = spawn(process.execPath, [path.join(root, 'web/serve.js'), webPage, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  url = await new Promise((resolve, reject) => {
    server.stdout.once('data', (line) => resolve(String(line).match(/http:\/\/\S+\//)[0]));
    server.once('exit', (status) => reject(new Error(`serve.js ended with status ${status}`)));
  });
});

after(() => server?.kill());

describe('the page folder', () => {
  it('holds the page, its script, its wasm and the ten images, and nothing else', () => {
    const images = fs.readFileSync(path.join(root, 'cmake/sources.cmake'), 'utf8')
      .match(/set\(VORLEX_RESOURCES([^)]*)\)/)[1].trim().split(/\s+/);
    const files = fs.readdirSync(webPage, { recursive: true, withFileTypes: true })
      .filter((entry) => !entry.isDirectory())
      .map((entry) => path.relative(webPage, path.join(entry.path, entry.name)));
    assert.deepStrictEqual(files.sort(), ['icon.svg', 'index.html', 'page.css', 'page.js', 'picture.js', 'vorlex.js', 'vorlex.wasm',
      ...images.map((name) => `Vorlex.app/Contents/Resources/${name}`)].sort());
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
  it('answers odd and hostile requests with a 4xx and goes on serving', async () => {
    for (const [target, status] of requests)
      assert.strictEqual((await get(url, target)).status, status, `GET ${target.slice(0, 40)}`);
    assert.strictEqual((await ask(url, 'DELETE /index.html HTTP/1.1')).status, 405);
    assert.strictEqual((await ask(url, 'NOT HTTP AT ALL')).status, 400);
    assert.strictEqual(server.exitCode, null);
    for (const [target, type] of [['/', 'text/html'], ['/?frames=3', 'text/html'], ['/vorlex.wasm', 'application/wasm'],
                                  ['/Vorlex.app/Contents/Resources/image.png', 'image/png'], ['/page.css', 'text/css'],
                                  ['http://127.0.0.1:8000/page.js?x', 'text/javascript']]) {
      const { status, head } = await get(url, target);
      assert.strictEqual(status, 200, `GET ${target}`);
      assert.match(head, new RegExp(`\r\nContent-Type: ${type}`, 'i'));
    }
  });

  it('serves a range, and leaks no descriptor to 1000 clients that leave early', async () => {
    assert.match((await ask(url, 'GET /vorlex.js HTTP/1.1\r\nRange: bytes=0-9')).head, /^HTTP\/1\.1 206 .*\r\nContent-Length: 10\r\n/s);
    const open = () => fs.readdirSync(`/proc/${server.pid}/fd`).length;
    const leaveEarly = () => new Promise((resolve, reject) => {
      const socket = net.connect(Number(new URL(url).port), '127.0.0.1');
      socket.on('error', reject);
      socket.once('data', () => socket.destroy());
      socket.on('close', resolve);
      socket.write('GET /vorlex.wasm HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n');
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

  it('answers a request head that comes too slowly with 408', async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-served-'));
    const site = await serve(folder, 0, { headersTimeout: 500 });
    try {
      const { status } = await new Promise((resolve, reject) => {
        const socket = net.connect(Number(new URL(site.url).port), '127.0.0.1');
        const chunks = [];
        socket.on('data', (chunk) => chunks.push(chunk));
        socket.on('error', reject);
        socket.on('close', () => resolve({ status: Number(Buffer.concat(chunks).toString().slice(9, 12)) }));
        socket.write('GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n');  // and no more
      });
      assert.strictEqual(status, 408);
    } finally {
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
