// Draws the tyre report from the page's inline data. No network, no storage.
(function () {
  'use strict';
  const data = JSON.parse(document.getElementById('report-data').textContent);
  // Okabe and Ito's palette (tells apart for colour-blind readers), and
  // viridis for the five normal-load classes, light load dark.
  const palette = ['#0072B2', '#E69F00', '#009E73', '#CC79A7', '#56B4E9', '#D55E00', '#000000', '#F0E442'];
  const loadColours = ['#440154', '#3b528b', '#21918c', '#5ec962', '#c2a800'];
  const main = document.getElementById('report');
  let drawn = 0;

  Chart.defaults.animation = false;
  Chart.defaults.maintainAspectRatio = false;
  Chart.defaults.font.size = 11;

  function el(tag, attrs, text) {
    const e = document.createElement(tag);
    for (const k in attrs || {}) e.setAttribute(k, attrs[k]);
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function section(title, note) {
    main.appendChild(el('h2', {}, title));
    if (note) main.appendChild(el('p', {class: 'note'}, note));
    const grid = el('div', {class: 'grid'});
    main.appendChild(grid);
    return grid;
  }
  function chart(grid, config, wide) {
    const box = el('div', {class: wide ? 'chart wide' : 'chart'});
    const canvas = el('canvas', {role: 'img', 'aria-label': config.options.plugins.title.text});
    box.appendChild(canvas);
    grid.appendChild(box);
    new Chart(canvas, config);
    drawn += 1;
  }
  function axis(title, extra) {
    return Object.assign({type: 'linear', title: {display: true, text: title}}, extra || {});
  }
  function options(title, xTitle, yTitle, extra) {
    return Object.assign({
      parsing: false, normalized: true,
      plugins: {title: {display: true, text: title}, legend: {labels: {boxWidth: 12}},
                tooltip: {callbacks: {label: (c) => c.dataset.label + ': (' + c.parsed.x + ', ' + c.parsed.y + ')'}}},
      scales: {x: axis(xTitle), y: axis(yTitle)}
    }, extra || {});
  }
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
      backgroundColor: colour + '99', order: 2}));
    for (let i = 0; i < s.x.length; i++) sets[s.c[i]].data.push({x: s.x[i], y: s.y[i]});
    return sets;
  }
  function curveSets(fit, label, colour) {
    if (!fit) return [];
    const line = {type: 'line', label: label, data: fit.x.map((x, i) => ({x: x, y: fit.y[i]})),
                  borderColor: colour, borderWidth: 2.5, pointRadius: 0, order: 0};
    if (!fit.peak) return [line];
    return [line, {type: 'scatter', label: 'peak reached', data: [{x: fit.peak[0], y: fit.peak[1]}],
                   pointRadius: 7, pointStyle: 'crossRot', borderColor: '#D55E00', borderWidth: 3, order: -1}];
  }

  function wheelCharts(w) {
    const grid = section('Wheel ' + w.name,
        'Points coloured by normal load; the curve is drawn over the slip the data covers (99% of it).');
    chart(grid, {data: {datasets: curveSets(w.lateralFit, 'fitted curve', '#000000').concat(scatterSets(w.lateral))},
                 options: options(w.name + ' lateral grip', 'slip angle [deg]', 'lateral grip (force / load)')});
    chart(grid, {data: {datasets: curveSets(w.longitudinalFit, 'fitted curve', '#000000')
                                      .concat(scatterSets(w.longitudinal))},
                 options: options(w.name + ' longitudinal grip', 'slip ratio', 'longitudinal grip (force / load)')});
    const envelope = [];
    w.envelope.forEach((g, k) => {
      if (g === null) return;
      const a = k * Math.PI / 18;
      envelope.push({x: g * Math.cos(a), y: g * Math.sin(a)});
    });
    if (envelope.length) envelope.push(envelope[0]);
    chart(grid, {data: {datasets: [{type: 'line', label: '99th percentile envelope', data: envelope,
                                    borderColor: '#000000', borderWidth: 2, pointRadius: 2, order: 0}]
                                      .concat(scatterSets(w.circle))},
                 options: options(w.name + ' friction circle', 'lateral grip', 'longitudinal grip',
                                  {aspectRatio: 1})});
    const bandSets = [];
    w.bands.forEach((b, k) => {
      if (!b.curve) return;
      bandSets.push({type: 'line', label: 'load ' + b.min + '\u2013' + b.max + ' N',
                     data: b.curve.x.map((x, i) => ({x: x, y: b.curve.y[i]})),
                     borderColor: loadColours[[0, 2, 4][k]], borderWidth: 2.5, pointRadius: 0});
    });
    chart(grid, {data: {datasets: bandSets},
                 options: options(w.name + ' lateral grip by normal load', 'slip angle [deg]', 'lateral grip')});
  }

  function fitTable() {
    main.appendChild(el('h2', {}, 'Fitted curves'));
    main.appendChild(el('p', {class: 'note'},
        'y = D sin(C atan(B x\u2032 \u2212 E (B x\u2032 \u2212 atan(B x\u2032)))) + Sv, x\u2032 = x + Sh. ' +
        'x is the slip angle in degrees (lateral) or the slip ratio (longitudinal). A peak is "reached" only ' +
        'when the curve\u2019s maximum lies within the slip the data covers.'));
    const wrap = el('div', {class: 'scroll'});
    const table = el('table');
    const head = el('tr');
    ['Wheel', 'Curve', 'Points', 'R\u00b2', 'B', 'C', 'D', 'E', 'Sh', 'Sv', 'Peak grip', 'at slip', 'Slip p99',
     'Peak reached'].forEach((h) => head.appendChild(el('th', {}, h)));
    table.appendChild(head);
    data.wheels.forEach((w) => {
      [['lateral', w.lateralFit], ['longitudinal', w.longitudinalFit]].forEach(([name, f]) => {
        const row = el('tr');
        const cells = f ? [w.name, name, f.points, f.r2.toFixed(3), f.B.toPrecision(4), f.C.toFixed(3),
                           f.D.toFixed(3), f.E.toFixed(3), f.Sh.toPrecision(3), f.Sv.toFixed(3),
                           f.peakGrip.toFixed(3), f.peakSlip.toPrecision(3), f.slipP99.toPrecision(3),
                           f.reached ? 'yes' : 'no']
                        : [w.name, name, 'too few points', '', '', '', '', '', '', '', '', '', '', ''];
        cells.forEach((c) => row.appendChild(el('td', {}, String(c))));
        table.appendChild(row);
      });
    });
    wrap.appendChild(table);
    main.appendChild(wrap);
  }

  function traceCharts(xKey, xTitle) {
    const grid = section('Over ' + (xKey === 'time' ? 'time' : 'distance'));
    const inputs = [], loads = [];
    data.traces.forEach((t, r) => {
      const tag = data.traces.length > 1 ? ' (' + (r + 1) + ')' : '';
      const xy = (v, scale) => t[xKey].map((x, i) => ({x: x, y: v[i] * (scale || 1)}));
      inputs.push({type: 'line', label: 'speed [m/s]' + tag, data: xy(t.speed), borderColor: palette[0], yAxisID: 'y'},
                  {type: 'line', label: 'throttle [%]' + tag, data: xy(t.throttle, 100), borderColor: palette[2], yAxisID: 'y1'},
                  {type: 'line', label: 'brake [%]' + tag, data: xy(t.brake, 100), borderColor: palette[5], yAxisID: 'y1'},
                  {type: 'line', label: 'steer [deg]' + tag, data: xy(t.steer), borderColor: palette[3], yAxisID: 'y1'});
      t.loads.forEach((l, w) => loads.push({type: 'line', label: data.wheels[w].name + ' normal load [N]' + tag,
                                            data: xy(l), borderColor: palette[w]}));
    });
    const thin = (sets) => sets.map((s) => Object.assign(s, {pointRadius: 0, borderWidth: 1}));
    chart(grid, {data: {datasets: thin(inputs)},
                 options: options('Speed and driver inputs', xTitle, 'speed [m/s]',
                                  {scales: {x: axis(xTitle), y: axis('speed [m/s]'),
                                            y1: axis('throttle, brake [%]; steer [deg]', {position: 'right',
                                                     grid: {drawOnChartArea: false}})}})}, true);
    chart(grid, {data: {datasets: thin(loads)}, options: options('Normal loads', xTitle, 'normal load [N]')}, true);
  }

  data.wheels.forEach(wheelCharts);
  fitTable();
  traceCharts('time', 'time [s]');
  traceCharts('distance', 'distance [m]');
  requestAnimationFrame(() => { document.body.setAttribute('data-charts-drawn', String(drawn)); });
})();
