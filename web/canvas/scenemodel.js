// The page's copy of the scene it shows, in the short-key form the editor sends (the player reads the
// same form): the element tree, the current timeline's entries and the selection. Gestures change it
// at once; view-update messages from the editor change it as the model changes.
import { parseLength } from '../player/units.js';
import { BOTTOM, HEIGHT, LEFT, RIGHT, ROTATE_Z, TOP, WIDTH } from './requests.js';

// The child list of an element for reading, and the one to change (made when missing).
const kids = (d) => (Array.isArray(d.elems) ? d.elems : []);
const children = (d) => (Array.isArray(d.elems) ? d.elems : (d.elems = []));

// A length written back in the unit it had: a plain number for pixels, "N%" for percent (the value
// given as a fraction) and "Na" for a ratio.
export function lengthValue(old, value) {
  const unit = parseLength(old ?? 0).u;
  const round = (v) => Math.round(v * 1e6) / 1e6;
  if (unit === '%') return `${round(value * 100)}%`;
  if (unit === 'a') return `${round(value * 100)}a`;
  return round(value);
}

export class SceneModel {
  constructor(data) {
    this.data = data && typeof data === 'object' ? data : { elems: [] };
    children(this.data);
  }

  get id() {
    return Number(this.data.id) || 0;
  }

  // {el, parent, index} of an element of the tree, or null. Id 0 is the scene.
  find(id, from = this.data) {
    const list = kids(from);
    for (let i = 0; i < list.length; ++i) {
      const el = list[i];
      if (Number(el.id) === id) return { el, parent: from, index: i };
      const inner = this.find(id, el);
      if (inner) return inner;
    }
    return null;
  }

  element(id) {
    if (id === 0) return this.data;
    const f = this.find(id);
    return f ? f.el : null;
  }

  // Every element of the tree, parents before their children.
  *all(from = this.data) {
    for (const el of kids(from)) {
      yield el;
      yield* this.all(el);
    }
  }

  maxId() {
    let max = 0;
    for (const el of this.all()) max = Math.max(max, Number(el.id) || 0);
    return max;
  }

  // Inserts an element under a parent (the scene for 0 or an unknown id) at an index (the end for
  // one out of range); an element with the same id is replaced.
  insert(el, index, parentId = 0) {
    if (!el || typeof el !== 'object') return false;
    this.remove(Number(el.id));
    const parent = this.element(parentId) || this.data;
    const list = children(parent);
    const at = Number.isInteger(index) && index >= 0 && index <= list.length ? index : list.length;
    list.splice(at, 0, el);
    return true;
  }

  remove(id) {
    const f = this.find(id);
    if (!f) return null;
    children(f.parent).splice(f.index, 1);
    return f.el;
  }

  // Moves an element to a new parent and index, taking the position data given.
  move(id, index, parentId, position) {
    const el = this.remove(id);
    if (!el) return false;
    if (position && typeof position === 'object') Object.assign(el, position);
    return this.insert(el, index, parentId);
  }

  reorder(id, index) {
    const f = this.find(id);
    if (!f) return false;
    const list = children(f.parent);
    list.splice(f.index, 1);
    list.splice(Math.max(0, Math.min(list.length, index)), 0, f.el);
    return true;
  }

  setSelected(id, selected) {
    const el = this.element(id);
    if (!el || id === 0) return false;
    el.selected = !!selected;
    return true;
  }

  selectedIds() {
    const ids = [];
    for (const el of this.all()) if (el.selected === true) ids.push(Number(el.id));
    return ids;
  }

  // Geometry values by property code (Part of the geometry action): positions, sizes and the turn.
  setGeometry(id, values) {
    const el = this.element(id);
    if (!el || id === 0) return false;
    const r = Array.isArray(el.r) ? el.r : (el.r = [0, 0, 0, 0, 0]);
    while (r.length < 5) r.push(0);
    for (const [code, value] of Object.entries(values)) {
      const c = Number(code);
      const v = Number(value);
      if (!Number.isFinite(v)) continue;
      if (c === LEFT || c === RIGHT) r[0] = lengthValue(r[0], v);
      else if (c === TOP || c === BOTTOM) r[1] = lengthValue(r[1], v);
      else if (c === WIDTH) r[2] = lengthValue(r[2], v);
      else if (c === HEIGHT) r[3] = lengthValue(r[3], v);
      else if (c === ROTATE_Z) {
        const t = Array.isArray(el.t) ? el.t : (el.t = []);
        const rot = Array.isArray(t[0]) ? t[0] : (t[0] = [0, 0, 0]);
        while (rot.length < 3) rot.push(0);
        rot[2] = v;
      }
    }
    return true;
  }

  // The current timeline's data (the editor sends only that one to the page).
  timeline() {
    const list = Array.isArray(this.data.timelines) ? this.data.timelines : (this.data.timelines = []);
    if (!list[0] || typeof list[0] !== 'object') list[0] = { id: 0, anims: [] };
    if (!Array.isArray(list[0].anims)) list[0].anims = [];
    return list[0];
  }

  setTimeline(data) {
    this.data.timelines = [data && typeof data === 'object' ? data : {}];
  }

  // Replaces the entries that match with new ones.
  replaceEntries(match, entries) {
    const tl = this.timeline();
    tl.anims = tl.anims.filter((e) => !(e && match(e)));
    for (const e of Array.isArray(entries) ? entries : []) if (e && typeof e === 'object') tl.anims.push(e);
    const end = tl.anims.reduce((m, e) => Math.max(m, (Number(e.t) || 0) + (Number(e.d) || 0)), 0);
    if (!(Number(tl.dur) >= end)) tl.dur = end;
  }
}
