// The sections in order, then every chart handed to the drawing.
summarySection();
sessionSection();
timeSection();
data.tracks.forEach(lapsSection);
if (single) {
  balanceSection();
  platformSection();
  groups[0].wheels.forEach(wheelCharts);
  fitTable();
  traceCharts(groups[0].traces, 'time', 'time [s]');
  traceCharts(groups[0].traces, 'distance', 'distance [m]');
} else {
  differencesTable();
  scatterControl();
  balanceSection();
  platformSection();
  // Every tyre's curves in one grid, its name in each chart's title.
  const tyres = section('Tyres by axle and wheel', 'Each axle\u2019s and wheel\u2019s lateral and longitudinal ' +
      'grip: every group\u2019s fitted curve with its 95 % band over its points, the front axle first, then the ' +
      'rear, then each wheel.');
  groups[0].axles.forEach((a, k) => comparisonCharts(tyres, k, 'axles'));
  groups[0].wheels.forEach((w, k) => comparisonCharts(tyres, k, 'wheels'));
  fitTable();
}
handles.forEach((h) => { nearView.observe(h.box); inOrder.push(h); });
// What is in view is told at the next frame; without frames, the rest is
// drawn all the same.
setTimeout(firstScreen, 500);
if (!handles.size) {
  firstScreen();
  allDrawn();
}
