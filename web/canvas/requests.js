// Requests the page submits to the editor: each finished gesture becomes one command, an object of
// actions in the view-update form ({cmd, isUndoCmd, params}) with the scene, the symbol being edited,
// the responsive layout being edited and the command's text. The actions the page sends, with their
// parameters as (kind) value:
//   1     (11) {id, shapeType, l, t, w, h, path[, autoshapeType]}, (1) -1, (1) scene id  - a drawn
//         element; path is "rect" or "roundrect" for rectangles, the shape type for ellipses and
//         auto shapes, the points [x, y, x1, y1, x2, y2] for free-form shapes
//   33    (1) element id, (4) selected                       - sent without an undo step
//   59/60 (1) container width / height
//   91    (1) direction (0 horizontal), (1) breakpoint id, (1) new value
//   1000  (1) element id, (1) h layout, (1) v layout, (1) 0, (33) property codes, (2) one value per
//         code: pixels, or a fraction of the parent's size for a length the element keeps in percent
//   1037  (1) element id, (7) {value: points[, open]}        - a free-form outline edited in the page

// Parameter kinds.
export const INT = 1;
export const DOUBLE = 2;
export const BOOL = 4;
export const OBJECT = 7;
export const ELEMENT = 11;
export const INT_LIST = 33;

// Action types the page sends.
export const INSERT = 1;
export const SELECT = 33;
export const CONTAINER_WIDTH = 59;
export const CONTAINER_HEIGHT = 60;
export const GEOMETRY = 1000;
export const OUTLINE = 1037;

// Property codes of geometry values.
export const LEFT = 0;
export const RIGHT = 1;
export const TOP = 2;
export const BOTTOM = 3;
export const WIDTH = 4;
export const HEIGHT = 5;
export const ROTATE_Z = 11;

// Element type codes of drawn elements.
export const DIV = 5;
export const SHAPE = 9;
export const FREEFORM = 11;
// The catalogue's oval, which the ellipse tool draws.
export const OVAL = 21;

export function param(type, value) {
  return value === undefined ? { type } : { type, value };
}

export function action(cmd, params) {
  return { cmd, isUndoCmd: false, params };
}

export function selectAction(id, selected) {
  return action(SELECT, [param(INT, id), param(BOOL, !!selected)]);
}

// The actions that make the selection exactly `ids` when it was `before`: deselections first, then
// selections, each element once.
export function selectionActions(before, ids) {
  const now = new Set(ids);
  const was = new Set(before);
  const list = [];
  for (const id of was) if (!now.has(id)) list.push(selectAction(id, false));
  for (const id of now) if (!was.has(id)) list.push(selectAction(id, true));
  return list;
}

// A geometry action: values {code: number} for the element at a layout, in the order of the codes.
// Positions and sizes in pixels unless the element holds them in percent (then as a fraction of the
// parent's size, as the model keeps them), the rotation in degrees.
export function geometryAction(id, layout, values) {
  const codes = Object.keys(values)
    .map(Number)
    .sort((a, b) => a - b);
  return action(GEOMETRY, [
    param(INT, id),
    param(INT, layout[0]),
    param(INT, layout[1]),
    param(INT, 0),
    param(INT_LIST, codes),
    ...codes.map((c) => param(DOUBLE, values[c])),
  ]);
}

// The element a drawing tool made: its kind and outline, its box in pixels and the id the page gave
// it. Rounded rectangles carry "roundrect" as their outline, ellipses and auto shapes their shape
// type, free-form shapes their path points.
export function insertAction(element, sceneId) {
  return action(INSERT, [param(ELEMENT, element), param(INT, -1), param(INT, sceneId)]);
}

// A free-form outline edited in the page: its points, and whether the path is left open when that
// changes.
export function outlineAction(id, points, open) {
  const value = open === undefined ? { value: points } : { value: points, open: !!open };
  return action(OUTLINE, [param(INT, id), param(OBJECT, value)]);
}

// The request object of a command.
export function request(ctx, actions, text) {
  return {
    actions,
    sceneId: ctx.sceneId,
    symbolResourceId: ctx.symbolResourceId,
    responsive: !!ctx.responsive,
    hLayoutId: ctx.layout[0],
    vLayoutId: ctx.layout[1],
    text,
  };
}
