// The scene-thumbnail page: draws one scene at a time with the player's own modules, the way the
// stage does, scaled to the thumbnail box, and says when its pictures have arrived. The editor
// hands it the scene as the stage receives it (window.kvThumbnail.render) and reads window.kvThumbnail.done.
import { SceneView } from '../player/scene.js';
import { inertContent } from './inert.js';

const host = document.createElement('div');
host.style.cssText = 'position:absolute;left:0;top:0;transform-origin:0 0';
document.body.style.cssText = 'margin:0;overflow:hidden;background:transparent';
document.body.appendChild(host);

function resourceFinder(list) {
  const resources = new Map();
  for (const r of Array.isArray(list) ? list : []) if (Array.isArray(r)) resources.set(Number(r[0]), r);
  return {
    resourceUrl: (id) => {
      const r = resources.get(Number(id));
      return r && typeof r[3] === 'string' ? 'resource://' + r[3] : '';
    },
    resourceFiles: (id) => {
      const r = resources.get(Number(id));
      return r && Array.isArray(r[3]) ? r[3].filter((f) => typeof f === 'string').map((f) => 'resource://' + f) : [];
    },
    symbol: (id) => {
      const r = resources.get(Number(id));
      return r && r[3] && typeof r[3] === 'object' && !Array.isArray(r[3]) ? r[3] : null;
    },
  };
}

// Draws the scene of the data at the scale and marks the request done once its images have
// loaded (or failed); returns false for data that holds no scene.
function render(text, requestId, scale) {
  window.kvThumbnail.done = -1;
  host.textContent = '';
  let data = null;
  try {
    data = JSON.parse(text);
  } catch (e) {
    data = null;
  }
  if (!data || typeof data.scene !== 'object' || !data.scene) {
    window.kvThumbnail.done = requestId;
    return false;
  }
  const view = new SceneView(data.scene, {
    ...inertContent,
    layout: [0, 0],
    containerSize: [Number(data.containerW) || 0, Number(data.containerH) || 0],
    ...resourceFinder(data.resources),
  });
  for (const node of view.order) {
    if (node.parent && node.data.visible === false) node.el.style.visibility = 'hidden';
    if (node.picture && node.picture.autoplay) node.picture.autoplay = false;
  }
  host.appendChild(view.root.el);
  host.style.width = `${view.root.wpx}px`;
  host.style.height = `${view.root.hpx}px`;
  host.style.transform = `scale(${scale})`;
  view.render(0, false);
  const pictures = [...host.querySelectorAll('img')].map((img) =>
    img.complete ? Promise.resolve() : new Promise((resolve) => img.addEventListener('load', resolve) || img.addEventListener('error', resolve)));
  Promise.all(pictures).then(() =>
    requestAnimationFrame(() => requestAnimationFrame(() => (window.kvThumbnail.done = requestId))));
  return true;
}

window.kvThumbnail = { done: -1, render };
