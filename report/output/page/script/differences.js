// Each later group against the first: a forest plot, and the table folded below.
// "RL lateral peak grip: soft 1.12, base 1.07, +4.7 % (+1.9 % to +7.5 %)".
// Its words, decimals and unit are its quantity's in the report's table; a
// phase's number is named by its phase and wheel too.
function describe(d) {
  const q = quantityOf(d.quantity, d.curve) || {words: d.quantity, unit: '', decimals: 3, scale: 1};
  const words = d.phase ? d.phase + ' ' + (d.wheel ? d.wheel + ' ' : '') + q.words : q.words;
  if (q.scale !== 1) {
    const k = q.scale;
    const times = (v) => (v === null ? null : v * k);
    d = Object.assign({}, d, {to_value: times(d.to_value), from_value: times(d.from_value), delta: times(d.delta),
                              ci: d.ci && d.ci.map(times)});
  }
  const digits = q.decimals;
  const unit = unitText(q.unit);
  const format = (v, n, u, plus) => numberText(v, n, plus) + u;
  const signed = (v, n, u) => format(v, n, u, true);
  const change = d.relative !== null
    ? signed(100 * d.relative, 1, ' %') + ' (' + signed(100 * d.relative_ci[0], 1, ' %') + ' to ' + signed(100 * d.relative_ci[1], 1, ' %') + ')'
    : signed(d.delta, digits, unit) + (d.ci ? ' (' + signed(d.ci[0], digits, unit) + ' to ' +
        signed(d.ci[1], digits, unit) + ')' : ' (no interval)');
  const where = d.curve ? d.where + ' ' + d.curve + ' ' : d.where === 'balance' || d.where === 'platform' ? '' :
                d.where === 'lap' ? '' : d.where.replace(/ lap$/, '') + ' ';
  return where + words + ': ' + d.to + ' ' +
         format(d.to_value, digits, unit, false) + ', ' + d.from + ' ' + format(d.from_value, digits, unit, false) + ', ' + change;
}
// Every difference as a row of a forest plot: its value as a point, its
// 95 % interval as a bar, a line at zero. Rows of one kind of place and one
// unit share their scale; relative differences are in per cent.
const placeKinds = [['Lap and corners', (d) => !d.phase && /(^| )(T\d+|lap)$/.test(d.where)],
                    ['Corner phases: platform and grip use', (d) => Boolean(d.phase)],
                    ['Axles', (d) => d.where === 'front' || d.where === 'rear'],
                    ['Wheels', (d) => /^(FL|FR|RL|RR)$/.test(d.where)], ['Balance', (d) => d.where === 'balance'],
                    ['Platform', (d) => d.where === 'platform']];
function forestRows(d) {
  const relative = d.relative !== null;
  const unit = relative ? '%' : d.quantity;
  const k = relative ? 100 : 1;
  const ci = relative ? d.relative_ci : d.ci;
  return {d: d, unit: unit, v: k * (relative ? d.relative : d.delta),
          low: d.ci ? k * ci[0] : null,
          high: d.ci ? k * ci[1] : null,
          shown: d.verdict === 'higher' || d.verdict === 'lower'};
}
function forestPlot() {
  main.appendChild(el('h2', {}, 'Differences'));
  main.appendChild(el('p', {class: 'note'},
      'Each later group against the first: the point is the difference (in per cent where the quantity has a ' +
      'relative change), the bar its interval (95 %; for lap and corner numbers, the interval that agrees with ' +
      'their comparison\u2019s claims at a 5 % false discovery rate), the line zero. A difference is shown ' +
      '(higher, lower; dark) only where its interval leaves zero out; those not claimed fold under their count. ' +
      'Rows of one kind and unit share their scale; hover a row for both groups\u2019 values. Differences ' +
      'without an interval (one lap each, laps that disagree, below the resolution) are in the table below it.'));
  const plot = main.appendChild(el('div', {class: 'forest'}));
  placeKinds.forEach(([title, holds]) => {
    const rows = data.differences.filter((d) => d.ci && holds(d)).map(forestRows);
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
    // The claimed rows show; the rest fold under their count, a click away.
    const shown = rows.filter((r) => r.shown);
    const rest = rows.filter((r) => !r.shown);
    shown.forEach((r) => forestRow(plot, r, scale));
    if (!rest.length) return;
    const folded = plot.appendChild(el('details', {class: 'differences'}));
    folded.appendChild(el('summary', {}, rest.length + (rest.length === 1 ? ' difference' : ' differences') +
                                         ' not claimed'));
    rest.forEach((r) => forestRow(folded, r, scale));
  });
}
// One row of the forest plot into `into`: its words, its interval on the
// scale of its unit, its value.
function forestRow(into, r, scale) {
  const row = into.appendChild(el('div', {class: 'forest-row ' + r.d.verdict.replace(/[^a-z]+/g, '-'),
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
}
// One lap against one lap has no interval: its differences are measured, not
// plotted against an interval they lack, in one table largest first within
// each kind of place (hundreds of "(no interval)" rows made the forest unreadable).
function measuredTable() {
  const measured = data.differences.filter((d) => !d.ci);
  if (!measured.length) return;
  // Under the forest, folded: none of them is claimed.
  const folded = main.appendChild(el('details', {class: 'differences'}));
  folded.appendChild(el('summary', {}, measured.length + (measured.length === 1 ? ' difference' : ' differences') +
                                       ' without an interval, none claimed'));
  const table = tableSection('Differences without an interval',
      'A lap or corner difference has no interval where one lap stands on each side (the report cannot tell it ' +
      'from a lap\u2019s own variation: bring two laps or more a side), where the laps it stands on disagree past ' +
      'what the number can be (a slide, another gear), or where it is below the resolution a driver can act on. ' +
      'None of them is claimed. These are the measured differences, each kind of place in its order.',
      ['Difference', 'Verdict'], {class: 'differences measured'}, folded);
  const kindOf = (d) => { const k = placeKinds.findIndex(([, holds]) => holds(d)); return k < 0 ? placeKinds.length : k; };
  measured.map((d, i) => [kindOf(d), i, d]).sort((a, b) => a[0] - b[0] || a[1] - b[1]).forEach(([, , d]) => {
    const row = el('tr');
    cell(row, describe(d).replace(/ \(no interval\)$/, ''));
    cell(row, d.verdict + (d.verdict !== 'one lap each: no interval' && d.notes.length ? ' (' + d.notes.join('; ') + ')' : ''));
    table.appendChild(row);
  });
}
function differencesTable() {
  forestPlot();
  measuredTable();
  const folded = main.appendChild(el('details', {class: 'differences'}));
  folded.appendChild(el('summary', {}, 'The differences as a table'));
  const table = tableSection('Differences',
      'Each later group against the first, per axle and per wheel. A difference is shown (higher, lower) only where ' +
      'its 95 % interval, from resampling the two groups independently, leaves zero out; otherwise the data shows ' +
      'no difference, whatever the two values. Largest shown differences first. Peak grip and slip are compared ' +
      'only where both groups reach the peak. Lap and corner numbers have one value per lap: their intervals are ' +
      'over laps (Welch\u2019s, each spread moderated over the track\u2019s corners; one lap against a group ' +
      'takes the group\u2019s lap-to-lap spread for its own; one lap each has none), and a comparison\u2019s ' +
      'lap and corner differences are claimed together at a 5 % false discovery rate (the lap time weighing a tenth ' +
      'of the family), each interval at the level ' +
      'that agrees with its claims. The platform\u2019s numbers are over laps as well; one lap against one lap resamples ' +
      'each lap\u2019s blocks.',
      ['Difference (interval)', 'Verdict'], {class: 'differences'}, folded);
  data.differences.forEach((d) => {
    const row = el('tr');
    const shown = d.verdict === 'higher' || d.verdict === 'lower';
    cell(row, describe(d), shown ? {class: 'shown'} : {});
    cell(row, d.verdict + (d.notes.length ? ' (' + d.notes.join('; ') + ')' : ''), shown ? {class: 'shown'} : {});
    table.appendChild(row);
  });
}
