// The page as a visitor opens it, paced, in one engine (VORLEX_ENGINE):
// every frame the browser shows is whole, and a WebGL context the browser
// takes away, at start-up or for a moment, is waited for and nothing is
// drawn with what it held. Run by scripts/web.sh test in each engine.
'use strict';
const assert = require('node:assert');
const { after, before, describe, it } = require('node:test');
const {
  engine, can, open, waitEnded, frames, assertClean, startPageTests, endPageTests, assertDesktopFrame,
  liveShots, assertWholeFrames, frameAt,
} = require('./page.js');

let browser, site, desktop;
before(async () => ({ browser, site, desktop } = await startPageTests()));
after(() => endPageTests({ browser, site, desktop }));

// Where the engine runs no script before the page loads (WebKit's
// WebDriver), `script` runs right after the load, before the wasm and the
// images that the first frame waits for.
async function openWith(url, script, ...args) {
  const early = can.earlyScript ? (fresh) => fresh.evaluateOnNewDocument(script, ...args) : undefined;
  const opened = await open(browser, url, '', early);
  if (!early) await opened.page.evaluate(script, ...args);
  return opened;
}

async function endOnEscape(page, log) {
  await page.press(['Escape']);
  const end = await waitEnded(page, 30000);
  assert.strictEqual(end.problem, '');
  assertClean(log, end);
}

describe(`the live page in ${engine}`, () => {
  it('shows whole frames as it runs, paced', async () => {
    const { page, log } = await open(browser, site.url);
    await frameAt(page, 300);
    assertWholeFrames(await liveShots(page, 4));
    await endOnEscape(page, log);
    await page.close();
  });

  it('draws nothing with a lost context\'s objects when it comes back at once', async () => {
    // Lost at frames 40, 80 and 120 as the page asks the browser for its
    // next turn (a timer or a message of vorlex.js's), and that turn held
    // back until the context is back (as a busy or throttled tab would):
    // the page wakes to a context given back. Every draw on a live context
    // with no program of its own is counted.
    const { page, log } = await openWith(site.url, () => {
      window.staleDraws = 0;
      const draw = WebGLRenderingContext.prototype.drawArrays;
      WebGLRenderingContext.prototype.drawArrays = function (...args) {
        if (!this.isContextLost() && this.getParameter(this.CURRENT_PROGRAM) === null) ++window.staleDraws;
        return draw.apply(this, args);
      };
      const later = window.setTimeout;
      const post = MessagePort.prototype.postMessage;
      let lossAt = 40, heldTurn = null;
      const holds = () => lossAt <= 120 && /vorlex\.js/.test(new Error().stack) &&
        Number(document.querySelector('canvas').dataset.frame) >= lossAt;
      function loseAndHold(turn) {
        const canvas = document.querySelector('canvas');
        const lose = Module.ctx.getExtension('WEBGL_lose_context');
        if (lossAt === 40) {
          canvas.addEventListener('webglcontextlost', () => later(() => lose.restoreContext()));
          canvas.addEventListener('webglcontextrestored', () => heldTurn && later(heldTurn) && (heldTurn = null));
        }
        lossAt += 40;
        heldTurn = turn;
        lose.loseContext();
      }
      window.setTimeout = (fn, ms, ...args) => {
        if (!holds()) return later(fn, ms, ...args);
        loseAndHold(() => later(fn, ms, ...args));
        return 0;
      };
      MessagePort.prototype.postMessage = function (...args) {
        if (!holds()) return post.apply(this, args);
        loseAndHold(() => post.apply(this, args));
      };
    });
    await frameAt(page, 180);
    assert.strictEqual(await page.evaluate(() => window.staleDraws), 0);
    assert.deepStrictEqual((await page.readConsole()).warn, []);
    assertWholeFrames(await liveShots(page, 1));
    await endOnEscape(page, log);
    await page.close();
  });
});

describe(`a context lost at start-up, in ${engine}`, () => {
  it('is waited for in the lost state, and the demo goes on once it is back', { skip: !can.earlyScript &&
     `no script before the page loads in ${engine}` }, async () => {
    // Lost as soon as the page's canvas has it and back half a second later,
    // as a GPU process restart does; and once more by a listener that hears
    // it is back before the page does.
    const { page, log } = await open(browser, `${site.url}?frames=${frames[1]}`, '', (fresh) => fresh.evaluateOnNewDocument(() => {
      window.states = [];
      new MutationObserver(() => window.states.push(document.body.dataset.state))
        .observe(document, { subtree: true, attributeFilter: ['data-state'] });
      const make = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (...args) {
        const gl = make.apply(this, args);
        if (this.id !== 'canvas' || !gl || window.lose) return gl;
        const lose = window.lose = gl.getExtension('WEBGL_lose_context');
        let again = 1;
        this.addEventListener('webglcontextrestored', () => again-- > 0 && lose.loseContext());
        this.addEventListener('webglcontextlost', () => setTimeout(() => lose.restoreContext(), 500));
        lose.loseContext();
        return gl;
      };
    }));
    const end = await waitEnded(page);
    assert.deepStrictEqual([end.frame, end.problem], [frames[1], '']);
    assertClean(log, end);
    const states = await page.evaluate(() => window.states);
    assert.ok(states.indexOf('lost') >= 0 && states.indexOf('lost') < states.indexOf('running'), `states: ${states}`);
    await assertDesktopFrame(desktop, page, frames[1]);
    await page.close();
  });
});
