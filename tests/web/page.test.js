// The web page in headless Chromium: its frames against the desktop's
// headless render of the same frames, the committed still, the keys, and the
// one-line failures. Run by scripts/web.sh test, which builds both first.
'use strict';
const assert = require('node:assert');
const { execFileSync, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { after, before, describe, it } = require('node:test');
const { serve } = require('../../web/serve.js');
const { launch, open, waitEnded, canvasPixels, decodeImage, parsePpm } = require('./page.js');

const root = path.resolve(__dirname, '../..');
const webPage = process.env.VORLEX_WEB_PAGE || path.join(root, 'dist/web');
const desktopBuild = process.env.VORLEX_BUILD || path.join(root, 'build');
const frames = [1, 100, 300];
const stillFrame = 300;

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

// Neither a page error, nor an error on the console, nor a WebGL error.
function assertClean(log, end) {
  assert.deepStrictEqual(log.pageErrors, []);
  assert.deepStrictEqual(log.error, []);
  assert.deepStrictEqual(log.warn.filter((line) => /WebGL/.test(line) && !/GL Driver Message/.test(line)), []);
  assert.strictEqual(end.glError, 0);
}

let browser, site, desktop;

// Asserts that the canvas shows the desktop's frame n; returns what it shows.
async function assertDesktopFrame(page, n) {
  const expected = parsePpm(fs.readFileSync(path.join(desktop, `frame-${String(n).padStart(4, '0')}.ppm`)));
  const shown = await canvasPixels(page);
  const off = offPixels(expected, shown);
  assert.ok(off <= mostOffPixels, `${off} pixels differ from the desktop's frame ${n}`);
  return shown;
}

before(async () => {
  desktop = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-desktop-'));
  // From the folder that holds Vorlex.app, where the images resolve.
  execFileSync(path.join(root, 'tests/support/with_xvfb.sh'),
               ['./tests/scenes_pictures', desktop, ...frames.map(String)],
               { cwd: desktopBuild, stdio: ['ignore', 'inherit', 'inherit'] });
  site = await serve(webPage);
  browser = await launch();
});

after(async () => {
  await browser?.closeAll();
  site?.server.close();
  fs.rmSync(desktop, { recursive: true, force: true });
});

describe('the page at ?frames=N', () => {
  for (const n of frames) {
    it(`draws frame ${n} as the desktop does`, async () => {
      const { page, log } = await open(browser, site.url, `?frames=${n}`);
      const end = await waitEnded(page);
      assert.strictEqual(end.frame, n);
      assert.strictEqual(end.problem, '');
      assertClean(log, end);
      const shown = await assertDesktopFrame(page, n);
      if (n === stillFrame) {
        const still = decodeImage(fs.readFileSync(path.join(root, 'docs/web.png')));
        const stale = offPixels(still, shown);
        assert.ok(stale <= mostOffPixels, `docs/web.png is out of date (${stale} pixels): scripts/web.sh still`);
      }
      await page.close();
    });
  }
});

describe('the running demo', () => {
  it('prints frame-rate lines on the console, takes keys, and ends on Escape', async () => {
    const { page, log } = await open(browser, site.url);
    // The first line closes the first window, five seconds in.
    for (let poll = 0; poll < 300 && log.log.length === 0; ++poll) {
      if ((await page.evaluate(() => document.body.dataset.state)) !== 'running')
        break;
      await new Promise((resolve) => setTimeout(resolve, 200));
    }
    assert.match(log.log[0] || '', /^\d+$/);

    // A mouse sweep over the canvas and other keys queue nothing that holds Escape back.
    await page.mouse.move(100, 100);
    for (let step = 0; step < 50; ++step)
      await page.mouse.move(100 + step * 8, 150 + step * 4);
    await page.keyboard.press('q');
    await page.keyboard.press('Enter');
    const before = await page.evaluate(() => Number(document.querySelector('canvas').dataset.frame));
    assert.strictEqual(await page.evaluate(() => document.body.dataset.state), 'running');
    await page.keyboard.press('Escape');
    const end = await waitEnded(page, 30000);
    assert.ok(end.frame >= before, `ended at frame ${end.frame}, before frame ${before}`);
    assert.strictEqual(end.problem, '');
    assertClean(log, end);
    assert.ok(log.log.every((line) => /^\d+$/.test(line)), `console lines: ${log.log.join(' | ')}`);
    await page.close();
  });
});

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

// The page at url + query, run to its end; the page is closed after check(end, log, page).
async function runPage(url, query, check, other = browser) {
  const { page, log } = await open(other, url, query);
  await check(await waitEnded(page), log, page);
  await page.close();
}

const resources = 'Vorlex.app/Contents/Resources';
const dots = (name) => name.replaceAll('.', '\\.');
const frameAt = (page, least) => page.waitForFunction((n) => Number(document.querySelector('canvas').dataset.frame) >= n, {}, least);

describe('a page that cannot go on says why in one line', () => {
  const missing = (name) => (folder) => fs.rmSync(path.join(folder, name));
  const cases = [
    { what: 'a frame count that is not one', query: '?frames=ten', line: /^Vorlex: cannot read the address: \?frames=/ },
    { what: 'no WebGL', flags: ['--disable-3d-apis'],
      line: /^Vorlex: cannot open the 640x480 OpenGL display: this browser offers no WebGL$/ },
    { what: 'a wasm cut short', line: /^Vorlex: vorlex\.wasm does not load: CompileError: /,
      change: (folder) => fs.truncateSync(path.join(folder, 'vorlex.wasm'), 1000) },
    ...['vorlex.js', 'vorlex.wasm'].map((name) => ({
      what: `no ${name}`, change: missing(name), line: new RegExp(`^Vorlex: cannot fetch ${dots(name)}: 404 Not Found$`) })),
    ...['image.gif', 'img24.png', 'fontB12.gif'].map((name) => ({
      what: `no ${name}`, change: missing(`${resources}/${name}`), line: new RegExp(
        `^Vorlex: cannot load "${dots(`${resources}/${name}`)}" .*: the page could not fetch it from beside index\\.html: 404 Not Found$`) })),
  ];
  for (const c of cases) {
    it(c.what, async () => {
      const other = c.flags ? await launch(c.flags) : browser;
      const check = (url) => runPage(url, c.query || '?frames=5', (end, log) => {
        assert.match(end.problem, c.line);
        assert.deepStrictEqual(log.pageErrors, []);
        // Besides the line, only the browser's own note of the missing file.
        assert.deepStrictEqual(log.error.filter((line) => !/^Failed to load resource: .* 404/.test(line)), [end.problem]);
      }, other);
      try {
        await (c.change ? withFolder(c.change, check) : check(site.url));
      } finally {
        if (other !== browser) await other.closeAll();
      }
    });
  }
});

describe('the pixel budget, as the desktop keeps it', () => {
  // Images made by ImageMagick into the page's resources: [name, convert's arguments].
  const make = (images) => (folder) => images.forEach(([name, ...args]) =>
    execFileSync('convert', [...args.map((arg) => arg.replace('@', path.join(folder, resources, name)))]));

  it('loads budget-sized PNG, GIF, BMP and 16-bit PNG images in every kind of slot', () => withFolder(make([
    ['image.png', '-size', '2048x2048', 'gradient:red-blue', 'PNG32:@'],
    ['image.gif', '-size', '1448x1448', 'gradient:green-yellow', '@'],
    ['image.bmp', '-size', '1448x1448', 'gradient:', 'BMP3:@'],
    ['img72.bmp', '-size', '2048x2048', 'gradient:', 'BMP3:@'],
    ['img48.gif', '-size', '2048x2048', 'gradient:green-yellow', '@'],
    ['img24.png', '-size', '2048x2048', 'gradient:red-blue', '-depth', '16', 'PNG48:@'],
    ['fontA06.gif', '-size', '64x64', 'gradient:red-blue', '-depth', '16', 'PNG64:@'],
  ]), (url) => runPage(url, '?frames=3', (end, log) => {
    assert.deepStrictEqual([end.problem, end.frame], ['', 3]);
    assertClean(log, end);
  })));

  it('draws 16-bit PNG copies of the images as the desktop draws the originals', () => withFolder(make(
    ['image.png', 'img24.png'].map((name) => [name, '@', '-depth', '16', 'PNG64:@']),
  ), (url) => runPage(url, `?frames=${frames[1]}`, async (end, log, page) => {
    assert.strictEqual(end.problem, '');
    assertClean(log, end);
    await assertDesktopFrame(page, frames[1]);
  })));

  // The desktop program's line on the same file, but for the working directory it names.
  function desktopLine(name, file) {
    const run = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-desktop-run-'));
    fs.cpSync(path.join(desktopBuild, 'Vorlex.app'), path.join(run, 'Vorlex.app'), { recursive: true });
    fs.copyFileSync(file, path.join(run, resources, name));
    const ran = spawnSync(path.join(root, 'tests/support/with_xvfb.sh'), ['./Vorlex.app/Contents/MacOS/Vorlex'],
                          { cwd: run, encoding: 'utf8', timeout: 60000 });
    fs.rmSync(run, { recursive: true, force: true });
    assert.strictEqual(ran.status, 1, `the desktop program took ${name}`);
    return ran.stderr;
  }
  const withoutFolder = (line) => line.trim().replace(/ \(working directory [^)]*\)/, '');

  const over = (size, format = '') => (file) => execFileSync('convert', ['-size', size, 'xc:red', format + file]);
  for (const [name, what, write, reason] of [
    ['image.png', 'a 2049x2048 PNG', over('2049x2048'), /over the budget/],
    ['img48.gif', 'a 2048x2049 GIF', over('2048x2049'), /over the budget/],
    ['img72.bmp', 'a 4097x1025 BMP', over('4097x1025', 'BMP3:'), /over the budget/],
    ['image.gif', 'a GIF cut short', (file) => fs.truncateSync(file, fs.statSync(file).size >> 1), /cut short/],
    ['img24.png', 'a PNG of no pixels', (file) => fs.writeFileSync(file, Buffer.from(
      '89504e470d0a1a0a0000000d494844520000000000000000080600000000', 'hex')), /no pixels \(0x0\)/],
    ['image.bmp', 'text', (file) => fs.writeFileSync(file, 'not an image\n'.repeat(300)), /Unsupported image format/],
  ]) {
    it(`refuses ${what} with the desktop's line`, () => {
      let expected;
      return withFolder((folder) => {
        write(path.join(folder, resources, name));
        expected = withoutFolder(desktopLine(name, path.join(folder, resources, name)));
      }, (url) => runPage(url, '?frames=3', (end) => {
        assert.match(expected, reason);
        assert.strictEqual(withoutFolder(end.problem), expected);
      }));
    });
  }
});

describe('the page as the browser hands it', () => {
  it('waits while the WebGL context is lost, says so, and goes on where it was once it is back', async () => {
    const { page, log } = await open(browser, site.url, `?frames=${frames[2]}`);
    await frameAt(page, 20);
    await page.evaluate(() => (window.lose = Module.ctx.getExtension('WEBGL_lose_context')).loseContext());
    await page.waitForSelector('body[data-state="lost"]');
    const lostAt = await page.$eval('canvas', (canvas) => canvas.dataset.frame);
    assert.match(await page.$eval('#state', (line) => line.textContent), /WebGL context/);
    // A few turns of the browser's: the loop draws nothing meanwhile.
    await new Promise((resolve) => setTimeout(resolve, 300));
    assert.strictEqual(await page.$eval('canvas', (canvas) => canvas.dataset.frame), lostAt);
    await page.evaluate(() => window.lose.restoreContext());
    const end = await waitEnded(page);
    assert.deepStrictEqual([end.frame, end.problem, log.pageErrors, log.error], [frames[2], '', [], []]);
    // Drawn from textures and render state made again.
    await assertDesktopFrame(page, frames[2]);
    await page.close();
  });

  it('ends on Escape while the WebGL context is lost', async () => {
    const { page } = await open(browser, site.url);
    await frameAt(page, 1);
    await page.evaluate(() => Module.ctx.getExtension('WEBGL_lose_context').loseContext());
    await page.waitForSelector('body[data-state="lost"]');
    await page.keyboard.press('Escape');
    assert.strictEqual((await waitEnded(page, 30000)).problem, '');
    await page.close();
  });

  it('takes Escape alone, lets Tab move the focus on, and takes no key once the demo has ended', async () => {
    const { page } = await open(browser, site.url);
    await frameAt(page, 1);
    // Last in line, on the window: the keys the page took from the browser.
    await page.evaluate(() => {
      window.taken = [];
      window.addEventListener('keydown', (event) => event.defaultPrevented && window.taken.push(event.key));
    });
    const press = async (...chords) => {
      for (const keys of chords) {
        for (const key of keys) await page.keyboard.down(key);
        for (const key of [...keys].reverse()) await page.keyboard.up(key);
      }
      return page.evaluate(() => ({ focus: document.activeElement.id, taken: window.taken.join() }));
    };
    assert.deepStrictEqual(await press(['F5'], ['F11'], ['Control', 'f'], ['Control', 'l'], ['ArrowLeft'], ['ArrowDown'],
                                       ['PageDown'], ['Space'], ['q'], ['Control', 'q']), { focus: 'canvas', taken: '' });
    assert.notStrictEqual((await press(['Tab'])).focus, 'canvas');
    assert.strictEqual((await press(['Escape'])).taken, 'Escape');
    await waitEnded(page, 30000);
    assert.strictEqual((await press(['Escape'], ['ArrowLeft'])).taken, 'Escape');
    await page.close();
  });

  it('fits a large window from the first frame, and covers the screen 4:3 in full screen', async () => {
    const { page } = await open(browser, site.url, '', async () => {}, { width: 1700, height: 1300 });
    const shown = () => page.evaluate(() => {
      const { width, height } = document.querySelector('canvas').getBoundingClientRect();
      return { width, height, room: [document.querySelector('main').clientWidth, document.querySelector('main').clientHeight] };
    });
    await frameAt(page, 1);
    const first = await shown();
    const scale = Math.floor(Math.min(first.room[0] / 640, first.room[1] / 480));
    assert.ok(scale >= 2, `room for ${first.room}`);
    assert.deepStrictEqual([first.width, first.height], [640 * scale, 480 * scale]);

    await page.click('#fullscreen');
    await page.waitForFunction((width) => document.fullscreenElement &&
                               document.querySelector('canvas').getBoundingClientRect().width !== width, {}, first.width);
    const full = await shown();
    assert.ok(Math.abs(full.width * 3 - full.height * 4) < 4, `${full.width}x${full.height} is not 4:3`);
    assert.ok(Math.abs(full.width - full.room[0]) < 1 || Math.abs(full.height - full.room[1]) < 1,
              `${full.width}x${full.height} does not cover ${full.room}`);
    await page.close();
  });
});
