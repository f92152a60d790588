// The page's cost against a plain-WebGL replay of its own frames, in headless
// Chromium on SwiftShader:  node bench/web/cost.js PAGE-FOLDER
// The page's WebGL calls at ?frames=600 are recorded as it makes them
// (record.js); replay.js draws the same frames with the vertices prepared
// ahead, one upload and one draw per change of state. Then, in interleaved
// rounds, the CPU of all the browser's processes over frames 31 to 600 of
// each, unpaced, as the difference of a run to frame 600 and one to 30. Prints the benchmark's table lines; exits 1 when a goal is
// missed. Run by scripts/bench.sh on an otherwise idle machine, never in CI.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { serve } = require('../../web/serve.js');
const { launch, open } = require('../../tests/web/page.js');

const lastFrame = 600;
const firstTimed = 31;
const rounds = 5;
const mostRatio = 1.2;
const mostDrawRatio = 2;
const tickMs = 10;  // the kernel's clock tick (USER_HZ 100)

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// User and system time of the browser and of every process below it, in
// ticks, by process.
function browserTicks(browserPid) {
  const parent = new Map(), ticks = new Map();
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    let stat;
    try {
      stat = fs.readFileSync(`/proc/${pid}/stat`, 'latin1');
    } catch {
      continue;  // gone meanwhile
    }
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    parent.set(Number(pid), Number(fields[1]));
    ticks.set(Number(pid), Number(fields[11]) + Number(fields[12]));
  }
  const ours = new Map();
  for (const [pid, own] of ticks)
    for (let up = pid; up > 1; up = parent.get(up))
      if (up === browserPid) {
        ours.set(pid, own);
        break;
      }
  return ours;
}

// The ticks used between two readings: a process that began in between
// counts from nothing, and one that ended (the last page's renderer) no longer
// counts, rather than taking its whole life off the sum.
function ticksBetween(before, after) {
  let sum = 0;
  for (const [pid, ticks] of after)
    sum += ticks - (before.get(pid) || 0);
  return sum;
}

// Records the page's frames into `folder`, beside the replay's own files;
// gives the page's draw calls a frame over the frames recorded.
async function record(browser, url, folder) {
  const recorder = fs.readFileSync(path.join(__dirname, 'record.js'), 'utf8');
  const { page } = await open(browser, url, `?frames=${lastFrame}`, (fresh) =>
    fresh.evaluateOnNewDocument(`window.recordFrom = ${firstTimed}; ${recorder}`));
  await page.waitForSelector('body[data-state="ended"]', { timeout: 300000 });
  const meta = await page.evaluate(() => window.packRecording());
  const pieces = [];
  for (let at = 0; at < meta.bytes; at += 4 << 20)
    pieces.push(Buffer.from(await page.evaluate((from, to) => window.packedPiece(from, to), at,
                                                Math.min(at + (4 << 20), meta.bytes)), 'base64'));
  await page.close();
  fs.writeFileSync(path.join(folder, 'recording.json'), JSON.stringify(meta));
  fs.writeFileSync(path.join(folder, 'recording.bin'), Buffer.concat(pieces));
  for (const name of ['replay.html', 'replay.js'])
    fs.copyFileSync(path.join(__dirname, name), path.join(folder, name));
  return meta.draws.length / (lastFrame - firstTimed + 1);
}

// The CPU of loading `url` and drawing to its end, the GPU's work included:
// the frame-stepping page or replay queues draws faster than the GPU process
// runs them, so a pixel read waits for the last.
async function ticksOf(browser, url) {
  const pid = browser.process().pid;
  const before = browserTicks(pid);
  const { page, log } = await open(browser, url);
  await page.waitForSelector('body[data-state="ended"]', { timeout: 300000 });
  const problem = await page.evaluate(() => {
    const gl = document.querySelector('canvas').getContext('webgl');
    gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));
    return document.getElementById('problem')?.textContent || '';
  });
  const used = ticksBetween(before, browserTicks(pid));
  const draws = await page.evaluate(() => window.drawsPerFrame);
  await page.close();
  // Its renderer ends before the next reading.
  await new Promise((resolve) => setTimeout(resolve, 1000));
  if (log.pageErrors.length || log.error.length || problem)
    throw new Error(`${url} failed: ${[problem, ...log.pageErrors, ...log.error].join(' | ')}`);
  return { ticks: used, draws };
}

// CPU a frame over frames firstTimed..lastFrame: a run to the last frame less
// a run to the one before the first, which loads and starts up alike.
async function cost(browser, url) {
  const short = await ticksOf(browser, url(firstTimed - 1));
  const long = await ticksOf(browser, url(lastFrame));
  return { ms: ((long.ticks - short.ticks) * tickMs) / (lastFrame - firstTimed + 1), draws: long.draws };
}

(async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-replay-'));
  const site = await serve(process.argv[2]);
  const browser = await launch();
  let replaySite;
  try {
    const pageDraws = await record(browser, site.url, folder);
    replaySite = await serve(folder);
    const pageUrl = (frames) => `${site.url}?frames=${frames}`;
    const replayUrl = (frames) => `${replaySite.url}replay.html?to=${frames}`;
    const ratios = [], pageMs = [], replayMs = [];
    let replayDraws = 0;
    for (let round = 0; round < rounds; ++round) {
      const pair = {};
      for (const which of round % 2 ? ['replay', 'page'] : ['page', 'replay'])
        pair[which] = await cost(browser, which === 'page' ? pageUrl : replayUrl);
      ratios.push(pair.page.ms / pair.replay.ms);
      pageMs.push(pair.page.ms);
      replayMs.push(pair.replay.ms);
      replayDraws = pair.replay.draws;
    }
    const ratio = median(ratios);
    const rows = [
      ['web: page CPU a frame / replay',
       `${ratio.toFixed(2)}x (${median(pageMs).toFixed(2)} vs ${median(replayMs).toFixed(2)} ms, all browser processes, ` +
       `frames ${firstTimed}-${lastFrame} unpaced; rounds ${ratios.map((r) => r.toFixed(2)).join(' ')})`,
       `at most ${mostRatio}x`, ratio <= mostRatio],
      ['web: draw calls a frame / replay', `${pageDraws.toFixed(1)} vs ${replayDraws.toFixed(1)}`,
       `at most ${mostDrawRatio}x`, pageDraws <= mostDrawRatio * replayDraws],
    ];
    const widths = [0, 1, 2].map((c) => Math.max(...rows.map((row) => row[c].length)));
    for (const row of rows)
      console.log(`${row[0].padEnd(widths[0])}  ${row[1].padEnd(widths[1])}  ${row[2].padEnd(widths[2])}  ${row[3] ? 'pass' : 'FAIL'}`);
    process.exitCode = rows.every((row) => row[3]) ? 0 : 1;
  } finally {
    await browser.closeAll();
    site.server.close();
    replaySite?.server.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
})().catch((error) => {
  console.error(`cost.js: ${error.message}`);
  process.exit(1);
});
