// The web page in headless Chromium: its frames against the desktop's
// headless render of the same frames, the committed still, the keys, and the
// one-line failures. Run by scripts/web.sh test, which builds both first.
'use strict';
const assert = require('node:assert');
const { execFileSync } = require('node:child_process');
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
      const expected = parsePpm(fs.readFileSync(path.join(desktop, `frame-${String(n).padStart(4, '0')}.ppm`)));
      const shown = await canvasPixels(page);
      const off = offPixels(expected, shown);
      assert.ok(off <= mostOffPixels, `${off} pixels differ from the desktop's frame ${n}`);
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

const resources = 'Vorlex.app/Contents/Resources';
const imageLine = (name, why) => new RegExp(`^Vorlex: cannot load "${resources}/${name.replace('.', '\\.')}" .*: ${why}$`);

describe('a page that cannot go on says why in one line', () => {
  const missing = (name) => (folder) => fs.rmSync(path.join(folder, name));
  const cases = [
    { what: 'a frame count that is not one', query: '?frames=ten', line: /^Vorlex: cannot read the address: \?frames=/ },
    { what: 'no WebGL', flags: ['--disable-3d-apis'],
      line: /^Vorlex: cannot open the 640x480 OpenGL display: this browser offers no WebGL$/ },
    { what: 'a wasm cut short', change: (folder) => {
      const wasm = path.join(folder, 'vorlex.wasm');
      fs.truncateSync(wasm, fs.statSync(wasm).size >> 1);
    }, line: /^Vorlex: vorlex\.wasm does not load: CompileError: / },
    ...['vorlex.js', 'vorlex.wasm'].map((name) => ({
      what: `no ${name}`, change: missing(name), line: new RegExp(`^Vorlex: cannot fetch ${name.replace('.', '\\.')}: 404 Not Found$`),
    })),
    ...['image.gif', 'img24.png', 'fontB12.gif'].map((name) => ({
      what: `no ${name}`, change: missing(`${resources}/${name}`),
      line: imageLine(name, 'the page could not fetch it from beside index\\.html: 404 Not Found'),
    })),
  ];
  for (const c of cases) {
    it(c.what, async () => {
      const other = c.flags ? await launch(c.flags) : null;
      const check = async (url) => {
        const { page, log } = await open(other || browser, url, c.query || '?frames=5');
        const end = await waitEnded(page);
        assert.match(end.problem, c.line);
        assert.deepStrictEqual(log.pageErrors, []);
        // Besides the line, only the browser's own note of the missing file.
        assert.deepStrictEqual(log.error.filter((line) => !/^Failed to load resource: .* 404/.test(line)),
                               [end.problem]);
        await page.close();
      };
      try {
        await (c.change ? withFolder(c.change, check) : check(site.url));
      } finally {
        await other?.closeAll();
      }
    });
  }
});

// Images made by ImageMagick: convert ARGS... OUT.
function convert(out, ...args) {
  execFileSync('convert', [...args, out]);
}

describe('the pixel budget, as the desktop keeps it', () => {
  it('loads budget-sized PNG, GIF, BMP and 16-bit PNG images in every kind of slot', async () => {
    await withFolder((folder) => {
      const at = (name) => path.join(folder, resources, name);
      convert(`PNG32:${at('image.png')}`, '-size', '2048x2048', 'gradient:red-blue');
      convert(at('image.gif'), '-size', '1448x1448', 'gradient:green-yellow');
      convert(`BMP3:${at('image.bmp')}`, '-size', '1448x1448', 'gradient:white-black');
      convert(`BMP3:${at('img72.bmp')}`, '-size', '2048x2048', 'gradient:white-black');
      convert(at('img48.gif'), '-size', '2048x2048', 'gradient:green-yellow');
      convert(`PNG48:${at('img24.png')}`, '-size', '2048x2048', 'gradient:red-blue', '-depth', '16');
      convert(`PNG64:${at('fontA06.gif')}`, '-size', '64x64', 'gradient:red-blue', '-depth', '16');
    }, async (url) => {
      const { page, log } = await open(browser, url, '?frames=3');
      const end = await waitEnded(page);
      assert.strictEqual(end.problem, '');
      assert.strictEqual(end.frame, 3);
      assertClean(log, end);
      await page.close();
    });
  });

  it('draws a 16-bit PNG as its 8-bit original', async () => {
    const n = frames[1];
    await withFolder((folder) => {
      for (const name of ['image.png', 'img24.png']) {
        const file = path.join(folder, resources, name);
        convert(`PNG64:${file}`, file, '-depth', '16');
      }
    }, async (url) => {
      const { page, log } = await open(browser, url, `?frames=${n}`);
      const end = await waitEnded(page);
      assert.strictEqual(end.problem, '');
      assertClean(log, end);
      const expected = parsePpm(fs.readFileSync(path.join(desktop, `frame-${String(n).padStart(4, '0')}.ppm`)));
      const off = offPixels(expected, await canvasPixels(page));
      assert.ok(off <= mostOffPixels, `${off} pixels differ from the desktop's frame ${n}`);
      await page.close();
    });
  });

  // The desktop's line, from the desktop program on the same file, but for
  // the working directory it names.
  function desktopLine(name, file) {
    const run = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-desktop-run-'));
    try {
      fs.cpSync(path.join(desktopBuild, 'Vorlex.app'), path.join(run, 'Vorlex.app'), { recursive: true });
      fs.copyFileSync(file, path.join(run, resources, name));
      execFileSync(path.join(root, 'tests/support/with_xvfb.sh'), ['./Vorlex.app/Contents/MacOS/Vorlex'],
                   { cwd: run, stdio: ['ignore', 'ignore', 'pipe'], timeout: 60000 });
      assert.fail(`the desktop program took ${name}`);
    } catch (error) {
      if (error.code === 'ERR_ASSERTION')
        throw error;
      return error.stderr.toString();
    } finally {
      fs.rmSync(run, { recursive: true, force: true });
    }
  }
  const withoutFolder = (line) => line.trim().replace(/ \(working directory [^)]*\)/, '');

  for (const [name, size] of [['image.png', '2049x2048'], ['img48.gif', '2048x2049'], ['img72.bmp', '4097x1025']]) {
    it(`refuses a ${size} ${name} with the desktop's line`, async () => {
      let expected;
      await withFolder((folder) => {
        const file = path.join(folder, resources, name);
        convert(name.endsWith('.bmp') ? `BMP3:${file}` : file, '-size', size, 'xc:red');
        expected = withoutFolder(desktopLine(name, file));
      }, async (url) => {
        assert.match(expected, /over the budget/);
        const { page } = await open(browser, url, '?frames=3');
        const end = await waitEnded(page);
        assert.strictEqual(withoutFolder(end.problem), expected);
        await page.close();
      });
    });
  }
});

describe('the page as the browser hands it', () => {
  it('waits while the WebGL context is lost, says so, and goes on where it was once it is back', async () => {
    const n = frames[2];
    const { page, log } = await open(browser, site.url, `?frames=${n}`);
    await page.waitForFunction(() => Number(document.querySelector('canvas').dataset.frame) >= 20);
    await page.evaluate(() => {
      window.loseContext = Module.ctx.getExtension('WEBGL_lose_context');
      window.loseContext.loseContext();
    });
    await page.waitForSelector('body[data-state="lost"]');
    const lostAt = await page.evaluate(() => document.querySelector('canvas').dataset.frame);
    assert.match(await page.$eval('#state', (line) => line.textContent), /WebGL context/);
    // A few turns of the browser's: the loop draws nothing meanwhile.
    await new Promise((resolve) => setTimeout(resolve, 300));
    assert.strictEqual(await page.evaluate(() => document.querySelector('canvas').dataset.frame), lostAt);
    await page.evaluate(() => window.loseContext.restoreContext());
    const end = await waitEnded(page);
    assert.strictEqual(end.frame, n);
    assert.strictEqual(end.problem, '');
    assert.deepStrictEqual(log.pageErrors, []);
    assert.deepStrictEqual(log.error, []);
    // Drawn from textures and render state made again, as the desktop draws it.
    const expected = parsePpm(fs.readFileSync(path.join(desktop, `frame-${String(n).padStart(4, '0')}.ppm`)));
    const off = offPixels(expected, await canvasPixels(page));
    assert.ok(off <= mostOffPixels, `${off} pixels differ from the desktop's frame ${n}`);
    await page.close();
  });

  it('ends on Escape while the WebGL context is lost', async () => {
    const { page, log } = await open(browser, site.url);
    await page.waitForFunction(() => Number(document.querySelector('canvas').dataset.frame) >= 1);
    await page.evaluate(() => Module.ctx.getExtension('WEBGL_lose_context').loseContext());
    await page.waitForSelector('body[data-state="lost"]');
    await page.keyboard.press('Escape');
    const end = await waitEnded(page, 30000);
    assert.strictEqual(end.problem, '');
    assert.deepStrictEqual(log.pageErrors, []);
    await page.close();
  });

  it('takes Escape alone, lets Tab move the focus on, and takes no key once the demo has ended', async () => {
    const { page } = await open(browser, site.url);
    await page.waitForFunction(() => Number(document.querySelector('canvas').dataset.frame) >= 1);
    // Last in line, on the window: what the page did with each key.
    await page.evaluate(() => {
      window.taken = [];
      window.addEventListener('keydown', (event) => { if (event.defaultPrevented) window.taken.push(event.key); });
    });
    const browserKeys = [['F5'], ['F11'], ['Control', 'f'], ['Control', 'l'], ['ArrowLeft'], ['ArrowDown'], ['PageDown'],
                         ['Space'], ['q'], ['Control', 'q']];
    const press = async (keys) => {
      for (const key of keys) await page.keyboard.down(key);
      for (const key of [...keys].reverse()) await page.keyboard.up(key);
    };
    for (const keys of browserKeys)
      await press(keys);
    assert.strictEqual(await page.evaluate(() => document.activeElement.id), 'canvas');
    await press(['Tab']);
    assert.notStrictEqual(await page.evaluate(() => document.activeElement.id), 'canvas');
    assert.deepStrictEqual(await page.evaluate(() => window.taken), []);
    await press(['Escape']);
    await waitEnded(page, 30000);
    assert.deepStrictEqual(await page.evaluate(() => window.taken), ['Escape']);
    for (const keys of [['Escape'], ['ArrowLeft'], ['Tab']])
      await press(keys);
    assert.deepStrictEqual(await page.evaluate(() => window.taken), ['Escape']);
    await page.close();
  });

  // Whole scales in a window, 4:3 over the screen in full screen.
  async function shown(page) {
    return page.evaluate(() => {
      const box = document.querySelector('canvas').getBoundingClientRect();
      const main = document.querySelector('main');
      return { width: box.width, height: box.height, room: [main.clientWidth, main.clientHeight] };
    });
  }

  it('fits a large window from the first frame, and covers the screen 4:3 in full screen', async () => {
    const { page } = await open(browser, site.url, '', async () => {}, { width: 1700, height: 1300 });
    await page.waitForFunction(() => Number(document.querySelector('canvas').dataset.frame) >= 1);
    const first = await shown(page);
    const scale = Math.floor(Math.min(first.room[0] / 640, first.room[1] / 480));
    assert.ok(scale >= 2, `room for ${first.room}`);
    assert.deepStrictEqual([first.width, first.height], [640 * scale, 480 * scale]);

    await page.click('#fullscreen');
    await page.waitForFunction(() => document.fullscreenElement === document.querySelector('main'));
    await page.waitForFunction((width) => document.querySelector('canvas').getBoundingClientRect().width !== width,
                               {}, first.width);
    const full = await shown(page);
    assert.ok(Math.abs(full.width * 3 - full.height * 4) < 4, `${full.width}x${full.height} is not 4:3`);
    assert.ok(Math.abs(full.width - full.room[0]) < 1 || Math.abs(full.height - full.room[1]) < 1,
              `${full.width}x${full.height} does not cover ${full.room}`);
    assert.strictEqual(await page.evaluate(() => document.body.dataset.state), 'running');
    await page.close();
  });
});
