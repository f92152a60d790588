// The web page in one browser engine (VORLEX_ENGINE: chromium, firefox or
// webkit): its frames against the desktop's headless render of the same
// frames, the committed still, the pacing, the keys, the full screen and
// the page as the browser hands it. Run by scripts/web.sh test in each
// engine in turn, which builds both first; the one-line failures are in
// page_faults.test.js, the fit to any window in page_fit.test.js, the live
// page's frames in page_live.test.js.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { after, before, describe, it } = require('node:test');
const {
  engine, can, textOf, open, waitEnded, decodeImage, root, webPage, frames, mostOffPixels, offPixels, assertClean,
  startPageTests, endPageTests, assertDesktopFrame, withFolder, runPage, frameAt,
} = require('./page.js');

const stillFrame = 300;
// Frames are paced to at least 16 ms: 62.5 a second at most.
const mostRate = 62;

let browser, site, desktop;
before(async () => ({ browser, site, desktop } = await startPageTests()));
after(() => endPageTests({ browser, site, desktop }));

describe(`the page at ?frames=N in ${engine}`, () => {
  for (const n of frames) {
    it(`draws frame ${n} as the desktop does`, async () => {
      const { page, log } = await open(browser, site.url, `?frames=${n}`);
      const end = await waitEnded(page);
      assert.strictEqual(end.frame, n);
      assert.strictEqual(end.problem, '');
      assertClean(log, end);
      const shown = await assertDesktopFrame(desktop, page, n);
      if (n === stillFrame && engine === 'chromium') {  // the still is Chromium's
        const still = decodeImage(fs.readFileSync(path.join(root, 'docs/web.png')));
        const stale = offPixels(still, shown);
        assert.ok(stale <= mostOffPixels, `docs/web.png is out of date (${stale} pixels): scripts/web.sh still`);
      }
      await page.close();
    });
  }
});

describe(`the running demo in ${engine}`, () => {
  it('prints frame-rate lines of at most 62 on the console, takes keys, and ends on Escape', async () => {
    const { page, log } = await open(browser, site.url);
    await frameAt(page, 1);
    // The first line closes the first window, five seconds in; the second a full window of paced frames.
    for (let poll = 0; poll < 300 && (await page.readConsole()).log.length < 2; ++poll) {
      if ((await page.evaluate(() => document.body.dataset.state)) !== 'running')
        break;
      await new Promise((resolve) => setTimeout(resolve, 200));
    }
    assert.match(log.log[1] || '', /^\d+$/, `console lines: ${log.log.join(' | ')}`);

    // A mouse sweep over the canvas and other keys queue nothing that holds Escape back.
    await page.move(100, 100);
    for (let step = 0; step < 50; ++step)
      await page.move(100 + step * 8, 150 + step * 4);
    await page.press(['q'], ['Enter']);
    const before = await page.evaluate(() => Number(document.querySelector('canvas').dataset.frame));
    assert.strictEqual(await page.evaluate(() => document.body.dataset.state), 'running');
    await page.press(['Escape']);
    const end = await waitEnded(page, 30000);
    assert.ok(end.frame >= before, `ended at frame ${end.frame}, before frame ${before}`);
    assert.strictEqual(end.problem, '');
    assertClean(log, end);
    assert.ok(log.log.every((line) => /^\d+$/.test(line) && Number(line) <= mostRate), `console lines: ${log.log.join(' | ')}`);
    await page.close();
  });
});

describe(`the page as ${engine} hands it`, () => {
  it('waits while the WebGL context is lost, says so, and goes on where it was once it is back', async () => {
    // Lost from within the page at frame 20: unpaced, it would end before a
    // test's turn came. Where the engine runs no script before the page
    // loads (WebKit's WebDriver), the watch starts right after the load,
    // which comes before the wasm and the images that the first frame waits for.
    const loseAtTwenty = () => {
      new MutationObserver((changes, observer) => {
        if (Number(document.querySelector('canvas').dataset.frame) < 20) return;
        observer.disconnect();
        (window.lose = Module.ctx.getExtension('WEBGL_lose_context')).loseContext();
      }).observe(document, { subtree: true, attributeFilter: ['data-frame'] });
    };
    const early = engine === 'webkit' ? undefined : (fresh) => fresh.evaluateOnNewDocument(loseAtTwenty);
    const { page, log } = await open(browser, site.url, `?frames=${frames[2]}`, early);
    if (!early)
      await page.evaluate(loseAtTwenty);
    await page.waitFor(() => document.body.dataset.state === 'lost');
    const lostAt = await page.evaluate(() => document.querySelector('canvas').dataset.frame);
    assert.match(await textOf(page, '#state'), /WebGL context/);
    // A few turns of the browser's: the loop draws nothing meanwhile.
    await new Promise((resolve) => setTimeout(resolve, 300));
    assert.strictEqual(await page.evaluate(() => document.querySelector('canvas').dataset.frame), lostAt);
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
    await page.waitFor(() => document.body.dataset.state === 'lost');
    await page.press(['Escape']);
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
      await page.press(...chords);
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
    const { page } = await open(browser, site.url, '', undefined, { width: 1700, height: 1300 });
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
    await page.waitFor((width) => document.fullscreenElement &&
                       document.querySelector('canvas').getBoundingClientRect().width !== width, first.width);
    const full = await shown();
    assert.ok(Math.abs(full.width * 3 - full.height * 4) < 4, `${full.width}x${full.height} is not 4:3`);
    assert.ok(Math.abs(full.width - full.room[0]) < 1 || Math.abs(full.height - full.room[1]) < 1,
              `${full.width}x${full.height} does not cover ${full.room}`);
    await page.close();
  });
});

describe(`loading, in ${engine}`, () => {
  // The page's files from site, but vorlex.wasm only once let() is called.
  async function heldBack(fn) {
    let release;
    const held = new Promise((resolve) => { release = resolve; });
    const proxy = http.createServer((request, response) => {
      const forward = () => http.get(new URL(request.url, site.url), (answer) => {
        response.writeHead(answer.statusCode, answer.headers);
        answer.pipe(response);
      });
      if (/^\/vorlex\.[0-9a-f]{8}\.wasm$/.test(request.url)) held.then(forward);
      else forward();
    });
    await new Promise((resolve) => proxy.listen(0, '127.0.0.1', resolve));
    try {
      return await fn(`http://127.0.0.1:${proxy.address().port}/`, release);
    } finally {
      release();
      proxy.closeAllConnections();
      proxy.close();
    }
  }

  it('says what is loading until the first frame, and ends before it on Escape', () => heldBack(async (url, release) => {
    const { page } = await open(browser, url);
    await page.waitFor(() => /^Loading vorlex\.wasm: \d+%$/.test(document.getElementById('state').textContent));
    assert.strictEqual(await page.evaluate(() => document.body.dataset.state), 'loading');
    await page.press(['Escape']);
    release();
    const end = await waitEnded(page);
    assert.deepStrictEqual([end.frame, end.problem, await textOf(page, '#state')], [0, '', 'The demo has ended.']);
    await page.close();
  }));

  it('runs under a policy of default-src \'self\', with no inline script or style', () => withFolder((folder) => {
    const index = path.join(folder, 'index.html');
    fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<head>', '<head>\n<meta http-equiv="Content-Security-Policy" ' +
      'content="default-src \'self\'; script-src \'self\' \'wasm-unsafe-eval\'">'));
  }, (url) => runPage(browser, url, '?frames=3', async (end, log, page) => {
    assert.deepStrictEqual([end.frame, end.problem], [3, '']);
    assertClean(log, end);
    assert.notStrictEqual(await page.evaluate(() => getComputedStyle(document.body).backgroundColor), 'rgba(0, 0, 0, 0)');
  })));

  it('names the web server it needs when opened from a file: address', async () => {
    const { page } = await open(browser, pathToFileURL(path.join(webPage, 'index.html')).href);
    const end = await waitEnded(page, 30000);
    assert.match(end.problem, /^Vorlex: the page must come from a web server, .*scripts\/web\.sh serve/);
    await page.close();
  });
});
