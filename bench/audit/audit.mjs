// Lighthouse's four scores for the built page, served by web/serve.js, in
// Debian's Chromium:  node bench/audit/audit.mjs FOLDER   (scripts/web.sh audit)
// Lighthouse's default run: a mid-range phone on a throttled network,
// simulated, so the Performance score follows the machine's load, which is
// printed with it.
import { createRequire } from 'node:module';
import os from 'node:os';
import * as chromeLauncher from 'chrome-launcher';
import lighthouse from 'lighthouse';

const require = createRequire(import.meta.url);
const { serve } = require('../../web/serve.js');

const folder = process.argv[2];
const { server, url } = await serve(folder);
const chrome = await chromeLauncher.launch({
  chromePath: process.env.CHROMIUM || '/usr/bin/chromium',
  chromeFlags: ['--headless=new', '--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
try {
  const load = os.loadavg()[0];
  const { lhr } = await lighthouse(url, { port: chrome.port, output: 'json', logLevel: 'error' });
  if (lhr.runtimeError) throw new Error(lhr.runtimeError.message);
  console.log(`Lighthouse ${lhr.lighthouseVersion}, ${lhr.configSettings.formFactor}, Chromium ${lhr.environment.hostUserAgent.match(/Chrome\/([\d.]+)/)?.[1]}, load ${load.toFixed(1)} on ${os.cpus().length} cores`);
  for (const category of Object.values(lhr.categories))
    console.log(`${category.title.padEnd(16)} ${Math.round(category.score * 100)}`);
  // What kept a score from 100, by audit.
  for (const category of Object.values(lhr.categories)) {
    for (const ref of category.auditRefs.filter((r) => r.weight > 0)) {
      const audit = lhr.audits[ref.id];
      if (audit.score !== null && audit.score < 1)
        console.log(`  ${category.title}: ${audit.id} ${Math.round(audit.score * 100)}${audit.displayValue ? ` (${audit.displayValue})` : ''}`);
    }
  }
} finally {
  await chrome.kill();
  server.close();
}
