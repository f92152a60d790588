// Writes the README's still of the page: node still.js PAGE-FOLDER OUT.png FRAME.
// The web test holds the committed file to what the page draws.
'use strict';
const fs = require('fs');
const { serve } = require('../../web/serve.js');
const { launch, open, waitEnded } = require('./page.js');

(async () => {
  const [folder, out, frame] = process.argv.slice(2);
  if (!/^[1-9]\d*$/.test(frame || '')) {
    console.error('usage: node still.js PAGE-FOLDER OUT.png FRAME (a frame from 1 on)');
    process.exit(2);
  }
  const { server, url } = await serve(folder);
  const browser = await launch();
  try {
    const { page } = await open(browser, url, `?frames=${frame}`);
    const end = await waitEnded(page);
    if (end.problem || end.frame !== Number(frame))
      throw new Error(`the page stopped at frame ${end.frame}: ${end.problem || 'no reason shown'}`);
    fs.writeFileSync(out, await page.canvasPng());
    console.log(out);
  } finally {
    await browser.closeAll();
    server.close();
  }
})().catch((error) => {
  console.error(`still.js: ${error.message}`);
  process.exit(1);
});
