// node bench/page_draw.mjs REPEAT PAGE.html...
// Opens each page in headless Chromium at 1280 x 800, REPEAT times each, and
// prints per page, as JSON lines: the best time from navigation start to the
// first contentful paint and to the page's all-charts-drawn mark (the moment
// the body gets its data-charts-drawn attribute), ms, and the page's height
// as it opens at that width, px.
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const require = createRequire(new URL('../tests/browser/package.json', import.meta.url));
const { chromium } = require('playwright-core');
const [repeat, ...pages] = process.argv.slice(2);

// Runs in the page before its own scripts: notes the time the mark appears.
function watchMark() {
  new MutationObserver((changes, observer) => {
    if (document.body && document.body.hasAttribute('data-charts-drawn')) {
      window.__drawn = performance.now();
      observer.disconnect();
    }
  }).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-charts-drawn']});
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
try {
  for (const page of pages) {
    let best = {paint: Infinity, drawn: Infinity};
    let height = 0;
    for (let k = 0; k < Number(repeat); k++) {
      const context = await browser.newContext({viewport: {width: 1280, height: 800}});
      const tab = await context.newPage();
      await tab.addInitScript(watchMark);
      await tab.goto(pathToFileURL(page).href);
      await tab.waitForFunction(() => window.__drawn !== undefined, null, {timeout: 120000, polling: 50});
      const t = await tab.evaluate(() => {
        const paint = performance.getEntriesByName('first-contentful-paint')[0];
        return {paint: paint ? paint.startTime : NaN, drawn: window.__drawn,
                height: document.documentElement.scrollHeight};
      });
      height = t.height;
      best = {paint: Math.min(best.paint, t.paint), drawn: Math.min(best.drawn, t.drawn)};
      await context.close();
    }
    console.log(JSON.stringify({page, paint: Math.round(best.paint), drawn: Math.round(best.drawn), height}));
  }
} finally {
  await browser.close();
}
