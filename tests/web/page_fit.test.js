// The picture in any window, at any device pixel ratio, in one engine
// (VORLEX_ENGINE): whole device pixels a demo pixel as layout itself holds
// them, and a picture shown smaller than 640x480 averaged so that its
// one-pixel lines stay. Run by scripts/web.sh test in each engine.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { after, before, describe, it } = require('node:test');
const {
  engine, can, open, waitEnded, frames, mostOffPixels, offPixels, startPageTests, endPageTests, frameAt,
  canvasPixels, parsePpm,
} = require('./page.js');

let browser, site, desktop;
before(async () => ({ browser, site, desktop } = await startPageTests()));
after(() => endPageTests({ browser, site, desktop }));

// The largest share of the picture's rows (down) and of its columns
// (across) that one column or row of blue crosshair pixels covers.
function crosshairShares(shown) {
  const columns = new Array(shown.width).fill(0);
  const rows = new Array(shown.height).fill(0);
  for (let y = 0; y < shown.height; ++y) {
    for (let x = 0; x < shown.width; ++x) {
      const [r, g, b] = shown.rgb.subarray((y * shown.width + x) * 3, (y * shown.width + x) * 3 + 3);
      if (b > r + 25 && b > g + 25) ++columns[x], ++rows[y];
    }
  }
  return [Math.max(...columns) / shown.height, Math.max(...rows) / shown.width];
}

describe(`the picture in any window, in ${engine}`, () => {
  // [window, device pixel ratio]: each demo pixel the same whole number of
  // device pixels, the largest that fits or, where layout cannot hold that
  // size exactly, the next smaller; below one the fraction that fits, with
  // the whole picture in view. A line that appears under it (the end line)
  // leaves its size as it was.
  const cases = [
    [{ width: 200, height: 150 }, 1],
    [{ width: 1400, height: 1040 }, 1],
    ...(can.deviceScale ? [[{ width: 1000, height: 800 }, 1.25], [{ width: 1280, height: 720 }, 1.5],
      [{ width: 700, height: 560 }, 1.75], [{ width: 1000, height: 700 }, 2], [{ width: 900, height: 700 }, 2.5],
      [{ width: 1280, height: 720 }, 3]] : []),
  ];
  for (const [viewport, ratio] of cases) {
    it(`a ${viewport.width}x${viewport.height} window at ratio ${ratio}`, async () => {
      const { page } = await open(browser, site.url, `?frames=${frames[0]}`, undefined, { ...viewport, deviceScaleFactor: ratio });
      const box = () => page.evaluate(() => {
        const rect = document.querySelector('canvas').getBoundingClientRect();
        const room = document.querySelector('main').getBoundingClientRect();
        return [rect.left, rect.top, rect.right, rect.bottom, room.width, room.height].map((value) => value * window.devicePixelRatio);
      });
      // As the engine made it (MiniBrowser's window is 447 wide at least).
      const inner = await page.evaluate(() => [innerWidth, innerHeight]);
      assert.ok(inner[1] <= viewport.height, `a window ${inner} high`);
      await frameAt(page, 1);
      const running = await box();
      const end = await waitEnded(page);
      assert.strictEqual(end.problem, '');
      assert.deepStrictEqual(await box(), running, 'the end line resized the picture');
      const [width, height] = [running[2] - running[0], running[3] - running[1]];
      assert.ok(running[0] >= 0 && running[1] >= 0 && running[2] <= inner[0] * ratio + 0.5 &&
                running[3] <= inner[1] * ratio + 0.5, `the picture at ${running} is not all in view`);
      const shown = await canvasPixels(page);
      const fits = Math.min(running[4] / 640, running[5] / 480);
      if (fits < 1) {
        // Whole device pixels each way: 4:3 to within their rounding.
        assert.ok(width > 0 && Math.abs(width * 3 - height * 4) < 4, `${width}x${height}`);
        const shares = crosshairShares(shown);
        assert.ok(shares.every((share) => share >= 0.5), `the crosshair's lines cross ${shares} of the picture`);
        await page.close();
        return;
      }
      const whole = Math.round(width / 640);
      assert.ok(whole === Math.floor(fits) || whole === Math.floor(fits) - 1, `${whole} device pixels a demo pixel where ${fits} fit`);
      assert.ok(Math.abs(width - 640 * whole) < 0.01 && Math.abs(height - 480 * whole) < 0.01,
                `${width}x${height} device pixels is not ${whole} to a demo pixel`);
      // WebKitGTK smooths a scaled WebGL canvas whatever its image-rendering:
      // there the size above is what holds.
      if (engine !== 'webkit' || whole === 1) {
        // Every demo pixel the same square of device pixels: the picture
        // sampled at each square's middle is the desktop's frame.
        const sampled = { width: 640, height: 480, rgb: Buffer.alloc(640 * 480 * 3) };
        for (let y = 0; y < 480; ++y) {
          for (let x = 0; x < 640; ++x) {
            const from = ((y * whole + (whole >> 1)) * shown.width + x * whole + (whole >> 1)) * 3;
            shown.rgb.copy(sampled.rgb, (y * 640 + x) * 3, from, from + 3);
          }
        }
        const expected = parsePpm(fs.readFileSync(path.join(desktop, `frame-${String(frames[0]).padStart(4, '0')}.ppm`)));
        assert.ok(offPixels(expected, sampled) <= mostOffPixels, 'uneven pixels');
      }
      await page.close();
    });
  }
});
