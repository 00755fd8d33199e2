// What a container shows while its document loads: the project's loading indicator (dots around a
// circle, turning) or its own preloader document; and the wait for the document's images.

const SHAPES = ['oval', 'spiral', 'square', 'rect', 'roundRect'];

// The indicator from its data {diameter, density, range, speed, color, shape}: density dots spread
// over range (a fraction of the circle), fading towards the first, turning once per second at speed 1.
export function loadingIndicator(li) {
  const o = li && typeof li === 'object' ? li : {};
  const diameter = Math.max(8, Number(o.diameter) || 60);
  const density = Math.max(1, Math.min(64, Math.round(Number(o.density) || 9)));
  const range = Math.max(0.05, Math.min(1, Number(o.range) || 1));
  const speed = Math.max(0.1, Number(o.speed) || 1);
  const color = typeof o.color === 'string' && o.color ? o.color : '#2090e6';
  const shape = SHAPES.includes(o.shape) ? o.shape : 'oval';
  const box = document.createElement('div');
  box.className = 'kv-loading';
  box.style.cssText = `position:relative;width:${diameter}px;height:${diameter}px;margin:0 auto;`;
  const dot = diameter / 6;
  for (let i = 0; i < density; ++i) {
    const k = (i + 1) / density;
    const size = shape === 'spiral' ? dot * (0.4 + 0.6 * k) : dot;
    const w = size;
    const h = shape === 'rect' ? size / 2 : size;
    const a = (i * range * 2 * Math.PI) / density;
    const r = diameter / 2 - dot / 2;
    const d = document.createElement('div');
    d.style.cssText =
      `position:absolute;width:${w}px;height:${h}px;background:${color};opacity:${k.toFixed(3)};` +
      `left:${diameter / 2 + r * Math.cos(a) - w / 2}px;top:${diameter / 2 + r * Math.sin(a) - h / 2}px;` +
      `border-radius:${shape === 'oval' || shape === 'spiral' ? '50%' : shape === 'roundRect' ? '30%' : '0'};`;
    box.appendChild(d);
  }
  // The browser turns it on the compositor; nothing runs per frame on the page.
  if (box.animate) box.animate([{ transform: 'rotate(0deg)' }, { transform: 'rotate(360deg)' }], { duration: 1000 / speed, iterations: Infinity });
  return box;
}

// Resolves when every image has loaded or failed; a missing file does not hold the document back.
// started(url) and ended(url) follow each file.
export function preloadImages(urls, started = () => {}, ended = () => {}) {
  return Promise.all(
    urls.map(
      (url) =>
        new Promise((resolve) => {
          const img = new Image();
          img.onload = img.onerror = () => {
            ended(url);
            resolve();
          };
          started(url);
          img.src = url;
        }),
    ),
  );
}
