// The car's balance: axle characteristics and the handling diagram.
// Both axles' lateral curves (front solid, rear dashed) over their points:
// in one group's colours, or in a comparison in the group's own colour.
function axleChart(grid, g, k) {
  const colours = single ? [palette[0], palette[5]] : [palette[k], palette[k]];
  const sets = [];
  g.axles.forEach((a, i) => {
    const label = (i === 0 ? 'front' : 'rear') + ' axle';
    curveSets(a.lateral, colours[i], label).forEach((set) => {
      if (i === 1 && set.label === label) set.borderDash = [6, 4];
      sets.push(set);
    });
  });
  g.axles.forEach((a, i) => sets.push(cloud({type: 'scatter', label: (i === 0 ? 'front' : 'rear') + ' axle points',
                                             helper: true, scatter: true, pointRadius: 1, borderWidth: 0,
                                             backgroundColor: colours[i] + '40', order: 3},
                                            a.lateral_points.x, a.lateral_points.y)));
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
    if (b.understeer_gradient.value !== null) {
      const line = [-b.linear, b.linear].map((y) => ({x: b.offset + b.understeer_gradient.value * y, y: y})).sort(byX);
      sets.push(sorted({type: 'line', label: name + 'understeer gradient ' + b.understeer_gradient.value.toFixed(2) + ' deg/g',
                        data: line, borderColor: colour, borderWidth: 2.5, pointRadius: 0, order: 0}));
    }
    sets.push({type: 'scatter', label: name + 'median per 0.05 g', helper: sessionPage, data: points(b.medianX, b.medianY),
               borderColor: colour, backgroundColor: colour, pointRadius: 3, pointStyle: 'rectRot', order: 1});
    sets.push(cloud({type: 'scatter', label: name + 'samples', helper: !single, scatter: true, pointRadius: 1,
                     borderWidth: 0, backgroundColor: (single ? palette[0] : colour) + '40', order: 3}, b.x, b.y));
  });
  const c = chart(grid, {data: {datasets: sets},
                         options: roomFor(options('Handling diagram', 'front minus rear slip angle [deg]',
                                                  'lateral acceleration [g]'), sets)}, false, legendRoom);
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
    const q = quantityOf('understeer_gradient'), n = q.decimals;
    const words = q.words[0].toUpperCase() + q.words.slice(1);
    const gradient = b.understeer_gradient.value === null
      ? words + ': too few steady samples below ' + b.linear + ' g to tell.'
      : words + ' ' + withInterval(b.understeer_gradient, n).text + unitText(q.unit) + ' (95 % interval ' +
        numberText(b.understeer_gradient.low, n) + ' to ' + numberText(b.understeer_gradient.high, n) + '), from ' + b.fitted_points +
        ' steady samples below ' + b.linear + ' g.';
    main.appendChild(el('p', {class: 'statement'}, (single ? '' : g.label + ': ') + gradient + ' ' + b.statement));
  });
}
