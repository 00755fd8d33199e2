// The stage geometry of the canvas page: hit-testing of turned boxes, the marquee, the handles and
// what dragging them does, rotation, and snapping to the stage and to other elements.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
  bounds,
  containsPoint,
  handleAt,
  handles,
  hitTest,
  marqueeHits,
  rectFromPoints,
  resizeBox,
  rotationAfter,
  snapMove,
  snapPoint,
  snapResize,
  snapTargets,
  squareFromPoints,
} from '../canvas/geometry.js';

const close = (a, b, eps = 1e-6) => assert.ok(Math.abs(a - b) <= eps, `${a} is not ${b}`);
const closeBox = (a, b) => ['x', 'y', 'w', 'h'].forEach((k) => close(a[k], b[k]));

test('a box turned about its centre is hit inside its turned outline only', () => {
  const box = { x: 0, y: 0, w: 100, h: 20, rot: 90 };
  const cases = [
    [{ x: 50, y: 10 }, true], // the centre
    [{ x: 50, y: -30 }, true], // inside once turned upright
    [{ x: 50, y: 55 }, true],
    [{ x: 5, y: 10 }, false], // inside the unturned box, outside the turned one
    [{ x: 95, y: 10 }, false],
    [{ x: 50, y: 61 }, false],
  ];
  for (const [p, hit] of cases) assert.equal(containsPoint(box, p), hit, JSON.stringify(p));
});

test('the front-most unlocked, shown item under the point is hit', () => {
  const items = [
    { id: 1, box: { x: 0, y: 0, w: 300, h: 250 } },
    { id: 2, box: { x: 10, y: 10, w: 50, h: 50 } },
    { id: 3, box: { x: 30, y: 30, w: 50, h: 50 }, locked: true },
    { id: 4, box: { x: 40, y: 40, w: 50, h: 50 }, hidden: true },
  ];
  const cases = [
    [{ x: 20, y: 20 }, 2],
    [{ x: 45, y: 45 }, 2], // 3 is locked and 4 hidden: 2 lies under them
    [{ x: 75, y: 75 }, 1],
    [{ x: 200, y: 200 }, 1],
    [{ x: 301, y: 10 }, -1],
  ];
  for (const [p, id] of cases) assert.equal(hitTest(items, p), id, JSON.stringify(p));
});

test('the marquee takes every unlocked, shown item it touches, turned ones by their drawn box', () => {
  const items = [
    { id: 1, box: { x: 0, y: 0, w: 10, h: 10 } },
    { id: 2, box: { x: 50, y: 0, w: 10, h: 10 } },
    { id: 3, box: { x: 20, y: 0, w: 10, h: 10 }, locked: true },
    // Upright it ends at x 99; turned 90 degrees it reaches x 70 to 80... and y -45 to 55.
    { id: 4, box: { x: 25, y: 0, w: 100, h: 10, rot: 90 } },
  ];
  assert.deepEqual(marqueeHits(items, rectFromPoints({ x: 5, y: 5 }, { x: -5, y: -5 })), [1]);
  assert.deepEqual(marqueeHits(items, rectFromPoints({ x: 0, y: 0 }, { x: 55, y: 5 })), [1, 2]);
  assert.deepEqual(marqueeHits(items, rectFromPoints({ x: 69, y: 40 }, { x: 90, y: 50 })), [4]);
  assert.deepEqual(marqueeHits(items, rectFromPoints({ x: 100, y: 0 }, { x: 120, y: 5 })), []);
});

test('drawing boxes follow the drag either way; shift makes a square on the longer side', () => {
  closeBox(rectFromPoints({ x: 50, y: 40 }, { x: 10, y: 60 }), { x: 10, y: 40, w: 40, h: 20 });
  closeBox(squareFromPoints({ x: 50, y: 40 }, { x: 10, y: 60 }), { x: 10, y: 40, w: 40, h: 40 });
  closeBox(squareFromPoints({ x: 0, y: 0 }, { x: 10, y: -30 }), { x: 0, y: -30, w: 30, h: 30 });
});

test('handles sit on the corners and edge middles, the rotation handle above the top edge', () => {
  const list = handles({ x: 10, y: 20, w: 100, h: 50, rot: 0 });
  const at = Object.fromEntries(list.map((h) => [h.name, [h.x, h.y]]));
  assert.deepEqual(at, {
    nw: [10, 20], n: [60, 20], ne: [110, 20], e: [110, 45], se: [110, 70], s: [60, 70], sw: [10, 70], w: [10, 45], rotate: [60, -4],
  });
  // At twice the zoom the rotation handle keeps its distance on screen.
  assert.equal(handles({ x: 10, y: 20, w: 100, h: 50 }, 2).find((h) => h.name === 'rotate').y, 8);
  // Turned a half turn, the top-left handle is drawn at the bottom right.
  const nw = handles({ x: 0, y: 0, w: 100, h: 50, rot: 180 })[0];
  close(nw.x, 100);
  close(nw.y, 50);
  assert.equal(handleAt({ x: 0, y: 0, w: 100, h: 50 }, { x: 103, y: 52 }, 5).name, 'se');
  assert.equal(handleAt({ x: 0, y: 0, w: 100, h: 50 }, { x: 50, y: 25 }, 5), null);
});

test('resizing moves the dragged sides and keeps the opposite ones', () => {
  const r = { x: 10, y: 20, w: 100, h: 50, rot: 0 };
  const h = (name) => handles(r).find((x) => x.name === name);
  const cases = [
    ['se', 20, 10, {}, { x: 10, y: 20, w: 120, h: 60 }],
    ['nw', 20, 10, {}, { x: 30, y: 30, w: 80, h: 40 }],
    ['e', 20, 99, {}, { x: 10, y: 20, w: 120, h: 50 }], // an edge handle ignores the other direction
    ['n', 99, -10, {}, { x: 10, y: 10, w: 100, h: 60 }],
    ['w', 150, 0, {}, { x: 109, y: 20, w: 1, h: 50 }], // never below the smallest size
    ['se', 100, 0, { keepRatio: true }, { x: 10, y: 20, w: 200, h: 100 }],
    // An edge handle with the ratio kept grows the other side about its middle.
    ['e', 50, 0, { keepRatio: true }, { x: 10, y: 7.5, w: 150, h: 75 }],
  ];
  for (const [name, dx, dy, opts, want] of cases) closeBox(resizeBox(r, h(name), dx, dy, opts), want);
});

test('resizing a turned box measures the drag in its frame and keeps the opposite corner in place', () => {
  const r = { x: 0, y: 0, w: 100, h: 50, rot: 90 };
  const se = handles(r).find((x) => x.name === 'se');
  // Turned 90 degrees, the box's own x axis points down the screen.
  const out = resizeBox(r, se, 0, 20);
  close(out.w, 120);
  close(out.h, 50);
  const fixedBefore = handles(r).find((x) => x.name === 'nw');
  const fixedAfter = handles(out).find((x) => x.name === 'nw');
  close(fixedAfter.x, fixedBefore.x);
  close(fixedAfter.y, fixedBefore.y);
});

test('rotation follows the angle swept about the centre, stepped with shift', () => {
  const c = { x: 0, y: 0 };
  const cases = [
    [0, { x: 0, y: -10 }, { x: 10, y: 0 }, 0, 90],
    [30, { x: 0, y: -10 }, { x: -10, y: 0 }, 0, -60],
    [170, { x: 10, y: 0 }, { x: 0, y: 10 }, 0, -100], // 260 goes round to -100
    [0, { x: 10, y: 0 }, { x: 10, y: 4 }, 15, 15], // 21.8 degrees, stepped to 15
    [0, { x: 10, y: 0 }, { x: -10, y: 0.0001 }, 0, 180],
  ];
  for (const [start, from, to, step, want] of cases) close(rotationAfter(start, c, from, to, step), want, 1e-2);
});

test('a moving box snaps its edges or centre to the stage and to other boxes within the threshold', () => {
  const targets = snapTargets({ w: 300, h: 250 }, [{ x: 100, y: 100, w: 50, h: 20, rot: 0 }]);
  assert.deepEqual(targets.xs, [0, 150, 300, 100, 125, 150]);
  assert.deepEqual(targets.ys, [0, 125, 250, 100, 110, 120]);
  // The left edge meets the stage's left edge; the bottom edge (220) is 30 from 250, too far.
  const s = snapMove({ x: 10, y: 200, w: 40, h: 20 }, -7, 0, targets, 6);
  assert.deepEqual(s, { dx: -10, dy: 0, guides: [{ x: 0 }] });
  // Both directions at once.
  const both = snapMove({ x: 10, y: 200, w: 40, h: 20 }, -7, 27, targets, 6);
  assert.deepEqual(both, { dx: -10, dy: 30, guides: [{ x: 0 }, { y: 250 }] });
  // The centre meets the stage's middle.
  const m = snapMove({ x: 100, y: 0, w: 40, h: 10 }, 8, 0, targets, 6);
  assert.equal(m.dx, 10);
  // The right edge meets the other box's left edge; the closest line wins.
  const r = snapMove({ x: 0, y: 0, w: 40, h: 10 }, 57, 0, targets, 6);
  assert.equal(r.dx, 60);
  // Beyond the threshold nothing changes and no guide shows.
  const far = snapMove({ x: 0, y: 30, w: 10, h: 10 }, 40, 20, targets, 6);
  assert.deepEqual(far, { dx: 40, dy: 20, guides: [] });
  assert.deepEqual(snapPoint({ x: 297, y: 3 }, targets, 6), { x: 300, y: 0 });
});

test('the drawn box of a turned box is the upright box around its corners', () => {
  const b = bounds({ x: 0, y: 0, w: 100, h: 20, rot: 90 });
  closeBox(b, { x: 40, y: -40, w: 20, h: 100 });
});

test('a resized box brings only its moving sides onto lines within the threshold', () => {
  const targets = { xs: [0, 100, 300], ys: [0, 50, 250] };
  const se = { sx: 1, sy: 1 };
  const nw = { sx: -1, sy: -1 };
  const e = { sx: 1, sy: 0 };
  const cases = [
    // [box, handle, want box, guides]
    [{ x: 10, y: 10, w: 87, h: 42 }, se, { x: 10, y: 10, w: 90, h: 40 }, [{ x: 100 }, { y: 50 }]],
    [{ x: 4, y: 47, w: 50, h: 50 }, nw, { x: 0, y: 50, w: 54, h: 47 }, [{ x: 0 }, { y: 50 }]],
    [{ x: 10, y: 47, w: 87, h: 10 }, e, { x: 10, y: 47, w: 90, h: 10 }, [{ x: 100 }]], // the top stays
    [{ x: 10, y: 10, w: 50, h: 10 }, se, { x: 10, y: 10, w: 50, h: 10 }, []],
  ];
  for (const [box, handle, want, guides] of cases) {
    const s = snapResize({ ...box, rot: 0 }, handle, targets, 6);
    closeBox(s.box, want);
    assert.deepEqual(s.guides, guides);
  }
  // A turned box is not snapped.
  const turned = { x: 10, y: 10, w: 87, h: 42, rot: 30 };
  assert.equal(snapResize(turned, se, targets, 6).box, turned);
});
