// The answer first, under the title: each group's laps and lap times, then
// per comparison the lap time's difference, the corners of the largest time
// differences (linked to their findings) and the largest tyre and balance differences
// shown; with one group, its axles' grip and its balance.
const seconds = (v) => v.toFixed(3) + ' s';
const signedSeconds = (v) => signedText(v, 3) + ' s';
// At most this many laps against the reference in the summary; the rest are
// under "Where the time goes".
const summaryFindings = 5;

function summarySection() {
  const list = document.getElementById('summary').appendChild(el('ul', {class: 'summary'}));
  // A line of texts and elements.
  const item = (parts) => {
    const li = list.appendChild(el('li'));
    parts.forEach((p) => li.appendChild(typeof p === 'string' ? document.createTextNode(p) : p));
    return li;
  };
  // A session of many groups: who is fastest and how sure, not a line each.
  if (sessionPage) {
    sessionLines(item);
    return;
  }
  data.tracks.forEach((t) => lapTimeLines(t, item));
  findingLines(item);
  if (single) {
    tyreLines(groups[0], item);
  } else {
    groups.slice(1).forEach((g) => {
      setupLines(g, item);
      differenceLine(g, item);
      platformLine(g, item);
    });
  }
}

// Each group's laps and lap times on a track, its reference lap, and each
// later group's lap time against the first's.
function lapTimeLines(t, item) {
  const ref = t.laps[t.reference_lap];
  t.groups.filter((g) => g.laps > 0).forEach((g) => {
    const time = overLaps(g.lap_time_s, 3);
    // A partial lap (a replay cut short, a lap not finished) by name.
    const partial = t.laps.filter((l) => l.group === g.group && !l.complete).map((l) => fileName(l.file));
    const li = item([el('b', {}, single ? t.track : groups[g.group].label), ': ' + g.laps +
        (g.laps === 1 ? ' lap' : ' laps') + ' (' + g.complete_laps + ' complete, ' + partial.length + ' partial' +
        (partial.length ? ': ' + partial.slice(0, 3).join(', ') + (partial.length > 3 ? ', \u2026' : '') : '') + ')' + (g.complete_laps ? ', best ' + seconds(g.best_lap_s) : '') + (g.complete_laps > 1 ? ', mean ' + time.text + ' s' : '') +
        (g.best_of_segments_s !== null && g.complete_laps > 1 ? ', best of its segments ' + seconds(g.best_of_segments_s) : '') +
        (groups[g.group].aids.length ? '; aids: ' + groups[g.group].aids.join(', ') : '')]);
    li.title = time.title;
    li.setAttribute('data-track-group', String(g.group));
  });
  item(['Reference lap: ' + fileName(ref.file) + (ref.lap_time_s !== null ? ' (' + seconds(ref.lap_time_s) + ')' : '') +
        (data.tracks.length > 1 ? ', ' + t.track : '')]);
  if (single) return;
  t.groups.filter((g) => g.group > 0 && g.complete_laps && t.groups[0].complete_laps).forEach((g) => {
    const d = data.differences.find((x) => x.where.endsWith('lap') && x.quantity === 'lap_time_s' &&
                                         x.to === groups[g.group].label);
    if (!d) return;
    const interval = d.ci ? ' (' + signedSeconds(d.ci[0]) + ' to ' + signedSeconds(d.ci[1]) + ')' : '';
    const c = data.claims.find((x) => x.to === groups[g.group].label);
    const claims = c ? '; ' + c.claimed + ' of ' + c.m + ' lap and corner differences claimed, ' +
                       Math.round(100 * c.fdr) + ' % false discovery rate' : '';
    item([el('b', {}, groups[g.group].label + ' against ' + groups[0].label), ': mean lap time ' +
          signedSeconds(d.delta) + interval + ', ' + d.verdict + '; best lap ' +
          signedSeconds(g.best_lap_s - t.groups[0].best_lap_s) + claims]);
  });
}

// Each comparison's three largest time differences by corner, in words that
// say who gains, linked to their findings; each verdict the finding's own.
function findingLines(item) {
  const findings = data.findings;
  findings.slice(0, summaryFindings).forEach((f, k) => {
    const top = f.corners.filter((c) => c.time_lost_s !== null).slice(0, 3);
    if (!top.length) return;
    const who = single ? fileName(f.to) : f.to;
    const parts = [el('b', {}, who + ' against ' + (single ? fileName(f.from) : f.from)), ': ' + who + ' '];
    top.forEach((c, i) => {
      const lost = c.time_lost_s, ci = c.time_lost_ci;
      const verb = lost >= 0 ? 'loses ' : 'gains ';
      const said = i > 0 && (lost >= 0) === (top[i - 1].time_lost_s >= 0);
      const claimed = c.verdict === 'higher' || c.verdict === 'lower';
      const low = ci && (lost >= 0 ? ci[0] : -ci[1]), high = ci && (lost >= 0 ? ci[1] : -ci[0]);
      parts.push((said ? '' : verb) + Math.abs(lost).toFixed(2) + ' s at ',
                 el('a', {href: '#finding-' + k + '-' + c.corner}, c.corner),
                 (!ci ? (i === 0 || c.verdict !== top[i - 1].verdict ? ' (' + c.verdict + ')' : '')
                   : claimed ? ' (' + low.toFixed(2) + ' to ' + high.toFixed(2) + ' s)'
                     : ' (within the laps\u2019 variation)') + (i + 1 < top.length ? ', ' : ''));
    });
    item(parts);
  });
  if (findings.length > summaryFindings) {
    item([(findings.length - summaryFindings) + ' more laps against the reference under ',
          el('a', {href: '#where-the-time-goes'}, 'Where the time goes'), '.']);
  }
}

// One group: its axles' grip and its balance, the numbers a tyre report is
// opened for.
function tyreLines(g, item) {
  g.axles.forEach((a) => {
    const parts = [el('b', {}, a.name[0].toUpperCase() + a.name.slice(1) + ' axle'), ': '];
    [['lateral', a.lateral], ['longitudinal', a.longitudinal]].forEach(([name, f], k) => {
      if (k) parts.push('; ');
      if (!f) {
        parts.push(name + ': too few points');
        return;
      }
      const grip = quantityOf('peak_grip'), stiffness = quantityOf('cornering_stiffness', name);
      parts.push(name + ' ' + grip.words + ' ' + withInterval(f.peak_grip, grip.decimals).text +
                 (f.peak_reached ? ' (reached)' : ' (not reached: the most in the data)') + ', ' + stiffness.words + ' ' +
                 withInterval(f.cornering_stiffness, stiffness.decimals).text + unitText(stiffness.unit));
    });
    item(parts);
  });
  const b = g.balance;
  item([el('b', {}, 'Balance'), ': ' + (b.understeer_gradient.value === null ? 'too few steady samples for an understeer gradient' :
        'understeer gradient ' + withInterval(b.understeer_gradient, 2).text + ' deg/g') + '. ' + b.statement]);
  const p = g.platform;
  const ends = p.wheels.filter((w) => w.travel_used.value !== null && w.travel_used.value >= 0.98).map((w) => w.name);
  item([el('b', {}, 'Platform'), ': roll ' + (p.roll_gradient_deg_per_g.value === null ? 'not measured' : withInterval(p.roll_gradient_deg_per_g, 2).text + ' deg/g') +
        ', front share of the lateral load transfer ' + (p.lltd_front.value === null ? 'not measured' : withInterval(p.lltd_front, 3).text) +
        (ends.length ? '; at the end of the travel: ' + ends.join(', ') : '; no wheel at the end of its travel') + '.']);
}

// The platform's numbers, the car's and each wheel's, apart from the tyres'.
const platformDifference = (d) => !d.phase && (d.where === 'platform' || d.quantity === 'travel_used' ||
                                               d.quantity === 'at_travel_end_s');

// What differs between a later group's car setup and the first's, before its
// tyre numbers: what they differ by may be the setup's, not the driver's.
function setupLines(g, item) {
  const texts = data.setup_differences.filter((d) => d.to === g.label).map((d) => d.text);
  item([el('b', {}, g.label + ' against ' + groups[0].label), ': car setup: ' +
        (texts.length ? texts.join('; ') : 'the same')]);
}

// A later group's largest tyre and balance differences shown against the first.
function differenceLine(g, item) {
  const shown = data.differences.filter((d) => d.to === g.label && (d.verdict === 'higher' || d.verdict === 'lower') &&
                                             !/(^| )T\d+$|lap$/.test(d.where) && !platformDifference(d));
  const parts = [el('b', {}, g.label + ' against ' + groups[0].label), ': tyres and balance: '];
  if (!shown.length) parts.push('no difference shown');
  shown.slice(0, 3).forEach((d, i) => parts.push(describe(d) + (i + 1 < Math.min(3, shown.length) ? '; ' : '')));
  if (shown.length > 3) parts.push(' (and ' + (shown.length - 3) + ' more below)');
  // Once: where the tyre types differ, so do the tyres' numbers.
  if (g.tyreTypes) parts.push('. The ' + g.tyreTypes);
  item(parts);
}

// A later group's largest platform differences shown against the first.
function platformLine(g, item) {
  const shown = data.differences.filter((d) => d.to === g.label && (d.verdict === 'higher' || d.verdict === 'lower') &&
                                             platformDifference(d));
  const parts = [el('b', {}, g.label + ' against ' + groups[0].label), ': platform: '];
  if (!shown.length) parts.push('no difference shown');
  shown.slice(0, 3).forEach((d, i) => parts.push(describe(d) + (i + 1 < Math.min(3, shown.length) ? '; ' : '')));
  if (shown.length > 3) parts.push(' (and ' + (shown.length - 3) + ' more below)');
  item(parts);
}
