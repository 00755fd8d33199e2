// The player's easing curves against the toolkit's own: the C++ tool kavio-easingdump prints
// QEasingCurve::valueForProgress for every code the editor offers at 101 points.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { easing, EASING_CODES, bezierEasing } from '../player/easing.js';

const here = path.dirname(fileURLToPath(import.meta.url));
const dumpTool = process.env.KAVIO_EASINGDUMP || path.join(here, '..', '..', 'build', 'bin', 'kavio-easingdump');

test('every easing code agrees with the toolkit within 1e-6', { skip: !existsSync(dumpTool) && `${dumpTool} is not built` }, () => {
  const dump = JSON.parse(execFileSync(dumpTool, { encoding: 'utf8' }));
  const codes = Object.keys(dump.curves).map(Number);
  const expected = [...Array(47).keys()];
  assert.deepEqual(codes, expected, 'the tool prints codes 0 to 46');
  assert.deepEqual(EASING_CODES, expected, 'the player knows the same codes');
  const failures = [];
  for (const code of codes) {
    const values = dump.curves[code];
    assert.equal(values.length, dump.points);
    const fn = easing(code);
    values.forEach((want, i) => {
      const got = fn(i / (dump.points - 1));
      if (!(Math.abs(got - want) <= 1e-6)) failures.push(`code ${code} at ${i}%: ${got} instead of ${want}`);
    });
  }
  assert.deepEqual(failures, []);
});

test('curves start at 0 and end at 1 (but the sine and cosine waves), and progress is held to 0..1', () => {
  for (const code of EASING_CODES) {
    const fn = easing(code);
    const [start, end] = code === 43 ? [0, 0] : code === 44 ? [0.5, 0.5] : [0, 1];
    assert.ok(Math.abs(fn(0) - start) < 1e-12, `code ${code} at 0`);
    assert.ok(Math.abs(fn(1) - end) < 1e-12, `code ${code} at 1`);
    assert.equal(fn(-3), fn(0), `code ${code} before 0`);
    assert.equal(fn(7), fn(1), `code ${code} after 1`);
  }
});

const cases = [
  // code, progress, value: a few values worked out by hand.
  [0, 0.25, 0.25],
  [1, 0.5, 0.25],
  [2, 0.5, 0.75],
  [3, 0.25, 0.125],
  [4, 0.25, 0.375], // out-in quad: out quad over the first half
  [5, 0.5, 0.125],
  [17, 1, 1],
  [33, 0.5, 0.25 * (2.70158 * 0.5 - 1.70158)],
  [38, 1 / 11 * 4 - 1e-12, 7.5625 * (4 / 11) ** 2],
  [41, 0.75, 0.75], // in curve: the straight line from the middle on
  [42, 0.25, 0.25], // out curve: the straight line up to the middle
  [43, 0.5, 1], // sine wave at its top
  [44, 0.25, 1], // cosine wave at its top
];

test('hand-worked values', () => {
  for (const [code, p, want] of cases) {
    assert.ok(Math.abs(easing(code)(p) - want) < 1e-9, `code ${code} at ${p}: ${easing(code)(p)} instead of ${want}`);
  }
});

test('unknown codes are linear; elastic and back overshoot, bounce stays within 0..1', () => {
  for (const code of [-1, 47, 99, undefined, 'x']) assert.equal(easing(code)(0.3), 0.3);
  const samples = (code) => Array.from({ length: 201 }, (_, i) => easing(code)(i / 200));
  assert.ok(Math.min(...samples(29)) < -0.01, 'in elastic dips below 0');
  assert.ok(Math.max(...samples(30)) > 1.01, 'out elastic rises above 1');
  assert.ok(Math.min(...samples(33)) < -0.05, 'in back pulls back');
  for (const code of [37, 38, 39, 40]) {
    const s = samples(code);
    assert.ok(Math.min(...s) >= -1e-9 && Math.max(...s) <= 1 + 1e-9, `bounce ${code} stays within 0..1`);
  }
});

test('a Bezier chain runs through its end points and an empty chain is linear', () => {
  const fn = bezierEasing([[0.25, 0.25], [0.75, 0.75], [1, 1]]);
  for (const x of [0.1, 0.5, 0.9]) assert.ok(Math.abs(fn(x) - x) < 1e-4, `straight chain at ${x}`);
  const two = bezierEasing([[0.1, 0.2], [0.3, 0.4], [0.5, 0.5], [0.6, 0.6], [0.9, 0.9], [1, 1]]);
  assert.ok(Math.abs(two(0.5) - 0.5) < 1e-4, 'the joint of two segments');
  assert.equal(bezierEasing([])(0.42), 0.42);
});
