// Editing the points of a free-form shape: its anchors drawn on the overlay, an anchor dragged with
// its control points, the segment into the chosen anchor made straight, the path opened or closed.
// Each change is one request with the shape's new outline.
import { outlineAction } from './requests.js';
import { isOpenFreeform } from '../player/shapes.js';

// The free forms the editor makes of a closed and of an opened outline.
const FREEFORM_SHAPE = 594;
const FREEFORM_SCRIBBLE = 595;

// Screen pixels around an anchor that take the pointer.
const REACH = 7;

// A path point [x, y, x1, y1, x2, y2, ...] moved with its control points.
export function movePoint(pt, d) {
  const q = pt.slice();
  for (let i = 0; i < 6; i += 2) {
    q[i] = Math.round((Number(pt[i]) + d.x) * 100) / 100;
    q[i + 1] = Math.round((Number(pt[i + 1]) + d.y) * 100) / 100;
  }
  return q;
}

// The path with the segment into point i straight: its arriving control point and the previous
// point's leaving one lie on their anchors.
export function straighten(points, i) {
  const pts = points.map((pt) => pt.slice());
  if (!(i >= 0 && i < pts.length)) return pts;
  pts[i][2] = pts[i][0];
  pts[i][3] = pts[i][1];
  const prev = pts[(i - 1 + pts.length) % pts.length];
  prev[4] = prev[0];
  prev[5] = prev[1];
  return pts;
}

export class PointEditing {
  constructor(page) {
    this.page = page;
    this.index = -1;
  }

  // The anchor points of the shape being edited and its box on the stage.
  edited() {
    const p = this.page;
    const node = p.node(p.pointEditing);
    const el = p.model && p.model.element(p.pointEditing);
    if (!node || !el || !Array.isArray(el.s) || !Array.isArray(el.s[1])) return null;
    return { b: p.boxOf(node), node, points: el.s[1].filter(Array.isArray) };
  }

  draw(add) {
    const e = this.edited();
    if (!e) return;
    const p = this.page;
    e.points.forEach((pt, i) => {
      const v = p.toView({ x: e.b.x + pt[0], y: e.b.y + pt[1] });
      const d = add('kv-point', { left: `${v.x}px`, top: `${v.y}px` });
      d.dataset.kvPoint = String(i);
      if (i === this.index) d.style.background = '#e91e63';
    });
  }

  // The gesture of a press on an anchor (it becomes the chosen one), or null.
  start(start) {
    const e = this.edited();
    if (!e) return null;
    const p = this.page;
    const r = REACH / p.zoom;
    const index = e.points.findIndex((pt) => Math.abs(e.b.x + pt[0] - start.at.x) <= r && Math.abs(e.b.y + pt[1] - start.at.y) <= r);
    if (index < 0) return null;
    this.index = index;
    const points0 = e.points.map((pt) => pt.slice());
    p.drawOverlay();
    return { ...start, kind: 'point', index, points0, points: points0.map((pt) => pt.slice()) };
  }

  drag(g, at) {
    const p = this.page;
    g.points[g.index] = movePoint(g.points0[g.index], { x: at.x - g.at.x, y: at.y - g.at.y });
    g.preview = true;
    const node = p.node(p.pointEditing);
    if (node && node.shape) {
      node.shape.s = [node.shape.s[0], g.points, ...node.shape.s.slice(2)];
      node.outlineShape(node.wpx, node.hpx);
    }
    p.drawOverlay();
  }

  finish(g) {
    if (!g.preview) return;
    this.commit(this.page.pointEditing, g.points, 'Move Anchor Point');
  }

  straightSegment(id) {
    const p = this.page;
    const el = p.model && p.model.element(id);
    if (!el || p.pointEditing !== id || !Array.isArray(el.s) || !Array.isArray(el.s[1])) return;
    if (!(this.index >= 0 && this.index < el.s[1].length)) return;
    this.commit(id, straighten(el.s[1], this.index), 'Straight Segment');
  }

  // Opens or closes the outline of a free-form shape.
  openPath(id, open) {
    const p = this.page;
    const el = p.model && p.model.element(id);
    if (!el || !Array.isArray(el.s) || !Array.isArray(el.s[1])) return;
    p.submit([outlineAction(id, el.s[1], open)], open ? 'Open Path' : 'Close Path');
    // The editor changes the shape's kind with it and does not echo the page's own edit.
    if (isOpenFreeform(Number(el.s[0])) !== !!open) {
      el.s[0] = open ? FREEFORM_SCRIBBLE : FREEFORM_SHAPE;
      p.renewIds.add(id);
      p.flush();
    }
  }

  // The new outline in the page's copy, drawn, and sent.
  commit(id, points, text) {
    const p = this.page;
    const el = p.model.element(id);
    if (el && Array.isArray(el.s)) el.s[1] = points;
    p.submit([outlineAction(id, points)], text);
    p.renewIds.add(id);
    p.flush();
  }
}
