// A small handle on the page for scripts the editor's tests run in it: where the nodes are, what is
// selected, and gestures played through the page's own pointer handling (synthetic pointer events
// at stage points).
import { toolFor } from './drawing.js';

export function testHook(page) {
  const client = (p) => {
    const r = page.viewport.getBoundingClientRect();
    const v = page.toView(p);
    return { x: r.left + v.x, y: r.top + v.y };
  };
  const fire = (type, p, opts = {}) => {
    const c = client(p);
    const init = {
      bubbles: true,
      cancelable: true,
      composed: true,
      clientX: c.x,
      clientY: c.y,
      button: opts.button ?? 0,
      buttons: type === 'pointerup' ? 0 : 1,
      shiftKey: !!opts.shift,
      ctrlKey: !!opts.ctrl,
      pointerId: 1,
      pointerType: 'mouse',
      isPrimary: true,
    };
    page.viewport.dispatchEvent(new PointerEvent(type, init));
  };
  // A press at `from`, moves in steps to `to`, and the release.
  const drag = (from, to, opts = {}) => {
    const steps = opts.steps || 5;
    fire('pointerdown', from, opts);
    for (let i = 1; i <= steps; ++i) fire('pointermove', { x: from.x + ((to.x - from.x) * i) / steps, y: from.y + ((to.y - from.y) * i) / steps }, opts);
    fire('pointerup', to, opts);
  };
  const centre = (id) => {
    const n = page.node(id);
    if (!n) throw new Error(`No element ${id}`);
    const b = page.boxOf(n);
    return { x: b.x + b.w / 2, y: b.y + b.h / 2 };
  };
  return {
    page,
    hasScene: () => !!page.model,
    // Boxes of the elements in stage pixels by id.
    positions: () => page.positions(),
    position: (id) => page.positions()[id] || null,
    ids: () => Array.from(page.stage.querySelectorAll('[data-kv-id]'), (el) => Number(el.dataset.kvId)).filter((id) => id > 0),
    selection: () => page.selection(),
    zoom: () => page.zoom,
    time: () => page.time,
    client,
    click: (p, opts = {}) => drag(p, p, { ...opts, steps: 1 }),
    drag,
    // Moves an element by (dx, dy) stage pixels, pressing at its centre.
    moveBy: (id, dx, dy, opts = {}) => {
      const c = centre(id);
      drag(c, { x: c.x + dx, y: c.y + dy }, opts);
    },
    // Drags a handle ("nw" ... "w", "rotate") of the single selected element.
    dragHandle: (name, dx, dy, opts = {}) => {
      const h = Array.from(page.overlay.querySelectorAll('[data-kv-handle]')).find((el) => el.dataset.kvHandle === name);
      if (!h) throw new Error(`No handle ${name}`);
      const r = h.getBoundingClientRect();
      const vr = page.viewport.getBoundingClientRect();
      const at = { x: (r.left + r.width / 2 - vr.left - page.offset.x) / page.zoom, y: (r.top + r.height / 2 - vr.top - page.offset.y) / page.zoom };
      drag(at, { x: at.x + dx, y: at.y + dy }, opts);
    },
    // Draws with a tool ("insertRectangle", "insertRoundedRect", "insertEllipse", "insertShape")
    // from one stage point to another.
    draw: (signal, from, to, shapeId) => {
      page.tool = toolFor(signal, shapeId);
      drag(from, to);
    },
  };
}
