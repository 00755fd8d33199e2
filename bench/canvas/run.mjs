// Canvas page benchmark (figures are printed, never asserted), in headless Chromium against a
// recording canvas object:
//  (a) drawing a scene of N elements from currentSceneChanged, for N = 1,000 and 5,000;
//  (b) one geometry message and its end-of-command message on that scene, drawn;
//  (c) one pointer move of a drag with snapping on (targets from every other element);
//  (d) the size of kvcanvas.js minified and gzipped.
// Usage: node run.mjs (uses the web folder's esbuild and playwright-core; run "npm ci" there first)
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

const here = path.dirname(fileURLToPath(import.meta.url));
const web = path.resolve(here, '..', '..', 'web');
const { build } = await import(pathToFileURL(path.join(web, 'node_modules/esbuild/lib/main.js')).href);
const { chromium } = await import(pathToFileURL(path.join(web, 'node_modules/playwright-core/index.mjs')).href);

const COLS = 50;
const RUNS = 20;

function scene(n) {
  const elems = [];
  for (let i = 0; i < n; i++) {
    const x = (i % COLS) * 20;
    const y = Math.floor(i / COLS) * 20;
    elems.push({ id: i + 1, k: 5, n: `b${i}`, selected: false, locked: false, visible: true, aspectRatioLocked: false, r: [x, y, 16, 16, 0], f: [1, 32, 144, 230, 255] });
  }
  return JSON.stringify({
    scene: { id: 1, k: 8, n: 'Scene_1', r: [0, 0, COLS * 20, Math.ceil(n / COLS) * 20, 0], f: [1, 255, 255, 255, 255], elems, timelines: [{ id: 1, n: 'Timeline', dur: 1000, anims: [] }], currentTime: 0 },
    resources: [], outputCss: '', symbolResourceId: -1, containerW: COLS * 20, containerH: Math.ceil(n / COLS) * 20, docAlign: 0,
    autoAddKeyframe: false, showContainerHandler: false, transformTools: 0,
  });
}

const stats = (xs) => {
  const s = xs.slice().sort((a, b) => a - b);
  const mean = s.reduce((a, b) => a + b, 0) / s.length;
  return `median ${s[s.length >> 1].toFixed(2)} ms, mean ${mean.toFixed(2)} ms, max ${s[s.length - 1].toFixed(2)} ms`;
};

const out = await build({ entryPoints: [path.join(web, 'canvas/main.js')], bundle: true, minify: true, format: 'iife', target: 'es2018', legalComments: 'none', write: false, logLevel: 'warning' });
const script = out.outputFiles[0].text;
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'] });
const pageUrl = pathToFileURL(path.join(web, 'test/fixtures/canvas.html')).href;

for (const n of [1000, 5000]) {
  const page = await browser.newPage({ viewport: { width: 1200, height: 800 } });
  await page.goto(pageUrl);
  await page.evaluate((s) => (window.kvScene = s), scene(n));
  await page.addScriptTag({ content: script });
  await page.evaluate(() => (window.canvasId = 1));
  await page.waitForFunction(() => window.kvCanvasPage && window.kvCanvasPage.hasScene());
  const times = await page.evaluate(
    ([text, runs]) => {
      const host = window.kvHost;
      const draw = [];
      const message = [];
      const moves = [];
      for (let i = 0; i < runs; i++) {
        let t = performance.now();
        host.currentSceneChanged.emit(true, text);
        document.body.offsetHeight;
        draw.push(performance.now() - t);
        const m = JSON.stringify({ cmd: 1000, isUndoCmd: false, params: [{ type: 1, value: 7 }, { type: 1, value: 0 }, { type: 1, value: 0 }, { type: 1, value: 0 }, { type: 33, value: [0, 2] }, { type: 2, value: 3 + i }, { type: 2, value: 5 }] });
        t = performance.now();
        host.dataChangedToJS.emit(m);
        host.dataChangedToJS.emit('{"cmd":41,"isUndoCmd":false,"params":[]}');
        document.body.offsetHeight;
        message.push(performance.now() - t);
      }
      // A drag of element 1 with snapping on: one timing per pointer move.
      host.snapEnabledChanged.emit(true);
      const k = window.kvCanvasPage;
      const vp = k.page.viewport;
      const fire = (type, p) => {
        const c = k.client(p);
        vp.dispatchEvent(new PointerEvent(type, { bubbles: true, clientX: c.x, clientY: c.y, button: 0, buttons: type === 'pointerup' ? 0 : 1, pointerId: 1 }));
      };
      fire('pointerdown', { x: 8, y: 8 });
      for (let i = 1; i <= runs * 5; i++) {
        const t = performance.now();
        fire('pointermove', { x: 8 + i * 1.3, y: 8 + i * 0.7 });
        document.body.offsetHeight;
        moves.push(performance.now() - t);
      }
      fire('pointerup', { x: 8 + runs * 6.5, y: 8 + runs * 3.5 });
      return { draw, message, moves };
    },
    [scene(n), RUNS],
  );
  console.log(`${n} elements: draw the scene: ${stats(times.draw)}`);
  console.log(`${n} elements: one geometry message and 41: ${stats(times.message)}`);
  console.log(`${n} elements: one pointer move of a snapping drag: ${stats(times.moves)}`);
  await page.close();
}
await browser.close();
console.log(`kvcanvas.js: ${script.length} bytes minified, ${gzipSync(script).length} bytes gzipped`);
