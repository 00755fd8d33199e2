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
  snapResize,
} from './geometry.js';
import {
  BOTTOM,
  CONTAINER_HEIGHT,
  CONTAINER_WIDTH,
  HEIGHT,
  INT,
  LEFT,
  RIGHT,
  ROTATE_Z,
  TOP,
  WIDTH,
  action,
  geometryAction,
  param,
} from './requests.js';
import { DrawTool } from './drawtool.js';
import { PointEditing } from './pointedit.js';
import { anchorSides, parseLength } from '../player/units.js';

// Screen pixels a press may wander before it becomes a drag, and the snapping distance.
const DRAG_START = 3;
const SNAP = 6;

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

// The selected nodes a move takes: unlocked ones, and none inside another that moves (it goes
// with its parent).
function movable(page) {
  const nodes = page
    .selection()
    .map((id) => page.node(id))
    .filter((n) => n && n.data.locked !== true);
  const set = new Set(nodes);
  const inside = (n) => {
    for (let a = n.parent; a; a = a.parent) if (set.has(a)) return true;
    return false;
  };
  return nodes.filter((n) => !inside(n));
}

function round(v) {
  return Math.round(v * 1e6) / 1e6;
}

export class Gestures {
  constructor(page) {
    this.page = page;
    this.g = null;
    this.space = false;
    this.points = new PointEditing(page);
    this.draw = new DrawTool(page, this, SNAP);
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
    if (!p.model) return;
    if (p.playing) {
      // A press on the stage stops the playback; the editor answers with pause.
      p.call('pauseTimeline');
      return;
    }
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
      this.draw.start(start);
      return;
    }
    if (p.pointEditing >= 0) {
      const g = this.points.start(start);
      if (g) {
        this.g = g;
        return;
      }
    }
    if (p.containerHandler) {
      const r = (SNAP + 1) / p.zoom;
      const h = p.containerHandles().find((c) => Math.abs(c.x - at.x) <= r && Math.abs(c.y - at.y) <= r);
      if (h) {
        this.g = { ...start, kind: 'container', which: h.name, w0: p.containerW, h0: p.containerH };
        return;
      }
    }
    const sel = p.selection();
    if (sel.length === 1) {
      const node = p.node(sel[0]);
      if (node && node.data.locked !== true) {
        const h = handleAt(p.drawnBox(node), at, (SNAP + 1) / p.zoom, p.zoom);
        if (h) {
          this.g = { ...start, kind: h.name === 'rotate' ? 'rotate' : 'resize', handle: h, node, box0: p.drawnBox(node) };
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
    const wasAlone = sel.length === 1 && sel[0] === id;
    if (!sel.includes(id)) p.select([id], id);
    else if (p.focusedId !== id) {
      p.focusedId = id;
      p.call('setFocusedItemId', id);
    }
    this.g = { ...start, kind: 'move', id, wasAlone, nodes: movable(p).map((n) => ({ node: n, box0: p.boxOf(n), drawn0: p.drawnBox(n) })) };
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
        const b = n.drawn0;
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
    p.guides = [];
    if (p.snap && !keepRatio) {
      const s = snapResize(g.box, g.handle, p.targets([g.node.id]), SNAP / p.zoom);
      g.box = s.box;
      p.guides = s.guides;
    }
    g.preview = true;
    this.preview(g.node, p.layoutBox(g.node, g.box));
    p.drawOverlay();
  }

  drag_rotate(g, at) {
    const p = this.page;
    g.rot = rotationAfter(g.box0.rot, center(g.box0), g.at, at, g.shiftNow ? 15 : 0);
    g.preview = true;
    this.preview(g.node, p.layoutBox(g.node, g.box0), g.rot);
    p.drawOverlay();
  }

  drag_marquee(g, at) {
    const p = this.page;
    p.marquee = rectFromPoints(g.at, at);
    p.drawOverlay();
  }

  drag_draw(g, at) {
    this.draw.drag(g, at);
  }

  drag_container(g, at) {
    const p = this.page;
    const d = sub(at, g.at);
    if (g.which.includes('w')) p.containerW = Math.max(1, Math.round(g.w0 + d.x));
    if (g.which.includes('h')) p.containerH = Math.max(1, Math.round(g.h0 + d.y));
    p.drawOverlay();
  }

  drag_point(g, at) {
    this.points.drag(g, at);
  }

  up(e) {
    const g = this.g;
    const p = this.page;
    if (!g) return;
    if (g.kind === 'pan') {
      this.g = null;
      return;
    }
    if (g.kind === 'draw' && g.path) {
      // Free-form shapes are drawn click by click; a press that wandered still adds its point.
      this.draw.addPoint(g, p.toStage(e.clientX, e.clientY));
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
      else if (!g.dragging && g.wasAlone && p.editTextOnSingleClick && p.text.canEdit(g.id)) p.text.start(g.id);
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
    const values = geometryValues(g.node, this.page.layoutBox(g.node, g.box), this.parentOrigin(g.node), { size: true });
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
    this.draw.finish(g);
  }

  // The container's new size: one request with a width and a height change as they changed; the
  // scene is laid out again in it.
  finish_container(g) {
    const p = this.page;
    const actions = [];
    if (p.containerW !== g.w0) actions.push(action(CONTAINER_WIDTH, [param(INT, p.containerW)]));
    if (p.containerH !== g.h0) actions.push(action(CONTAINER_HEIGHT, [param(INT, p.containerH)]));
    if (!actions.length) return p.drawOverlay();
    p.submit(actions, 'Change Container Size');
    p.relayout();
    return undefined;
  }

  finish_point(g) {
    this.points.finish(g);
  }

  // Applies geometry values to the page's copy, draws the scene again and sends one request.
  commit(actions, changes, text) {
    const p = this.page;
    for (const [id, values] of changes) {
      p.model.setGeometry(id, values);
      p.renewIds.add(id);
    }
    p.flush();
    p.submit(actions, text);
  }

  // ---- Other input ------------------------------------------------------------------------------

  doubleClick(e) {
    const p = this.page;
    if (!p.model) return;
    if (this.g && this.g.kind === 'draw' && this.g.path) {
      this.draw.finishPath();
      return;
    }
    const id = p.hit(p.toStage(e.clientX, e.clientY));
    const node = id >= 0 ? p.node(id) : null;
    if (!node) return;
    // A symbol instance opens its symbol; text-holding elements enter text editing.
    if (Number(node.data.k) === 7) p.call('editSymbol', id);
    else if (p.text.canEdit(id)) p.text.start(id);
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
    if (down && p.text.editing && e.key === 'Escape') {
      // Escape leaves text editing, keeping what was typed.
      p.text.stop();
      return;
    }
    if (!down || p.text.editing || !p.model) return;
    if (e.key === 'Escape') {
      // Escape abandons a drawing, else leaves point editing, else leaves the symbol being edited.
      if (this.g || p.tool) {
        this.cancel();
        this.draw.end();
      } else if (p.pointEditing >= 0) {
        p.pointEditing = -1;
        p.drawOverlay();
      } else if (p.symbolResourceId >= 0) {
        p.call('endEditSymbol');
      }
      return;
    }
    if (e.key === 'Enter' && this.g && this.g.path) {
      this.draw.finishPath();
      return;
    }
    const steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    const step = steps[e.key];
    if (!step || this.g) return;
    const nodes = movable(p);
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
