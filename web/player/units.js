// Lengths and values as the player data writes them: plain numbers are pixels, "50%" is a percent of
// the parent's size, "150a" (widths and heights only) a width-to-height ratio times 100, and values of
// animation entries carry their unit as a suffix ("120px", "45deg", "12.5%").

const NUMBER_WITH_UNIT = /^\s*(-?(?:\d+\.?\d*|\.\d+)(?:e[-+]?\d+)?)\s*([a-z%]*)\s*$/i;

// A value of the player data in a form that can be interpolated: a number, an array (colours and
// points) or {v, u} for a number with a unit. Text that is not a number stays as it is.
export function parseValue(value) {
  if (typeof value === 'number' || Array.isArray(value)) return value;
  if (value && typeof value === 'object' && typeof value.v === 'number') return value;
  if (typeof value !== 'string') return 0;
  const m = NUMBER_WITH_UNIT.exec(value);
  if (!m) return value;
  const v = Number(m[1]);
  return m[2] ? { v, u: m[2].toLowerCase() } : v;
}

// The number of a parsed value, whatever its unit.
export function num(value) {
  if (typeof value === 'number') return value;
  if (value && typeof value === 'object' && !Array.isArray(value)) return value.v;
  const n = parseFloat(value);
  return Number.isFinite(n) ? n : 0;
}

// A length as {v, u} with u one of "px", "%", "a"; a bare number is in pixels.
export function parseLength(value) {
  const parsed = parseValue(value);
  if (typeof parsed === 'number') return { v: parsed, u: 'px' };
  if (parsed && typeof parsed === 'object' && !Array.isArray(parsed)) return parsed;
  return { v: 0, u: 'px' };
}

// Pixels of a length measured against a reference (the parent's width for left and width, its height
// for top and height).
export function toPixels(length, reference) {
  if (!length) return 0;
  if (typeof length === 'number') return length;
  return length.u === '%' ? (length.v / 100) * reference : length.v;
}

// Width and height in pixels of a box whose size may be given as a ratio of the other side: an auto
// width is the height times the ratio, an auto height the width divided by it (0 for a zero ratio).
export function boxSize(w, h, parentW, parentH) {
  const wRatio = w && w.u === 'a';
  const hRatio = h && h.u === 'a';
  if (wRatio && hRatio) return [0, 0];
  if (wRatio) {
    const hp = toPixels(h, parentH);
    return [hp * (w.v / 100), hp];
  }
  const wp = toPixels(w, parentW);
  if (hRatio) return [wp, h.v === 0 ? 0 : wp / (h.v / 100)];
  return [wp, toPixels(h, parentH)];
}

// The sides a coordinate type measures its position from: 0 left and top, 1 right and top,
// 2 right and bottom, 3 left and bottom.
export function anchorSides(coordinateType) {
  switch (coordinateType) {
    case 1:
      return ['right', 'top'];
    case 2:
      return ['right', 'bottom'];
    case 3:
      return ['left', 'bottom'];
    default:
      return ['left', 'top'];
  }
}
