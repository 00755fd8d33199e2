// View-update messages from the editor ({cmd, isUndoCmd, params}) applied to the page's state: the
// scene copy, the resources, the container and the layout. Each returns what the page must do next:
// redraw the scene, move the time, or (41) finish the command's work.

const values = (msg) => (Array.isArray(msg.params) ? msg.params.map((p) => (p && typeof p === 'object' ? p.value : undefined)) : []);
const kinds = (msg) => (Array.isArray(msg.params) ? msg.params.map((p) => (p && typeof p === 'object' ? Number(p.type) : 0)) : []);
const obj = (v) => (v && typeof v === 'object' && !Array.isArray(v) ? v : {});

// Element groups sent as (1) id, (8) array: the short key they replace.
const GROUP_KEYS = { 1001: 'l', 1008: 'txt', 1031: 'lr', 1042: 'wc', 1043: 'sh', 1044: 'fe', 1002: 'f' };

// The short keys an element holds per layout on the stage.
const LAYOUT_KEYS = ['r', 't', 'l', 'f', 'sh', 'fe', 'wc', 'o', 'of', 'd', 'cl', 'lr', 'c'];

// The values of one layout from an element's layouts ([h, v, values], ...): the base layout's,
// with the layout's own on top and its "or" keys back at their defaults.
function valuesAt(layouts, layout) {
  const entry = (h, vv) => layouts.find((e) => Array.isArray(e) && Number(e[0]) === h && Number(e[1]) === vv);
  const [h, vv] = Array.isArray(layout) ? layout.map(Number) : [0, 0];
  const shown = { ...obj((entry(0, 0) || [])[2]) };
  const own = h || vv ? obj((entry(h, vv) || [])[2]) : {};
  for (const key of Array.isArray(own.or) ? own.or : []) delete shown[key];
  for (const [key, value] of Object.entries(own)) if (key !== 'or') shown[key] = value;
  return shown;
}

// Keys of entries of a property track: the element and property they animate.
function trackOf(v) {
  const o = obj(v);
  const entries = Array.isArray(v) ? v : Array.isArray(o.anims) ? o.anims : Array.isArray(o.entries) ? o.entries : o.p ? [o] : [];
  const first = entries.find((e) => e && typeof e === 'object') || o;
  return { el: Number(o.el ?? first.el) || 0, p: String(o.p ?? first.p ?? ''), entries: entries.filter((e) => e && e.t !== undefined) };
}

// The parent of an element message: the scene (type code 8, whose id is of another number space
// than the elements') or an element of it.
const parentId = (id, type) => (Number(type) === 8 ? 0 : Number(id) || 0);

// Whether the message adds (forward add, or undone removal) for the add/remove pairs.
const adding = (msg, addType) => (msg.cmd === addType) !== (msg.isUndoCmd === true);

export function applyUpdate(state, msg) {
  const m = state.model;
  const v = values(msg);
  const k = kinds(msg);
  const cmd = Number(msg.cmd) || 0;
  const done = { render: true };
  // A change of one element's own data: only its node is built again.
  const one = (id) => ({ render: true, element: Number(id) });
  switch (cmd) {
    case 41:
      return { render: false, end: true };
    case 1:
    case 2:
      if (k[0] === 11 && v[0] && typeof v[0] === 'object') m.insert(v[0], Number(v[1]), parentId(v[2], v[3]));
      else m.remove(Number(v[0]));
      return done;
    case 3:
      m.move(Number(v[0]), Number(v[1]), parentId(v[3], v[4]), obj(v[2]));
      return done;
    case 4:
      m.reorder(Number(v[0]), Number(v[1]));
      return done;
    case 33:
      m.setSelected(Number(v[0]), v[1] === true);
      return { render: false, selection: true };
    case 11: {
      const tl = obj(v[0]);
      m.setTimeline(tl);
      return { render: true, time: Number(tl.currentTime) || 0 };
    }
    case 13:
    case 14: {
      const o = obj(v[0]);
      const tl = m.timeline();
      tl.l = tl.l && typeof tl.l === 'object' ? tl.l : {};
      if (adding(msg, 13)) tl.l[o.labelName] = Number(o.timeStamp) || 0;
      else delete tl.l[o.labelName];
      return { render: false };
    }
    case 15: {
      const o = obj(v[0]);
      const tl = m.timeline();
      tl.l = tl.l && typeof tl.l === 'object' ? tl.l : {};
      const [from, to] = msg.isUndoCmd ? [o.newLabelName, o.oldLabelName] : [o.oldLabelName, o.newLabelName];
      if (Object.prototype.hasOwnProperty.call(tl.l, from)) {
        tl.l[to] = tl.l[from];
        delete tl.l[from];
      }
      return { render: false };
    }
    case 16: {
      const o = obj(v[0]);
      const tl = m.timeline();
      tl.l = { ...(tl.l || {}), [o.labelName]: Number(o.newTimeStamp) || 0 };
      return { render: false };
    }
    case 17:
    case 18: {
      const o = obj(v[0]);
      if (adding(msg, 17)) {
        const entries = Array.isArray(o.anims) ? o.anims : [];
        const els = new Set(entries.map((e) => Number(e && e.el) || 0));
        m.replaceEntries((e) => els.has(Number(e.el) || 0), entries);
      } else {
        const el = Number(o.el) || 0;
        m.replaceEntries((e) => (Number(e.el) || 0) === el, []);
      }
      return done;
    }
    case 19:
    case 20: {
      const t = trackOf(v[0]);
      const add = adding(msg, 19);
      m.replaceEntries((e) => (Number(e.el) || 0) === t.el && e.p === t.p, add ? t.entries : []);
      return done;
    }
    case 21: case 22: case 23: case 24: case 25: case 26: case 27: case 28:
    case 29: case 30: case 31: case 32: case 69: case 78: case 80: case 81: {
      const t = trackOf(v[0]);
      if (t.p) m.replaceEntries((e) => (Number(e.el) || 0) === t.el && e.p === t.p, t.entries);
      return done;
    }
    case 56:
    case 57:
    case 58: {
      const o = obj(v[0]);
      const el = Number(o.el) || 0;
      m.replaceEntries((e) => (Number(e.el) || 0) === el && e.p === 'pb', Array.isArray(o.anims) ? o.anims : []);
      return done;
    }
    case 39:
    case 40:
      // Fonts (and resources added): kept when added or a removal is undone, else dropped.
      for (const r of Array.isArray(v[0]) ? v[0] : []) {
        if (!Array.isArray(r)) continue;
        if (adding(msg, 39)) state.resources.set(Number(r[0]), r);
        else state.resources.delete(Number(r[0]));
      }
      return done;
    case 47:
    case 49:
    case 50:
    case 52:
    case 103:
      for (const r of Array.isArray(v[0]) ? v[0] : []) if (Array.isArray(r)) state.resources.set(Number(r[0]), r);
      return done;
    case 59:
    case 60:
    case 61:
      // The container's width, height and alignment, whichever of them changed.
      state.containerW = Number(v[0]) || state.containerW;
      state.containerH = Number(v[1]) || state.containerH;
      state.docAlign = Number(v[2]) || 0;
      return cmd === 61 ? done : { render: true, relayout: true };
    case 72:
    case 73:
      state.loaderData = obj(v[cmd === 73 ? 1 : 0]);
      return { render: false };
    case 92:
      state.responsive = obj(v[0]).r === true;
      state.layout = [Number(v[1]) || 0, Number(v[2]) || 0];
      return done;
    case 1016:
    case 1000: {
      // The element's data after the change when the editor sends it; else the values by code.
      if (k[0] === 11 && v[0] && typeof v[0] === 'object') {
        const f = m.find(Number(v[0].id));
        if (f) f.parent.elems[f.index] = { ...v[0], elems: v[0].elems || f.el.elems, selected: v[0].selected ?? f.el.selected };
        return one(v[0].id);
      }
      if (cmd === 1016) return { render: false };
      const codes = Array.isArray(v[4]) ? v[4] : [];
      const vals = {};
      codes.forEach((c, i) => (vals[c] = v[5 + i]));
      m.setGeometry(Number(v[0]), vals);
      return one(v[0]);
    }
    case 1009: {
      const el = m.element(Number(v[0]));
      const n = Number(v[1]) || 0;
      if (el && Array.isArray(el.s)) el.s[1] = v.slice(2, 2 + n).map(Number);
      return one(v[0]);
    }
    case 1017:
    case 1026: {
      const el = m.element(Number(v[0]));
      if (el) el.rs = Number(v[1]);
      return one(v[0]);
    }
    case 1019:
    case 1021:
    case 1023:
    case 1024: {
      const o = obj(v[0]);
      const el = m.element(Number(o.elementId));
      if (!el) return done;
      if (cmd === 1019) el.ir = o.value;
      if (cmd === 1021) el.vol = Number(o.volume);
      if (cmd === 1023) el.lo = o.loop === true;
      if (cmd === 1024) el.ct = o.controls === true;
      return one(o.elementId);
    }
    case 1032: {
      const el = m.element(Number(v[0]));
      if (el) {
        el.url = typeof v[2] === 'string' ? v[2] : el.url;
        el.rs = Number(v[3] ?? el.rs);
        el.useresource = Number(v[3]) >= 0 && !v[2];
      }
      return one(v[0]);
    }
    case 1033: {
      const el = m.element(Number(v[0]));
      if (el) el.srcdoc = String(v[1] ?? '');
      return one(v[0]);
    }
    case 1035: {
      const el = m.element(Number(v[0]));
      if (el) el.aspectRatioLocked = v[1] === true;
      return { render: false };
    }
    case 1037:
    case 1039: {
      const el = m.element(Number(v[0]));
      const value = obj(v[1]).value;
      if (el && cmd === 1037 && Array.isArray(value)) {
        el.s = Array.isArray(el.s) ? el.s : [594];
        el.s[1] = value;
        // Opening or closing the outline changes the shape's kind.
        const type = obj(v[1]).type;
        if (Number.isInteger(type)) el.s[0] = type;
      }
      if (el && cmd === 1039 && Array.isArray(value) && Array.isArray(el.s)) el.s.splice(2, el.s.length - 2, ...value);
      return one(v[0]);
    }
    case 1003:
    case 1010:
    case 1011:
    case 1012:
    case 1045: {
      // Groups rebuilt per layout: the element id, then its layouts as the player gets them; the
      // element shows the layout the page edits.
      const el = m.element(Number(v[0]));
      if (!el || !Array.isArray(v[1])) return { render: false };
      const shown = valuesAt(v[1], state.layout);
      for (const key of LAYOUT_KEYS) {
        if (Object.prototype.hasOwnProperty.call(shown, key)) el[key] = shown[key];
        else delete el[key];
      }
      return one(v[0]);
    }
    default: {
      const key = GROUP_KEYS[cmd];
      if (key) {
        const el = m.element(Number(v[0]));
        if (el) el[key] = v[1];
        return one(v[0]);
      }
      return { render: false };
    }
  }
}
