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
const webBuild = process.env.VORLEX_WEB_BUILD || path.join(root, 'build-web');
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
  site = await serve(webBuild);
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

describe('a page that cannot go on says why in one line', () => {
  const cases = [
    { what: 'a frame count that is not one', query: '?frames=ten', line: /^Vorlex: cannot read the address: \?frames=/ },
    { what: 'a missing image', query: '?frames=5', without: 'image.gif',
      line: /^Vorlex: cannot load "Vorlex\.app\/Contents\/Resources\/image\.gif" .*No such file or directory: the page could not fetch it/ },
    { what: 'no WebGL', query: '?frames=5', flags: ['--disable-3d-apis'],
      line: /^Vorlex: cannot open the 640x480 OpenGL display: this browser offers no WebGL$/ },
  ];
  for (const c of cases) {
    it(c.what, async () => {
      let folder = webBuild;
      if (c.without) {
        folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vorlex-web-'));
        fs.cpSync(webBuild, folder, { recursive: true, filter: (file) => path.basename(file) !== c.without });
      }
      const where = c.without ? await serve(folder) : site;
      const other = c.flags ? await launch(c.flags) : null;
      try {
        const { page, log } = await open(other || browser, where.url, c.query);
        const end = await waitEnded(page);
        assert.match(end.problem, c.line);
        assert.deepStrictEqual(log.pageErrors, []);
        // Besides the line, only the browser's own note of the missing file.
        assert.deepStrictEqual(log.error.filter((line) => !/^Failed to load resource: .* 404/.test(line)),
                               [end.problem]);
        await page.close();
      } finally {
        await other?.closeAll();
        if (c.without) {
          where.server.close();
          fs.rmSync(folder, { recursive: true, force: true });
        }
      }
    });
  }
});
