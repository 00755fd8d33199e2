// Outlines of the auto shapes and free-form shapes.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { AUTO_SHAPE_TYPES, autoShapePath, freeformPath } from '../player/shapes.js';

// The points of a path as [x, y] pairs (an arc gives its end point).
function points(d) {
  const pts = [];
  for (const [, cmd, args] of d.matchAll(/([MLCAZ])([^MLCAZ]*)/g)) {
    const n = args.trim() ? args.trim().split(/\s+/).map(Number) : [];
    if (cmd === 'A') pts.push([n[5], n[6]]);
    else for (let i = 0; i + 1 < n.length; i += 2) pts.push([n[i], n[i + 1]]);
  }
  return pts;
}

// Callout tails reach out of the box, and so do the wave's control points.
const REACH_OUT = new Set([13, 14, 19, 75]);

test('the catalogue draws all 42 auto shapes, each its own outline inside its box', () => {
  assert.equal(AUTO_SHAPE_TYPES.length, 42);
  const seen = new Map();
  for (const type of AUTO_SHAPE_TYPES) {
    const d = autoShapePath(type, [], 200, 120);
    assert.match(d, /^M.*Z$/, `shape ${type} is a closed outline`);
    const pts = points(d);
    assert.ok(pts.length >= 3, `shape ${type} has points`);
    for (const [x, y] of pts) {
      assert.ok(Number.isFinite(x) && Number.isFinite(y), `shape ${type} numbers`);
      if (!REACH_OUT.has(type)) {
        assert.ok(x >= -0.01 && x <= 200.01 && y >= -0.01 && y <= 120.01, `shape ${type} point ${x},${y} in the box`);
      }
    }
    assert.ok(!seen.has(d), `shape ${type} differs from shape ${seen.get(d)}`);
    seen.set(d, type);
  }
});

test('adjustments change the outline; missing ones take the defaults; unknown types are rectangles', () => {
  for (const type of AUTO_SHAPE_TYPES) {
    const base = autoShapePath(type, [], 200, 120);
    assert.equal(autoShapePath(type, ['x', null], 200, 120), base, `shape ${type} ignores bad adjustments`);
  }
  const adjustable = [12, 33, 20, 53, 61, 57, 42, 44, 35, 69, 72, 75, 73, 13, 14, 19, 15, 16, 17, 18, 25, 26, 31, 27, 28, 29, 30, 32, 81, 82, 83, 85, 89, 101];
  for (const type of adjustable) {
    assert.notEqual(autoShapePath(type, [0.1, 0.1, 0.1, 0.1], 200, 120), autoShapePath(type, [], 200, 120), `shape ${type} is adjustable`);
  }
  assert.equal(autoShapePath(3, [], 10, 10), autoShapePath(11, [], 10, 10));
  assert.equal(autoShapePath(11, [], 10, 20), 'M0 0L10 0L10 20L0 20Z');
  // A callout's tail reaches the point its adjustments name.
  assert.ok(points(autoShapePath(13, [0.9, -0.5], 200, 100)).some(([x, y]) => x === 180 && y === -50));
  // A five-pointed star has ten corners.
  assert.equal(points(autoShapePath(82, [0.5], 100, 100)).length, 10);
});

test('free-form outlines: curves through the control points, figures, open and closed types', () => {
  const pts = [[0, 0, 0, 0, 10, 0, true], [50, 50, 40, 50, 60, 50, false], [100, 0, 100, 10, 100, 0, false], [0, 100, 0, 100, 0, 100, true], [20, 100, 20, 100, 20, 100, false]];
  assert.equal(freeformPath(594, pts), 'M0 0C10 0 40 50 50 50C60 50 100 10 100 0ZM0 100C0 100 20 100 20 100Z');
  assert.equal(freeformPath(590, pts), 'M0 0C10 0 40 50 50 50C60 50 100 10 100 0M0 100C0 100 20 100 20 100');
  assert.equal(freeformPath(594, [[1, 2, 3]]), '', 'points with too few numbers are left out');
  assert.equal(freeformPath(594, 'none'), '');
});

test('a callout covers its tail; paths move as a whole', async () => {
  const { autoShapeBounds, shiftPath } = await import('../player/shapes.js');
  assert.deepEqual(autoShapeBounds(13, [0.2, 1.25], 200, 100), [0, 0, 200, 125]);
  assert.deepEqual(autoShapeBounds(19, [-0.5, -0.5], 200, 100), [-100, -50, 200, 100]);
  assert.deepEqual(autoShapeBounds(82, [], 200, 100), [0, 0, 200, 100]);
  assert.equal(shiftPath('M0 0L10 5C1 2 3 4 5 6A7 8 0 1 1 9 10Z', 1, -1), 'M1 -1L11 4C2 1 4 3 6 5A7 8 0 1 1 10 9Z');
  assert.equal(shiftPath('M0 0Z', 0, 0), 'M0 0Z');
});
