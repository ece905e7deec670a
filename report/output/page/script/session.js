// The session: every group ranked by pace with its range of ranks, its gap
// to the fastest and its consistency; then a group x corner map of the time
// against the fastest group (a cell coloured only where its difference is
// claimed); then where the faster third of the field gains.
const sessionOf = data.session;

// "76.067 ± 0.324", the interval in the title; [value, low, high].
function valueWithInterval(v, d, signed) {
  if (!v || v[0] === null) return {text: '\u2013', title: ''};
  if (v[1] === null) return {text: numberText(v[0], d, signed), title: 'no interval'};
  return {text: (signed && v[0] > 0 ? '+' : '') + aroundValue(v[0], v[1], v[2], d, 2 * 10 ** -d),
          title: '95 % interval ' + numberText(v[1], d) + ' to ' + numberText(v[2], d)};
}

function sessionSection() {
  const s = sessionOf;
  if (!s || s.fastest < 0) return;
  const ranked = s.groups.filter((g) => g.rank > 0).sort((a, b) => a.rank - b.rank);
  const valid = ranked.reduce((n, g) => n + g.valid_laps, 0);
  // One lap alone is no session.
  if (ranked.length < 2 && valid < 2) return;
  main.appendChild(el('h2', {id: 'session'}, 'Session'));
  rankingTable(s, ranked);
  cornerMap(s, ranked);
  fastGainList(s);
  s.notes.forEach((n) => main.appendChild(el('p', {class: 'note'}, n)));
}

function rankingTable(s, ranked) {
  const table = tableSection('', 'Each ' + (single ? 'lap set' : 'group') + '\u2019s pace: the mean of its valid laps ' +
      '(complete, within 107 % of its own fastest) \u00b1 the half-width of its 95 % interval, its spread moderated ' +
      'toward the field\u2019s so that two laps give a usable one; the gap to the fastest pace with its interval; ' +
      'the rank and, in brackets, its 95 % range over 10,000 draws of every pace from its uncertainty (a range ' +
      'of one rank is firm); consistency: the standard deviation of its valid laps and its interval. Hover a ' +
      'cell for its interval, the laps for those left out and why.',
      ['Rank', single ? 'Driver' : 'Group', 'Pace [s]', 'Gap [s]', 'Best [s]', 'Best of segments [s]',
       'Consistency [s]', 'Laps', 'Varies most'], {class: 'ranking'}, main);
  ranked.forEach((g) => {
    const row = table.appendChild(el('tr'));
    const range = g.rank_range[0] ? ' (' + (g.rank_range[0] === g.rank_range[1] ? g.rank_range[0]
                                             : g.rank_range[0] + '\u2013' + g.rank_range[1]) + ')' : '';
    cell(row, g.rank + range);
    cell(row, g.label);
    cell(row, valueWithInterval(g.pace_s, 3));
    cell(row, g.group === s.fastest ? '\u2013' : valueWithInterval(g.gap_s, 3, true));
    cell(row, fixed(g.best_lap_s, 3));
    cell(row, fixed(g.best_of_segments_s, 3));
    // A spread's interval is not symmetric: both ends shown.
    const c = g.consistency_s;
    cell(row, c[0] === null ? '\u2013' : c[0].toFixed(3) + ' (' + c[1].toFixed(2) + '\u2013' + c[2].toFixed(2) + ')');
    cell(row, {text: g.valid_laps + (g.left_out.length ? ' (' + g.left_out.length + ' left out)' : ''),
               title: g.left_out.map(([f, why]) => fileName(f) + ': ' + why).join('\n')});
    cell(row, g.varies_most.join(', '));
  });
}

// Orange where slower than the fastest, blue where faster, the deeper the
// larger; blank where nothing is claimed.
function cornerMap(s, ranked) {
  if (!s.corners.length || ranked.length < 2) return;
  const table = tableSection('', 'Per corner, each group\u2019s mean time through its segment (from the middle of ' +
      'the straight before it to the middle of the one after; the segments add up to the lap) less the fastest ' +
      'group\u2019s (' + groups[s.fastest].label + ') there, s: coloured only where the difference is claimed (a ' +
      'group\u2019s corners are one family at a 5 % false discovery rate; in a comparison, against the first group, ' +
      'the comparison\u2019s own numbers, as in its findings), orange slower, blue faster; hover a cell for its ' +
      'interval.', [single ? 'Driver' : 'Group'].concat(s.corners), {class: 'heat'}, main);
  const byGroup = new Map();
  s.cells.forEach(([g, c, d, lo, hi, claimed]) => {
    if (!byGroup.has(g)) byGroup.set(g, []);
    byGroup.get(g)[c] = {d: d, lo: lo, hi: hi, claimed: claimed};
  });
  const largest = Math.max(0.001, ...s.cells.filter((c) => c[5]).map((c) => Math.abs(c[2])));
  ranked.forEach((g) => {
    const row = table.appendChild(el('tr'));
    cell(row, g.label + (g.group === s.fastest ? ' (fastest)' : ''));
    const cells = byGroup.get(g.group) || [];
    s.corners.forEach((name, c) => {
      const v = cells[c];
      if (!v || v.d === null || g.group === s.fastest) {
        cell(row, '');
        return;
      }
      const interval = v.lo !== null && v.lo !== v.hi ? ' (' + numberText(v.lo, 3) + ' to ' + numberText(v.hi, 3) + ')' : '';
      const title = name + ': ' + signedText(v.d, 3) + ' s' + interval +
                    (v.claimed ? '' : ', no difference shown');
      const td = cell(row, {text: v.claimed ? signedText(v.d, 2) : '', title: title});
      if (v.claimed) {
        td.style.background = heatColour(v.d, largest);
      }
    });
  });
}

function fastGainList(s) {
  if (!s.faster_third.length) return;
  const names = s.faster_third.map((g) => groups[g].label).join(', ');
  const claimed = s.fast_gain.filter((f) => f.claimed);
  main.appendChild(el('p', {class: 'note'}, 'Where the faster third (' + names + ') differs from the rest, per ' +
      'corner, each group\u2019s mean one value (groups, not laps, are the units), with its interval over the ' +
      'groups; ' + claimed.length + ' of ' + s.fast_gain.length + ' numbers claimed at a 5 % false discovery rate.'));
  if (!claimed.length) return;
  const list = main.appendChild(el('ul', {class: 'fast-gain'}));
  claimed.forEach((f) => list.appendChild(el('li', {}, f.corner + ': the faster third ' + f.text)));
}

// The session's answer under the title: the fastest group and its margin,
// how many ranks are firm, the most consistent group.
function sessionLines(item) {
  const s = sessionOf;
  if (!s || s.fastest < 0) {
    item([groups.length + ' groups; no complete lap to rank them by.']);
    return;
  }
  const ranked = s.groups.filter((g) => g.rank > 0).sort((a, b) => a.rank - b.rank);
  const laps = ranked.reduce((n, g) => n + g.valid_laps, 0);
  const first = ranked[0], second = ranked[1];
  const pace = valueWithInterval(first.pace_s, 3);
  const parts = [el('b', {}, 'Fastest: ' + first.label), ', pace ' + pace.text + ' s over ' + first.valid_laps +
                 (first.valid_laps === 1 ? ' lap' : ' laps')];
  if (second) {
    const gap = second.gap_s;
    parts.push(', ' + gap[0].toFixed(3) + ' s' + (gap[1] !== null ? ' (' + gap[1].toFixed(3) + ' to ' +
               gap[2].toFixed(3) + ')' : '') + ' ahead of ' + second.label);
  }
  parts.push(first.rank_range[0] && first.rank_range[1] === 1 ? '; first in every draw.' : '.');
  item(parts);
  const firm = ranked.filter((g) => g.rank_range[0] && g.rank_range[0] === g.rank_range[1]);
  item([ranked.length + ' groups, ' + laps + ' valid laps: ' + firm.length + ' of ' + ranked.length +
        ' ranks firm' + (firm.length ? ' (' + firm.slice(0, 5).map((g) => g.rank + ' ' + g.label).join(', ') +
        (firm.length > 5 ? ', \u2026' : '') + ')' : '') + '; the rest within ranges under ',
        el('a', {href: '#session'}, 'Session'), '.']);
  const steady = ranked.filter((g) => g.consistency_s[0] !== null).sort((a, b) => a.consistency_s[0] - b.consistency_s[0]);
  if (steady.length) {
    item([el('b', {}, 'Most consistent: ' + steady[0].label), ', laps spread ' + steady[0].consistency_s[0].toFixed(3) +
          ' s (' + steady[0].consistency_s[1].toFixed(2) + ' to ' + steady[0].consistency_s[2].toFixed(2) + ').']);
  }
}
