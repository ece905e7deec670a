// node report_page.mjs PAGE.html CHARTS SCREENSHOT.png [TEXT...]
// Opens a report page from its file:// URL in headless Chromium, waits until
// it says every chart is drawn (without any scrolling), and fails on a console error, a script error,
// any request that leaves the file, a chart count other than CHARTS, a TEXT
// (a name from the replay) that the header does not show as text, a point
// that a chart holds outside its axes, a friction circle whose axes are not
// equal in scale and symmetric about zero, a track map whose axes are not
// equal in scale or that its track does not fill, a table wider than its
// room at 1280 px (or a page wider than the screen), or a corner that
// choosing it in the corner table does not mark on the map and the traces.
import { chromium } from 'playwright-core';
import { pathToFileURL } from 'node:url';
import { existsSync, readFileSync } from 'node:fs';

const [page, charts, screenshot, ...texts] = process.argv.slice(2);
const problems = [];
// The report's JSON beside the page (PAGE.json), when there is one.
const jsonPath = page.replace(/\.html$/, '.json');
const json = existsSync(jsonPath) ? JSON.parse(readFileSync(jsonPath, 'utf8')) : null;
const expected = new Map();
const summaryLines = new Map();
function checkSummary(k, g) {
  const want = [`${g.laps} lap`, `${g.complete_laps} complete`];
  if (g.best_lap_s !== null) want.push(`best ${g.best_lap_s.toFixed(3)} s`);
  if (g.complete_laps > 1) want.push(`mean ${g.lap_time_s.toFixed(3)}`);
  expected.set(k, want);
}

// Runs in the page: per chart, its title, the points outside its axes, the
// points it holds, whether its data spans both signs on each axis, and for a
// friction circle the pixels per unit along x and y and the axes' ranges.
function measureCharts() {
  return Object.values(Chart.instances).map((c) => {
    const m = {title: c.options.plugins.title.text, outside: 0, total: 0, signs: {x: [false, false], y: [false, false]}};
    c.data.datasets.forEach((d, i) => {
      const meta = c.getDatasetMeta(i);
      const xs = c.scales[meta.xAxisID], ys = c.scales[meta.yAxisID];
      (d.data || []).forEach((p) => {
        if (!p || typeof p !== 'object' || !isFinite(p.x) || !isFinite(p.y)) return;
        m.total += 1;
        if (p.x < xs.min || p.x > xs.max || p.y < ys.min || p.y > ys.max) m.outside += 1;
        if (!d.type || d.type === 'scatter') {
          m.signs.x[p.x < 0 ? 0 : 1] = true;
          m.signs.y[p.y < 0 ? 0 : 1] = true;
        }
      });
    });
    if (/friction circle|^track map/.test(m.title)) {
      const x = c.scales.x, y = c.scales.y;
      m.scale = {x: x.getPixelForValue(1) - x.getPixelForValue(0), y: y.getPixelForValue(0) - y.getPixelForValue(1),
                 xMin: x.min, xMax: x.max, yMin: y.min, yMax: y.max, track: c.options.plugins.equalScale.bounds};
    }
    return m;
  });
}

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
    const ms = Date.now() - start;
    const first = await tab.getAttribute('body', 'data-first-screen');
    const all = await tab.getAttribute('body', 'data-charts');
    const drawn = await tab.evaluate(() => Object.keys(Chart.instances).length);
    console.log(`${width} px: ${first} of ${all} charts on the first screen, all drawn in ${ms} ms`);
    if (all !== charts) problems.push(`${all} charts on the page, ${charts} expected`);
    if (String(drawn) !== all) problems.push(`${width} px: the page says every chart is drawn with ${drawn} of ${all} drawn`);
    const header = (await tab.textContent('header')) + (await tab.textContent('section.replays'));
    for (const t of texts) if (!header.includes(t)) problems.push(`the header does not show ${JSON.stringify(t)}`);
    // The summary's lap times are the JSON's, to the millisecond.
    // A session of many groups answers with its ranking, not a line a group.
    const session = json && json.groups && json.groups.length > 4;
    if (json && !session) {
      for (const track of json.tracks || []) {
        track.groups.forEach((g, k) => {
          if (!g.laps) return;
          checkSummary(k, g);
        });
      }
    }
    for (const [k, line] of await tab.$$eval('ul.summary li[data-track-group]', (items) =>
      items.map((i) => [Number(i.getAttribute('data-track-group')), i.textContent]))) {
      summaryLines.set(k, line);
    }
    for (const [k, want] of expected) {
      const line = summaryLines.get(k) || '';
      for (const w of want) if (!line.includes(w)) problems.push(`the summary of group ${k} does not say ${w}: ${line}`);
    }
    expected.clear();
    summaryLines.clear();
    // One forest row per difference with an interval, one row of the measured
    // differences' table per difference without; no note twice.
    const rows = await tab.$$eval('.forest-row, table.measured tr:not(:first-child)', (r) => r.length);
    const differences = await tab.evaluate(() => JSON.parse(document.getElementById('report-data').textContent).differences.length);
    if (rows !== differences) problems.push(`${rows} forest and measured rows for ${differences} differences`);
    // The answer is on the first screen, on a phone too.
    const answer = await tab.$eval('ul.summary li', (li) => li.getBoundingClientRect().bottom + window.scrollY).catch(() => null);
    if (answer !== null && answer > height) problems.push(`${width} px: the summary's first line ends below the first screen`);
    // A comparison says what differs in the car's setup, before the tyres.
    if (json && json.groups && !session) {
      const lines = await tab.$$eval('ul.summary li', (items) => items.map((i) => i.textContent));
      const setup = lines.findIndex((l) => / against .*: car setup: /.test(l));
      const tyres = lines.findIndex((l) => / against .*: tyres and balance: /.test(l));
      if (setup < 0 || (tyres >= 0 && tyres < setup)) problems.push('the summary does not give the car setup before the tyres');
    }
    if (!(await tab.$('table.replays tr.setup'))) problems.push('the replays table gives no setup');
    // No table wider than its room on a desktop screen; on a phone a table may
    // scroll inside its own box, but the page itself never sideways.
    const wide = await tab.$$eval('table', (ts) => ts.map((t) => ({
      head: t.querySelector('th') ? t.querySelector('th').textContent : '', width: t.scrollWidth,
      room: t.parentElement.clientWidth})).filter((t) => t.width > t.room));
    if (width >= 1280) wide.forEach((t) => problems.push(`${width} px: a table (${t.head} ...) is ${t.width} px wide in ${t.room}`));
    const pageWidth = await tab.evaluate(() => document.documentElement.scrollWidth);
    if (pageWidth > width) problems.push(`${width} px: the page is ${pageWidth} px wide`);
    const notes = await tab.$$eval('p.note', (ps) => ps.map((p) => p.textContent));
    if (new Set(notes).size !== notes.length) problems.push('a note is repeated');
    if (!/^(Tyre report|Lap comparison|Laps|Session): /.test(await tab.title())) problems.push(`a name ran as script: title ${await tab.title()}`);
    if (await tab.$('header svg, header b')) problems.push('a name became markup');
    await tab.waitForTimeout(300);  // the friction circles settle their equal scales in the next frames
    for (const m of await tab.evaluate(measureCharts)) {
      if (m.outside) problems.push(`${width} px, ${m.title}: ${m.outside} of ${m.total} points outside the axes`);
      if (/lateral grip$|friction circle/.test(m.title) && !(m.signs.x[0] && m.signs.x[1] && m.signs.y[0] && m.signs.y[1])) {
        problems.push(`${m.title}: the test page's points do not cover both signs of both axes`);
      }
      if (m.scale) {
        const s = m.scale;
        if (Math.abs(s.x / s.y - 1) > 0.02) problems.push(`${width} px, ${m.title}: x and y scales differ (${s.x} vs ${s.y} px per unit)`);
        const circle = /friction circle/.test(m.title);
        if (circle && (Math.abs(s.xMin + s.xMax) > 1e-9 || Math.abs(s.yMin + s.yMax) > 1e-9)) problems.push(`${m.title}: axes not symmetric about zero`);
        // A track map fills its chart: neither axis reaches far past the track.
        const t = s.track;
        if (!circle && ((s.xMax - s.xMin) > 1.1 * (t.xMax - t.xMin) || (s.yMax - s.yMin) > 1.1 * (t.yMax - t.yMin))) {
          problems.push(`${width} px, ${m.title}: the track does not fill its map (x ${s.xMin} to ${s.xMax}, y ${s.yMin} to ${s.yMax})`);
        }
      }
    }
    const findings = await tab.$$eval('ol.findings li', (items) => items.map((i) => i.textContent));
    const timeBlock = await tab.$$eval('h2', (hs) => hs.some((h) => h.textContent === 'Where the time goes'));
    if (timeBlock && !findings.some((f) => /^T\d+: .+ (loses|gains) \d+\.\d+ s/.test(f))) {
      problems.push('where the time goes lists no corner');
    }
    const corner = await tab.$('table.corners tr[data-corner]');
    if (corner) {
      await corner.click();
      await tab.waitForTimeout(200);
      const marked = await tab.evaluate(() => Object.values(Chart.instances).map((c) => ({
        title: c.options.plugins.title.text,
        band: !!(c.options.plugins.cornerBand && c.options.plugins.cornerBand.range),
        chosen: c.data.datasets.some((d) => /^chosen corner T/.test(d.label) && d.data.length > 0)})));
      if (!marked.some((m) => /^track map/.test(m.title) && m.chosen)) problems.push('the chosen corner is not marked on the map');
      for (const m of marked.filter((c) => / over distance$|^time delta/.test(c.title))) {
        if (!m.band) problems.push(`the chosen corner is not marked on ${m.title}`);
      }
    }
    // On a loaded two-core machine a headless frame has once taken over 30 s
    // to come; the screenshot is for a person to look at, so it waits longer.
    await tab.screenshot({ path: name, timeout: 120000 });
    await tab.close();
  }
} finally {
  await browser.close();
}
for (const p of problems) console.error(p);
process.exit(problems.length ? 1 : 0);
