// Makes an installed page folder ready to publish, in place:
//   node web/publish.js FOLDER
// Each file the page loads but index.html, its service worker and its
// manifest gets its content's hash in its name (vorlex.3f9c1a2b.wasm), so a
// host may keep it for ever and a new vorlex.js never meets an old
// vorlex.wasm; the names inside the files that load them follow. The
// worker learns the build's files and cache name. Last, every text-like file
// gets a brotli (.br) and a gzip (.gz) copy beside it, for the server to send
// whichever is the smallest a browser accepts; a copy is written after its
// file, and the server sends none older than the file. The ten images keep
// the program's own paths: the worker asks after them each time.
'use strict';
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

// In order: a file comes after every file it names.
const hashedFiles = ['vorlex.wasm', 'icon.svg', 'icon-192.png', 'icon-maskable-512.png',
  'page.css', 'vorlex.js', 'pause.js', 'picture.js', 'page.js'];
const fixedFiles = ['index.html', 'vorlex.webmanifest', 'sw.js'];
// Text, and the bitmaps of BMP files, which are stored uncompressed.
const compressed = /\.(js|wasm|css|svg|html|json|webmanifest|bmp)$/;

const digest = (bytes) => crypto.createHash('sha256').update(bytes).digest('hex');

// Every quoted mention of an old name ('page.js', "page.js") becomes the new one.
function renameIn(text, names) {
  for (const [from, to] of names)
    text = text.replace(new RegExp(`(['"])${from.replace(/\./g, '\\.')}\\1`, 'g'), `$1${to}$1`);
  return text;
}

function replaceOnce(text, what, by, file) {
  if (!text.includes(what))
    throw new Error(`${file} has no ${what} to fill in`);
  return text.replace(what, by);
}

function publish(folder) {
  const at = (name) => path.join(folder, name);
  const names = new Map();
  for (const name of hashedFiles) {
    let bytes = fs.readFileSync(at(name));
    if (/\.(js|css)$/.test(name)) {
      let text = renameIn(bytes.toString('utf8'), names);
      // The wasm's size, for the loading line's share: a compressed
      // answer's Content-Length is not the size of what it brings.
      if (name === 'page.js')
        text = replaceOnce(text, 'var wasmBytes = 0;', `var wasmBytes = ${fs.statSync(at(names.get('vorlex.wasm'))).size};`, name);
      bytes = Buffer.from(text);
    }
    const hashedName = name.replace(/(\.[a-z]+)$/, `.${digest(bytes).slice(0, 8)}$1`);
    fs.writeFileSync(at(hashedName), bytes);
    fs.rmSync(at(name));
    names.set(name, hashedName);
  }

  const images = fs.readdirSync(at('Vorlex.app/Contents/Resources')).sort()
    .map((name) => `Vorlex.app/Contents/Resources/${name}`);
  // The manifest's icons are the browser's to keep when the page is installed.
  const cached = ['./', ...[...names.values()].filter((name) => !name.startsWith('icon-')), ...images];
  // The cache is named after every byte it holds, so any change makes a new one.
  const build = digest(cached.slice(1).map((name) => digest(fs.readFileSync(at(name)))).join()).slice(0, 12);
  for (const name of fixedFiles) {
    let text = renameIn(fs.readFileSync(at(name), 'utf8'), names);
    if (name === 'sw.js') {
      text = replaceOnce(text, "'vorlex-build'", `'vorlex-${build}'`, name);
      text = replaceOnce(text, "['./']", JSON.stringify(cached).replace(/"/g, "'"), name);
    }
    fs.writeFileSync(at(name), text);
  }

  const all = fs.readdirSync(folder, { recursive: true }).map(String);
  for (const name of all.filter((file) => compressed.test(file))) {
    const bytes = fs.readFileSync(at(name));
    fs.writeFileSync(at(`${name}.br`), zlib.brotliCompressSync(bytes, { params: {
      [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
      [zlib.constants.BROTLI_PARAM_SIZE_HINT]: bytes.length } }));
    fs.writeFileSync(at(`${name}.gz`), zlib.gzipSync(bytes, { level: zlib.constants.Z_BEST_COMPRESSION }));
  }
}

if (require.main === module) {
  const [folder] = process.argv.slice(2);
  try {
    if (!folder || process.argv.length > 3) throw new Error('usage: node web/publish.js FOLDER');
    publish(folder);
  } catch (error) {
    console.error(`publish.js: ${error.message}`);
    process.exit(1);
  }
}

module.exports = { publish };
