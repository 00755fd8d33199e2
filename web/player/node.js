// One element of a scene on the page: its box, built from the element's player data, and the values
// that animations change. Values are set by property key; a frame then writes only the CSS of the
// groups that changed. Position, translation, rotation, skew, scale and opacity go through transform
// and opacity; only size changes touch the layout.
import { anchorSides, boxSize, num, parseLength, toPixels } from './units.js';
import {
  borderCss,
  clipCss,
  cornersCss,
  cssLength,
  fillCss,
  filterCss,
  rgba,
  shadowCss,
  textCss,
  transformCss,
} from './style.js';
import { buildContent, imagePlacement } from './content.js';
import { autoShapeBounds, autoShapePath, freeformPath, isOpenFreeform, lineEndMarker, shiftPath } from './shapes.js';

const SVG = 'http://www.w3.org/2000/svg';
const BORDER_DASH = { 2: (w) => `${w} ${w}`, 3: (w) => `${3 * w} ${w}` };
let markerCount = 0;

const SIZE = 1;
const MOVE = 2;
const OPACITY = 4;
const DISPLAY = 8;
const BORDER = 16;
const FILL = 32;
const TEXT = 64;
const CORNER = 128;
const CLIP = 256;
const SHADOW = 512;
const FILTER = 1024;
const PERSPECTIVE = 2048;
const IMAGE = 4096;
const VOLUME = 8192;
const ALL = 16383;

const GROUP = {
  lt: MOVE, rt: MOVE, tp: MOVE, b: MOVE, pos: MOVE, tX: MOVE, tY: MOVE, tZ: MOVE,
  sX: MOVE, sY: MOVE, sZ: MOVE, skX: MOVE, skY: MOVE, rX: MOVE, rY: MOVE, rZ: MOVE,
  toX: MOVE, toY: MOVE, toZ: MOVE,
  w: SIZE, h: SIZE,
  o: OPACITY, d: DISPLAY,
  lw: BORDER, lc: BORDER,
  fc: FILL, ga: FILL, gX: FILL, gY: FILL,
  tc: TEXT, thc: TEXT, fz: TEXT, ls: TEXT, ws: TEXT, lh: TEXT, ti: TEXT,
  tlr: CORNER, trr: CORNER, blr: CORNER, brr: CORNER,
  crt: CLIP, crr: CLIP, crb: CLIP, crl: CLIP, cov: CLIP, coc: CLIP, ccr: CLIP,
  shr: SHADOW, sha: SHADOW, shd: SHADOW, shc: SHADOW,
  fif: FILTER, fhf: FILTER, fcf: FILTER, frf: FILTER, fsf: FILTER, fpf: FILTER, fgf: FILTER, fbf: FILTER,
  psoX: PERSPECTIVE, psoY: PERSPECTIVE, psoZ: PERSPECTIVE,
  iX: IMAGE, iY: IMAGE, iW: IMAGE, iH: IMAGE,
  vol: VOLUME,
};

const OVERFLOW = ['visible', 'hidden', 'scroll', 'auto'];

// The values of an element at a layout: those of the base entry (0, 0) of "rp", with the layout's own
// entry laid over them; the keys the layout lists under "or" go back to their defaults. The editing
// page's form has the keys straight in the element.
export function layoutProps(data, layout = [0, 0]) {
  if (!Array.isArray(data.rp)) return data;
  const entry = (h, v) => {
    const e = data.rp.find((r) => Array.isArray(r) && Number(r[0]) === h && Number(r[1]) === v);
    return e && e[2] && typeof e[2] === 'object' ? e[2] : null;
  };
  const base = entry(0, 0) || {};
  const [h, v] = layout;
  const own = h || v ? entry(h, v) : null;
  if (!own) return base;
  const merged = { ...base, ...own };
  for (const key of Array.isArray(own.or) ? own.or : []) delete merged[key];
  delete merged.or;
  return merged;
}

function sameValue(a, b) {
  if (a === b) return true;
  if (Array.isArray(a) && Array.isArray(b)) return a.length === b.length && a.every((v, i) => v === b[i]);
  if (a && b && typeof a === 'object' && typeof b === 'object') return a.v === b.v && a.u === b.u;
  return false;
}

const group = (arr, i) => (Array.isArray(arr) && Array.isArray(arr[i]) ? arr[i] : []);

export class ElementNode {
  constructor(data, parent, ctx) {
    this.data = data;
    this.parent = parent;
    this.ctx = ctx;
    this.children = [];
    this.id = parent ? Number(data.id) || 0 : 0;
    const p = layoutProps(data, ctx.layout);
    this.base = p;
    this.vals = {};
    this.css = {};
    this.dirty = ALL;
    this.wpx = 0;
    this.hpx = 0;

    const r = Array.isArray(p.r) ? p.r : [];
    this.ct = Number(r[4]) || 0;
    this.x0 = parseLength(r[0] ?? 0);
    this.y0 = parseLength(r[1] ?? 0);
    this.x = this.x0;
    this.y = this.y0;
    this.w = parseLength(r[2] ?? 0);
    this.h = parseLength(r[3] ?? 0);

    const t = Array.isArray(p.t) ? p.t : [];
    const [rx = 0, ry = 0, rz = 0] = group(t, 0);
    const [sx = 100, sy = 100, sz = 100] = group(t, 1);
    const [kx = 0, ky = 0] = group(t, 2);
    const [tx = 0, ty = 0, tz = 0] = group(t, 3);
    const [ox = 50, oy = 50, oz = 0] = group(t, 4);
    this.tf = { rx, ry, rz, sx, sy, sz, kx, ky, tx, ty, tz, ox, oy, oz, orient: 0 };
    this.opacity = p.o !== undefined ? num(p.o) : 100;
    this.shown = p.d === undefined || num(p.d) !== 0;

    const el = (this.el = document.createElement('div'));
    el.className = 'kv-el' + (typeof p.cl === 'string' && p.cl ? ' ' + p.cl : '');
    el.dataset.kvName = typeof data.n === 'string' ? data.n : '';
    el.dataset.kvId = String(Number(data.id) || 0);
    const s = el.style;
    s.position = 'absolute';
    s.boxSizing = 'border-box';
    s.margin = '0';
    if (p.of) s.overflow = OVERFLOW[p.of] || 'visible';
    if (typeof p.c === 'string') s.cursor = p.c;
    if (typeof p.tl === 'string') el.title = p.tl;
    if (typeof p.tb === 'number' && p.tb >= -1) el.tabIndex = p.tb;
    if (ctx.preserve3d) s.transformStyle = 'preserve-3d';
    this.shape = null;
    const kind = Number(data.k);
    if ((kind === 9 || kind === 11) && Array.isArray(p.s)) this.buildShape(kind, p.s);
    this.textEl = null;
    if (Array.isArray(p.txt)) this.setText(p.txt[0], true);
    this.picture = buildContent(data, el, ctx);
    if (parent) parent.el.appendChild(el);
    for (const child of Array.isArray(data.elems) ? data.elems : []) {
      if (child && typeof child === 'object') this.children.push(new ElementNode(child, this, ctx));
    }
  }

  // The element's text: the rich text of its data, or plain text that an action puts in.
  setText(text, html = false) {
    if (!this.textEl) {
      this.el.style.display = 'flex';
      this.el.style.flexDirection = 'column';
      this.textEl = document.createElement('div');
      this.textEl.className = 'kv-text';
      this.textEl.style.position = 'relative';
      this.el.appendChild(this.textEl);
      this.dirty |= DISPLAY;
    }
    const value = typeof text === 'string' ? text : '';
    // The editor's stage cleans rich text first (ctx.html); the exported page shows it as written.
    if (html) this.textEl.innerHTML = this.ctx && this.ctx.html ? this.ctx.html(value) : value;
    else this.textEl.textContent = value;
  }

  // Lays the box out again at the next flush (its reference size changed).
  relayout() {
    this.dirty |= SIZE;
  }

  // Every node of the subtree, this one first.
  *walk() {
    yield this;
    for (const c of this.children) yield* c.walk();
  }

  // Sets an animated value by its property key; keys this player does not draw are ignored.
  set(key, value) {
    const g = GROUP[key];
    if (!g || sameValue(this.vals[key], value)) return;
    this.vals[key] = value;
    switch (key) {
      case 'lt':
      case 'rt':
        this.x = parseLength(value);
        break;
      case 'tp':
      case 'b':
        this.y = parseLength(value);
        break;
      case 'w':
        this.w = parseLength(value);
        break;
      case 'h':
        this.h = parseLength(value);
        break;
      case 'pos':
        // A location along a path that turns the element carries the direction as a third value.
        if (Array.isArray(value)) [this.tf.tx, this.tf.ty, this.tf.orient = 0] = value.map(num);
        break;
      case 'o':
        this.opacity = num(value);
        break;
      case 'd':
        this.shown = num(value) !== 0;
        break;
      default: {
        const tfKey = TRANSFORM_KEYS[key];
        if (tfKey) this.tf[tfKey] = num(value);
      }
    }
    this.dirty |= g;
  }

  setStyle(prop, value) {
    if (this.css[prop] !== value) {
      this.css[prop] = value;
      this.el.style[prop] = value;
    }
  }

  // Writes the CSS of every changed group of this node.
  flush() {
    const d = this.dirty;
    this.dirty = 0;
    if (d & SIZE) this.layout();
    if (d & (MOVE | SIZE)) this.writeTransform();
    if (d & OPACITY) this.setStyle('opacity', String(Math.max(0, Math.min(100, this.opacity)) / 100));
    if (d & DISPLAY) this.setStyle('display', this.shown ? (this.textEl ? 'flex' : 'block') : 'none');
    const p = this.base;
    const v = this.vals;
    if (d & BORDER) {
      const l = Array.isArray(p.l) ? p.l : [];
      if (this.shape) this.strokeShape(l, v);
      else if (l.length) this.setStyle('border', borderCss(l[0], v.lw ?? l[1], v.lc || l.slice(2, 6)));
    }
    if (d & FILL) {
      // A shape's fill is painted by its fill layer, cut to the outline.
      const css = fillCss(p.f, v, (id) => this.ctx.resourceUrl(id));
      const target = this.shape ? this.shape.fill.style : null;
      for (const k in css) {
        if (target) target[k] = css[k];
        else this.setStyle(k, css[k]);
      }
    }
    if (d & TEXT && this.textEl) {
      const css = textCss(p.txt, v);
      const te = this.textEl.style;
      this.setStyle('justifyContent', css.justifyContent);
      for (const k of ['fontFamily', 'fontSize', 'color', 'fontWeight', 'fontStyle', 'textDecoration', 'textAlign', 'lineHeight', 'textIndent', 'wordSpacing', 'letterSpacing']) {
        this.setStyle(k, css[k]);
      }
      te.backgroundColor = css.backgroundColor;
    }
    if (d & CORNER && Array.isArray(p.lr)) {
      const r = p.lr.slice();
      ['tlr', 'trr', 'blr', 'brr'].forEach((k, i) => v[k] !== undefined && (r[i] = cssLength(v[k])));
      this.setStyle('borderRadius', cornersCss(r));
    }
    if (d & CLIP && Array.isArray(p.wc) && p.wc.length) {
      const c = p.wc.slice();
      const keys = c[0] === 1 ? ['crt', 'crr', 'crb', 'crl'] : c[0] === 2 ? ['ccr'] : ['cov', 'coc'];
      keys.forEach((k, i) => v[k] !== undefined && (c[i + 1] = cssLength(v[k])));
      this.setStyle('clipPath', clipCss(c));
    }
    const shadow = d & SHADOW && Array.isArray(p.sh) && p.sh.length ? p.sh : null;
    if (shadow) {
      const css = shadowCss(v.shr ?? shadow[0], v.sha ?? shadow[1], v.shd ?? shadow[2], v.shc || shadow.slice(3, 7));
      // A shape casts the shadow of its outline, not of its box.
      if (this.shape) this.shape.shadow = `drop-shadow(${css})`;
      else this.setStyle('boxShadow', css);
    }
    if ((d & FILTER || (shadow && this.shape)) && (Array.isArray(p.fe) || this.shape)) {
      const f = Array.isArray(p.fe) ? p.fe.slice() : [];
      ['fif', 'fhf', 'fcf', 'frf', 'fsf', 'fpf', 'fgf', 'fbf'].forEach((k, i) => v[k] !== undefined && (f[i] = num(v[k])));
      let css = filterCss(f);
      if (this.shape && this.shape.shadow) css = css === 'none' ? this.shape.shadow : `${css} ${this.shape.shadow}`;
      this.setStyle('filter', css);
    }
    if (d & IMAGE && this.picture && Number(this.data.k) === 0) Object.assign(this.picture.style, imagePlacement(p.ir, v));
    // An audio or video element's volume follows its track, else the element's own.
    if (d & VOLUME && this.picture && 'volume' in this.picture) {
      const volume = v.vol !== undefined ? num(v.vol) : typeof this.data.vol === 'number' ? this.data.vol : 100;
      this.picture.volume = Math.max(0, Math.min(1, volume / 100));
    }
    if (d & PERSPECTIVE && Array.isArray(p.pso) && this.ctx.preserve3d) {
      const [x = 50, y = 50, z = 1200] = p.pso;
      this.setStyle('perspective', `${num(v.psoZ ?? z)}px`);
      this.setStyle('perspectiveOrigin', `${num(v.psoX ?? x)}% ${num(v.psoY ?? y)}%`);
    }
  }

  parentSize() {
    return this.parent ? [this.parent.wpx, this.parent.hpx] : [this.wpx, this.hpx];
  }

  // Size and anchored position of the box. A change of size lays out the children again, since
  // their percent values are measured against it.
  layout() {
    // A scene measures percent sizes against the container it plays in.
    const [pw, ph] = this.parent ? this.parentSize() : this.ctx.containerSize || [0, 0];
    const [w, h] = boxSize(this.w, this.h, pw, ph);
    if (w !== this.wpx || h !== this.hpx) {
      this.wpx = w;
      this.hpx = h;
      for (const c of this.children) c.dirty |= SIZE;
    }
    this.setStyle('width', `${w}px`);
    this.setStyle('height', `${h}px`);
    if (this.shape) this.outlineShape(w, h);
    if (!this.parent) return;
    const [hs, vs] = anchorSides(this.ct);
    this.setStyle(hs, `${toPixels(this.x0, pw)}px`);
    this.setStyle(vs, `${toPixels(this.y0, ph)}px`);
  }

  // The layers of a shape: its fill cut to the outline, and the outline stroked in SVG.
  buildShape(kind, s) {
    const fill = document.createElement('div');
    fill.className = 'kv-shape-fill';
    fill.style.cssText = 'position:absolute;left:0;top:0;width:100%;height:100%;';
    const svg = document.createElementNS(SVG, 'svg');
    svg.setAttribute('class', 'kv-shape');
    svg.style.cssText = 'position:absolute;left:0;top:0;overflow:visible;pointer-events:none;';
    const path = document.createElementNS(SVG, 'path');
    path.setAttribute('fill', 'none');
    path.style.pointerEvents = 'visibleStroke';
    svg.appendChild(path);
    this.el.append(fill, svg);
    // Only the outline takes the pointer, not the corners of the box around it.
    this.el.style.pointerEvents = 'none';
    fill.style.pointerEvents = 'auto';
    const type = Number(s[0]) || 0;
    this.shape = { kind, type, s, fill, svg, path, shadow: '', open: kind === 11 && isOpenFreeform(type) };
    if (this.shape.open) fill.style.display = 'none';
  }

  outlineShape(w, h) {
    const { kind, type, s, fill, svg, path } = this.shape;
    const d = kind === 11 ? freeformPath(type, s[1]) : autoShapePath(type, s[1], w, h);
    svg.setAttribute('width', String(w));
    svg.setAttribute('height', String(h));
    path.setAttribute('d', d);
    // The fill layer covers whatever the outline reaches (a callout's tail leaves the box).
    const [x0, y0, x1, y1] = kind === 11 ? [0, 0, w, h] : autoShapeBounds(type, s[1], w, h);
    Object.assign(fill.style, { left: `${x0}px`, top: `${y0}px`, width: `${x1 - x0}px`, height: `${y1 - y0}px` });
    fill.style.clipPath = d ? `path("${shiftPath(d, -x0, -y0)}")` : 'none';
  }

  // The outline takes the border's style, width and colour; an open free-form shape without a border
  // is still drawn, one pixel wide in its fill colour. Free-form line ends are markers.
  strokeShape(l, v) {
    const { kind, s, path, svg, open } = this.shape;
    let style = Number(l[0]) || 0;
    let width = num(v.lw ?? l[1]);
    let color = rgba(v.lc || l.slice(2, 6));
    if (!style && open) {
      const f = this.base.f;
      style = 1;
      width = 1;
      color = Array.isArray(f) && f[0] === 1 ? rgba(v.fc || f.slice(1, 5)) : 'rgba(0,0,0,1)';
    }
    path.setAttribute('stroke', style ? color : 'none');
    path.setAttribute('stroke-width', String(width));
    path.setAttribute('stroke-dasharray', BORDER_DASH[style] ? BORDER_DASH[style](width) : 'none');
    if (kind !== 11) return;
    const old = svg.querySelector('defs');
    if (old) old.remove();
    const defs = document.createElementNS(SVG, 'defs');
    for (const [atStart, typeAt, sizeAt, attr] of [[false, 2, 3, 'marker-end'], [true, 4, 5, 'marker-start']]) {
      const id = `kv-marker-${++markerCount}`;
      const marker = style ? lineEndMarker(id, Number(s[typeAt]), s[sizeAt], color, atStart) : null;
      if (marker) {
        defs.appendChild(marker);
        path.setAttribute(attr, `url(#${id})`);
      } else {
        path.removeAttribute(attr);
      }
    }
    svg.insertBefore(defs, path);
  }

  writeTransform() {
    const [pw, ph] = this.parentSize();
    const [hs, vs] = anchorSides(this.ct);
    const tf = this.tf;
    let dx = toPixels(this.x, pw) - toPixels(this.x0, pw);
    let dy = toPixels(this.y, ph) - toPixels(this.y0, ph);
    if (hs === 'right') dx = -dx;
    if (vs === 'bottom') dy = -dy;
    this.setStyle('transformOrigin', `${tf.ox}% ${tf.oy}% ${tf.oz}px`);
    this.setStyle(
      'transform',
      transformCss({
        dx: dx + tf.tx,
        dy: dy + tf.ty,
        tz: tf.tz,
        rx: tf.rx,
        ry: tf.ry,
        rz: tf.rz + tf.orient,
        kx: tf.kx,
        ky: tf.ky,
        sx: tf.sx / 100,
        sy: tf.sy / 100,
        sz: tf.sz / 100,
      }),
    );
  }
}

const TRANSFORM_KEYS = {
  rX: 'rx', rY: 'ry', rZ: 'rz', sX: 'sx', sY: 'sy', sZ: 'sz', skX: 'kx', skY: 'ky',
  tX: 'tx', tY: 'ty', tZ: 'tz', toX: 'ox', toY: 'oy', toZ: 'oz',
};

export { rgba };
