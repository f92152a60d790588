// The web page in headless Chromium: its frames against the desktop's
// headless render of the same frames, the committed still, the keys, and the
// page as the browser hands it. Run by scripts/web.sh test, which builds both
// first; the one-line failures are in page_faults.test.js.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { after, before, describe, it } = require('node:test');
const {
  open, waitEnded, decodeImage, root, frames, mostOffPixels, offPixels, assertClean,
  startPageTests, endPageTests, assertDesktopFrame, frameAt,
} = require('./page.js');

const stillFrame = 300;

let browser, site, desktop;
before(async () => ({ browser, site, desktop } = await startPageTests()));
after(() => endPageTests({ browser, site, desktop }));

describe('the page at ?frames=N', () => {
  for (const n of frames) {
    it(`draws frame ${n} as the desktop does`, async () => {
      const { page, log } = await open(browser, site.url, `?frames=${n}`);
      const end = await waitEnded(page);
      assert.strictEqual(end.frame, n);
      assert.strictEqual(end.problem, '');
      assertClean(log, end);
      const shown = await assertDesktopFrame(desktop, page, n);
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

describe('the page as the browser hands it', () => {
  it('waits while the WebGL context is lost, says so, and goes on where it was once it is back', async () => {
    // Lost from within the page at frame 20: unpaced, it would end before a test's turn came.
    const { page, log } = await open(browser, site.url, `?frames=${frames[2]}`, (fresh) => fresh.evaluateOnNewDocument(() => {
      new MutationObserver((changes, observer) => {
        if (Number(document.querySelector('canvas').dataset.frame) < 20) return;
        observer.disconnect();
        (window.lose = Module.ctx.getExtension('WEBGL_lose_context')).loseContext();
      }).observe(document, { subtree: true, attributeFilter: ['data-frame'] });
    }));
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
    await assertDesktopFrame(desktop, page, frames[2]);
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
