// Timelines from the player data: the animation entries of one layout grouped into tracks (one per
// element and property), and the value of a track at a time, following the editor's rules: before
// the first entry the start value of that entry holds, a transition eases from its start to its end
// value (along its motion path when it has one), a set entry jumps at its time, and the last value
// holds afterwards. At the exact time of a
// key the value after it applies.
import { easing } from './easing.js';
import { parseValue } from './units.js';
import { buildPath, pointAt } from './motionpath.js';
import { crossed } from './playhead.js';

// Properties whose values are colours: their channels interpolate as whole numbers, as the editor's.
const COLOR_KEYS = new Set(['lc', 'fc', 'tc', 'thc', 'shc']);
// Display is an integer in the editor: between two keys its value is cut to a whole number
// towards zero (from 1 to 0 it hides as soon as it leaves 1, from 0 to 1 it shows at the end).
const WHOLE_KEYS = new Set(['d']);

export function interpolate(from, to, k, wholeNumbers = false) {
  if (typeof from === 'number' && typeof to === 'number') return from + (to - from) * k;
  if (Array.isArray(from) && Array.isArray(to)) {
    return from.map((f, i) => {
      const v = f + ((to[i] ?? f) - f) * k;
      return wholeNumbers ? Math.max(0, Math.min(255, Math.trunc(v))) : v;
    });
  }
  if (from && to && typeof from === 'object' && typeof to === 'object' && from.u === to.u) {
    return { v: from.v + (to.v - from.v) * k, u: from.u };
  }
  // Values that cannot be mixed (differing units, text) switch at the end.
  return k < 1 ? from : to;
}

// Tracks of an array of entries: a map from "element id/property key" to the list of its entries
// ordered by time (entries of equal times keep their order).
export function buildTracks(entries) {
  const tracks = new Map();
  for (const entry of Array.isArray(entries) ? entries : []) {
    if (!entry || typeof entry !== 'object' || typeof entry.p !== 'string') continue;
    const el = Number(entry.el) || 0;
    const id = `${el}/${entry.p}`;
    let track = tracks.get(id);
    if (!track) {
      track = { el, key: entry.p, color: COLOR_KEYS.has(entry.p), whole: WHOLE_KEYS.has(entry.p), entries: [] };
      tracks.set(id, track);
    }
    const t = Number(entry.t) || 0;
    const d = Math.max(0, Number(entry.d) || 0);
    const item = {
      t,
      d,
      s: parseValue(entry.s),
      e: parseValue(entry.e),
      ease: d > 0 ? easing(Number(entry.es) || 0) : null,
      path: null,
    };
    const cp = Array.isArray(entry.cp) ? entry.cp.filter((c) => Array.isArray(c) && c.length >= 6) : [];
    if (entry.p === 'pos' && cp.length >= 2) {
      item.path = buildPath(cp);
      // An element that turns along its path holds the direction of the path's ends outside it.
      if (entry.ao === true && Array.isArray(item.s) && Array.isArray(item.e)) {
        item.orient = true;
        item.s = [item.s[0], item.s[1], pointAt(item.path, 0)[2]];
        item.e = [item.e[0], item.e[1], pointAt(item.path, 1)[2]];
      }
    }
    track.entries.push(item);
  }
  for (const track of tracks.values()) {
    const indexed = track.entries.map((e, i) => [e, i]);
    indexed.sort((a, b) => a[0].t - b[0].t || a[1] - b[1]);
    track.entries = indexed.map((x) => x[0]);
  }
  return tracks;
}

// The value of a track at a time (milliseconds).
export function trackValue(track, time) {
  const list = track.entries;
  if (!list.length) return undefined;
  if (time < list[0].t) return list[0].s;
  // The last entry that has started.
  let lo = 0;
  let hi = list.length - 1;
  while (lo < hi) {
    const mid = (lo + hi + 1) >> 1;
    if (list[mid].t <= time) lo = mid;
    else hi = mid - 1;
  }
  const entry = list[lo];
  if (entry.d > 0 && time < entry.t + entry.d) {
    const k = entry.ease((time - entry.t) / entry.d);
    if (entry.path) {
      const [x, y, angle] = pointAt(entry.path, k);
      return entry.orient ? [x, y, angle] : [x, y];
    }
    const v = interpolate(entry.s, entry.e, k, track.color);
    return track.whole && typeof v === 'number' ? Math.trunc(v) : v;
  }
  return entry.e;
}

// One timeline of a scene: its tracks (of one layout, the base by default), labels and duration.
export class Timeline {
  constructor(data, layout = [0, 0]) {
    const d = data && typeof data === 'object' ? data : {};
    this.id = Number(d.id) || 0;
    this.name = typeof d.n === 'string' ? d.n : '';
    this.duration = Math.max(0, Number(d.dur) || 0);
    this.labels = d.l && typeof d.l === 'object' ? { ...d.l } : {};
    const entries = layoutEntries(d, layout);
    this.tracks = buildTracks(entries.filter((e) => !e || e.p !== 'pb'));
    // Playback entries of media and symbol instances, by element, in time order.
    this.playbacks = new Map();
    for (const e of entries) {
      if (!e || e.p !== 'pb' || !Array.isArray(e.a)) continue;
      const el = Number(e.el) || 0;
      if (!this.playbacks.has(el)) this.playbacks.set(el, []);
      this.playbacks.get(el).push({ t: Number(e.t) || 0, d: Math.max(0, Number(e.d) || 0), a: e.a.map((x) => Number(x) || 0) });
    }
    for (const list of this.playbacks.values()) list.sort((a, b) => a.t - b.t);
    // The timeline's own event handlers.
    this.e = d.e;
    this.triggers = Array.isArray(d.t) ? d.t.filter(Array.isArray).map((t) => [Number(t[0]) || 0, t[1]]) : [];
  }

  // A time given as milliseconds or as a label name, held to the timeline's length; null for an
  // unknown label.
  resolveTime(position) {
    if (typeof position === 'string') {
      if (!Object.prototype.hasOwnProperty.call(this.labels, position)) return null;
      position = Number(this.labels[position]) || 0;
    }
    const t = Number(position) || 0;
    return Math.max(0, Math.min(this.duration, t));
  }

  // Every track's value at a time, handed to visit(elementId, key, value).
  valuesAt(time, visit) {
    for (const track of this.tracks.values()) {
      const v = trackValue(track, time);
      if (v !== undefined) visit(track.el, track.key, v);
    }
  }

  // Triggers whose time lies in (from, to] (or [from, to] with fromIncluded), in the order they are
  // written (by time), for a timeline moving forward.
  triggersCrossed(from, to, fromIncluded = false) {
    return crossed(this.triggers, from, to, fromIncluded);
  }
}

// The entries of a layout: exported data keeps them per layout under "ra" (each layout has its own
// animations; a layout without an entry has none), the editing page's data under "anims".
function layoutEntries(d, [h, v]) {
  if (Array.isArray(d.ra)) {
    const entry = d.ra.find((r) => Array.isArray(r) && Number(r[0]) === h && Number(r[1]) === v);
    return entry && Array.isArray(entry[2]) ? entry[2] : [];
  }
  return Array.isArray(d.anims) ? d.anims : [];
}
