// The car's platform: the body's roll and each axle's load transfer against
// lateral acceleration, the dampers' velocities, and the travel each wheel
// uses; each group in its colour.
const groupColour = (k) => (single ? '#000000' : palette[k]);
const groupName = (g) => (single ? '' : g.label + ' ');
// A group's line through its bins, and its 95 % band: the lines of the
// interval's slopes through the samples' mean, where the band is narrowest.
function lineSets(line, slope, colour, label, dash) {
  if (!line.x.length || slope.value === null) return [];
  const limit = (x) => (line.range > 0 ? Math.max(-line.range, Math.min(line.range, x)) : x);
  const xs = [limit(Math.min(...line.x, line.centre)), line.centre, limit(Math.max(...line.x, line.centre))];
  const y0 = line.offset + slope.value * line.centre;
  const at = (s) => xs.map((x) => ({x: x, y: y0 + s * (x - line.centre)}));
  const sets = [sorted({type: 'line', label: label, data: at(slope.value), borderColor: colour, borderWidth: 2.5,
                        borderDash: dash || [], pointRadius: 0, order: 0})];
  if (slope.low !== null && slope.high !== null && slope.high > slope.low) {
    sets.push(sorted({type: 'line', label: label + ' low', helper: true, data: at(slope.low), borderWidth: 0,
                      pointRadius: 0, order: 2}));
    sets.push(sorted({type: 'line', label: label + ' 95 % band', helper: true, data: at(slope.high), borderWidth: 0,
                      pointRadius: 0, fill: '-1', backgroundColor: colour + '30', order: 2}));
  }
  return sets;
}
function binSets(line, colour, label, style) {
  return [sorted({type: 'scatter', label: label, helper: sessionPage, data: points(line.x, line.y).sort(byX), borderColor: colour,
                  backgroundColor: colour, pointRadius: 2.5, pointStyle: style || 'circle', order: 1})];
}
function rollChart(grid) {
  chart(grid, () => {
    const sets = [];
    groups.forEach((g, k) => {
      const p = g.platform, c = groupColour(k);
      sets.push(...lineSets(p.roll_line, p.roll_gradient_deg_per_g, c, groupName(g) + 'roll gradient ' + fixed(p.roll_gradient_deg_per_g.value, 2) + ' deg/g'));
      sets.push(...binSets(p.roll_line, c, groupName(g) + 'mean per 0.05 g'));
    });
    return {data: {datasets: sets},
            options: roomFor(options('Roll against lateral acceleration', 'lateral acceleration [g]', 'roll [deg]'), sets)};
  }, false, legendRoom);
}
function transferChart(grid) {
  chart(grid, () => {
    const sets = [];
    groups.forEach((g, k) => {
      const p = g.platform, c = groupColour(k);
      p.transfer.forEach((t, a) => {
        const axle = a === 0 ? 'front' : 'rear';
        const slope = {value: t.slope, low: null, high: null};
        sets.push(...lineSets(t, slope, c, groupName(g) + axle + ' ' + fixed(t.slope / 1000, 2) + ' kN/g', a ? [6, 4] : []));
        sets.push(...binSets(t, c, groupName(g) + axle + ' mean per 0.05 g', a ? 'rect' : 'circle'));
      });
    });
    return {data: {datasets: sets},
            options: roomFor(options('Load transfer against lateral acceleration', 'lateral acceleration [g]',
                                     'left less right wheel load [N]'), sets)};
  }, false, legendRoom);
}
// A wheel's damper velocities, each bin's share of the time; the open bins
// beyond the ends are drawn one bin further out.
function damperChart(grid, w) {
  const e = data.damperEdges, width = e[1] - e[0];
  const centres = [e[0] - width / 2].concat(e.slice(1).map((x, i) => (e[i] + x) / 2), [e[e.length - 1] + width / 2]);
  chart(grid, () => {
    const sets = [];
    groups.forEach((g, k) => {
      const d = g.platform.wheels[w].damper;
      if (!d) return;
      sets.push(sorted({type: 'line', label: single ? 'share of time' : g.label, data: points(centres, d.share.map((s) => 100 * s)),
                        borderColor: groupColour(k), backgroundColor: groupColour(k), borderWidth: 2, pointRadius: 1.5,
                        stepped: false, order: 0}));
    });
    const name = groups[0].platform.wheels[w].name;
    return {data: {datasets: sets},
            options: roomFor(options(name + ' damper velocity (outer points: beyond \u00b1' + e[e.length - 1] + ' mm/s)',
                                     'velocity [mm/s], bump positive', 'share of time [%]'), sets)};
  });
}
function platformTable() {
  const table = tableSection('Travel and dampers',
      'Travel used: the largest deflection over the laps as a share of the suspension\u2019s travel the setup records ' +
      '(its interval from resampled laps and blocks). At the end: seconds a lap within 2 % of the travel\u2019s end. ' +
      'The dampers\u2019 time slow and fast in bump and rebound, the knee at ' + data.damperKnee + ' mm/s. Intervals ' +
      'over laps; one lap\u2019s from its resampled blocks. Hover a value for its interval.',
      ['Group', 'Wheel', 'Travel used', 'At the end [s]', 'Bump slow', 'Bump fast', 'Rebound slow', 'Rebound fast'],
      undefined, foldedUnder('Travel and dampers'));
  groups.forEach((g) => g.platform.wheels.forEach((w) => {
    const row = el('tr');
    cell(row, g.label);
    cell(row, w.name);
    // A largest value's interval lies below it: shown as its ends, not as a half-width.
    const t = w.travel_used;
    cell(row, t.value === null ? '\u2013' : {text: t.value.toFixed(3) + ' (' + t.low.toFixed(3) + ' to ' + t.high.toFixed(3) + ')',
                                              title: '95 % interval ' + t.low.toFixed(3) + ' to ' + t.high.toFixed(3)});
    cell(row, withInterval(w.at_travel_end_s, 2));
    for (let q = 0; q < 4; ++q) cell(row, w.damper ? withInterval(w.damper.quadrants[q], 3) : '\u2013');
    table.appendChild(row);
  }));
}
function platformSection() {
  const grid = section('Platform',
      'The body\u2019s roll from the suspension\u2019s deflections (each axle\u2019s left less right over its track, ' +
      'the axles\u2019 mean; positive toward the outside of the turn) and each axle\u2019s left less right wheel load, ' +
      'against the lateral acceleration (positive to the right), at every sample where the car is on the road and ' +
      'moving: their slopes are the roll gradient (up to ' + groups[0].platform.roll_line.range + ' g, beyond which ' +
      'wheels reach their bump stops) and, the front\u2019s over both, the front share of the lateral load ' +
      'transfer, which the anti-roll bars and springs move. Each group\u2019s line with its 95 % band and its means ' +
      'per 0.05 g.');
  rollChart(grid);
  transferChart(grid);
  if (groups.some((g) => g.platform.wheels.some((w) => w.damper))) {
    groups[0].platform.wheels.forEach((w, k) => damperChart(grid, k));
  }
  groups.forEach((g) => {
    const p = g.platform;
    // Each in its quantity's words, decimals and unit.
    const text = (key, e) => {
      const q = quantityOf(key);
      return q.words + ' ' + (e.value === null ? 'not measured' : withInterval(e, q.decimals).text + unitText(q.unit));
    };
    const said = [text('roll_gradient_deg_per_g', p.roll_gradient_deg_per_g), text('lltd_front', p.lltd_front),
                  text('pitch_gradient_deg_per_g', p.pitch_gradient_deg_per_g) + ' (negative: the nose dives under braking)'].join(', ');
    main.appendChild(el('p', {class: 'statement'}, (single ? '' : g.label + ': ') +
        said[0].toUpperCase() + said.slice(1) + '.' +
        (p.notes.length ? ' ' + p.notes.join('; ') + '.' : '')));
  });
  platformTable();
}
