// The drawing tools the editor switches on (insertRectangle, insertRoundedRect, insertEllipse,
// insertShape) and the elements they make: the page's own copy, drawn at once, and the element of
// the insert request.
import { DIV, FREEFORM, OVAL, SHAPE } from './requests.js';

// Free-form shape types: lines drawn with one drag, the shape drawn click by click, the scribble
// drawn freehand.
const LINES = new Set([590, 591, 592, 593]);
const FREEFORM_SHAPE = 594;
const SCRIBBLE = 595;

export function toolFor(signal, shapeId) {
  switch (signal) {
    case 'insertRectangle':
      return { type: 'rect', name: 'Rectangle' };
    case 'insertRoundedRect':
      return { type: 'roundrect', name: 'Rounded Rectangle' };
    case 'insertEllipse':
      return { type: 'ellipse', shape: OVAL, name: 'Ellipse' };
    case 'insertShape': {
      const id = Number(shapeId) || 0;
      if (LINES.has(id)) return { type: 'freeform', shape: id, line: true, name: 'Freeform' };
      if (id === FREEFORM_SHAPE) return { type: 'freeform', shape: id, name: 'Freeform' };
      if (id === SCRIBBLE) return { type: 'freeform', shape: id, scribble: true, name: 'Freeform' };
      return { type: 'shape', shape: id, name: 'Shape' };
    }
    default:
      return null;
  }
}

export const isPathTool = (tool) => !!tool && tool.type === 'freeform';

const r2 = (v) => Math.round(v * 100) / 100;

// The box around stage points (at least 1 x 1) and the points in it, each [x, y, x1, y1, x2, y2]
// with its control points on the point (straight segments).
export function pathPoints(points) {
  const xs = points.map((p) => p.x);
  const ys = points.map((p) => p.y);
  const x = Math.min(...xs);
  const y = Math.min(...ys);
  const box = { x: r2(x), y: r2(y), w: r2(Math.max(1, Math.max(...xs) - x)), h: r2(Math.max(1, Math.max(...ys) - y)), rot: 0 };
  const pts = points.map((p) => {
    const px = r2(p.x - x);
    const py = r2(p.y - y);
    return [px, py, px, py, px, py];
  });
  return { box, pts };
}

// {local, request, kindName} for a tool, a box on the stage and the id the page gives the element.
export function drawnElement(tool, box, id, pts = []) {
  const l = r2(box.x);
  const t = r2(box.y);
  const w = r2(Math.max(1, box.w));
  const h = r2(Math.max(1, box.h));
  const local = {
    id,
    n: `${tool.name.replace(/ /g, '_')}_${id}`,
    k: DIV,
    selected: true,
    locked: false,
    visible: true,
    aspectRatioLocked: false,
    r: [l, t, w, h, 0],
    f: [1, 74, 134, 232, 255],
  };
  const request = { id, shapeType: DIV, l, t, w, h, path: tool.type };
  if (tool.type === 'roundrect') local.lr = [25, 25, 25, 25];
  if (tool.type === 'ellipse' || tool.type === 'shape') {
    local.k = SHAPE;
    local.s = [tool.shape];
    request.shapeType = SHAPE;
    request.path = tool.shape;
  }
  if (tool.type === 'freeform') {
    local.k = FREEFORM;
    local.s = [tool.shape, pts];
    request.shapeType = FREEFORM;
    request.path = pts;
    request.autoshapeType = tool.shape;
  }
  return { local, request, kindName: tool.name };
}
