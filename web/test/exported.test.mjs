// Exported projects in a browser: kavio-genprojects and kavio-genplayback build projects through the
// model, "kavio export" writes them, a small HTTP server on 127.0.0.1 serves the exported folders
// (with byte ranges, as media need, and holding back a file when a test asks), and headless
// Chromium plays them:
// - a responsive project switches its layout and the layout's animations when the viewport crosses
//   its breakpoints, and back, at the places "kavio sample --size" gives;
// - a video and a symbol instance nested in a group (whose symbol starts an instance of another
//   symbol) follow the playback entries of the main timeline, seeking and playing;
// - the project's loading indicator shows while its photo is held back, and goes when it arrives;
// - with reduced motion the example banner rests at its first scene's final frame, although its
//   own handlers would play it on into the next scene; its pause/play button, when the project
//   asks for one, is reached with the keyboard and stops or starts the motion;
// - an "Open Click Tag URL" action opens the landing page the ad network writes into the page's
//   click-tag variable, or the action's own URL where no network has replaced it.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createReadStream, existsSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync, mkdirSync, copyFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const bin = (name, env) => process.env[env] || path.join(root, 'build', 'bin', name);
const kavio = bin('kavio', 'KAVIO_CLI');
const genprojects = bin('kavio-genprojects', 'KAVIO_GENPROJECTS');
const genplayback = bin('kavio-genplayback', 'KAVIO_GENPLAYBACK');
const missing = [kavio, genprojects, genplayback].filter((p) => !existsSync(p)).map((p) => `${p} is not built`)[0] || '';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png', '.webm': 'video/webm' };

let work;
let server;
let base;
let browser;
// Paths the server holds back: path -> promise that lets the answer go.
const held = new Map();
// Every path asked for, in order.
const asked = [];

// Serves the files below the work folder; a "Range: bytes=a-b" request gets that part (206).
function serve(req, res) {
  const url = new URL(req.url, 'http://127.0.0.1');
  const rel = decodeURIComponent(url.pathname);
  asked.push(rel);
  const file = path.join(work, rel);
  if (!file.startsWith(work + path.sep) || !existsSync(file) || !statSync(file).isFile()) {
    res.writeHead(404).end();
    return;
  }
  const size = statSync(file).size;
  const type = TYPES[path.extname(file)] || 'application/octet-stream';
  const answer = () => {
    const range = /^bytes=(\d*)-(\d*)$/.exec(req.headers.range || '');
    if (range) {
      const start = range[1] ? Number(range[1]) : Math.max(0, size - Number(range[2]));
      const end = range[1] && range[2] ? Math.min(size - 1, Number(range[2])) : size - 1;
      res.writeHead(206, { 'Content-Type': type, 'Accept-Ranges': 'bytes', 'Content-Range': `bytes ${start}-${end}/${size}`, 'Content-Length': end - start + 1 });
      createReadStream(file, { start, end }).pipe(res);
      return;
    }
    res.writeHead(200, { 'Content-Type': type, 'Accept-Ranges': 'bytes', 'Content-Length': size, 'Cache-Control': 'no-store' });
    createReadStream(file).pipe(res);
  };
  const hold = held.get(rel);
  if (hold) hold.then(answer);
  else answer();
}

// Exports a generated project into "<base>-export" and gives its page's path on the server and its
// container id.
function exported(name) {
  const out = path.join(work, `${name}-export`);
  execFileSync(kavio, ['export', path.join(work, `${name}.kavio`), out], { encoding: 'utf8' });
  const html = readFileSync(path.join(out, `${name}.html`), 'utf8');
  const id = /Kavio\.openDoc\('[^']+', '([^']+)'/.exec(html);
  assert.ok(id, `the exported page of ${name} starts the player`);
  return { url: `${base}/${name}-export/${name}.html`, id: id[1], file: path.join(work, `${name}.kavio`) };
}

before(async () => {
  if (missing) return;
  work = mkdtempSync(path.join(tmpdir(), 'kavio-exported-'));
  execFileSync(genprojects, [work], { encoding: 'utf8' });
  execFileSync(genplayback, [work], { encoding: 'utf8' });
  server = createServer(serve);
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  base = `http://127.0.0.1:${server.address().port}`;
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (server) await new Promise((resolve) => server.close(resolve));
  if (work) rmSync(work, { recursive: true, force: true });
});

// A page on an exported project, its document paused at the start.
async function open(project, viewport) {
  const page = await browser.newPage({ viewport });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(project.url);
  await page.waitForFunction((cid) => window.DorunKavio && DorunKavio.getDoc(cid) && DorunKavio.getDoc(cid).doc, project.id);
  await page.evaluate((cid) => {
    const ctl = DorunKavio.getDoc(cid);
    ctl.pause();
    ctl.seek(0);
  }, project.id);
  return { page, errors };
}

// What "kavio sample" gives for a container size at a time: name -> box.
function modelAt(project, size, ms) {
  const line = execFileSync(kavio, ['sample', project.file, '--size', `${size.width}x${size.height}`, '--times', String(ms)], { encoding: 'utf8' });
  const elements = JSON.parse(line).elements;
  return Object.fromEntries(Object.entries(elements).map(([name, e]) => [name, e.box]));
}

test('a responsive project switches its layout and animations across its breakpoints, and back', { skip: missing || false }, async () => {
  const project = exported('responsive');
  const narrow = { width: 640, height: 480 };
  const wide = { width: 900, height: 700 };
  const { page, errors } = await open(project, narrow);
  try {
    // The layout, the time, the card's colour and every element's box relative to the stage.
    const shown = (ms) =>
      page.evaluate(
        ([cid, t]) => {
          const ctl = DorunKavio.getDoc(cid);
          if (t !== null) ctl.seek(t);
          const stage = ctl.doc.stage.getBoundingClientRect();
          const boxes = {};
          for (const el of ctl.doc.root.el.querySelectorAll('[data-kv-name]')) {
            const r = el.getBoundingClientRect();
            boxes[el.dataset.kvName] = [r.left - stage.left, r.top - stage.top, r.width, r.height];
          }
          const card = ctl.doc.root.el.querySelector('[data-kv-name="card"]');
          return { layout: ctl.doc.layout, time: ctl.time(), color: getComputedStyle(card).backgroundColor, boxes };
        },
        [project.id, ms],
      );
    const near = (page, model, what) => {
      for (const name of ['card', 'band', 'badge', 'dot']) {
        assert.ok(page[name], `${name} is on the page (${what})`);
        page[name].forEach((v, k) => assert.ok(Math.abs(v - model[name][k]) <= 0.5, `${what}: ${name} box [${page[name]}] on the page, [${model[name]}] in the model`));
      }
    };

    const first = await shown(600);
    assert.deepEqual(first.layout, [0, 0]);
    assert.equal(first.color, 'rgb(232, 74, 95)');
    near(first.boxes, modelAt(project, narrow, 600), 'narrow at 600 ms');

    // Across both breakpoints: the layout of both, at the same time, with its own animations.
    await page.setViewportSize(wide);
    await page.waitForFunction((cid) => DorunKavio.getDoc(cid).doc.layout[0] !== 0, project.id);
    const grown = await shown(null);
    assert.deepEqual(grown.layout, [1, 2]);
    assert.equal(grown.time, 600, 'the time is kept');
    assert.equal(grown.color, 'rgb(32, 144, 230)', 'the layout has a colour of its own');
    near(grown.boxes, modelAt(project, wide, 600), 'wide at 600 ms');
    // There the card falls instead of sliding right.
    const later = await shown(900);
    near(later.boxes, modelAt(project, wide, 900), 'wide at 900 ms');
    assert.ok(later.boxes.card[1] > grown.boxes.card[1] + 10, 'the card falls in the wide layout');

    // Only one breakpoint crossed: a layout without animations of its own stands still.
    const halfway = { width: 900, height: 480 };
    await page.setViewportSize(halfway);
    await page.waitForFunction((cid) => DorunKavio.getDoc(cid).doc.layout[1] === 0, project.id);
    const still = [await shown(100), await shown(900)];
    assert.deepEqual(still[0].layout, [1, 0]);
    assert.deepEqual(still[0].boxes, still[1].boxes, 'nothing moves in the layout of one breakpoint');
    near(still[1].boxes, modelAt(project, halfway, 900), 'one breakpoint at 900 ms');

    // And back below both.
    await page.setViewportSize(narrow);
    await page.waitForFunction((cid) => DorunKavio.getDoc(cid).doc.layout[0] === 0, project.id);
    const back = await shown(null);
    assert.deepEqual(back.layout, [0, 0]);
    assert.equal(back.time, 900);
    assert.equal(back.color, 'rgb(232, 74, 95)');
    near(back.boxes, modelAt(project, narrow, 900), 'narrow again at 900 ms');
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

// The state of the playback project's content: the document's time, the video and where the
// badge's dot and the nested spark's flare are within their symbols.
function playbackState(cid) {
  const ctl = DorunKavio.getDoc(cid);
  const root = ctl.doc.root.el;
  const video = root.querySelector('[data-kv-name="clip"] video');
  const offset = (outer, inner) => {
    const a = root.querySelector(outer).getBoundingClientRect();
    const b = root.querySelector(inner).getBoundingClientRect();
    return [Math.round(b.left - a.left), Math.round(b.top - a.top)];
  };
  return {
    t: ctl.time(),
    video: { tag: video.tagName, width: video.videoWidth, height: video.videoHeight, paused: video.paused, at: Math.round(video.currentTime * 1000), src: video.currentSrc.split('/').slice(-2).join('/') },
    dot: offset('[data-kv-name="badge"]', '[data-kv-name="badge"] [data-kv-name="dot"]'),
    flare: offset('[data-kv-name="twinkle"]', '[data-kv-name="twinkle"] [data-kv-name="flare"]'),
  };
}

test('a video and a nested symbol start and pause on their playback entries', { skip: missing || false }, async () => {
  const project = exported('playback');
  const { page, errors } = await open(project, { width: 640, height: 480 });
  try {
    await page.waitForFunction((cid) => document.querySelector(`#${cid} video`).readyState >= 1, project.id);
    await page.evaluate(`window.playbackState = ${playbackState.toString()}`);
    // Seeking while paused: everything is placed where the entries say, nothing plays.
    const seek = (ms) =>
      page.evaluate(
        async ([cid, t]) => {
          DorunKavio.getDoc(cid).seek(t);
          const video = document.querySelector(`#${cid} video`);
          if (video.seeking) await new Promise((resolve) => video.addEventListener('seeked', resolve, { once: true }));
          return window.playbackState(cid);
        },
        [project.id, ms],
      );
    const seen = {};
    for (const ms of [0, 1000, 1500, 1800, 2500, 3400]) seen[ms] = await seek(ms);
    assert.equal(seen[0].video.tag, 'VIDEO');
    assert.equal(seen[0].video.src, 'resources/clip.webm');
    assert.deepEqual([seen[0].video.width, seen[0].video.height], [160, 96], 'the clip has real frames');
    // The clip: started at 300, paused at 1300 (1 s in), played on from 1800. A paused clip is
    // moved only when it is more than 50 ms away from its place.
    const clip = [0, 700, 1000, 1000, 1700, 2600];
    Object.values(seen).forEach((s, i) => {
      assert.equal(s.video.paused, true, `the clip is paused at ${s.t} ms`);
      assert.ok(Math.abs(s.video.at - clip[i]) <= 50, `the clip is at ${s.video.at} ms at ${s.t} ms, not ${clip[i]}`);
    });
    // The badge (2 s, its dot 80 px): started at 500, paused at 1500 (1 s in), played on from 2000.
    assert.deepEqual(Object.values(seen).map((s) => s.dot), [[0, 20], [20, 20], [40, 20], [40, 20], [60, 20], [80, 20]]);
    // The spark inside the badge starts with it and drops 30 px in its first second.
    assert.deepEqual(Object.values(seen).map((s) => s.flare), [[0, 0], [0, 15], [0, 30], [0, 30], [0, 30], [0, 30]]);

    // Playing: the video runs and stops with its entries while the document plays.
    await seek(0);
    await page.evaluate((cid) => DorunKavio.getDoc(cid).play(), project.id);
    const when = (cond) => page.waitForFunction(([cid, c]) => {
      const s = window.playbackState(cid);
      return new Function('s', `return ${c}`)(s) ? s : null;
    }, [project.id, cond], { timeout: 10000 }).then((h) => h.jsonValue());
    const running = await when('s.t >= 700 && s.t < 1200');
    assert.equal(running.video.paused, false, `the clip plays during its first entry (${JSON.stringify(running)})`);
    assert.ok(Math.abs(running.video.at - (running.t - 300)) < 300, `the clip is near its place: ${JSON.stringify(running)}`);
    const paused = await when('s.t >= 1550 && s.t < 1780');
    assert.equal(paused.video.paused, true, `the clip pauses at 1300 (${JSON.stringify(paused)})`);
    assert.ok(Math.abs(paused.video.at - 1000) < 100, `the clip holds at 1 s: ${JSON.stringify(paused)}`);
    assert.deepEqual(paused.dot, [40, 20], 'the badge is paused too');
    const again = await when('s.t >= 2300 && s.t < 3000');
    assert.equal(again.video.paused, false, `the clip plays on from 1800 (${JSON.stringify(again)})`);
    assert.ok(again.dot[0] > 40 && again.dot[0] <= 80, `the badge plays on: ${JSON.stringify(again)}`);
    // Pausing the document pauses the clip.
    const stopped = await page.evaluate((cid) => {
      DorunKavio.getDoc(cid).pause();
      return window.playbackState(cid);
    }, project.id);
    assert.equal(stopped.video.paused, true);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('the loading indicator shows while a slow photo loads', { skip: missing || false }, async () => {
  const project = exported('slowload');
  const photo = '/slowload-export/resources/photo.png';
  let release;
  held.set(photo, new Promise((resolve) => (release = resolve)));
  asked.length = 0;
  const page = await browser.newPage({ viewport: { width: 640, height: 480 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  try {
    await page.goto(project.url, { waitUntil: 'domcontentloaded' });
    // The photo is asked for and held; the indicator turns in the container meanwhile.
    await page.waitForFunction((cid) => document.querySelector(`#${cid} .kv-loading`), project.id);
    for (let i = 0; i < 50 && !asked.includes(photo); ++i) await new Promise((r) => setTimeout(r, 20));
    assert.ok(asked.includes(photo), `the photo was asked for (${asked.join(', ')})`);
    await new Promise((r) => setTimeout(r, 400));
    const waiting = await page.evaluate((cid) => {
      const box = document.querySelector(`#${cid} .kv-loading`);
      const dot = box && box.firstElementChild;
      return box && {
        dots: box.children.length,
        size: [box.style.width, box.style.height],
        color: getComputedStyle(dot).backgroundColor,
        corners: getComputedStyle(dot).borderRadius,
        turning: box.getAnimations().length,
        stage: !!document.querySelector(`#${cid} .kv-stage`),
        ready: !!(DorunKavio.getDoc(cid) && DorunKavio.getDoc(cid).doc),
      };
    }, project.id);
    // The project's indicator: 7 square dots in 48 px, in its colour, turning; no document yet.
    assert.deepEqual(waiting, { dots: 7, size: ['48px', '48px'], color: 'rgb(232, 74, 95)', corners: '0px', turning: 1, stage: false, ready: false });
    assert.ok(asked.indexOf('/slowload-export/slowload.js') < asked.indexOf(photo), 'the data file came first');

    release();
    await page.waitForFunction((cid) => DorunKavio.getDoc(cid) && DorunKavio.getDoc(cid).doc, project.id);
    const done = await page.evaluate((cid) => ({
      indicator: document.querySelectorAll(`#${cid} .kv-loading`).length,
      photo: getComputedStyle(document.querySelector(`#${cid} [data-kv-name="photo"] .kv-image`)).backgroundImage,
    }), project.id);
    assert.equal(done.indicator, 0, 'the indicator is gone');
    assert.match(done.photo, /resources\/photo\.png/);
    assert.deepEqual(errors, []);
  } finally {
    held.delete(photo);
    if (release) release();
    await page.close();
  }
});

test('with reduced motion the banner rests at the end of its first scene', { skip: missing || false }, async () => {
  const out = path.join(work, 'banner-export');
  execFileSync(kavio, ['export', path.join(root, 'examples', 'banner', 'banner.kavio'), out], { encoding: 'utf8' });
  const state = async (reducedMotion) => {
    const page = await browser.newPage({ reducedMotion });
    try {
      await page.goto(`${base}/banner-export/banner.html`);
      await page.waitForFunction(() => window.DorunKavio && DorunKavio.getDoc('kvBanner') && DorunKavio.getDoc('kvBanner').doc);
      // Longer than the first scene's trigger (3 s into it) takes when it plays.
      await page.waitForTimeout(3500);
      return await page.evaluate(() => {
        const c = DorunKavio.getDoc('kvBanner');
        return { scene: c.sceneIndex(), time: Math.round(c.time()), playing: c.isPlaying(), end: c.doc.timeline.duration };
      });
    } finally {
      await page.close();
    }
  };
  const calm = await state('reduce');
  assert.deepEqual(calm, { scene: 0, time: calm.end, playing: false, end: calm.end });
  assert.ok(calm.end > 0);
  // Without the preference the same page moves on to the second scene by itself.
  assert.equal((await state('no-preference')).scene, 1);
});

test('the pause/play button is reached with the keyboard and stops or starts the motion', { skip: missing || false }, async () => {
  // The banner with the option on, as the project file keeps it.
  const folder = path.join(work, 'controlled');
  mkdirSync(path.join(folder, 'banner_res'), { recursive: true });
  const example = path.join(root, 'examples', 'banner');
  copyFileSync(path.join(example, 'banner_res', 'logo.png'), path.join(folder, 'banner_res', 'logo.png'));
  const text = readFileSync(path.join(example, 'banner.kavio'), 'utf8');
  assert.ok(text.includes('"containerID":'));
  writeFileSync(path.join(folder, 'banner.kavio'), text.replace('"containerID":', '"playControl":true,"containerID":'));
  execFileSync(kavio, ['export', path.join(folder, 'banner.kavio'), path.join(folder, 'out')], { encoding: 'utf8' });
  const rows = [
    // reduced motion, what the button says first, what Enter, then Space, make of it
    ['reduce', 'Play', [true, false]],
    ['no-preference', 'Pause', [false, true]],
  ];
  for (const [reducedMotion, first, after] of rows) {
    const page = await browser.newPage({ reducedMotion });
    try {
      await page.goto(`${base}/controlled/out/banner.html`);
      await page.waitForFunction(() => window.DorunKavio && DorunKavio.getDoc('kvBanner') && DorunKavio.getDoc('kvBanner').doc);
      const button = () => page.evaluate(() => {
        const b = document.querySelector('#kvBanner .kv-play-control');
        return { text: b.textContent, label: b.getAttribute('aria-label'), focused: document.activeElement === b, playing: DorunKavio.getDoc('kvBanner').isPlaying() };
      });
      assert.equal((await button()).text, first, reducedMotion);
      await page.keyboard.press('Tab');
      assert.equal((await button()).focused, true, `${reducedMotion}: Tab reaches the button`);
      const seen = [];
      for (const key of ['Enter', 'Space']) {
        await page.keyboard.press(key);
        const b = await button();
        assert.equal(b.text, b.playing ? 'Pause' : 'Play');
        assert.equal(b.label, b.playing ? 'Pause the animation' : 'Play the animation');
        seen.push(b.playing);
      }
      assert.deepEqual(seen, after, reducedMotion);
    } finally {
      await page.close();
    }
  }
});

test('a click-tag action opens the landing page the network sets, or its own URL', { skip: missing || false }, async () => {
  const example = path.join(root, 'examples', 'banner');
  const text = readFileSync(path.join(example, 'banner.kavio'), 'utf8');
  const click = '{"action":100,"action_data":{"scene_id":-2},"event":100,"event_value":{}}';
  assert.ok(text.includes(click));
  const fallback = `${base}/landing.html?from=fallback`;
  const network = `${base}/landing.html?from=network`;
  writeFileSync(path.join(work, 'landing.html'), '<!doctype html><title>Landing</title>');
  const rows = [
    // the project's click-tag variable, how the network rewrites the exported page, where the click leads
    ['clickTag', null, fallback],
    ['clickTag', (page) => page.replace(/var clickTag = "[^"]*";/, `var clickTag = "${network}";`), network],
    ['exitUrl', (page) => page.replace(/var exitUrl = "[^"]*";/, `var exitUrl = "${network}";`), network],
  ];
  for (const [name, rewrite, expected] of rows) {
    const folder = path.join(work, `clicktag-${name}-${rewrite ? 'network' : 'own'}`);
    mkdirSync(path.join(folder, 'banner_res'), { recursive: true });
    copyFileSync(path.join(example, 'banner_res', 'logo.png'), path.join(folder, 'banner_res', 'logo.png'));
    const action = `{"action":104,"action_data":{"new_window":true,"url":"${fallback}"},"event":100,"event_value":{}}`;
    let project = text.replace(click, action);
    if (name !== 'clickTag') project = project.replace('"containerID":', `"clickTag":"${name}","containerID":`);
    writeFileSync(path.join(folder, 'banner.kavio'), project);
    execFileSync(kavio, ['export', path.join(folder, 'banner.kavio'), path.join(folder, 'out')], { encoding: 'utf8' });
    const pageFile = path.join(folder, 'out', 'banner.html');
    const html = readFileSync(pageFile, 'utf8');
    const head = html.slice(0, html.indexOf('</head>'));
    assert.ok(head.includes(`var ${name} = "${fallback}";`), `${name}: the head declares the variable with its fallback`);
    if (rewrite) writeFileSync(pageFile, rewrite(html));
    const page = await browser.newPage();
    try {
      await page.goto(`${base}/${path.basename(folder)}/out/banner.html`);
      await page.waitForSelector('[data-kv-name="button"]');
      const [popup] = await Promise.all([page.waitForEvent('popup'), page.click('[data-kv-name="button"]')]);
      await popup.waitForLoadState('domcontentloaded').catch(() => {});
      assert.equal(popup.url(), expected, `${name}${rewrite ? ', rewritten by the network' : ''}`);
      await popup.close();
    } finally {
      await page.close();
    }
  }
});
