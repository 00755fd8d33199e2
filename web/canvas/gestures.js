// What the mouse, the wheel and the keys do on the stage: select (click, shift-click, marquee),
// move, resize with the handles, rotate, draw new shapes and free-form paths, edit path points,
// zoom and pan. Each finished gesture that changes the scene is one request to the editor.
import {
  center,
  handleAt,
  marqueeHits,
  rectFromPoints,
  resizeBox,
  rotationAfter,
  snapMove,
  snapPoint,
  squareFromPoints,
} from './geometry.js';
import { BOTTOM, HEIGHT, LEFT, RIGHT, ROTATE_Z, TOP, WIDTH, geometryAction, insertAction, outlineAction } from './requests.js';
import { drawnElement, isPathTool, pathPoints } from './drawing.js';
import { anchorSides, parseLength } from '../player/units.js';

// Screen pixels a press may wander before it becomes a drag, and the snapping distance.
const DRAG_START = 3;
const SNAP = 6;
// The size a click with a drawing tool gives.
const CLICK_SIZE = { w: 100, h: 100 };

const sub = (a, b) => ({ x: a.x - b.x, y: a.y - b.y });

// The geometry values of a node whose box (in its parent) moved and resized: positions from the
// side its coordinate type measures from, lengths in the unit the element keeps (a fraction of the
// parent's size for percent). A ratio ("auto") length is left as it is.
export function geometryValues(node, box, parentOrigin, { size = false } = {}) {
  const [pw, ph] = node.parentSize();
  const [hs, vs] = anchorSides(node.ct);
  const r = Array.isArray(node.base.r) ? node.base.r : [];
  const unit = (i) => parseLength(r[i] ?? 0).u;
  const out = (px, i, ref) => (unit(i) === '%' ? (ref ? px / ref : 0) : px);
  const left = box.x - parentOrigin.x - node.tf.tx;
  const top = box.y - parentOrigin.y - node.tf.ty;
  const values = {};
  if (hs === 'right') values[RIGHT] = round(out(pw - left - box.w, 0, pw));
  else values[LEFT] = round(out(left, 0, pw));
  if (vs === 'bottom') values[BOTTOM] = round(out(ph - top - box.h, 1, ph));
  else values[TOP] = round(out(top, 1, ph));
  if (size) {
    if (unit(2) !== 'a') values[WIDTH] = round(out(box.w, 2, pw));
    if (unit(3) !== 'a') values[HEIGHT] = round(out(box.h, 3, ph));
  }
  return values;
}

function round(v) {
  return Math.round(v * 1e6) / 1e6;
}

export class Gestures {
  constructor(page) {
    this.page = page;
    this.g = null;
    this.space = false;
    const vp = page.viewport;
    vp.addEventListener('pointerdown', (e) => this.down(e));
    vp.addEventListener('pointermove', (e) => this.move(e));
    vp.addEventListener('pointerup', (e) => this.up(e));
    vp.addEventListener('pointercancel', () => this.cancel());
    vp.addEventListener('dblclick', (e) => this.doubleClick(e));
    vp.addEventListener('contextmenu', (e) => this.contextMenu(e));
    vp.addEventListener('wheel', (e) => this.wheel(e), { passive: false });
    window.addEventListener('keydown', (e) => this.key(e, true));
    window.addEventListener('keyup', (e) => this.key(e, false));
  }

  // Abandons the gesture in progress; the scene is drawn as the page's copy holds it.
  cancel() {
    const p = this.page;
    const had = this.g;
    this.g = null;
    p.marquee = null;
    p.draft = null;
    p.guides = [];
    if (had && had.preview && p.model) p.rebuild();
    else p.drawOverlay();
  }

  // The parent's corner of a node on the stage.
  parentOrigin(node) {
    if (!node.parent || !node.parent.parent) return { x: 0, y: 0 };
    const b = this.page.boxOf(node.parent);
    return { x: b.x, y: b.y };
  }

  // Shows a node at a box without telling anyone (during a drag).
  preview(node, box, rot) {
    const [pw, ph] = node.parentSize();
    const [hs, vs] = anchorSides(node.ct);
    const o = this.parentOrigin(node);
    const left = box.x - o.x - node.tf.tx;
    const top = box.y - o.y - node.tf.ty;
    node.set(hs === 'right' ? 'rt' : 'lt', hs === 'right' ? pw - left - box.w : left);
    node.set(vs === 'bottom' ? 'b' : 'tp', vs === 'bottom' ? ph - top - box.h : top);
    if (box.w !== node.wpx) node.set('w', box.w);
    if (box.h !== node.hpx) node.set('h', box.h);
    if (rot !== undefined) node.set('rZ', rot);
    for (const n of node.walk()) if (n.dirty) n.flush();
  }

  down(e) {
    const p = this.page;
    if (!p.model || p.playing) return;
    const at = p.toStage(e.clientX, e.clientY);
    if (e.button === 1 || (e.button === 0 && this.space)) {
      this.g = { kind: 'pan', last: { x: e.clientX, y: e.clientY } };
      this.capture(e);
      return;
    }
    if (e.button !== 0) return;
    if (p.text.editing && p.text.contains(e.target)) return;
    if (p.text.editing) p.text.stop();
    this.capture(e);
    const start = { at, client: { x: e.clientX, y: e.clientY }, shift: e.shiftKey, alt: e.altKey };
    if (p.tool) {
      this.startDrawing(start);
      return;
    }
    if (p.pointEditing >= 0 && this.startPoint(start)) return;
    const sel = p.selection();
    if (sel.length === 1) {
      const node = p.node(sel[0]);
      if (node && node.data.locked !== true) {
        const h = handleAt(p.boxOf(node), at, (SNAP + 1) / p.zoom, p.zoom);
        if (h) {
          this.g = { ...start, kind: h.name === 'rotate' ? 'rotate' : 'resize', handle: h, node, box0: p.boxOf(node) };
          return;
        }
      }
    }
    const id = p.hit(at);
    if (id < 0) {
      this.g = { ...start, kind: 'marquee', before: e.shiftKey ? sel : [] };
      return;
    }
    if (e.shiftKey) {
      const next = sel.includes(id) ? sel.filter((x) => x !== id) : [...sel, id];
      p.select(next, next.includes(id) ? id : next[next.length - 1] ?? -1);
      return;
    }
    if (!sel.includes(id)) p.select([id], id);
    else if (p.focusedId !== id) {
      p.focusedId = id;
      p.call('setFocusedItemId', id);
    }
    const moving = p
      .selection()
      .map((x) => p.node(x))
      .filter((n) => n && n.data.locked !== true);
    this.g = { ...start, kind: 'move', id, nodes: moving.map((n) => ({ node: n, box0: p.boxOf(n) })) };
  }

  capture(e) {
    try {
      this.page.viewport.setPointerCapture(e.pointerId);
    } catch (err) {
      // A synthetic pointer cannot be captured; the viewport still gets its moves.
    }
  }

  move(e) {
    const g = this.g;
    const p = this.page;
    if (!g) return;
    if (g.kind === 'pan') {
      p.panBy(e.clientX - g.last.x, e.clientY - g.last.y);
      g.last = { x: e.clientX, y: e.clientY };
      return;
    }
    const at = p.toStage(e.clientX, e.clientY);
    if (!g.dragging) {
      if (Math.hypot(e.clientX - g.client.x, e.clientY - g.client.y) < DRAG_START) return;
      g.dragging = true;
    }
    g.now = at;
    g.shiftNow = e.shiftKey;
    this[`drag_${g.kind}`](g, at, e);
  }

  drag_move(g, at) {
    const p = this.page;
    if (!g.nodes.length) return;
    let d = sub(at, g.at);
    p.guides = [];
    if (p.snap) {
      const union = g.nodes.reduce((u, n) => {
        const b = n.box0;
        if (!u) return { x: b.x, y: b.y, w: b.w, h: b.h, rot: 0 };
        const x = Math.min(u.x, b.x);
        const y = Math.min(u.y, b.y);
        return { x, y, w: Math.max(u.x + u.w, b.x + b.w) - x, h: Math.max(u.y + u.h, b.y + b.h) - y, rot: 0 };
      }, null);
      const s = snapMove(union, d.x, d.y, p.targets(g.nodes.map((n) => n.node.id)), SNAP / p.zoom);
      d = { x: s.dx, y: s.dy };
      p.guides = s.guides;
    }
    g.delta = d;
    g.preview = true;
    for (const { node, box0 } of g.nodes) this.preview(node, { ...box0, x: box0.x + d.x, y: box0.y + d.y });
    p.drawOverlay();
  }

  drag_resize(g, at) {
    const p = this.page;
    const d = sub(at, g.at);
    const keepRatio = g.shiftNow || g.node.data.aspectRatioLocked === true;
    g.box = resizeBox(g.box0, g.handle, d.x, d.y, { keepRatio });
    g.preview = true;
    this.preview(g.node, g.box);
    p.drawOverlay();
  }

  drag_rotate(g, at) {
    const p = this.page;
    g.rot = rotationAfter(g.box0.rot, center(g.box0), g.at, at, g.shiftNow ? 15 : 0);
    g.preview = true;
    this.preview(g.node, g.box0, g.rot);
    p.drawOverlay();
  }

  drag_marquee(g, at) {
    const p = this.page;
    p.marquee = rectFromPoints(g.at, at);
    p.drawOverlay();
  }

  drag_draw(g, at) {
    const p = this.page;
    const end = p.snap ? snapPoint(at, p.targets([]), SNAP / p.zoom) : at;
    if (g.scribble) {
      g.points.push(end);
      p.draft = rectFromPoints(
        { x: Math.min(...g.points.map((q) => q.x)), y: Math.min(...g.points.map((q) => q.y)) },
        { x: Math.max(...g.points.map((q) => q.x)), y: Math.max(...g.points.map((q) => q.y)) },
      );
    } else {
      g.end = end;
      p.draft = g.shiftNow ? squareFromPoints(g.start, end) : rectFromPoints(g.start, end);
      p.draft.round = p.tool.type === 'ellipse' ? '50%' : '';
    }
    p.drawOverlay();
  }

  drag_point(g, at) {
    const p = this.page;
    g.points[g.index] = movePoint(g.points0[g.index], sub(at, g.at));
    g.preview = true;
    const node = p.node(p.pointEditing);
    if (node && node.shape) {
      node.shape.s = [node.shape.s[0], g.points, ...node.shape.s.slice(2)];
      node.outlineShape(node.wpx, node.hpx);
    }
    p.drawOverlay();
  }

  up(e) {
    const g = this.g;
    const p = this.page;
    if (!g) return;
    if (g.kind === 'pan') {
      this.g = null;
      return;
    }
    if (g.kind === 'draw' && !g.dragging && g.path && !g.scribble) {
      // Free-form shapes are drawn click by click.
      this.addPathPoint(g, p.toStage(e.clientX, e.clientY));
      return;
    }
    this.g = null;
    p.guides = [];
    p.marquee = null;
    this[`finish_${g.kind}`](g);
  }

  finish_move(g) {
    const p = this.page;
    if (!g.dragging || !g.delta || (!g.delta.x && !g.delta.y)) {
      // A click on one of several selected elements selects it alone.
      if (!g.dragging && !g.shift && p.selection().length > 1) p.select([g.id], g.id);
      else p.drawOverlay();
      return;
    }
    const actions = [];
    const changes = [];
    for (const { node, box0 } of g.nodes) {
      const box = { ...box0, x: box0.x + g.delta.x, y: box0.y + g.delta.y };
      const values = geometryValues(node, box, this.parentOrigin(node));
      actions.push(geometryAction(node.id, p.layout, values));
      changes.push([node.id, values]);
    }
    this.commit(actions, changes, 'Change Geometry');
  }

  finish_resize(g) {
    if (!g.dragging || !g.box) return this.page.drawOverlay();
    const values = geometryValues(g.node, g.box, this.parentOrigin(g.node), { size: true });
    this.commit([geometryAction(g.node.id, this.page.layout, values)], [[g.node.id, values]], 'Change Geometry');
  }

  finish_rotate(g) {
    if (!g.dragging || g.rot === undefined) return this.page.drawOverlay();
    const values = { [ROTATE_Z]: g.rot };
    this.commit([geometryAction(g.node.id, this.page.layout, values)], [[g.node.id, values]], 'Change Geometry');
  }

  finish_marquee(g) {
    const p = this.page;
    if (!g.dragging) {
      if (!g.shift) p.select([]);
      return;
    }
    const box = rectFromPoints(g.at, g.now);
    const ids = marqueeHits(p.items(), box);
    const all = [...g.before, ...ids.filter((id) => !g.before.includes(id))];
    p.select(all);
  }

  finish_draw(g) {
    const p = this.page;
    let box;
    if (g.scribble) {
      if (g.points.length < 2) return this.endTool();
      return this.insertPath(g.points);
    }
    if (g.path) return undefined;
    if (!g.dragging) box = { x: g.start.x, y: g.start.y, ...CLICK_SIZE };
    else box = g.shiftNow ? squareFromPoints(g.start, g.end) : rectFromPoints(g.start, g.end);
    if (p.tool.line) {
      const a = g.start;
      const b = g.dragging ? g.end : { x: a.x + CLICK_SIZE.w, y: a.y };
      return this.insertPath([a, b]);
    }
    return this.insert(drawnElement(p.tool, box, p.model.maxId() + 1));
  }

  finish_point(g) {
    const p = this.page;
    if (!g.preview) return;
    const el = p.model.element(p.pointEditing);
    if (el && Array.isArray(el.s)) el.s[1] = g.points;
    p.submit([outlineAction(p.pointEditing, g.points)], 'Move Anchor Point');
    p.rebuild();
  }

  // Applies geometry values to the page's copy, draws the scene again and sends one request.
  commit(actions, changes, text) {
    const p = this.page;
    for (const [id, values] of changes) p.model.setGeometry(id, values);
    p.rebuild();
    p.submit(actions, text);
  }

  // ---- Drawing ----------------------------------------------------------------------------------

  startDrawing(start) {
    const p = this.page;
    const at = p.snap ? snapPoint(start.at, p.targets([]), SNAP / p.zoom) : start.at;
    const g = this.g && this.g.kind === 'draw' && this.g.path ? this.g : null;
    if (g) {
      // The next click of a free-form shape.
      g.client = start.client;
      g.dragging = false;
      return;
    }
    const path = isPathTool(p.tool);
    this.g = { ...start, kind: 'draw', start: at, path: path && !p.tool.line, scribble: p.tool.scribble === true, points: [at] };
  }

  addPathPoint(g, at) {
    const p = this.page;
    const first = g.points[0];
    const close = g.points.length > 2 && Math.hypot(at.x - first.x, at.y - first.y) <= SNAP / p.zoom;
    if (close) {
      this.g = null;
      this.insertPath(g.points);
      return;
    }
    const last = g.points[g.points.length - 1];
    if (!last || last.x !== at.x || last.y !== at.y) g.points.push(at);
    const xs = g.points.map((q) => q.x);
    const ys = g.points.map((q) => q.y);
    p.draft = rectFromPoints({ x: Math.min(...xs), y: Math.min(...ys) }, { x: Math.max(...xs), y: Math.max(...ys) });
    p.drawOverlay();
  }

  // Ends a free-form shape drawn click by click (double-click or Enter).
  finishPath() {
    const g = this.g;
    if (!g || g.kind !== 'draw' || !g.path) return;
    this.g = null;
    if (g.points.length >= 2) this.insertPath(g.points);
    else this.endTool();
  }

  insertPath(points) {
    const p = this.page;
    const { box, pts } = pathPoints(points);
    this.insert(drawnElement(p.tool, box, p.model.maxId() + 1, pts));
  }

  // Shows the drawn element at once (selected alone) and asks the editor to insert it.
  insert(made) {
    const p = this.page;
    for (const id of p.selection()) p.model.setSelected(id, false);
    p.model.insert(made.local, -1, 0);
    p.submit([insertAction(made.request, p.model.id)], `Insert ${made.kindName}`);
    p.focusedId = made.local.id;
    p.call('setFocusedItemId', made.local.id);
    this.endTool();
    p.rebuild();
  }

  endTool() {
    const p = this.page;
    p.tool = null;
    p.draft = null;
    p.viewport.style.cursor = '';
    p.drawOverlay();
  }

  // ---- Point editing ----------------------------------------------------------------------------

  // The anchor points of the shape being edited, on the stage.
  editedPoints() {
    const p = this.page;
    const node = p.node(p.pointEditing);
    const el = p.model && p.model.element(p.pointEditing);
    if (!node || !el || !Array.isArray(el.s) || !Array.isArray(el.s[1])) return null;
    const b = p.boxOf(node);
    return { b, node, points: el.s[1].filter(Array.isArray) };
  }

  drawPoints(add) {
    const e = this.editedPoints();
    if (!e) return;
    const p = this.page;
    e.points.forEach((pt, i) => {
      const v = p.toView({ x: e.b.x + pt[0], y: e.b.y + pt[1] });
      const d = add('kv-point', { left: `${v.x}px`, top: `${v.y}px` });
      d.dataset.kvPoint = String(i);
      if (i === this.pointIndex) d.style.background = '#e91e63';
    });
  }

  startPoint(start) {
    const e = this.editedPoints();
    if (!e) return false;
    const p = this.page;
    const r = (SNAP + 1) / p.zoom;
    const index = e.points.findIndex((pt) => Math.abs(e.b.x + pt[0] - start.at.x) <= r && Math.abs(e.b.y + pt[1] - start.at.y) <= r);
    if (index < 0) return false;
    this.pointIndex = index;
    const points0 = e.points.map((pt) => pt.slice());
    this.g = { ...start, kind: 'point', index, points0, points: points0.map((pt) => pt.slice()) };
    p.drawOverlay();
    return true;
  }

  // Makes the segment into the selected point straight: its arriving control point and the
  // previous point's leaving one move onto their anchors.
  straightSegment(id) {
    const p = this.page;
    const el = p.model && p.model.element(id);
    if (!el || p.pointEditing !== id || !Array.isArray(el.s) || !Array.isArray(el.s[1])) return;
    const i = this.pointIndex;
    const pts = el.s[1].map((pt) => pt.slice());
    if (!(i >= 0 && i < pts.length)) return;
    pts[i][2] = pts[i][0];
    pts[i][3] = pts[i][1];
    const prev = pts[(i - 1 + pts.length) % pts.length];
    prev[4] = prev[0];
    prev[5] = prev[1];
    el.s[1] = pts;
    p.submit([outlineAction(id, pts)], 'Straight Segment');
    p.rebuild();
  }

  // Opens or closes the outline of a free-form shape.
  openPath(id, open) {
    const p = this.page;
    const el = p.model && p.model.element(id);
    if (!el || !Array.isArray(el.s) || !Array.isArray(el.s[1])) return;
    p.submit([outlineAction(id, el.s[1], open)], open ? 'Open Path' : 'Close Path');
  }

  // ---- Other input ------------------------------------------------------------------------------

  doubleClick(e) {
    const p = this.page;
    if (!p.model) return;
    if (this.g && this.g.kind === 'draw' && this.g.path) {
      this.finishPath();
      return;
    }
    const id = p.hit(p.toStage(e.clientX, e.clientY));
    if (id >= 0 && p.text.canEdit(id)) p.text.start(id);
  }

  contextMenu(e) {
    e.preventDefault();
    const p = this.page;
    if (p.model && !p.text.editing) {
      const id = p.hit(p.toStage(e.clientX, e.clientY));
      if (id >= 0 && !p.selection().includes(id)) p.select([id], id);
    }
    p.call('onShowContextMenu');
  }

  wheel(e) {
    const p = this.page;
    e.preventDefault();
    if (e.ctrlKey) {
      const r = p.viewport.getBoundingClientRect();
      const factor = e.deltaY < 0 ? 1.1 : 1 / 1.1;
      p.setZoom(p.zoom * factor, true, { x: e.clientX - r.left, y: e.clientY - r.top });
      return;
    }
    const dx = e.shiftKey ? e.deltaY : e.deltaX;
    const dy = e.shiftKey ? 0 : e.deltaY;
    p.panBy(-dx, -dy);
  }

  key(e, down) {
    const p = this.page;
    if (e.key === ' ' && !p.text.editing) this.space = down;
    if (!down || p.text.editing || !p.model) return;
    if (e.key === 'Escape') {
      if (this.g || p.tool) {
        this.cancel();
        this.endTool();
      }
      return;
    }
    if (e.key === 'Enter' && this.g && this.g.path) {
      this.finishPath();
      return;
    }
    const steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    const step = steps[e.key];
    if (!step || this.g) return;
    const nodes = p
      .selection()
      .map((id) => p.node(id))
      .filter((n) => n && n.data.locked !== true);
    if (!nodes.length) return;
    e.preventDefault();
    const k = e.shiftKey ? 10 : 1;
    const actions = [];
    const changes = [];
    for (const node of nodes) {
      const b = p.boxOf(node);
      const values = geometryValues(node, { ...b, x: b.x + step[0] * k, y: b.y + step[1] * k }, this.parentOrigin(node));
      actions.push(geometryAction(node.id, p.layout, values));
      changes.push([node.id, values]);
    }
    this.commit(actions, changes, 'Change Geometry');
  }
}

// A path point [x, y, x1, y1, x2, y2, ...] moved with its control points.
function movePoint(pt, d) {
  const q = pt.slice();
  for (let i = 0; i < 6; i += 2) {
    q[i] = Math.round((Number(pt[i]) + d.x) * 100) / 100;
    q[i + 1] = Math.round((Number(pt[i + 1]) + d.y) * 100) / 100;
  }
  return q;
}
