// The rulers along the top and left of the stage, in stage pixels, with the responsive breakpoints
// marked on them (horizontal breakpoints on the top ruler, vertical ones on the left). A click on a
// ruler picks the layout at that position; a mark dragged along its ruler moves its breakpoint (the
// editor is told while it moves and gets one request at the end); a right click asks for the ruler
// menu at that position. Dragged from a ruler onto the stage, the pointer pulls out a guide (a
// horizontal one from the top ruler, a vertical one from the left), which moving boxes snap to
// while snapping is on; a guide dragged back onto its ruler goes away. Guides show with the rulers.
import { action, param, INT } from './requests.js';

export const RULER_SIZE = 18;
export const UPDATE_BREAKPOINT = 91;

// Tick spacing in stage pixels for a zoom: the smallest step that leaves at least 8 screen pixels
// between ticks. Every tenth tick is long and labelled.
export function tickStep(zoom) {
  for (const s of [5, 10, 50, 100, 500, 1000]) if (s * zoom >= 8) return s;
  return 1000;
}

export class Rulers {
  constructor(page) {
    this.page = page;
    this.drag = null;
    this.top = this.bar('kv-ruler-h', `left:${RULER_SIZE}px;top:0;right:0;height:${RULER_SIZE}px`);
    this.left = this.bar('kv-ruler-v', `left:0;top:${RULER_SIZE}px;bottom:0;width:${RULER_SIZE}px`);
    this.corner = document.createElement('div');
    this.corner.style.cssText = `position:absolute;left:0;top:0;width:${RULER_SIZE}px;height:${RULER_SIZE}px;background:#f3f3f3`;
    page.viewport.appendChild(this.corner);
    this.show(false);
    page.viewport.addEventListener('pointerdown', (e) => this.grab(e), true);
  }

  bar(id, css) {
    const el = document.createElement('div');
    el.id = id;
    el.style.cssText = `position:absolute;${css};background:#f3f3f3;overflow:hidden;font:9px sans-serif;color:#555;z-index:2`;
    const dir = id === 'kv-ruler-h' ? 0 : 1;
    el.addEventListener('pointerdown', (e) => this.down(e, dir));
    el.addEventListener('pointermove', (e) => this.move(e, dir));
    el.addEventListener('pointerup', (e) => this.up(e, dir));
    el.addEventListener('contextmenu', (e) => this.menu(e, dir));
    // The stage's own gestures never see what happens on a ruler.
    for (const type of ['pointerdown', 'pointermove', 'pointerup', 'dblclick', 'contextmenu']) el.addEventListener(type, (e) => e.stopPropagation());
    this.page.viewport.appendChild(el);
    return el;
  }

  show(visible) {
    this.visible = !!visible;
    for (const el of [this.top, this.left, this.corner]) el.style.display = this.visible ? '' : 'none';
    this.draw();
  }

  // Breakpoints of a direction: [[id, value], ...].
  list(dir) {
    const b = this.page.breakpoints;
    const l = b && Array.isArray(dir ? b.v : b.h) ? (dir ? b.v : b.h) : [];
    return l.filter(Array.isArray);
  }

  // Stage pixels of a pointer along a ruler.
  position(e, dir) {
    const p = this.page.toStage(e.clientX, e.clientY);
    return Math.round(dir ? p.y : p.x);
  }

  draw() {
    if (!this.visible) return;
    const p = this.page;
    const step = tickStep(p.zoom);
    for (const [el, dir] of [[this.top, 0], [this.left, 1]]) {
      el.textContent = '';
      const length = dir ? el.clientHeight : el.clientWidth;
      const origin = (dir ? p.offset.y : p.offset.x) - RULER_SIZE;
      const first = Math.floor(-origin / p.zoom / step) * step;
      for (let v = first; (v - first) * p.zoom <= length + step * p.zoom; v += step) {
        const at = origin + v * p.zoom;
        const major = v % (step * 10) === 0;
        const tick = document.createElement('div');
        tick.style.cssText = dir
          ? `position:absolute;top:${at}px;right:0;height:1px;width:${major ? 10 : 4}px;background:#999`
          : `position:absolute;left:${at}px;bottom:0;width:1px;height:${major ? 10 : 4}px;background:#999`;
        el.appendChild(tick);
        if (major) {
          const label = document.createElement('span');
          label.textContent = String(v);
          label.style.cssText = dir ? `position:absolute;top:${at + 2}px;left:1px` : `position:absolute;left:${at + 2}px;top:0`;
          el.appendChild(label);
        }
      }
      for (const [id, value] of this.list(dir)) {
        const at = origin + value * p.zoom;
        const mark = document.createElement('div');
        mark.dataset.kvBreakpoint = `${dir}:${id}`;
        mark.title = `${value}px`;
        mark.style.cssText = dir
          ? `position:absolute;top:${at - 4}px;left:0;width:100%;height:8px;background:rgba(233,30,99,.7);cursor:ns-resize`
          : `position:absolute;left:${at - 4}px;top:0;height:100%;width:8px;background:rgba(233,30,99,.7);cursor:ew-resize`;
        el.appendChild(mark);
      }
    }
  }

  markAt(e) {
    const mark = e.target && e.target.dataset ? e.target.dataset.kvBreakpoint : undefined;
    if (!mark) return null;
    const [dir, id] = mark.split(':').map(Number);
    const entry = this.list(dir).find((b) => Number(b[0]) === id);
    return entry ? { dir, id, value: Number(entry[1]) } : null;
  }

  down(e, dir) {
    if (e.button !== 0 || !this.page.model) return;
    const mark = this.markAt(e);
    try {
      e.currentTarget.setPointerCapture(e.pointerId);
    } catch (err) {
      // A synthetic pointer cannot be captured.
    }
    this.drag = mark ? { ...mark, start: mark.value, moved: false } : { dir, click: this.position(e, dir) };
  }

  // Whether the pointer has left the ruler it was pressed on, towards the stage.
  onStage(e, dir) {
    const r = this.page.viewport.getBoundingClientRect();
    return dir ? e.clientX - r.left > RULER_SIZE : e.clientY - r.top > RULER_SIZE;
  }

  // A press on a guide (while the rulers show) takes it, to move it or to drop it on its ruler.
  grab(e) {
    const p = this.page;
    if (!this.visible || e.button !== 0 || !p.model) return;
    const at = p.toStage(e.clientX, e.clientY);
    const reach = 3 / p.zoom;
    const guide = p.rulerGuides.find((g) => Math.abs(g.value - (g.axis === 'x' ? at.x : at.y)) <= reach);
    if (!guide) return;
    e.stopPropagation();
    e.preventDefault();
    const dir = guide.axis === 'x' ? 1 : 0;
    this.drag = { dir, guide, pulled: true };
    const move = (ev) => this.pull(ev, dir);
    const up = (ev) => {
      window.removeEventListener('pointermove', move, true);
      window.removeEventListener('pointerup', up, true);
      this.up(ev, dir);
    };
    window.addEventListener('pointermove', move, true);
    window.addEventListener('pointerup', up, true);
  }

  // A guide pulled from a ruler follows the pointer across the stage.
  pull(e, dir) {
    const d = this.drag;
    const p = this.page;
    if (!d.guide) {
      if (!this.onStage(e, dir)) return;
      d.guide = { axis: dir ? 'x' : 'y', value: 0 };
      p.rulerGuides.push(d.guide);
    }
    const at = p.toStage(e.clientX, e.clientY);
    d.guide.value = Math.round(dir ? at.x : at.y);
    d.pulled = true;
    p.drawOverlay();
  }

  move(e, dir) {
    const d = this.drag;
    if (d && d.dir === dir && (d.click !== undefined || d.guide)) {
      this.pull(e, dir);
      return;
    }
    if (!d || d.click !== undefined || d.dir !== dir) return;
    const value = Math.max(1, this.position(e, dir));
    if (value === d.value) return;
    d.value = value;
    d.moved = true;
    const entry = this.list(dir).find((b) => Number(b[0]) === d.id);
    if (entry) entry[1] = value;
    this.page.call('setEditingBreakpoint', dir, value, this.position(e, dir));
    this.draw();
  }

  up(e, dir) {
    const d = this.drag;
    this.drag = null;
    if (!d) return;
    if (d.pulled) {
      // Let go on the ruler, the guide goes.
      if (d.guide && !this.onStage(e, dir)) this.page.rulerGuides = this.page.rulerGuides.filter((g) => g !== d.guide);
      this.page.drawOverlay();
      return;
    }
    if (d.click !== undefined) {
      // A click picks the layout whose range holds the position.
      this.page.call('setCurrentBreakpoint', dir, Math.max(0, d.click));
      return;
    }
    if (!d.moved || d.value === d.start) return;
    this.page.submit([action(UPDATE_BREAKPOINT, [param(INT, d.dir), param(INT, d.id), param(INT, d.value)])], 'Update Breakpoint');
  }

  menu(e, dir) {
    e.preventDefault();
    const mark = this.markAt(e);
    const p = this.page;
    p.call('setEditingBreakpoint', dir, mark ? mark.value : -1, this.position(e, dir));
    p.call('onShowContextMenu');
  }
}
