// A document playing in a container: the stage, the scenes in sequence and the main timeline of the
// scene shown, driven by the page's clock.
import { layoutFor, readBreakpoints, SceneView } from './scene.js';
import { Timeline } from './timeline.js';
import { sceneTransition, transitionStyles } from './transition.js';

// Joins the resource folder and a file name, with or without the folder's trailing "/".
export function joinFolder(folder, name) {
  if (!folder) return name;
  return folder.endsWith('/') ? folder + name : `${folder}/${name}`;
}

export class KavioDocument {
  constructor(data, container, options, clock) {
    this.data = data;
    this.container = container;
    this.options = options || {};
    this.clock = clock;
    this.scenes = Array.isArray(data.scenes) ? data.scenes.filter((s) => s && typeof s === 'object') : [];
    this.width = Number(data.w) || 0;
    this.height = Number(data.h) || 0;
    this.files = new Map();
    // Resource id to its file name, or to its list of files (audio and video).
    // Symbols: resource id to the symbol's data.
    this.symbolData = new Map();
    for (const r of Array.isArray(data.resources) ? data.resources : []) {
      if (!Array.isArray(r)) continue;
      if (typeof r[3] === 'string' || Array.isArray(r[3])) this.files.set(Number(r[0]), r[3]);
      else if (Number(r[1]) === 3 && r[3] && typeof r[3] === 'object') this.symbolData.set(Number(r[0]), r[3]);
    }
    this.folder = typeof data.resourceFolder === 'string' ? data.resourceFolder : '';
    this.breakpoints = readBreakpoints(data.b);
    this.layout = [0, 0];
    this.containerSize = [0, 0];
    this.index = -1;
    this.now = 0;
    this.timeline = new Timeline(null);
    this.root = null;
    this.transition = null;
    this.playing = false;
    this.tick = (dt) => this.advance(dt);

    const stage = (this.stage = document.createElement('div'));
    stage.className = 'kv-stage';
    stage.style.cssText = 'position:relative;overflow:hidden;';
    this.inner = document.createElement('div');
    this.inner.style.cssText = 'position:absolute;left:0;top:0;transform-origin:0 0;';
    stage.appendChild(this.inner);
    container.appendChild(stage);
    this.fit();
    if (this.scenes.length) this.show(0);
    this.fit();
  }

  resourceUrl(id) {
    const file = this.files.get(Number(id));
    return typeof file === 'string' && file ? joinFolder(this.folder, file) : '';
  }

  resourceFiles(id) {
    const files = this.files.get(Number(id));
    return Array.isArray(files) ? files.filter((f) => typeof f === 'string').map((f) => joinFolder(this.folder, f)) : [];
  }

  // Places and scales the stage in its container: centred horizontally, vertically or both, and
  // scaled to fit when asked. The offsets are relative positions, so the container's own place in the
  // page stays as it is.
  fit() {
    const c = this.container;
    const page = c === document.body || c === document.documentElement;
    const cw = page ? window.innerWidth : c.clientWidth;
    const ch = page ? window.innerHeight : c.clientHeight;
    const resized = cw !== this.containerSize[0] || ch !== this.containerSize[1];
    this.containerSize = [cw, ch];
    // A new layout for the container's size shows the scene again at the same time; in the same
    // layout, sizes given in percent of the container follow it.
    const layout = layoutFor(this.breakpoints, cw, ch);
    if (layout[0] !== this.layout[0] || layout[1] !== this.layout[1]) {
      this.layout = layout;
      if (this.root) {
        const now = this.now;
        this.show(this.index, true);
        this.seek(now);
      }
    } else if (resized && this.root) {
      this.root.ctx.containerSize = this.containerSize;
      this.root.relayout();
      this.render();
    }
    const [sw, sh] = this.root ? [this.root.wpx, this.root.hpx] : [this.width, this.height];
    let scale = 1;
    if (this.options.autofit && sw > 0 && sh > 0 && cw > 0 && ch > 0) scale = Math.min(cw / sw, ch / sh);
    const w = sw * scale;
    const h = sh * scale;
    const center = this.options.center || 'none';
    const s = this.stage.style;
    s.width = `${w}px`;
    s.height = `${h}px`;
    s.left = center === 'horizontal' || center === 'both' ? `${Math.max(0, (cw - w) / 2)}px` : '0';
    s.top = center === 'vertical' || center === 'both' ? `${Math.max(0, (ch - h) / 2)}px` : '0';
    this.inner.style.transform = scale === 1 ? '' : `scale(${scale})`;
    this.scale = scale;
  }

  // Shows the scene of an index from the start of its main timeline. While playing, the scene enters
  // with its transition; the old scene stays on the stage until the transition is over.
  show(index, instant = false) {
    if (index < 0 || index >= this.scenes.length) return false;
    const data = this.scenes[index];
    this.endTransition();
    if (this.view) this.view.stopMedia();
    const leaving = this.layer;
    this.view = new SceneView(data, {
      layout: this.layout,
      containerSize: this.containerSize,
      resourceUrl: (id) => this.resourceUrl(id),
      resourceFiles: (id) => this.resourceFiles(id),
      symbol: (id) => this.symbolData.get(Number(id)) || null,
    });
    this.root = this.view.root;
    this.layer = document.createElement('div');
    this.layer.className = 'kv-scene-layer';
    this.layer.style.cssText = 'position:absolute;left:0;top:0;';
    this.layer.appendChild(this.root.el);
    const transition = this.playing && leaving && !instant ? sceneTransition(data.st) : null;
    if (transition) {
      this.transition = { ...transition, elapsed: 0, leaving };
      if (transition.type === 5) this.inner.insertBefore(this.layer, leaving);
      else this.inner.appendChild(this.layer);
      this.drawTransition();
    } else {
      if (leaving) leaving.remove();
      this.inner.appendChild(this.layer);
    }
    this.timeline = this.view.timeline;
    this.index = index;
    this.now = 0;
    this.atStart = true;
    this.render();
    return true;
  }

  drawTransition() {
    const t = this.transition;
    const k = t.ease(Math.min(1, t.elapsed / t.duration));
    const styles = transitionStyles(t.type, t.direction, k, this.width, this.height);
    Object.assign(t.leaving.style, styles.leaving);
    Object.assign(this.layer.style, styles.entering);
  }

  // Finishes a running transition at once: the old scene leaves the stage.
  endTransition() {
    const t = this.transition;
    if (!t) return;
    this.transition = null;
    t.leaving.remove();
    Object.assign(this.layer.style, { transform: '', opacity: '', clipPath: '' });
  }

  // Sets every animated value to the current time and writes what changed.
  render() {
    this.view.render(this.now, this.playing);
  }

  // Stops playing and takes the stage out of the container.
  close() {
    this.pause();
    this.stage.remove();
  }

  play() {
    if (this.playing || !this.root) return;
    if (this.now >= this.timeline.duration && this.nextScene() < 0) this.seek(0);
    this.playing = true;
    this.clock.add(this.tick);
    this.render();
  }

  pause() {
    this.playing = false;
    this.clock.remove(this.tick);
    if (this.view) this.view.stopMedia();
  }

  seek(position) {
    if (!this.root) return false;
    this.endTransition();
    const t = this.timeline.resolveTime(position);
    if (t === null) return false;
    this.now = t;
    this.atStart = t === 0;
    this.render();
    return true;
  }

  gotoScene(index) {
    const ok = this.show(index);
    return ok;
  }

  // The scene that follows when the current one ends and advances by itself, or -1.
  nextScene() {
    const scene = this.scenes[this.index];
    return scene && scene.aa !== false && this.index + 1 < this.scenes.length ? this.index + 1 : -1;
  }

  // One step of the clock while playing: moves the time, tells the container about triggers that were
  // crossed, and at the end goes on to the next scene or stops.
  advance(dt) {
    if (!this.playing) return;
    const t = this.transition;
    if (t) {
      // The new scene's timeline starts when its transition is over.
      t.elapsed += dt;
      if (t.elapsed < t.duration) {
        this.drawTransition();
        return;
      }
      dt = t.elapsed - t.duration;
      this.endTransition();
    }
    const from = this.now;
    const end = this.timeline.duration;
    this.now = Math.min(end, from + dt);
    // Triggers at the very start fire once when playing leaves it.
    const crossed = this.timeline.triggersCrossed(from, this.now, this.atStart && from === 0);
    this.atStart = false;
    for (const trigger of crossed) {
      this.container.dispatchEvent(new CustomEvent('kvtrigger', { detail: { time: trigger[0], actions: trigger[1] } }));
    }
    if (this.now >= end) {
      const next = this.nextScene();
      if (next >= 0) {
        const rest = from + dt - end;
        this.show(next);
        if (rest > 0) this.advance(rest);
        return;
      }
      this.render();
      this.pause();
      return;
    }
    this.render();
  }
}
