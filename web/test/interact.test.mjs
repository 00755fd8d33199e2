// Events and actions in a real headless Chromium: the page opens a data file written in the form the
// designer exports (handlers under "e", triggers, timeline events and a functions table) and the
// tests click, hover, swipe and type on it, or hand the document an action and step its clock.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { build } from 'esbuild';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const pageUrl = 'file://' + path.join(here, 'fixtures', 'interact.html');

let browser;
let player;

before(async () => {
  // The bundle is built in memory, as "npm run build" would write it, so that other test files
  // writing dist/ at the same time cannot disturb this one.
  const out = await build({
    entryPoints: [path.join(here, '..', 'player', 'index.js')],
    bundle: true,
    minify: true,
    format: 'iife',
    target: 'es2018',
    write: false,
    logLevel: 'warning',
  });
  player = out.outputFiles[0].text;
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
  });
});

after(async () => {
  if (browser) await browser.close();
});

// Opens interact.js paused in the container "ia"; every page error and console error is recorded.
async function open() {
  const page = await browser.newPage({ viewport: { width: 600, height: 400 } });
  const errors = [];
  const consoleErrors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => m.type() === 'error' && consoleErrors.push(m.text()));
  await page.goto(pageUrl);
  await page.addScriptTag({ content: player });
  await page.evaluate(async () => {
    window.kvLog = [];
    await DorunKavio.openDoc('interact.js', 'ia', { paused: true }).ready;
  });
  return { page, errors, consoleErrors };
}

const display = (page, name) => page.evaluate((n) => getComputedStyle(document.querySelector(`[data-kv-name="${n}"]`)).display, name);
const log = (page) => page.evaluate(() => window.kvLog.splice(0));

test('the document raises Create, Scene Activate and Ready when it opens, Destroy when it closes', async () => {
  const { page, errors } = await open();
  try {
    assert.deepEqual(await log(page), ['doc 20', 'doc 50', 'doc 21']);
    await page.evaluate(() => DorunKavio.getDoc('ia').close());
    assert.deepEqual(await log(page), ['doc 22']);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('a click hides another element and runs a user function with (doc, e)', async () => {
  const { page, errors } = await open();
  try {
    assert.equal(await display(page, 'Target'), 'block');
    await page.click('[data-kv-name="Hider"]');
    assert.equal(await display(page, 'Target'), 'none');
    await page.click('[data-kv-name="Titler"]');
    assert.equal(await page.title(), 'clicked 100 in scene 0 by Titler');
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('a user function that throws is reported on the console and the animation goes on', async () => {
  const { page, errors, consoleErrors } = await open();
  try {
    await page.click('[data-kv-name="Hider"]');
    await log(page);
    await page.evaluate(() => DorunKavio.getDoc('ia').doc.play(0.25));
    await page.click('[data-kv-name="Thrower"]');
    // The handler's next action ran, the document's "Script Error" handler ran, and time goes on.
    assert.equal(await display(page, 'Target'), 'block');
    const seen = await log(page);
    assert.ok(seen.includes('fails') && seen.includes('doc 23'), seen.join(', '));
    const t0 = await page.evaluate(() => DorunKavio.getDoc('ia').time());
    await page.waitForFunction((t) => DorunKavio.getDoc('ia').time() > t + 50, t0, { timeout: 3000 });
    assert.ok(consoleErrors.some((m) => m.includes('fails')), consoleErrors.join('\n'));
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('unknown codes, damaged actions and missing targets are passed over', async () => {
  const { page, errors } = await open();
  try {
    await page.click('[data-kv-name="Hider"]');
    await page.click('[data-kv-name="Weird"]');
    const state = await page.evaluate(() => {
      const c = DorunKavio.getDoc('ia');
      // Actions handed over directly: nonsense of every kind.
      c.doc.run([[], [null], ['3'], [3, -1, {}, 1, false], [40, 'x'], [103], [101, ''], [102, 77, 'x']], c.doc.view, {});
      return { index: c.sceneIndex(), time: c.time(), playing: c.isPlaying() };
    });
    // The last valid action showed the target; the jump to an unknown scene went nowhere.
    assert.equal(await display(page, 'Target'), 'block');
    assert.equal(await display(page, 'Hider'), 'block');
    assert.deepEqual(state, { index: 0, time: 0, playing: false });
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('timeline control actions with speed, reverse and labels', async () => {
  const { page, errors } = await open();
  try {
    // Each case: actions run at time 0 of a paused main timeline, then steps of the clock.
    const cases = [
      { name: 'start at speed 2', actions: [[1, -1, 2, false]], steps: [250], expect: { time: 500, playing: true } },
      { name: 'play from a label backwards', actions: [[3, -1, 'half', 1, true]], steps: [200], expect: { time: 300, playing: true } },
      { name: 'play backwards from the start plays from the end', actions: [[2, -1, 1, true]], steps: [100], expect: { time: 900, playing: true } },
      { name: 'pause at a label', actions: [[1, -1, 1, false], [5, -1, 'half']], steps: [100], expect: { time: 500, playing: false } },
      { name: 'seek keeps it paused', actions: [[7, -1, 700]], steps: [100], expect: { time: 700, playing: false } },
      { name: 'toggle plays', actions: [[6, -1]], steps: [100], expect: { time: 100, playing: true } },
      { name: 'toggle twice pauses', actions: [[6, -1], [6, -1]], steps: [100], expect: { time: 0, playing: false } },
      { name: 'an unknown label does nothing', actions: [[3, -1, 'nowhere', 1, false]], steps: [100], expect: { time: 0, playing: false } },
      { name: 'the main timeline by its id', actions: [[2, 1, 1, false], [4, 1]], steps: [100], expect: { time: 0, playing: false } },
      { name: 'playing to the end completes', actions: [[2, -1, 4, false]], steps: [200, 200], expect: { time: 1000, playing: false } },
    ];
    const results = await page.evaluate((list) => {
      const c = DorunKavio.getDoc('ia');
      const d = c.doc;
      const out = {};
      for (const k of list) {
        d.pause();
        d.rate = 1;
        d.reverse = false;
        d.seek(0);
        window.kvLog = [];
        d.run(k.actions, d.view, {});
        for (const s of k.steps) d.advance(s);
        out[k.name] = { time: Math.round(c.time()), playing: c.isPlaying() };
      }
      d.pause();
      return out;
    }, cases);
    for (const k of cases) assert.deepEqual(results[k.name], k.expect, k.name);

    // The timeline's own events, in order.
    const events = await page.evaluate(() => {
      const d = DorunKavio.getDoc('ia').doc;
      d.rate = 1;
      d.seek(0);
      window.kvLog = [];
      d.run([[1, -1, 2, true]], d.view, {});
      d.advance(600);
      return window.kvLog.splice(0);
    });
    assert.deepEqual(events, ['timeline 156 1000', 'timeline 154 2', 'timeline 155 true', 'timeline 151', 'timeline 153']);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('another timeline of the scene plays on its own; its values lie over the main timeline', async () => {
  const { page, errors } = await open();
  try {
    const r = await page.evaluate(() => {
      const c = DorunKavio.getDoc('ia');
      const d = c.doc;
      const mover = () => {
        const s = document.querySelector('.kv-scene').getBoundingClientRect();
        const m = document.querySelector('[data-kv-name="Mover"]').getBoundingClientRect();
        return [m.left - s.left, m.top - s.top];
      };
      window.kvLog = [];
      d.run([[3, 2, 'mid', 1, false]], d.view, {});
      d.advance(300);
      const during = { at: mover(), main: c.isPlaying() };
      d.advance(400);
      const after = mover();
      return { during, after, log: window.kvLog.splice(0) };
    });
    // "Side" moves the element down from 140 px (its label "mid" at 400) while the main timeline rests.
    assert.deepEqual(r.during, { at: [0, 170], main: false });
    assert.deepEqual(r.after, [0, 200]);
    assert.deepEqual(r.log, ['timeline 153']);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('a trigger fires once per crossing, also when a frame skips past it, and backwards', async () => {
  const { page } = await open();
  try {
    const counts = await page.evaluate(() => {
      const d = DorunKavio.getDoc('ia').doc;
      const out = [];
      window.kvTriggers = 0;
      d.play();
      d.advance(499);
      out.push(window.kvTriggers);
      d.advance(1); // reaches 500
      out.push(window.kvTriggers);
      d.advance(100);
      out.push(window.kvTriggers);
      d.seek(0);
      d.advance(900); // one frame over it
      out.push(window.kvTriggers);
      d.play(1, true);
      d.advance(800); // back past it
      out.push(window.kvTriggers);
      d.pause();
      return out;
    });
    assert.deepEqual(counts, [0, 1, 1, 2, 3]);
  } finally {
    await page.close();
  }
});

test('scene jumps: next with the scene transition, relative targets and a transition of their own or none', async () => {
  const { page, errors } = await open();
  try {
    await log(page);
    await page.click('[data-kv-name="Next"]');
    const during = await page.evaluate(() => ({
      index: DorunKavio.getDoc('ia').sceneIndex(),
      layers: document.querySelectorAll('#ia .kv-scene-layer').length,
      playing: DorunKavio.getDoc('ia').isPlaying(),
    }));
    assert.deepEqual(during, { index: 1, layers: 2, playing: true });
    // The fade of the second scene runs on the clock and leaves one scene on the stage.
    await page.waitForFunction(() => document.querySelectorAll('#ia .kv-scene-layer').length === 1, null, { timeout: 3000 });
    const entered = await page.evaluate(() => ({
      scene: document.querySelector('#ia .kv-scene').dataset.kvName,
      opacity: document.querySelector('#ia .kv-scene-layer').style.opacity,
    }));
    assert.deepEqual(entered, { scene: 'Second', opacity: '' });
    assert.deepEqual(await log(page), ['doc 51', 'doc 50']);

    // The last scene with a push of its own; its handlers and the document's both hear it enter.
    await page.click('[data-kv-name="Last"]');
    const pushed = await page.evaluate(() => {
      const d = DorunKavio.getDoc('ia').doc;
      return { index: d.index, type: d.transition && d.transition.type, duration: d.transition && d.transition.duration };
    });
    assert.deepEqual(pushed, { index: 2, type: 2, duration: 300 });
    assert.deepEqual(await log(page), ['doc 51', 'doc 50', 'doc 50']);
    await page.waitForFunction(() => document.querySelectorAll('#ia .kv-scene-layer').length === 1, null, { timeout: 3000 });

    // Back to the first scene, which enters without a transition.
    await page.click('[data-kv-name="First"]');
    const first = await page.evaluate(() => ({
      index: DorunKavio.getDoc('ia').sceneIndex(),
      layers: document.querySelectorAll('#ia .kv-scene-layer').length,
    }));
    assert.deepEqual(first, { index: 0, layers: 1 });

    // From the second scene the previous one, with the transition type 0 of the action: none.
    await page.evaluate(() => {
      DorunKavio.getDoc('ia').pause();
      DorunKavio.getDoc('ia').gotoScene(1);
    });
    await page.click('[data-kv-name="Back"]');
    const back = await page.evaluate(() => ({
      index: DorunKavio.getDoc('ia').sceneIndex(),
      layers: document.querySelectorAll('#ia .kv-scene-layer').length,
    }));
    assert.deepEqual(back, { index: 0, layers: 1 });
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('pointer, key and swipe events reach elements, the scene and the document', async () => {
  const { page, errors } = await open();
  try {
    await log(page);
    // Over the text element: its text changes (as plain text), entering and leaving toggle the target.
    await page.hover('[data-kv-name="Changer"]');
    const over = await page.evaluate(() => document.querySelector('[data-kv-name="Changer"] .kv-text').textContent);
    assert.equal(over, '<b>new</b>');
    assert.equal(await display(page, 'Target'), 'none');
    await page.mouse.move(300, 150);
    assert.equal(await display(page, 'Target'), 'block');

    // A key goes to the document and to the scene, whose handler seeks its main timeline.
    await page.keyboard.press('a');
    assert.deepEqual(await log(page), ['doc 53 a', 'timeline 156 250', 'doc 54 a']);
    assert.equal(await page.evaluate(() => DorunKavio.getDoc('ia').time()), 250);

    // Swipes across the scene, left and right; a short move is none.
    const swipe = async (x0, x1, y1 = 150) => {
      await page.mouse.move(x0, 150);
      await page.mouse.down();
      await page.mouse.move(x1, y1, { steps: 4 });
      await page.mouse.up();
    };
    await swipe(300, 200);
    await swipe(200, 320);
    await swipe(200, 210);
    await swipe(200, 260, 250);
    assert.deepEqual(await log(page), ['doc 110', 'doc 111']);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('symbol actions: a nested symbol played, paused and sought, and handlers inside it', async () => {
  const { page, errors } = await open();
  try {
    const r = await page.evaluate(() => {
      const c = DorunKavio.getDoc('ia');
      const d = c.doc;
      const dot = () => {
        const s = document.querySelector('[data-kv-name="Sym"]').getBoundingClientRect();
        const m = document.querySelector('[data-kv-name="Sym"] [data-kv-name="Dot"]').getBoundingClientRect();
        return Math.round(m.left - s.left);
      };
      const out = { start: dot() };
      window.kvLog = [];
      d.run([[22, 9, 'end', 1, true]], d.view, {}); // from the label at its end, backwards
      d.advance(300);
      out.back = dot();
      d.advance(150); // passes the symbol's trigger at 600
      out.trigger = window.kvLog.splice(0);
      d.run([[24, 9, 500]], d.view, {});
      d.advance(100);
      out.pausedAt = dot();
      d.run([[26, 9, 'end']], d.view, {});
      out.sought = dot();
      d.run([[20, 9, 2, false]], d.view, {});
      d.advance(250);
      out.started = dot();
      out.main = c.isPlaying();
      return out;
    });
    assert.deepEqual(r, { start: 0, back: 56, trigger: ['symbol trigger 600'], pausedAt: 40, sought: 80, started: 40, main: false });
    // A click inside the symbol: its element 1 is the symbol's dot (not the scene's element 1), and
    // "current symbol" is the instance, which pauses.
    await page.click('[data-kv-name="Sym"] [data-kv-name="Dot"]');
    const inside = await page.evaluate(() => {
      const d = DorunKavio.getDoc('ia').doc;
      const node = d.view.nodes.get(9);
      return { dot: getComputedStyle(document.querySelector('[data-kv-name="Dot"]')).display, symbolPlaying: node.head.playing };
    });
    assert.deepEqual(inside, { dot: 'none', symbolPlaying: false });
    assert.equal(await display(page, 'Hider'), 'block');
    // "Parent Symbol" from inside a symbol placed in the scene is the document: it plays.
    await page.click('[data-kv-name="Up"]');
    assert.equal(await page.evaluate(() => DorunKavio.getDoc('ia').isPlaying()), true);
    // The symbol's own handlers hear the pointer on its stage.
    await log(page);
    await page.dblclick('[data-kv-name="Sym"]', { position: { x: 30, y: 30 } });
    assert.ok((await log(page)).includes('doc 101'));
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('media actions: volume, mute, seeking and a negative speed played backwards by the clock', async () => {
  const { page, errors } = await open();
  try {
    const r = await page.evaluate(async () => {
      const d = DorunKavio.getDoc('ia').doc;
      const audio = document.querySelector('[data-kv-name="Sound"] audio');
      await new Promise((resolve) => (audio.readyState >= 1 ? resolve() : audio.addEventListener('loadedmetadata', resolve)));
      const out = {};
      d.run([[46, 11, 50], [45, 11]], d.view, {});
      out.volume = [audio.volume, audio.muted];
      d.run([[47, 11]], d.view, {});
      out.unmuted = audio.muted;
      d.run([[44, 11, 1500]], d.view, {});
      out.pausedAt = [audio.paused, audio.currentTime];
      d.run([[41, 11, -1]], d.view, {});
      d.advance(500);
      out.backwards = [audio.paused, Math.round(audio.currentTime * 1000)];
      d.run([[49, 11]], d.view, {}); // toggles it off
      d.advance(500);
      out.toggled = Math.round(audio.currentTime * 1000);
      d.run([[42, 11, 200, 1]], d.view, {});
      out.forward = audio.paused;
      d.run([[43, 11], [48]], d.view, {});
      out.end = [audio.paused, audio.muted];
      return out;
    });
    assert.deepEqual(r, {
      volume: [0.5, true],
      unmuted: false,
      pausedAt: [true, 1.5],
      backwards: [true, 1000],
      toggled: 1000,
      forward: false,
      end: [true, true],
    });
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('a preloader document hears the loading start, each file, the progress and the end', async () => {
  const { page, errors } = await open();
  try {
    const seen = await page.evaluate(async () => {
      window.kvLog = [];
      const pre = {
        w: 100,
        h: 50,
        scenes: [{ id: 1, n: 'Loading', k: 8, rp: [[0, 0, { r: [0, 0, 100, 50, 0] }]], timelines: [{ id: 1, dur: 1000 }] }],
        pe: [1, 2, 3, 4, 5].map((code) => [code, [103, 1]]),
        f: [[1, 'loading', (doc, e) => window.kvLog.push(`${e.type} ${e.value === undefined ? '' : e.value}`.trim())]],
      };
      await DorunKavio.openDoc('interact.js', 'pl', { paused: true, preloaderDoc: pre }).ready;
      return window.kvLog.splice(0);
    });
    assert.deepEqual(seen, ['1', '4 interact.js', '5 interact.js', '2 1', '3', 'doc 20', 'doc 50', 'doc 21']);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

// A small document handed to the player as a data: URL.
const inlineDoc = (data) => `data:text/javascript,${encodeURIComponent(`DorunKavio.loadedDocs.push(${JSON.stringify(data)})`)}`;
const rect = (x, y, w, h) => [[0, 0, { r: [x, y, w, h, 0] }]];

test('a symbol on its playback entries fires its triggers as its position passes them', async () => {
  const { page, errors } = await open();
  try {
    const symbol = {
      scenes: [{ id: 1, n: 'S', k: 8, rp: rect(0, 0, 100, 50), timelines: [{ id: 1, dur: 1000, t: [[300, [[71, 9]]], [600, [[70, 9]]]] }],
        elems: [{ id: 9, n: 'Flag', k: 5, rp: [[0, 0, { r: [0, 0, 10, 10, 0], d: 0 }]] }] }],
      dur: 1000,
    };
    const data = {
      w: 200,
      h: 100,
      scenes: [{ id: 1, n: 'Main', k: 8, rp: rect(0, 0, 200, 100), aa: false,
        elems: [{ id: 1, n: 'Inst', k: 7, rs: 4, rp: rect(0, 0, 100, 50) }],
        timelines: [{ id: 1, dur: 2000, ra: [[0, 0, [{ el: 1, p: 'pb', t: 100, d: 1000, a: [1, 0, 1] }, { el: 1, p: 'pb', t: 1100, d: 1000, a: [1, 1000, -1] }]]] }] }],
      resources: [[4, 3, 'flagged', symbol]],
    };
    const shown = await page.evaluate(async (url) => {
      const c = await DorunKavio.openDoc(url, 'sy', { paused: true }).ready;
      const d = c.doc;
      const flag = () => getComputedStyle(document.querySelector('#sy [data-kv-name="Flag"]')).display;
      const out = [];
      d.playing = true;
      for (const step of [300, 200, 300, 500, 300, 300]) {
        d.advance(step);
        out.push(`${d.now}:${flag()}`);
      }
      d.playing = false;
      return out;
    }, inlineDoc(data));
    // Forward from 100: shown once past 300 (at 400), hidden past 600 (at 700); backwards from
    // 1100 each trigger runs again as the position passes it: hidden past 600, shown past 300.
    assert.deepEqual(shown, ['300:none', '500:block', '800:none', '1300:none', '1600:none', '1900:block']);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('media playback entries at a negative speed move the paused media backwards', async () => {
  const { page, errors } = await open();
  try {
    const data = {
      w: 200,
      h: 100,
      resourceFolder: 'media_res',
      scenes: [{ id: 1, n: 'Main', k: 8, rp: rect(0, 0, 200, 100), aa: false,
        elems: [{ id: 1, n: 'Back', k: 1, rs: 9, rp: rect(0, 0, 200, 40) }],
        timelines: [{ id: 1, dur: 3000, ra: [[0, 0, [{ el: 1, p: 'pb', t: 0, d: 2000, a: [1, 2000, -1] }]]] }] }],
      resources: [[9, 1, 'quiet', ['quiet.wav']]],
    };
    const states = await page.evaluate(async (url) => {
      const c = await DorunKavio.openDoc(url, 'mb', { paused: true }).ready;
      const audio = document.querySelector('#mb audio');
      await new Promise((resolve) => (audio.readyState >= 1 ? resolve() : audio.addEventListener('loadedmetadata', resolve)));
      const d = c.doc;
      const out = [];
      d.playing = true;
      for (const step of [0, 500, 700]) {
        d.advance(step);
        out.push([audio.paused, Math.round(audio.currentTime * 1000)]);
      }
      d.playing = false;
      return out;
    }, inlineDoc(data));
    assert.deepEqual(states, [[true, 2000], [true, 1500], [true, 800]]);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('a timeline that an action plays goes on where it was when a resize switches the layout', async () => {
  const { page, errors } = await open();
  try {
    const data = {
      w: 200,
      h: 100,
      b: { h: [[1, 300]], v: [] },
      scenes: [{ id: 1, n: 'Main', k: 8, rp: rect(0, 0, '100%', 100), aa: false,
        elems: [{ id: 1, n: 'Box', k: 5, rp: rect(0, 0, 10, 10) }],
        timelines: [{ id: 1, dur: 1000 }, { id: 2, n: 'Slide', dur: 1000, ra: [
          [0, 0, [{ el: 1, p: 'lt', t: 0, d: 1000, s: '0px', e: '100px', es: 0 }]],
          [1, 0, [{ el: 1, p: 'lt', t: 0, d: 1000, s: '0px', e: '200px', es: 0 }]]] }] }],
    };
    const xs = await page.evaluate(async (url) => {
      const holder = document.createElement('div');
      holder.id = 'rz';
      holder.style.cssText = 'width:200px;height:100px';
      document.body.appendChild(holder);
      const c = await DorunKavio.openDoc(url, 'rz', { paused: true }).ready;
      const d = c.doc;
      const x = () => {
        const s = holder.querySelector('.kv-scene').getBoundingClientRect();
        return holder.querySelector('[data-kv-name="Box"]').getBoundingClientRect().left - s.left;
      };
      const out = [];
      d.run([[1, 2, 1, false]], d.view, {});
      d.advance(500);
      out.push(x());
      holder.style.width = '400px';
      d.fit();
      out.push(x(), d.layout[0]);
      d.advance(250);
      out.push(x());
      holder.style.width = '200px';
      d.fit();
      out.push(x(), d.layout[0]);
      c.close();
      return out;
    }, inlineDoc(data));
    assert.deepEqual(xs, [50, 100, 1, 150, 75, 0]);
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});

test('Go To URL opens a new window or goes there in this one', async () => {
  const { page, errors } = await open();
  try {
    const popup = page.waitForEvent('popup');
    await page.evaluate(() => {
      const d = DorunKavio.getDoc('ia').doc;
      d.run([[101, 'about:blank#other', true]], d.view, {});
    });
    assert.equal((await popup).url(), 'about:blank#other');
    await page.evaluate(() => {
      const d = DorunKavio.getDoc('ia').doc;
      d.run([[101, '#here', false]], d.view, {});
    });
    assert.ok(page.url().endsWith('interact.html#here'), page.url());
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
  }
});
