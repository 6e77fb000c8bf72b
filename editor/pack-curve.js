// The pack's difficulty curve: each level's loss rate at ±100 ms (100% less its kindest route's win
// rate), plotted by its number over the shipped levels' curve, so that a maker sees whether the
// pack rises as the game does. The height is the highest loss rate shown, or MIN_TOP at least. A
// level whose rate is not known yet leaves a gap.
const COLOURS = { shipped: '#5b6478', pack: '#ffb020', shown: '#ffffff', axis: '#2a303c' };
const PAD = 4;
const MIN_TOP = 10;

// points: the pack's rates (win % or null), shipped: the shipped levels' rates, current: the
// index of the level shown.
export function drawCurve(canvas, points, shipped, current) {
  const scale = window.devicePixelRatio || 1;
  const width = canvas.clientWidth, height = canvas.clientHeight;
  if (!width || !height) return;
  Object.assign(canvas, { width: Math.round(width * scale), height: Math.round(height * scale) });
  const g = canvas.getContext('2d');
  g.scale(scale, scale);
  const count = Math.max(points.length, shipped.length, 2);
  const x = (i) => PAD + ((width - 2 * PAD) * i) / (count - 1);
  const top = Math.max(MIN_TOP, ...[...points, ...shipped].filter((r) => r !== null).map((r) => 100 - r));
  const y = (winRate) => height - PAD - ((height - 2 * PAD) * (100 - winRate)) / top;
  g.strokeStyle = COLOURS.axis;
  g.strokeRect(0.5, 0.5, width - 1, height - 1);
  line(g, shipped.map((rate, i) => [x(i), y(rate)]), COLOURS.shipped);
  const known = points.map((rate, i) => (rate === null ? null : [x(i), y(rate)]));
  for (let from = 0; from < known.length;) {
    let to = from;
    while (to < known.length && known[to]) ++to;
    line(g, known.slice(from, to), COLOURS.pack);
    from = to + 1;
  }
  known.forEach((point, i) => {
    if (!point) return;
    g.fillStyle = i === current ? COLOURS.shown : COLOURS.pack;
    g.beginPath();
    g.arc(point[0], point[1], i === current ? 3.5 : 2.5, 0, 2 * Math.PI);
    g.fill();
  });
}

function line(g, points, colour) {
  if (points.length < 2) return;
  g.strokeStyle = colour;
  g.lineWidth = 1.5;
  g.beginPath();
  points.forEach(([px, py], i) => (i ? g.lineTo(px, py) : g.moveTo(px, py)));
  g.stroke();
}
