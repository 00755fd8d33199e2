// A document playing in a container: the stage, the scenes in sequence and the main timeline of the
// scene shown, driven by the page's clock; the events of the document, its scenes, elements and
// timelines, and the actions of their handlers.
import { layoutFor, readBreakpoints, SceneView } from './scene.js';
import { Timeline } from './timeline.js';
import { sceneTransition, transitionStyles } from './transition.js';
import { actionsFor, listen } from './events.js';
import { runAction } from './actions.js';
import { changeSpeed, moveTime, Playhead } from './playhead.js';

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
    this.rate = 1;
    this.reverse = false;
    // Play heads that actions started (other timelines, symbols) and media played backwards.
    this.heads = new Set();
    this.backwards = new Map();
    // Events are raised from begin() to close().
    this.started = false;
    // At rest (reduced motion): no play, each scene at its final frame.
    this.calm = false;
    this.unbind = [];
    this.scopes = new WeakMap();
    // The user functions [id, name, function] by id, and the document's handlers (a preloader
    // document's under "pe").
    this.functions = new Map();
    for (const f of Array.isArray(data.f) ? data.f : []) if (Array.isArray(f) && typeof f[2] === 'function') this.functions.set(Number(f[0]), f);
    this.events = Array.isArray(data.e) ? data.e : data.pe;
    this.tick = (dt) => this.advance(dt);

    const stage = (this.stage = document.createElement('div'));
    stage.className = 'kv-stage';
    stage.style.cssText = 'position:relative;overflow:hidden;';
    this.inner = document.createElement('div');
    this.inner.style.cssText = 'position:absolute;left:0;top:0;transform-origin:0 0;';
    stage.appendChild(this.inner);
    container.appendChild(stage);
    listen(stage, this.events, (code, ev) => this.raise(this.events, code, this.view, undefined, ev));
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
        const old = this.view;
        this.show(this.index, true);
        this.carry(old);
        this.now = now;
        this.atStart = now === 0;
        this.render();
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
  // A jump names the transition to use instead of the scene's own ("st" form, type 0 for none).
  // Leaving a scene and entering one raise their "Scene Deactivate" and "Scene Activate" events;
  // showing the same scene again at another layout raises none.
  show(index, instant = false, st = undefined) {
    if (index < 0 || index >= this.scenes.length) return false;
    const data = this.scenes[index];
    this.endTransition();
    if (this.view) {
      if (!instant) this.sceneEvent(51);
      this.view.stopMedia(true);
    }
    this.heads.clear();
    this.backwards.clear();
    if (!instant) this.rate = 1;
    if (!instant) this.reverse = false;
    const leaving = this.layer;
    this.view = new SceneView(data, {
      layout: this.layout,
      containerSize: this.containerSize,
      resourceUrl: (id) => this.resourceUrl(id),
      resourceFiles: (id) => this.resourceFiles(id),
      symbol: (id) => this.symbolData.get(Number(id)) || null,
      listen: (node, view) => listen(node.el, node.data.e, (code, ev) => this.raise(node.data.e, code, view, undefined, ev, node.el)),
      trigger: (view, t) => this.fireTrigger(view, t),
    });
    this.root = this.view.root;
    this.layer = document.createElement('div');
    this.layer.className = 'kv-scene-layer';
    this.layer.style.cssText = 'position:absolute;left:0;top:0;';
    this.layer.appendChild(this.root.el);
    const transition = this.playing && leaving && !instant ? sceneTransition(st === undefined ? data.st : st) : null;
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
    // A document at rest (reduced motion) shows each scene at its final frame, without running the
    // triggers on the way there.
    if (this.calm) {
      this.now = this.timeline.duration;
      this.atStart = this.now === 0;
    }
    this.render();
    if (!instant) this.sceneEvent(50);
    return true;
  }

  // A scene event, told to the scene shown and to the document.
  sceneEvent(code, value, ev) {
    this.raise(this.events, code, this.view, value, ev);
    if (this.view) this.raise(this.view.data.e, code, this.view, value, ev);
  }

  // From here on the document raises its events: "Create", then "Scene Activate" of the scene
  // shown; the page's keys, scrolling, turning and resizing reach the document and the scene.
  begin() {
    this.started = true;
    const on = (target, type, code, value) => {
      const fn = (ev) => this.sceneEvent(code, value(ev), ev);
      target.addEventListener(type, fn);
      this.unbind.push(() => target.removeEventListener(type, fn));
    };
    on(document, 'keydown', 53, (ev) => ev.key);
    on(document, 'keyup', 54, (ev) => ev.key);
    on(window, 'scroll', 52, () => window.scrollY);
    on(window, 'orientationchange', 55, () => window.orientation);
    on(window, 'resize', 56, () => [window.innerWidth, window.innerHeight]);
    this.raise(this.events, 20, this.view);
    if (this.view) this.sceneEvent(50);
  }

  // Runs the actions a handler list holds for an event code, in the scope of a scene or symbol view.
  raise(list, code, view, value, ev, target) {
    const actions = actionsFor(list, code);
    if (actions) this.run(actions, view, { type: code, value, target: target || (ev && ev.target) || null, originalEvent: ev || null });
  }

  // Handlers that set each other off (a seek handler that seeks) stop after a few rounds; whatever
  // an action throws is reported and the next action runs.
  run(actions, view, e) {
    if (!this.started || !view || this.depth > 8) return;
    const scope = this.scopeOf(view);
    this.depth = (this.depth || 0) + 1;
    for (const a of actions) {
      try {
        runAction(scope, a, e);
      } catch (err) {
        console.error('Kavio: an action failed:', err);
      }
    }
    this.depth--;
    if (this.busy()) this.clock.add(this.tick);
    if (this.view) this.render();
  }

  // The play heads of a scene's other timelines and of its symbols, taken over when the scene is
  // built again for another layout.
  carry(old) {
    const copy = (from, to) => to && Object.assign(to, { now: from.now, playing: from.playing, rate: from.rate, reverse: from.reverse, atStart: from.atStart });
    const scope = this.scopeOf(this.view);
    for (const [id, h] of old.extras) copy(h, scope.timeline(id));
    for (const n of old.symbols) if (n.head) copy(n.head, scope.symbol(n.id));
  }

  // A trigger [time, actions] that a timeline of a view passed.
  fireTrigger(view, t) {
    this.container.dispatchEvent(new CustomEvent('kvtrigger', { detail: { time: t[0], actions: t[1] } }));
    this.run(Array.isArray(t[1]) ? t[1] : [], view, { type: 200, value: t[0] });
  }

  // An event of a timeline of a view, or one of its triggers (200).
  timelineEvent(view, tl, code, value) {
    if (code === 200) this.fireTrigger(view, value);
    else this.raise(tl.e, code, view, value);
  }

  // Events of the main timeline of the scene shown.
  emit(code, value) {
    this.timelineEvent(this.view, this.timeline, code, value);
  }

  // What the actions of a view reach: its elements, its timelines, its symbol and those around it.
  scopeOf(view) {
    let scope = this.scopes.get(view);
    if (scope) return scope;
    const main = () => (view.host ? this.symbolHead(view.host) : this);
    const track = (h) => (h && this.heads.add(h), h);
    scope = {
      doc: this,
      node: (id) => view.nodes.get(Number(id)) || null,
      timeline: (id) =>
        id === -1 || id === view.timeline.id ? main() : track(view.extra(id, (c, v) => this.timelineEvent(view, view.extras.get(id).tl, c, v))),
      symbol: (id) => {
        if (id >= 0) {
          const node = view.nodes.get(id);
          return node && node.symbolView ? this.symbolHead(node) : null;
        }
        if (id === -1) return main();
        if (id === -2) return !view.host ? null : view.parentView.host ? this.symbolHead(view.parentView.host) : this;
        return id === -3 ? this : null;
      },
    };
    this.scopes.set(view, scope);
    return scope;
  }

  // The play head of a symbol instance, which from the first action on moves the symbol instead of
  // its playback entries.
  symbolHead(node) {
    if (!node.symbolView) return null;
    if (!node.head) {
      const h = (node.head = new Playhead(node.symbolView.timeline, (c, v) => this.timelineEvent(node.symbolView, h.tl, c, v)));
      h.now = node.position || 0;
      h.atStart = !h.now;
    }
    this.heads.add(node.head);
    return node.head;
  }

  // Whether anything still needs the clock.
  busy() {
    if (this.playing || this.backwards.size) return true;
    for (const h of this.heads) if (h.playing) return true;
    return false;
  }

  // Runs a user function of the functions table with (doc, e). What it throws is reported on the
  // console and as the document's "Script Error"; the document plays on.
  call(id, e) {
    const f = this.functions.get(Number(id));
    if (!f) return;
    try {
      f[2](this.api || this, e);
    } catch (err) {
      console.error(`Kavio: the function ${f[1]} failed:`, err);
      if (!e || e.type !== 23) this.raise(this.events, 23, this.view, err);
    }
  }

  openUrl(url, newWindow) {
    if (newWindow) window.open(url, '_blank');
    else window.location.href = url;
  }

  // The landing page an ad network handed the page in its click-tag variable, else the action's
  // own URL (the page outside the network).
  openClickTag(fallback, newWindow) {
    const name = typeof this.options.clickTag === 'string' && this.options.clickTag ? this.options.clickTag : 'clickTag';
    const given = window[name];
    const url = typeof given === 'string' && given.trim() ? given.trim() : fallback;
    if (url) this.openUrl(url, newWindow);
  }

  allMedia() {
    return this.stage.querySelectorAll('audio,video');
  }

  // Plays a media element at a signed speed (by default its last one); backwards it is moved frame
  // by frame by the clock.
  playMedia(m, rate = m.kvRate || 1) {
    m.kvRate = rate;
    this.backwards.delete(m);
    if (rate < 0) {
      m.pause();
      this.backwards.set(m, -rate);
      return;
    }
    m.playbackRate = rate;
    const started = m.play();
    if (started && started.catch) started.catch(() => {});
  }

  pauseMedia(m) {
    this.backwards.delete(m);
    m.pause();
  }

  mediaPlaying(m) {
    return !m.paused || this.backwards.has(m);
  }

  // "Jump To Scene": the scene enters with its transition (or the one given) and plays.
  jump(index, st) {
    const was = this.playing;
    this.playing = true;
    this.show(index, false, st);
    this.clock.add(this.tick);
    if (!was) this.emit(151);
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

  // Raises "Destroy", stops playing and takes the stage out of the container.
  close() {
    this.raise(this.events, 22, this.view);
    this.started = false;
    for (const off of this.unbind) off();
    this.unbind = [];
    this.heads.clear();
    this.backwards.clear();
    this.pause();
    if (this.view) this.view.stopMedia(true);
    this.stage.remove();
  }

  // Plays the main timeline, at a speed and in a direction when given (an action's).
  play(rate, reverse) {
    // At rest the main timeline does not move: neither the document's own handlers nor a scene's
    // end take it on to the next scene.
    if (!this.root || this.calm) return;
    changeSpeed(this, rate, reverse);
    if (this.playing) return;
    if (this.reverse ? this.now <= 0 : this.now >= this.timeline.duration && this.nextScene() < 0) this.seek(this.reverse ? Infinity : 0);
    this.playing = true;
    this.clock.add(this.tick);
    this.render();
    if (this.onPlayState) this.onPlayState();
    this.emit(151);
  }

  pause(quiet = false) {
    const was = this.playing;
    this.playing = false;
    if (!this.busy()) this.clock.remove(this.tick);
    if (this.view) this.view.stopMedia();
    if (was && this.onPlayState) this.onPlayState();
    if (was && !quiet) this.emit(152);
  }

  seek(position) {
    if (!this.root) return false;
    this.endTransition();
    const t = this.timeline.resolveTime(position);
    if (t === null) return false;
    this.now = t;
    this.atStart = t === 0;
    this.render();
    this.emit(156, t);
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

  // One step of the clock: moves the play heads that actions started and the media played backwards;
  // while the main timeline plays, moves its time, runs the triggers crossed, and at the end goes on
  // to the next scene or stops.
  advance(dt) {
    for (const h of this.heads) h.step(dt);
    for (const [m, r] of this.backwards) {
      const t = m.currentTime - (dt * r) / 1000;
      m.currentTime = Math.max(0, t);
      if (t <= 0) this.backwards.delete(m);
    }
    if (!this.playing) {
      if (this.view) this.render();
      if (!this.busy()) this.clock.remove(this.tick);
      return;
    }
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
    // Triggers at the very start fire once when playing leaves it.
    const m = moveTime(this.timeline, from, dt * this.rate, this.reverse, this.atStart && from === 0);
    this.now = m.now;
    this.atStart = false;
    const view = this.view;
    for (const trigger of m.crossed) this.fireTrigger(view, trigger);
    if (this.view === view && this.playing) this.emit(150, this.now);
    // A handler may have paused the timeline or left the scene.
    if (this.view !== view || !this.playing) return;
    if (m.ended) {
      this.emit(153);
      if (this.view !== view || !this.playing) return;
      const next = this.reverse ? -1 : this.nextScene();
      if (next >= 0) {
        const rest = (from + dt * this.rate - end) / this.rate;
        this.show(next);
        if (rest > 0) this.advance(rest);
        return;
      }
      this.render();
      this.pause(true);
      return;
    }
    this.render();
  }
}
