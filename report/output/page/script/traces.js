// One group's replays over time and over distance.
function traceCharts(traces, xKey, xTitle) {
  const grid = section('Over ' + (xKey === 'time' ? 'time' : 'distance'));
  const inputs = [], loads = [];
  // Both charts' datasets, made when the first of them is drawn.
  const make = () => traces.forEach((t, r) => {
    const tag = traces.length > 1 ? ' (' + (r + 1) + ')' : '';
    const xy = (v, scale) => t[xKey].map((x, i) => ({x: x, y: v[i] === null ? null : v[i] * (scale || 1)}));
    inputs.push({type: 'line', label: speedLabel + tag, data: xy(t.speed, speedUnit.scale), borderColor: palette[0], yAxisID: 'y'},
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
  // Long traces are drawn at a few points per pixel column: the charting
  // library's min-max decimation keeps each column's first, last, lowest and
  // highest point, so no peak is lost. A chart with a gap in a trace keeps
  // every point, as the decimation would read the gap as zero.
  const decimated = (o, sets) => {
    if (sets.every((s) => s.data.every((p) => p.y !== null))) {
      o.parsing = false;
      o.plugins.decimation = {enabled: true, algorithm: 'min-max'};
    }
    return o;
  };
  chart(grid, () => {
    made();
    const sets = thin(inputs);
    return {data: {datasets: sets},
            options: decimated(options('Speed and driver inputs', xTitle, speedLabel,
                                       Object.assign({scales: {x: axis(xTitle), y: axis(speedLabel),
                                                               y1: axis('throttle, brake [%]; steer [deg]', {position: 'right',
                                                                        grid: {drawOnChartArea: false}})}}, unique)), sets)};
  }, true);
  chart(grid, () => {
    made();
    const sets = thin(loads);
    return {data: {datasets: sets}, options: decimated(options('Normal loads', xTitle, 'normal load [N]', unique), sets)};
  }, true);
}
