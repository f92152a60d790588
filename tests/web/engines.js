// The three browser engines the page is tested in, behind one small page
// interface: Chromium and Firefox ESR driven by puppeteer-core (Firefox over
// WebDriver BiDi), WebKit (WebKitGTK's MiniBrowser) over plain W3C WebDriver
// under Xvfb. Debian's own packages, never a browser download. The engine is
// VORLEX_ENGINE's (chromium when unset).
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawn } = require('child_process');
const net = require('net');
const puppeteer = require('puppeteer-core');

const engine = process.env.VORLEX_ENGINE || 'chromium';
const engines = ['chromium', 'firefox', 'webkit'];
if (!engines.includes(engine))
  throw new Error(`VORLEX_ENGINE is "${engine}", not one of ${engines.join(', ')}`);

// What an engine's driver can do; a test that needs more says so and checks
// the same promise another way, or is for the engines that can.
const can = {
  // WebDriver cannot read WebKit's console: there the console is wrapped
  // once the page has loaded (Page.log), so the lines written before are
  // not seen; the page's one line of a failure is read from the page instead.
  console: engine !== 'webkit',
  deviceScale: engine !== 'webkit',  // a device pixel ratio set per page
  noWebGL: engine !== 'webkit',      // a browser started without WebGL
  earlyScript: engine !== 'webkit',  // a script run before the page's own
};

// A page as the tests use it, in any engine.
class Page {
  // Console lines by kind, and page errors.
  log = { log: [], warn: [], error: [], pageErrors: [] };

  // The canvas, cut out of a screenshot of the page at its bounding
  // rectangle in device pixels. (An element screenshot is rounded to CSS
  // pixels in Chromium and Firefox, and shifted vertically in WebKit.)
  async canvasPng() {
    const { execFileSync } = require('child_process');
    // Under load a window may show the page a frame or two late (WebKit's).
    await this.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    const shot = await this.screenshot();
    const box = await this.evaluate(() => {
      const rect = document.querySelector('canvas').getBoundingClientRect();
      const ratio = window.devicePixelRatio;
      return [rect.width, rect.height, rect.left, rect.top].map((value) => Math.round(value * ratio));
    });
    return execFileSync('convert', ['png:-', '-crop', `${box[0]}x${box[1]}+${box[2]}+${box[3]}`, '+repage', 'png:-'],
                        { input: shot, maxBuffer: 1 << 26 });
  }
}

class PuppeteerPage extends Page {
  constructor(page) {
    super();
    this.page = page;
    page.on('console', (message) => {
      const kind = message.type() === 'warning' ? 'warn' : message.type();
      (this.log[kind] || this.log.log).push(message.text());
    });
    page.on('pageerror', (error) => this.log.pageErrors.push(error.message));
  }
  goto(url) { return this.page.goto(url); }
  async readConsole() { return this.log; }
  evaluate(fn, ...args) { return this.page.evaluate(fn, ...args); }
  async waitFor(fn, arg, timeout = 60000) {
    await this.page.waitForFunction(fn, { timeout, polling: 100 }, arg);
  }
  // Each chord's keys pressed in turn and released in reverse.
  async press(...chords) {
    for (const keys of chords) {
      const named = keys.map((key) => (engine === 'firefox' && key === 'Space' ? ' ' : key));
      for (const key of named) await this.page.keyboard.down(key);
      for (const key of [...named].reverse()) await this.page.keyboard.up(key);
    }
  }
  move(x, y) { return this.page.mouse.move(x, y); }
  click(selector) { return this.page.click(selector); }
  screenshot() { return this.page.screenshot({ type: 'png' }); }
  close() { return this.page.close(); }
}

async function launchPuppeteer({ webgl = true } = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), `vorlex-${engine}-`));
  const browser = engine === 'firefox'
    ? await puppeteer.launch({
      browser: 'firefox', executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr', headless: true,
      userDataDir: profile,
      // Headless WebGL needs both the variable and the preference.
      env: { ...process.env, MOZ_WEBGL_FORCE_EGL: '1' },
      extraPrefsFirefox: { 'webgl.force-enabled': webgl, 'webgl.disabled': !webgl,
                           'full-screen-api.allow-trusted-requests-only': false },
    })
    : await puppeteer.launch({
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
      args: [
        '--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--no-first-run', `--user-data-dir=${profile}`, ...(webgl ? [] : ['--disable-3d-apis']),
      ],
    });
  return {
    async open(url, { viewport, prepare } = {}) {
      const page = await browser.newPage();
      if (prepare) await prepare(page);
      await page.setViewport(viewport);
      const wrapped = new PuppeteerPage(page);
      await page.goto(url);
      return wrapped;
    },
    async closeAll() {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
    },
  };
}

// W3C WebDriver's key values for the keys the tests press.
const webDriverKeys = {
  Escape: '\uE00C', Tab: '\uE004', Enter: '\uE007', Space: ' ', Control: '\uE009', F5: '\uE035', F11: '\uE03B',
  ArrowLeft: '\uE012', ArrowDown: '\uE015', PageDown: '\uE00F',
};

class WebDriverPage extends Page {
  constructor(driver) {
    super();
    this.driver = driver;
  }
  async goto(url) {
    await this.driver.call('POST', 'url', { url });
    // Console lines from here on (see can.console).
    await this.evaluate(() => {
      window.vorlexConsole = { log: [], warn: [], error: [] };
      for (const kind of ['log', 'warn', 'error']) {
        const write = console[kind].bind(console);
        console[kind] = (...parts) => {
          window.vorlexConsole[kind].push(parts.join(' '));
          write(...parts);
        };
      }
    });
    this.log = { log: [], warn: [], error: [], pageErrors: [] };
  }
  async readConsole() {
    Object.assign(this.log, await this.evaluate(() => window.vorlexConsole));
    return this.log;
  }
  async evaluate(fn, ...args) {
    const script = `const done = arguments[arguments.length - 1];
      Promise.resolve((${fn}).apply(null, Array.from(arguments).slice(0, -1))).then(done, (e) => done({ vorlexError: String(e) }));`;
    for (let tries = 1; ; ++tries) {
      try {
        const value = await this.driver.call('POST', 'execute/async', { script, args });
        if (value && value.vorlexError) throw new Error(value.vorlexError);
        return value;
      } catch (error) {
        // Now and then, under load, WebKitWebDriver loses a script's answer.
        if (tries === 3 || !/Could not parse script result/.test(error.message)) throw error;
      }
    }
  }
  async waitFor(fn, arg, timeout = 60000) {
    const end = Date.now() + timeout;
    while (!(await this.evaluate(fn, arg))) {
      if (Date.now() > end) throw new Error(`waited ${timeout} ms for ${fn}`);
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
  }
  async press(...chords) {
    for (const keys of chords) {
      const values = keys.map((key) => webDriverKeys[key] || key);
      await this.driver.call('POST', 'actions', { actions: [{
        type: 'key', id: 'keyboard',
        actions: [...values.map((value) => ({ type: 'keyDown', value })),
                  ...[...values].reverse().map((value) => ({ type: 'keyUp', value }))],
      }] });
    }
  }
  move(x, y) {
    return this.driver.call('POST', 'actions', { actions: [{
      type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' },
      actions: [{ type: 'pointerMove', x: Math.round(x), y: Math.round(y), duration: 0 }],
    }] });
  }
  async click(selector) {
    const found = await this.driver.call('POST', 'element', { using: 'css selector', value: selector });
    await this.driver.call('POST', `element/${Object.values(found)[0]}/click`, {});
  }
  async screenshot() { return Buffer.from(await this.driver.call('GET', 'screenshot'), 'base64'); }
  close() { return this.driver.call('POST', 'url', { url: 'about:blank' }); }
}

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    }).on('error', reject);
  });
}

// WebKitWebDriver under its own Xvfb (with_xvfb.sh), and its one session.
async function launchWebKit() {
  const root = path.resolve(__dirname, '../..');
  const port = await freePort();
  const driver = spawn(path.join(root, 'tests/support/with_xvfb.sh'), ['--screen', '1920x1400x24',
    'WebKitWebDriver', `--port=${port}`], { stdio: ['ignore', 'ignore', 'inherit'], detached: true });
  const base = `http://127.0.0.1:${port}`;
  const request = async (method, url, body) => {
    const response = await fetch(url, { method, headers: { 'Content-Type': 'application/json' },
                                        body: body && JSON.stringify(body) });
    const answer = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${method} ${url}: ${answer.value?.message || response.status}`);
    return answer.value;
  };
  let session;
  for (let tries = 0; !session; ++tries) {
    try {
      session = await request('POST', `${base}/session`, { capabilities: { alwaysMatch: {
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': {
          binary: process.env.MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
          args: ['--automation'],
        },
      } } });
    } catch (error) {
      if (tries > 100 || driver.exitCode !== null) throw error;
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
  }
  const call = (method, what, body) => request(method, `${base}/session/${session.sessionId}/${what}`, body);
  call.call = call;
  const page = new WebDriverPage({ call });
  return {
    async open(url, { viewport, prepare } = {}) {
      if (prepare) throw new Error('WebDriver runs no script before a page loads');
      await setViewport(call, page, viewport);
      await page.goto(url);
      return page;
    },
    async closeAll() {
      await request('DELETE', `${base}/session/${session.sessionId}`).catch(() => {});
      process.kill(-driver.pid);
    },
  };
}

// WebDriver sizes the window, not the page in it: sized once, then by the
// difference. MiniBrowser's toolbar keeps its window 447 pixels wide at least.
async function setViewport(call, page, { width, height }) {
  const outer = await call('POST', 'window/rect', { width, height });
  const inner = await page.evaluate(() => [window.innerWidth, window.innerHeight]);
  if (inner[0] !== width || inner[1] !== height) {
    await call('POST', 'window/rect', { width: Math.max(width, width + outer.width - inner[0]),
                                        height: Math.max(height, height + outer.height - inner[1]) });
  }
}

// options: { webgl: false } for a browser without WebGL (see can.noWebGL).
function launch(options = {}) {
  return engine === 'webkit' ? launchWebKit() : launchPuppeteer(options);
}

module.exports = { engine, can, launch };
