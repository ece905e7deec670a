// node page_shot.mjs PAGE.html SHOT.png WIDTH [SECTION]
// A screenshot of a report page for the README: the first screen at WIDTH
// pixels, or the section headed SECTION (from its heading to the end of what
// follows it, up to the next heading). Uses playwright-core from the browser
// tests and Debian's Chromium.
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const require = createRequire(new URL('../tests/browser/package.json', import.meta.url));
const { chromium } = require('playwright-core');
const [page, shot, width, section] = process.argv.slice(2);
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
try {
  const tab = await browser.newPage({ viewport: { width: Number(width), height: Number(width) < 600 ? 844 : 800 } });
  await tab.goto(pathToFileURL(page).href);
  await tab.waitForSelector('body[data-charts-drawn]', { timeout: 60000 });
  // Charts out of view are drawn while the page is idle: wait for all.
  await tab.waitForFunction(() => Object.keys(Chart.instances).length === Number(document.body.dataset.charts),
                            null, { timeout: 60000 });
  await tab.waitForTimeout(300);
  if (!section) {
    await tab.screenshot({ path: shot });
  } else {
    const box = await tab.evaluate((title) => {
      const heading = [...document.querySelectorAll('h2')].find((h) => h.textContent === title);
      let last = heading;
      for (let e = heading.nextElementSibling; e && e.tagName !== 'H2'; e = e.nextElementSibling) last = e;
      const top = heading.getBoundingClientRect().top + window.scrollY;
      const bottom = last.getBoundingClientRect().bottom + window.scrollY;
      return { x: 0, y: top - 8, width: document.documentElement.clientWidth, height: bottom - top + 16 };
    }, section);
    await tab.screenshot({ path: shot, fullPage: true, clip: box });
  }
} finally {
  await browser.close();
}
