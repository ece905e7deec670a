// node bench/page_draw.mjs REPEAT PAGE.html...
// Opens each page in headless Chromium at 1280 x 800, REPEAT times each, and
// prints per page, as JSON lines: the best time from navigation start to the
// first contentful paint, to the first screen's charts (the moment the body
// gets its data-charts attribute) and to every chart drawn (counted, not
// taken from the page's own mark, so that builds that mark it differently
// compare), ms, and the page's height as it opens at that width, px.
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const require = createRequire(new URL('../tests/browser/package.json', import.meta.url));
const { chromium } = require('playwright-core');
const [repeat, ...pages] = process.argv.slice(2);

// Runs in the page before its own scripts: notes the time the first screen's
// mark appears, then each frame whether every chart is drawn.
function watchMark() {
  const allDrawn = () => {
    const n = Number(document.body.getAttribute('data-charts'));
    if (window.Chart && Object.keys(window.Chart.instances).length === n) {
      window.__drawn = performance.now();
    } else {
      requestAnimationFrame(allDrawn);
    }
  };
  new MutationObserver((changes, observer) => {
    if (document.body && document.body.hasAttribute('data-charts')) {
      window.__first = performance.now();
      observer.disconnect();
      allDrawn();
    }
  }).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-charts']});
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
try {
  for (const page of pages) {
    let best = {paint: Infinity, first: Infinity, drawn: Infinity};
    let height = 0;
    for (let k = 0; k < Number(repeat); k++) {
      const context = await browser.newContext({viewport: {width: 1280, height: 800}});
      const tab = await context.newPage();
      await tab.addInitScript(watchMark);
      await tab.goto(pathToFileURL(page).href);
      await tab.waitForFunction(() => window.__drawn !== undefined, null, {timeout: 120000, polling: 50});
      const t = await tab.evaluate(() => {
        const paint = performance.getEntriesByName('first-contentful-paint')[0];
        return {paint: paint ? paint.startTime : NaN, first: window.__first, drawn: window.__drawn,
                height: document.documentElement.scrollHeight};
      });
      height = t.height;
      best = {paint: Math.min(best.paint, t.paint), first: Math.min(best.first, t.first), drawn: Math.min(best.drawn, t.drawn)};
      await context.close();
    }
    console.log(JSON.stringify({page, paint: Math.round(best.paint), first: Math.round(best.first),
                                drawn: Math.round(best.drawn), height}));
  }
} finally {
  await browser.close();
}
