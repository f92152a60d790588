// The page as a visitor keeps it, in one engine (VORLEX_ENGINE): Pause and
// Play, reduced motion, a visit without the network, and no `unload`
// listener. Run by scripts/web.sh test in each engine.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { after, before, describe, it } = require('node:test');
const {
  engine, open, waitEnded, frames, assertClean, startPageTests, endPageTests, assertDesktopFrame, canvasPixels,
  serve, webPage, frameAt, textOf, withFolder,
} = require('./page.js');

let browser, site, desktop;
before(async () => ({ browser, site, desktop } = await startPageTests()));
after(() => endPageTests({ browser, site, desktop }));

const frameOf = (page) => page.evaluate(() => Number(document.querySelector('canvas').dataset.frame));
const pause = (page) => page.evaluate(() => document.getElementById('pause').textContent);
const settle = () => new Promise((resolve) => setTimeout(resolve, 400));

describe(`Pause and Play in ${engine}`, () => {
  it('holds the frame shown exactly, says so, and goes on from it on Play by key or click', async () => {
    // Paused from within the page at frame 20 (in WebKit, whose driver runs
    // no script before the load, at the first frame it sees); the motion
    // is counted in frames, so the end must be the desktop's frame N.
    const pauseAtTwenty = () => {
      new MutationObserver((changes, observer) => {
        if (Number(document.querySelector('canvas').dataset.frame) < 20) return;
        observer.disconnect();
        document.getElementById('pause').click();
      }).observe(document, { subtree: true, attributeFilter: ['data-frame'] });
    };
    const early = engine === 'webkit' ? undefined : (fresh) => fresh.evaluateOnNewDocument(pauseAtTwenty);
    const { page, log } = await open(browser, site.url, `?frames=${frames[2]}`, early);
    if (!early) await page.evaluate(pauseAtTwenty);
    await page.waitFor(() => document.getElementById('pause').textContent === 'Play');
    await settle();
    const held = await frameOf(page);
    const picture = await canvasPixels(page);
    await settle();
    assert.strictEqual(await frameOf(page), held);
    assert.ok((await canvasPixels(page)).rgb.equals(picture.rgb), 'the held picture changed');
    assert.strictEqual(await textOf(page, '#state'), `Paused at frame ${held}.`);

    // Play from the keyboard, Pause again by a click, Play by a click.
    await page.evaluate(() => document.getElementById('pause').focus());
    await page.press(['Enter']);
    await page.waitFor((n) => Number(document.querySelector('canvas').dataset.frame) > n, held);
    // Unpaced, it may have reached its end by now.
    assert.doesNotMatch(await textOf(page, '#state'), /Paused/);
    await page.click('#pause');
    await page.click('#pause');
    const end = await waitEnded(page);
    assert.deepStrictEqual([end.frame, end.problem], [frames[2], '']);
    assertClean(log, end);
    await assertDesktopFrame(desktop, page, frames[2]);
    assert.strictEqual(await page.evaluate(() => document.getElementById('pause').disabled), true);
    await page.close();
  });

  it('ends on Escape while paused', async () => {
    const { page } = await open(browser, site.url);
    await frameAt(page, 1);
    await page.click('#pause');
    await page.waitFor(() => /^Paused/.test(document.getElementById('state').textContent));
    await page.press(['Escape']);
    assert.strictEqual((await waitEnded(page, 30000)).problem, '');
    await page.close();
  });

  it('opens still on the first frame for a visitor who asked for reduced motion, until Play',
     { skip: engine !== 'chromium' && `${engine}'s driver sets no media feature` }, async () => {
    const reduce = (fresh) => fresh.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
    const { page, log } = await open(browser, site.url, '', reduce);
    await frameAt(page, 1);
    await settle();
    const picture = await canvasPixels(page);
    await settle();
    assert.deepStrictEqual([await frameOf(page), await pause(page), await textOf(page, '#state')], [1, 'Play', 'Paused at frame 1.']);
    assert.ok((await canvasPixels(page)).rgb.equals(picture.rgb), 'the first frame moved');
    await page.click('#pause');
    await frameAt(page, 2);
    await page.press(['Escape']);
    const end = await waitEnded(page, 30000);
    assert.strictEqual(end.problem, '');
    assertClean(log, end);
    await page.close();
  });
});

describe(`a visit in ${engine}`, () => {
  it('runs with the network gone once the page has been seen', async () => {
    const where = await serve(webPage);
    const { page } = await open(browser, where.url, '?frames=3');
    await waitEnded(page);
    const kept = await page.evaluate(() => navigator.serviceWorker.ready.then(() => caches.keys()));
    assert.strictEqual(kept.length, 1, `caches: ${kept}`);
    where.server.closeAllConnections();
    where.server.close();
    await page.goto(`${where.url}?frames=5`);
    const end = await waitEnded(page);
    assert.deepStrictEqual([end.frame, end.problem], [5, '']);
    await page.close();
  });

  it('takes a new build once the old one\'s pages are closed, and removes the old cache', () => {
    let sw;
    return withFolder((folder) => { sw = path.join(folder, 'sw.js'); }, async (url) => {
      const cachesOf = (page) => page.evaluate(() => navigator.serviceWorker.ready.then(() => caches.keys()));
      const visit = async (check) => {
        const { page } = await open(browser, url, '?frames=2');
        await waitEnded(page);
        const result = await check(page);
        await page.close();
        return result;
      };
      const [first] = await visit(cachesOf);
      // A new build: its worker names another cache.
      fs.writeFileSync(sw, fs.readFileSync(sw, 'utf8').replace(first, `${first}0`));
      await visit((page) => page.waitFor(() => navigator.serviceWorker.getRegistration()
        .then((registration) => registration.update().then(() => Boolean(registration.waiting)))));
      // It takes over once no page of the old build is open; a page opened
      // as the last one closes may still find the old worker in charge.
      let kept;
      for (let tries = 0; tries < 3 && String(kept) !== `${first}0`; ++tries)
        kept = await visit((page) => new Promise((resolve) => setTimeout(resolve, 1000)).then(() => cachesOf(page)));
      assert.deepStrictEqual(kept, [`${first}0`]);
    });
  });

  it('adds no unload listener, which would keep the page out of the back/forward cache',
     { skip: engine === 'webkit' && 'WebKit\'s driver runs no script before a page loads' }, async () => {
    const watch = (fresh) => fresh.evaluateOnNewDocument(() => {
      window.listened = [];
      const add = EventTarget.prototype.addEventListener;
      EventTarget.prototype.addEventListener = function (type, ...rest) {
        if (this === window) window.listened.push(type);
        return add.call(this, type, ...rest);
      };
    });
    const { page } = await open(browser, site.url, '?frames=2', watch);
    await waitEnded(page);
    const listened = await page.evaluate(() => window.listened);
    assert.deepStrictEqual([listened.includes('unload'), listened.includes('pagehide')], [false, true], listened.join());
    await page.close();
  });
});
