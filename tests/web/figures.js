// The benchmark's web figures against their goals, one line each in the
// benchmark's table: node figures.js PAGE-FOLDER. Exits 1 when a goal is
// missed. Timings: run it on an otherwise idle machine; never in CI.
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { serve } = require('../../web/serve.js');
const { launch, open, served } = require('./page.js');

const mostGzippedKiB = 150;
const mostFirstFrameMs = 1000;
const loads = 7;
const runSeconds = 16;
const rate = '62';

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// The page from navigation to the first frame on its canvas, in the page's
// own clock (0 is the start of navigation), with nothing cached.
async function firstFrameMs(browser, url) {
  const { page } = await open(browser, url, '', async (fresh) => {
    await fresh.setCacheEnabled(false);
    await fresh.evaluateOnNewDocument(() => {
      new MutationObserver((changes, observer) => {
        window.firstFrameAt = performance.now();
        observer.disconnect();
      }).observe(document, { subtree: true, attributeFilter: ['data-frame'] });
    });
  });
  await page.waitFor(() => window.firstFrameAt, undefined, 30000);
  const ms = await page.evaluate(() => window.firstFrameAt);
  await page.close();
  return ms;
}

async function rateLines(browser, url) {
  const { page, log } = await open(browser, url);
  await new Promise((resolve) => setTimeout(resolve, runSeconds * 1000));
  await page.close();
  return log.log;
}

(async () => {
  const folder = process.argv[2];
  const gzipped = ['vorlex.wasm', 'vorlex.js'].map(
    (name) => zlib.gzipSync(fs.readFileSync(served(folder, name)), { level: 9 }).length / 1024);
  const { server, url } = await serve(folder);
  const browser = await launch();
  const rows = [];
  try {
    const total = gzipped[0] + gzipped[1];
    rows.push(['web: .wasm + .js gzipped', `${gzipped[0].toFixed(1)} + ${gzipped[1].toFixed(1)} KiB = ${total.toFixed(1)} KiB`,
               `at most ${mostGzippedKiB} KiB`, total <= mostGzippedKiB]);
    const times = [];
    for (let i = 0; i < loads; ++i)
      times.push(await firstFrameMs(browser, url));
    const ms = median(times);
    rows.push(['web: page load to first frame', `${ms.toFixed(0)} ms (median of ${loads} loads, headless Chromium)`,
               `at most ${mostFirstFrameMs} ms`, ms <= mostFirstFrameMs]);
    const lines = await rateLines(browser, url);
    const counted = lines.slice(1);
    rows.push(['web: frame-rate lines', `${lines.join(' ') || 'none'} (first not counted)`, `${rate} after the first, at least 2`,
               counted.length >= 2 && counted.every((line) => line === rate)]);
  } finally {
    await browser.closeAll();
    server.close();
  }
  const widths = [0, 1, 2].map((c) => Math.max(...rows.map((row) => row[c].length)));
  for (const row of rows)
    console.log(`${row[0].padEnd(widths[0])}  ${row[1].padEnd(widths[1])}  ${row[2].padEnd(widths[2])}  ${row[3] ? 'pass' : 'FAIL'}`);
  process.exitCode = rows.every((row) => row[3]) ? 0 : 1;
})().catch((error) => {
  console.error(`figures.js: ${error.message}`);
  process.exit(1);
});
