// Motion paths: a location track whose entry carries the path points it runs through ("cp", each
// [x, y, x1, y1, x2, y2]) moves along the curve, at the eased fraction of the path's length. The
// curves are flattened exactly as the editor flattens them, so both find the same points.

// The polyline of the curve from point a to point b: a, then n inner points at k / (n + 1), then b,
// with n a quarter of the control polygon's length (rounded). Two points of one time (the editing
// page's form adds index and time) are joined by nothing.
export function flatten(a, b) {
  if (a.length >= 8 && b.length >= 8 && a[7] !== -1 && a[7] === b[7]) return [];
  const [x0, y0] = a;
  const [x1, y1] = [a[4], a[5]];
  const [x2, y2] = [b[2], b[3]];
  const [x3, y3] = b;
  const len = Math.hypot(x1 - x0, y1 - y0) + Math.hypot(x2 - x1, y2 - y1) + Math.hypot(x3 - x2, y3 - y2);
  const n = Number.isFinite(len) ? Math.round(Math.min(len / 4, 100000)) : 0;
  const points = [[x0, y0]];
  if (n > 0) {
    // Forward differences of f(t) = A t^3 + B t^2 + C t + P0 with the step h = 1 / (n + 1).
    const coef = (p0, p1, p2, p3) => [-p0 + 3 * p1 - 3 * p2 + p3, 3 * p0 - 6 * p1 + 3 * p2, -3 * p0 + 3 * p1];
    const [ax, bx, cx] = coef(x0, x1, x2, x3);
    const [ay, by, cy] = coef(y0, y1, y2, y3);
    const h = 1 / (n + 1);
    const h2 = h * h;
    const h3 = h2 * h;
    let d1x = ax * h3 + bx * h2 + cx * h;
    let d1y = ay * h3 + by * h2 + cy * h;
    let d2x = 6 * ax * h3 + 2 * bx * h2;
    let d2y = 6 * ay * h3 + 2 * by * h2;
    const d3x = 6 * ax * h3;
    const d3y = 6 * ay * h3;
    let x = x0;
    let y = y0;
    for (let k = 0; k < n; ++k) {
      x += d1x;
      y += d1y;
      d1x += d2x;
      d1y += d2y;
      d2x += d3x;
      d2y += d3y;
      points.push([x, y]);
    }
  }
  points.push([x3, y3]);
  return points;
}

// The joined polyline through a list of path points with the length along it at each vertex.
export function buildPath(cp) {
  const pts = [];
  for (let i = 0; i + 1 < cp.length; ++i) pts.push(...flatten(cp[i], cp[i + 1]));
  if (!pts.length && cp.length) pts.push([cp[0][0], cp[0][1]]);
  const lengths = [0];
  for (let i = 1; i < pts.length; ++i) {
    lengths.push(lengths[i - 1] + Math.hypot(pts[i][0] - pts[i - 1][0], pts[i][1] - pts[i - 1][1]));
  }
  return { pts, lengths, total: lengths[lengths.length - 1] };
}

// The point at a fraction of the path's length and the direction of travel there, in degrees.
export function pointAt(path, fraction) {
  const { pts, lengths, total } = path;
  if (pts.length < 2 || !(total > 0)) return [pts[0][0], pts[0][1], 0];
  const f = Math.max(0, Math.min(1, fraction));
  const dist = f * total;
  let lo = 1;
  let hi = pts.length - 1;
  while (lo < hi) {
    const mid = (lo + hi) >> 1;
    if (lengths[mid] < dist) lo = mid + 1;
    else hi = mid;
  }
  // Skip segments of no length so that the direction is that of a real piece of the path.
  let i = lo;
  while (i < pts.length - 1 && lengths[i] === lengths[i - 1]) ++i;
  let j = i;
  while (j > 1 && lengths[j] === lengths[j - 1]) --j;
  const a = pts[j - 1];
  const b = pts[j];
  const seg = lengths[j] - lengths[j - 1];
  const k = seg > 0 ? Math.max(0, Math.min(1, (dist - lengths[j - 1]) / seg)) : 0;
  const angle = (Math.atan2(b[1] - a[1], b[0] - a[0]) * 180) / Math.PI;
  return [a[0] + (b[0] - a[0]) * k, a[1] + (b[1] - a[1]) * k, angle];
}
