// Outlines of the auto shapes and free-form shapes, as SVG path data in the pixels of the element's
// box. Each auto shape has its own adjustments (fractions of its size, in the order listed with it);
// missing adjustments take the shape's defaults. The page fills the outline through a clip path and
// strokes it with the element's border.

const f = (v) => Math.round(v * 100) / 100;
const poly = (pts) => 'M' + pts.map(([x, y]) => `${f(x)} ${f(y)}`).join('L') + 'Z';
const arc = (rx, ry, large, sweep, x, y) => `A${f(rx)} ${f(ry)} 0 ${large} ${sweep} ${f(x)} ${f(y)}`;
const ellipse = (w, h) => `M0 ${f(h / 2)}${arc(w / 2, h / 2, 1, 1, w, h / 2)}${arc(w / 2, h / 2, 1, 1, 0, h / 2)}Z`;
const clamp = (v, lo, hi) => Math.max(lo, Math.min(hi, v));

// Points on the ellipse of the box, n of them, starting straight up, alternating between the outer
// ellipse and one scaled by the inner ratio when given.
function radial(w, h, n, inner) {
  const pts = [];
  const count = inner === undefined ? n : n * 2;
  for (let i = 0; i < count; ++i) {
    const a = -Math.PI / 2 + (i * 2 * Math.PI) / count;
    const r = inner !== undefined && i % 2 ? inner : 1;
    pts.push([w / 2 + (w / 2) * r * Math.cos(a), h / 2 + (h / 2) * r * Math.sin(a)]);
  }
  return poly(pts);
}

// Arrows are drawn pointing right in a frame of length L and thickness T, then turned into place.
const FRAMES = {
  right: (w, h) => [w, h, (u, v) => [u, v]],
  left: (w, h) => [w, h, (u, v) => [w - u, v]],
  down: (w, h) => [h, w, (u, v) => [v, u]],
  up: (w, h) => [h, w, (u, v) => [v, h - u]],
};

function arrow(dir, both, notch) {
  return (w, h, [shaft, head]) => {
    const [L, T, map] = FRAMES[dir](w, h);
    const s = (clamp(shaft, 0, 1) * T) / 2;
    const hl = Math.min(clamp(head, 0, 1) * T, both ? L * 0.4 : L / 2);
    const c = T / 2;
    const pts = both
      ? [[0, c], [hl, 0], [hl, c - s], [L - hl, c - s], [L - hl, 0], [L, c], [L - hl, T], [L - hl, c + s], [hl, c + s], [hl, T]]
      : [[0, c - s], [L - hl, c - s], [L - hl, 0], [L, c], [L - hl, T], [L - hl, c + s], [0, c + s]];
    if (notch) pts.push([hl / 2, c]);
    return poly(pts.map(([u, v]) => map(u, v)));
  };
}

function arrowCallout(dir) {
  return (w, h, [shaft, headWidth, head, body]) => {
    const [L, T, map] = FRAMES[dir](w, h);
    const c = T / 2;
    const s = (clamp(shaft, 0, 1) * T) / 2;
    const hw = Math.max(s, (clamp(headWidth, 0, 1) * T) / 2);
    const hl = clamp(head, 0, 1) * T;
    const bl = clamp(body, 0, 1) * L;
    const tipBase = Math.max(bl, L - hl);
    const pts = [[0, 0], [bl, 0], [bl, c - s], [tipBase, c - s], [tipBase, c - hw], [L, c],
      [tipBase, c + hw], [tipBase, c + s], [bl, c + s], [bl, T], [0, T]];
    return poly(pts.map(([u, v]) => map(u, v)));
  };
}

// A rectangle (with corner radius r) whose outline takes a pointed tail to (tx, ty), set into the
// side the tail points away from.
function callout(w, h, [ax, ay], r) {
  const tx = ax * w;
  const ty = ay * h;
  const dx = ax - 0.5;
  const dy = ay - 0.5;
  const side = Math.abs(dy) >= Math.abs(dx) ? (dy > 0 ? 2 : 0) : dx > 0 ? 1 : 3;
  // Corners clockwise from the top left, each edge from one to the next.
  const corners = [[0, 0], [w, 0], [w, h], [0, h]];
  let d = `M${f(r)} 0`;
  for (let e = 0; e < 4; ++e) {
    const [x0, y0] = corners[e];
    const [x1, y1] = corners[(e + 1) % 4];
    const len = e % 2 ? h : w;
    const ux = (x1 - x0) / len;
    const uy = (y1 - y0) / len;
    if (e === side) {
      const near = (e === 0 && dx < 0) || (e === 2 && dx > 0) || (e === 1 && dy < 0) || (e === 3 && dy > 0);
      const [a, b] = near ? [0.2, 0.4] : [0.6, 0.8];
      d += `L${f(x0 + ux * len * a)} ${f(y0 + uy * len * a)}L${f(tx)} ${f(ty)}L${f(x0 + ux * len * b)} ${f(y0 + uy * len * b)}`;
    }
    d += `L${f(x1 - ux * r)} ${f(y1 - uy * r)}`;
    if (r > 0) {
      const [nx, ny] = corners[(e + 2) % 4];
      const [vx, vy] = [(nx - x1) / (e % 2 ? w : h), (ny - y1) / (e % 2 ? w : h)];
      d += arc(r, r, 0, 1, x1 + vx * r, y1 + vy * r);
    }
  }
  return d + 'Z';
}

function ovalCallout(w, h, [ax, ay]) {
  const cx = w / 2;
  const cy = h / 2;
  const t = Math.atan2((ay - 0.5) * h / (h || 1), (ax - 0.5) * w / (w || 1));
  const at = (a) => [cx + cx * Math.cos(a), cy + cy * Math.sin(a)];
  const [x1, y1] = at(t - 0.2);
  const [x2, y2] = at(t + 0.2);
  return `M${f(x2)} ${f(y2)}${arc(cx, cy, 1, 1, x1, y1)}L${f(ax * w)} ${f(ay * h)}Z`;
}

function roundRect(w, h, r) {
  r = Math.min(r, w / 2, h / 2);
  return `M${f(r)} 0L${f(w - r)} 0${arc(r, r, 0, 1, w, r)}L${f(w)} ${f(h - r)}${arc(r, r, 0, 1, w - r, h)}` +
    `L${f(r)} ${f(h)}${arc(r, r, 0, 1, 0, h - r)}L0 ${f(r)}${arc(r, r, 0, 1, r, 0)}Z`;
}

const min = (w, h) => Math.min(w, h);

// Shape type: [default adjustments, outline(w, h, adjustments)].
const SHAPES = {
  11: [[], (w, h) => poly([[0, 0], [w, 0], [w, h], [0, h]])],
  12: [[0.1667], (w, h, [r]) => roundRect(w, h, clamp(r, 0, 0.5) * min(w, h))],
  33: [[0.5], (w, h, [a]) => poly([[clamp(a, 0, 1) * w, 0], [w, h], [0, h]])],
  22: [[], (w, h) => poly([[w / 2, 0], [w, h / 2], [w / 2, h], [0, h / 2]])],
  21: [[], ellipse],
  56: [[], (w, h) => `M${f(w / 2)} ${f(h * 0.25)}C${f(w / 2)} 0 0 0 0 ${f(h * 0.35)}C0 ${f(h * 0.65)} ${f(w / 2)} ${f(h * 0.8)} ${f(w / 2)} ${f(h)}` +
    `C${f(w / 2)} ${f(h * 0.8)} ${f(w)} ${f(h * 0.65)} ${f(w)} ${f(h * 0.35)}C${f(w)} 0 ${f(w / 2)} 0 ${f(w / 2)} ${f(h * 0.25)}Z`],
  20: [[0.25], (w, h, [a]) => {
    const t = clamp(a, 0, 0.5) * min(w, h);
    return poly([[t, 0], [w - t, 0], [w - t, t], [w, t], [w, h - t], [w - t, h - t], [w - t, h], [t, h], [t, h - t], [0, h - t], [0, t], [t, t]]);
  }],
  53: [[0.1667], (w, h, [a]) => {
    const r = clamp(a, 0, 0.5) * min(w, h);
    return `M${f(r)} 0L${f(w - r)} 0${arc(r, r, 0, 0, w, r)}L${f(w)} ${f(h - r)}${arc(r, r, 0, 0, w - r, h)}` +
      `L${f(r)} ${f(h)}${arc(r, r, 0, 0, 0, h - r)}L0 ${f(r)}${arc(r, r, 0, 0, r, 0)}Z`;
  }],
  61: [[0.25], (w, h, [a]) => poly([[clamp(a, 0, 0.5) * w, 0], [w - clamp(a, 0, 0.5) * w, 0], [w, h], [0, h]])],
  57: [[0.5], (w, h, [a]) => `M${f(w)} 0${arc(w, h / 2, 0, 0, w, h)}${arc(w * clamp(1 - a, 0, 1), h / 2, 0, 1, w, 0)}Z`],
  41: [[], (w, h) => radial(w, h, 5)],
  42: [[0.25], (w, h, [a]) => {
    const i = clamp(a, 0, 0.5) * w;
    return poly([[i, 0], [w - i, 0], [w, h / 2], [w - i, h], [i, h], [0, h / 2]]);
  }],
  44: [[0.2929], (w, h, [a]) => {
    const c = clamp(a, 0, 0.5) * min(w, h);
    return poly([[c, 0], [w - c, 0], [w, c], [w, h - c], [w - c, h], [c, h], [0, h - c], [0, c]]);
  }],
  34: [[], (w, h) => poly([[0, 0], [w, h], [0, h]])],
  35: [[0.2], (w, h, [a]) => poly([[clamp(a, 0, 1) * w, 0], [w, 0], [w - clamp(a, 0, 1) * w, h], [0, h]])],
  69: [[0.2], (w, h, [a]) => poly([[0, 0], [w, 0], [w, h - clamp(a, 0, 1) * h], [w / 2, h], [0, h - clamp(a, 0, 1) * h]])],
  71: [[], (w, h) => `M${f(w / 6)} 0L${f((w * 5) / 6)} 0${arc(w / 6, h / 2, 0, 1, (w * 5) / 6, h)}L${f(w / 6)} ${f(h)}L0 ${f(h / 2)}Z`],
  72: [[0.2], (w, h, [a]) => {
    const c = clamp(a, 0, 1) * min(w, h);
    return poly([[c, 0], [w, 0], [w, h], [0, h], [0, c]]);
  }],
  74: [[], (w, h) => `M${f(w / 6)} 0L${f(w)} 0${arc(w / 6, h / 2, 0, 0, w, h)}L${f(w / 6)} ${f(h)}${arc(w / 6, h / 2, 0, 1, w / 6, 0)}Z`],
  75: [[0.125], (w, h, [a]) => {
    const A = clamp(a, 0, 0.25) * h;
    return `M0 ${f(A)}C${f(w / 3)} ${f(-A)} ${f((w * 2) / 3)} ${f(3 * A)} ${f(w)} ${f(A)}L${f(w)} ${f(h - A)}` +
      `C${f((w * 2) / 3)} ${f(h + A)} ${f(w / 3)} ${f(h - 3 * A)} 0 ${f(h - A)}Z`;
  }],
  73: [[0.25], (w, h, [a]) => {
    const t = clamp(a, 0, 1) * w;
    return poly([[0, 0], [w - t, 0], [w, h / 2], [w - t, h], [0, h]]);
  }],
  13: [[0.2, 1.25], (w, h, a) => callout(w, h, a, 0)],
  14: [[0.2, 1.25], (w, h, a) => callout(w, h, a, 0.1667 * min(w, h))],
  19: [[0.2, 1.25], ovalCallout],
  15: [[0.5, 0.6], arrow('right')],
  16: [[0.5, 0.6], arrow('left')],
  17: [[0.5, 0.6], arrow('up')],
  18: [[0.5, 0.6], arrow('down')],
  26: [[0.5, 0.6], arrow('down', true)],
  25: [[0.5, 0.6], arrow('right', true)],
  31: [[0.5, 0.6], arrow('right', false, true)],
  29: [[0.25, 0.5, 0.4, 0.6], arrowCallout('left')],
  27: [[0.25, 0.5, 0.4, 0.6], arrowCallout('right')],
  30: [[0.25, 0.5, 0.4, 0.6], arrowCallout('up')],
  28: [[0.25, 0.5, 0.4, 0.6], arrowCallout('down')],
  32: [[0.5], (w, h, [a]) => {
    const d = clamp(a, 0, 1) * min(w, h);
    return poly([[0, 0], [w - d, 0], [w, h / 2], [w - d, h], [0, h], [d, h / 2]]);
  }],
  81: [[0.25], (w, h, [r]) => radial(w, h, 4, clamp(r, 0, 1))],
  82: [[0.382], (w, h, [r]) => radial(w, h, 5, clamp(r, 0, 1))],
  83: [[0.5], (w, h, [r]) => radial(w, h, 6, clamp(r, 0, 1))],
  85: [[0.38], (w, h, [r]) => radial(w, h, 8, clamp(r, 0, 1))],
  89: [[0.38], (w, h, [r]) => radial(w, h, 12, clamp(r, 0, 1))],
  101: [[0.375], (w, h, [r]) => radial(w, h, 24, clamp(r, 0, 1))],
};

export const AUTO_SHAPE_TYPES = Object.keys(SHAPES).map(Number);

function adjustmentsOf(type, adjustments) {
  const [defaults] = SHAPES[type] || SHAPES[11];
  return defaults.map((d, i) => (Array.isArray(adjustments) && Number.isFinite(adjustments[i]) ? adjustments[i] : d));
}

// The area an auto shape covers, [left, top, right, bottom]: its box, and for a callout its tail too.
export function autoShapeBounds(type, adjustments, w, h) {
  if (!CALLOUT_TYPES.has(type)) return [0, 0, w, h];
  const [ax, ay] = adjustmentsOf(type, adjustments);
  return [Math.min(0, ax * w), Math.min(0, ay * h), Math.max(w, ax * w), Math.max(h, ay * h)];
}

const CALLOUT_TYPES = new Set([13, 14, 19]);

// Moves every point of a path made by this module (absolute M, L, C and A commands).
export function shiftPath(d, dx, dy) {
  if (!dx && !dy) return d;
  return d.replace(/([MLCA])([^MLCAZ]*)/g, (all, cmd, args) => {
    const n = args.trim().split(/\s+/).map(Number);
    const from = cmd === 'A' ? 5 : 0;
    for (let i = from; i + 1 < n.length; i += 2) {
      n[i] = f(n[i] + dx);
      n[i + 1] = f(n[i + 1] + dy);
    }
    return cmd + n.join(' ');
  });
}

// The outline of an auto shape; an unknown type is drawn as a rectangle.
export function autoShapePath(type, adjustments, w, h) {
  const [, draw] = SHAPES[type] || SHAPES[11];
  return draw(Math.max(0, w), Math.max(0, h), adjustmentsOf(type, adjustments));
}

// Free-form shapes whose outline is open: line, arrow, double arrow, curve and scribble.
const OPEN = new Set([590, 591, 592, 593, 595]);

// The outline of a free-form shape from its path points [x, y, x1, y1, x2, y2, starts a figure]: a
// point that starts a figure begins a new one, the others are reached by the curve through the
// previous point's leaving and their own arriving control points.
export function freeformPath(type, points) {
  const pts = Array.isArray(points) ? points.filter((p) => Array.isArray(p) && p.length >= 6) : [];
  let d = '';
  let prev = null;
  for (const p of pts) {
    if (!prev || p[6] === true) {
      if (prev && !OPEN.has(type)) d += 'Z';
      d += `M${f(p[0])} ${f(p[1])}`;
    } else {
      d += `C${f(prev[4])} ${f(prev[5])} ${f(p[2])} ${f(p[3])} ${f(p[0])} ${f(p[1])}`;
    }
    prev = p;
  }
  if (d && !OPEN.has(type)) d += 'Z';
  return d;
}

export const isOpenFreeform = (type) => OPEN.has(type);

// Line ends in a 10 x 10 box pointing right: arrow, open, stealth, diamond, oval.
const ENDS = {
  1: ['M0 0L10 5L0 10Z', true],
  2: ['M0 0L10 5L0 10', false],
  3: ['M0 0L10 5L0 10L3 5Z', true],
  4: ['M5 0L10 5L5 10L0 5Z', true],
  5: ['M0 5A5 5 0 1 1 10 5A5 5 0 1 1 0 5Z', true],
};

// An SVG marker for a line end: its type code, size (in stroke widths) and colour.
export function lineEndMarker(id, type, size, color, atStart) {
  const end = ENDS[type];
  if (!end) return null;
  const ns = 'http://www.w3.org/2000/svg';
  const marker = document.createElementNS(ns, 'marker');
  const s = Math.max(1, Number(size) || 4);
  marker.setAttribute('id', id);
  marker.setAttribute('viewBox', '0 0 10 10');
  marker.setAttribute('refX', type === 4 || type === 5 ? '5' : '9');
  marker.setAttribute('refY', '5');
  marker.setAttribute('markerWidth', String(s));
  marker.setAttribute('markerHeight', String(s));
  marker.setAttribute('markerUnits', 'strokeWidth');
  marker.setAttribute('orient', atStart ? 'auto-start-reverse' : 'auto');
  const path = document.createElementNS(ns, 'path');
  path.setAttribute('d', end[0]);
  path.setAttribute('fill', end[1] ? color : 'none');
  path.setAttribute('stroke', end[1] ? 'none' : color);
  path.setAttribute('stroke-width', end[1] ? '0' : '1.5');
  marker.appendChild(path);
  return marker;
}
