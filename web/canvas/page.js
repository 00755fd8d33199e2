// The editing stage: the scene the editor sends, drawn by the player's own scene and element code,
// under a layer of selection frames, handles, guides and the marquee; zoom and pan; playback driven
// by the editor's play, pause and time signals; and the view-update messages kept in step.
import { SceneView } from '../player/scene.js';
import { anchorSides, toPixels } from '../player/units.js';
import { createClock } from '../player/clock.js';
import { bounds, handles, hitTest, snapTargets } from './geometry.js';
import { request, selectionActions } from './requests.js';
import { SceneModel } from './scenemodel.js';
import { applyUpdate } from './updates.js';
import { Gestures } from './gestures.js';
import { TextEditing } from './textedit.js';

export const DEFAULT_OFFSET = { x: 200, y: 150 };
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
.kv-draft{position:absolute;border:1px dashed #333}
.kv-editing{outline:1px solid #1e88e5;cursor:text;user-select:text}
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
    this.pending = false;
    this.calls = [];
    this.guides = [];
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

  // Calls a slot of the canvas object (an overload by its signature when the channel lists one).
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
    this.loaderData = data.canvasLoaderData || null;
    this.outputCss(typeof data.outputCss === 'string' ? data.outputCss : '');
    this.time = Number(data.scene.currentTime) || 0;
    this.stage.style.display = '';
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
    if (!this.model) return;
    if (this.view) this.view.root.el.remove();
    this.view = new SceneView(this.model.data, {
      layout: [0, 0],
      containerSize: [this.containerW, this.containerH],
      resourceUrl: (id) => this.resourceUrl(id),
      resourceFiles: (id) => this.resourceFiles(id),
      symbol: (id) => {
        const r = this.resources.get(Number(id));
        return r && r[3] && typeof r[3] === 'object' && !Array.isArray(r[3]) ? r[3] : null;
      },
    });
    for (const node of this.view.order) {
      if (!node.parent) continue;
      // Hidden elements are not drawn; the media never play by themselves on the stage.
      if (node.data.visible === false) node.el.style.visibility = 'hidden';
      if (node.picture && node.picture.autoplay) node.picture.autoplay = false;
    }
    this.stage.appendChild(this.view.root.el);
    this.view.render(this.time, false);
    this.stage.style.width = `${this.view.root.wpx}px`;
    this.stage.style.height = `${this.view.root.hpx}px`;
    if (this.fit) this.fitToViewport();
    this.drawOverlay();
  }

  // Redraws at the end of the current task (several messages of one command draw once).
  scheduleRebuild() {
    if (this.pending) return;
    this.pending = true;
    Promise.resolve().then(() => this.pending && this.rebuild());
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
    if (effect.render) this.scheduleRebuild();
    if (effect.selection) this.drawOverlay();
    if (effect.end && this.pending) this.rebuild();
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

  // The scene's top-level elements as hit-test items, back to front.
  items() {
    if (!this.view) return [];
    return this.view.root.children.map((n) => ({
      id: n.id,
      box: this.boxOf(n),
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
    return snapTargets(
      this.stageSize(),
      this.items()
        .filter((it) => !moving.has(it.id) && !it.hidden)
        .map((it) => it.box),
    );
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
    this.zoom = zoom;
    this.offset = { x: (vw - w * zoom) / 2, y: (vh - h * zoom) / 2 };
    this.placeWorld();
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
    const o = this.overlay;
    if (!o) return;
    o.textContent = '';
    if (!this.view || this.playing) return;
    const add = (cls, css) => {
      const d = document.createElement('div');
      d.className = cls;
      Object.assign(d.style, css);
      o.appendChild(d);
      return d;
    };
    const z = this.zoom;
    const ids = this.selection();
    for (const id of ids) {
      const node = this.node(id);
      if (!node) continue;
      const b = this.boxOf(node);
      const tl = this.toView(b);
      const frame = add('kv-frame', { left: `${tl.x}px`, top: `${tl.y}px`, width: `${b.w * z}px`, height: `${b.h * z}px`, transform: b.rot ? `rotate(${b.rot}deg)` : '' });
      frame.dataset.kvFrame = String(id);
      if (ids.length === 1 && node.data.locked !== true && this.pointEditing !== id) {
        for (const h of handles(b, z)) {
          const p = this.toView(h);
          const el = add(`kv-handle ${h.name === 'rotate' ? 'rotate' : ''}`, { left: `${p.x}px`, top: `${p.y}px` });
          el.dataset.kvHandle = h.name;
        }
      }
    }
    if (this.pointEditing >= 0) this.gestures.drawPoints(add);
    for (const g of this.guides) {
      if (g.x !== undefined) add('kv-guide', { left: `${this.toView({ x: g.x, y: 0 }).x}px`, top: '0', width: '1px', height: '100000px' });
      else add('kv-guide', { top: `${this.toView({ x: 0, y: g.y }).y}px`, left: '0', height: '1px', width: '100000px' });
    }
    if (this.marquee) {
      const m = this.marquee;
      const p = this.toView(m);
      add('kv-marquee', { left: `${p.x}px`, top: `${p.y}px`, width: `${m.w * z}px`, height: `${m.h * z}px` });
    }
    if (this.draft) {
      const d = this.draft;
      const p = this.toView(d);
      add('kv-draft', { left: `${p.x}px`, top: `${p.y}px`, width: `${d.w * z}px`, height: `${d.h * z}px`, borderRadius: d.round || '' });
    }
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
