// CSS text for the visual groups of the player data: colours, fills, borders, shadows, filters,
// clip shapes, corners and the transform of an element.
import { num, parseLength } from './units.js';

export function rgba(c) {
  if (!Array.isArray(c)) return 'transparent';
  const [r = 0, g = 0, b = 0, a = 255] = c;
  return `rgba(${r},${g},${b},${+(a / 255).toFixed(4)})`;
}

// A length of a group as CSS: pixels or percent.
export function cssLength(value) {
  const l = parseLength(value);
  return l.u === '%' ? `${l.v}%` : `${l.v}px`;
}

const BORDER_STYLES = ['none', 'solid', 'dotted', 'dashed'];

export function borderCss(style, width, color) {
  if (!style) return 'none';
  return `${num(width)}px ${BORDER_STYLES[style] || 'solid'} ${rgba(color)}`;
}

function stopsCss(stops) {
  return (Array.isArray(stops) ? stops : [])
    .filter(Array.isArray)
    .map((s) => `${rgba(s.slice(1, 5))} ${s[0]}%`)
    .join(',');
}

const RADIAL_SIZES = ['closest-side', 'farthest-side', 'closest-corner', 'farthest-corner'];
// How an image fill is laid: stretch, centre, fit, tile, fill.
const IMAGE_LAYOUT = [
  ['100% 100%', 'no-repeat', 'center'],
  ['auto', 'no-repeat', 'center'],
  ['contain', 'no-repeat', 'center'],
  ['auto', 'repeat', '0 0'],
  ['cover', 'no-repeat', 'center'],
];

// The background of a fill array with animated values laid over it ({fc, ga, gX, gY}); imageUrl
// turns a resource id into a URL. Returns the four background properties.
export function fillCss(fill, over = {}, imageUrl = () => '') {
  const css = { backgroundColor: 'transparent', backgroundImage: 'none', backgroundSize: '', backgroundRepeat: '', backgroundPosition: '' };
  if (!Array.isArray(fill)) return css;
  switch (fill[0]) {
    case 1:
      css.backgroundColor = rgba(over.fc || fill.slice(1, 5));
      break;
    case 2:
      if (fill[1] === 0) {
        const angle = over.ga !== undefined ? num(over.ga) : num(fill[2]);
        css.backgroundImage = `linear-gradient(${angle}deg,${stopsCss(fill[3])})`;
      } else if (fill[1] === 1) {
        const x = over.gX !== undefined ? num(over.gX) : num(fill[2]);
        const y = over.gY !== undefined ? num(over.gY) : num(fill[3]);
        const shape = fill[5] === 0 ? 'circle' : 'ellipse';
        const size = RADIAL_SIZES[fill[6]] || 'farthest-corner';
        css.backgroundImage = `radial-gradient(${shape} ${size} at ${x}% ${y}%,${stopsCss(fill[4])})`;
      }
      break;
    case 3: {
      if (fill.length < 2) break;
      const url = imageUrl(fill[1]);
      if (!url) break;
      const [size, repeat, position] = IMAGE_LAYOUT[fill[2]] || IMAGE_LAYOUT[0];
      css.backgroundImage = `url("${url.replace(/"/g, '%22')}")`;
      css.backgroundSize = size;
      css.backgroundRepeat = repeat;
      css.backgroundPosition = position;
      break;
    }
    default:
      break;
  }
  return css;
}

// A drop shadow from blur, angle (degrees, clockwise from the x axis) and distance.
export function shadowCss(blur, angle, distance, color) {
  const a = (num(angle) * Math.PI) / 180;
  const d = num(distance);
  const dx = +(d * Math.cos(a)).toFixed(3);
  const dy = +(d * Math.sin(a)).toFixed(3);
  return `${dx}px ${dy}px ${num(blur)}px ${rgba(color)}`;
}

// The filter array [invert, hue, contrast, brightness, saturate, sepia, grayscale (each × 100), blur];
// values at their defaults are left out.
export function filterCss(f) {
  if (!Array.isArray(f)) return 'none';
  const [inv = 0, hue = 0, con = 100, bri = 100, sat = 100, sep = 0, gray = 0, blur = 0] = f.map(num);
  const parts = [];
  if (inv) parts.push(`invert(${inv}%)`);
  if (hue) parts.push(`hue-rotate(${hue}deg)`);
  if (con !== 100) parts.push(`contrast(${con}%)`);
  if (bri !== 100) parts.push(`brightness(${bri}%)`);
  if (sat !== 100) parts.push(`saturate(${sat}%)`);
  if (sep) parts.push(`sepia(${sep}%)`);
  if (gray) parts.push(`grayscale(${gray}%)`);
  if (blur) parts.push(`blur(${blur}px)`);
  return parts.length ? parts.join(' ') : 'none';
}

// Clip shapes: 1 an inset rectangle, 2 a circle, 3 an ellipse, centred on the element.
export function clipCss(c) {
  if (!Array.isArray(c) || !c.length) return 'none';
  switch (c[0]) {
    case 1:
      return `inset(${c.slice(1, 5).map(cssLength).join(' ')})`;
    case 2:
      return `circle(${cssLength(c[1])} at 50% 50%)`;
    case 3:
      return `ellipse(${cssLength(c[1])} ${cssLength(c[2])} at 50% 50%)`;
    default:
      return 'none';
  }
}

// Corners come as top-left, top-right, bottom-left, bottom-right; CSS runs clockwise.
export function cornersCss(r) {
  if (!Array.isArray(r) || !r.length) return '';
  const [tl, tr, bl, br] = r.map(cssLength);
  return `${tl} ${tr} ${br} ${bl}`;
}

// The transform of an element: the offset of its position and its translation first, so that they
// are not turned or scaled, then the rotations, the skew and the scale about the origin.
export function transformCss(s) {
  const parts = [];
  if (s.dx || s.dy || s.tz) parts.push(`translate3d(${round(s.dx)}px,${round(s.dy)}px,${round(s.tz)}px)`);
  if (s.rx) parts.push(`rotateX(${round(s.rx)}deg)`);
  if (s.ry) parts.push(`rotateY(${round(s.ry)}deg)`);
  if (s.rz) parts.push(`rotate(${round(s.rz)}deg)`);
  if (s.kx || s.ky) parts.push(`skew(${round(s.kx)}deg,${round(s.ky)}deg)`);
  if (s.sx !== 1 || s.sy !== 1 || s.sz !== 1) parts.push(`scale3d(${round(s.sx)},${round(s.sy)},${round(s.sz)})`);
  return parts.length ? parts.join(' ') : 'none';
}

// Four decimals are plenty for CSS and cheaper than toFixed.
const round = (v) => Math.round((+v || 0) * 1e4) / 1e4;

const ALIGN_H = { 1: 'left', 2: 'right', 4: 'center', 8: 'justify' };
const ALIGN_V = { 32: 'flex-start', 64: 'flex-end', 128: 'center' };

// Text settings of the "txt" array with animated values laid over it.
export function textCss(txt, over = {}) {
  const t = Array.isArray(txt) ? txt : [];
  const pick = (key, i) => (over[key] !== undefined ? over[key] : t[i]);
  const decorations = [t[7] && 'underline', t[8] && 'line-through'].filter(Boolean);
  return {
    fontFamily: typeof t[1] === 'string' ? t[1] : '',
    fontSize: `${num(pick('fz', 2) ?? 18)}px`,
    color: rgba(pick('tc', 3)),
    backgroundColor: Array.isArray(pick('thc', 4)) && pick('thc', 4)[3] ? rgba(pick('thc', 4)) : '',
    fontWeight: t[5] === 'bold' ? 'bold' : 'normal',
    fontStyle: t[6] ? 'italic' : 'normal',
    textDecoration: decorations.length ? decorations.join(' ') : 'none',
    textAlign: ALIGN_H[t[9]] || 'center',
    justifyContent: ALIGN_V[t[10]] || 'center',
    lineHeight: `${num(pick('lh', 11) ?? 120) / 100}`,
    textIndent: `${num(pick('ti', 12) ?? 0)}px`,
    wordSpacing: `${num(pick('ws', 13) ?? 0)}px`,
    letterSpacing: `${num(pick('ls', 14) ?? 0)}px`,
  };
}
