// One scene on the page: its element tree, built for one layout, and its main timeline. Symbol
// instances in the tree show a scene of their symbol the same way, at the time their playback
// entries give.
import { ElementNode } from './node.js';
import { Timeline } from './timeline.js';
import { syncMedia } from './content.js';
import { crossed, Playhead } from './playhead.js';

// Breakpoints of the player data, {h: [[id, value], ...], v: [...]}.
export function readBreakpoints(b) {
  const list = (l) => (Array.isArray(l) ? l.filter(Array.isArray).map((x) => [Number(x[0]) || 0, Number(x[1]) || 0]) : []);
  const o = b && typeof b === 'object' ? b : {};
  return { h: list(o.h), v: list(o.v) };
}

// The layout for a container size: per direction the breakpoint with the greatest value not above
// the size, 0 (the base) when there is none.
export function layoutFor(breakpoints, width, height) {
  const pick = (list, size) => {
    let best = null;
    for (const [id, value] of list) if (value <= size && (!best || value > best[1])) best = [id, value];
    return best ? best[0] : 0;
  };
  return [pick(breakpoints.h, width), pick(breakpoints.v, height)];
}

// The position in a symbol's timeline (of length L) at a time of the timeline that plays it, from its
// playback entries: a play entry runs from its start position at its speed for its duration, a pause
// entry holds its position. Before the first entry an autoplaying symbol plays from its start.
export function playbackPosition(entries, time, length, autoplay) {
  let entry = null;
  for (const e of entries) if (e.t <= time) entry = e;
  const clampL = (v) => Math.max(0, Math.min(length, v));
  if (!entry) return autoplay ? clampL(time) : 0;
  const [kind, start = 0, speed = 1] = entry.a;
  if (kind >= 1 && kind <= 3) return clampL(start + Math.min(time - entry.t, entry.d) * speed);
  return clampL(start);
}

export class SceneView {
  // ctx: layout, containerSize, resourceUrl(id), resourceFiles(id), symbol(id) -> symbol data.
  // ctx.listen(node, view), when given, binds the event handlers of each element.
  constructor(data, ctx) {
    this.data = data;
    this.ctx = { ...ctx, preserve3d: data.t3d === true };
    this.root = new ElementNode(data, null, this.ctx);
    const s = this.root.el.style;
    this.root.el.classList.add('kv-scene');
    s.overflow = 'hidden';
    s.left = '0';
    s.top = '0';
    this.order = [...this.root.walk()];
    // Entries address the scene itself as 0; an element can never take that id or another's.
    this.nodes = new Map();
    for (const node of this.order) if (!this.nodes.has(node.id)) this.nodes.set(node.id, node);
    const timelines = Array.isArray(data.timelines) ? data.timelines : [];
    this.timeline = new Timeline(timelines[0], this.ctx.layout);
    this.symbols = this.order.filter((n) => Number(n.data.k) === 7 && n.parent);
    this.media = this.order.filter((n) => (Number(n.data.k) === 1 || Number(n.data.k) === 2) && n.picture);
    // The scene's other timelines, by id, from the time an action first controls them.
    this.extras = new Map();
    if (ctx.listen) for (const node of this.order) ctx.listen(node, this);
  }

  // Builds the node of an element again from (new) data, in its place among its siblings, for a
  // page that changes one element at a time; the nodes of the rest of the scene stay. Returns the
  // new node, or null for an id the view does not hold.
  renew(id, data) {
    const old = this.nodes.get(id);
    if (!old || !old.parent) return null;
    for (const n of old.walk()) if (n.picture && n.picture.pause) n.picture.pause();
    const parent = old.parent;
    const node = new ElementNode(data, parent, this.ctx);
    parent.el.insertBefore(node.el, old.el);
    old.el.remove();
    parent.children[parent.children.indexOf(old)] = node;
    const gone = [...old.walk()];
    this.order.splice(this.order.indexOf(old), gone.length, ...node.walk());
    for (const n of gone) if (this.nodes.get(n.id) === n) this.nodes.delete(n.id);
    for (const n of node.walk()) if (!this.nodes.has(n.id)) this.nodes.set(n.id, n);
    this.symbols = this.order.filter((n) => Number(n.data.k) === 7 && n.parent);
    this.media = this.order.filter((n) => (Number(n.data.k) === 1 || Number(n.data.k) === 2) && n.picture);
    if (this.ctx.listen) for (const n of node.walk()) this.ctx.listen(n, this);
    return node;
  }

  // The play head of a timeline of the scene other than the main one; null for the main timeline
  // and for an id that names none.
  extra(id, emit) {
    let h = this.extras.get(id);
    const list = Array.isArray(this.data.timelines) ? this.data.timelines : [];
    const d = list.find((x) => x && Number(x.id) === id);
    if (!h && d && d !== list[0]) this.extras.set(id, (h = new Playhead(new Timeline(d, this.ctx.layout), emit)));
    return h || null;
  }

  // Sets every animated value to a time, writes what changed, then shows the symbols at theirs and
  // lines the media up with their playback entries (playing only while the document plays).
  render(time, running = false) {
    const visit = (id, key, value) => {
      const node = this.nodes.get(id);
      if (node) node.set(key, value);
    };
    this.timeline.valuesAt(time, visit);
    for (const h of this.extras.values()) h.tl.valuesAt(h.now, visit);
    // Parents before their children: a parent's new size reaches the children in the same pass.
    for (const node of this.order) if (node.dirty) node.flush();
    for (const node of this.symbols) this.renderSymbol(node, time, running);
    for (const node of this.media) {
      const entries = this.timeline.playbacks.get(node.id);
      if (!entries || node.manual) continue;
      const position = playbackPosition(entries, time, Infinity, false);
      const entry = entries.filter((e) => e.t <= time).pop();
      const playing = !!entry && entry.a[0] >= 1 && entry.a[0] <= 3 && time < entry.t + entry.d;
      syncMedia(node.picture, position, running && playing, entry ? entry.a[2] || 1 : 1);
    }
  }

  // Pauses the media elements of the scene and of the symbols in it that follow playback entries,
  // or all of them.
  stopMedia(all = false) {
    for (const node of this.media) if ((all || !node.manual) && !node.picture.paused) node.picture.pause();
    for (const node of this.symbols) if (node.symbolView) node.symbolView.stopMedia(all);
  }

  renderSymbol(node, time, running) {
    // The symbols this view plays inside, outermost first: an instance of one of them would play
    // the symbol inside itself without end (a file can say so), so it stays empty.
    const within = this.ctx.within || [];
    const id = Number(node.data.rs);
    if (within.includes(id)) return;
    const data = this.ctx.symbol(node.data.rs);
    const scenes = data && Array.isArray(data.scenes) ? data.scenes.filter((x) => x && typeof x === 'object') : [];
    if (!scenes.length) return;
    const size = [node.wpx, node.hpx];
    const layout = layoutFor(readBreakpoints(data.b), size[0], size[1]);
    let view = node.symbolView;
    // The symbol is built again when its instance reaches another of its layouts.
    if (!view || view.ctx.layout[0] !== layout[0] || view.ctx.layout[1] !== layout[1]) {
      if (view) view.root.el.remove();
      view = node.symbolView = new SceneView(scenes[0], { ...this.ctx, layout, containerSize: size, within: [...within, id] });
      view.host = node;
      view.parentView = this;
      // The symbol's own handlers take the pointer events of its stage.
      if (this.ctx.listen) this.ctx.listen({ el: view.root.el, data }, view);
      if (node.head) node.head.tl = view.timeline;
      node.el.appendChild(view.root.el);
    } else if (view.ctx.containerSize[0] !== size[0] || view.ctx.containerSize[1] !== size[1]) {
      view.ctx.containerSize = size;
      view.root.ctx.containerSize = size;
      view.root.relayout();
    }
    const length = Math.max(0, Number(data.dur) || view.timeline.duration);
    const entries = this.timeline.playbacks.get(node.id) || [];
    // Once an action controls the symbol, its own play head gives the position; else the entries
    // do, and the symbol's triggers fire as the position passes them.
    const position = node.head ? node.head.now : playbackPosition(entries, time, length, node.data.ap === true);
    const from = node.position;
    node.position = position;
    view.render(position, running || !!(node.head && node.head.playing));
    if (running && !node.head && from !== undefined && this.ctx.trigger) {
      for (const t of crossed(view.timeline.triggers, from, position)) this.ctx.trigger(view, t);
    }
  }
}
