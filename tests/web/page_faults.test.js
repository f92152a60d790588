// The web page's one-line failures in one engine (VORLEX_ENGINE), and the
// pixel budget, kept as the desktop keeps it. Run by scripts/web.sh test in
// each engine, which builds both the page and the desktop first.
'use strict';
const assert = require('node:assert');
const { execFileSync, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { after, before, describe, it } = require('node:test');
const {
  engine, can, launch, root, desktopBuild, frames, assertClean, startPageTests, endPageTests,
  assertDesktopFrame, withFolder, runPage, resources, served, dots,
} = require('./page.js');

let browser, site, desktop;
before(async () => ({ browser, site, desktop } = await startPageTests()));
after(() => endPageTests({ browser, site, desktop }));

describe('a page that cannot go on says why in one line', () => {
  const missing = (name) => (folder) => fs.rmSync(path.join(folder, name));
  const cases = [
    ...['ten', '1000000000'].map((n) => ({ what: `a frame count of "${n}"`, query: `?frames=${n}`,
      line: /^Vorlex: cannot read the address: \?frames= wants a whole number from 1 to 999999999$/ })),
    { what: 'no WebGL', options: { webgl: false },
      line: /^Vorlex: cannot open the 640x480 OpenGL display: this browser offers no WebGL$/ },
    { what: 'a wasm cut short', line: /^Vorlex: vorlex\.wasm does not load: CompileError: /,
      change: (folder) => fs.truncateSync(served(folder, 'vorlex.wasm'), 1000) },
    // Start-up failures the program does not foresee: the page's own canvas
    // refused WebGL (a probe canvas gets it), or a script of the runtime's
    // that throws (its promise rejects, and nothing else listens).
    { what: 'WebGL refused to the page\'s canvas', early: () => {
      const make = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (type, ...rest) {
        return this.id === 'canvas' && /webgl/.test(type) ? null : make.call(this, type, ...rest);
      };
    }, line: /^Vorlex: cannot open the 640x480 OpenGL display: the browser gave the page's canvas no WebGL$/ },
    { what: 'a runtime script that throws', early: () => {
      const make = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (...args) {
        if (this.id !== 'canvas') throw new TypeError('no context for a canvas of the runtime\'s');
        return make.apply(this, args);
      };
    }, line: /^Vorlex: the page stopped: no context for a canvas of the runtime's$/, thrown: /no context for a canvas/ },
    // WebGL refuses the device's shaders: their source given one brace too many.
    { what: 'a shader WebGL will not compile', early: () => {
      const source = WebGLRenderingContext.prototype.shaderSource;
      WebGLRenderingContext.prototype.shaderSource = function (shader, text) {
        source.call(this, shader, `${text} }`);
      };
    }, line: /^Vorlex: cannot open the 640x480 OpenGL display: WebGL would not compile the page's vertex shader: \S/ },
    ...['vorlex.js', 'vorlex.wasm'].map((name) => ({
      what: `no ${name}`, change: (folder) => fs.rmSync(served(folder, name)),
      line: new RegExp(`^Vorlex: cannot fetch ${dots(name)}: 404 Not Found$`) })),
    ...['image.gif', 'img24.png', 'fontB12.gif'].map((name) => ({
      what: `no ${name}`, change: missing(`${resources}/${name}`), line: new RegExp(
        `^Vorlex: cannot load "${dots(`${resources}/${name}`)}" .*: the page could not fetch it from beside index\\.html: 404 Not Found$`) })),
  ];
  for (const c of cases) {
    // WebKit's driver holds one session, started once.
    const skip = (c.options && !can.noWebGL && `one browser a run in ${engine}`) ||
                 (c.early && !can.earlyScript && `no script before the page loads in ${engine}`);
    it(c.what, { skip }, async () => {
      const other = c.options ? await launch(c.options) : browser;
      const early = c.early && ((fresh) => fresh.evaluateOnNewDocument(c.early));
      const check = (url) => runPage(other, url, c.query || '?frames=5', (end, log) => {
        assert.match(end.problem, c.line);
        // Firefox reports the error thrown as well, handled or not.
        assert.deepStrictEqual(log.pageErrors.filter((error) => !(c.thrown && c.thrown.test(error))), []);
        // Besides the line, only the browser's own note of the missing file
        // (in WebKit, the line on the page above is what can be read).
        if (can.console) assert.deepStrictEqual(log.error.filter((line) => !/^Failed to load resource: .*404/.test(line)), [end.problem]);
      }, early);
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
  ]), (url) => runPage(browser, url, '?frames=3', (end, log) => {
    assert.deepStrictEqual([end.problem, end.frame], ['', 3]);
    assertClean(log, end);
  })));

  it('draws 16-bit PNG copies of the images as the desktop draws the originals', () => withFolder(make(
    ['image.png', 'img24.png'].map((name) => [name, '@', '-depth', '16', 'PNG64:@']),
  ), (url) => runPage(browser, url, `?frames=${frames[1]}`, async (end, log, page) => {
    assert.strictEqual(end.problem, '');
    assertClean(log, end);
    await assertDesktopFrame(desktop, page, frames[1]);
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
  // The same wasm refuses the same files in every engine: checked in Chromium alone.
  for (const [name, what, write, reason] of [
    ['image.png', 'a 2049x2048 PNG', over('2049x2048'), /over the budget/],
    ['img48.gif', 'a 2048x2049 GIF', over('2048x2049'), /over the budget/],
    ['img72.bmp', 'a 4097x1025 BMP', over('4097x1025', 'BMP3:'), /over the budget/],
    ['image.gif', 'a GIF cut short', (file) => fs.truncateSync(file, fs.statSync(file).size >> 1), /cut short/],
    ['img24.png', 'a PNG of no pixels', (file) => fs.writeFileSync(file, Buffer.from(
      '89504e470d0a1a0a0000000d494844520000000000000000080600000000', 'hex')), /no pixels \(0x0\)/],
    ['image.bmp', 'text', (file) => fs.writeFileSync(file, 'not an image\n'.repeat(300)), /Unsupported image format/],
  ]) {
    it(`refuses ${what} with the desktop's line`, { skip: engine !== 'chromium' && 'checked in Chromium' }, () => {
      let expected;
      return withFolder((folder) => {
        write(path.join(folder, resources, name));
        expected = withoutFolder(desktopLine(name, path.join(folder, resources, name)));
      }, (url) => runPage(browser, url, '?frames=3', (end) => {
        assert.match(expected, reason);
        assert.strictEqual(withoutFolder(end.problem), expected);
      }));
    });
  }
});

