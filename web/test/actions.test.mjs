// Event handler lists, the actions they run and the play heads that actions drive, without a page:
// actions run against a scope of stand-ins that record what they are asked to do.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { actionsFor, swipeCode } from '../player/events.js';
import { jumpTransition, runAction, sceneTarget } from '../player/actions.js';
import { crossed, moveTime, Playhead } from '../player/playhead.js';
import { Timeline } from '../player/timeline.js';

test('the actions of an event code in a handler list', () => {
  const list = [[100, [70, 2], [71, 3]], [102, [103, 1]], 'junk', [105]];
  assert.deepEqual(actionsFor(list, 100), [[70, 2], [71, 3]]);
  assert.deepEqual(actionsFor(list, 102), [[103, 1]]);
  assert.deepEqual(actionsFor(list, 105), []);
  assert.equal(actionsFor(list, 101), null);
  assert.equal(actionsFor(undefined, 100), null);
  assert.equal(actionsFor({ 100: [] }, 100), null);
});

test('swipes: far enough and more sideways than up or down', () => {
  const cases = [
    [[-100, 0], 110],
    [[100, 10], 111],
    [[30, 0], 111],
    [[29, 0], 0],
    [[-60, 30], 0],
    [[-61, 30], 110],
    [[0, -200], 0],
  ];
  for (const [[dx, dy], code] of cases) assert.equal(swipeCode(dx, dy), code, `${dx}, ${dy}`);
});

test('scene targets: ids and the relative targets next, previous, last and first', () => {
  const ids = [10, 20, 30];
  const cases = [
    // target, current index, expected index
    [20, 0, 1],
    [99, 0, -1],
    [-2, 0, 1],
    [-2, 2, -1],
    [-3, 1, 0],
    [-3, 0, -1],
    [-4, 0, 2],
    [-5, 2, 0],
    [-1, 1, -1],
    [-6, 1, -1],
  ];
  for (const [target, index, expected] of cases) assert.equal(sceneTarget(target, index, ids), expected, `${target} from ${index}`);
  assert.equal(sceneTarget(-5, -1, []), -1);
});

test('the transition of a jump: the scene own, none, or the action own with unset values defaulted', () => {
  assert.equal(jumpTransition([100, -2]), undefined);
  assert.deepEqual(jumpTransition([100, -2, 0, 0, -1]), [0, 0, 0, 0]);
  assert.deepEqual(jumpTransition([100, 20, 1, 500, 3]), [1, 500, 3, 0]);
  assert.deepEqual(jumpTransition([100, 20, 2, 300, -1, -1]), [2, 300, 0, 0]);
  assert.deepEqual(jumpTransition([100, 20, 2, 300, 7, 3]), [2, 300, 7, 3]);
  assert.deepEqual(jumpTransition([100, 20, 'x', null]), [0, 0, 0, 0]);
});

// A scope whose timelines, symbols, elements and document record the calls they receive.
function fakeScope() {
  const calls = [];
  const head = (name, labels = { half: 500 }) => ({
    playing: false,
    play(rate, reverse) {
      this.playing = true;
      calls.push([name, 'play', rate, reverse]);
    },
    pause() {
      this.playing = false;
      calls.push([name, 'pause']);
    },
    seek(t) {
      if (typeof t === 'string' && !(t in labels)) return false;
      calls.push([name, 'seek', t]);
      return true;
    },
  });
  const heads = { '-1': head('main'), 2: head('side'), 'sym5': head('sym5'), cur: head('current') };
  const node = (id) => ({
    shown: id !== 4,
    set: (k, v) => calls.push([`node${id}`, 'set', k, v]),
    setText: (t) => calls.push([`node${id}`, 'text', t]),
  });
  const media = {
    muted: false,
    volume: 1,
    currentTime: 0,
    duration: 2,
    paused: true,
    play() {},
  };
  const doc = {
    index: 1,
    scenes: [{ id: 10 }, { id: 20 }, { id: 30 }],
    jump: (i, st) => calls.push(['doc', 'jump', i, st]),
    openUrl: (u, w) => calls.push(['doc', 'url', u, w]),
    openClickTag: (u, w) => calls.push(['doc', 'clickTag', u, w]),
    call: (id, e) => calls.push(['doc', 'call', id, e.type]),
    allMedia: () => [media],
    playMedia: (m, rate) => calls.push(['media', 'play', rate, m.currentTime]),
    pauseMedia: (m) => calls.push(['media', 'pause', m.currentTime]),
    mediaPlaying: () => false,
  };
  const scope = {
    doc,
    timeline: (id) => heads[id] || null,
    symbol: (id) => (id === 5 ? heads.sym5 : id === -1 ? heads.cur : null),
    node: (id) => (id === 8 ? { picture: media } : id >= 1 && id <= 4 ? node(id) : null),
  };
  return { scope, calls, media };
}

test('timeline and symbol control: start, play, play from, pause, pause at, toggle, seek', () => {
  const cases = [
    [[1, -1, 2, false], [['main', 'seek', 0], ['main', 'play', 2, false]]],
    [[1, -1, 1, true], [['main', 'seek', Infinity], ['main', 'play', 1, true]]],
    [[2, 2, 0.5, true], [['side', 'play', 0.5, true]]],
    [[3, -1, 'half', 1, false], [['main', 'seek', 'half'], ['main', 'play', 1, false]]],
    [[3, -1, 'none', 1, false], []],
    [[3, -1, 250, 3, true], [['main', 'seek', 250], ['main', 'play', 3, true]]],
    [[3, -1, {}, 1, false], []],
    [[4, 2], [['side', 'pause']]],
    [[5, -1, 'half'], [['main', 'seek', 'half'], ['main', 'pause']]],
    [[6, -1], [['main', 'play', 0, undefined]]],
    [[7, 2, 100], [['side', 'seek', 100]]],
    [[7, 2], []],
    [[2, 99, 1, false], []],
    [[20, 5, 1, false], [['sym5', 'seek', 0], ['sym5', 'play', 1, false]]],
    [[22, -1, 'half', 2, true], [['current', 'seek', 'half'], ['current', 'play', 2, true]]],
    [[23, 5], [['sym5', 'pause']]],
    [[24, 5, 300], [['sym5', 'seek', 300], ['sym5', 'pause']]],
    [[26, 5, 'half'], [['sym5', 'seek', 'half']]],
    [[21, -20, 1, false], []],
  ];
  for (const [action, expected] of cases) {
    const { scope, calls } = fakeScope();
    runAction(scope, action, { type: 100 });
    assert.deepEqual(calls, expected, JSON.stringify(action));
  }
});

test('visibility, scenes, URLs, text, functions and media', () => {
  const cases = [
    [[70, 2], [['node2', 'set', 'd', 0]]],
    [[71, 2], [['node2', 'set', 'd', 1]]],
    [[72, 2], [['node2', 'set', 'd', 0]]],
    [[72, 4], [['node4', 'set', 'd', 1]]],
    [[70, 55], []],
    [[100, -2], [['doc', 'jump', 2, undefined]]],
    [[100, -3, 0, 0, -1], [['doc', 'jump', 0, [0, 0, 0, 0]]]],
    [[100, 30, 2, 400, 1, 3], [['doc', 'jump', 2, [2, 400, 1, 3]]]],
    [[100, 77], []],
    [[101, 'https://example.org/', false], [['doc', 'url', 'https://example.org/', false]]],
    [[101, 'https://example.org/'], [['doc', 'url', 'https://example.org/', true]]],
    [[101, ''], []],
    [[104, 'https://example.org/', false], [['doc', 'clickTag', 'https://example.org/', false]]],
    [[104, 7], [['doc', 'clickTag', '', true]]],
    [[102, 3, 'new'], [['node3', 'text', 'new']]],
    [[102, 3], [['node3', 'text', '']]],
    [[103, 7], [['doc', 'call', 7, 100]]],
    [[41, 8, -0.5], [['media', 'play', -0.5, 0]]],
    [[40, 8, -1], [['media', 'play', -1, 2]]],
    [[42, 8, 1500, 2], [['media', 'play', 2, 1.5]]],
    [[44, 8, 700], [['media', 'pause', 0.7]]],
    [[49, 8], [['media', 'play', undefined, 0]]],
    [[41, 2, 1], []],
  ];
  for (const [action, expected] of cases) {
    const { scope, calls } = fakeScope();
    runAction(scope, action, { type: 100 });
    assert.deepEqual(calls, expected, JSON.stringify(action));
  }
  const { scope, media } = fakeScope();
  runAction(scope, [46, 8, 40], {});
  runAction(scope, [45, 8], {});
  assert.deepEqual([media.volume, media.muted], [0.4, true]);
  runAction(scope, [47, 8], {});
  runAction(scope, [50, 8, 1200], {});
  assert.deepEqual([media.muted, media.currentTime], [false, 1.2]);
  runAction(scope, [48], {});
  assert.equal(media.muted, true);
});

test('unknown codes and damaged actions are passed over without throwing', () => {
  const { scope, calls } = fakeScope();
  for (const a of [[999, 1], [0], [], null, 'x', [null, 1], ['1', -1, 1, false], [8, -1], [60, 2], [105, 1], { 0: 70, 1: 2 }]) {
    assert.doesNotThrow(() => runAction(scope, a, {}), JSON.stringify(a));
  }
  assert.deepEqual(calls, []);
});

const timeline = new Timeline({ id: 1, dur: 1000, l: { half: 500 }, t: [[0, ['a']], [500, ['b']], [500, ['c']], [1000, ['d']]] });
const names = (list) => list.map((t) => t[1][0]).join('');

test('moving along a timeline: the triggers crossed forwards and backwards, and its ends', () => {
  assert.equal(names(crossed(timeline.triggers, 0, 500)), 'bc');
  assert.equal(names(crossed(timeline.triggers, 0, 500, true)), 'abc');
  assert.equal(names(crossed(timeline.triggers, 500, 600)), '');
  assert.equal(names(crossed(timeline.triggers, 1000, 0)), 'bca');
  assert.equal(names(crossed(timeline.triggers, 600, 500)), 'bc');
  assert.equal(names(crossed(timeline.triggers, 500, 400)), '');
  assert.deepEqual(moveTime(timeline, 900, 300, false).now, 1000);
  assert.equal(moveTime(timeline, 900, 300, false).ended, true);
  assert.equal(names(moveTime(timeline, 900, 300, false).crossed), 'd');
  const back = moveTime(timeline, 200, 300, true, true);
  assert.deepEqual([back.now, back.ended, names(back.crossed)], [0, true, 'a']);
  assert.equal(moveTime(timeline, 200, 100, false).ended, false);
});

test('a play head: speed, direction, labels, its events and playing again from its end', () => {
  const seen = [];
  const h = new Playhead(timeline, (code, v) => seen.push(code === 200 ? `200:${v[1][0]}` : v === undefined ? `${code}` : `${code}:${v}`));
  h.step(100);
  assert.equal(h.now, 0, 'a paused head stays');
  h.play(2, false);
  h.step(250);
  assert.deepEqual(seen.splice(0), ['154:2', '151', '200:a', '200:b', '200:c', '150:500']);
  assert.equal(h.seek('nowhere'), false);
  assert.equal(h.now, 500);
  h.play(2, true);
  h.step(100);
  assert.deepEqual(seen.splice(0), ['155:true', '150:300']);
  h.step(1000);
  assert.deepEqual(seen.splice(0), ['200:a', '150:0', '153']);
  assert.equal(h.playing, false);
  // At its start going backwards, playing starts again from the end.
  h.play();
  assert.deepEqual([h.now, h.playing], [1000, true]);
  h.pause();
  h.pause();
  assert.deepEqual(seen.splice(0), ['156:1000', '151', '152']);
  assert.equal(h.seek('half'), true);
  h.play(0, false);
  assert.deepEqual([h.rate, h.reverse], [2, false]);
});
