// The player against the model: "kavio export" writes the example banner, headless Chromium plays
// it paused at a grid of times over the first scene's main timeline, and every named element's box
// (relative to the stage, in stage pixels), opacity, visibility and (for audio and video) volume must
// match what "kavio sample" computes from the model at the same times. The same comparison runs over
// generated projects that use every easing, rotation, scale, skew and origin tracks, groups nested three deep and motion paths (written by
// kavio-genprojects), at every 50 ms; a responsive project is compared at two viewport sizes, each
// showing another layout ("kavio sample --size" picks the layout the player picks). Hand-made projects,
// written straight in the file format from the rows of handmade.mjs (never by the model), are compared
// in every scene at every viewport their row names. What the model hides the page hides, and what the
// model marks as turned in 3D the page turns in 3D. A screenshot test checks that the page draws
// something, and something else as time goes on; a last test saves every project twice and wants the
// same bytes both times.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { inflateSync } from 'node:zlib';
import { chromium } from 'playwright-core';
import { handmadeProjects, writeHandmade } from './handmade.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const project = process.env.KAVIO_EXAMPLE || path.join(root, 'examples', 'banner', 'banner.kavio');
const kavio = process.env.KAVIO_CLI || path.join(root, 'build', 'bin', 'kavio');
const artifacts = process.env.KAVIO_TEST_ARTIFACTS || path.join(root, 'build', 'test-artifacts');
const genprojects = process.env.KAVIO_GENPROJECTS || path.join(root, 'build', 'bin', 'kavio-genprojects');
const generatedMissing = !existsSync(kavio)
  ? `${kavio} is not built`
  : !existsSync(genprojects)
    ? `${genprojects} is not built`
    : '';
const missing = !existsSync(project)
  ? `${project} is not there`
  : !existsSync(kavio)
    ? `${kavio} is not built`
    : '';

// Boxes agree within half a pixel, opacities within a hundredth.
const BOX_TOLERANCE = 0.5;
const OPACITY_TOLERANCE = 0.01;

let browser;
let out;
let page;
let containerId;
const pageErrors = [];

let generated;
let handmade;

async function launch() {
  if (!browser) {
    browser = await chromium.launch({
      executablePath: '/usr/bin/chromium',
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
    });
  }
}

// Exports a project into a folder and opens its page, paused at the start of the first scene;
// sets the page, container and project the comparisons use.
async function openProject(file, folder, viewport) {
  execFileSync(kavio, ['export', file, folder], { encoding: 'utf8' });
  const html = readFileSync(path.join(folder, path.basename(file, '.kavio') + '.html'), 'utf8');
  const id = /Kavio\.openDoc\('[^']+', '([^']+)'/.exec(html);
  assert.ok(id, 'the exported page starts the player');
  containerId = id[1];
  await launch();
  if (page) await page.close();
  pageErrors.length = 0;
  page = await browser.newPage({ viewport });
  page.on('pageerror', (e) => pageErrors.push(e.message));
  await page.goto('file://' + path.join(folder, path.basename(file, '.kavio') + '.html'));
  await page.waitForFunction((cid) => window.DorunKavio && DorunKavio.getDoc(cid) && DorunKavio.getDoc(cid).doc, containerId);
  await page.evaluate((cid) => {
    const ctl = DorunKavio.getDoc(cid);
    ctl.pause();
    ctl.gotoScene(0);
    ctl.pause();
  }, containerId);
}

before(async () => {
  if (missing) return;
  out = mkdtempSync(path.join(tmpdir(), 'kavio-parity-'));
  await openProject(project, out, { width: 640, height: 480 });
});

after(async () => {
  if (browser) await browser.close();
  if (out) rmSync(out, { recursive: true, force: true });
  if (generated) rmSync(generated, { recursive: true, force: true });
  if (handmade) rmSync(handmade, { recursive: true, force: true });
});

// What the page shows at a time of the first scene: each named node's box relative to the stage,
// divided by the scale the stage is fitted to the page with, and its computed opacity.
function pageAt(ms) {
  return page.evaluate(
    ([cid, t]) => {
      const ctl = DorunKavio.getDoc(cid);
      ctl.pause();
      ctl.seek(t);
      const doc = ctl.doc;
      const stage = doc.stage.getBoundingClientRect();
      const scale = doc.scale || 1;
      const elements = {};
      // The scene's own node carries the scene's name; its elements are the nodes below it.
      for (const el of doc.root.el.querySelectorAll('[data-kv-name]')) {
        const r = el.getBoundingClientRect();
        const cs = getComputedStyle(el);
        // A 3D transform (its own or an ancestor's) gives a projected box the model does not work out.
        let threeD = false;
        // A node inside a node that is not displayed is not shown either, whatever its own display.
        let displayed = true;
        for (let n = el; n && n !== doc.root.el; n = n.parentElement) {
          const ns = getComputedStyle(n);
          threeD = threeD || ns.transform.startsWith('matrix3d');
          displayed = displayed && ns.display !== 'none';
        }
        const media = el.querySelector(':scope > audio, :scope > video');
        elements[el.dataset.kvName] = {
          threeD,
          volume: media ? media.volume : undefined,
          box: [(r.left - stage.left) / scale, (r.top - stage.top) / scale, r.width / scale, r.height / scale],
          opacity: Number(cs.opacity),
          visible: displayed && cs.visibility !== 'hidden',
        };
      }
      return { scene: ctl.sceneIndex(), time: ctl.time(), elements };
    },
    [containerId, ms],
  );
}

// The times of the grid: every step ms from 0 to end.
function grid(end, step = 100) {
  const times = [];
  for (let t = 0; t <= end; t += step) times.push(t);
  return times;
}

// Shows a scene at its start, paused.
async function showScene(index) {
  await page.evaluate(
    ([cid, i]) => {
      const ctl = DorunKavio.getDoc(cid);
      ctl.pause();
      ctl.gotoScene(i);
      ctl.pause();
      ctl.seek(0);
    },
    [containerId, index],
  );
}

// Compares the page with "kavio sample" at every 100 ms of a scene's main timeline, or at the
// times given; the model shows the layout of the page's viewport when size is given.
async function compareScene(t, index, file = project, given = null, size = null) {
  await showScene(index);
  const duration = await page.evaluate((cid) => DorunKavio.getDoc(cid).duration(), containerId);
  assert.ok(duration >= 1000, `the main timeline of scene ${index + 1} runs a while (${duration} ms)`);
  // A trigger at the end of the timeline jumps to the next scene: stay just before it.
  const times = given || grid(duration - 1);
  const layoutArgs = size ? ['--size', `${size.width}x${size.height}`] : [];
  const lines = execFileSync(kavio, ['sample', file, '--scene', String(index + 1), ...layoutArgs, '--times', times.join(',')], {
    encoding: 'utf8',
  })
    .split('\n')
    .filter((l) => l.trim())
    .map((l) => JSON.parse(l));
  assert.equal(lines.length, times.length, 'one sample line per time');

  let worstBox = { d: 0 };
  let worstOpacity = { d: 0 };
  const faults = [];
  const skipped = new Set();
  let compared = 0;
  for (const [i, ms] of times.entries()) {
    const model = lines[i];
    assert.equal(model.t, ms);
    const shown = await pageAt(ms);
    assert.equal(shown.scene, index, `scene ${index + 1} is shown at ${ms} ms`);
    const names = Object.keys(model.elements);
    assert.ok(names.length >= 3, `the model lists the scene's elements (${names.join(', ')})`);
    for (const name of Object.keys(shown.elements)) {
      if (!model.elements[name]) faults.push(`${ms} ms ${name}: on the page but not in the model`);
    }
    for (const name of names) {
      const m = model.elements[name];
      const p = shown.elements[name];
      if (!p) {
        faults.push(`${ms} ms ${name}: not on the page`);
        continue;
      }
      // The model marks what it does not project; the page must turn exactly those in 3D.
      if (p.threeD !== Boolean(m.transform3d)) faults.push(`${ms} ms ${name}: in 3D ${p.threeD} on the page, ${Boolean(m.transform3d)} in the model`);
      if (p.threeD) {
        skipped.add(name);
        continue;
      }
      ++compared;
      // What the model hides the page hides, and the other way round; a hidden box is not compared.
      if (m.visible !== p.visible) faults.push(`${ms} ms ${name}: visible ${p.visible} on the page, ${m.visible} in the model`);
      if (m.volume !== undefined && !(Math.abs(m.volume - p.volume) <= OPACITY_TOLERANCE)) {
        faults.push(`${ms} ms ${name}: volume ${p.volume} on the page, ${m.volume} in the model`);
      }
      if (!m.visible && !p.visible) continue;
      for (let k = 0; k < 4; ++k) {
        const d = Math.abs(m.box[k] - p.box[k]);
        if (d > worstBox.d) worstBox = { d, at: `${ms} ms ${name} box[${k}]` };
        if (d > BOX_TOLERANCE) faults.push(`${ms} ms ${name}: box [${p.box.map((v) => v.toFixed(3))}] on the page, [${m.box}] in the model`);
      }
      const dOpacity = Math.abs(m.opacity - p.opacity);
      if (dOpacity > worstOpacity.d) worstOpacity = { d: dOpacity, at: `${ms} ms ${name}` };
      if (dOpacity > OPACITY_TOLERANCE) faults.push(`${ms} ms ${name}: opacity ${p.opacity} on the page, ${m.opacity} in the model`);
    }
  }
  const label = `${path.basename(file)} scene ${index + 1}${size ? ` at ${size.width}x${size.height}` : ''}`;
  t.diagnostic(`${label}: ${compared} element samples at ${times.length} times; largest box difference ` +
    `${worstBox.d.toFixed(4)} px (${worstBox.at || '-'}), largest opacity difference ${worstOpacity.d.toFixed(4)} (${worstOpacity.at || '-'})`);
  if (skipped.size) t.diagnostic(`${label}: not compared, turned in 3D: ${[...skipped].join(', ')}`);
  assert.ok(compared > 0, 'some elements were compared');
  assert.deepEqual([...new Set(faults)].slice(0, 30), []);
  assert.deepEqual(pageErrors, []);
}

test('the player places every element of the first scene where the model does', { skip: missing || false }, async (t) => {
  await compareScene(t, 0);
});

test('the player places every element of the second scene where the model does', { skip: missing || false }, async (t) => {
  await compareScene(t, 1);
});

// The pixels of a PNG screenshot (8-bit RGB or RGBA, not interlaced, as Chromium writes them).
function pngPixels(buffer) {
  assert.equal(buffer.toString('latin1', 1, 4), 'PNG');
  let pos = 8;
  let width = 0;
  let height = 0;
  let channels = 4;
  const idat = [];
  while (pos < buffer.length) {
    const length = buffer.readUInt32BE(pos);
    const type = buffer.toString('latin1', pos + 4, pos + 8);
    const data = buffer.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      assert.equal(data[8], 8, '8 bits per channel');
      channels = data[9] === 6 ? 4 : data[9] === 2 ? 3 : 0;
      assert.ok(channels, `colour type ${data[9]}`);
      assert.equal(data[12], 0, 'not interlaced');
    } else if (type === 'IDAT') {
      idat.push(data);
    }
    pos += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? pixels[y * stride + x - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      let v = line[x];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const pa = Math.abs(b - c);
        const pb = Math.abs(a - c);
        const pc = Math.abs(a + b - 2 * c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      pixels[y * stride + x] = v & 0xff;
    }
  }
  return { width, height, channels, pixels };
}

test('screenshots of the banner differ from time to time', { skip: missing || false }, async () => {
  mkdirSync(artifacts, { recursive: true });
  await showScene(0);
  const shots = [];
  for (const ms of [0, 600, 1800]) {
    const rect = await page.evaluate(([cid, t]) => {
      const ctl = DorunKavio.getDoc(cid);
      ctl.pause();
      ctl.seek(t);
      const r = ctl.doc.stage.getBoundingClientRect();
      return { x: r.left, y: r.top, width: r.width, height: r.height };
    }, [containerId, ms]);
    assert.ok(rect.width > 0 && rect.height > 0, 'the stage has a size');
    const file = path.join(artifacts, `banner-${ms}ms.png`);
    const png = await page.screenshot({ clip: rect, type: 'png' });
    writeFileSync(file, png);
    const image = pngPixels(png);
    // Not blank: many colours, not one.
    const colours = new Set();
    for (let i = 0; i < image.pixels.length; i += image.channels) {
      colours.add((image.pixels[i] << 16) | (image.pixels[i + 1] << 8) | image.pixels[i + 2]);
    }
    assert.ok(colours.size > 50, `${file} shows the banner (${colours.size} colours)`);
    shots.push({ ms, image });
  }
  for (let i = 1; i < shots.length; ++i) {
    const a = shots[i - 1].image;
    const b = shots[i].image;
    assert.equal(a.pixels.length, b.pixels.length);
    let changed = 0;
    for (let k = 0; k < a.pixels.length; k += a.channels) {
      if (a.pixels[k] !== b.pixels[k] || a.pixels[k + 1] !== b.pixels[k + 1] || a.pixels[k + 2] !== b.pixels[k + 2]) ++changed;
    }
    const share = changed / (a.pixels.length / a.channels);
    assert.ok(share > 0.01, `${shots[i - 1].ms} ms and ${shots[i].ms} ms look different (${(share * 100).toFixed(2)}% of the pixels)`);
  }
  assert.deepEqual(pageErrors, []);
});

// Generated projects: every easing code, transforms, nested groups and motion paths, compared every
// 50 ms from the start to past the end of their one-second timelines.
for (const [base, viewport] of [
  ['easings', { width: 640, height: 640 }],
  ['transforms', { width: 640, height: 480 }],
  ['nesting', { width: 640, height: 480 }],
]) {
  test(`the player places every element of the generated ${base} project where the model does`,
    { skip: generatedMissing || false }, async (t) => {
      if (!generated) {
        generated = mkdtempSync(path.join(tmpdir(), 'kavio-parity-generated-'));
        execFileSync(genprojects, [generated], { encoding: 'utf8' });
      }
      const file = path.join(generated, `${base}.kavio`);
      assert.ok(existsSync(file), `${file} was written`);
      assert.match(execFileSync(kavio, ['check', file], { encoding: 'utf8' }), /^scenes=1 /);
      const folder = path.join(generated, `${base}-export`);
      mkdirSync(folder, { recursive: true });
      await openProject(file, folder, viewport);
      await compareScene(t, 0, file, grid(1100, 50));
    });
}

// The responsive project at a viewport below both breakpoints (the base layout) and at one past
// both (the layout of both breakpoints, whose places, sizes, colours and animations differ).
for (const viewport of [{ width: 640, height: 480 }, { width: 900, height: 700 }]) {
  test(`the player places every element of the generated responsive project where the model does at ${viewport.width}x${viewport.height}`,
    { skip: generatedMissing || false }, async (t) => {
      if (!generated) {
        generated = mkdtempSync(path.join(tmpdir(), 'kavio-parity-generated-'));
        execFileSync(genprojects, [generated], { encoding: 'utf8' });
      }
      const file = path.join(generated, 'responsive.kavio');
      const folder = path.join(generated, `responsive-export-${viewport.width}`);
      mkdirSync(folder, { recursive: true });
      await openProject(file, folder, viewport);
      const layout = await page.evaluate((cid) => DorunKavio.getDoc(cid).doc.layout, containerId);
      assert.deepEqual(layout, viewport.width > 700 ? [1, 2] : [0, 0], 'the page shows the layout of its viewport');
      await compareScene(t, 0, file, grid(1100, 50), viewport);
    });
}

// Hand-made projects: every scene at every viewport of the row, every 50 ms to past the scene's end.
for (const row of handmadeProjects) {
  for (const [width, height] of row.viewports || [[640, 480]]) {
    test(`the player places every element of the hand-made ${row.name} project where the model does at ${width}x${height}`,
      { skip: missing || false }, async (t) => {
        if (!handmade) handmade = mkdtempSync(path.join(tmpdir(), 'kavio-parity-handmade-'));
        const file = writeHandmade(handmade, row);
        const folder = path.join(handmade, `${row.name}-export-${width}x${height}`);
        mkdirSync(folder, { recursive: true });
        await openProject(file, folder, { width, height });
        const size = row.breakpoints ? { width, height } : null;
        for (const [index, scene] of row.scenes.entries()) {
          await compareScene(t, index, file, grid((scene.duration || 1000) + 100, 50), size);
        }
      });
  }
}

// Saving is stable: every project we can read (the examples, the generated projects and the
// hand-made rows above) opened and saved, then opened and saved again, gives the same bytes.
const genplayback = process.env.KAVIO_GENPLAYBACK || path.join(root, 'build', 'bin', 'kavio-genplayback');
test('saving what was read writes the same bytes, for every project we can read', { skip: generatedMissing || false }, async (t) => {
  const folder = mkdtempSync(path.join(tmpdir(), 'kavio-roundtrip-'));
  try {
    execFileSync(genprojects, [path.join(folder, 'generated')], { encoding: 'utf8' });
    execFileSync(genplayback, [path.join(folder, 'generated')], { encoding: 'utf8' });
    const examples = readdirSync(path.join(root, 'examples')).map((name) => path.join(root, 'examples', name))
      .flatMap((dir) => readdirSync(dir).filter((f) => f.endsWith('.kavio')).map((f) => path.join(dir, f)));
    const files = [
      ...examples,
      ...readdirSync(path.join(folder, 'generated')).filter((f) => f.endsWith('.kavio')).map((f) => path.join(folder, 'generated', f)),
      ...handmadeProjects.map((row) => writeHandmade(folder, row)),
    ];
    assert.ok(files.length >= handmadeProjects.length + 6, `${files.length} projects`);
    const changed = [];
    for (const file of files) {
      const base = path.basename(file);
      const once = path.join(folder, 'once', base);
      const twice = path.join(folder, 'twice', base);
      mkdirSync(path.dirname(once), { recursive: true });
      mkdirSync(path.dirname(twice), { recursive: true });
      execFileSync(kavio, ['save-as', file, once], { encoding: 'utf8' });
      execFileSync(kavio, ['save-as', once, twice], { encoding: 'utf8' });
      if (!readFileSync(once).equals(readFileSync(twice))) changed.push(base);
    }
    t.diagnostic(`${files.length} projects saved twice`);
    assert.deepEqual(changed, []);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});
