// Plane geometry of the editing stage, in stage pixels: boxes {x, y, w, h, rot} whose rotation (in
// degrees, clockwise on screen) turns them about their centre, hit-testing, the marquee, the
// resize and rotation handles, and snapping to the stage and to other elements.

const RAD = Math.PI / 180;

// The box between two points, whichever way the drag went.
export function rectFromPoints(a, b) {
  const x = Math.min(a.x, b.x);
  const y = Math.min(a.y, b.y);
  return { x, y, w: Math.abs(b.x - a.x), h: Math.abs(b.y - a.y), rot: 0 };
}

// A drag from a to b drawn as a square (or a circle's box): the longer side wins, the box keeps
// the drag's direction.
export function squareFromPoints(a, b) {
  const side = Math.max(Math.abs(b.x - a.x), Math.abs(b.y - a.y));
  const sx = b.x < a.x ? -1 : 1;
  const sy = b.y < a.y ? -1 : 1;
  return rectFromPoints(a, { x: a.x + sx * side, y: a.y + sy * side });
}

export function center(r) {
  return { x: r.x + r.w / 2, y: r.y + r.h / 2 };
}

export function rotatePoint(p, c, deg) {
  if (!deg) return { x: p.x, y: p.y };
  const cos = Math.cos(deg * RAD);
  const sin = Math.sin(deg * RAD);
  const dx = p.x - c.x;
  const dy = p.y - c.y;
  return { x: c.x + dx * cos - dy * sin, y: c.y + dx * sin + dy * cos };
}

// The four corners of a box as drawn, clockwise from its top left.
export function corners(r) {
  const c = center(r);
  return [
    { x: r.x, y: r.y },
    { x: r.x + r.w, y: r.y },
    { x: r.x + r.w, y: r.y + r.h },
    { x: r.x, y: r.y + r.h },
  ].map((p) => rotatePoint(p, c, r.rot || 0));
}

// The upright box around a box as drawn.
export function bounds(r) {
  if (!r.rot) return { x: r.x, y: r.y, w: r.w, h: r.h, rot: 0 };
  const pts = corners(r);
  const xs = pts.map((p) => p.x);
  const ys = pts.map((p) => p.y);
  const x = Math.min(...xs);
  const y = Math.min(...ys);
  return { x, y, w: Math.max(...xs) - x, h: Math.max(...ys) - y, rot: 0 };
}

// Whether a point lies inside a box as drawn (its edges count).
export function containsPoint(r, p) {
  const q = rotatePoint(p, center(r), -(r.rot || 0));
  return q.x >= r.x && q.x <= r.x + r.w && q.y >= r.y && q.y <= r.y + r.h;
}

// The id of the front-most item under a point; items are {id, box} in paint order (back to front).
// Locked and hidden items are passed over. -1 when none is hit.
export function hitTest(items, p) {
  for (let i = items.length - 1; i >= 0; --i) {
    const it = items[i];
    if (it.locked || it.hidden) continue;
    if (containsPoint(it.box, p)) return it.id;
  }
  return -1;
}

export function intersects(a, b) {
  return a.x <= b.x + b.w && b.x <= a.x + a.w && a.y <= b.y + b.h && b.y <= a.y + a.h;
}

// The ids the marquee touches: every unlocked, shown item whose drawn box meets it, in paint order.
export function marqueeHits(items, marquee) {
  return items.filter((it) => !it.locked && !it.hidden && intersects(bounds(it.box), marquee)).map((it) => it.id);
}

// The handles of a box: the eight resize handles, named by compass point, with the signs of the
// sides they move ({sx, sy}), and the rotation handle above the top edge, at their drawn places.
const HANDLES = [
  ['nw', -1, -1],
  ['n', 0, -1],
  ['ne', 1, -1],
  ['e', 1, 0],
  ['se', 1, 1],
  ['s', 0, 1],
  ['sw', -1, 1],
  ['w', -1, 0],
];
export const ROTATE_DISTANCE = 24;

export function handles(r, zoom = 1) {
  const c = center(r);
  const list = HANDLES.map(([name, sx, sy]) => ({
    name,
    sx,
    sy,
    ...rotatePoint({ x: c.x + (sx * r.w) / 2, y: c.y + (sy * r.h) / 2 }, c, r.rot || 0),
  }));
  list.push({ name: 'rotate', sx: 0, sy: 0, ...rotatePoint({ x: c.x, y: r.y - ROTATE_DISTANCE / zoom }, c, r.rot || 0) });
  return list;
}

// The handle near a point (within the radius), or null.
export function handleAt(r, p, radius = 5, zoom = 1) {
  for (const h of handles(r, zoom)) if (Math.abs(h.x - p.x) <= radius && Math.abs(h.y - p.y) <= radius) return h;
  return null;
}

// The box after dragging one of its resize handles by (dx, dy) on the stage: the drag is measured
// in the box's own turned frame, the opposite side or corner stays where it is drawn, sizes stay at
// least minSize. keepRatio keeps the width-to-height ratio (a corner follows the larger change).
export function resizeBox(r, handle, dx, dy, { keepRatio = false, minSize = 1 } = {}) {
  const rot = r.rot || 0;
  const { sx, sy } = handle;
  const d = rotatePoint({ x: dx, y: dy }, { x: 0, y: 0 }, -rot);
  let w = sx ? r.w + sx * d.x : r.w;
  let h = sy ? r.h + sy * d.y : r.h;
  if (keepRatio && r.w > 0 && r.h > 0) {
    const ratio = r.w / r.h;
    if (sx && sy) {
      if (Math.abs(w / r.w) >= Math.abs(h / r.h)) h = w / ratio;
      else w = h * ratio;
    } else if (sx) {
      h = w / ratio;
    } else {
      w = h * ratio;
    }
  }
  w = Math.max(minSize, w);
  h = Math.max(minSize, h);
  const c = center(r);
  // The fixed point, in the frame centred on the box.
  const fx = sx ? (-sx * r.w) / 2 : 0;
  const fy = sy ? (-sy * r.h) / 2 : 0;
  const fixed = rotatePoint({ x: c.x + fx, y: c.y + fy }, c, rot);
  const nfx = sx ? (-sx * w) / 2 : 0;
  const nfy = sy ? (-sy * h) / 2 : 0;
  const off = rotatePoint({ x: nfx, y: nfy }, { x: 0, y: 0 }, rot);
  const nc = { x: fixed.x - off.x, y: fixed.y - off.y };
  return { x: nc.x - w / 2, y: nc.y - h / 2, w, h, rot };
}

// The rotation after turning the rotation handle from one point to another about a centre; with
// step, the angle goes to the nearest multiple of it. Normalised to (-180, 180].
export function rotationAfter(startRot, c, from, to, step = 0) {
  const a0 = Math.atan2(from.y - c.y, from.x - c.x);
  const a1 = Math.atan2(to.y - c.y, to.x - c.x);
  let deg = startRot + (a1 - a0) / RAD;
  if (step > 0) deg = Math.round(deg / step) * step;
  deg = ((((deg + 180) % 360) + 360) % 360) - 180;
  if (deg === -180) deg = 180;
  return Math.round(deg * 1000) / 1000;
}

// Lines the moving boxes snap to: the stage's edges and centre, and the edges and centres of the
// other elements' drawn boxes.
export function snapTargets(stage, others) {
  const xs = [0, stage.w / 2, stage.w];
  const ys = [0, stage.h / 2, stage.h];
  for (const o of others) {
    const b = bounds(o);
    xs.push(b.x, b.x + b.w / 2, b.x + b.w);
    ys.push(b.y, b.y + b.h / 2, b.y + b.h);
  }
  return { xs, ys };
}

function nearest(values, lines, threshold) {
  let best = null;
  for (const v of values) {
    for (const l of lines) {
      const d = l - v;
      if (Math.abs(d) <= threshold && (!best || Math.abs(d) < Math.abs(best.d))) best = { d, line: l };
    }
  }
  return best;
}

// The move (dx, dy) of a box adjusted so that its left, centre or right (top, middle or bottom)
// meets the closest target line within the threshold; guides lists the lines met ({x} or {y}).
export function snapMove(box, dx, dy, targets, threshold) {
  const b = bounds(box);
  const moved = { x: b.x + dx, y: b.y + dy };
  const gx = nearest([moved.x, moved.x + b.w / 2, moved.x + b.w], targets.xs, threshold);
  const gy = nearest([moved.y, moved.y + b.h / 2, moved.y + b.h], targets.ys, threshold);
  const guides = [];
  if (gx) guides.push({ x: gx.line });
  if (gy) guides.push({ y: gy.line });
  return { dx: dx + (gx ? gx.d : 0), dy: dy + (gy ? gy.d : 0), guides };
}

// An upright box being resized by a handle, its moving sides brought onto the closest target lines
// within the threshold (the other sides stay). Turned boxes are left as they are.
export function snapResize(box, handle, targets, threshold) {
  if (box.rot) return { box, guides: [] };
  let { x, y, w, h } = box;
  const guides = [];
  if (handle.sx) {
    const edge = handle.sx > 0 ? x + w : x;
    const g = nearest([edge], targets.xs, threshold);
    if (g) {
      if (handle.sx > 0) w += g.d;
      else {
        x += g.d;
        w -= g.d;
      }
      guides.push({ x: g.line });
    }
  }
  if (handle.sy) {
    const edge = handle.sy > 0 ? y + h : y;
    const g = nearest([edge], targets.ys, threshold);
    if (g) {
      if (handle.sy > 0) h += g.d;
      else {
        y += g.d;
        h -= g.d;
      }
      guides.push({ y: g.line });
    }
  }
  return { box: { ...box, x, y, w: Math.max(1, w), h: Math.max(1, h) }, guides };
}

// A point (a corner being drawn or dragged) moved onto the closest target lines within the
// threshold.
export function snapPoint(p, targets, threshold) {
  const gx = nearest([p.x], targets.xs, threshold);
  const gy = nearest([p.y], targets.ys, threshold);
  return { x: p.x + (gx ? gx.d : 0), y: p.y + (gy ? gy.d : 0) };
}

// Rounds stage pixels to hundredths, as the model keeps them.
export function roundPx(v) {
  return Math.round(v * 100) / 100;
}
