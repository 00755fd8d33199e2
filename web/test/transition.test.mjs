// Scene transitions: the two scene layers at points of a transition.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { sceneTransition, transitionStyles } from '../player/transition.js';

test('the transition of a scene from its player array', () => {
  assert.equal(sceneTransition([0, 0]), null);
  assert.equal(sceneTransition([1, 0, 0]), null, 'no duration, no transition');
  assert.equal(sceneTransition([9, 500]), null);
  assert.equal(sceneTransition(undefined), null);
  const push = sceneTransition([2, 800, 1, 3]);
  assert.deepEqual([push.type, push.duration, push.direction], [2, 800, 3]);
  assert.equal(push.ease(0.5), 0.25, 'easing code 1 is in quad');
  // Wipe, cover and uncover carry only type and duration: linear, from the left.
  const wipe = sceneTransition([3, 400]);
  assert.deepEqual([wipe.direction, wipe.ease(0.3)], [0, 0.3]);
});

test('layer styles by type and direction', () => {
  const table = [
    // type, direction, k, leaving, entering
    [1, 0, 0.25, {}, { opacity: '0.25' }],
    [2, 0, 0.25, { transform: 'translate(200px,0px)' }, { transform: 'translate(-600px,0px)' }],
    [2, 3, 0.5, { transform: 'translate(0px,-300px)' }, { transform: 'translate(0px,300px)' }],
    [3, 0, 0.25, {}, { clipPath: 'inset(0 75% 0 0)' }],
    [3, 7, 0.5, {}, { clipPath: 'inset(50% 0 0 50%)' }],
    [4, 1, 0.5, {}, { transform: 'translate(0px,-300px)' }],
    [5, 2, 0.5, { transform: 'translate(-400px,0px)' }, {}],
  ];
  const none = { transform: '', opacity: '', clipPath: '' };
  for (const [type, dir, k, leaving, entering] of table) {
    const s = transitionStyles(type, dir, k, 800, 600);
    assert.deepEqual(s.leaving, { ...none, ...leaving }, `type ${type} direction ${dir} leaving`);
    assert.deepEqual(s.entering, { ...none, ...entering }, `type ${type} direction ${dir} entering`);
    assert.equal(s.enteringBelow, type === 5);
  }
});
