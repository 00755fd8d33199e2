// Timeline math: tracks from the player entries and their values at any time.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { buildTracks, interpolate, trackValue, Timeline } from '../player/timeline.js';

const entry = (p, t, d, s, e, es) => ({ el: 3, p, t, d, s, e, ...(es === undefined ? {} : { es }) });

function valuesOf(entries, times) {
  const [track] = buildTracks(entries).values();
  return times.map((t) => trackValue(track, t));
}

test('a transition eases from its start to its end value and holds both sides', () => {
  // Opacity 50 to 100 over 0..1000 with in-out quad.
  const v = valuesOf([entry('o', 0, 1000, 50, 100, 3)], [-10, 0, 250, 500, 999, 1000, 5000]);
  assert.deepEqual(v.slice(0, 2), [50, 50]);
  assert.ok(Math.abs(v[2] - (50 + 50 * 0.125)) < 1e-9);
  assert.ok(Math.abs(v[3] - 75) < 1e-9);
  assert.deepEqual(v.slice(5), [100, 100]);
});

test('set entries jump at their own time; before the first entry its start value holds', () => {
  // Display: shown, hidden at 1500, shown again at 3000.
  const entries = [entry('d', 3000, 0, '0', '1'), entry('d', 1500, 0, '1', '0')];
  assert.deepEqual(valuesOf(entries, [0, 1499, 1500, 2999, 3000, 9000]), [1, 1, 0, 0, 1, 1]);
});

test('keys: a jump between a transition and a hold, and a chain of transitions', () => {
  // 0..1000 from 0 to 100 px, then a jump to 300 px at 1000, held.
  const jump = [entry('lt', 0, 1000, '0px', '100px', 0), entry('lt', 1000, 0, '100px', '300px')];
  assert.deepEqual(valuesOf(jump, [500, 999.999, 1000, 1200]).map((x) => Math.round(x.v)), [50, 100, 300, 300]);
  // Two transitions meeting at 1000: the second starts from its own start value there.
  const chain = [entry('w', 0, 1000, '10%', '20%', 0), entry('w', 1000, 1000, '40%', '0%', 0)];
  assert.deepEqual(valuesOf(chain, [500, 1000, 1500, 2500]), [
    { v: 15, u: '%' },
    { v: 40, u: '%' },
    { v: 20, u: '%' },
    { v: 0, u: '%' },
  ]);
});

test('colours interpolate channel by channel in whole numbers, points as numbers', () => {
  const [c] = valuesOf([{ el: 0, p: 'fc', t: 0, d: 100, s: [255, 255, 255, 255], e: [0, 10, 0, 255], es: 0 }], [50]);
  assert.deepEqual(c, [127, 132, 127, 255]);
  const [pt] = valuesOf([entry('pos', 0, 100, [0, 0], [10, 5], 0)], [25]);
  assert.deepEqual(pt, [2.5, 1.25]);
  // Values that cannot be mixed switch at the end.
  assert.equal(interpolate({ v: 1, u: 'px' }, { v: 5, u: '%' }, 0.5).u, 'px');
  assert.equal(interpolate({ v: 1, u: 'px' }, { v: 5, u: '%' }, 1).u, '%');
});

test('entries are grouped by element and property and ordered by time; bad entries are skipped', () => {
  const tracks = buildTracks([
    { el: 1, p: 'o', t: 500, d: 0, s: 100, e: 0 },
    { el: 2, p: 'o', t: 0, d: 0, s: 100, e: 50 },
    { el: 1, p: 'o', t: 0, d: 500, s: 0, e: 100, es: 0 },
    { el: 1, t: 0 },
    null,
    'x',
    { el: 1, p: 'rZ', t: 0, d: 100, s: '0deg', e: '90deg', es: 1000 },
  ]);
  assert.deepEqual([...tracks.keys()], ['1/o', '2/o', '1/rZ']);
  assert.deepEqual(tracks.get('1/o').entries.map((e) => e.t), [0, 500]);
  // An unknown easing code plays linearly.
  assert.deepEqual(trackValue(tracks.get('1/rZ'), 50), { v: 45, u: 'deg' });
  assert.deepEqual(buildTracks('not an array').size, 0);
});

test('a timeline reads the base layout, labels and triggers, and holds seeks to its length', () => {
  const tl = new Timeline({
    id: 4,
    n: 'Intro',
    dur: 2000,
    ra: [
      [1, 0, [{ el: 1, p: 'o', t: 0, d: 0, s: 0, e: 0 }]],
      [0, 0, [{ el: 1, p: 'o', t: 0, d: 1000, s: 0, e: 100, es: 0 }]],
    ],
    l: { start: 0, middle: 1000 },
    t: [[0, []], [500, []], [1500, [{ a: 1 }]], 'bad'],
  });
  assert.equal(tl.name, 'Intro');
  const seen = [];
  tl.valuesAt(250, (el, key, v) => seen.push([el, key, v]));
  assert.deepEqual(seen, [[1, 'o', 25]]);
  assert.equal(tl.resolveTime('middle'), 1000);
  assert.equal(tl.resolveTime('missing'), null);
  assert.equal(tl.resolveTime(-50), 0);
  assert.equal(tl.resolveTime(7000), 2000);
  assert.deepEqual(tl.triggersCrossed(0, 1000).map((t) => t[0]), [500]);
  assert.deepEqual(tl.triggersCrossed(0, 1000, true).map((t) => t[0]), [0, 500], 'a start trigger when asked');
  assert.deepEqual(tl.triggersCrossed(500, 2000).map((t) => t[0]), [1500]);
  // The editing page's form keeps the entries under "anims"; a missing timeline is empty.
  const canvas = new Timeline({ dur: 100, anims: [{ el: 0, p: 'w', t: 0, d: 0, s: '1px', e: '2px' }] });
  assert.equal(canvas.tracks.size, 1);
  const empty = new Timeline(undefined);
  assert.equal(empty.duration, 0);
  assert.equal(empty.tracks.size, 0);
});

test('playback positions of a symbol from its playback entries', async () => {
  const { playbackPosition } = await import('../player/scene.js');
  const entries = [
    { t: 500, d: 1000, a: [1, 0, 1] },
    { t: 1500, d: 0, a: [4, 1000] },
    { t: 2000, d: 500, a: [3, 1800, -2] }, // backwards at double speed from 1800
    { t: 3000, d: 0, a: [5, 9000] }, // a position beyond the end is held to it
  ];
  const at = (t, autoplay = false) => playbackPosition(entries, t, 2000, autoplay);
  assert.deepEqual([0, 499, 500, 1000, 1499, 1500, 1999].map((t) => at(t)), [0, 0, 0, 500, 999, 1000, 1000]);
  assert.deepEqual([2000, 2250, 2500, 2900, 3000].map((t) => at(t)), [1800, 1300, 800, 800, 2000]);
  assert.equal(at(300, true), 300, 'an autoplaying symbol runs before its first entry');
  assert.equal(playbackPosition([], 5000, 2000, true), 2000);
  assert.equal(playbackPosition([], 5000, 2000, false), 0);
});
