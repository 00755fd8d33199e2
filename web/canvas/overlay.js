// The layer over the stage, in viewport pixels so that handles keep their size at any zoom: the
// frames and handles of the selection, the points of a path being edited, the container's
// handles, snapping guides, the marquee and the outline of a shape being drawn. Nothing shows
// while the timeline plays.
import { handles } from './geometry.js';

export function drawOverlay(page) {
  const o = page.overlay;
  if (!o) return;
  o.textContent = '';
  if (!page.view || page.playing) return;
  const add = (cls, css) => {
    const d = document.createElement('div');
    d.className = cls;
    Object.assign(d.style, css);
    o.appendChild(d);
    return d;
  };
  const z = page.zoom;
  const ids = page.selection();
  for (const id of ids) {
    const node = page.node(id);
    if (!node) continue;
    const b = page.drawnBox(node);
    const tl = page.toView(b);
    const frame = add('kv-frame', { left: `${tl.x}px`, top: `${tl.y}px`, width: `${b.w * z}px`, height: `${b.h * z}px`, transform: b.rot ? `rotate(${b.rot}deg)` : '' });
    frame.dataset.kvFrame = String(id);
    if (ids.length === 1 && node.data.locked !== true && page.pointEditing !== id) {
      for (const h of handles(b, z)) {
        const p = page.toView(h);
        const el = add(`kv-handle ${h.name === 'rotate' ? 'rotate' : ''}`, { left: `${p.x}px`, top: `${p.y}px` });
        el.dataset.kvHandle = h.name;
      }
    }
  }
  if (page.pointEditing >= 0) page.gestures.points.draw(add);
  if (page.containerHandler) {
    for (const h of page.containerHandles()) {
      const p = page.toView(h);
      add('kv-handle container', { left: `${p.x}px`, top: `${p.y}px`, background: '#1e88e5' }).dataset.kvContainer = h.name;
    }
  }
  for (const g of page.guides) {
    if (g.x !== undefined) add('kv-guide', { left: `${page.toView({ x: g.x, y: 0 }).x}px`, top: '0', width: '1px', height: '100000px' });
    else add('kv-guide', { top: `${page.toView({ x: 0, y: g.y }).y}px`, left: '0', height: '1px', width: '100000px' });
  }
  if (page.rulerVisible) {
    for (const g of page.rulerGuides) {
      const v = page.toView({ x: g.value, y: g.value });
      const line = g.axis === 'x'
        ? add('kv-ruler-guide', { left: `${v.x}px`, top: '0', width: '1px', height: '100000px' })
        : add('kv-ruler-guide', { top: `${v.y}px`, left: '0', height: '1px', width: '100000px' });
      line.dataset.kvGuide = `${g.axis}:${g.value}`;
    }
  }
  if (page.marquee) {
    const m = page.marquee;
    const p = page.toView(m);
    add('kv-marquee', { left: `${p.x}px`, top: `${p.y}px`, width: `${m.w * z}px`, height: `${m.h * z}px` });
  }
  if (page.draft) {
    const d = page.draft;
    const p = page.toView(d);
    add('kv-draft', { left: `${p.x}px`, top: `${p.y}px`, width: `${d.w * z}px`, height: `${d.h * z}px`, borderRadius: d.round || '' });
  }
}
