// Serves the page folder (dist/web/) on 127.0.0.1 and drives the page in
// Debian's headless Chromium (software WebGL through SwiftShader), for the
// tests, the still and the benchmark.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');
const { serve } = require('../../web/serve.js');

async function launch(extraFlags = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: [
      '--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--no-first-run', `--user-data-dir=${profile}`, ...extraFlags,
    ],
  });
  // Closes the browser, then removes its profile.
  browser.closeAll = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
  };
  return browser;
}

// Opens the page at `query` with the canvas shown at 1:1 (a window that fits
// 640x480 but not twice that, unless `viewport` says otherwise), collecting
// console lines, page errors and WebGL errors the emulation records.
// `prepare` gets the page before it loads.
async function open(browser, url, query = '', prepare = async () => {}, viewport = { width: 800, height: 700 }) {
  const page = await browser.newPage();
  await prepare(page);
  await page.setViewport(viewport);
  const log = { log: [], warn: [], error: [], pageErrors: [] };
  page.on('console', (message) => {
    const kind = message.type() === 'warning' ? 'warn' : message.type();
    (log[kind] || log.log).push(message.text());
  });
  page.on('pageerror', (error) => log.pageErrors.push(error.message));
  await page.goto(url + query);
  return { page, log };
}

async function waitEnded(page, timeout = 120000) {
  await page.waitForSelector('body[data-state="ended"]', { timeout });
  return page.evaluate(() => ({
    frame: Number(document.querySelector('canvas').dataset.frame || 0),
    problem: document.getElementById('problem').textContent,
    glError: window.Module && Module.ctx ? Module.ctx.getError() : -1,
  }));
}

// The canvas as shown: width, height and RGB bytes, top row first.
async function canvasPixels(page) {
  const canvas = await page.$('canvas');
  const png = await canvas.screenshot({ type: 'png' });
  return decodeImage(png);
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

module.exports = { serve, launch, open, waitEnded, canvasPixels, decodeImage, parsePpm };
