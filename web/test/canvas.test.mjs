// The canvas page in a real headless Chromium, against a recording canvas object (fixtures/
// canvas.html): the page finds its object, asks for the scene (the example banner as
// kavio-canvasdump writes it) and draws it; the mouse selects, moves, resizes, rotates, draws and
// zooms, and each finished gesture must reach the editor as one request with the right numbers; the
// editor's messages must change what the page shows.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { build } from 'esbuild';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const pageUrl = 'file://' + path.join(here, 'fixtures', 'canvas.html') + '?resourceBase=' + encodeURIComponent('file://' + path.join(root, 'examples', 'banner', 'banner_res') + '/');
const fixturePath = path.join(here, 'fixtures', 'canvas-banner.json');
const canvasdump = process.env.KAVIO_CANVASDUMP || path.join(root, 'build', 'bin', 'kavio-canvasdump');
const genprojects = process.env.KAVIO_GENPROJECTS || path.join(root, 'build', 'bin', 'kavio-genprojects');
const toolsMissing = !existsSync(canvasdump) ? `${canvasdump} is not built` : !existsSync(genprojects) ? `${genprojects} is not built` : false;

let browser;
let script;

before(async () => {
  const out = await build({
    entryPoints: [path.join(here, '..', 'canvas', 'main.js')],
    bundle: true,
    minify: true,
    format: 'iife',
    target: 'es2018',
    write: false,
    logLevel: 'warning',
  });
  script = out.outputFiles[0].text;
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
  });
});

after(async () => {
  if (browser) await browser.close();
});

// Opens the page with the banner scene; the canvas id arrives after the script has run, as when the
// editor sets it at the end of loading. Snapping is off unless asked for.
// change(data) may alter the scene object before the page gets it; text replaces the fixture.
async function open({ snap = false, change = null, text = null } = {}) {
  const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(pageUrl);
  const data = JSON.parse(text || readFileSync(fixturePath, 'utf8'));
  if (change) change(data);
  await page.evaluate((s) => (window.kvScene = s), JSON.stringify(data));
  await page.addScriptTag({ content: script });
  await page.waitForTimeout(30);
  await page.evaluate(() => (window.canvasId = 1));
  await page.waitForFunction(() => window.kvCanvasPage && window.kvCanvasPage.hasScene());
  await emit(page, 'snapEnabledChanged', snap);
  await calls(page);
  return { page, errors };
}

const emit = (page, signal, ...args) => page.evaluate(([s, a]) => window.kvHost[s].emit(...a), [signal, args]);
// The recorded slot calls since the last look, requests parsed.
const calls = (page) =>
  page.evaluate(() =>
    window.kvCalls.splice(0).map((c) => (c.name === 'submitCommandFromJS' ? { name: c.name, request: JSON.parse(c.args[0]), runOnly: c.args[1] } : c)),
  );
const requests = (list) => list.filter((c) => c.name === 'submitCommandFromJS');
const edits = (list) => requests(list).filter((c) => c.runOnly === false);
const positions = (page) => page.evaluate(() => window.kvCanvasPage.positions());
// Client pixels of a stage point.
const at = (page, x, y) => page.evaluate(([px, py]) => window.kvCanvasPage.client({ x: px, y: py }), [x, y]);

async function mouseDrag(page, from, to, { shift = false, steps = 6 } = {}) {
  const a = await at(page, ...from);
  const b = await at(page, ...to);
  if (shift) await page.keyboard.down('Shift');
  await page.mouse.move(a.x, a.y);
  await page.mouse.down();
  await page.mouse.move(b.x, b.y, { steps });
  await page.mouse.up();
  if (shift) await page.keyboard.up('Shift');
}

async function click(page, x, y, { shift = false } = {}) {
  const a = await at(page, x, y);
  if (shift) await page.keyboard.down('Shift');
  await page.mouse.click(a.x, a.y);
  if (shift) await page.keyboard.up('Shift');
}

// Values of a geometry action by property code.
function geometry(action) {
  assert.equal(action.cmd, 1000);
  const p = action.params;
  assert.equal(p.length, p[4].value.length + 5, 'one value per code after five parameters');
  return { id: p[0].value, layout: [p[1].value, p[2].value], values: Object.fromEntries(p[4].value.map((c, i) => [c, p[5 + i].value])) };
}

test('the fixture is what kavio-canvasdump writes for the example banner', { skip: existsSync(canvasdump) ? false : `${canvasdump} is not built` }, () => {
  const now = execFileSync(canvasdump, [path.join(root, 'examples', 'banner', 'banner.kavio')], { encoding: 'utf8' });
  assert.equal(now.trim(), readFileSync(fixturePath, 'utf8').trim(), 'the fixture is out of date: build/bin/kavio-canvasdump examples/banner/banner.kavio > web/test/fixtures/canvas-banner.json');
});

test('kavio-canvasdump refuses a scene the project lacks and a file that is not there, saying why', { skip: existsSync(canvasdump) ? false : `${canvasdump} is not built` }, () => {
  const fail = (args) => {
    try {
      execFileSync(canvasdump, args, { encoding: 'utf8', stdio: 'pipe' });
    } catch (e) {
      return [e.status, e.stderr];
    }
    return [0, ''];
  };
  const banner = path.join(root, 'examples', 'banner', 'banner.kavio');
  const [code, err] = fail([banner, '5']);
  assert.equal(code, 1);
  assert.match(err, /the project has 2 scenes; there is no scene 5/);
  assert.equal(fail([banner, 'x'])[0], 2);
  assert.equal(fail([])[0], 2);
  const [missingCode, missing] = fail([path.join(root, 'no-such-project.kavio')]);
  assert.equal(missingCode, 1);
  assert.match(missing, /no-such-project\.kavio/);
  // The second scene is there.
  const second = JSON.parse(execFileSync(canvasdump, [banner, '1'], { encoding: 'utf8' }));
  assert.notEqual(second.scene.id, JSON.parse(readFileSync(fixturePath, 'utf8')).scene.id);
});

test('the page opens the channel, asks for the scene once and draws one node per element at its place', async () => {
  const { page, errors } = await open();
  const ids = await page.evaluate(() => window.kvCanvasPage.ids());
  assert.deepEqual(ids, [1, 2, 3, 4, 5, 6]);
  const pos = await positions(page);
  // At time 0: the button where the model has it, the headline at the start of its slide, the sun
  // moved by its translation and motion path start (0, 160).
  assert.deepEqual([pos[6].left, pos[6].top, pos[6].w, pos[6].h], [90, 196, 120, 36]);
  assert.deepEqual([pos[6].x, pos[6].y], [90, 196]);
  assert.deepEqual([pos[4].x, pos[4].y], [-260, 70]);
  assert.deepEqual([pos[3].x, pos[3].y], [230, 180]);
  // The node is drawn there on screen too: the stage's corner plus its box.
  const box = await page.evaluate(() => {
    const r = document.querySelector('[data-kv-id="6"]').getBoundingClientRect();
    const s = document.getElementById('kv-stage').getBoundingClientRect();
    return [r.left - s.left, r.top - s.top, r.width, r.height];
  });
  assert.deepEqual(box, [90, 196, 120, 36]);
  assert.deepEqual(errors, []);
  await page.close();
});

// Markup of a received project that would run script if it reached the stage as written: each
// payload sets window.kvRan. [row, element id, its text or widget, markup the stage keeps]
const hostile = [
  ['text: a picture that fails to load', 4, '<b>Sale</b><img src="x" onerror="window.kvRan=\'img\'">', '<b>Sale</b>'],
  ['text: a script element', 4, 'Spring<script>window.kvRan="script"</script>', 'Spring'],
  ['text: svg that loads', 4, '<svg onload="window.kvRan=\'svg\'"></svg><i>Hi</i>', '<i>Hi</i>'],
  ['text: details that open', 4, '<details open ontoggle="window.kvRan=\'toggle\'">d</details>', 'd'],
  ['text: a field that takes the focus', 4, '<input autofocus onfocus="window.kvRan=\'focus\'">', ''],
  ['text: a frame of its own', 4, '<iframe srcdoc="&lt;script&gt;parent.kvRan=1&lt;/script&gt;"></iframe>x', 'x'],
  ['text: a javascript link', 4, '<a href="javascript:window.kvRan=\'link\'">go</a>', 'go'],
  ['text: a form that submits itself', 4, '<form action="javascript:window.kvRan=1"><button>b</button></form>', ''],
  ['shape: handlers on its text', 6, '<span onmouseover="window.kvRan=\'over\'" onclick="window.kvRan=\'click\'">See more</span>', 'See more'],
  ['widget: a page with a script', 2, { srcdoc: '<script>parent.kvRan="widget"; top.kvRan="widget"</script>w' }, null],
  ['widget: a javascript address', 2, { url: 'javascript:parent.kvRan="url"' }, null],
];

test('project markup shows on the stage without running: text, shapes, widgets, handlers', async () => {
  for (const [row, id, payload, kept] of hostile) {
    const { page } = await open({
      change: (data) => {
        const el = data.scene.elems.find((e) => e.id === id);
        // handlers of the element itself are never bound on the stage either
        el.e = [[100, [103, 1]], [102, [103, 1]]];
        if (typeof payload === 'string') el.txt[0] = payload;
        else Object.assign(el, { k: 3, useresource: false }, payload);
      },
    });
    const box = await page.evaluate((n) => window.kvCanvasPage.position(n), id);
    await page.mouse.move(0, 0);
    await click(page, box.x + box.w / 2, box.y + box.h / 2);
    await page.waitForTimeout(100);
    const seen = await page.evaluate((n) => {
      const el = document.querySelector(`[data-kv-id="${n}"]`);
      const text = el.querySelector('.kv-text');
      const frame = el.querySelector('iframe.kv-widget');
      return { ran: window.kvRan ?? null, html: text ? text.innerHTML : null, sandbox: frame ? frame.getAttribute('sandbox') : null };
    }, id);
    assert.equal(seen.ran, null, `${row}: the payload ran`);
    if (kept === null) {
      assert.equal(seen.sandbox, '', `${row}: the widget is framed without any sandbox token`);
    } else {
      assert.doesNotMatch(seen.html, /\son\w+=|javascript:|<script|<iframe|<form/i, row);
      assert.ok(seen.html.replace(/<[^>]+>/g, '').includes(kept.replace(/<[^>]+>/g, '')), `${row}: ${seen.html}`);
      if (kept.startsWith('<')) assert.ok(seen.html.includes(kept), `${row}: the markup stays: ${seen.html}`);
    }
    await page.close();
  }
});

test('a click selects the element under it alone and tells the editor which one has the focus', async () => {
  const { page } = await open();
  await click(page, 150, 214);
  let list = await calls(page);
  assert.deepEqual(list.filter((c) => c.name === 'setFocusedItemId').map((c) => c.args), [[6]]);
  const sel = requests(list);
  assert.equal(sel.length, 1);
  assert.equal(sel[0].runOnly, true, 'selecting makes no undo step');
  assert.deepEqual(sel[0].request.actions.map((a) => [a.cmd, a.params[0].value, a.params[1].value]), [[33, 6, true]]);
  assert.equal(sel[0].request.sceneId, 1);
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [6]);
  assert.equal(await page.locator('[data-kv-frame="6"]').count(), 1);
  // Shift-click adds the card; a click on the card alone then selects only it.
  await click(page, 150, 130, { shift: true });
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [5, 6]);
  await click(page, 150, 130);
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [5]);
  list = requests(await calls(page));
  assert.deepEqual(list.map((c) => c.request.actions.map((a) => [a.params[0].value, a.params[1].value])), [[[5, true]], [[6, false]]]);
  // A click on the stage outside every element... the panel covers the stage; outside it nothing
  // is hit and the selection is cleared.
  await click(page, 400, 300);
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), []);
  await page.close();
});

test('dragging an element sends one geometry request with its new pixel position and moves it', async () => {
  const { page } = await open();
  await mouseDrag(page, [150, 214], [180, 234]);
  const list = await calls(page);
  const e = edits(list);
  assert.equal(e.length, 1, 'one request for the whole drag');
  assert.equal(e[0].request.text, 'Change Geometry');
  assert.equal(e[0].request.actions.length, 1);
  assert.deepEqual(geometry(e[0].request.actions[0]), { id: 6, layout: [0, 0], values: { 0: 120, 2: 216 } });
  const pos = await positions(page);
  assert.deepEqual([pos[6].left, pos[6].top], [120, 216]);
  // A selected element inside another selected one moves with its parent only.
  await emit(page, 'dataChangedToJS', JSON.stringify({ cmd: 1, isUndoCmd: false, params: [{ type: 11, value: { id: 10, k: 5, n: 'in', r: [5, 5, 10, 10, 0] } }, { type: 1, value: 0 }, { type: 1, value: 6 }, { type: 1, value: 9 }] }));
  await emit(page, 'dataChangedToJS', JSON.stringify({ cmd: 33, isUndoCmd: false, params: [{ type: 1, value: 10 }, { type: 4, value: true }] }));
  await emit(page, 'dataChangedToJS', '{"cmd":41,"isUndoCmd":false,"params":[]}');
  await mouseDrag(page, [150, 234], [150, 244]);
  const nested = edits(await calls(page));
  assert.deepEqual(nested[0].request.actions.map((a) => geometry(a).id), [6]);
  assert.deepEqual((await positions(page))[10].y, 216 + 10 + 5);
  await emit(page, 'dataChangedToJS', JSON.stringify({ cmd: 2, isUndoCmd: false, params: [{ type: 1, value: 10 }, { type: 1, value: 0 }, { type: 1, value: 6 }, { type: 1, value: 9 }] }));
  await emit(page, 'dataChangedToJS', '{"cmd":41,"isUndoCmd":false,"params":[]}');
  await mouseDrag(page, [150, 244], [150, 234]);
  await calls(page);
  // Every selected element moves with the one dragged, in the same request.
  await click(page, 150, 130, { shift: true });
  await calls(page);
  await mouseDrag(page, [150, 130], [140, 130]);
  const both = edits(await calls(page));
  assert.equal(both.length, 1);
  assert.deepEqual(both[0].request.actions.map((a) => geometry(a)).map((g) => [g.id, g.values[0], g.values[2]]), [[5, 10, 120], [6, 110, 216]]);
  await page.close();
});

test('with automatic keyframes the page asks for the scene again after a geometry edit', async () => {
  const { page } = await open();
  await emit(page, 'autoKeyframeModeChanged', true);
  await page.evaluate(() => window.kvCanvasPage.moveBy(6, 10, 0));
  const names = (await calls(page)).map((c) => (c.name === 'submitCommandFromJS' ? `submit(${c.runOnly})` : c.name));
  assert.deepEqual(names, ['setFocusedItemId', 'submit(true)', 'submit(false)', 'sendSceneDataToJS']);
  // Without them it does not.
  await emit(page, 'autoKeyframeModeChanged', false);
  await page.evaluate(() => window.kvCanvasPage.moveBy(6, 10, 0));
  assert.ok(!(await calls(page)).some((c) => c.name === 'sendSceneDataToJS'));
  await page.close();
});

test('dragging near the stage edge snaps the element to it when snapping is on', async () => {
  const { page } = await open({ snap: true });
  // The button's right edge would land at 297, 3 px from the stage's right edge; nothing else lies
  // that close to its left edge or centre.
  await mouseDrag(page, [150, 214], [237, 214]);
  const e = edits(await calls(page));
  assert.equal(e.length, 1);
  assert.equal(geometry(e[0].request.actions[0]).values[0], 180);
  // With snapping off the same drag keeps the pixel it reached.
  await emit(page, 'snapEnabledChanged', false);
  await mouseDrag(page, [240, 214], [237, 214]);
  const off = edits(await calls(page));
  assert.equal(geometry(off[0].request.actions[0]).values[0], 177);
  await page.close();
});

test('the resize handles change the size and keep the opposite corner; shift keeps the ratio', async () => {
  const { page } = await open();
  await click(page, 150, 214);
  await calls(page);
  // The bottom-right handle is at (210, 232).
  await mouseDrag(page, [210, 232], [230, 242]);
  let e = edits(await calls(page));
  assert.equal(e.length, 1);
  assert.deepEqual(geometry(e[0].request.actions[0]).values, { 0: 90, 2: 196, 4: 140, 5: 46 });
  // The top-left handle moves the position and shrinks the size.
  await mouseDrag(page, [90, 196], [100, 206]);
  e = edits(await calls(page));
  assert.deepEqual(geometry(e[0].request.actions[0]).values, { 0: 100, 2: 206, 4: 130, 5: 36 });
  const pos = await positions(page);
  assert.deepEqual([pos[6].x, pos[6].y, pos[6].w, pos[6].h], [100, 206, 130, 36]);
  await page.close();
});

test('the rotation handle turns the element about its centre', async () => {
  const { page } = await open();
  // The panel (0, 0, 300 x 250) has no animated turn that would hide the new one.
  await click(page, 5, 5);
  await calls(page);
  // The rotation handle sits 24 px above the top edge's middle; turning it to the right of the
  // centre (150, 125) is a quarter turn.
  await mouseDrag(page, [150, -24], [250, 125], { steps: 10 });
  const e = edits(await calls(page));
  assert.equal(e.length, 1);
  const g = geometry(e[0].request.actions[0]);
  assert.equal(g.id, 1);
  assert.deepEqual(Object.keys(g.values), ['11']);
  assert.ok(Math.abs(g.values[11] - 90) < 0.5, `turned ${g.values[11]}`);
  const pos = await positions(page);
  assert.ok(Math.abs(pos[1].rot - 90) < 0.5);
  await page.close();
});

test('the marquee selects what it touches; with shift it adds to the selection', async () => {
  const { page } = await open();
  // Above the stage only the logo (16, -30, 48 x 24) lies.
  await mouseDrag(page, [-20, -40], [100, -10]);
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [2]);
  const sel = requests(await calls(page));
  assert.deepEqual(sel.map((c) => [c.runOnly, c.request.actions.map((a) => [a.cmd, a.params[0].value, a.params[1].value])]), [[true, [[33, 2, true]]]]);
  // Left of the stage only the headline (-260, 70, 260 x 40).
  await mouseDrag(page, [-100, 60], [-50, 80], { shift: true });
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [2, 4]);
  await page.close();
});

test('drawing a rectangle sends one insert request and shows the new element selected', async () => {
  const { page } = await open();
  await emit(page, 'insertRectangle');
  await mouseDrag(page, [10, 10], [60, 40]);
  const list = await calls(page);
  const e = edits(list);
  assert.equal(e.length, 1);
  assert.equal(e[0].request.text, 'Insert Rectangle');
  assert.equal(e[0].request.actions.length, 1);
  const a = e[0].request.actions[0];
  assert.equal(a.cmd, 1);
  assert.equal(a.params[0].type, 11);
  assert.deepEqual(a.params[0].value, { id: 7, shapeType: 5, l: 10, t: 10, w: 50, h: 30, path: 'rect' });
  assert.deepEqual(list.filter((c) => c.name === 'setFocusedItemId').map((c) => c.args), [[7]]);
  const pos = await positions(page);
  assert.deepEqual([pos[7].x, pos[7].y, pos[7].w, pos[7].h], [10, 10, 50, 30]);
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [7]);
  // The tool is used up: the next drag moves the new rectangle instead of drawing.
  await mouseDrag(page, [20, 20], [30, 20]);
  assert.equal(edits(await calls(page))[0].request.actions[0].cmd, 1000);
  // An ellipse, and a cancelled drawing that sends nothing.
  await emit(page, 'insertEllipse');
  await mouseDrag(page, [100, 20], [140, 50], { shift: true });
  const ell = edits(await calls(page))[0].request.actions[0].params[0].value;
  assert.deepEqual([ell.shapeType, ell.path, ell.w, ell.h], [9, 21, 40, 40]);
  await emit(page, 'insertRoundedRect');
  await emit(page, 'cancelBuildingItem');
  await mouseDrag(page, [250, 20], [260, 30]);
  assert.ok(edits(await calls(page)).every((c) => c.request.actions[0].cmd !== 1));
  await page.close();
});

test('a free-form shape is drawn click by click and ends with a double-click', async () => {
  const { page } = await open();
  await emit(page, 'insertShape', 594);
  for (const [x, y] of [[10, 10], [60, 10], [60, 50]]) await click(page, x, y);
  const last = await at(page, 10, 50);
  await page.mouse.dblclick(last.x, last.y);
  const e = edits(await calls(page));
  assert.equal(e.length, 1);
  const el = e[0].request.actions[0].params[0].value;
  assert.deepEqual([el.shapeType, el.autoshapeType, el.l, el.t, el.w, el.h], [11, 594, 10, 10, 50, 40]);
  assert.deepEqual(el.path.map((pt) => pt.slice(0, 2)), [[0, 0], [50, 0], [50, 40], [0, 40]]);
  // A click that wanders a few pixels still adds its point; a click on the first point closes it.
  await emit(page, 'insertShape', 594);
  await click(page, 100, 100);
  await mouseDrag(page, [150, 100], [155, 104]);
  await click(page, 150, 150);
  await click(page, 101, 101);
  const closed = edits(await calls(page));
  assert.equal(closed.length, 1);
  const shape = closed[0].request.actions[0].params[0].value;
  assert.deepEqual(shape.path.map((pt) => pt.slice(0, 2)), [[0, 0], [55, 4], [50, 50]]);
  await page.close();
});

test('view-update messages insert, remove, move and select elements on the page', async () => {
  const { page } = await open();
  const send = (m) => emit(page, 'dataChangedToJS', JSON.stringify(m));
  const p = (type, value) => ({ type, value });
  await send({ cmd: 1, isUndoCmd: false, params: [p(11, { id: 9, k: 5, n: 'extra', r: [40, 50, 60, 70, 0], f: [1, 0, 0, 0, 255] }), p(1, 6), p(1, 1), p(1, 8)] });
  await send({ cmd: 41, isUndoCmd: false, params: [] });
  let pos = await positions(page);
  assert.deepEqual([pos[9].x, pos[9].y, pos[9].w, pos[9].h], [40, 50, 60, 70]);
  await send({ cmd: 1000, isUndoCmd: false, params: [p(1, 9), p(1, 0), p(1, 0), p(1, 0), p(33, [0, 2]), p(2, 5), p(2, 6)] });
  await send({ cmd: 33, isUndoCmd: false, params: [p(1, 9), p(4, true)] });
  await send({ cmd: 41, isUndoCmd: false, params: [] });
  pos = await positions(page);
  assert.deepEqual([pos[9].x, pos[9].y], [5, 6]);
  assert.equal(await page.locator('[data-kv-frame="9"]').count(), 1);
  // A change of one element draws that element again in its place and leaves the others' nodes.
  await page.evaluate(() => (document.querySelector('[data-kv-id="5"]').kvMark = true));
  await send({ cmd: 1002, isUndoCmd: false, params: [p(1, 9), p(8, [1, 0, 128, 0, 255]), p(1, 5)] });
  await send({ cmd: 41, isUndoCmd: false, params: [] });
  const after = await page.evaluate(() => ({
    kept: document.querySelector('[data-kv-id="5"]').kvMark === true,
    order: Array.from(document.querySelector('[data-kv-scene]').children, (el) => el.dataset.kvId).join(','),
    fill: getComputedStyle(document.querySelector('[data-kv-id="9"]')).backgroundColor,
  }));
  assert.deepEqual(after, { kept: true, order: '1,2,3,4,5,6,9', fill: 'rgb(0, 128, 0)' });
  // An undone insert takes it away again.
  await send({ cmd: 1, isUndoCmd: true, params: [p(1, 9), p(1, 6), p(1, 1), p(1, 8)] });
  await send({ cmd: 41, isUndoCmd: false, params: [] });
  assert.equal(await page.locator('[data-kv-id="9"]').count(), 0);
  // A moved time shows the animated values: the headline has slid to 20 by 900 ms.
  await emit(page, 'setCurrentTime', 900, true);
  pos = await positions(page);
  assert.equal(pos[4].x, 20);
  await page.close();
});

test('a scene that goes away clears the stage; unreadable data is reported and changes nothing', async () => {
  const { page, errors } = await open();
  const logged = [];
  page.on('console', (m) => m.type() === 'error' && logged.push(m.text()));
  await emit(page, 'dataChangedToJS', '{not json');
  assert.equal(await page.locator('#kv-stage [data-kv-id]').count(), 6);
  await emit(page, 'currentSceneChanged', false, '');
  assert.equal(await page.locator('#kv-stage [data-kv-id]').count(), 0);
  assert.equal(await page.evaluate(() => window.kvCanvasPage.hasScene()), false);
  await emit(page, 'currentSceneChanged', true, 'garbage');
  assert.equal(await page.evaluate(() => window.kvCanvasPage.hasScene()), false);
  assert.ok(logged.some((t) => t.includes('view-update message cannot be read')), logged.join('\n'));
  assert.ok(logged.some((t) => t.includes('scene data cannot be read')), logged.join('\n'));
  // Asked again, the editor's scene comes back.
  await page.evaluate(() => window.kvHost.sendSceneDataToJS());
  assert.equal(await page.locator('#kv-stage [data-kv-id]').count(), 6);
  assert.deepEqual(errors, []);
  await page.close();
});

test('zoom follows the editor, and ctrl+wheel zooms about the cursor and reports it', async () => {
  const { page } = await open();
  await emit(page, 'zoomFactorChanged', 2);
  let box = await page.evaluate(() => document.querySelector('[data-kv-id="6"]').getBoundingClientRect().width);
  assert.equal(box, 240);
  assert.deepEqual((await calls(page)).filter((c) => c.name === 'setZoomFactor'), [], 'the page does not echo the zoom');
  await emit(page, 'zoomFactorChanged', 1);
  const c = await at(page, 150, 214);
  await page.mouse.move(c.x, c.y);
  await page.keyboard.down('Control');
  await page.mouse.wheel(0, -100);
  await page.keyboard.up('Control');
  await page.waitForTimeout(50);
  const list = await calls(page);
  const zoom = list.filter((c2) => c2.name === 'setZoomFactor');
  assert.equal(zoom.length, 1);
  assert.ok(Math.abs(zoom[0].args[0] - 1.1) < 1e-9);
  assert.ok(list.some((c2) => c2.name === 'setSceneOffset'));
  // The point under the cursor stays there.
  const after = await at(page, 150, 214);
  assert.ok(Math.abs(after.x - c.x) < 0.01 && Math.abs(after.y - c.y) < 0.01);
  // A plain wheel pans and reports the offset and the scroll.
  await page.mouse.wheel(0, 40);
  await page.waitForTimeout(50);
  const pan = await calls(page);
  const offset = pan.filter((c2) => c2.name === 'setSceneOffset').pop();
  const scroll = pan.filter((c2) => c2.name === 'setScrollValue').pop();
  assert.ok(offset && scroll);
  assert.equal(scroll.args[1], 150 - offset.args[1]);
  box = await page.evaluate(() => document.querySelector('[data-kv-id="6"]').getBoundingClientRect().width);
  assert.ok(Math.abs(box - 132) < 0.01);
  // Fitting the viewport: the 300 x 250 stage fills the 800 x 600 view less a margin, centred,
  // and the editor learns the factor that fits (its zoom box shows it).
  await emit(page, 'fitToViewportChanged', true);
  const fit = await page.evaluate(() => ({ zoom: window.kvCanvasPage.zoom(), r: document.getElementById('kv-stage').getBoundingClientRect().toJSON() }));
  assert.ok(Math.abs(fit.zoom - 560 / 250) < 1e-9);
  assert.ok(Math.abs(fit.r.left + fit.r.width / 2 - 400) < 0.01 && Math.abs(fit.r.top + fit.r.height / 2 - 300) < 0.01);
  assert.deepEqual((await calls(page)).filter((c2) => c2.name === 'setZoomFactor').map((c2) => c2.args[0]), [560 / 250]);
  await page.close();
});

test('the editor\'s requests: finish pending work, context menu, text editing', async () => {
  const { page } = await open();
  await emit(page, 'finishAllTask');
  assert.deepEqual((await calls(page)).map((c) => c.name), ['onAllTaskFinished']);
  const c = await at(page, 150, 214);
  await page.mouse.click(c.x, c.y, { button: 'right' });
  let list = await calls(page);
  assert.ok(list.some((x) => x.name === 'onShowContextMenu'));
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [6], 'the element under a right click is selected');
  // Editing the button's text: entering, typing, leaving.
  await emit(page, 'startEditText', 6);
  list = await calls(page);
  const entering = list.find((x) => x.name === 'setEditingText');
  assert.equal(entering.args[0], true);
  assert.equal(await page.evaluate(() => document.querySelector('[data-kv-id="6"] .kv-text').isContentEditable), true);
  await page.keyboard.type('Buy now');
  await emit(page, 'stopEditText');
  list = await calls(page);
  assert.deepEqual(list.filter((x) => x.name === 'editTextInnerHTML').map((x) => x.args[0]), ['Buy now']);
  assert.deepEqual(list.filter((x) => x.name === 'setEditingText').map((x) => x.args), [[false]]);
  assert.equal(await page.evaluate(() => document.querySelector('[data-kv-id="6"] .kv-text').isContentEditable), false);
  // The overload without arguments ends editing as well.
  await emit(page, 'startEditText', 6);
  await page.evaluate(() => window.kvHost['stopEditText()'].emit());
  assert.equal(await page.evaluate(() => document.querySelector('[data-kv-id="6"] .kv-text').isContentEditable), false);
  await page.close();
});

test('the test hook plays a move with the page\'s own pointer handling', async () => {
  const { page } = await open();
  await page.evaluate(() => window.kvCanvasPage.moveBy(6, -40, 4));
  const e = edits(await calls(page));
  assert.equal(e.length, 1);
  assert.deepEqual(geometry(e[0].request.actions[0]).values, { 0: 50, 2: 200 });
  await page.close();
});

test('play, pause and a moved time draw the scene with the timeline; a press while playing pauses', async () => {
  const { page } = await open();
  await emit(page, 'play', 0);
  await page.waitForFunction(() => window.kvCanvasPage.time() > 200);
  const moving = (await positions(page))[4].x;
  assert.ok(moving > -260 && moving <= 20, `the headline slides in (${moving})`);
  assert.equal(await page.locator('.kv-frame, .kv-handle').count(), 0, 'no frames while playing');
  await click(page, 150, 214);
  const list = await calls(page);
  assert.deepEqual(list.map((c) => c.name), ['pauseTimeline'], 'a press only asks to pause');
  await emit(page, 'pause', 450);
  const t = await page.evaluate(() => window.kvCanvasPage.time());
  assert.equal(t, 450);
  const x = (await positions(page))[4].x;
  await page.waitForTimeout(100);
  assert.equal((await positions(page))[4].x, x, 'paused, nothing moves');
  await emit(page, 'setCurrentTime', 0, false);
  assert.equal((await positions(page))[4].x, -260);
  await page.close();
});

test('locked elements are not picked; arrow keys nudge the selection by one pixel, ten with shift', async () => {
  const { page } = await open({
    change: (d) => {
      d.scene.elems.find((e) => e.id === 6).locked = true;
    },
  });
  // The button is locked: a click on it picks the panel beneath.
  await click(page, 150, 214);
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [1]);
  await click(page, 150, 130);
  await calls(page);
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Shift+ArrowUp');
  const e = edits(await calls(page));
  assert.equal(e.length, 2, 'one request per key');
  assert.deepEqual(e.map((x) => geometry(x.request.actions[0]).values), [{ 0: 21, 2: 120 }, { 0: 21, 2: 110 }]);
  await page.close();
});

test('requests carry the layout the container size falls in when the scene has breakpoints', async () => {
  const { page } = await open({
    change: (d) => {
      d.breakpoints = { h: [[3, 200], [5, 400]], v: [] };
      d.containerW = 250;
    },
  });
  await page.evaluate(() => window.kvCanvasPage.moveBy(6, 10, 0));
  const e = edits(await calls(page));
  assert.deepEqual([e[0].request.responsive, e[0].request.hLayoutId, e[0].request.vLayoutId], [true, 3, 0]);
  assert.deepEqual(geometry(e[0].request.actions[0]).layout, [3, 0]);
  await page.close();
});

test('point editing drags an anchor of a free-form shape and sends its new outline', async () => {
  const { page } = await open();
  const send = (m) => emit(page, 'dataChangedToJS', JSON.stringify(m));
  const pts = [[0, 0, 0, 0, 0, 0], [40, 0, 40, 0, 40, 0], [40, 30, 40, 30, 40, 30]];
  await send({ cmd: 1, isUndoCmd: false, params: [{ type: 11, value: { id: 8, k: 11, n: 'path', r: [20, 20, 40, 30, 0], s: [594, pts] } }, { type: 1, value: -1 }, { type: 1, value: 1 }, { type: 1, value: 8 }] });
  await send({ cmd: 41, isUndoCmd: false, params: [] });
  await emit(page, 'editPoint', 8, true);
  assert.equal(await page.locator('.kv-point').count(), 3);
  // The second point (60, 20 on the stage) goes 10 px down.
  await mouseDrag(page, [60, 20], [60, 30]);
  const e = edits(await calls(page));
  assert.equal(e.length, 1);
  const a = e[0].request.actions[0];
  assert.equal(a.cmd, 1037);
  assert.equal(a.params[0].value, 8);
  assert.deepEqual(a.params[1].value.value[1], [40, 10, 40, 10, 40, 10]);
  // Straightening the segment into the selected point puts its control points on the anchors.
  await emit(page, 'straightSegment', 8);
  const s = edits(await calls(page));
  assert.equal(s[0].request.text, 'Straight Segment');
  await emit(page, 'editPoint', 8, false);
  assert.equal(await page.locator('.kv-point').count(), 0);
  await page.close();
});

test('text format: reported when editing starts, editor commands run on the selection', async () => {
  const { page } = await open();
  await emit(page, 'startEditText', 5);
  let list = await calls(page);
  const first = list.filter((c) => c.name === 'onTextFormatChanged').pop();
  assert.ok(first, 'the format is reported');
  // The card's text starts bold ("<b>30% off</b> everything"), selected as a whole: not all bold.
  assert.equal(JSON.parse(first.args[0]).bold, false);
  await emit(page, 'execTextEditorCommand', 'bold', '');
  list = await calls(page);
  assert.equal(JSON.parse(list.filter((c) => c.name === 'onTextFormatChanged').pop().args[0]).bold, true);
  await emit(page, 'stopEditText');
  list = await calls(page);
  const html = list.find((c) => c.name === 'editTextInnerHTML').args[0];
  assert.match(html, /<b>30% off everything<\/b>|<b>30% off<\/b><b> everything<\/b>/);
  await page.close();
});

// Each row: the editor's commands (or keys pressed) on the whole headline, and the HTML the page
// hands back when editing ends.
const formatRows = [
  { name: 'a size in pixels becomes a span', cmds: [['fontsize', '28px']], html: /^<span style="font-size: 28px;">Spring sale<\/span>$/ },
  { name: 'a family with a space is quoted', cmds: [['fontname', 'Liberation Serif']], html: /^<span style="font-family: &quot;Liberation Serif&quot;;">Spring sale<\/span>$/ },
  { name: 'a colour keeps no <font>', cmds: [['forecolor', 'rgba(255, 0, 0, 1)']], html: /^<span style="color: (#ff0000|rgb\(255, 0, 0\));">Spring sale<\/span>$/ },
  { name: 'size then family nest', cmds: [['fontsize', '28px'], ['fontname', 'Liberation Serif'], ['bold', '']], html: /font-size: 28px.*Liberation Serif|Liberation Serif.*font-size: 28px/ },
  { name: 'aligning right wraps the centred headline in a block', cmds: [['justifyright', '']], html: /^<div style="text-align: right;">(<span[^>]*>)?Spring sale(<\/span>)?<\/div>$/ },
  { name: 'the page bolds with its own key when the editor takes none', keys: 'Control+b', html: /^<b>Spring sale<\/b>$/ },
  { name: "a key the editor takes is left to the editor", shortcuts: 'ctrl+b, ctrl+i', keys: 'Control+b', html: /^Spring sale$/ },
];
for (const row of formatRows) {
  test(`text format: ${row.name}`, async () => {
    const { page } = await open();
    if (row.shortcuts) await emit(page, 'textEditShortcutsChanged', row.shortcuts);
    await emit(page, 'startEditText', 4);
    for (const [name, value] of row.cmds || []) await emit(page, 'execTextEditorCommand', name, value);
    if (row.keys) await page.keyboard.press(row.keys);
    assert.equal(await page.locator('.kv-editing font').count(), 0);
    await emit(page, 'stopEditText');
    const list = await calls(page);
    const edited = list.find((c) => c.name === 'editTextInnerHTML');
    assert.match(edited ? edited.args[0] : 'Spring sale', row.html);
    await page.close();
  });
}

test('a double-click opens a symbol instance; escape leaves the symbol being edited', async () => {
  const { page } = await open({ change: (d) => (d.symbolResourceId = 4) });
  const send = (m) => emit(page, 'dataChangedToJS', JSON.stringify(m));
  await send({ cmd: 1, isUndoCmd: false, params: [{ type: 11, value: { id: 12, k: 7, n: 'badge', r: [200, 10, 40, 40, 0], rs: 9 } }, { type: 1, value: -1 }, { type: 1, value: 1 }, { type: 1, value: 8 }] });
  await send({ cmd: 41, isUndoCmd: false, params: [] });
  const c = await at(page, 220, 30);
  await page.mouse.dblclick(c.x, c.y);
  let list = await calls(page);
  assert.deepEqual(list.filter((x) => x.name === 'editSymbol').map((x) => x.args), [[12]]);
  assert.equal(edits(list).length, 0);
  await page.keyboard.press('Escape');
  list = await calls(page);
  assert.deepEqual(list.map((x) => x.name), ['endEditSymbol']);
  const e = requests(list);
  assert.equal(e.length, 0);
  await page.close();
});

test('symbols that contain themselves are entered once: an instance met again inside stays empty', async () => {
  // The symbols of a hand-made data file in which A holds B, B holds A and Self holds Self.
  const cycle = JSON.parse(/var docData = (\{.*\});/.exec(readFileSync(path.join(here, 'fixtures', 'cycle.js'), 'utf8'))[1]);
  const shape = (d) => d.scene.elems[0];
  const instance = (d, id, n, rs) => ({ ...shape(d), id, n, k: 7, rs, txt: undefined });
  const drawn = async (change) => {
    const { page, errors } = await open({
      change: (d) => {
        change(d);
        d.resources.push(...cycle.resources);
      },
    });
    const names = await page.evaluate(() => [...document.querySelectorAll('[data-kv-name]')].map((el) => el.dataset.kvName).join(' '));
    await page.close();
    assert.deepEqual(errors, []);
    return names;
  };
  // On the document's stage: A and B each once, Self once.
  const onStage = await drawn((d) => d.scene.elems.push(instance(d, 90, 'Outer', 5), instance(d, 91, 'Mirror', 7)));
  assert.match(onStage, /Outer AScene InA BScene InB Mirror SelfScene InSelf$/);
  // While Self is edited, its own instance on its stage is already inside it.
  const editing = await drawn((d) => {
    d.symbolResourceId = 7;
    d.scene.elems.push(instance(d, 91, 'Mirror', 7));
  });
  assert.match(editing, /Mirror$/);
});

test('the rulers mark the breakpoints; dragging a mark moves its breakpoint with one request', async () => {
  const { page } = await open({
    change: (d) => {
      d.breakpoints = { h: [[3, 250]], v: [[4, 100]] };
    },
  });
  assert.equal(await page.locator('#kv-ruler-h').isVisible(), false);
  await emit(page, 'rulerVisibilityChanged', true);
  assert.equal(await page.locator('[data-kv-breakpoint]').count(), 2);
  const mark = await page.locator('[data-kv-breakpoint="0:3"]').boundingBox();
  const stageX = (await at(page, 0, 0)).x;
  assert.equal(mark.x + mark.width / 2, stageX + 250);
  // Drag the horizontal breakpoint from 250 to 280.
  await page.mouse.move(mark.x + mark.width / 2, mark.y + mark.height / 2);
  await page.mouse.down();
  await page.mouse.move(stageX + 280, mark.y + mark.height / 2, { steps: 3 });
  await page.mouse.up();
  let list = await calls(page);
  const editing = list.filter((c) => c.name === 'setEditingBreakpoint');
  assert.ok(editing.length >= 1);
  assert.deepEqual(editing.pop().args, [0, 280, 280]);
  const e = edits(list);
  assert.equal(e.length, 1);
  assert.equal(e[0].request.text, 'Update Breakpoint');
  assert.deepEqual(e[0].request.actions.map((a) => [a.cmd, a.params.map((x) => x.value)]), [[91, [0, 3, 280]]]);
  // The stage's gestures saw nothing of it.
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), []);
  // A click on the left ruler picks the layout at that height.
  const left = await page.locator('#kv-ruler-v').boundingBox();
  const stageY = (await at(page, 0, 0)).y;
  await page.mouse.click(left.x + 5, stageY + 40);
  list = await calls(page);
  assert.deepEqual(list.map((c) => [c.name, c.args]), [['setCurrentBreakpoint', [1, 40]]]);
  // A right click away from the marks asks for the ruler menu with no breakpoint under it.
  await page.mouse.click(stageX + 120, mark.y + 4, { button: 'right' });
  list = await calls(page);
  assert.deepEqual(list.map((c) => [c.name, c.args]), [['setEditingBreakpoint', [0, -1, 120]], ['onShowContextMenu', []]]);
  await page.close();
});

test('a guide pulled from a ruler: boxes snap to it while the rulers show; dropped back on its ruler it goes', async () => {
  const { page } = await open({ snap: true });
  await emit(page, 'rulerVisibilityChanged', true);
  // A place for the guide where the button's left edge, 3 px beside it, meets nothing else.
  const b = await page.evaluate(() => window.kvCanvasPage.position(6));
  const xs = await page.evaluate(() => window.kvCanvasPage.page.targets([6]).xs);
  const free = (x) => [x, x + b.w / 2, x + b.w].every((v) => xs.every((t) => Math.abs(t - v) > 6));
  let g = 20;
  while (g < 280 && !(free(g + 3) && xs.every((t) => Math.abs(t - g) > 6))) g += 1;
  assert.ok(g < 280, 'a free place for the guide');
  const left = await page.locator('#kv-ruler-v').boundingBox();
  const to = await at(page, g, 120);
  await page.mouse.move(left.x + 5, to.y);
  await page.mouse.down();
  await page.mouse.move(to.x, to.y, { steps: 4 });
  await page.mouse.up();
  assert.equal(await page.locator(`[data-kv-guide="x:${g}"]`).count(), 1);
  assert.deepEqual((await calls(page)).filter((c) => c.name === 'setCurrentBreakpoint'), [], 'pulling a guide picks no layout');
  // The button's left edge, moved to 3 px beside the guide, meets it.
  const dx = g + 3 - b.x;
  await mouseDrag(page, [150, 214], [150 + dx, 214]);
  assert.equal(geometry(edits(await calls(page))[0].request.actions[0]).values[0], g);
  // Hidden with the rulers, the guide neither shows nor holds boxes.
  await emit(page, 'rulerVisibilityChanged', false);
  assert.equal(await page.locator('[data-kv-guide]').count(), 0);
  await mouseDrag(page, [150 + dx - 3, 214], [150 + dx, 214]);
  assert.equal(geometry(edits(await calls(page))[0].request.actions[0]).values[0], g + 3);
  // Taken on the stage and let go on its ruler, it goes.
  await emit(page, 'rulerVisibilityChanged', true);
  const on = await at(page, g, 20);
  await page.mouse.move(on.x, on.y);
  await page.mouse.down();
  await page.mouse.move(left.x + 5, on.y, { steps: 4 });
  await page.mouse.up();
  assert.equal(await page.locator('[data-kv-guide]').count(), 0);
  assert.deepEqual(edits(await calls(page)), [], 'taking a guide moves no element');
  await page.close();
});

test('groups nested three deep (a generated project): every element drawn, boxes where the browser puts them', { skip: toolsMissing }, async () => {
  const folder = mkdtempSync(path.join(tmpdir(), 'kv-canvas-'));
  try {
    execFileSync(genprojects, [folder]);
    const text = execFileSync(canvasdump, [path.join(folder, 'nesting.kavio')], { encoding: 'utf8' });
    const { page, errors } = await open({ text });
    assert.deepEqual((await page.evaluate(() => window.kvCanvasPage.ids())).sort((a, b) => a - b), [1, 2, 3, 4, 5, 6, 7]);
    // Where no element of the chain is turned or scaled at this time, the page's box of an element
    // (in stage pixels, parents' places added) is the box the browser draws.
    const compared = await page.evaluate(() => {
      const k = window.kvCanvasPage;
      const stage = document.getElementById('kv-stage').getBoundingClientRect();
      const plain = (el) => {
        for (let e = el; e && e.dataset.kvId; e = e.parentElement) {
          const t = getComputedStyle(e).transform;
          if (t !== 'none' && !/^matrix\(1, 0, 0, 1, /.test(t)) return false;
        }
        return true;
      };
      const out = [];
      for (const [id, b] of Object.entries(k.positions())) {
        const el = document.querySelector(`[data-kv-id="${id}"]`);
        if (!plain(el)) continue;
        const r = el.getBoundingClientRect();
        out.push([Number(id), [b.x, b.y, b.w, b.h].map(Math.round), [r.left - stage.left, r.top - stage.top, r.width, r.height].map(Math.round)]);
      }
      return out;
    });
    assert.ok(compared.length >= 3, JSON.stringify(compared));
    for (const [id, mine, drawn] of compared) assert.deepEqual(mine, drawn, `element ${id}`);
    // A click on a nested element picks its top-level group.
    const side = (await positions(page))[5];
    await click(page, side.x + side.w / 2, side.y + side.h / 2);
    assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [1]);
    assert.deepEqual(errors, []);
    await page.close();
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});

test('the container handles resize the container with one request; the layout follows the new size', async () => {
  const { page } = await open({ change: (d) => (d.breakpoints = { h: [[3, 320]], v: [] }) });
  assert.equal(await page.locator('[data-kv-container]').count(), 0);
  await emit(page, 'containerHandlerVisibilityChanged', true);
  assert.equal(await page.locator('[data-kv-container]').count(), 3);
  // The right edge's handle, at (300, 125), goes 40 px right.
  await mouseDrag(page, [300, 125], [340, 125]);
  const e = edits(await calls(page));
  assert.equal(e.length, 1);
  assert.equal(e[0].request.text, 'Change Container Size');
  assert.deepEqual(e[0].request.actions.map((a) => [a.cmd, a.params.map((x) => x.value)]), [[59, [340]]]);
  await page.evaluate(() => window.kvCanvasPage.moveBy(6, 5, 0));
  const moved = edits(await calls(page));
  assert.deepEqual([moved[0].request.hLayoutId, moved[0].request.vLayoutId], [3, 0]);
  // The corner handle changes both sizes.
  await mouseDrag(page, [340, 250], [330, 270]);
  const both = edits(await calls(page));
  assert.deepEqual(both[0].request.actions.map((a) => [a.cmd, a.params[0].value]), [[59, 330], [60, 270]]);
  await page.close();
});

test('a medium the page loads reports its length to the editor', async () => {
  const { page } = await open({
    change: (d) => {
      d.resources.push([9, 1, 'quiet', ['quiet.wav']]);
      d.scene.elems.push({ id: 8, k: 1, n: 'sound', rs: 9, r: [0, 0, 300, 40, 0], selected: false, locked: false, visible: true });
    },
  });
  // The test page takes resources from the player fixtures' media folder.
  await page.evaluate((base) => {
    window.kvCanvasPage.page.options.resourceBase = base;
    window.kvCanvasPage.page.rebuild();
  }, 'file://' + path.join(here, 'fixtures', 'media_res') + '/');
  await page.waitForFunction(() => window.kvCalls.some((c) => c.name === 'updateMediaProps'));
  const call = (await calls(page)).find((c) => c.name === 'updateMediaProps');
  assert.equal(call.args[0], 8);
  assert.deepEqual(call.args.slice(1, 3), [0, 0], 'audio has no picture size');
  assert.ok(call.args[3] > 0, `length ${call.args[3]} ms`);
  await page.close();
});

test('escape and a click beside the text leave text editing, keeping what was typed', async () => {
  const { page } = await open();
  await emit(page, 'startEditText', 6);
  await page.keyboard.type('Go');
  await page.keyboard.press('Escape');
  let list = await calls(page);
  assert.deepEqual(list.filter((c) => c.name === 'editTextInnerHTML').map((c) => c.args[0]), ['Go']);
  assert.deepEqual(list.filter((c) => c.name === 'setEditingText').map((c) => c.args[0]), [true, false]);
  // A press outside the edited text ends editing as well; unchanged text is not sent.
  await emit(page, 'startEditText', 5);
  await click(page, 150, 30);
  list = await calls(page);
  assert.equal(list.filter((c) => c.name === 'editTextInnerHTML').length, 0);
  assert.deepEqual(list.filter((c) => c.name === 'setEditingText').map((c) => c.args[0]), [true, false]);
  assert.equal(await page.evaluate(() => document.querySelectorAll('[contenteditable="true"]').length), 0);
  await page.close();
});

test('a scaled element is picked, framed and resized by the box it is drawn in', async () => {
  const { page } = await open();
  // At 0 ms the card (20, 120, 260 x 56) is drawn at 60 % width about its centre: x 72 to 228.
  await click(page, 40, 148);
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [1], 'beside the drawn card lies the panel');
  await click(page, 150, 148);
  assert.deepEqual(await page.evaluate(() => window.kvCanvasPage.selection()), [5]);
  const frame = await page.locator('[data-kv-frame="5"]').boundingBox();
  const drawn = await page.evaluate(() => document.querySelector('[data-kv-id="5"]').getBoundingClientRect().toJSON());
  assert.ok(Math.abs(frame.x - drawn.x) < 0.5 && Math.abs(frame.width - drawn.width) < 0.5, `${JSON.stringify(frame)} ${JSON.stringify(drawn)}`);
  await calls(page);
  // The right handle 30 px further: the drawn left edge stays, so the laid-out box (scaled about
  // its centre) grows to 310 and starts at 10.
  await mouseDrag(page, [228, 148], [258, 148]);
  const e = edits(await calls(page));
  assert.equal(e.length, 1);
  const v = geometry(e[0].request.actions[0]).values;
  assert.deepEqual(Object.keys(v), ['0', '2', '4', '5']);
  assert.ok(Math.abs(v[0] - 10) < 1e-6 && Math.abs(v[4] - 310) < 1e-6 && v[2] === 120 && v[5] === 56, JSON.stringify(v));
  const after = await page.evaluate(() => document.querySelector('[data-kv-id="5"]').getBoundingClientRect().toJSON());
  assert.ok(Math.abs(after.x - drawn.x) < 0.5 && Math.abs(after.width - (drawn.width + 30)) < 0.5);
  await page.close();
});
