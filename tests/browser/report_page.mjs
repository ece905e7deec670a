// node report_page.mjs PAGE.html CHARTS SCREENSHOT.png [TEXT...]
// Opens a report page from its file:// URL in headless Chromium, waits until
// it says every chart is drawn, and fails on a console error, a script error,
// any request that leaves the file, a chart count other than CHARTS, or a
// TEXT (a name from the replay) that the header does not show as text.
import { chromium } from 'playwright-core';
import { pathToFileURL } from 'node:url';

const [page, charts, screenshot, ...texts] = process.argv.slice(2);
const problems = [];
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
try {
  for (const [width, height, name] of [[1280, 800, screenshot], [390, 844, screenshot.replace(/\.png$/, '-phone.png')]]) {
    const tab = await browser.newPage({ viewport: { width, height } });
    tab.on('console', (m) => { if (m.type() === 'error') problems.push(`console error: ${m.text()}`); });
    tab.on('pageerror', (e) => problems.push(`script error: ${e.message}`));
    tab.on('request', (r) => { if (!r.url().startsWith('file:')) problems.push(`request leaves the file: ${r.url()}`); });
    tab.on('requestfailed', (r) => problems.push(`request failed: ${r.url()}`));
    const start = Date.now();
    await tab.goto(pathToFileURL(page).href);
    await tab.waitForSelector('body[data-charts-drawn]', { timeout: 60000 });
    const drawn = await tab.getAttribute('body', 'data-charts-drawn');
    console.log(`${width} px: ${drawn} charts drawn in ${Date.now() - start} ms`);
    if (drawn !== charts) problems.push(`${drawn} charts drawn, ${charts} expected`);
    const header = await tab.textContent('header');
    for (const t of texts) if (!header.includes(t)) problems.push(`the header does not show ${JSON.stringify(t)}`);
    if (!(await tab.title()).startsWith('Tyre report')) problems.push(`a name ran as script: title ${await tab.title()}`);
    if (await tab.$('header svg, header b')) problems.push('a name became markup');
    await tab.screenshot({ path: name });
    await tab.close();
  }
} finally {
  await browser.close();
}
for (const p of problems) console.error(p);
process.exit(problems.length ? 1 : 0);
