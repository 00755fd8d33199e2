// Motion paths: the editor's flattening of each curve and points along the joined path.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { buildPath, flatten, pointAt } from '../player/motionpath.js';
import { buildTracks, trackValue } from '../player/timeline.js';

test('a straight curve with a control polygon of 40 flattens to its ends and 10 inner points', () => {
  const pts = flatten([0, 0, 0, 0, 10, 0], [40, 0, 30, 0, 40, 0]);
  assert.equal(pts.length, 12);
  assert.deepEqual(pts[0], [0, 0]);
  assert.deepEqual(pts[11], [40, 0]);
  // The inner points are the curve's points at k / 11, found by forward differences.
  for (let k = 1; k <= 10; ++k) {
    const t = k / 11;
    const x = 3 * (1 - t) * (1 - t) * t * 10 + 3 * (1 - t) * t * t * 30 + t * t * t * 40;
    assert.ok(Math.abs(pts[k][0] - x) < 1e-9, `point ${k}`);
  }
});

test('two points of one time are joined by nothing; a short curve is its two ends', () => {
  assert.deepEqual(flatten([0, 0, 0, 0, 0, 0, 0, 500], [10, 0, 10, 0, 10, 0, 1, 500]), []);
  assert.deepEqual(flatten([0, 0, 0, 0, 0, 0], [1, 0, 1, 0, 1, 0]), [[0, 0], [1, 0]]);
});

test('points at fractions of the length, with the direction of travel', () => {
  // An L: 100 right, then 100 down.
  const path = buildPath([[0, 0, 0, 0, 0, 0], [100, 0, 100, 0, 100, 0], [100, 100, 100, 100, 100, 100]]);
  assert.equal(path.total, 200);
  const at = (f) => pointAt(path, f).map((v) => Math.round(v * 1000) / 1000);
  assert.deepEqual(at(0), [0, 0, 0]);
  assert.deepEqual(at(0.25), [50, 0, 0]);
  assert.deepEqual(at(0.75), [100, 50, 90]);
  assert.deepEqual(at(1), [100, 100, 90]);
  assert.deepEqual(at(2), [100, 100, 90], 'fractions are held to the path');
  assert.deepEqual(pointAt(buildPath([[5, 6, 5, 6, 5, 6]]), 0.5), [5, 6, 0]);
});

test('a location track with a path follows it, eased, and turns along it when asked', () => {
  const cp = [[0, 0, 0, 0, 0, -100], [200, 0, 200, -100, 200, 0]];
  const entry = { el: 7, p: 'pos', t: 0, d: 1000, s: [0, 0], e: [200, 0], cp, es: 1 };
  const [plain] = buildTracks([entry]).values();
  const [turning] = buildTracks([{ ...entry, ao: true }]).values();
  const mid = trackValue(plain, 500 * Math.SQRT2); // in quad: half the length
  assert.ok(Math.abs(mid[0] - 100) < 1e-6 && Math.abs(mid[1] + 75) < 0.01, `apex ${mid}`);
  assert.equal(mid.length, 2);
  const before = trackValue(turning, -1);
  const after = trackValue(turning, 2000);
  assert.deepEqual(before.slice(0, 2), [0, 0]);
  // The heading is that of the flattened path's piece: close to, not exactly, the curve's tangent.
  assert.ok(Math.abs(before[2] + 90) < 1.5, 'heading up at the start');
  assert.deepEqual(after.slice(0, 2), [200, 0]);
  assert.ok(Math.abs(after[2] - 90) < 1.5, 'heading down at the end');
  assert.ok(Math.abs(trackValue(turning, 500 * Math.SQRT2)[2]) < 0.5, 'level at the apex');
});
