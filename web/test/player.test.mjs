// The bundled player in a real headless Chromium: a page loads a sample document (written in the form
// the designer exports) from file://, and the test seeks to several times and measures the boxes of
// the elements relative to the stage, their opacity and the CSS the player wrote.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';
import { flatten } from '../player/motionpath.js';
import { autoShapePath } from '../player/shapes.js';

const here = path.dirname(fileURLToPath(import.meta.url));
const web = path.join(here, '..');
const samplePage = 'file://' + path.join(here, 'fixtures', 'sample.html');

let browser;

before(async () => {
  // The page loads the bundle from dist/, as "npm run build" writes it.
  execFileSync('npm', ['run', 'build', '--silent'], { cwd: web, stdio: 'inherit' });
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
  });
});

after(async () => {
  if (browser) await browser.close();
});

async function openSample() {
  const page = await browser.newPage({ viewport: { width: 1000, height: 800 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(samplePage);
  await page.waitForFunction(() => window.DorunKavio && DorunKavio.getDoc('stage1') && DorunKavio.getDoc('stage1').doc);
  return { page, errors };
}

// Boxes relative to the scene, computed opacity and display of every named element, after a seek.
async function measureAt(page, time) {
  return page.evaluate((t) => {
    const c = DorunKavio.getDoc('stage1');
    c.seek(t);
    const scene = document.querySelector('.kv-scene').getBoundingClientRect();
    const out = {};
    for (const el of document.querySelectorAll('[data-kv-name]')) {
      const r = el.getBoundingClientRect();
      const cs = getComputedStyle(el);
      out[el.dataset.kvName] = {
        x: r.left - scene.left,
        y: r.top - scene.top,
        w: r.width,
        h: r.height,
        opacity: Number(cs.opacity),
        display: cs.display,
        left: el.style.left,
        width: el.style.width,
      };
    }
    out.time = c.time();
    out.sceneColor = getComputedStyle(document.querySelector('.kv-scene')).backgroundColor;
    return out;
  }, time);
}

function near(actual, expected, what, tolerance = 0.5) {
  assert.ok(Math.abs(actual - expected) <= tolerance, `${what}: ${actual} is not ${expected}`);
}

function box(m, name, [x, y, w, h], at) {
  const b = m[name];
  assert.ok(b, `${name} is on the page`);
  near(b.x, x, `${name} x at ${at}`);
  near(b.y, y, `${name} y at ${at}`);
  near(b.w, w, `${name} width at ${at}`);
  near(b.h, h, `${name} height at ${at}`);
}

const half = Math.SQRT1_2;

// The box [x, y, width, height] of a w x h rectangle centred on (cx, cy) and turned by deg degrees.
function turnedBox(cx, cy, w, h, deg) {
  const a = (deg * Math.PI) / 180;
  const bw = w * Math.abs(Math.cos(a)) + h * Math.abs(Math.sin(a));
  const bh = w * Math.abs(Math.sin(a)) + h * Math.abs(Math.cos(a));
  return [cx - bw / 2, cy - bh / 2, bw, bh];
}

// The mover turns along the flattened arc: the direction of its first and last pieces.
const arc = flatten([0, 0, 0, 0, 0, -100], [200, 0, 200, -100, 200, 0]);
const heading = (a, b) => (Math.atan2(b[1] - a[1], b[0] - a[0]) * 180) / Math.PI;
const startHeading = heading(arc[0], arc[1]);
const endHeading = heading(arc[arc.length - 2], arc[arc.length - 1]);

// Expected boxes [x, y, width, height] relative to the stage and opacities, by time.
const expectations = [
  {
    time: 0,
    boxes: {
      Box: [100, 50, 200, 100],
      Group: [200, 300, 400, 150],
      // 200 x 100 (half the group's width, ratio 2), turned 90 degrees about its centre (310, 370).
      Child: [260, 270, 100, 200],
      // Anchored 50 px from the right and 40 px from the bottom.
      Anchored: [650, 500, 100, 60],
      Scaled: [0, 0, 100, 100],
      // At the start of its arc the mover heads (nearly) straight up, turned about (50, 225).
      Mover: turnedBox(50, 225, 100, 50, startHeading),
    },
    opacity: { Box: 1, Anchored: 0.5 },
    sceneColor: 'rgb(255, 255, 255)',
  },
  {
    time: 500,
    boxes: {
      Box: [300, 50, 200, 100],
      Group: [200, 300, 500, 150],
      Child: [272.5, 257.5, 125, 250],
      // In-out quad at one half is one half: 100 px from the right.
      Anchored: [600, 500, 100, 60],
      Scaled: [0, 0, 100, 100],
      // Half way along the symmetric arc: its top, heading right.
      Mover: [100, 125, 100, 50],
    },
    opacity: { Box: 1 },
  },
  {
    time: 1000,
    boxes: {
      Box: [500, 50, 200, 100],
      Group: [200, 300, 600, 150],
      Child: [285, 245, 150, 300],
      Anchored: [550, 500, 100, 60],
      Scaled: [-25, -25, 150, 150],
      Mover: turnedBox(250, 225, 100, 50, endHeading),
    },
    opacity: { Box: 1 },
    // Colour channels move in whole numbers: 255 to 0 at one half gives 127.
    sceneColor: 'rgb(127, 127, 127)',
  },
  {
    time: 1499,
    boxes: { Box: [500, 50, 200, 100] },
    opacity: {},
  },
  {
    time: 1500,
    boxes: {
      // Turned 135 degrees: 450 * cos 45 on each side, about the centre (360, 395).
      Child: [360 - 225 * half, 395 - 225 * half, 450 * half, 450 * half],
      // The scale reached 200 % at its end, 1500.
      Scaled: [-50, -50, 200, 200],
    },
    // In-quad at one half is a quarter of the way from 100 to 0.
    opacity: { Box: 0.75 },
  },
  {
    time: 2000,
    // Half a turn leaves the box where it lies unturned.
    boxes: { Scaled: [-50, -50, 200, 200], Child: [210, 320, 300, 150] },
    opacity: { Box: 0 },
    sceneColor: 'rgb(0, 0, 0)',
  },
];

test('sample document: boxes and opacity at a grid of times', async () => {
  const { page, errors } = await openSample();
  try {
    for (const ex of expectations) {
      const m = await measureAt(page, ex.time);
      assert.equal(m.time, ex.time);
      for (const [name, b] of Object.entries(ex.boxes)) box(m, name, b, ex.time);
      for (const [name, o] of Object.entries(ex.opacity)) near(m[name].opacity, o, `${name} opacity at ${ex.time}`, 0.01);
      if (ex.sceneColor) assert.equal(m.sceneColor, ex.sceneColor);
    }
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('sample document: set entries, display, labels and seeking backwards', async () => {
  const { page } = await openSample();
  try {
    let m = await measureAt(page, 1499);
    assert.equal(m.Box.display, 'flex');
    m = await measureAt(page, 1500);
    assert.equal(m.Box.display, 'none', 'the set entry hides the box at its own time');
    assert.equal(m.Hidden.display, 'none', 'an element written hidden starts hidden');
    m = await measureAt(page, 200);
    assert.equal(m.Box.display, 'flex', 'seeking back shows it again');
    near(m.Box.x, 180, 'Box x at 200');
    // Times are held to the timeline; a label seeks to its time; an unknown label changes nothing.
    m = await measureAt(page, 99999);
    assert.equal(m.time, 2000);
    m = await measureAt(page, -5);
    assert.equal(m.time, 0);
    const label = await page.evaluate(() => {
      const c = DorunKavio.getDoc('stage1');
      const known = c.seek('middle');
      const at = c.time();
      const unknown = c.seek('nowhere');
      return { known, at, unknown, after: c.time() };
    });
    assert.deepEqual(label, { known: true, at: 1000, unknown: false, after: 1000 });
  } finally {
    await page.close();
  }
});

test('sample document: moves go through transforms, sizes through the layout', async () => {
  const { page } = await openSample();
  try {
    const m0 = await measureAt(page, 0);
    const m1 = await measureAt(page, 700);
    // The box moved 280 px, but its layout position is the one it was built with.
    assert.equal(m1.Box.left, m0.Box.left);
    assert.equal(m1.Box.left, '100px');
    near(m1.Box.x, 380, 'Box x at 700');
    const css = await page.evaluate(() => {
      const el = document.querySelector('[data-kv-name="Box"]');
      const child = document.querySelector('[data-kv-name="Child"]');
      const anchored = document.querySelector('[data-kv-name="Anchored"]');
      const text = el.querySelector('.kv-text');
      return {
        transform: el.style.transform,
        id: el.dataset.kvId,
        childId: child.dataset.kvId,
        nested: child.parentElement.dataset.kvName,
        childRadius: getComputedStyle(child).borderTopRightRadius,
        childBorder: getComputedStyle(child).borderTopWidth,
        childImage: getComputedStyle(child).backgroundImage,
        anchoredImage: anchored.style.backgroundImage,
        anchoredSize: anchored.style.backgroundSize,
        anchoredRight: anchored.style.right,
        anchoredShadow: getComputedStyle(anchored).boxShadow,
        outline: getComputedStyle(el).outlineColor,
        stylesheet: !!document.querySelector('link[rel="stylesheet"][href="sample.css"]'),
        text: text && text.textContent,
        weight: getComputedStyle(el).fontWeight,
      };
    });
    assert.match(css.transform, /^translate3d\(280px, ?0px, ?0px\)$/);
    assert.equal(css.id, '1');
    assert.equal(css.childId, '3');
    assert.equal(css.nested, 'Group');
    assert.equal(css.childBorder, '2px');
    assert.match(css.childImage, /^linear-gradient\(90deg, rgb\(0, 0, 0\) 0%, rgb\(255, 255, 255\) 100%\)$/);
    assert.equal(css.childRadius, '10%');
    // The image fill joins the resource folder (written without its trailing "/") and the file.
    assert.match(css.anchoredImage, /sample_res\/dot\.png/);
    assert.equal(css.anchoredSize, 'cover');
    assert.equal(css.anchoredRight, '50px');
    assert.match(css.anchoredShadow, /^rgba\(0, 0, 0, 0\.5\) 3\.536px 3\.536px 5px/);
    assert.equal(css.outline, 'rgb(0, 128, 255)', 'the linked style sheet styles the class');
    assert.equal(css.stylesheet, true);
    assert.equal(css.text, 'Box');
    assert.equal(css.weight, '700');
  } finally {
    await page.close();
  }
});

test('sample document: images, media and widgets inside their boxes', async () => {
  const { page } = await openSample();
  try {
    const content = await page.evaluate(() => {
      DorunKavio.getDoc('stage1').seek(500);
      const pic = document.querySelector('[data-kv-name="Picture"] .kv-image');
      const video = document.querySelector('[data-kv-name="Clip"] video');
      const frame = document.querySelector('[data-kv-name="Frame"] iframe');
      return {
        image: pic.style.backgroundImage,
        position: pic.style.backgroundPosition,
        size: pic.style.backgroundSize,
        sources: [...video.querySelectorAll('source')].map((s) => s.getAttribute('src')),
        video: [video.controls, video.loop, video.autoplay, video.volume],
        srcdoc: frame.srcdoc,
        // the exported page runs its widgets' scripts: only the editor's stage sandboxes them
        sandboxed: frame.hasAttribute('sandbox'),
      };
    });
    assert.deepEqual(content, {
      image: 'url("sample_res/dot.png")',
      // The animated image X is half way from 10 px to 30 px.
      position: '20px 50%',
      size: '20px 25%',
      sources: ['sample_res/clip.mp4', 'sample_res/clip.webm'],
      video: [true, true, false, 0.5],
      srcdoc: "<p id='inside'>inside</p>",
      sandboxed: false,
    });
  } finally {
    await page.close();
  }
});

test('sample document: shapes are filled inside their outline and stroked with their border', async () => {
  const { page } = await openSample();
  try {
    const shapes = await page.evaluate(() => {
      DorunKavio.getDoc('stage1').seek(500);
      const star = document.querySelector('[data-kv-name="Star"]');
      const scene = document.querySelector('.kv-scene').getBoundingClientRect();
      const hit = (x, y) => {
        const el = document.elementFromPoint(scene.left + x, scene.top + y);
        return el && el.closest('[data-kv-name]').dataset.kvName;
      };
      const path = star.querySelector('svg > path');
      const line = document.querySelector('[data-kv-name="Arrowline"] svg > path');
      const marker = document.querySelector(line.getAttribute('marker-end').slice(4, -1));
      return {
        d: path.getAttribute('d'),
        clip: star.querySelector('.kv-shape-fill').style.clipPath,
        stroke: [path.getAttribute('stroke'), path.getAttribute('stroke-width'), path.getAttribute('stroke-dasharray')],
        boxBackground: getComputedStyle(star).backgroundColor,
        filter: star.style.filter,
        // The star's box is 250 x 100 at (400, 300): its centre is in the star, its corner is not.
        centre: hit(525, 350),
        corner: hit(403, 303),
        text: star.querySelector('.kv-text').textContent,
        line: [line.getAttribute('d'), line.getAttribute('stroke'), line.hasAttribute('marker-start')],
        marker: [marker.getAttribute('markerWidth'), marker.getAttribute('orient'), marker.querySelector('path').getAttribute('fill')],
        lineFill: getComputedStyle(document.querySelector('[data-kv-name="Arrowline"] .kv-shape-fill')).display,
      };
    });
    const d = autoShapePath(82, [0.5], 250, 100);
    assert.equal(shapes.d, d, 'the outline follows the animated width');
    // The browser writes the clip path back in its own spacing.
    assert.equal(shapes.clip.replace(/ /g, ''), `path("${d}")`.replace(/ /g, ''));
    assert.deepEqual(shapes.stroke, ['rgba(0,0,255,1)', '2', '6 2']);
    assert.equal(shapes.boxBackground, 'rgba(0, 0, 0, 0)');
    assert.match(shapes.filter, /^drop-shadow\(/);
    assert.equal(shapes.centre, 'Star');
    assert.notEqual(shapes.corner, 'Star', 'the corner of the box is outside the star');
    assert.equal(shapes.text, 'Star');
    assert.deepEqual(shapes.line, ['M0 0C0 0 100 50 100 50', 'rgba(74,134,232,1)', false]);
    assert.deepEqual(shapes.marker, ['4', 'auto', 'rgba(74,134,232,1)']);
    assert.equal(shapes.lineFill, 'none', 'an open line has no fill');
  } finally {
    await page.close();
  }
});

test('sample document: playing, scenes in sequence and going to a scene', async () => {
  const { page } = await openSample();
  try {
    await page.evaluate(() => DorunKavio.getDoc('stage1').seek(1900));
    await page.evaluate(() => DorunKavio.getDoc('stage1').play());
    // The first scene ends and advances by itself to the second, which fades in.
    await page.waitForFunction(() => DorunKavio.getDoc('stage1').sceneIndex() === 1, null, { timeout: 5000 });
    const state = await page.evaluate(() => {
      const c = DorunKavio.getDoc('stage1');
      c.pause();
      c.seek(0); // a seek ends the transition at once
      return {
        names: [...document.querySelectorAll('.kv-scene [data-kv-name]')].map((e) => e.dataset.kvName),
        layers: document.querySelectorAll('.kv-scene-layer').length,
        playing: c.isPlaying(),
        duration: c.duration(),
      };
    });
    assert.deepEqual(state, { names: ['Second'], layers: 1, playing: false, duration: 1000 });
    const m = await measureAt(page, 500);
    near(m.Second.y, 300, 'Second y at 500');
    const back = await page.evaluate(() => {
      const c = DorunKavio.getDoc('stage1');
      const bad = c.gotoScene(5);
      const ok = c.gotoScene(0);
      return { bad, ok, index: c.sceneIndex(), time: c.time() };
    });
    assert.deepEqual(back, { bad: false, ok: true, index: 0, time: 0 });
  } finally {
    await page.close();
  }
});

test('sample document: the fade into the second scene, stepped frame by frame', async () => {
  const { page } = await openSample();
  try {
    // The clock is left out: the test hands the document its frame steps itself.
    const steps = await page.evaluate(() => {
      const d = DorunKavio.getDoc('stage1').doc;
      const layers = () => [...document.querySelectorAll('.kv-scene-layer')];
      d.seek(1900);
      d.playing = true;
      d.advance(150); // 100 ms to the end of the first scene, 50 ms into the 500 ms fade
      const during = {
        index: d.index,
        time: d.now,
        layers: layers().length,
        opacity: layers()[1].style.opacity,
        oldScene: layers()[0].querySelector('.kv-scene').dataset.kvName,
      };
      d.advance(500); // the fade ends 50 ms before this step does
      const after = {
        layers: layers().length,
        opacity: layers()[0].style.opacity,
        time: d.now,
        y: document.querySelector('[data-kv-name="Second"]').getBoundingClientRect().top,
      };
      d.playing = false;
      return { during, after };
    });
    assert.deepEqual(steps.during, { index: 1, time: 0, layers: 2, opacity: '0.1', oldScene: 'Scene_1' });
    assert.deepEqual(steps.after, { layers: 1, opacity: '', time: 50, y: 210 });
  } finally {
    await page.close();
  }
});

test('sample document: triggers fire once, in order, when playing crosses them', async () => {
  const { page } = await openSample();
  try {
    const fired = await page.evaluate(() => {
      const d = DorunKavio.getDoc('stage1').doc;
      const seen = [];
      document.getElementById('stage1').addEventListener('kvtrigger', (e) => seen.push(`${e.detail.time}:${e.detail.actions[0].a}`));
      d.seek(0);
      d.playing = true;
      d.advance(999);
      seen.push('|');
      d.advance(1); // reaches 1000
      d.advance(500); // crosses nothing
      d.seek(500);
      d.advance(600); // crosses 1000 again
      d.playing = false;
      return seen;
    });
    assert.deepEqual(fired, ['0:first', '|', '1000:second', '1000:third', '1000:second', '1000:third']);
  } finally {
    await page.close();
  }
});

test('sample document: playing again at the end of the last scene starts it over', async () => {
  const { page } = await openSample();
  try {
    const state = await page.evaluate(() => {
      const c = DorunKavio.getDoc('stage1');
      c.gotoScene(1);
      c.seek(1000);
      c.play();
      const r = { index: c.sceneIndex(), time: c.time(), playing: c.isPlaying() };
      c.pause();
      return r;
    });
    assert.deepEqual(state, { index: 1, time: 0, playing: true });
  } finally {
    await page.close();
  }
});

test('reduced motion: the document rests at the end of its first scene', async () => {
  const page = await browser.newPage({ reducedMotion: 'reduce' });
  try {
    await page.goto(samplePage);
    await page.waitForFunction(() => DorunKavio.getDoc('stage1') && DorunKavio.getDoc('stage1').doc);
    const state = await page.evaluate(() => ({ time: DorunKavio.getDoc('stage1').time(), playing: DorunKavio.getDoc('stage1').isPlaying() }));
    assert.deepEqual(state, { time: 2000, playing: false });
  } finally {
    await page.close();
  }
});

test('openDoc: centring, fitting and a data file that fails to load', async () => {
  const page = await browser.newPage({ viewport: { width: 1000, height: 800 } });
  try {
    await page.goto('file://' + path.join(here, 'fixtures', 'blank.html'));
    const result = await page.evaluate(async () => {
      const a = document.createElement('div');
      a.id = 'a';
      a.style.cssText = 'width:1000px;height:700px';
      const b = document.createElement('div');
      b.id = 'b';
      b.style.cssText = 'width:400px;height:600px';
      document.body.append(a, b);
      await DorunKavio.openDoc('sample.js', 'a', { paused: true, center: 'both' }).ready;
      await DorunKavio.openDoc('sample.js', 'b', { paused: true, center: 'vertical', autofit: true }).ready;
      const stage = (id) => document.querySelector(`#${id} .kv-stage`).getBoundingClientRect();
      const failed = DorunKavio.openDoc('missing.js', 'c', { paused: true });
      let message = '';
      try {
        await failed.ready;
      } catch (e) {
        message = e.message;
      }
      return { a: stage('a').toJSON(), b: stage('b').toJSON(), top: document.getElementById('b').getBoundingClientRect().top, message, docs: DorunKavio.loadedDocs.length };
    });
    assert.deepEqual([result.a.x, result.a.y, result.a.width, result.a.height], [100, 50, 800, 600]);
    // 400 wide: scaled by one half to 400 x 300, and centred in the 600 px height.
    assert.deepEqual([result.b.x, result.b.y - result.top, result.b.width, result.b.height], [0, 150, 400, 300]);
    assert.equal(result.message, 'Cannot load missing.js');
    assert.equal(result.docs, 2);
  } finally {
    await page.close();
  }
});

test('openDoc: data files loading at once each reach their own container; a container is reused', async () => {
  const page = await browser.newPage({ viewport: { width: 1000, height: 800 } });
  const errors = [];
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  try {
    await page.goto('file://' + path.join(here, 'fixtures', 'blank.html'));
    const result = await page.evaluate(async () => {
      const a = DorunKavio.openDoc('sample.js', 'a', { paused: true });
      const b = DorunKavio.openDoc('second.js', 'b', { paused: true });
      await Promise.all([a.ready, b.ready]);
      const scenes = (id) => [...document.querySelectorAll(`#${id} .kv-scene`)].map((e) => e.dataset.kvName);
      const first = { a: scenes('a'), b: scenes('b') };
      // Opening another document in a container replaces the one shown there.
      const again = DorunKavio.openDoc('second.js', 'a', { paused: true });
      const stale = a.sceneIndex();
      await again.ready;
      const box = document.getElementById('a').getBoundingClientRect();
      const dotRect = document.querySelector('#a [data-kv-name="Dot"]').getBoundingClientRect();
      const dot = { left: dotRect.left - box.left, top: dotRect.top - box.top };
      let message = '';
      try {
        await DorunKavio.openDoc('nodoc.js', 'c', { paused: true }).ready;
      } catch (e) {
        message = e.message;
      }
      return {
        first,
        replaced: scenes('a'),
        stages: document.querySelectorAll('#a .kv-stage').length,
        stale,
        current: DorunKavio.getDoc('a') === again,
        dot: [dot.left, dot.top],
        links: [...document.querySelectorAll('link[rel="stylesheet"]')].map((l) => l.getAttribute('href')).sort(),
        message,
      };
    });
    assert.deepEqual(result.first, { a: ['Scene_1'], b: ['Only'] });
    assert.deepEqual(result.replaced, ['Only']);
    assert.equal(result.stages, 1);
    assert.equal(result.stale, -1, 'the replaced controller lets go of its document');
    assert.equal(result.current, true);
    // 10 % of 300 x 200 from the container's corner (the containers are made in the order the files
    // arrive).
    assert.deepEqual(result.dot, [30, 20]);
    assert.deepEqual(result.links, ['sample.css', 'second.css'], 'each style sheet is linked once');
    assert.equal(result.message, 'nodoc.js holds no document');
    assert.deepEqual(errors.filter((e) => !/ERR_FILE_NOT_FOUND|dot\.png|second\.css/.test(e)), ['nodoc.js holds no document']);
  } finally {
    await page.close();
  }
});

test('a damaged document plays what it can and breaks nothing', async () => {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  try {
    await page.goto('file://' + path.join(here, 'fixtures', 'blank.html'));
    const result = await page.evaluate(async () => {
      const c = DorunKavio.openDoc('broken.js', 'x', { paused: false });
      await c.ready;
      c.seek(50);
      c.seek('none');
      c.gotoScene(3);
      c.pause();
      return {
        scene: document.querySelector('.kv-scene').dataset.kvName,
        names: [...document.querySelectorAll('.kv-scene [data-kv-name]')].map((e) => e.dataset.kvName),
        time: c.time(),
        duration: c.duration(),
      };
    });
    assert.deepEqual(result, { scene: 'Damaged', names: ['Zero', 'Odd'], time: 0, duration: 0 });
    // A document without any scene opens too and has nothing to play.
    const empty = await page.evaluate(async () => {
      const c = DorunKavio.openDoc('data:text/javascript,DorunKavio.loadedDocs.push({w:10,h:10})', 'y', {});
      await c.ready;
      c.play();
      c.seek(10);
      return { index: c.sceneIndex(), time: c.time(), playing: c.isPlaying() };
    });
    assert.deepEqual(empty, { index: -1, time: 0, playing: false });
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('responsive layouts: the container size picks the layout, its values and its animations', async () => {
  const page = await browser.newPage({ viewport: { width: 1000, height: 800 } });
  try {
    await page.goto('file://' + path.join(here, 'fixtures', 'blank.html'));
    const sizes = await page.evaluate(async () => {
      const holder = document.createElement('div');
      holder.id = 'r';
      holder.style.cssText = 'width:400px;height:400px';
      document.body.appendChild(holder);
      const c = DorunKavio.openDoc('responsive.js', 'r', { paused: true });
      await c.ready;
      const card = () => {
        const scene = document.querySelector('#r .kv-scene').getBoundingClientRect();
        const r = document.querySelector('#r [data-kv-name="Card"]').getBoundingClientRect();
        const cs = getComputedStyle(document.querySelector('#r [data-kv-name="Card"]'));
        return [r.left - scene.left, r.top - scene.top, r.width, r.height, Number(cs.opacity), cs.backgroundColor, scene.width];
      };
      const at = async (width, height, time) => {
        holder.style.width = `${width}px`;
        holder.style.height = `${height}px`;
        window.dispatchEvent(new Event('resize'));
        c.seek(time);
        return card();
      };
      return {
        base: await at(250, 400, 500), // below every breakpoint
        wide: await at(700, 400, 500), // horizontal breakpoint 600 (id 1)
        wider: await at(900, 400, 0),
        tall: await at(450, 500, 0), // breakpoints 300 (id 2) and 500 (id 3): no animations there
      };
    });
    // Base: 50 % of a scene as wide as the container, moving right 100 px over the second.
    assert.deepEqual(sizes.base, [60, 10, 125, 100, 0.5, 'rgb(255, 0, 0)', 250]);
    // Layout (1, 0): its own box, the opacity back to its default, its own track moving down.
    assert.deepEqual(sizes.wide, [20, 80, 175, 50, 1, 'rgb(255, 0, 0)', 700]);
    assert.deepEqual(sizes.wider, [20, 30, 225, 50, 1, 'rgb(255, 0, 0)', 900]);
    // Layout (2, 3): only the fill is its own; nothing moves there.
    assert.deepEqual(sizes.tall, [10, 10, 225, 100, 0.5, 'rgb(0, 0, 255)', 450]);
  } finally {
    await page.close();
  }
});

test('symbol instances play their symbol at the times their playback entries give', async () => {
  const page = await browser.newPage({ viewport: { width: 1000, height: 800 } });
  try {
    await page.goto('file://' + path.join(here, 'fixtures', 'blank.html'));
    const xs = await page.evaluate(async () => {
      const c = DorunKavio.openDoc('symbols.js', 'sym', { paused: true });
      await c.ready;
      const dot = (name) => {
        const box = document.querySelector(`[data-kv-name="${name}"]`).getBoundingClientRect();
        const d = document.querySelector(`[data-kv-name="${name}"] [data-kv-name="Dot"]`).getBoundingClientRect();
        return [d.left - box.left, d.top - box.top];
      };
      const out = {};
      for (const t of [0, 1000, 1500, 1800, 2500, 3000]) {
        c.seek(t);
        out[t] = { badge: dot('Badge'), spinner: dot('Spinner') };
      }
      return out;
    });
    // The badge starts at 500, pauses at 1000 of its 2000 ms at 1500, and plays on from 2000.
    const badge = Object.fromEntries(Object.entries(xs).map(([t, v]) => [t, v.badge]));
    assert.deepEqual(badge, { 0: [0, 0], 1000: [25, 0], 1500: [50, 0], 1800: [50, 0], 2500: [75, 0], 3000: [100, 0] });
    // The spinner plays by itself from the start; 400 px wide, it shows the symbol's layout for
    // widths from 300, where the dot sits lower and travels twice as far.
    const spinner = Object.fromEntries(Object.entries(xs).map(([t, v]) => [t, v.spinner]));
    assert.deepEqual(spinner, { 0: [0, 50], 1000: [100, 50], 1500: [150, 50], 1800: [180, 50], 2500: [200, 50], 3000: [200, 50] });
  } finally {
    await page.close();
  }
});

test('a symbol that plays inside itself, directly or through another, is entered once and shown empty there', async () => {
  const page = await browser.newPage({ viewport: { width: 1000, height: 800 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  try {
    await page.goto('file://' + path.join(here, 'fixtures', 'blank.html'));
    // The data file says A holds B, B holds A, and Self holds Self.
    const shown = await page.evaluate(async () => {
      const c = DorunKavio.openDoc('cycle.js', 'cyc', { paused: true });
      await c.ready;
      const out = [];
      for (const t of [0, 500, 1000]) {
        c.seek(t);
        out.push([...document.querySelectorAll('[data-kv-name]')].map((el) => el.dataset.kvName).join(' '));
      }
      return out;
    });
    const expected = 'Main Outer AScene InA BScene InB Mirror SelfScene InSelf';
    assert.deepEqual(shown, [expected, expected, expected]);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('media elements follow their playback entries', async () => {
  const page = await browser.newPage();
  try {
    await page.goto('file://' + path.join(here, 'fixtures', 'blank.html'));
    const states = await page.evaluate(async () => {
      const c = DorunKavio.openDoc('media.js', 'm', { paused: true });
      await c.ready;
      const audio = document.querySelector('[data-kv-name="Quiet"] audio');
      await new Promise((resolve) => (audio.readyState >= 1 ? resolve() : audio.addEventListener('loadedmetadata', resolve)));
      const state = () => [audio.paused, Math.round(audio.currentTime * 1000)];
      const out = {};
      c.seek(700); // 500 ms into the play entry, but the document is paused
      out.paused = state();
      c.seek(1200); // after the pause at 1500
      out.held = state();
      c.seek(100);
      out.before = state();
      c.seek(300);
      c.play(); // plays from 100 ms
      out.playing = audio.paused;
      c.pause();
      out.stopped = audio.paused;
      return out;
    });
    assert.deepEqual(states.paused, [true, 500]);
    assert.deepEqual(states.held, [true, 1500]);
    assert.deepEqual(states.before, [true, 0]);
    assert.equal(states.playing, false, 'a play entry runs the media while the document plays');
    assert.equal(states.stopped, true, 'pausing the document pauses its media');
  } finally {
    await page.close();
  }
});

test('preloaders: the loading indicator or a preloader document shows until the document is ready', async () => {
  const page = await browser.newPage();
  try {
    await page.goto('file://' + path.join(here, 'fixtures', 'blank.html'));
    const result = await page.evaluate(async () => {
      const li = { diameter: 40, density: 6, range: 1, speed: 2, color: '#ff0000', shape: 'square' };
      const a = DorunKavio.openDoc('sample.js', 'p1', { paused: true, preloaderOptions: li, center: 'none' });
      const indicator = document.querySelector('#p1 .kv-loading');
      const whileLoading = {
        dots: indicator.children.length,
        size: [indicator.style.width, indicator.style.height],
        color: getComputedStyle(indicator.firstChild).backgroundColor,
        turning: indicator.getAnimations().length,
      };
      await a.ready;
      const afterIndicator = document.querySelectorAll('#p1 .kv-loading').length;
      const preloaderDoc = {
        w: 100,
        h: 50,
        scenes: [{ id: 1, n: 'Loading', k: 8, rp: [[0, 0, { r: [0, 0, 100, 50, 0], f: [1, 0, 0, 0, 255] }]], timelines: [{ id: 1, dur: 1000 }] }],
        li: false,
      };
      const b = DorunKavio.openDoc('second.js', 'p2', { paused: true, preloaderDoc, center: 'none' });
      const shown = [...document.querySelectorAll('#p2 .kv-preloader .kv-scene')].map((e) => e.dataset.kvName);
      await b.ready;
      const afterDoc = [...document.querySelectorAll('#p2 .kv-scene')].map((e) => e.dataset.kvName);
      const c = DorunKavio.openDoc('second.js', 'p3', { paused: true, preloaderDoc: {}, center: 'none' });
      const nothing = document.getElementById('p3').children.length;
      await c.ready;
      const d = DorunKavio.openDoc('missing.js', 'p4', { paused: true, preloaderOptions: li });
      await d.ready.catch(() => {});
      return { whileLoading, afterIndicator, shown, afterDoc, nothing, failed: document.getElementById('p4').children.length };
    });
    assert.deepEqual(result.whileLoading, { dots: 6, size: ['40px', '40px'], color: 'rgb(255, 0, 0)', turning: 1 });
    assert.equal(result.afterIndicator, 0);
    assert.deepEqual(result.shown, ['Loading']);
    assert.deepEqual(result.afterDoc, ['Only']);
    assert.equal(result.nothing, 0, 'an empty preloader document shows nothing');
    assert.equal(result.failed, 0, 'a document that fails to load takes its indicator away');
  } finally {
    await page.close();
  }
});
