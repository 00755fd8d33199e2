// Player benchmark (figures are printed, never asserted):
//  (a) 1,000 elements each animating position, rotation and opacity, run for 5 s in headless
//      Chromium: main-thread script time per frame (mean and p95, from the trace's animation-frame
//      events) for our player and, in the same run, for GSAP 3 driving the same tweens, in five
//      interleaved rounds (medians), each checked to have moved every box; the ratio.
//  (b) the size of kvplayer.js minified and gzipped.
// Usage: npm install (here), then node run.mjs [path/to/kvplayer.js]
import { chromium } from 'playwright-core';
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '..', '..');
const player = process.argv[2] || path.join(root, 'build/share/kavio/resources/canvas/player/kvplayer.js');
const gsapFile = path.join(here, 'node_modules/gsap/dist/gsap.min.js');
const out = path.join(here, 'out');
mkdirSync(out, { recursive: true });

const N = 1000;
const DURATION = 5000;
const COLS = 40;

// Our document: N boxes, each with a left, rotation and opacity track over the whole run.
function playerDocument() {
  const elems = [];
  const entries = [];
  for (let i = 0; i < N; i++) {
    const x = (i % COLS) * 24;
    const y = Math.floor(i / COLS) * 24;
    elems.push({ id: i + 1, n: 'b' + i, k: 5, rp: [[0, 0, { r: [x, y, 16, 16, 0], f: [1, 32, 144, 230, 255], fe: [0, 0, 100, 100, 100, 0, 0, 0] }]] });
    entries.push({ el: i + 1, p: 'lt', t: 0, d: DURATION, s: x + 'px', e: x + 100 + 'px', es: 0 });
    entries.push({ el: i + 1, p: 'rZ', t: 0, d: DURATION, s: '0deg', e: '360deg', es: 0 });
    entries.push({ el: i + 1, p: 'o', t: 0, d: DURATION, s: 100, e: 20, es: 0 });
  }
  const doc = {
    v: 4, mpv: 2, w: 1100, h: 700, dur: DURATION, mm: [0, 0],
    scenes: [{ id: 1, n: 'Scene_1', k: 8, rp: [[0, 0, { r: [0, 0, 1100, 700, 0], f: [1, 255, 255, 255, 255], fe: [0, 0, 100, 100, 100, 0, 0, 0] }]],
      elems, aa: false, st: [0, 0], timelines: [{ id: 1, n: 'Timeline', dur: DURATION, ra: [[0, 0, entries]] }], currentTime: 0 }],
    k: 0, resources: [], resourceFolder: 'bench_res',
  };
  return `(function(Kavio) {\n\tvar docData = ${JSON.stringify(doc)};\n\tvar f = [];\n\tdocData.f = f;\n\tKavio.loadedDocs.push(docData);\n}(DorunKavio)); `;
}

function ourPage() {
  return `<!DOCTYPE html><html><head><meta charset="utf-8"><script src="kvplayer.js"></script></head>
<body style="margin:0"><div id="stage"></div><script>
window.benchReady = DorunKavio.openDoc('bench.js', 'stage', { paused: true, center: 'none' }).ready;
window.benchStart = () => DorunKavio.getDoc('stage').play();
</script></body></html>`;
}

function gsapPage() {
  let boxes = '';
  for (let i = 0; i < N; i++) {
    const x = (i % COLS) * 24;
    const y = Math.floor(i / COLS) * 24;
    boxes += `<div class="b" style="left:${x}px;top:${y}px"></div>`;
  }
  return `<!DOCTYPE html><html><head><meta charset="utf-8"><script src="gsap.min.js"></script>
<style>.b{position:absolute;width:16px;height:16px;background:rgb(32,144,230)}</style></head>
<body style="margin:0"><div style="position:relative;width:1100px;height:700px">${boxes}</div><script>
window.benchReady = Promise.resolve();
window.benchStart = () => gsap.to('.b', { x: 100, rotation: 360, opacity: 0.2, duration: ${DURATION / 1000}, ease: 'none' });
</script></body></html>`;
}

function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor((p / 100) * sorted.length))];
}

// How many elements show a different box or opacity than at the start: both libraries must move
// every box, or the frame times compare nothing.
function snapshot() {
  return Array.from(document.querySelectorAll('body *')).map((e) => {
    const r = e.getBoundingClientRect();
    return `${r.x.toFixed(1)},${r.y.toFixed(1)},${getComputedStyle(e).opacity}`;
  });
}

async function measure(browser, file) {
  const page = await browser.newPage({ viewport: { width: 1200, height: 800 } });
  await page.goto('file://' + file);
  await page.evaluate(() => window.benchReady.then(() => true));
  const before = await page.evaluate(snapshot);
  await browser.startTracing(page, { categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline'] });
  await page.evaluate(() => { window.benchStart(); return true; });
  await page.waitForTimeout(DURATION);
  const trace = JSON.parse((await browser.stopTracing()).toString());
  const after = await page.evaluate(snapshot);
  await page.close();
  const moved = after.filter((v, i) => v !== before[i]).length;
  // Script time of each frame: the animation-frame callbacks, which is where both libraries work.
  const frames = trace.traceEvents.filter((e) => e.name === 'FireAnimationFrame' && e.ph === 'X' && e.dur !== undefined);
  const ms = frames.map((e) => e.dur / 1000);
  const mean = ms.reduce((a, b) => a + b, 0) / Math.max(1, ms.length);
  return { frames: ms.length, mean, p95: percentile(ms, 95), moved };
}

const median = (values) => percentile(values, 50);
const ROUNDS = 5;

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
});
try {
  writeFileSync(path.join(out, 'kvplayer.js'), readFileSync(player));
  writeFileSync(path.join(out, 'bench.js'), playerDocument());
  writeFileSync(path.join(out, 'ours.html'), ourPage());
  writeFileSync(path.join(out, 'gsap.min.js'), readFileSync(gsapFile));
  writeFileSync(path.join(out, 'gsap.html'), gsapPage());
  // Interleaved rounds, so that a busy moment of the machine falls on both.
  const ours = [];
  const theirs = [];
  for (let round = 0; round < ROUNDS; round++) {
    ours.push(await measure(browser, path.join(out, 'ours.html')));
    theirs.push(await measure(browser, path.join(out, 'gsap.html')));
  }
  const still = [...ours, ...theirs].filter((r) => r.moved < N);
  if (still.length > 0) {
    console.error(`a round moved only ${Math.min(...still.map((r) => r.moved))} of ${N} boxes`);
    process.exitCode = 1;
  }
  const sum = (rs) => ({ frames: median(rs.map((r) => r.frames)), mean: median(rs.map((r) => r.mean)), p95: median(rs.map((r) => r.p95)) });
  const a = sum(ours);
  const b = sum(theirs);
  const fmt = (r) => `${r.frames} frames, script per frame mean ${r.mean.toFixed(2)} ms, p95 ${r.p95.toFixed(2)} ms`;
  console.log(`(a) ${N} elements x (position, rotation, opacity), ${DURATION / 1000} s, medians of ${ROUNDS} interleaved rounds`);
  console.log(`    kvplayer.js: ${fmt(a)}`);
  console.log(`    GSAP 3:      ${fmt(b)}`);
  console.log(`    ratio (ours / GSAP): mean ${(a.mean / b.mean).toFixed(2)}, p95 ${(a.p95 / b.p95).toFixed(2)}`);
  const raw = readFileSync(player);
  console.log(`(b) kvplayer.js: ${raw.length} bytes minified, ${gzipSync(raw, { level: 9 }).length} bytes gzipped`);
} finally {
  await browser.close();
}
