// Drawing with the tool the editor switched on: a box dragged out (a square with shift) for
// rectangles, ellipses and auto shapes, a drag for lines, a freehand drag for the scribble, and
// click after click for the free-form shape (ended by a double-click, Enter, or a click on its first
// point). The drawn element shows at once and goes to the editor as one insert request.
import { rectFromPoints, snapPoint, squareFromPoints } from './geometry.js';
import { insertAction } from './requests.js';
import { drawnElement, isPathTool, pathPoints } from './drawing.js';

// The size a click with a drawing tool gives.
const CLICK_SIZE = { w: 100, h: 100 };

const around = (points) => {
  const xs = points.map((q) => q.x);
  const ys = points.map((q) => q.y);
  return rectFromPoints({ x: Math.min(...xs), y: Math.min(...ys) }, { x: Math.max(...xs), y: Math.max(...ys) });
};

export class DrawTool {
  // gestures holds the gesture in progress (gestures.g).
  constructor(page, gestures, snap) {
    this.page = page;
    this.gestures = gestures;
    this.snapDistance = snap;
  }

  snapped(at) {
    const p = this.page;
    return p.snap ? snapPoint(at, p.targets([]), this.snapDistance / p.zoom) : at;
  }

  // A press with a tool: a new drawing, or the next click of a free-form shape.
  start(start) {
    const p = this.page;
    const at = this.snapped(start.at);
    const g = this.gestures.g;
    if (g && g.kind === 'draw' && g.path) {
      g.client = start.client;
      g.dragging = false;
      return;
    }
    const path = isPathTool(p.tool) && !p.tool.line;
    this.gestures.g = { ...start, kind: 'draw', start: at, path, scribble: p.tool.scribble === true, points: [at] };
  }

  drag(g, at) {
    const p = this.page;
    // Free-form shapes take their points from the clicks.
    if (g.path) return;
    const end = this.snapped(at);
    if (g.scribble) {
      g.points.push(end);
      p.draft = around(g.points);
    } else {
      g.end = end;
      p.draft = g.shiftNow ? squareFromPoints(g.start, end) : rectFromPoints(g.start, end);
      p.draft.round = p.tool.type === 'ellipse' ? '50%' : '';
    }
    p.drawOverlay();
  }

  // A click of the free-form shape: a new point, or on the first point the shape's end.
  addPoint(g, at) {
    const p = this.page;
    const first = g.points[0];
    if (g.points.length > 2 && Math.hypot(at.x - first.x, at.y - first.y) <= this.snapDistance / p.zoom) {
      this.gestures.g = null;
      this.insertPath(g.points);
      return;
    }
    const last = g.points[g.points.length - 1];
    if (!last || last.x !== at.x || last.y !== at.y) g.points.push(at);
    p.draft = around(g.points);
    p.drawOverlay();
  }

  // Ends a free-form shape drawn click by click (double-click or Enter).
  finishPath() {
    const g = this.gestures.g;
    if (!g || g.kind !== 'draw' || !g.path) return;
    this.gestures.g = null;
    if (g.points.length >= 2) this.insertPath(g.points);
    else this.end();
  }

  // The release of a drag with a tool (free-form shapes go on click by click).
  finish(g) {
    const p = this.page;
    if (g.scribble) {
      if (g.points.length < 2) this.end();
      else this.insertPath(g.points);
      return;
    }
    if (g.path) return;
    if (p.tool.line) {
      const a = g.start;
      this.insertPath([a, g.dragging ? g.end : { x: a.x + CLICK_SIZE.w, y: a.y }]);
      return;
    }
    let box;
    if (!g.dragging) box = { x: g.start.x, y: g.start.y, ...CLICK_SIZE };
    else box = g.shiftNow ? squareFromPoints(g.start, g.end) : rectFromPoints(g.start, g.end);
    this.insert(drawnElement(p.tool, box, p.model.maxId() + 1));
  }

  insertPath(points) {
    const p = this.page;
    const { box, pts } = pathPoints(points);
    this.insert(drawnElement(p.tool, box, p.model.maxId() + 1, pts));
  }

  // Shows the drawn element at once (selected alone) and asks the editor to insert it.
  insert(made) {
    const p = this.page;
    for (const id of p.selection()) p.model.setSelected(id, false);
    p.model.insert(made.local, -1, 0);
    p.submit([insertAction(made.request, p.model.id)], `Insert ${made.kindName}`);
    p.focusedId = made.local.id;
    p.call('setFocusedItemId', made.local.id);
    this.end();
    p.rebuild();
  }

  // The tool is put away.
  end() {
    const p = this.page;
    p.tool = null;
    p.draft = null;
    p.viewport.style.cursor = '';
    p.drawOverlay();
  }
}
