// Laps by place: where the time goes, the track map, the traces over the
// reference distance and the corners.
// The corner names beside their apexes on a track map.
const cornerNames = {
  id: 'cornerNames',
  afterDatasetsDraw(chart, args, opts) {
    if (!opts.corners) return;
    const ctx = chart.ctx, x = chart.scales.x, y = chart.scales.y;
    ctx.save();
    ctx.font = 'bold 11px system-ui, sans-serif';
    ctx.fillStyle = '#222';
    opts.corners.forEach((c) => ctx.fillText(c.name, x.getPixelForValue(c.apex_xy[0]) + 6, y.getPixelForValue(c.apex_xy[1]) - 6));
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

// Each comparison's corners by the size of the time difference in their
// segments, largest first, with their intervals, and what differs, in words.
// One group's laps beyond this many against the reference are one table, a
// lap a row, not a chart and a list each.
const lapsCharted = 3;

function timeSection() {
  if (!data.findings.length) return;
  if (single && data.findings.length > lapsCharted && data.tracks.length) {
    lapCornerTable(data.tracks[0]);
    return;
  }
  const grid = section('Where the time goes',
      'Per corner, the time lost (positive) or gained in its segment (from the middle of the straight before it to ' +
      'the middle of the one after; the segments add up to the lap), with its interval over laps where there ' +
      'is one (at the level its comparison\u2019s claims allow), the largest differences first; then what differs beyond the laps\u2019 own variation. A corner ' +
      'whose difference lies within its interval says so. Under each claimed one, what differs with it: where in ' +
      'the corner the time goes, the speed, the balance and platform in the phases that lose, the setup items ' +
      'that act on them; a rule\u2019s line says whether the balance moved as it predicts (consistent or not), ' +
      'never that it is the cause.');
  data.findings.forEach((f, k) => {
    const box = k === 0 ? grid : main.appendChild(el('div', {class: 'grid'}));
    const corners = f.corners.filter((c) => c.time_lost_s !== null);
    const labels = corners.map((c) => c.corner);
    const sets = [
      {type: 'bar', label: '95 % interval', data: corners.map((c) => c.time_lost_ci),
       backgroundColor: palette[(k + 1) % palette.length] + '55', borderWidth: 0, barPercentage: 0.5},
      {type: 'scatter', label: 'time lost [s]', data: corners.map((c, i) => ({x: labels[i], y: c.time_lost_s})),
       pointRadius: 4, backgroundColor: palette[(k + 1) % palette.length]}];
    const o = options('time lost per corner: ' + fileName(f.to) + ' against ' + fileName(f.from), 'corner',
                      'time lost [s]');
    o.scales.x = {type: 'category', labels: labels, title: {display: true, text: 'corner'}};
    o.plugins.tooltip.callbacks.label = (c) => c.dataset.label + ': ' +
        (Array.isArray(c.raw) ? c.raw[0].toFixed(3) + ' to ' + c.raw[1].toFixed(3) : c.parsed.y.toFixed(3)) + ' s';
    chart(box, {data: {labels: labels, datasets: sets}, options: o}, true, 'findings');
    const list = main.appendChild(el('ol', {class: 'findings'}));
    corners.forEach((c) => {
      const item = list.appendChild(el('li', {id: 'finding-' + k + '-' + c.corner}, c.sentence));
      if (!c.why) return;
      // What an engineer reads beside it: evidence, not cause.
      const why = item.appendChild(el('ul', {class: 'why'}));
      if (c.drivers_differ) why.appendChild(el('li', {}, 'the drivers differ: driver and setup are both candidates'));
      // The claimed evidence and the setup show; the rest fold under their count.
      c.why_lines.slice(0, c.why_shown).forEach((line) => why.appendChild(el('li', {}, line)));
      const rest = c.why_lines.slice(c.why_shown);
      if (!rest.length) return;
      const folded = why.appendChild(el('li', {})).appendChild(el('details', {class: 'differences'}));
      folded.appendChild(el('summary', {}, rest.length + ' more, not claimed'));
      const more = folded.appendChild(el('ul', {class: 'why'}));
      rest.forEach((line) => more.appendChild(el('li', {}, line)));
    });
  });
}

// Each lap against the reference, a row each: its lap time and per corner the
// time its segment loses (orange) or gains (blue), the deeper the larger;
// the findings' sentences under it, folded.
function lapCornerTable(t) {
  main.appendChild(el('h2', {id: 'where-the-time-goes'}, 'Where the time goes'));
  const names = t.corners.map((c) => c.name);
  const table = tableSection('', 'Each lap against the reference lap ' + fileName(t.laps[t.reference_lap].file) +
      ': per corner the time its segment (from the middle of the straight before it to the middle of the one ' +
      'after; the segments add up to the lap) loses, positive and orange, or gains, blue. One lap against ' +
      'another has no interval; the laps\u2019 spread is in the corner tables below.',
      ['Lap', 'Lap time [s]'].concat(names), {class: 'heat laps'}, main);
  const lost = t.corners.map((c) => new Map(c.laps.map((l) => [l[0], l[2]])));
  const largest = Math.max(0.001, ...lost.flatMap((m) => [...m.values()].filter((v) => v !== null).map(Math.abs)));
  const order = t.laps.map((l, k) => k).filter((k) => k !== t.reference_lap)
    .sort((a, b) => (t.laps[a].lap_time_s ?? Infinity) - (t.laps[b].lap_time_s ?? Infinity));
  order.forEach((k) => {
    const row = table.appendChild(el('tr'));
    cell(row, fileName(t.laps[k].file));
    cell(row, fixed(t.laps[k].lap_time_s, 3));
    lost.forEach((m) => {
      const v = m.get(k);
      const text = v === undefined || v === null ? '\u2013'
        : signedText(v, 2);
      const td = cell(row, text);
      if (v === undefined || v === null || Math.abs(v) < 0.005) return;
      td.style.background = heatColour(v, largest);
    });
  });
  const details = main.appendChild(el('details', {class: 'differences'}));
  details.appendChild(el('summary', {}, 'Each lap\u2019s corners in words'));
  const list = details.appendChild(el('ol', {class: 'findings'}));
  data.findings.forEach((f, k) => f.corners.filter((c) => c.time_lost_s !== null).slice(0, 3).forEach((c) => {
    list.appendChild(el('li', {id: 'finding-' + k + '-' + c.corner}, c.sentence));
  }));
}

// A lap's name on the page: its file, and in a comparison its group.
const lapNameOf = (l) => fileName(l.file) + (single ? '' : ' (' + groups[l.group].label + ')');

// The flat sweepers folded into the corners before them, in words.
function sweepersText(t) {
  const exits = t.corners.filter((c) => c.sweepers).map((c) => c.sweepers.join(' and ') +
      (c.sweepers.length > 1 ? ' are ' : ' is ') + c.name + '\u2019s exit');
  return exits.length ? 'Taken flat right after a corner on the reference lap, ' + exits.join('; ') +
      ': the time there counts in that corner\u2019s segment. ' : '';
}

function lapsSection(t) {
  const ref = t.laps[t.reference_lap];
  const lapName = lapNameOf;
  const grid = section('Laps and corners' + (data.tracks.length > 1 ? ': ' + t.track : ''),
      t.track + (t.layout ? ' ' + t.layout : '') + ', ' + t.length_m.toFixed(0) + ' m along the reference lap ' +
      lapName(ref) + (ref.lap_time_s !== null ? ' (' + ref.lap_time_s.toFixed(3) + ' s)' : '') + '. Every lap is placed ' +
      'along its path by position; the time delta is a lap\u2019s time at a place less the reference\u2019s, and ' +
      'meets the recorded split and lap times. Corners are found on the reference path from its curvature. ' +
      sweepersText(t) + 'Choose a corner in the table to mark it on the map and the traces.');
  // How often each group's laps are recorded (their laps and times are in the summary).
  const ms = (g) => g.sample_interval_s.map((i) => Math.round(i * 1000) + ' ms').join(' and ');
  const recorded = t.groups.filter((g) => g.laps > 0);
  const intervals = new Set(recorded.map(ms));
  const lapLines = intervals.size === 1 ? ['Recorded every ' + [...intervals][0] + '.']
    : recorded.map((g) => groups[g.group].label + ': recorded every ' + ms(g) + '.').concat([
      'The groups are recorded at different sample intervals: their corner numbers are compared as ' +
      'recorded, and the tyre numbers the coarser interval moves are marked \u201cnot comparable\u201d.']);
  const untraced = t.laps.filter((l) => !l.delta).length;
  if (untraced) {
    lapLines.push('Of its ' + t.laps.length + ' laps the page draws the reference and each ' +
                  (single ? '' : 'group\u2019s ') + 'best lap; the other ' + untraced +
                  ' are in the tables and the JSON.');
  }
  grid.parentNode.insertBefore(el('p', {class: 'note'}, lapLines.join(' ')), grid);
  const {map, path} = trackMap(t, grid);
  const traces = lapTraces(t, grid);
  balanceBySpeedChart(t, grid);
  cornerTable(t, map, path, traces);
}

// Each group's understeer by phase in the track's slow and fast corners:
// its mean over laps as a point, its 95 % interval over laps as a bar.
function balanceBySpeedChart(t, grid) {
  const recorded = t.groups.filter((g) => g.laps > 0);
  if (!recorded.length || !t.speedClasses.some((c) => c.length)) return;
  const phases = ['entry', 'middle', 'exit'];
  const classes = ['slow', 'fast'];
  const spread = 0.5 / Math.max(recorded.length, 1);
  const at = (c, p, k) => c * 4 + p + (k - (recorded.length - 1) / 2) * spread;
  chart(grid, () => {
    const sets = [];
    recorded.forEach((g, k) => {
      const colour = palette[g.group % palette.length];
      const values = [];
      g.bySpeed.forEach((byPhase, c) => byPhase.forEach((v, p) => values.push({c: c, p: p, v: v})));
      const known = values.filter((x) => x.v[0] !== null);
      sets.push({type: 'bar', label: groups[g.group].label + ' 95 % interval', helper: true,
                 data: known.filter((x) => x.v[1] !== null).map((x) => ({x: at(x.c, x.p, k), y: [x.v[1], x.v[2]]})),
                 backgroundColor: colour + '55', borderWidth: 0, barThickness: 6});
      sets.push({type: 'scatter', label: groups[g.group].label, parsing: false, pointRadius: 4, backgroundColor: colour,
                 data: known.map((x) => ({x: at(x.c, x.p, k), y: x.v[0], laps: x.v[3]}))});
    });
    const o = options('understeer by phase: slow corners (' + (t.speedClasses[0].join(', ') || 'none') +
                      ') and fast (' + (t.speedClasses[1].join(', ') || 'none') + ')', 'phase', 'understeer [\u00b0]');
    o.scales.x = {type: 'linear', min: -0.6, max: 6.6, title: {display: true, text: 'slow corners \u2013 fast corners'},
                  afterBuildTicks: (axis) => { axis.ticks = [0, 1, 2, 4, 5, 6].map((v) => ({value: v})); },
                  ticks: {callback: (v) => classes[Math.floor(v / 4)] + ' ' + phases[v % 4]}};
    o.plugins.tooltip.callbacks.label = (c) => c.dataset.label + ': ' + (Array.isArray(c.raw.y)
        ? c.raw.y[0].toFixed(2) + ' to ' + c.raw.y[1].toFixed(2) : c.raw.y.toFixed(2) + ' (' + c.raw.laps + ' laps)') + '\u00b0';
    return {data: {datasets: sets}, options: o};
  }, true, 'by-speed');
}

// A map's box in its track's shape, so that at equal scale the track fills
// its chart: as tall as the full width asks, from 300 to 720 px, and
// narrower (centred) where a tall track asks for more. `across` and `down`
// are the room the axes and the title take around the plot.
function shapeToTrack(box, bounds) {
  const across = 96, down = 90;
  const aspect = (bounds.xMax - bounds.xMin) / (bounds.yMax - bounds.yMin);
  const width = box.clientWidth || 1254;
  const wanted = (width - across) / aspect + down;
  const height = Math.min(720, Math.max(300, wanted));
  box.style.height = Math.round(height) + 'px';
  if (wanted > height) {
    box.style.width = Math.round((height - down) * aspect + across) + 'px';
    box.style.justifySelf = 'center';
  }
}

// The track map, coloured by a channel of a lap the reader chooses.
function trackMap(t, grid) {
  const lapName = lapNameOf;
  // What the map is coloured by.
  const controls = el('p', {class: 'control'});
  const channel = el('select', {'aria-label': 'track map colour'});
  // Each channel's words and the factor from the data's unit to the shown one.
  const channels = [['delta', 'time delta [s]', 1], ['speed', speedLabel, speedUnit.scale],
                    ['frontUse', 'front axle grip use', 1], ['rearUse', 'rear axle grip use', 1]];
  channels.forEach(([v, text]) => channel.appendChild(el('option', {value: v}, text)));
  const which = el('select', {'aria-label': 'lap'});
  const traced = t.laps.map((l, k) => k).filter((k) => t.laps[k].delta);
  traced.forEach((k) => which.appendChild(el('option', {value: String(k)}, lapName(t.laps[k]))));
  which.value = String(traced.find((k) => k !== t.reference_lap) ?? t.reference_lap);
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
  const apexes = t.corners.map((c) => ({x: c.apex_xy[0], y: c.apex_xy[1]}));
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
  shapeToTrack(map.box, bounds);
  const colour = () => {
    const lap = t.laps[Number(which.value)];
    const scale = channels[channel.selectedIndex][2];
    const v = lap[channel.value].map((x) => (x === null ? null : x * scale));
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
  return {map: map, path: path};
}

// Every lap over the reference's distance: time delta (with each group's
// band over its laps), speed, pedals, steering and gear.
function lapTraces(t, grid) {
  const lapName = lapNameOf;
  const ref = t.laps[t.reference_lap];
  // A lap in its own colour (one group) or its group's; past twelve, dashed.
  const shown = t.laps.filter((l) => l.delta);
  // Each shown lap's `key` along the path, times `scale` (a pedal in per
  // cent, a speed in the reader's unit).
  const over = (key, scale = 1) => shown.map((l, k) => sorted({type: 'line', label: lapName(l), pointRadius: 0,
      borderWidth: 1.2, borderColor: palette[(single ? k : l.group) % palette.length], borderDash: dashOf(single ? k : l.group),
      data: t.at.map((s, i) => ({x: s, y: l[key][i] === null ? null : l[key][i] * scale})).filter((p) => p.y !== null)}));
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
  // Along the lap: the distance axis from the line to the lap's length.
  const alongLap = (title, y) => {
    const o = options(title, 'distance [m]', y);
    Object.assign(o.scales.x, {min: 0, max: t.length_m});
    return o;
  };
  const traces = [
    chart(grid, () => ({plugins: [cornerBand], data: {datasets: over('delta').concat(bands)},
                        options: alongLap('time delta against ' + lapName(ref), 'time delta [s]')}), true),
    chart(grid, () => ({plugins: [cornerBand], data: {datasets: over('speed', speedUnit.scale)},
                        options: alongLap('speed over distance', speedLabel)}), true)];
  // What the driver does over the lap: pedals, steering, gear.
  [['brake', 'brake', 100, 'brake [%]'], ['throttle', 'throttle', 100, 'throttle [%]'],
   ['steer', 'steering', 1, 'steering [\u00b0]'], ['gear', 'gear', 1, 'gear']].forEach(([key, title, scale, y]) => {
    traces.push(chart(grid, () => ({plugins: [cornerBand], data: {datasets: over(key, scale)},
                                     options: alongLap(title + ' over distance', y)}), true, 'short'));
  });
  return traces;
}


// The corners, the largest time differences first, in two tables that each
// fit the page: the corners' times, balance and grip use, then the driver's
// actions. Choosing one marks it on the map and the traces.
function cornerTable(t, map, path, traces) {
  // Each table's columns: the corners', then the actions'.
  const columns = [data.cornerTables.corners, data.cornerTables.actions].map((keys) => keys.map((k) => quantityOf(k)));
  const heading = (k) => k.words[0].toUpperCase() + k.words.slice(1) + (k.unit ? ' [' + k.unit + ']' : '');
  const lead = ['Corner'].concat(single ? [] : ['Group']);
  const title = (words) => words + (data.tracks.length > 1 ? ': ' + t.track : '');
  const tables = [
    tableSection(title('Corners'),
      'Per corner and group, the mean over its laps \u00b1 the half-width of its 95 % interval over laps ' +
      '(Student\u2019s t: wide with two laps, as it should be; none with one), and in brackets the laps it rests ' +
      'on; hover for the interval. Understeer: the front axle\u2019s slip angle less the rear\u2019s toward the corner, ' +
      'degrees, positive understeering, median over each phase of the corner: the entry (turn-in and braking), ' +
      'the middle (around the slowest point, near the peak lateral acceleration) and the exit. Grip use: an ' +
      'axle\u2019s combined grip (longitudinal and lateral) at the apex over the most this car\u2019s axle shows at ' +
      'that load in these laps: 1 is the most the data shows, not the tyre\u2019s limit. Time lost in the segment, ' +
      'the corners\u2019 order: the time lost from the middle of the straight before the corner to the middle of the one after (the segments add ' +
      'up to the lap).' + (t.notes.length ? ' ' + t.notes.join(' ') : ''),
      lead.concat(['Direction', 'Angle [\u00b0]', 'Radius [m]'],
                  columns[0].map(heading)), {class: 'corners'}),
    tableSection(title('The driver\u2019s actions'),
      'Per corner and group, as places along the reference path, m: where the braking zone into it begins ' +
      '(a pumped pedal and a downshift\u2019s blips are one zone), where the speed is lowest and the gear there, ' +
      'from where the throttle stays full to the corner\u2019s end, the time on neither pedal, and the line at ' +
      'the apex from the reference\u2019s, ' +
      'positive toward the inside; \u2013 where the laps do not do it (a corner taken without braking, or flat). ' +
      'Lifts: the laps whose throttle falls below 10 % for the corner, of the laps through it.',
      lead.concat(['Lifts'], columns[1].map(heading)), {class: 'corners actions'})];
  // The corner's cost: the mean time its group's laps lose in its segment.
  const lost = (c, g) => {
    // Each lap through the corner as [lap, time lost, segment lost].
    const d = c.laps.filter((l) => t.laps[l[0]].group === g.group && l[2] !== null).map((l) => l[2]);
    return d.length ? d.reduce((a, b) => a + b, 0) / d.length : null;
  };
  const rows = [];
  t.corners.forEach((c) => c.groups.forEach((g) => rows.push({c: c, g: g, lost: lost(c, g)})));
  const size = (r) => (r.lost === null ? -Infinity : Math.abs(r.lost));
  rows.sort((a, b) => size(b) - size(a));
  let chosen = [];
  const choose = (c) => {
    chosen.forEach((r) => r.classList.remove('chosen'));
    chosen = tables.flatMap((table) => [...table.querySelectorAll('tr[data-corner]')])
      .filter((r) => r.getAttribute('data-corner') === c.name);
    chosen.forEach((r) => r.classList.add('chosen'));
    map.data.datasets[2].data = path.filter((p) => p.s >= c.start_m && p.s <= c.end_m);
    map.data.datasets[2].label = 'chosen corner ' + c.name;
    map.update('none');
    traces.forEach((ch) => { ch.options.plugins.cornerBand = {range: [c.start_m, c.end_m]}; ch.update('none'); });
    phaseDetail(c);
  };
  // The chosen corner's phases, group by group.
  const detail = main.appendChild(el('div', {class: 'phase-detail'}));
  const phaseDetail = (c) => {
    detail.textContent = '';
    const names = ['entry', 'middle', 'exit'];
    const where = names.map((n, p) => n + ' ' + fixed(c.phaseAt[2 * p], 0) + '\u2013' + fixed(c.phaseAt[2 * p + 1], 0) + ' m');
    const table = tableSection('', c.name + ': its phases on the reference lap (' + where.join(', ') + '), per ' +
        'group the mean over its laps \u00b1 its interval (laps): grip use, roll toward the outside [\u00b0], the front ' +
        'axle\u2019s share of the lateral load transfer, time within 2 % of the end of the travel [s] and damper ' +
        'speed (rms) [mm/s] per wheel FL, FR, RL, RR.',
        (single ? [] : ['Group']).concat(['Phase', 'Understeer [\u00b0]', 'Front use', 'Rear use', 'Roll [\u00b0]',
                                          'Front share', 'On the stops [s]', 'Dampers [mm/s]']),
        {class: 'corners phases'}, detail);
    // Each rounded as its quantity is: the corner's understeer by phase, then
    // the phase's own numbers in the order the data lists them.
    const understeer = data.cornerTables.corners.filter((k) => quantityOf(k).phase).map(quantityOf);
    const phase = data.cornerTables.phases.map((k) => quantityOf(k));
    c.groups.forEach((g) => g.phases.forEach((v, p) => {
      const row = table.appendChild(el('tr'));
      if (!single) cell(row, groups[g.group].label);
      cell(row, names[p]);
      cell(row, overLaps(g[understeer[p].key], understeer[p].decimals));
      [0, 1, 2, 3].forEach((k) => cell(row, overLaps(v[k], phase[k].decimals)));
      cell(row, v.slice(4, 8).map((x) => fixed(x[0], phase[4].decimals)).join(' '));
      cell(row, v.slice(8, 12).map((x) => fixed(x[0], phase[8].decimals)).join(' '));
    }));
  };
  // A session's corner tables show one group at a time, the fastest first.
  const fill = (only) => rows.filter((r) => only === null || r.g.group === only).forEach(({c, g}) => {
    tables.forEach((table, k) => {
      const row = el('tr', {tabindex: '0', 'data-corner': c.name});
      const add = (v) => cell(row, v);
      add(c.name);
      if (!single) add(groups[g.group].label);
      if (k === 0) {
        [c.direction, c.angle_deg.toFixed(0), c.radius_m.toFixed(0)].forEach(add);
      } else {
        add(g.lifts_known_laps ? g.lifts_laps + ' of ' + g.lifts_known_laps : '\u2013');
      }
      columns[k].forEach((key) => add(overLaps(scaledOverLaps(g[key.key], key.scale), key.decimals, key.scale)));
      row.addEventListener('click', () => choose(c));
      row.addEventListener('keydown', (e) => { if (e.key === 'Enter' || e.key === ' ') choose(c); });
      table.appendChild(row);
    });
  });
  if (!sessionPage) {
    fill(null);
    return;
  }
  const which = el('select', {'aria-label': 'group in the corner tables'});
  t.groups.filter((g) => g.laps > 0).forEach((g) => which.appendChild(el('option', {value: String(g.group)},
                                                                          groups[g.group].label)));
  which.value = String(data.session.fastest >= 0 ? data.session.fastest : t.groups[0].group);
  const control = el('p', {class: 'control'}, 'The corner tables show ');
  control.appendChild(which);
  tables[0].parentNode.parentNode.insertBefore(control, tables[0].parentNode.previousSibling);
  const refill = () => {
    tables.forEach((table) => table.querySelectorAll('tr[data-corner]').forEach((r) => r.remove()));
    fill(Number(which.value));
  };
  which.addEventListener('change', refill);
  refill();
}
