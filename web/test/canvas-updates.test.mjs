// The canvas page's copy of the scene: the view-update messages of the editor applied to the example
// banner's scene (as kavio-canvasdump writes it), and the requests the page builds from gestures.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { SceneModel, lengthValue } from '../canvas/scenemodel.js';
import { applyUpdate } from '../canvas/updates.js';
import { geometryAction, request, selectionActions } from '../canvas/requests.js';
import { drawnElement, pathPoints, toolFor } from '../canvas/drawing.js';

const here = path.dirname(fileURLToPath(import.meta.url));
const fixture = () => JSON.parse(readFileSync(path.join(here, 'fixtures', 'canvas-banner.json'), 'utf8'));

function state() {
  const data = fixture();
  return {
    model: new SceneModel(data.scene),
    resources: new Map(data.resources.map((r) => [r[0], r])),
    containerW: data.containerW,
    containerH: data.containerH,
    layout: [0, 0],
    responsive: false,
  };
}

const p = (type, value) => ({ type, value });
const msg = (cmd, params, isUndoCmd = false) => ({ cmd, isUndoCmd, params });
const ids = (s) => s.model.data.elems.map((e) => e.id);

test('the fixture is the banner scene with its six elements and its current timeline', () => {
  const s = state();
  assert.deepEqual(ids(s), [1, 2, 3, 4, 5, 6]);
  assert.equal(s.model.timeline().dur, 3000);
  assert.equal(s.model.maxId(), 6);
});

test('inserting and removing elements: forward, undone, into a group, at an index', () => {
  const s = state();
  const el = { id: 7, k: 5, n: 'box', r: [1, 2, 3, 4, 0] };
  // Forward insert: the element's data, its index, the parent and its type: the scene (type 8),
  // whose id 1 is also the id of its first element.
  assert.equal(applyUpdate(s, msg(1, [p(11, el), p(1, 2), p(1, 1), p(1, 8)])).render, true);
  assert.deepEqual(ids(s), [1, 2, 7, 3, 4, 5, 6]);
  // Undoing the insert removes it by id.
  applyUpdate(s, msg(1, [p(1, 7), p(1, 2), p(1, 1), p(1, 8)], true));
  assert.deepEqual(ids(s), [1, 2, 3, 4, 5, 6]);
  // An undone removal adds the element back, here into element 5 as a child.
  applyUpdate(s, msg(2, [p(11, el), p(1, 0), p(1, 5), p(1, 6)], true));
  assert.equal(s.model.find(7).parent.id, 5);
  // A forward removal takes it out wherever it is.
  applyUpdate(s, msg(2, [p(1, 7), p(1, 0), p(1, 5), p(1, 6)]));
  assert.equal(s.model.find(7), null);
  // An index past the end appends.
  applyUpdate(s, msg(1, [p(11, el), p(1, 99), p(1, 1), p(1, 8)]));
  assert.deepEqual(ids(s), [1, 2, 3, 4, 5, 6, 7]);
});

test('moving to another parent takes the position data; reordering moves within the parent', () => {
  const s = state();
  applyUpdate(s, msg(3, [p(1, 6), p(1, 0), p(7, { r: [5, 6, 120, 36, 0] }), p(1, 5), p(1, 6)]));
  const f = s.model.find(6);
  assert.equal(f.parent.id, 5);
  assert.deepEqual(f.el.r, [5, 6, 120, 36, 0]);
  applyUpdate(s, msg(4, [p(1, 1), p(1, 3)]));
  assert.deepEqual(ids(s), [2, 3, 4, 1, 5]);
});

test('selection messages change the selected flags without a redraw of the scene', () => {
  const s = state();
  assert.deepEqual(applyUpdate(s, msg(33, [p(1, 3), p(4, true)])), { render: false, selection: true });
  applyUpdate(s, msg(33, [p(1, 5), p(4, true)]));
  applyUpdate(s, msg(33, [p(1, 3), p(4, false)]));
  assert.deepEqual(s.model.selectedIds(), [5]);
});

test('geometry messages set positions, sizes and the turn in the units the element keeps', () => {
  const s = state();
  // Element 6 in pixels: left, top, width, height and rotation by property code.
  applyUpdate(s, msg(1000, [p(1, 6), p(1, 0), p(1, 0), p(1, 0), p(33, [0, 2, 4, 5, 11]), p(2, 10), p(2, 20), p(2, 30), p(2, 40), p(2, 45)]));
  const el = s.model.element(6);
  assert.deepEqual(el.r, [10, 20, 30, 40, 0]);
  assert.equal(el.t[0][2], 45);
  // The whole element data when the editor sends it (kind 11) replaces the copy, keeping children.
  applyUpdate(s, msg(1000, [p(11, { id: 5, k: 5, r: [1, 1, 1, 1, 0] })]));
  assert.deepEqual(s.model.element(5).r, [1, 1, 1, 1, 0]);
  // Percent lengths are given as fractions and kept as percent.
  assert.equal(lengthValue('50%', 0.25), '25%');
  assert.equal(lengthValue(10, 0.25), 0.25);
  assert.equal(lengthValue('150a', 2), '200a');
});

test('animation messages replace the entries of an element, a track or the playback entries', () => {
  const s = state();
  const count = (el, prop) => s.model.timeline().anims.filter((e) => e.el === el && (!prop || e.p === prop)).length;
  assert.equal(count(6, 'rZ'), 2);
  // An animation removed (17 undone... 18 forward) drops every entry of the element.
  applyUpdate(s, msg(18, [p(7, { el: 6 })]));
  assert.equal(count(6), 0);
  // Added back with its entries.
  applyUpdate(s, msg(17, [p(7, { anims: [{ el: 6, p: 'o', t: 0, d: 500, s: 0, e: 100, es: 0 }] })]));
  assert.equal(count(6, 'o'), 1);
  // A track's new entries replace those of that element and property only.
  applyUpdate(s, msg(21, [p(7, { el: 4, p: 'lt', anims: [{ el: 4, p: 'lt', t: 0, d: 4000, s: '0px', e: '10px', es: 0 }] })]));
  assert.equal(count(4, 'lt'), 1);
  assert.equal(count(4, 'o'), 1);
  assert.equal(s.model.timeline().dur, 4000, 'the timeline grows to hold the entries');
  // A track removed.
  applyUpdate(s, msg(20, [p(7, { el: 4, p: 'o' })]));
  assert.equal(count(4, 'o'), 0);
  // Playback entries of an element.
  applyUpdate(s, msg(56, [p(7, { el: 2, p: 'pb', anims: [{ el: 2, p: 'pb', t: 0, d: 100, a: [1] }] })]));
  assert.equal(count(2, 'pb'), 1);
});

test('label and timeline messages', () => {
  const s = state();
  applyUpdate(s, msg(13, [p(7, { labelName: 'end', timeStamp: 2500 })]));
  applyUpdate(s, msg(15, [p(7, { oldLabelName: 'offer', newLabelName: 'deal' })]));
  assert.deepEqual(s.model.timeline().l, { deal: 1200, end: 2500 });
  // The rename undone swaps the names back.
  applyUpdate(s, msg(15, [p(7, { oldLabelName: 'offer', newLabelName: 'deal' })], true));
  applyUpdate(s, msg(16, [p(7, { labelName: 'end', newTimeStamp: 2000 })]));
  assert.deepEqual(s.model.timeline().l, { offer: 1200, end: 2000 });
  applyUpdate(s, msg(13, [p(7, { labelName: 'end', timeStamp: 2000 })], true));
  assert.deepEqual(s.model.timeline().l, { offer: 1200 });
  // A new current timeline comes with its time.
  const effect = applyUpdate(s, msg(11, [p(7, { id: 2, n: 'Other', dur: 100, anims: [], currentTime: 40 })]));
  assert.equal(effect.time, 40);
  assert.equal(s.model.timeline().id, 2);
  assert.deepEqual(applyUpdate(s, msg(41, [])), { render: false, end: true });
});

test('element group messages replace the group of the element', () => {
  const s = state();
  applyUpdate(s, msg(1002, [p(1, 6), p(8, [1, 1, 2, 3, 255]), p(1, 9)]));
  applyUpdate(s, msg(1043, [p(1, 6), p(8, [4, 45, 2, 0, 0, 0, 128])]));
  applyUpdate(s, msg(1009, [p(1, 6), p(1, 2), p(2, 0.2), p(2, 0.5)]));
  applyUpdate(s, msg(1035, [p(1, 6), p(4, true)]));
  const el = s.model.element(6);
  assert.deepEqual(el.f, [1, 1, 2, 3, 255]);
  assert.deepEqual(el.sh, [4, 45, 2, 0, 0, 0, 128]);
  assert.deepEqual(el.s, [12, [0.2, 0.5]]);
  assert.equal(el.aspectRatioLocked, true);
});

test('messages about elements the page does not hold, or of unknown types, change nothing', () => {
  const s = state();
  const before = JSON.stringify(s.model.data);
  for (const m of [
    msg(33, [p(1, 99), p(4, true)]),
    msg(1000, [p(1, 99), p(1, 0), p(1, 0), p(1, 0), p(33, [0]), p(2, 5)]),
    msg(2, [p(1, 99), p(1, 0), p(1, 1), p(1, 8)]),
    msg(4, [p(1, 99), p(1, 0)]),
    msg(1001, [p(1, 99), p(8, [])]),
    msg(9999, [p(1, 1)]),
    msg(1, 'not a list'),
    { cmd: 'x' },
  ]) {
    applyUpdate(s, m);
  }
  assert.equal(JSON.stringify(s.model.data), before);
});

test('requests carry the scene, the symbol, the layout and the text around their actions', () => {
  const g = geometryAction(6, [2, 3], { 2: 20, 0: 10 });
  assert.deepEqual(g, {
    cmd: 1000,
    isUndoCmd: false,
    params: [
      { type: 1, value: 6 }, { type: 1, value: 2 }, { type: 1, value: 3 }, { type: 1, value: 0 },
      { type: 33, value: [0, 2] }, { type: 2, value: 10 }, { type: 2, value: 20 },
    ],
  });
  const r = request({ sceneId: 4, symbolResourceId: 7, responsive: true, layout: [2, 3] }, [g], 'Change Geometry');
  assert.deepEqual(Object.keys(r), ['actions', 'sceneId', 'symbolResourceId', 'responsive', 'hLayoutId', 'vLayoutId', 'text']);
  assert.deepEqual([r.sceneId, r.symbolResourceId, r.responsive, r.hLayoutId, r.vLayoutId], [4, 7, true, 2, 3]);
  // The selection goes from one set to another: deselections, then selections.
  assert.deepEqual(
    selectionActions([1, 2], [2, 3]).map((a) => [a.cmd, a.params[0].value, a.params[1].value]),
    [[33, 1, false], [33, 3, true]],
  );
  assert.deepEqual(selectionActions([5], [5]), []);
});

test('drawing tools make elements of their kind, and the insert request the editor reads', () => {
  const box = { x: 10.123, y: 20, w: 50, h: 30 };
  const rect = drawnElement(toolFor('insertRectangle'), box, 7);
  assert.deepEqual(rect.request, { id: 7, shapeType: 5, l: 10.12, t: 20, w: 50, h: 30, path: 'rect' });
  assert.deepEqual(rect.local.r, [10.12, 20, 50, 30, 0]);
  assert.equal(rect.kindName, 'Rectangle');
  assert.deepEqual(drawnElement(toolFor('insertRoundedRect'), box, 7).local.lr, [25, 25, 25, 25]);
  const ellipse = drawnElement(toolFor('insertEllipse'), box, 8);
  assert.deepEqual([ellipse.local.k, ellipse.local.s, ellipse.request.shapeType, ellipse.request.path], [9, [21], 9, 21]);
  const star = drawnElement(toolFor('insertShape', 40), box, 9);
  assert.deepEqual([star.local.s, star.request.path], [[40], 40]);
  assert.equal(toolFor('insertShape', 590).line, true);
  assert.equal(toolFor('insertShape', 595).scribble, true);
  const { box: pb, pts } = pathPoints([{ x: 10, y: 10 }, { x: 30, y: 5 }, { x: 20, y: 40 }]);
  assert.deepEqual(pb, { x: 10, y: 5, w: 20, h: 35, rot: 0 });
  assert.deepEqual(pts[1], [20, 0, 20, 0, 20, 0]);
  const free = drawnElement(toolFor('insertShape', 594), pb, 10, pts);
  assert.deepEqual([free.local.k, free.local.s[0], free.request.shapeType, free.request.autoshapeType], [11, 594, 11, 594]);
  assert.equal(toolFor('nonsense'), null);
});

test('point editing moves an anchor with its control points and straightens the segment into one', async () => {
  const { movePoint, straighten } = await import('../canvas/pointedit.js');
  assert.deepEqual(movePoint([10, 10, 5, 5, 15, 15, true], { x: 1.005, y: -2 }), [11.01, 8, 6.01, 3, 16.01, 13, true]);
  const pts = [
    [0, 0, 0, 0, 10, -5],
    [40, 0, 30, -5, 50, 5],
    [40, 30, 45, 20, 35, 40],
  ];
  // Into point 1: its arriving control and point 0's leaving control go onto their anchors.
  assert.deepEqual(straighten(pts, 1), [
    [0, 0, 0, 0, 0, 0],
    [40, 0, 40, 0, 50, 5],
    [40, 30, 45, 20, 35, 40],
  ]);
  // Into point 0 the closing segment from the last point is straightened.
  assert.deepEqual(straighten(pts, 0)[2], [40, 30, 45, 20, 40, 30]);
  assert.deepEqual(straighten(pts, 7), pts, 'an index the path lacks changes nothing');
  assert.deepEqual(pts[0], [0, 0, 0, 0, 10, -5], 'the given points are left as they were');
});
