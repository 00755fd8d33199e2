// Scene transitions: how the leaving and the entering scene are drawn at a point k (0..1, eased) of
// the transition. Types: 1 fade, 2 push, 3 wipe, 4 cover, 5 uncover; directions name where the new
// scene comes from: 0 left, 1 top, 2 right, 3 bottom, 4 top left, 5 top right, 6 bottom left,
// 7 bottom right.
import { easing } from './easing.js';

const FROM = [[-1, 0], [0, -1], [1, 0], [0, 1], [-1, -1], [1, -1], [-1, 1], [1, 1]];

const slide = (x, y, w, h, f) => `translate(${+(x * w * f).toFixed(3)}px,${+(y * h * f).toFixed(3)}px)`;

// The transition of a scene from its "st" array [type, duration, easing, direction]; null when the
// scene enters without one.
export function sceneTransition(st) {
  if (!Array.isArray(st)) return null;
  const type = Number(st[0]) || 0;
  const duration = Number(st[1]) || 0;
  if (type < 1 || type > 5 || duration <= 0) return null;
  return { type, duration, ease: easing(Number(st[2]) || 0), direction: Number(st[3]) || 0 };
}

// Styles of the two scene layers at eased progress k: {leaving, entering, enteringBelow}, each a map
// of CSS properties. Uncover keeps the new scene under the old one.
export function transitionStyles(type, direction, k, w, h) {
  const [x, y] = FROM[direction] || FROM[0];
  const rest = 1 - k;
  const none = { transform: '', opacity: '', clipPath: '' };
  const leaving = { ...none };
  const entering = { ...none };
  switch (type) {
    case 1:
      entering.opacity = String(+k.toFixed(4));
      break;
    case 2:
      entering.transform = slide(x, y, w, h, rest);
      leaving.transform = slide(-x, -y, w, h, k);
      break;
    case 3: {
      // The new scene is uncovered from the side it comes from.
      const pct = `${+(rest * 100).toFixed(3)}%`;
      const top = y > 0 ? pct : '0';
      const bottom = y < 0 ? pct : '0';
      const left = x > 0 ? pct : '0';
      const right = x < 0 ? pct : '0';
      entering.clipPath = `inset(${top} ${right} ${bottom} ${left})`;
      break;
    }
    case 4:
      entering.transform = slide(x, y, w, h, rest);
      break;
    case 5:
      leaving.transform = slide(-x, -y, w, h, k);
      break;
    default:
      break;
  }
  return { leaving, entering, enteringBelow: type === 5 };
}
