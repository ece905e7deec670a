// The page's common ground: its data, palette, elements, charts drawn when
// in view, chart options and number formats. The parts that follow, one per
// section, and main.js run inside one function with this file.
// Long series come packed: 16-bit codes in base64 over a range in steps of
// 10^-d (65535: no value).
const unpack = (p) => {
  const bytes = atob(p.u16), out = new Array(bytes.length / 2), ten = Math.pow(10, p.d);
  for (let i = 0; i < out.length; i++) {
    const code = bytes.charCodeAt(2 * i) | (bytes.charCodeAt(2 * i + 1) << 8);
    out[i] = code === 65535 ? null : (p.lo + code * p.step) / ten;
  }
  return out;
};
// Every packed series unpacked where it lies: a walk over the objects and
// arrays alone (a reviver would be called for each of a session's million
// numbers).
function unpackAll(v) {
  if (Array.isArray(v)) {
    for (let i = 0; i < v.length; i++) {
      const x = v[i];
      if (x !== null && typeof x === 'object') v[i] = unpackAll(x);
    }
    return v;
  }
  if (typeof v.u16 === 'string') return unpack(v);
  for (const k in v) {
    const x = v[k];
    if (x !== null && typeof x === 'object') v[k] = unpackAll(x);
  }
  return v;
}
const data = unpackAll(JSON.parse(document.getElementById('report-data').textContent));
// A difference on the page is the JSON's, compacted: its null and empty
// members are left out, and its groups, verdict and notes where they are the
// previous one's.
data.differences.forEach((d, i, all) => {
  d.from = d.from ?? all[i - 1].from;
  d.to = d.to ?? all[i - 1].to;
  d.verdict = d.verdict ?? all[i - 1].verdict;
  for (const k of ['curve', 'from_value', 'to_value', 'delta', 'ci', 'relative', 'relative_ci']) d[k] = d[k] ?? null;
  d.notes = d.notes ?? (i > 0 ? all[i - 1].notes : []);
});
const groups = data.groups;
const single = groups.length === 1;
// Okabe and Ito's palette (tells apart for colour-blind readers), then four
// of Tol's muted colours: one colour per group, the same in every chart, and
// twelve groups tell apart by colour. Past twelve (a session) the colours
// come again, their lines dashed. Viridis for the five normal-load classes,
// light load dark.
const palette = ['#0072B2', '#E69F00', '#009E73', '#CC79A7', '#56B4E9', '#D55E00', '#000000', '#F0E442',
                 '#882255', '#44AA99', '#999933', '#332288'];
const colourCount = palette.length;
for (let k = colourCount; k < groups.length; k++) palette.push(palette[k % colourCount]);
const dashOf = (k) => (k < colourCount ? [] : [[6, 3], [2, 2]][Math.floor(k / colourCount - 1) % 2]);
const loadColours = ['#440154', '#3b528b', '#21918c', '#5ec962', '#c2a800'];
const main = document.getElementById('report');
const overlayCharts = [];
let drawn = 0;

Chart.defaults.animation = false;
Chart.defaults.maintainAspectRatio = false;
Chart.defaults.font.size = 11;
// A scatter's room at the axes' edges is its points' radius; Chart.js looks
// it up point by point, which for 100,000 points of one radius is most of
// the layout's time.
const Scatter = Chart.registry.getController('scatter');
const pointByPoint = Scatter.prototype.getMaxOverflow;
Scatter.prototype.getMaxOverflow = function () {
  const d = this.getDataset();
  if (this.options.showLine || typeof d.pointRadius !== 'number' || d.pointHoverRadius !== undefined) {
    return pointByPoint.call(this);
  }
  const radius = Math.max(d.pointRadius, Chart.defaults.elements.point.hoverRadius);
  return d.pointRadius > 0 && radius + (typeof d.borderWidth === 'number' ? d.borderWidth : 1);
};
// Points of one colour that land on one pixel draw the same picture once;
// a scatter whose points have colours of their own draws every point.
const drawEach = Scatter.prototype.draw;
Scatter.prototype.draw = function () {
  const d = this.getDataset();
  if (this.options.showLine || typeof d.backgroundColor !== 'string' || d.pointBackgroundColor !== undefined) {
    return drawEach.call(this);
  }
  const ctx = this._ctx, area = this.chart.chartArea, seen = new Set();
  for (const e of this._cachedMeta.data || []) {
    if (e.hidden) continue;
    const pixel = Math.round(e.x) * 100000 + Math.round(e.y);
    if (!e.active && seen.has(pixel)) continue;
    seen.add(pixel);
    e.draw(ctx, area);
  }
};

// A cloud: a scatter of many points of one colour and radius, drawn straight
// onto the canvas by the clouds plugin. Chart.js holds only the points at its
// extremes, which set the axes (and what a probe of the axes reads), and
// makes no element for each of the others, which for 20,000 points a chart
// was most of the page's drawing time.
function cloud(set, xs, ys) {
  let left = 0, right = 0, bottom = 0, top = 0;
  for (let i = 1; i < xs.length; i++) {
    if (xs[i] < xs[left]) left = i;
    if (xs[i] > xs[right]) right = i;
    if (ys[i] < ys[bottom]) bottom = i;
    if (ys[i] > ys[top]) top = i;
  }
  const ends = xs.length ? [...new Set([left, right, bottom, top])].map((i) => ({x: xs[i], y: ys[i]})).sort(byX) : [];
  return sorted(Object.assign(set, {data: ends, cloud: {x: xs, y: ys}}));
}
// Draws a visible cloud's every point in its place, one circle a pixel (as
// the scatters' own drawing does), clipped to the chart's area, in the
// cloud's turn among the datasets.
const clouds = {
  id: 'clouds',
  beforeDatasetDraw(chart, args) {
    const d = chart.data.datasets[args.index];
    if (!d.cloud) return true;
    const ctx = chart.ctx, area = chart.chartArea, sx = chart.scales.x, sy = chart.scales.y;
    const r = d.pointRadius, xs = d.cloud.x, ys = d.cloud.y, seen = new Set();
    ctx.save();
    ctx.beginPath();
    ctx.rect(area.left, area.top, area.right - area.left, area.bottom - area.top);
    ctx.clip();
    ctx.fillStyle = d.backgroundColor;
    // Each circle filled on its own, so that overlapping points deepen the
    // colour as Chart.js's own points do.
    for (let i = 0; i < xs.length; i++) {
      const px = sx.getPixelForValue(xs[i]), py = sy.getPixelForValue(ys[i]);
      const pixel = Math.round(px) * 100000 + Math.round(py);
      if (seen.has(pixel)) continue;
      seen.add(pixel);
      ctx.beginPath();
      ctx.arc(px, py, r, 0, 2 * Math.PI);
      ctx.fill();
    }
    ctx.restore();
    return false;
  },
};
Chart.register(clouds);

// Keeps one unit as long on the x axis as on the y axis, the view holding
// `opts.bounds` ({xMin, xMax, yMin, yMax}) about their centre: a circle looks
// like a circle, a track map like the track; bounds symmetric about zero
// give axes symmetric about zero.
const equalScale = {
  id: 'equalScale',
  afterLayout(chart, args, opts) {
    const a = chart.chartArea, b = opts.bounds;
    if (!a || !b) return;
    const w = a.right - a.left, h = a.bottom - a.top;
    if (w <= 0 || h <= 0) return;
    const perPixel = Math.max((b.xMax - b.xMin) / w, (b.yMax - b.yMin) / h);
    const cx = (b.xMin + b.xMax) / 2, cy = (b.yMin + b.yMax) / 2;
    const want = {xMin: cx - perPixel * w / 2, xMax: cx + perPixel * w / 2,
                  yMin: cy - perPixel * h / 2, yMax: cy + perPixel * h / 2};
    const x = chart.options.scales.x, y = chart.options.scales.y;
    const off = (now, v) => !(Math.abs(now - v) <= 0.002 * perPixel * Math.min(w, h));
    if ((off(x.min, want.xMin) || off(x.max, want.xMax) || off(y.min, want.yMin) || off(y.max, want.yMax)) &&
        (chart.$equalTries = (chart.$equalTries || 0) + 1) < 6) {
      x.min = want.xMin; x.max = want.xMax; y.min = want.yMin; y.max = want.yMax;
      requestAnimationFrame(() => chart.update('none'));
    }
  },
  resize(chart) { chart.$equalTries = 0; }
};

function el(tag, attrs, text) {
  const e = document.createElement(tag);
  for (const k in attrs || {}) e.setAttribute(k, attrs[k]);
  if (text !== undefined) e.textContent = text;
  return e;
}
function section(title, note) {
  main.appendChild(el('h2', {id: title.toLowerCase().replace(/[^a-z0-9]+/g, '-')}, title));
  if (note) main.appendChild(el('p', {class: 'note'}, note));
  const grid = el('div', {class: 'grid'});
  main.appendChild(grid);
  return grid;
}
// Charts are drawn once, at their final size (the page is laid out whole
// before the first is drawn): those in view first, the rest in the
// browser's idle time, or sooner when they come into view. A chart's
// configuration may be a function, called only when the chart is drawn or
// its data or options are first read: a chart out of view costs nothing
// until then. Its handle reads and changes its data and options whether it
// is drawn yet or not.
const handles = new Map();
const nearView = new IntersectionObserver((entries) => {
  entries.forEach((e) => { if (e.isIntersecting) draw(handles.get(e.target)); });
  firstScreen();
});
function draw(h) {
  if (h.chart) return;
  nearView.unobserve(h.box);
  const config = h.config;
  h.canvas.setAttribute('aria-label', config.options.plugins.title.text);
  // A grid gives a box a width in fractions of a pixel, which the canvas's
  // whole pixels never match: Chart.js would lay the chart out again each
  // time it looks (twice as it attaches, once more as it first observes the
  // box). The canvas is held to the whole pixels of its room until the
  // window's size changes.
  const box = getComputedStyle(h.box);
  const room = h.box.getBoundingClientRect().width - parseFloat(box.paddingLeft) - parseFloat(box.paddingRight) -
               parseFloat(box.borderLeftWidth) - parseFloat(box.borderRightWidth);
  h.canvas.style.maxWidth = Math.floor(room) + 'px';
  h.chart = new Chart(h.canvas, config);
  drawn += 1;
  if (drawn === handles.size) allDrawn();
}
function chart(grid, make, wide, kind) {
  const box = el('div', {class: (wide ? 'chart wide' : 'chart') + (kind ? ' ' + kind : '')});
  const canvas = el('canvas', {role: 'img'});
  box.appendChild(canvas);
  grid.appendChild(box);
  let made = typeof make === 'function' ? null : make;
  const h = {box: box, canvas: canvas, chart: null,
             get config() { return made || (made = make()); },
             get data() { return this.config.data; },
             get options() { return this.chart ? this.chart.options : this.config.options; },
             update() { if (this.chart) this.chart.update('none'); }};
  handles.set(box, h);
  return h;
}
// The marks: how many charts the page holds and how many the first screen
// drew, set once after the first look at what is in view; and that every
// chart is drawn, set when the last one is.
let marked = false;
// The next frame, or a tenth of a second, whichever comes first: a page the
// browser draws no frames for (a tab in the background, a program reading
// it) still finishes.
function soon(work) {
  let done = false;
  const once = () => {
    if (done) return;
    done = true;
    work();
  };
  requestAnimationFrame(once);
  setTimeout(once, 100);
}
function firstScreen() {
  if (marked) return;
  marked = true;
  soon(() => {
    document.body.setAttribute('data-charts', String(handles.size));
    document.body.setAttribute('data-first-screen', String(drawn));
    // The rest only once the first screen is drawn, so it never waits for them.
    whenIdle(drawRest);
  });
}
function allDrawn() {
  soon(() => {
    document.body.setAttribute('data-charts', String(handles.size));
    document.body.setAttribute('data-charts-drawn', String(drawn));
  });
}
// Every chart is also drawn in page order in the browser's idle time, as
// many as each idle period holds, so that scrolling finds them drawn and the
// page is soon complete without it (a page printed, or read by a program).
const inOrder = [];
// Idle or not, a chart at least every tenth of a second. Where the browser
// has no idle callbacks, a task of at most 12 ms at a time.
const whenIdle = window.requestIdleCallback ? (work) => window.requestIdleCallback(work, {timeout: 100})
  : (work) => setTimeout(() => {
    const start = performance.now();
    work({timeRemaining: () => Math.max(0, 12 - (performance.now() - start))});
  }, 0);
function drawRest(idle) {
  do {
    while (inOrder.length && inOrder[0].chart) inOrder.shift();
    if (!inOrder.length) return;
    draw(inOrder.shift());
  } while (idle.timeRemaining() > 0);
  whenIdle(drawRest);
}
// A window of another size lets every chart take its room, whole pixels or not.
window.addEventListener('resize', () => handles.forEach((h) => { h.canvas.style.maxWidth = ''; }), {once: true});
// A printed page holds every chart.
window.addEventListener('beforeprint', () => handles.forEach(draw));
function axis(title, extra) {
  return Object.assign({type: 'linear', title: {display: true, text: title}}, extra || {});
}
// Chart.js takes a dataset that skips parsing as sorted by x and reads its
// x range off the first and last points: only datasets sorted by x skip it
// (sorted(...)); others, like the friction circle's envelope, are parsed.
function options(title, xTitle, yTitle, extra) {
  return Object.assign({
    plugins: {title: {display: true, text: title},
              legend: {labels: {boxWidth: 12, filter: (item, d) => !d.datasets[item.datasetIndex].helper}},
              tooltip: {callbacks: {label: (c) => c.dataset.label + ': (' + c.parsed.x + ', ' + c.parsed.y + ')'}}},
    scales: {x: axis(xTitle), y: axis(yTitle)}
  }, extra || {});
}
const points = (xs, ys) => xs.map((x, i) => ({x: x, y: ys[i]}));
// A dataset whose points are in order of x, which may skip parsing.
const sorted = (set) => Object.assign(set, {parsing: false});
const byX = (a, b) => a.x - b.x;

// A path's file name, without its folders.
const fileName = (f) => f.replace(/^.*[\\/]/, '');
// A table cell appended to `row`: a text, or {text, title} whose title
// (an interval, say) shows on hover.
function cell(row, v, attrs) {
  const boxed = v !== null && typeof v === 'object';
  return row.appendChild(el('td', Object.assign(boxed ? {title: v.title} : {}, attrs || {}), boxed ? v.text : String(v)));
}
// Speeds as the reader asked for them (--speed-unit): the data holds m/s.
const speedUnit = data.speedUnit;
const speedLabel = 'speed [' + speedUnit.name + ']';
// Each quantity's words, unit and decimals as the report's table gives them,
// by key, and by key and tyre curve where its unit depends on the curve;
// `scale` is the factor from the data's unit to the shown one: speeds in the
// reader's unit, the rest as they are.
const quantityTable = new Map();
data.quantities.forEach((q) => {
  const shown = Object.assign({}, q, q.unit === 'm/s' ? {unit: speedUnit.name, scale: speedUnit.scale} : {scale: 1});
  quantityTable.set(q.curve ? q.key + ' ' + q.curve : q.key, shown);
  if (!quantityTable.has(q.key)) quantityTable.set(q.key, shown);
});
const quantityOf = (key, curve) => quantityTable.get(curve ? key + ' ' + curve : key) || quantityTable.get(key) || null;
// A value over laps, [mean, low, high, laps], times `scale`.
const scaledOverLaps = (v, scale) => (!v || scale === 1 ? v
    : [v[0], v[1], v[2]].map((x) => (x === null ? null : x * scale)).concat([v[3]]));
// A number to `digits` places with a true minus sign; with `plus`, a plus
// sign too; no sign on one that rounds to zero: the page's one way of
// writing a signed number, as the report's sentences write it.
function numberText(v, digits, plus) {
  const text = Math.abs(v).toFixed(digits);
  return (Number(text) === 0 ? '' : v < 0 ? '\u2212' : plus ? '+' : '') + text;
}
const signedText = (v, digits) => numberText(v, digits, true);
const unitText = (u) => (u === '' || u === '\u00b0' ? u : ' ' + u);

// value ± half-width, the interval itself in the cell's title.
// Where the interval is not symmetric about the value (a bootstrap's, one
// kept within its quantity's range) the interval itself stands in for the ±.
// `slack` is how uneven rounding alone leaves it: the data's three numbers
// each rounded by up to half their last place (a Student's interval over
// laps, written to 3 places, can look 0.002 uneven and be symmetric).
function aroundValue(value, low, high, digits, slack) {
  const symmetric = Math.abs(high - value - (value - low)) <= slack + 1e-9 * Math.abs(value);
  return numberText(value, digits) + (symmetric ? ' \u00b1 ' + numberText((high - low) / 2, digits)
                                                : ' (' + numberText(low, digits) + ' to ' + numberText(high, digits) + ')');
}
function withInterval(e, digits) {
  if (!e || e.value === null) return {text: '\u2013', title: ''};
  return {text: aroundValue(e.value, e.low, e.high, digits, 0),
          title: '95 % interval ' + numberText(e.low, digits) + ' to ' + numberText(e.high, digits)};
}
// A session's long tables of every group fold away under their heading, and
// so does a table given its own `summary` on every page: the page answers
// first and stays short. Undefined (no fold) otherwise.
const sessionPage = groups.length > 4;
// A chart whose legend names every group of a session takes the room for it:
// its binned points leave the legend to its lines, and it is taller.
const legendRoom = sessionPage ? 'tall' : undefined;
// A time lost (orange) or gained (blue) as a cell's background, the deeper
// the nearer `largest`.
function heatColour(v, largest) {
  const depth = Math.round(40 + 180 * Math.min(1, Math.abs(v) / largest)).toString(16).padStart(2, '0');
  return (v > 0 ? '#D55E00' : '#0072B2') + depth;
}
function foldedUnder(title, summary) {
  if (!sessionPage && !summary) return undefined;
  main.appendChild(el('h2', {}, title));
  const details = main.appendChild(el('details', {class: 'folded'}));
  details.appendChild(el('summary', {}, summary || 'Show for all ' + groups.length + ' groups'));
  return details;
}
// A section holding one table: its heading, its note and the table with
// its header row, which the caller fills.
function tableSection(title, note, headings, attrs, parent) {
  const into = parent || main;
  if (!parent) into.appendChild(el('h2', {}, title));
  into.appendChild(el('p', {class: 'note'}, note));
  const wrap = el('div', {class: 'scroll'});
  const table = el('table', attrs);
  const head = el('tr');
  headings.forEach((h) => head.appendChild(el('th', {}, h)));
  table.appendChild(head);
  wrap.appendChild(table);
  into.appendChild(wrap);
  return table;
}


const fixed = (v, d) => (v === null || v === undefined ? '\u2013' : v.toFixed(d));
// A value with its 95 % interval over laps, as [mean, low, high, laps]
// (low and high null with one lap), the data's 3 places times `scale`.
function overLaps(v, d, scale = 1) {
  if (!v || v[0] === null) return {text: '\u2013', title: 'no lap gives it'};
  if (v[1] === null) return {text: numberText(v[0], d) + ' (1 lap)', title: 'one lap: no interval'};
  return {text: aroundValue(v[0], v[1], v[2], d, 2e-3 * scale) + ' (' + v[3] + ')',
          title: '95 % interval over ' + v[3] + ' laps: ' + numberText(v[1], d) + ' to ' + numberText(v[2], d)};
}
