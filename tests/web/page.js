// Serves the page folder (dist/web/) on 127.0.0.1 and drives the page in the
// engine of engines.js, for the tests, the still and the benchmark.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { engine, can, launch } = require('./engines.js');
const { serve } = require('../../web/serve.js');

// Opens the page at `query` with the canvas shown at 1:1 (a window that fits
// 640x480 but not twice that, unless `viewport` says otherwise), collecting
// console lines and page errors.
// `prepare` gets the page before it loads (not in WebKit).
async function open(browser, url, query = '', prepare = undefined, viewport = { width: 800, height: 700 }) {
  const page = await browser.open(url + query, { prepare, viewport });
  return { page, log: page.log };
}

async function waitEnded(page, timeout = 120000) {
  await page.waitFor(() => document.body.dataset.state === 'ended', undefined, timeout);
  await page.readConsole();
  return page.evaluate(() => ({
    frame: Number(document.querySelector('canvas').dataset.frame || 0),
    problem: document.getElementById('problem').textContent,
    glError: window.Module && Module.ctx ? Module.ctx.getError() : -1,
  }));
}

// The canvas as shown: width, height and RGB bytes, top row first.
async function canvasPixels(page) {
  return decodeImage(await page.canvasPng());
}

// Any image ImageMagick reads, as RGB rows (PNG and PPM here).
function decodeImage(bytes) {
  const { execFileSync } = require('child_process');
  return parsePpm(execFileSync('convert', ['-', '-depth', '8', 'ppm:-'], { input: bytes, maxBuffer: 1 << 26 }));
}

function parsePpm(bytes) {
  const header = bytes.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) throw new Error('not a binary PPM');
  const width = Number(header[1]);
  const height = Number(header[2]);
  return { width, height, rgb: bytes.subarray(header[0].length, header[0].length + width * height * 3) };
}

const assert = require('assert');
const { execFileSync } = require('child_process');

// What the page's test files share: the page folder, the desktop build that
// renders the same frames, and the frames compared.
const root = path.resolve(__dirname, '../..');
const webPage = process.env.VORLEX_WEB_PAGE || path.join(root, 'dist/web');
const desktopBuild = process.env.VORLEX_BUILD || path.join(root, 'build');
const frames = [1, 100, 300];

// Two renderers rasterise a slanted edge a little differently (SwiftShader
// here, llvmpipe there) and may round a blend the other way: a pixel matches
// within 2 per channel, and a few edge pixels may not.
const channelSlack = 2;
const mostOffPixels = 200;  // of 307200
// The frame rate's text, bottom right, is no part of the comparison.
const rateText = { left: 560, top: 460 };

function offPixels(expected, actual) {
  assert.deepStrictEqual([actual.width, actual.height], [expected.width, expected.height]);
  let off = 0;
  for (let p = 0; p < expected.width * expected.height; ++p) {
    const x = p % expected.width;
    const y = Math.floor(p / expected.width);
    if (x >= rateText.left && y >= rateText.top)
      continue;
    for (let c = 0; c < 3; ++c) {
      if (Math.abs(expected.rgb[p * 3 + c] - actual.rgb[p * 3 + c]) > channelSlack) {
        ++off;
        break;
      }
    }
  }
  return off;
}

// Neither a page error, nor an error or warning on the console (but the
// browser's own driver messages), nor a WebGL error.
function assertClean(log, end) {
  assert.deepStrictEqual(log.pageErrors, []);
  assert.deepStrictEqual(log.error, []);
  assert.deepStrictEqual(log.warn.filter((line) => !/GL Driver Message/.test(line)), []);
  assert.strictEqual(end.glError, 0);
}

// The desktop's frames rendered into a folder of their own, the page served
// and a browser, for a test file's before(); endPageTests undoes them.
async function startPageTests() {
  const desktop = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-desktop-'));
  // From the folder that holds Vorlex.app, where the images resolve.
  execFileSync(path.join(root, 'tests/support/with_xvfb.sh'),
               ['./tests/scenes_pictures', desktop, ...frames.map(String)],
               { cwd: desktopBuild, stdio: ['ignore', 'inherit', 'inherit'] });
  const site = await serve(webPage);
  const browser = await launch();
  return { browser, site, desktop };
}

async function endPageTests({ browser, site, desktop }) {
  await browser?.closeAll();
  site?.server.close();
  if (desktop) fs.rmSync(desktop, { recursive: true, force: true });
}

// Asserts that the canvas shows the desktop's frame n, rendered into folder
// desktop; returns what it shows.
async function assertDesktopFrame(desktop, page, n) {
  const expected = parsePpm(fs.readFileSync(path.join(desktop, `frame-${String(n).padStart(4, '0')}.ppm`)));
  // On a busy machine WebKit's screenshot may still show a frame from before
  // the page's last one, which its compositor has not caught up with: a
  // picture that differs is read again, a little later, before it is judged.
  let shown, off;
  for (let read = 0; read < 4 && !(off <= mostOffPixels); ++read) {
    if (read) await new Promise((resolve) => setTimeout(resolve, 500));
    shown = await canvasPixels(page);
    off = offPixels(expected, shown);
  }
  assert.ok(off <= mostOffPixels, `${off} pixels differ from the desktop's frame ${n}`);
  return shown;
}

// Screenshots of the canvas of a page that runs paced, each with the frames
// shown before and after it was taken.
async function liveShots(page, count) {
  const shown = () => page.evaluate(() => Number(document.querySelector('canvas').dataset.frame));
  const shots = [];
  for (let i = 0; i < count; ++i) {
    const before = await shown();
    const png = await page.canvasPng();
    shots.push({ before, after: await shown(), picture: decodeImage(png) });
  }
  return shots;
}

// Asserts that each shot is a whole frame of the desktop's, one near the
// frames the page showed around it (a browser's window may lag the page by
// a few): rendered here, with no timing, as the desktop draws them.
function assertWholeFrames(shots) {
  const near = (shot) => Array.from({ length: shot.after - shot.before + 24 }, (_, i) => shot.before - 20 + i);
  const wanted = [...new Set(shots.flatMap(near))].filter((n) => n >= 1);
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-desktop-near-'));
  try {
    execFileSync(path.join(root, 'tests/support/with_xvfb.sh'), ['./tests/scenes_pictures', folder, ...wanted.map(String)],
                 { cwd: desktopBuild, stdio: ['ignore', 'inherit', 'inherit'] });
    for (const shot of shots) {
      let best = { off: Infinity, frame: 0 };
      for (const n of near(shot).filter((m) => m >= 1)) {
        const off = offPixels(parsePpm(fs.readFileSync(path.join(folder, `frame-${String(n).padStart(4, '0')}.ppm`))), shot.picture);
        if (off < best.off) best = { off, frame: n };
      }
      assert.ok(best.off <= mostOffPixels, `a shot taken between frames ${shot.before} and ${shot.after} is no whole ` +
                `frame: ${best.off} pixels differ from the nearest, the desktop's frame ${best.frame} (overlay missing?)`);
    }
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// A copy of the page folder, changed by change(folder), served while fn(url) runs.
async function withFolder(change, fn) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-web-'));
  fs.cpSync(webPage, folder, { recursive: true });
  change(folder);
  const where = await serve(folder);
  try {
    return await fn(where.url);
  } finally {
    where.server.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// The page at url + query in browser, run to its end; the page is closed
// after check(end, log, page). `prepare` as for open().
async function runPage(browser, url, query, check, prepare = undefined) {
  const { page, log } = await open(browser, url, query, prepare);
  await check(await waitEnded(page), log, page);
  await page.close();
}

const resources = 'Vorlex.app/Contents/Resources';
// The name the build gave `name` (vorlex.wasm: vorlex.3f9c1a2b.wasm) in folder.
function served(folder, name) {
  const [, stem, type] = name.match(/^(.*)(\.[a-z]+)$/);
  const found = fs.readdirSync(folder).filter((file) => new RegExp(`^${dots(stem)}\\.[0-9a-f]{8}${dots(type)}$`).test(file));
  assert.strictEqual(found.length, 1, `${name} in ${folder}: ${found}`);
  return path.join(folder, found[0]);
}
const dots = (name) => name.replaceAll('.', '\\.');
const frameAt = (page, least) => page.waitFor((n) => Number(document.querySelector('canvas').dataset.frame) >= n, least);
const textOf = (page, selector) => page.evaluate((which) => document.querySelector(which).textContent, selector);

module.exports = {
  engine, can, textOf, serve, launch, open, waitEnded, canvasPixels, decodeImage, parsePpm,
  root, webPage, desktopBuild, frames, mostOffPixels, offPixels, assertClean,
  startPageTests, endPageTests, assertDesktopFrame, liveShots, assertWholeFrames, withFolder, runPage, resources, served, dots, frameAt,
};
