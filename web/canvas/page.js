// The editing stage: the scene the editor sends, drawn by the player's own scene and element code,
// under a layer of selection frames, handles, guides and the marquee; zoom and pan; playback driven
// by the editor's play, pause and time signals; and the view-update messages kept in step.
import { layoutFor, readBreakpoints, SceneView } from '../player/scene.js';
import { anchorSides, toPixels } from '../player/units.js';
import { createClock } from '../player/clock.js';
import { bounds, hitTest, snapTargets } from './geometry.js';
import { drawOverlay } from './overlay.js';
import { request, selectionActions } from './requests.js';
import { SceneModel } from './scenemodel.js';
import { applyUpdate } from './updates.js';
import { inertContent } from './inert.js';
import { Gestures } from './gestures.js';
import { TextEditing } from './textedit.js';
import { Rulers } from './rulers.js';

export const DEFAULT_OFFSET = { x: 200, y: 150 };

// The scale of a node and its transform origin as fractions, or null when it is not scaled or is
// mirrored or flattened.
function scaleOf(node) {
  const sx = node.tf.sx / 100;
  const sy = node.tf.sy / 100;
  if ((sx === 1 && sy === 1) || !(sx > 0) || !(sy > 0)) return null;
  return { sx, sy, ox: node.tf.ox / 100, oy: node.tf.oy / 100 };
}
const MIN_ZOOM = 0.1;
const MAX_ZOOM = 4;

const STYLE = `
html,body{margin:0;height:100%;overflow:hidden;background:#d9dadc;font-family:sans-serif}
#kv-viewport{position:fixed;left:0;top:0;right:0;bottom:0;overflow:hidden;user-select:none}
#kv-world{position:absolute;left:0;top:0;transform-origin:0 0}
#kv-stage{position:absolute;left:0;top:0;background:#fff;box-shadow:0 0 0 1px #b0b3b8}
#kv-overlay{position:absolute;left:0;top:0;width:0;height:0;pointer-events:none}
.kv-frame{position:absolute;border:1px solid #1e88e5;box-sizing:border-box;transform-origin:50% 50%}
.kv-handle{position:absolute;width:8px;height:8px;margin:-4px 0 0 -4px;background:#fff;border:1px solid #1e88e5;box-sizing:border-box}
.kv-handle.rotate{border-radius:50%}
.kv-point{position:absolute;width:8px;height:8px;margin:-4px 0 0 -4px;background:#1e88e5;border-radius:50%}
.kv-marquee{position:absolute;border:1px dashed #1e88e5;background:rgba(30,136,229,.08)}
.kv-guide{position:absolute;background:#e91e63}
.kv-ruler-guide{position:absolute;background:#00bcd4}
.kv-draft{position:absolute;border:1px dashed #333}
.kv-editing{outline:1px solid #1e88e5;cursor:text;user-select:text}
.kv-text[data-kv-placeholder]:empty:not(.kv-editing)::before{content:attr(data-kv-placeholder);opacity:.5}
`;

export class CanvasPage {
  // host: the canvas object on the channel (its slots are called, its signals listened to).
  // options.resourceBase: the prefix of resource file names ("resource://" by default).
  constructor(host, root, options = {}) {
    this.host = host;
    this.options = options;
    this.model = null;
    this.view = null;
    this.resources = new Map();
    this.symbolResourceId = -1;
    this.containerW = 0;
    this.containerH = 0;
    this.docAlign = 0;
    this.layout = [0, 0];
    this.responsive = false;
    this.breakpoints = null;
    this.autoKeyframe = false;
    this.snap = true;
    this.zoom = 1;
    this.fit = false;
    this.offset = { ...DEFAULT_OFFSET };
    this.time = 0;
    this.playing = false;
    this.focusedId = -1;
    this.tool = null;
    this.pointEditing = -1;
    this.rulerVisible = false;
    this.containerHandler = false;
    this.transformTool = 0;
    this.viewMode = 0;
    this.editTextOnSingleClick = false;
    this.textShortcuts = '';
    this.placeholder = '';
    this.pending = false;
    // Elements whose own data changed, drawn again at the end of the task unless the whole scene
    // is.
    this.renewIds = new Set();
    this.guides = [];
    // Guides pulled from the rulers: { axis: 'x' | 'y', value } in stage pixels.
    this.rulerGuides = [];
    this.marquee = null;
    this.draft = null;
    this.clock = createClock(
      (fn) => window.requestAnimationFrame(fn),
      (h) => window.cancelAnimationFrame(h),
    );
    this.tick = (dt) => this.advance(dt);
    this.buildDom(root);
    this.gestures = new Gestures(this);
    this.text = new TextEditing(this);
    this.rulers = new Rulers(this);
  }

  buildDom(root) {
    const style = document.createElement('style');
    style.textContent = STYLE;
    document.head.appendChild(style);
    this.viewport = document.createElement('div');
    this.viewport.id = 'kv-viewport';
    this.world = document.createElement('div');
    this.world.id = 'kv-world';
    this.stage = document.createElement('div');
    this.stage.id = 'kv-stage';
    this.world.appendChild(this.stage);
    this.overlay = document.createElement('div');
    this.overlay.id = 'kv-overlay';
    this.viewport.append(this.world, this.overlay);
    root.appendChild(this.viewport);
    this.placeWorld();
  }

  // ---- Calls to the editor ----------------------------------------------------------------------

  // Calls a slot of the canvas object; the editor picks among overloads by the arguments.
  call(name, ...args) {
    const fn = this.host[name];
    if (typeof fn !== 'function') return;
    try {
      fn.apply(this.host, args);
    } catch (e) {
      console.error(`Calling ${name} failed:`, e);
    }
  }

  // Submits one command made of actions (nothing without actions).
  submit(actions, text, runOnly = false) {
    if (!this.model || !actions.length) return null;
    const req = request(
      { sceneId: this.model.id, symbolResourceId: this.symbolResourceId, responsive: this.responsive, layout: this.layout },
      actions,
      text,
    );
    this.call('submitCommandFromJS', JSON.stringify(req), runOnly);
    // With automatic keyframes a geometry edit becomes keyframes the page does not hold; the
    // editor sends nothing back for the page's own edit, so the page asks for the scene again.
    if (this.autoKeyframe && !runOnly && actions.some((a) => a.cmd === 1000)) this.call('sendSceneDataToJS');
    return req;
  }

  // ---- The scene --------------------------------------------------------------------------------

  // The full scene from currentSceneChanged.
  setScene(hasScene, text) {
    this.text.stop();
    this.gestures.cancel();
    this.pause(this.time);
    let data = null;
    if (hasScene) {
      try {
        data = JSON.parse(text);
      } catch (e) {
        console.error('The scene data cannot be read:', e.message);
      }
    }
    if (!data || typeof data !== 'object' || !data.scene || typeof data.scene !== 'object') {
      this.model = null;
      if (this.view) this.view.root.el.remove();
      this.view = null;
      this.stage.style.display = 'none';
      this.drawOverlay();
      return;
    }
    this.model = new SceneModel(data.scene);
    this.resources = new Map();
    for (const r of Array.isArray(data.resources) ? data.resources : []) if (Array.isArray(r)) this.resources.set(Number(r[0]), r);
    this.symbolResourceId = Number.isInteger(data.symbolResourceId) ? data.symbolResourceId : -1;
    this.containerW = Number(data.containerW) || 0;
    this.containerH = Number(data.containerH) || 0;
    this.docAlign = Number(data.docAlign) || 0;
    this.autoKeyframe = data.autoAddKeyframe === true;
    this.containerHandler = data.showContainerHandler === true;
    this.transformTool = Number(data.transformTools) || 0;
    this.breakpoints = data.breakpoints && typeof data.breakpoints === 'object' ? data.breakpoints : null;
    this.pickLayout();
    this.loaderData = data.canvasLoaderData || null;
    this.outputCss(typeof data.outputCss === 'string' ? data.outputCss : '');
    this.time = Number(data.scene.currentTime) || 0;
    this.stage.style.display = '';
    this.rebuild();
  }

  // The layout being edited is the one the container's size falls in; edits with breakpoints
  // become overrides of it.
  pickLayout() {
    const bp = readBreakpoints(this.breakpoints);
    this.responsive = bp.h.length + bp.v.length > 0;
    this.layout = layoutFor(bp, this.containerW, this.containerH);
  }

  // The scene laid out again in a new container size.
  relayout() {
    this.pickLayout();
    this.rebuild();
  }

  outputCss(css) {
    if (!this.cssEl) {
      this.cssEl = document.createElement('style');
      this.cssEl.id = 'kv-output-css';
      document.head.appendChild(this.cssEl);
    }
    this.cssEl.textContent = css;
  }

  resourceUrl(id) {
    const r = this.resources.get(Number(id));
    const file = r && typeof r[3] === 'string' ? r[3] : '';
    return file ? (this.options.resourceBase ?? 'resource://') + file : '';
  }

  resourceFiles(id) {
    const r = this.resources.get(Number(id));
    const base = this.options.resourceBase ?? 'resource://';
    return r && Array.isArray(r[3]) ? r[3].filter((f) => typeof f === 'string').map((f) => base + f) : [];
  }

  // Builds the scene's nodes again from the page's copy and draws them at the current time.
  rebuild() {
    this.pending = false;
    this.renewIds.clear();
    if (!this.model) return;
    if (this.view) this.view.root.el.remove();
    this.view = new SceneView(this.model.data, {
      ...inertContent,
      layout: [0, 0],
      // A symbol being edited is already entered: an instance of it inside itself stays empty.
      within: this.symbolResourceId >= 0 ? [this.symbolResourceId] : [],
      containerSize: [this.containerW, this.containerH],
      resourceUrl: (id) => this.resourceUrl(id),
      resourceFiles: (id) => this.resourceFiles(id),
      symbol: (id) => {
        const r = this.resources.get(Number(id));
        return r && r[3] && typeof r[3] === 'object' && !Array.isArray(r[3]) ? r[3] : null;
      },
    });
    for (const node of this.view.order) if (node.parent) this.prepare(node);
    // The scene's own node carries the scene's id, which is of another number space than the
    // elements'.
    const rootEl = this.view.root.el;
    rootEl.removeAttribute('data-kv-id');
    rootEl.dataset.kvScene = String(this.model.id);
    // Elements outside the stage stay in sight while editing.
    rootEl.style.overflow = 'visible';
    this.stage.appendChild(rootEl);
    this.view.render(this.time, false);
    this.stage.style.width = `${this.view.root.wpx}px`;
    this.stage.style.height = `${this.view.root.hpx}px`;
    if (this.fit) this.fitToViewport();
    this.rulers.draw();
    this.drawOverlay();
  }

  // What the stage does to a new node: hidden elements are not drawn, the media never play by
  // themselves, empty text boxes show the placeholder.
  prepare(node) {
    if (node.data.visible === false) node.el.style.visibility = 'hidden';
    if (node.picture && node.picture.autoplay) node.picture.autoplay = false;
    if (node.picture && (node.picture.tagName === 'AUDIO' || node.picture.tagName === 'VIDEO')) this.watchMedia(node);
    if (Number(node.data.k) === 4 && node.textEl && !node.textEl.textContent && this.placeholder) {
      node.textEl.dataset.kvPlaceholder = this.placeholder;
    }
  }

  // Draws the pending changes: the whole scene, or only the elements whose data changed.
  flush() {
    if (this.pending) {
      this.rebuild();
      return;
    }
    if (!this.renewIds.size || !this.view) return;
    const ids = [...this.renewIds];
    this.renewIds.clear();
    for (const id of ids) {
      const data = this.model.element(id);
      const node = data && id !== 0 ? this.view.renew(id, data) : null;
      if (node) for (const n of node.walk()) this.prepare(n);
    }
    this.view.render(this.time, false);
    this.drawOverlay();
  }

  // Tells the editor a medium's natural size and length once the page has loaded it.
  watchMedia(node) {
    const media = node.picture;
    media.addEventListener('loadedmetadata', () => {
      const ms = Number.isFinite(media.duration) ? Math.round(media.duration * 1000) : 0;
      this.call('updateMediaProps', node.id, media.videoWidth || 0, media.videoHeight || 0, ms);
    });
  }

  // Redraws at the end of the current task (several messages of one command draw once): the whole
  // scene, or with an id only that element.
  scheduleRebuild(id) {
    if (this.pending) return;
    const first = !this.renewIds.size;
    if (id === undefined) this.pending = true;
    else this.renewIds.add(id);
    if (first) Promise.resolve().then(() => this.flush());
  }

  // A view-update message from the editor.
  applyMessage(text) {
    if (!this.model) return;
    let msg;
    try {
      msg = JSON.parse(text);
    } catch (e) {
      console.error('A view-update message cannot be read:', e.message);
      return;
    }
    if (!msg || typeof msg !== 'object') return;
    const effect = applyUpdate(this, msg);
    if (effect.time !== undefined) this.time = effect.time;
    if (effect.relayout) this.pickLayout();
    if (effect.render) this.scheduleRebuild(effect.element);
    if (effect.selection) this.drawOverlay();
    if (effect.end) this.flush();
  }

  // ---- Geometry of the nodes --------------------------------------------------------------------

  node(id) {
    return this.view ? this.view.nodes.get(id) || null : null;
  }

  // The drawn box of a node in stage pixels, without the turns of its parents.
  boxOf(node) {
    const [pw, ph] = node.parentSize();
    const [hs, vs] = anchorSides(node.ct);
    let x = toPixels(node.x, pw);
    let y = toPixels(node.y, ph);
    if (hs === 'right') x = pw - x - node.wpx;
    if (vs === 'bottom') y = ph - y - node.hpx;
    x += node.tf.tx;
    y += node.tf.ty;
    if (node.parent && node.parent.parent) {
      const p = this.boxOf(node.parent);
      x += p.x;
      y += p.y;
    }
    return { x, y, w: node.wpx, h: node.hpx, rot: node.tf.rz || 0 };
  }

  // The box of a node as drawn, its scale about its transform origin applied (positive scales; a
  // mirrored or flattened element keeps its laid-out box).
  drawnBox(node) {
    const b = this.boxOf(node);
    const s = scaleOf(node);
    if (!s) return b;
    return {
      x: b.x + s.ox * b.w * (1 - s.sx),
      y: b.y + s.oy * b.h * (1 - s.sy),
      w: b.w * s.sx,
      h: b.h * s.sy,
      rot: b.rot,
    };
  }

  // The laid-out box of a node whose drawn box is given (the inverse of drawnBox).
  layoutBox(node, d) {
    const s = scaleOf(node);
    if (!s) return d;
    const w = d.w / s.sx;
    const h = d.h / s.sy;
    return { x: d.x - s.ox * w * (1 - s.sx), y: d.y - s.oy * h * (1 - s.sy), w, h, rot: d.rot };
  }

  // The scene's top-level elements as hit-test items, back to front.
  items() {
    if (!this.view) return [];
    return this.view.root.children.map((n) => ({
      id: n.id,
      box: this.drawnBox(n),
      locked: n.data.locked === true,
      hidden: n.data.visible === false,
    }));
  }

  hit(p) {
    return hitTest(this.items(), p);
  }

  stageSize() {
    return this.view ? { w: this.view.root.wpx, h: this.view.root.hpx } : { w: 0, h: 0 };
  }

  // The lines boxes snap to while the given ids move.
  targets(movingIds) {
    const moving = new Set(movingIds);
    const t = snapTargets(
      this.stageSize(),
      this.items()
        .filter((it) => !moving.has(it.id) && !it.hidden)
        .map((it) => it.box),
    );
    // The rulers' guides while they show.
    if (this.rulerVisible) for (const g of this.rulerGuides) (g.axis === 'x' ? t.xs : t.ys).push(g.value);
    return t;
  }

  // ---- Selection --------------------------------------------------------------------------------

  selection() {
    return this.model ? this.model.selectedIds() : [];
  }

  // Makes the selection exactly ids: the page shows it at once and tells the editor (no undo step).
  select(ids, focus = ids.length ? ids[ids.length - 1] : -1) {
    if (!this.model) return;
    const before = this.selection();
    const actions = selectionActions(before, ids);
    for (const a of actions) this.model.setSelected(a.params[0].value, a.params[1].value);
    if (focus !== this.focusedId) {
      this.focusedId = focus;
      if (focus >= 0) this.call('setFocusedItemId', focus);
    }
    this.submit(actions, 'Change Selection', true);
    this.drawOverlay();
  }

  // ---- Zoom and pan -----------------------------------------------------------------------------

  placeWorld() {
    this.world.style.transform = `translate(${this.offset.x}px,${this.offset.y}px) scale(${this.zoom})`;
    if (this.rulers) this.rulers.draw();
    this.drawOverlay();
  }

  setZoom(z, notify = false, about = null) {
    const zoom = Math.max(MIN_ZOOM, Math.min(MAX_ZOOM, Number(z) || 1));
    if (about) {
      // The stage point under the cursor stays under it.
      const sx = (about.x - this.offset.x) / this.zoom;
      const sy = (about.y - this.offset.y) / this.zoom;
      this.offset = { x: about.x - sx * zoom, y: about.y - sy * zoom };
    }
    this.zoom = zoom;
    this.placeWorld();
    if (notify) {
      this.call('setZoomFactor', zoom);
      this.reportOffset();
    }
  }

  panBy(dx, dy) {
    this.offset = { x: this.offset.x + dx, y: this.offset.y + dy };
    this.placeWorld();
    this.reportOffset();
  }

  reportOffset() {
    this.call('setSceneOffset', this.offset.x, this.offset.y);
    this.call('setScrollValue', DEFAULT_OFFSET.x - this.offset.x, DEFAULT_OFFSET.y - this.offset.y);
  }

  fitToViewport() {
    const { w, h } = this.stageSize();
    const vw = this.viewport.clientWidth;
    const vh = this.viewport.clientHeight;
    if (!w || !h || !vw || !vh) return;
    const zoom = Math.max(MIN_ZOOM, Math.min(MAX_ZOOM, Math.min((vw - 40) / w, (vh - 40) / h)));
    const changed = zoom !== this.zoom;
    this.zoom = zoom;
    this.offset = { x: (vw - w * zoom) / 2, y: (vh - h * zoom) / 2 };
    this.placeWorld();
    // The editor's zoom box shows the factor that fits.
    if (changed) this.call('setZoomFactor', zoom);
    this.reportOffset();
  }

  // Viewport pixels (relative to the viewport's corner) to stage pixels and back.
  toStage(clientX, clientY) {
    const r = this.viewport.getBoundingClientRect();
    return { x: (clientX - r.left - this.offset.x) / this.zoom, y: (clientY - r.top - this.offset.y) / this.zoom };
  }

  toView(p) {
    return { x: this.offset.x + p.x * this.zoom, y: this.offset.y + p.y * this.zoom };
  }

  // ---- Playback ---------------------------------------------------------------------------------

  duration() {
    return this.view ? this.view.timeline.duration : 0;
  }

  play(ts) {
    if (!this.view) return;
    this.time = Number(ts) || 0;
    this.playing = true;
    this.clock.add(this.tick);
    this.view.render(this.time, true);
  }

  pause(ts) {
    const was = this.playing;
    this.playing = false;
    this.clock.remove(this.tick);
    if (ts !== undefined) this.time = Number(ts) || 0;
    if (this.view) {
      this.view.stopMedia();
      this.view.render(this.time, false);
    }
    if (was) this.drawOverlay();
  }

  seek(t) {
    this.time = Math.max(0, Number(t) || 0);
    if (this.view) this.view.render(this.time, this.playing);
    this.drawOverlay();
  }

  advance(dt) {
    if (!this.playing || !this.view) return;
    this.time = Math.min(this.duration(), this.time + dt);
    this.view.render(this.time, true);
    if (this.time >= this.duration()) this.pause();
  }

  // ---- The overlay ------------------------------------------------------------------------------

  drawOverlay() {
    drawOverlay(this);
  }

  // The handles that resize the container: its right edge, its bottom edge and its corner.
  containerHandles() {
    const w = this.containerW;
    const h = this.containerH;
    return [
      { name: 'w', x: w, y: h / 2 },
      { name: 'h', x: w / 2, y: h },
      { name: 'wh', x: w, y: h },
    ];
  }

  // ---- What the test hook reads -----------------------------------------------------------------

  // Boxes of every element in stage pixels, by id: {x, y, w, h, rot, left, top} where left and top
  // are the node's laid-out place in its parent.
  positions() {
    const out = {};
    if (!this.view) return out;
    for (const node of this.view.order) {
      if (!node.parent) continue;
      const b = bounds(this.boxOf(node));
      out[node.id] = { ...this.boxOf(node), bx: b.x, by: b.y, left: node.el.offsetLeft, top: node.el.offsetTop };
    }
    return out;
  }
}
