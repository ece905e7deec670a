// The sections in order, then every chart handed to the drawing.
summarySection();
sessionSection();
timeSection();
(data.tracks || []).forEach(lapsSection);
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
  groups[0].axles.forEach((a, k) => comparisonCharts((k === 0 ? 'Front' : 'Rear') + ' axle', k, 'axles'));
  groups[0].wheels.forEach((w, k) => comparisonCharts('Wheel ' + w.name, k, 'wheels'));
  fitTable();
}
handles.forEach((h) => { nearView.observe(h.box); inOrder.push(h); });
if (!handles.size) firstScreen();
setTimeout(drawRest, 0);
