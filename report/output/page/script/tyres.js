// Tyre curves: each wheel's (and in a comparison each axle's) scatters, fitted
// curves with their bands and peaks, friction circles, load bands, and the
// table of fitted curves.
function loadLabel(k) {
  const e = data.loadEdges;
  if (k === 0) return 'load < ' + e[0] + ' N';
  if (k === e.length) return 'load \u2265 ' + e[e.length - 1] + ' N';
  return 'load ' + e[k - 1] + '\u2013' + e[k] + ' N';
}
// The scatter split by load class, one dataset each.
function scatterSets(s) {
  // The points come in order of their class, s.classes[k] of class k.
  let first = 0;
  return loadColours.map((colour, k) => {
    const n = s.classes[k] || 0, end = first + n;
    const set = cloud({type: 'scatter', label: loadLabel(k), pointRadius: 1.5, borderWidth: 0,
                       backgroundColor: colour + '99', order: 3}, s.x.slice(first, end), s.y.slice(first, end));
    first = end;
    return set;
  });
}
// A group's scatter in its own colour, which the reader may hide.
function groupScatter(s, g) {
  return cloud({type: 'scatter', label: groups[g].label + ' points', helper: true, scatter: true,
                pointRadius: 1.2, borderWidth: 0, backgroundColor: palette[g] + '55', order: 3}, s.x, s.y);
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
    sorted({type: 'line', label: label || 'fitted curve' + (fit.L !== 0 ? ' at ' + fit.reference_load.toFixed(0) + ' N' : ''),
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
  w.friction_circle.forEach((g, k) => {
    if (g === null) return;
    const a = k * Math.PI / 18;
    envelope.push({x: g * Math.cos(a), y: g * Math.sin(a)});
  });
  if (envelope.length) envelope.push(envelope[0]);
  let radius = 0.1;
  w.circle_points.x.forEach((x, i) => { radius = Math.max(radius, Math.abs(x), Math.abs(w.circle_points.y[i])); });
  envelope.forEach((p) => { radius = Math.max(radius, Math.abs(p.x), Math.abs(p.y)); });
  radius *= 1.05;
  const o = options(w.name + ' friction circle', 'lateral grip', 'longitudinal grip');
  o.scales.x.min = o.scales.y.min = -radius;
  o.scales.x.max = o.scales.y.max = radius;
  o.plugins.equalScale = {bounds: {xMin: -radius, xMax: radius, yMin: -radius, yMax: radius}};
  return {data: {datasets: [{type: 'line', label: '99th percentile envelope', data: envelope,
                             borderColor: '#000000', borderWidth: 2, pointRadius: 2, order: 0}]
                               .concat(scatterSets(w.circle_points))},
          options: o, plugins: [equalScale]};
}

function wheelCharts(w, k) {
  const grid = section('Wheel ' + w.name, k > 0 ? '' :
      'Points coloured by normal load. Each curve is drawn only over the slip its points cover, with the 95 % ' +
      'band of the block bootstrap around it; a cross marks a peak the data reaches, its whiskers the 95 % ' +
      'intervals of its slip and grip (the same in each wheel\u2019s charts).');
  chart(grid, () => ({data: {datasets: curveSets(w.lateral, '#000000').concat(scatterSets(w.lateral_points))},
                      options: options(w.name + ' lateral grip', 'slip angle [deg]', 'lateral grip (force / load)')}));
  chart(grid, () => ({data: {datasets: curveSets(w.longitudinal, '#000000').concat(scatterSets(w.longitudinal_points))},
                      options: options(w.name + ' longitudinal grip', 'slip ratio', 'longitudinal grip (force / load)')}));
  frictionCircle(grid, w);
  const bandSets = [];
  w.load_bands.forEach((b, k) => {
    if (!b.curve) return;
    bandSets.push(sorted({type: 'line', label: 'load ' + b.load_min + '\u2013' + b.load_max + ' N (D ' + b.curve.D.toFixed(3) + ')',
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
// One tyre (wheel or axle) of every group into `grid`: their curves and
// bands overlaid on their points.
function comparisonCharts(grid, index, kind) {
  [['lateral', 'slip angle [deg]', 'lateral grip (force / load)'],
   ['longitudinal', 'slip ratio', 'longitudinal grip (force / load)']].forEach(([curve, xTitle, yTitle]) => {
    const name = groups[0][kind][index].name;
    overlayCharts.push(chart(grid, () => {
      const sets = [];
      groups.forEach((g, k) => { sets.push.apply(sets, curveSets(g[kind][index][curve], palette[k], g.label)); });
      groups.forEach((g, k) => sets.push(groupScatter(g[kind][index][curve + '_points'], k)));
      return {data: {datasets: sets}, options: roomFor(options(name + ' ' + curve + ' grip', xTitle, yTitle), sets)};
    }));
  });
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
          'Nref [N]', 'Slip p99']), undefined,
      foldedUnder('Fitted curves', 'Show every fitted curve\u2019s numbers and coefficients'));
  const coefficient = (f, name, text) => text + (f.bounded.indexOf(name) >= 0 ? ' \u2020' : '');
  groups.forEach((g) => {
    (single ? g.wheels : g.axles.concat(g.wheels)).forEach((w) => {
      [['lateral', w.lateral], ['longitudinal', w.longitudinal]].forEach(([name, f]) => {
        // The slip and the stiffness in their curve's unit, from the table.
        const withUnit = (key) => {
          const q = quantityOf(key, name), e = withInterval(f[key], q.decimals);
          return {text: e.text + unitText(q.unit), title: e.title};
        };
        const row = el('tr');
        const add = (c) => cell(row, c);
        if (!single) add(g.label);
        if (!f) {
          [w.name, name, 'too few points'].forEach(add);
          for (let k = 3; k < 18; k++) add('');
        } else {
          [w.name, name, withInterval(f.peak_grip, 3), withUnit('peak_slip'), withUnit('cornering_stiffness'),
           f.peak_reached ? 'yes' : 'no', name === 'lateral' ? withInterval(w.load_sensitivity, 3) : '',
           f.points, f.r2.toFixed(3), coefficient(f, 'B', f.B.toPrecision(4)), coefficient(f, 'C', f.C.toFixed(3)),
           coefficient(f, 'D', f.D.toFixed(3)), coefficient(f, 'E', f.E.toFixed(3)),
           coefficient(f, 'Sh', f.Sh.toPrecision(3)), coefficient(f, 'Sv', f.Sv.toFixed(3)),
           coefficient(f, 'L', f.L.toFixed(3)), f.reference_load.toFixed(0), f.slip_p99.toPrecision(3)].forEach(add);
        }
        table.appendChild(row);
      });
    });
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
