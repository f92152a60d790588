// A static server for the built page on 127.0.0.1, for trying it out and
// for the tests:  node web/serve.js FOLDER [PORT]   (port 0 picks a free one).
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

// .wasm must come as application/wasm for the browser to compile it as it loads.
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

function serve(folder, port = 0) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    const file = path.join(root, name === '/' ? 'index.html' : name);
    if (!file.startsWith(root + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(bytes);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve({ server, url: `http://127.0.0.1:${server.address().port}/` }));
  });
}

module.exports = { serve };

if (require.main === module) {
  const [folder, port = '8000'] = process.argv.slice(2);
  if (!folder || !/^\d{1,5}$/.test(port) || Number(port) > 65535) {
    console.error('usage: node web/serve.js FOLDER [PORT]');
    process.exit(2);
  }
  if (!fs.existsSync(path.join(folder, 'index.html'))) {
    console.error(`serve.js: no page in ${folder}: build it first with scripts/web.sh`);
    process.exit(1);
  }
  serve(folder, Number(port)).then(
    ({ url }) => console.log(`Serving the page at ${url} (Ctrl+C stops it)`),
    (error) => {
      console.error(`serve.js: cannot serve on 127.0.0.1:${port}: ${error.message}`);
      process.exit(1);
    });
}
