// Draws the tyre report from the page's inline data. No network, no storage.
(function () {
  'use strict';
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
  const data = JSON.parse(document.getElementById('report-data').textContent,
                          (k, v) => (v !== null && typeof v === 'object' && typeof v.u16 === 'string' ? unpack(v) : v));
  const groups = data.groups;
  const single = groups.length === 1;
  // Okabe and Ito's palette (tells apart for colour-blind readers): one colour
  // per group, the same in every chart; and viridis for the five
  // normal-load classes, light load dark.
  const palette = ['#0072B2', '#E69F00', '#009E73', '#CC79A7', '#56B4E9', '#D55E00', '#000000', '#F0E442'];
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
  // Charts are drawn when they come into view, once, at their final size
  // (the page is laid out whole before the first is drawn). A chart's
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
    h.chart = new Chart(h.canvas, config);
    drawn += 1;
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
  // The mark that the charts in view are drawn, set once after the first
  // look at what is in view; the page says how many charts it holds in all.
  let marked = false;
  function firstScreen() {
    if (marked) return;
    marked = true;
    requestAnimationFrame(() => {
      document.body.setAttribute('data-charts', String(handles.size));
      document.body.setAttribute('data-charts-drawn', String(drawn));
    });
  }
  // Every chart is also drawn in page order, one per task, so that scrolling
  // finds them drawn and the page is soon complete even where nothing tells
  // it what is in view (a page printed, or read by a program).
  const inOrder = [];
  function drawRest() {
    while (inOrder.length && inOrder[0].chart) inOrder.shift();
    if (!inOrder.length) return;
    draw(inOrder.shift());
    setTimeout(drawRest, 0);
  }
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

  function loadLabel(k) {
    const e = data.loadEdges;
    if (k === 0) return 'load < ' + e[0] + ' N';
    if (k === e.length) return 'load \u2265 ' + e[e.length - 1] + ' N';
    return 'load ' + e[k - 1] + '\u2013' + e[k] + ' N';
  }
  // The scatter split by load class, one dataset each.
  function scatterSets(s) {
    const sets = loadColours.map((colour, k) => ({
      type: 'scatter', label: loadLabel(k), data: [], pointRadius: 1.5, borderWidth: 0,
      backgroundColor: colour + '99', order: 3}));
    // The points come in order of their class, s.classes[k] of class k.
    let i = 0;
    s.classes.forEach((n, k) => {
      for (const end = i + n; i < end; i++) sets[k].data.push({x: s.x[i], y: s.y[i]});
    });
    sets.forEach((set) => sorted(set).data.sort(byX));
    return sets;
  }
  // A group's scatter in its own colour, which the reader may hide.
  function groupScatter(s, g) {
    return sorted({type: 'scatter', label: groups[g].label + ' points', helper: true, scatter: true,
                   data: points(s.x, s.y).sort(byX), pointRadius: 1.2, borderWidth: 0,
                   backgroundColor: palette[g] + '55', order: 3});
  }
  // The fitted curve with its 95 % band, and the peak (when reached) with
  // the intervals of its grip and slip as whiskers.
  function curveSets(fit, colour, label) {
    if (!fit) return [];
    const sets = [
      sorted({type: 'line', label: 'band low', helper: true, data: points(fit.x, fit.low), borderWidth: 0,
              pointRadius: 0, fill: false, order: 2}),
      sorted({type: 'line', label: label ? label + ' 95 % band' : '95 % band', helper: !!label,
              data: points(fit.x, fit.high), borderWidth: 0, pointRadius: 0, fill: '-1',
              backgroundColor: colour + '40', order: 2}),
      sorted({type: 'line', label: label || 'fitted curve' + (fit.L !== 0 ? ' at ' + fit.referenceLoad.toFixed(0) + ' N' : ''),
              data: points(fit.x, fit.y), borderColor: colour, backgroundColor: colour, borderWidth: 2.5,
              pointRadius: 0, order: 1})];
    const p = fit.peak;
    if (!p) return sets;
    const whisker = (from, to) => sorted({type: 'line', label: 'peak interval', helper: true,
                                          data: [from, to].sort(byX), borderColor: '#D55E00', borderWidth: 2,
                                          pointRadius: 0, order: 0});
    return sets.concat([
      sorted({type: 'scatter', label: 'peak reached (95 % interval)', helper: !!label, data: [{x: p.x, y: p.y}],
              pointRadius: 7, pointStyle: 'crossRot', borderColor: '#D55E00', borderWidth: 3, order: 0}),
      whisker({x: p.slip[0], y: p.y}, {x: p.slip[1], y: p.y}),
      whisker({x: p.x, y: p.grip[0]}, {x: p.x, y: p.grip[1]})]);
  }

  function frictionCircle(grid, w) {
    chart(grid, () => frictionCircleConfig(w));
  }
  function frictionCircleConfig(w) {
    // The envelope joins the sectors that hold data in angle order and closes.
    const envelope = [];
    w.envelope.forEach((g, k) => {
      if (g === null) return;
      const a = k * Math.PI / 18;
      envelope.push({x: g * Math.cos(a), y: g * Math.sin(a)});
    });
    if (envelope.length) envelope.push(envelope[0]);
    let radius = 0.1;
    w.circle.x.forEach((x, i) => { radius = Math.max(radius, Math.abs(x), Math.abs(w.circle.y[i])); });
    envelope.forEach((p) => { radius = Math.max(radius, Math.abs(p.x), Math.abs(p.y)); });
    radius *= 1.05;
    const o = options(w.name + ' friction circle', 'lateral grip', 'longitudinal grip');
    o.scales.x.min = o.scales.y.min = -radius;
    o.scales.x.max = o.scales.y.max = radius;
    o.plugins.equalScale = {bounds: {xMin: -radius, xMax: radius, yMin: -radius, yMax: radius}};
    return {data: {datasets: [{type: 'line', label: '99th percentile envelope', data: envelope,
                               borderColor: '#000000', borderWidth: 2, pointRadius: 2, order: 0}]
                                 .concat(scatterSets(w.circle))},
            options: o, plugins: [equalScale]};
  }

  function wheelCharts(w, k) {
    const grid = section('Wheel ' + w.name, k > 0 ? '' :
        'Points coloured by normal load. Each curve is drawn only over the slip its points cover, with the 95 % ' +
        'band of the block bootstrap around it; a cross marks a peak the data reaches, its whiskers the 95 % ' +
        'intervals of its slip and grip (the same in each wheel\u2019s charts).');
    chart(grid, () => ({data: {datasets: curveSets(w.lateralFit, '#000000').concat(scatterSets(w.lateral))},
                        options: options(w.name + ' lateral grip', 'slip angle [deg]', 'lateral grip (force / load)')}));
    chart(grid, () => ({data: {datasets: curveSets(w.longitudinalFit, '#000000').concat(scatterSets(w.longitudinal))},
                        options: options(w.name + ' longitudinal grip', 'slip ratio', 'longitudinal grip (force / load)')}));
    frictionCircle(grid, w);
    const bandSets = [];
    w.bands.forEach((b, k) => {
      if (!b.curve) return;
      bandSets.push(sorted({type: 'line', label: 'load ' + b.min + '\u2013' + b.max + ' N (D ' + b.curve.D.toFixed(3) + ')',
                            data: points(b.curve.x, b.curve.y), borderColor: loadColours[[0, 2, 4][k]],
                            borderWidth: 2.5, pointRadius: 0}));
    });
    chart(grid, {data: {datasets: bandSets},
                 options: options(w.name + ' lateral grip by normal load', 'slip angle [deg]', 'lateral grip')});
  }

  // The axes keep room for every point, the hidden scatter's too.
  function roomFor(o, sets) {
    let x0 = Infinity, x1 = -Infinity, y0 = Infinity, y1 = -Infinity;
    sets.forEach((s) => s.data.forEach((p) => {
      x0 = Math.min(x0, p.x); x1 = Math.max(x1, p.x); y0 = Math.min(y0, p.y); y1 = Math.max(y1, p.y);
    }));
    if (x0 <= x1) Object.assign(o.scales.x, {suggestedMin: x0, suggestedMax: x1});
    if (y0 <= y1) Object.assign(o.scales.y, {suggestedMin: y0, suggestedMax: y1});
    return o;
  }
  // One tyre (wheel or axle) of every group: their curves and bands overlaid
  // on their points.
  function comparisonCharts(title, index, kind) {
    const grid = section(title);
    [['lateral', 'lateralFit', 'slip angle [deg]', 'lateral grip (force / load)'],
     ['longitudinal', 'longitudinalFit', 'slip ratio', 'longitudinal grip (force / load)']].forEach(([scatterKey, fitKey, xTitle, yTitle]) => {
      const name = groups[0][kind][index].name;
      overlayCharts.push(chart(grid, () => {
        const sets = [];
        groups.forEach((g, k) => { sets.push.apply(sets, curveSets(g[kind][index][fitKey], palette[k], g.label)); });
        groups.forEach((g, k) => sets.push(groupScatter(g[kind][index][scatterKey], k)));
        return {data: {datasets: sets}, options: roomFor(options(name + ' ' + scatterKey + ' grip', xTitle, yTitle), sets)};
      }));
    });
  }

  // Both axles' lateral curves (front solid, rear dashed) over their points:
  // in one group's colours, or in a comparison in the group's own colour.
  function axleChart(grid, g, k) {
    const colours = single ? [palette[0], palette[5]] : [palette[k], palette[k]];
    const sets = [];
    g.axles.forEach((a, i) => {
      const label = (i === 0 ? 'front' : 'rear') + ' axle';
      curveSets(a.lateralFit, colours[i], label).forEach((set) => {
        if (i === 1 && set.label === label) set.borderDash = [6, 4];
        sets.push(set);
      });
    });
    g.axles.forEach((a, i) => sets.push(sorted({type: 'scatter', label: (i === 0 ? 'front' : 'rear') + ' axle points',
                                                helper: true, scatter: true, data: points(a.lateral.x, a.lateral.y).sort(byX),
                                                pointRadius: 1, borderWidth: 0, backgroundColor: colours[i] + '40', order: 3})));
    const title = (single ? '' : g.label + ': ') + 'axle characteristics';
    const c = chart(grid, {data: {datasets: sets},
                           options: roomFor(options(title, 'axle slip angle [deg]', 'axle lateral grip (force / load)'), sets)});
    if (!single) overlayCharts.push(c);
  }
  // Lateral acceleration against the front axle's slip angle less the rear's:
  // each group's points, binned medians and the line through the linear range.
  function handlingChart(grid) {
    const sets = [];
    groups.forEach((g, k) => {
      const b = g.balance, colour = single ? '#000000' : palette[k];
      const name = single ? '' : g.label + ' ';
      if (b.gradient.value !== null) {
        const line = [-b.linear, b.linear].map((y) => ({x: b.offset + b.gradient.value * y, y: y})).sort(byX);
        sets.push(sorted({type: 'line', label: name + 'understeer gradient ' + b.gradient.value.toFixed(2) + ' deg/g',
                          data: line, borderColor: colour, borderWidth: 2.5, pointRadius: 0, order: 0}));
      }
      sets.push({type: 'scatter', label: name + 'median per 0.05 g', data: points(b.medianX, b.medianY),
                 borderColor: colour, backgroundColor: colour, pointRadius: 3, pointStyle: 'rectRot', order: 1});
      sets.push(sorted({type: 'scatter', label: name + 'samples', helper: !single, scatter: true,
                        data: points(b.x, b.y).sort(byX), pointRadius: 1, borderWidth: 0,
                        backgroundColor: (single ? palette[0] : colour) + '40', order: 3}));
    });
    const c = chart(grid, {data: {datasets: sets},
                           options: roomFor(options('Handling diagram', 'front minus rear slip angle [deg]',
                                                    'lateral acceleration [g]'), sets)});
    if (!single) overlayCharts.push(c);
  }
  function balanceSection() {
    const grid = section('Balance',
        'Axle characteristics: each axle\u2019s lateral force over its load against the mean slip angle of its two ' +
        'wheels, sample by sample. Handling diagram: the car\u2019s lateral acceleration against the front axle\u2019s ' +
        'slip angle less the rear\u2019s, at every sample where all four wheels are fitted. Its slope through steady ' +
        'cornering (braking or driving at most 0.1 g) up to 0.4 g is the understeer gradient: positive understeers ' +
        '(the front needs more slip than the rear as cornering grows), negative oversteers.');
    groups.forEach((g, k) => axleChart(grid, g, k));
    handlingChart(grid);
    groups.forEach((g) => {
      const b = g.balance;
      const gradient = b.gradient.value === null
        ? 'Understeer gradient: too few steady samples below ' + b.linear + ' g to tell.'
        : 'Understeer gradient ' + withInterval(b.gradient, 2).text + ' deg/g (95 % interval ' + b.gradient.low.toFixed(2) +
          ' to ' + b.gradient.high.toFixed(2) + '), from ' + b.fitted + ' steady samples below ' + b.linear + ' g.';
      main.appendChild(el('p', {class: 'statement'}, (single ? '' : g.label + ': ') + gradient + ' ' + b.statement));
    });
  }

  // value ± half-width, the interval itself in the cell's title.
  function withInterval(e, digits) {
    if (!e || e.value === null) return {text: '\u2013', title: ''};
    const half = (e.high - e.low) / 2;
    return {text: e.value.toFixed(digits) + ' \u00b1 ' + half.toFixed(digits),
            title: '95 % interval ' + e.low.toFixed(digits) + ' to ' + e.high.toFixed(digits)};
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

  function fitTable() {
    const table = tableSection('Fitted curves',
        'y = D(N) sin(C atan(B x\u2032 \u2212 E (B x\u2032 \u2212 atan(B x\u2032)))) + Sv, x\u2032 = x + Sh, ' +
        'D(N) = D + L (N \u2212 Nref) / 1000: D is the peak factor at the reference load Nref, L its change per kN. ' +
        'x is the slip angle in degrees (lateral) or the slip ratio (longitudinal). Each value is given \u00b1 the ' +
        'half-width of its 95 % interval (hover for the interval). A peak is "reached" only where the data shows ' +
        'the fall after it (inside the slip 99 % of the points cover, enough points beyond it, and 95 % of the ' +
        'refits reaching it too); otherwise the peak grip is the largest grip the curve gives within the data. ' +
        'Sh is held at 0 (lateral), E at 0 (longitudinal). \u2020 marks a coefficient at a bound of its range: the data does not determine it.',
        (single ? [] : ['Group']).concat(['Tyre', 'Curve', 'Peak grip', 'at slip', 'Cornering stiffness',
            'Peak reached', 'Load sensitivity [relative /kN]', 'Points', 'R\u00b2', 'B', 'C', 'D', 'E', 'Sh', 'Sv', 'L',
            'Nref [N]', 'Slip p99']));
    const coefficient = (f, name, text) => text + (f.bounded.indexOf(name) >= 0 ? ' \u2020' : '');
    groups.forEach((g) => {
      (single ? g.wheels : g.axles.concat(g.wheels)).forEach((w) => {
        [['lateral', w.lateralFit, 2, 4], ['longitudinal', w.longitudinalFit, 4, 2]].forEach(([name, f, slip, stiff]) => {
          const row = el('tr');
          const cell = (c) => row.appendChild(typeof c === 'object' ? el('td', {title: c.title}, c.text) : el('td', {}, String(c)));
          if (!single) cell(g.label);
          if (!f) {
            [w.name, name, 'too few points'].forEach(cell);
            for (let k = 3; k < 18; k++) cell('');
          } else {
            [w.name, name, withInterval(f.peakGrip, 3), withInterval(f.peakSlip, slip), withInterval(f.stiffness, stiff),
             f.reached ? 'yes' : 'no', name === 'lateral' ? withInterval(w.loadSensitivity, 3) : '',
             f.points, f.r2.toFixed(3), coefficient(f, 'B', f.B.toPrecision(4)), coefficient(f, 'C', f.C.toFixed(3)),
             coefficient(f, 'D', f.D.toFixed(3)), coefficient(f, 'E', f.E.toFixed(3)),
             coefficient(f, 'Sh', f.Sh.toPrecision(3)), coefficient(f, 'Sv', f.Sv.toFixed(3)),
             coefficient(f, 'L', f.L.toFixed(3)), f.referenceLoad.toFixed(0), f.slipP99.toPrecision(3)].forEach(cell);
          }
          table.appendChild(row);
        });
      });
    });
  }

  // "RL lateral peak grip: soft 1.12, base 1.07, +4.7 % (+1.9 % to +7.5 %)".
  const quantityNames = {peak_grip: 'peak grip', peak_slip: 'slip at the peak', cornering_stiffness: 'cornering stiffness',
                         load_sensitivity: 'load sensitivity', understeer_gradient: 'understeer gradient',
                         lap_time_s: 'lap time', corner_time_s: 'time', min_speed: 'minimum speed',
                         understeer_entry_deg: 'understeer on entry', understeer_apex_deg: 'understeer at the apex',
                         understeer_exit_deg: 'understeer on exit', front_use: 'front grip use', rear_use: 'rear grip use',
                         brake_m: 'braking point', brake_release_m: 'brake release', peak_brake: 'peak brake',
                         min_speed_m: 'slowest point', gear_min: 'gear at the slowest', full_throttle_m: 'full throttle',
                         throttle_on_m: 'back on the throttle', coast_s: 'coasting', line_entry_m: 'line at entry',
                         line_apex_m: 'line at the apex', line_exit_m: 'line at exit', steer_apex_deg: 'steering at the apex',
                         segment_time_s: 'segment time', entry_delta_s: 'segment entry', exit_delta_s: 'segment exit'};
  // Digits and unit of each quantity that has no relative change.
  const placeDigits = {brake_m: 1, brake_release_m: 1, peak_brake: 3, min_speed_m: 1, gear_min: 1, full_throttle_m: 1,
                       throttle_on_m: 1, coast_s: 3, line_entry_m: 2, line_apex_m: 2, line_exit_m: 2, steer_apex_deg: 1,
                       segment_time_s: 3, entry_delta_s: 3, exit_delta_s: 3};
  const placeUnits = {brake_m: ' m', brake_release_m: ' m', min_speed_m: ' m', full_throttle_m: ' m', throttle_on_m: ' m',
                      coast_s: ' s', line_entry_m: ' m', line_apex_m: ' m', line_exit_m: ' m', steer_apex_deg: '\u00b0',
                      segment_time_s: ' s', entry_delta_s: ' s', exit_delta_s: ' s'};
  function describe(d) {
    const lateral = d.curve === 'lateral';
    const digits = {peak_grip: 3, peak_slip: lateral ? 2 : 4, cornering_stiffness: lateral ? 4 : 2, load_sensitivity: 3,
                    understeer_gradient: 2, lap_time_s: 3, corner_time_s: 3, min_speed: 2, understeer_entry_deg: 2,
                    understeer_apex_deg: 2, understeer_exit_deg: 2, front_use: 3, rear_use: 3}[d.quantity] ??
                   placeDigits[d.quantity] ?? 3;
    const unit = {peak_slip: lateral ? '\u00b0' : '', cornering_stiffness: lateral ? ' /\u00b0' : '', load_sensitivity: ' /kN',
                  understeer_gradient: ' deg/g', lap_time_s: ' s', corner_time_s: ' s', min_speed: ' m/s',
                  understeer_entry_deg: '\u00b0', understeer_apex_deg: '\u00b0', understeer_exit_deg: '\u00b0'}[d.quantity] ||
                 placeUnits[d.quantity] || '';
    // A number with a true minus sign; with `plus`, a plus sign too; none on a zero.
    const format = (v, n, u, plus) => {
      const text = Math.abs(v).toFixed(n);
      const zero = Number(text) === 0;
      return (zero ? '' : v < 0 ? '\u2212' : plus ? '+' : '') + text + u;
    };
    const signed = (v, n, u) => format(v, n, u, true);
    const change = d.relative.value !== null
      ? signed(100 * d.relative.value, 1, ' %') + ' (' + signed(100 * d.relative.low, 1, ' %') + ' to ' + signed(100 * d.relative.high, 1, ' %') + ')'
      : signed(d.delta.value, digits, unit) + (d.interval ? ' (' + signed(d.delta.low, digits, unit) + ' to ' +
          signed(d.delta.high, digits, unit) + ')' : ' (no interval)');
    const where = d.curve ? d.where + ' ' + d.curve + ' ' : d.where === 'balance' ? '' :
                  d.where === 'lap' ? '' : d.where.replace(/ lap$/, '') + ' ';
    return where + quantityNames[d.quantity] + ': ' + d.to + ' ' +
           format(d.toValue, digits, unit, false) + ', ' + d.from + ' ' + format(d.fromValue, digits, unit, false) + ', ' + change;
  }
  // Every difference as a row of a forest plot: its value as a point, its
  // 95 % interval as a bar, a line at zero. Rows of one kind of place and one
  // unit share their scale; relative differences are in per cent.
  const placeKinds = [['Lap and corners', (w) => /(^| )(T\d+|lap)$/.test(w)], ['Axles', (w) => w === 'front' || w === 'rear'],
                      ['Wheels', (w) => /^(FL|FR|RL|RR)$/.test(w)], ['Balance', (w) => w === 'balance']];
  function forestRows(d) {
    const relative = d.relative.value !== null;
    const unit = relative ? '%' : d.quantity;
    const k = relative ? 100 : 1;
    return {d: d, unit: unit, v: k * (relative ? d.relative.value : d.delta.value),
            low: d.interval ? k * (relative ? d.relative.low : d.delta.low) : null,
            high: d.interval ? k * (relative ? d.relative.high : d.delta.high) : null,
            shown: d.verdict === 'higher' || d.verdict === 'lower'};
  }
  function forestPlot() {
    main.appendChild(el('h2', {}, 'Differences'));
    main.appendChild(el('p', {class: 'note'},
        'Each later group against the first: the point is the difference (in per cent where the quantity has a ' +
        'relative change), the bar its 95 % interval, the line zero. A difference is shown (higher, lower; dark) ' +
        'only where its interval leaves zero out. Rows of one kind and unit share their scale; hover a row for ' +
        'both groups\u2019 values.'));
    const plot = main.appendChild(el('div', {class: 'forest'}));
    placeKinds.forEach(([title, holds]) => {
      const rows = data.differences.filter((d) => holds(d.where)).map(forestRows);
      if (!rows.length) return;
      // Shown differences first, then place by place as the data lists them.
      const number = (w) => { const m = /T(\d+)$/.exec(w); return m ? Number(m[1]) : 0; };
      const place = [...new Set(rows.map((r) => r.d.where))].sort((a, b) => number(a) - number(b));
      rows.forEach((r, i) => { r.order = i; });
      rows.sort((a, b) => Number(b.shown) - Number(a.shown) || place.indexOf(a.d.where) - place.indexOf(b.d.where) ||
                          a.order - b.order);
      const scale = {};
      rows.forEach((r) => {
        scale[r.unit] = Math.max(scale[r.unit] || 0, Math.abs(r.v), Math.abs(r.low || 0), Math.abs(r.high || 0));
      });
      plot.appendChild(el('h3', {}, title));
      rows.forEach((r) => {
        const row = plot.appendChild(el('div', {class: 'forest-row ' + r.d.verdict.replace(/[^a-z]+/g, '-'),
                                                 title: describe(r.d) + ' \u2013 ' + r.d.verdict}));
        const text = describe(r.d);
        const colon = text.indexOf(':');
        row.appendChild(el('span', {class: 'what'}, text.slice(0, colon)));
        const track = row.appendChild(el('span', {class: 'track'}));
        const at = (v) => (50 + 48 * v / (scale[r.unit] || 1)).toFixed(2) + '%';
        track.appendChild(el('span', {class: 'zero'}));
        if (r.low !== null) {
          const bar = track.appendChild(el('span', {class: 'bar'}));
          bar.style.left = at(r.low);
          bar.style.width = (48 * (r.high - r.low) / (scale[r.unit] || 1)).toFixed(2) + '%';
        }
        track.appendChild(el('span', {class: 'dot'})).style.left = at(r.v);
        row.appendChild(el('span', {class: 'value'}, text.slice(text.lastIndexOf(', ') + 2)));
      });
    });
  }
  function differencesTable() {
    forestPlot();
    const folded = main.appendChild(el('details', {class: 'differences'}));
    folded.appendChild(el('summary', {}, 'The differences as a table'));
    const table = tableSection('Differences',
        'Each later group against the first, per axle and per wheel. A difference is shown (higher, lower) only where ' +
        'its 95 % interval, from resampling the two groups independently, leaves zero out; otherwise the data shows ' +
        'no difference, whatever the two values. Largest shown differences first. Peak grip and slip are compared ' +
        'only where both groups reach the peak. Lap and corner numbers have one value per lap: their intervals are ' +
        'over laps (Welch\u2019s; one lap against a group takes the group\u2019s lap-to-lap spread for its own; one ' +
        'lap each has none).',
        ['Difference (95 % interval)', 'Verdict'], {class: 'differences'}, folded);
    data.differences.forEach((d) => {
      const row = el('tr');
      const shown = d.verdict === 'higher' || d.verdict === 'lower';
      row.appendChild(el('td', shown ? {class: 'shown'} : {}, describe(d)));
      row.appendChild(el('td', shown ? {class: 'shown'} : {}, d.verdict + (d.notes.length ? ' (' + d.notes.join('; ') + ')' : '')));
      table.appendChild(row);
    });
  }
  function scatterControl() {
    const label = el('label', {class: 'control'});
    const box = el('input', {type: 'checkbox', checked: 'checked'});
    box.addEventListener('change', () => overlayCharts.forEach((c) => {
      c.data.datasets.forEach((d) => { if (d.scatter) d.hidden = !box.checked; });
      c.update('none');
    }));
    label.appendChild(box);
    label.appendChild(document.createTextNode(' show the points behind the curves'));
    main.appendChild(label);
  }

  function traceCharts(traces, xKey, xTitle) {
    const grid = section('Over ' + (xKey === 'time' ? 'time' : 'distance'));
    const inputs = [], loads = [];
    // Both charts' datasets, made when the first of them is drawn.
    const make = () => traces.forEach((t, r) => {
      const tag = traces.length > 1 ? ' (' + (r + 1) + ')' : '';
      const xy = (v, scale) => t[xKey].map((x, i) => ({x: x, y: v[i] === null ? null : v[i] * (scale || 1)}));
      inputs.push({type: 'line', label: 'speed [m/s]' + tag, data: xy(t.speed), borderColor: palette[0], yAxisID: 'y'},
                  {type: 'line', label: 'throttle [%]' + tag, data: xy(t.throttle, 100), borderColor: palette[2], yAxisID: 'y1'},
                  {type: 'line', label: 'brake [%]' + tag, data: xy(t.brake, 100), borderColor: palette[5], yAxisID: 'y1'},
                  {type: 'line', label: 'steer [deg]' + tag, data: xy(t.steer), borderColor: palette[3], yAxisID: 'y1'});
      t.loads.forEach((l, w) => loads.push({type: 'line', label: groups[0].wheels[w].name + ' normal load [N]' + tag,
                                            data: xy(l), borderColor: palette[w]}));
    });
    // Time and distance only grow within each replay: its datasets are sorted.
    const thin = (sets) => sets.map((s) => sorted(Object.assign(s, {pointRadius: 0, borderWidth: 1})));
    // Time also never repeats, so those are unique as well.
    const unique = xKey === 'time' ? {normalized: true} : {};
    const made = () => { if (!inputs.length && !loads.length) make(); };
    chart(grid, () => {
      made();
      return {data: {datasets: thin(inputs)},
              options: options('Speed and driver inputs', xTitle, 'speed [m/s]',
                               Object.assign({scales: {x: axis(xTitle), y: axis('speed [m/s]'),
                                                       y1: axis('throttle, brake [%]; steer [deg]', {position: 'right',
                                                                grid: {drawOnChartArea: false}})}}, unique))};
    }, true);
    chart(grid, () => {
      made();
      return {data: {datasets: thin(loads)}, options: options('Normal loads', xTitle, 'normal load [N]', unique)};
    }, true);
  }
  // The corner names beside their apexes on a track map.
  const cornerNames = {
    id: 'cornerNames',
    afterDatasetsDraw(chart, args, opts) {
      if (!opts.corners) return;
      const ctx = chart.ctx, x = chart.scales.x, y = chart.scales.y;
      ctx.save();
      ctx.font = 'bold 11px system-ui, sans-serif';
      ctx.fillStyle = '#222';
      opts.corners.forEach((c) => ctx.fillText(c.name, x.getPixelForValue(c.apexX) + 6, y.getPixelForValue(c.apexY) - 6));
      ctx.restore();
    }
  };
  // A shaded band over the chosen corner's distance on a chart over distance.
  const cornerBand = {
    id: 'cornerBand',
    beforeDatasetsDraw(chart, args, opts) {
      if (!opts.range) return;
      const a = chart.chartArea, x = chart.scales.x;
      const from = Math.max(a.left, x.getPixelForValue(opts.range[0]));
      const to = Math.min(a.right, x.getPixelForValue(opts.range[1]));
      if (to <= from) return;
      chart.ctx.save();
      chart.ctx.fillStyle = 'rgba(213, 94, 0, 0.15)';
      chart.ctx.fillRect(from, a.top, to - from, a.bottom - a.top);
      chart.ctx.restore();
    }
  };

  // Viridis from 0 to 1, for the track map's channel.
  function viridis(t) {
    const stops = ['#440154', '#3b528b', '#21918c', '#5ec962', '#fde725'];
    const k = Math.max(0, Math.min(stops.length - 1, Math.round(t * (stops.length - 1))));
    return stops[k];
  }
  const fixed = (v, d) => (v === null || v === undefined ? '\u2013' : v.toFixed(d));
  // A value with its 95 % interval over laps, as [mean, low, high, laps]
  // (low and high null with one lap).
  function overLaps(v, d) {
    if (!v || v[0] === null) return {text: '\u2013', title: 'no lap gives it'};
    if (v[1] === null) return {text: v[0].toFixed(d) + ' (1 lap)', title: 'one lap: no interval'};
    return {text: v[0].toFixed(d) + ' \u00b1 ' + ((v[2] - v[1]) / 2).toFixed(d) + ' (' + v[3] + ')',
            title: '95 % interval over ' + v[3] + ' laps: ' + v[1].toFixed(d) + ' to ' + v[2].toFixed(d)};
  }

  // The answer first: each group's laps and lap times, then per comparison
  // the lap time's difference, the corners where most time goes (linked to
  // their findings) and the largest tyre and balance differences shown.
  function summarySection() {
    const box = document.getElementById('summary');
    const name = (f) => f.replace(/^.*[\\/]/, '');
    const list = box.appendChild(el('ul', {class: 'summary'}));
    const item = (parts) => {
      const li = list.appendChild(el('li'));
      parts.forEach((p) => li.appendChild(typeof p === 'string' ? document.createTextNode(p) : p));
      return li;
    };
    const seconds = (v) => v.toFixed(3) + ' s';
    const signedSeconds = (v) => (v < 0 ? '\u2212' : '+') + Math.abs(v).toFixed(3) + ' s';
    (data.tracks || []).forEach((t) => {
      const ref = t.laps[t.reference];
      t.groups.filter((g) => g.laps > 0).forEach((g) => {
        const time = overLaps(g.lapTime, 3);
        const li = item([el('b', {}, single ? t.track : groups[g.group].label), ': ' + g.laps +
            (g.laps === 1 ? ' lap' : ' laps') + ' (' + g.complete + ' complete, ' + (g.laps - g.complete) +
            ' partial)' + (g.complete ? ', best ' + seconds(g.best) : '') + (g.complete > 1 ? ', mean ' + time.text + ' s' : '') +
            (g.bestOfSegments !== null && g.complete > 1 ? ', best of its segments ' + seconds(g.bestOfSegments) : '')]);
        li.title = time.title;
        li.setAttribute('data-track-group', String(g.group));
      });
      item(['Reference lap: ' + name(ref.file) + (ref.lapTime !== null ? ' (' + seconds(ref.lapTime) + ')' : '') +
            (data.tracks.length > 1 ? ', ' + t.track : '')]);
      if (!single) {
        t.groups.filter((g) => g.group > 0 && g.complete && t.groups[0].complete).forEach((g) => {
          const d = data.differences.find((x) => x.where.endsWith('lap') && x.quantity === 'lap_time_s' &&
                                               x.to === groups[g.group].label);
          if (!d) return;
          const interval = d.interval ? ' (' + signedSeconds(d.delta.low) + ' to ' + signedSeconds(d.delta.high) + ')' : '';
          item([el('b', {}, groups[g.group].label + ' against ' + groups[0].label), ': mean lap time ' +
                signedSeconds(d.delta.value) + interval + ', ' + d.verdict + '; best lap ' +
                signedSeconds(g.best - t.groups[0].best)]);
        });
      }
    });
    // At most five comparisons here; the rest under "Where the time goes".
    const shownFindings = 5;
    (data.findings || []).forEach((f, k) => {
      const top = f.corners.filter((c) => c.lost !== null).slice(0, 3);
      if (!top.length || k >= shownFindings) return;
      const parts = [el('b', {}, single ? name(f.to) + ' against ' + name(f.from) : f.to + ' against ' + f.from),
                     ': most time at '];
      top.forEach((c, i) => {
        parts.push(el('a', {href: '#finding-' + k + '-' + c.corner}, c.corner), ' ' + signedSeconds(c.lost) +
                   (c.verdict === 'higher' ? '' : c.interval ? ' (within the laps\u2019 variation)' : '') +
                   (i + 1 < top.length ? ', ' : ''));
      });
      item(parts);
    });
    if ((data.findings || []).length > shownFindings) {
      item([(data.findings.length - shownFindings) + ' more laps against the reference under ',
            el('a', {href: '#where-the-time-goes'}, 'Where the time goes'), '.']);
    }
    if (single) {
      // One group: its axles' grip and its balance, the numbers a tyre
      // report is opened for.
      const g = groups[0];
      g.axles.forEach((a) => {
        const parts = [el('b', {}, a.name[0].toUpperCase() + a.name.slice(1) + ' axle'), ': '];
        [['lateral', a.lateralFit, 4, ' /\u00b0'], ['longitudinal', a.longitudinalFit, 2, '']].forEach(([name, f, stiff, unit], k) => {
          if (k) parts.push('; ');
          if (!f) { parts.push(name + ': too few points'); return; }
          parts.push(name + ' peak grip ' + withInterval(f.peakGrip, 3).text + (f.reached ? ' (reached)' : ' (not reached: the most in the data)') +
                     ', cornering stiffness ' + withInterval(f.stiffness, stiff).text + unit);
        });
        item(parts);
      });
      const b = g.balance;
      item([el('b', {}, 'Balance'), ': ' + (b.gradient.value === null ? 'too few steady samples for an understeer gradient' :
            'understeer gradient ' + withInterval(b.gradient, 2).text + ' deg/g') + '. ' + b.statement]);
    } else {
      groups.slice(1).forEach((g) => {
        const shown = data.differences.filter((d) => d.to === g.label && (d.verdict === 'higher' || d.verdict === 'lower') &&
                                                   !/(^| )T\d+$|lap$/.test(d.where));
        const parts = [el('b', {}, g.label + ' against ' + groups[0].label), ': tyres and balance: '];
        if (!shown.length) parts.push('no difference shown');
        shown.slice(0, 3).forEach((d, i) => parts.push(describe(d) + (i + 1 < Math.min(3, shown.length) ? '; ' : '')));
        if (shown.length > 3) parts.push(' (and ' + (shown.length - 3) + ' more below)');
        item(parts);
      });
    }
  }

  // Each comparison's corners by the time lost in their segments, with their
  // intervals, and what the faster lap does differently, in words.
  function timeSection() {
    if (!data.findings || !data.findings.length) return;
    const name = (f) => f.replace(/^.*[\\/]/, '');
    const grid = section('Where the time goes',
        'Per corner, the time lost in its segment (from the middle of the straight before it to the middle of the ' +
        'one after; the segments add up to the lap), with its 95 % interval over laps where there is one, most lost ' +
        'first; then what differs beyond the laps\u2019 own variation. A corner whose loss lies within its interval ' +
        'says so.');
    data.findings.forEach((f, k) => {
      const box = k === 0 ? grid : main.appendChild(el('div', {class: 'grid'}));
      const corners = f.corners.filter((c) => c.lost !== null);
      const labels = corners.map((c) => c.corner);
      const sets = [
        {type: 'bar', label: '95 % interval', data: corners.map((c) => (c.interval ? [c.low, c.high] : null)),
         backgroundColor: palette[(k + 1) % palette.length] + '55', borderWidth: 0, barPercentage: 0.5},
        {type: 'scatter', label: 'time lost [s]', data: corners.map((c, i) => ({x: labels[i], y: c.lost})),
         pointRadius: 4, backgroundColor: palette[(k + 1) % palette.length]}];
      const o = options('time lost per corner: ' + name(f.to) + ' against ' + name(f.from), 'corner',
                        'time lost [s]');
      o.scales.x = {type: 'category', labels: labels, title: {display: true, text: 'corner'}};
      o.plugins.tooltip.callbacks.label = (c) => c.dataset.label + ': ' +
          (Array.isArray(c.raw) ? c.raw[0].toFixed(3) + ' to ' + c.raw[1].toFixed(3) : c.parsed.y.toFixed(3)) + ' s';
      chart(box, {data: {labels: labels, datasets: sets}, options: o}, true, 'findings');
      const list = main.appendChild(el('ol', {class: 'findings'}));
      corners.forEach((c) => list.appendChild(el('li', {id: 'finding-' + k + '-' + c.corner}, c.sentence)));
    });
  }

  function lapsSection(t) {
    const lapName = (l) => l.file.replace(/^.*[\\/]/, '') + (single ? '' : ' (' + l.label + ')');
    const ref = t.laps[t.reference];
    const grid = section('Laps and corners' + (data.tracks.length > 1 ? ': ' + t.track : ''),
        t.track + (t.layout ? ' ' + t.layout : '') + ', ' + t.length.toFixed(0) + ' m along the reference lap ' +
        lapName(ref) + (ref.lapTime !== null ? ' (' + ref.lapTime.toFixed(3) + ' s)' : '') + '. Every lap is placed ' +
        'along its path by position; the time delta is a lap\u2019s time at a place less the reference\u2019s, and ' +
        'meets the recorded split and lap times. Corners are found on the reference path from its curvature. ' +
        'Choose a corner in the table to mark it on the map and the traces.');
    // Each group's laps: how many, their times over laps, how often recorded.
    const ms = (g) => g.intervals.map((i) => Math.round(i * 1000) + ' ms').join(' and ');
    const lapLines = t.groups.filter((g) => g.laps > 0).map((g) => {
      const time = overLaps(g.lapTime, 3);
      return (single ? '' : groups[g.group].label + ': ') + g.laps + (g.laps === 1 ? ' lap' : ' laps') + ' (' +
          g.complete + ' complete)' + (g.complete ? ', mean lap time ' + time.text + ' s, best ' + g.best.toFixed(3) +
          ' s' : '') + ', recorded every ' + ms(g) + '.';
    });
    const intervals = new Set(t.groups.filter((g) => g.laps > 0).map(ms));
    if (intervals.size > 1) {
      lapLines.push('The groups are recorded at different sample intervals: their corner numbers are compared as ' +
          'recorded, and the tyre numbers the coarser interval moves are marked \u201cnot comparable\u201d.');
    }
    grid.parentNode.insertBefore(el('p', {class: 'note'}, lapLines.join(' ')), grid);
    // What the map is coloured by.
    const controls = el('p', {class: 'control'});
    const channel = el('select', {'aria-label': 'track map colour'});
    [['delta', 'time delta [s]'], ['speed', 'speed [m/s]'], ['frontUse', 'front axle grip use'],
     ['rearUse', 'rear axle grip use']].forEach(([v, text]) => channel.appendChild(el('option', {value: v}, text)));
    const which = el('select', {'aria-label': 'lap'});
    t.laps.forEach((l, k) => which.appendChild(el('option', {value: String(k)}, lapName(l))));
    which.value = String(t.laps.length > 1 ? (t.reference === 0 ? 1 : 0) : 0);
    controls.appendChild(document.createTextNode('Track map coloured by '));
    controls.appendChild(channel);
    controls.appendChild(document.createTextNode(' of lap '));
    controls.appendChild(which);
    grid.parentNode.insertBefore(controls, grid);

    const path = t.at.map((s, i) => ({x: t.x[i], y: t.y[i], s: s}));
    // The track with 2 % to spare on every side.
    const pad = 0.02 * Math.max(Math.max(...t.x) - Math.min(...t.x), Math.max(...t.y) - Math.min(...t.y));
    const bounds = {xMin: Math.min(...t.x) - pad, xMax: Math.max(...t.x) + pad,
                    yMin: Math.min(...t.y) - pad, yMax: Math.max(...t.y) + pad};
    const apexes = t.corners.map((c) => ({x: c.apexX, y: c.apexY}));
    const mapOptions = options('track map', 'x [m]', 'y [m]');
    mapOptions.plugins.equalScale = {bounds: bounds};
    mapOptions.plugins.cornerNames = {corners: t.corners};
    mapOptions.plugins.legend.display = false;
    const map = chart(grid, {plugins: [equalScale, cornerNames], data: {datasets: [
      {type: 'scatter', label: 'reference path', data: path, pointRadius: 2.5, borderWidth: 0,
       pointBackgroundColor: path.map(() => '#999999')},
      {type: 'scatter', label: 'apexes', data: apexes, pointRadius: 4, pointStyle: 'crossRot', borderColor: '#222',
       borderWidth: 2},
      {type: 'line', label: 'chosen corner', data: [], borderColor: '#D55E00', borderWidth: 6, pointRadius: 0,
       showLine: true}]}, options: mapOptions}, true, 'map');
    const colour = () => {
      const lap = t.laps[Number(which.value)], v = lap[channel.value];
      let lo = Infinity, hi = -Infinity;
      v.forEach((x) => { if (x !== null) { lo = Math.min(lo, x); hi = Math.max(hi, x); } });
      const span = hi > lo ? hi - lo : 1;
      map.data.datasets[0].pointBackgroundColor = v.map((x) => (x === null ? '#cccccc' : viridis((x - lo) / span)));
      map.options.plugins.title.text = 'track map: ' + channel.options[channel.selectedIndex].text + ' of ' +
          lapName(lap) + (hi >= lo ? ' (' + lo.toFixed(2) + ' dark to ' + hi.toFixed(2) + ' light)' : '');
      map.update('none');
    };
    channel.addEventListener('change', colour);
    which.addEventListener('change', colour);
    colour();

    // Every lap over the reference's distance: its time delta and its speed.
    // Up to eight laps in eight colours; beyond, the colours again, dashed.
    const over = (key) => t.laps.map((l, k) => sorted({type: 'line', label: lapName(l), pointRadius: 0, borderWidth: 1.2,
        borderColor: single ? palette[k % palette.length] : palette[l.group],
        borderDash: single && k >= palette.length ? [[6, 3], [2, 2]][Math.floor(k / palette.length - 1) % 2] : [],
        data: t.at.map((s, i) => ({x: s, y: l[key][i]})).filter((p) => p.y !== null)}));
    // A group's mean delta with its 95 % band over its complete laps.
    const bands = [];
    t.groups.filter((g) => g.deltaMean.length).forEach((g) => {
      const colour = single ? '#555555' : palette[g.group];
      const line = (key, label, extra) => sorted(Object.assign({type: 'line', label: label, pointRadius: 0,
          borderWidth: 0, borderColor: colour,
          data: t.at.map((s, i) => ({x: s, y: g[key][i]})).filter((p) => p.y !== null)}, extra || {}));
      const of = single ? '' : ' of ' + groups[g.group].label;
      bands.push(line('deltaLow', '95 % band' + of, {helper: true}),
                 line('deltaHigh', '95 % band over laps' + of, {fill: '-1', backgroundColor: colour + '33'}),
                 line('deltaMean', 'mean' + of, {borderWidth: 2, borderDash: [6, 3]}));
    });
    const traces = [
      chart(grid, () => ({plugins: [cornerBand], data: {datasets: over('delta').concat(bands)},
                          options: options('time delta against ' + lapName(ref), 'distance [m]', 'time delta [s]')}), true),
      chart(grid, () => ({plugins: [cornerBand], data: {datasets: over('speed')},
                          options: options('speed over distance', 'distance [m]', 'speed [m/s]')}), true)];
    // What the driver does over the lap: pedals, steering, gear.
    [['brake', 'brake', 100, 'brake [%]'], ['throttle', 'throttle', 100, 'throttle [%]'],
     ['steer', 'steering', 1, 'steering [\u00b0]'], ['gear', 'gear', 1, 'gear']].forEach(([key, title, scale, y]) => {
      traces.push(chart(grid, () => {
        const sets = over(key);
        if (scale !== 1) sets.forEach((set) => set.data.forEach((p) => { p.y *= scale; }));
        return {plugins: [cornerBand], data: {datasets: sets}, options: options(title + ' over distance', 'distance [m]', y)};
      }, true));
    });

    // The corners, most time lost first.
    const keys = [['time_s', 3], ['segment_delta_s', 3], ['min_speed', 1], ['understeer_entry_deg', 2],
                  ['understeer_apex_deg', 2], ['understeer_exit_deg', 2], ['front_use', 2], ['rear_use', 2],
                  ['brake_m', 0], ['min_speed_m', 0], ['gear_min', 1], ['full_throttle_m', 0], ['coast_s', 2],
                  ['line_apex_m', 1]];
    const table = tableSection('Corners' + (data.tracks.length > 1 ? ': ' + t.track : ''),
        'Per corner and group, the mean over its laps \u00b1 the half-width of its 95 % interval over laps ' +
        '(Student\u2019s t: wide with two laps, as it should be; none with one), and in brackets the laps it rests ' +
        'on; hover for the interval. Time lost: the mean of each lap\u2019s time through the corner less the ' +
        'reference\u2019s. Understeer: the front axle\u2019s slip angle less the rear\u2019s toward the corner, ' +
        'degrees, positive understeering, on entry (braking), at the apex and on exit (driving). Grip use: an ' +
        'axle\u2019s combined grip (longitudinal and lateral) at the apex over the most this car\u2019s axle shows at ' +
        'that load in these laps: 1 is the most the data shows, not the tyre\u2019s limit. Segment lost: the time ' +
        'lost from the middle of the straight before the corner to the middle of the one after (the segments add ' +
        'up to the lap). The driver\u2019s actions as places along the reference path, m: where the last braking ' +
        'before the apex begins, where the speed is lowest and the gear there, where the throttle is full again, ' +
        'the time on neither pedal, and the line at the apex from the reference\u2019s, positive toward the ' +
        'inside; \u2013 where the laps do not do it (a corner taken without braking).' +
        (t.notes.length ? ' ' + t.notes.join(' ') : ''),
        ['Corner'].concat(single ? [] : ['Group']).concat(['Direction', 'Angle [\u00b0]', 'Radius [m]', 'Time lost [s]',
            'Time [s]', 'Segment lost [s]', 'Min speed [m/s]', 'Understeer entry [\u00b0]', 'apex [\u00b0]',
            'exit [\u00b0]', 'Front grip use', 'Rear grip use', 'Braking at [m]', 'Slowest at [m]', 'Gear there',
            'Full throttle at [m]', 'Coasting [s]', 'Line at apex [m]']), {class: 'corners'});
    const lost = (c, g) => {
      const d = c.laps.filter((l) => t.laps[l.lap].group === g.group && l.delta !== null).map((l) => l.delta);
      return d.length ? d.reduce((a, b) => a + b, 0) / d.length : null;
    };
    const rows = [];
    t.corners.forEach((c) => c.groups.forEach((g) => rows.push({c: c, g: g, lost: lost(c, g)})));
    rows.sort((a, b) => (b.lost === null ? -Infinity : b.lost) - (a.lost === null ? -Infinity : a.lost));
    let chosen = null;
    const choose = (c, row) => {
      if (chosen) chosen.classList.remove('chosen');
      chosen = row;
      row.classList.add('chosen');
      map.data.datasets[2].data = path.filter((p) => p.s >= c.start && p.s <= c.end);
      map.data.datasets[2].label = 'chosen corner ' + c.name;
      map.update('none');
      traces.forEach((ch) => { ch.options.plugins.cornerBand = {range: [c.start, c.end]}; ch.update('none'); });
    };
    rows.forEach(({c, g, lost: l}) => {
      const row = el('tr', {tabindex: '0', 'data-corner': c.name});
      const cell = (v) => row.appendChild(typeof v === 'object' ? el('td', {title: v.title}, v.text) : el('td', {}, String(v)));
      cell(c.name);
      if (!single) cell(groups[g.group].label);
      [c.left ? 'left' : 'right', c.angle.toFixed(0), c.radius.toFixed(0), fixed(l, 3)].forEach(cell);
      keys.forEach(([k, d]) => cell(overLaps(g[k], d)));
      row.addEventListener('click', () => choose(c, row));
      row.addEventListener('keydown', (e) => { if (e.key === 'Enter' || e.key === ' ') choose(c, row); });
      table.appendChild(row);
    });
  }

  summarySection();
  timeSection();
  (data.tracks || []).forEach(lapsSection);
  if (single) {
    balanceSection();
    groups[0].wheels.forEach(wheelCharts);
    fitTable();
    traceCharts(groups[0].traces, 'time', 'time [s]');
    traceCharts(groups[0].traces, 'distance', 'distance [m]');
  } else {
    differencesTable();
    scatterControl();
    balanceSection();
    groups[0].axles.forEach((a, k) => comparisonCharts((k === 0 ? 'Front' : 'Rear') + ' axle', k, 'axles'));
    groups[0].wheels.forEach((w, k) => comparisonCharts('Wheel ' + w.name, k, 'wheels'));
    fitTable();
  }
  handles.forEach((h) => { nearView.observe(h.box); inOrder.push(h); });
  if (!handles.size) firstScreen();
  setTimeout(drawRest, 0);
})();
