// The page's single clock, driven by a stand-in for requestAnimationFrame.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createClock, LAG_STEP, LAG_THRESHOLD } from '../player/clock.js';

function fakeFrames() {
  const queue = [];
  let next = 1;
  return {
    request: (fn) => {
      queue.push([next, fn]);
      return next++;
    },
    cancel: (h) => {
      const i = queue.findIndex((q) => q[0] === h);
      if (i >= 0) queue.splice(i, 1);
    },
    // Runs the frames asked for so far at a time stamp.
    run(now) {
      const due = queue.splice(0);
      for (const [, fn] of due) fn(now);
    },
    get pending() {
      return queue.length;
    },
  };
}

test('one frame loop feeds every listener the time since the last frame', () => {
  const frames = fakeFrames();
  const clock = createClock(frames.request, frames.cancel);
  const a = [];
  const b = [];
  clock.add((dt) => a.push(dt));
  clock.add((dt) => b.push(dt));
  assert.equal(frames.pending, 1, 'two listeners share one frame request');
  frames.run(1000);
  frames.run(1016);
  frames.run(1049);
  assert.deepEqual(a, [0, 16, 33]);
  assert.deepEqual(b, [0, 16, 33]);
});

test('a long gap counts as one short step; resync starts afresh', () => {
  const frames = fakeFrames();
  const clock = createClock(frames.request, frames.cancel);
  const seen = [];
  clock.add((dt) => seen.push(dt));
  frames.run(0);
  frames.run(16);
  frames.run(16 + LAG_THRESHOLD + 1000); // the tab was hidden
  frames.run(16 + LAG_THRESHOLD + 1016);
  clock.resync();
  frames.run(9000);
  assert.deepEqual(seen, [0, 16, LAG_STEP, 16, 0]);
});

test('the loop stops when nothing listens and starts again when something does', () => {
  const frames = fakeFrames();
  const clock = createClock(frames.request, frames.cancel);
  const fn = () => clock.remove(fn);
  clock.add(fn);
  frames.run(10);
  assert.equal(frames.pending, 0, 'no frame is asked for after the last listener left');
  const seen = [];
  const other = (dt) => seen.push(dt);
  clock.add(other);
  assert.equal(frames.pending, 1);
  frames.run(5000);
  assert.deepEqual(seen, [0], 'a new start does not count the idle time');
  clock.remove(other);
  assert.equal(frames.pending, 0, 'removing the last listener cancels the frame');
  assert.equal(clock.size, 0);
});
