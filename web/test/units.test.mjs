// Lengths and values of the player data: pixels, percent and ratio units, and the anchors.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { anchorSides, boxSize, num, parseLength, parseValue, toPixels } from '../player/units.js';
import { joinFolder } from '../player/doc.js';

test('values of animation entries keep their unit', () => {
  const table = [
    [12, 12],
    ['120px', { v: 120, u: 'px' }],
    ['-4px', { v: -4, u: 'px' }],
    ['12.5%', { v: 12.5, u: '%' }],
    ['45deg', { v: 45, u: 'deg' }],
    ['1', 1],
    ['1e3px', { v: 1000, u: 'px' }],
    ['.5%', { v: 0.5, u: '%' }],
    [[255, 0, 0, 255], [255, 0, 0, 255]],
    ['auto', 'auto'],
    [null, 0],
    [undefined, 0],
    [{ v: 3, u: 'px' }, { v: 3, u: 'px' }],
  ];
  for (const [input, want] of table) assert.deepEqual(parseValue(input), want, JSON.stringify(input));
});

test('the number of a value, whatever its unit', () => {
  assert.equal(num(7), 7);
  assert.equal(num({ v: 9, u: 'deg' }), 9);
  assert.equal(num('30px'), 30);
  assert.equal(num('none'), 0);
  assert.equal(num(undefined), 0);
});

test('lengths: pixels, percent of the parent and ratios', () => {
  assert.deepEqual(parseLength(300), { v: 300, u: 'px' });
  assert.deepEqual(parseLength('50%'), { v: 50, u: '%' });
  assert.deepEqual(parseLength('150a'), { v: 150, u: 'a' });
  assert.deepEqual(parseLength('nonsense'), { v: 0, u: 'px' });
  assert.equal(toPixels(parseLength('25%'), 800), 200);
  assert.equal(toPixels(parseLength(40), 800), 40);
  assert.equal(toPixels(undefined, 800), 0);
});

test('box sizes with ratio units', () => {
  const table = [
    // width, height, parent width, parent height, [w, h]
    [200, 100, 800, 600, [200, 100]],
    ['50%', '25%', 800, 600, [400, 150]],
    ['150a', 100, 800, 600, [150, 100]], // an auto width is the height times the ratio
    [300, '200a', 800, 600, [300, 150]], // an auto height is the width divided by the ratio
    [300, '0a', 800, 600, [300, 0]], // a zero ratio gives no height
    ['50%', '100a', 800, 600, [400, 400]],
    ['100a', '100a', 800, 600, [0, 0]],
  ];
  for (const [w, h, pw, ph, want] of table) {
    assert.deepEqual(boxSize(parseLength(w), parseLength(h), pw, ph), want, `${w} x ${h}`);
  }
});

test('the four coordinate types measure from their corners', () => {
  assert.deepEqual(anchorSides(0), ['left', 'top']);
  assert.deepEqual(anchorSides(1), ['right', 'top']);
  assert.deepEqual(anchorSides(2), ['right', 'bottom']);
  assert.deepEqual(anchorSides(3), ['left', 'bottom']);
  assert.deepEqual(anchorSides(17), ['left', 'top']);
});

test('the resource folder joins with or without its trailing slash', () => {
  assert.equal(joinFolder('promo_res', 'a.png'), 'promo_res/a.png');
  assert.equal(joinFolder('promo_res/', 'a.png'), 'promo_res/a.png');
  assert.equal(joinFolder('../', 'a.png'), '../a.png');
  assert.equal(joinFolder('', 'a.png'), 'a.png');
});

test('the values of a layout: the base with the layout laid over it, reset keys back to defaults', async () => {
  const { layoutProps } = await import('../player/node.js');
  const data = {
    rp: [
      [0, 0, { r: [1, 2, 3, 4, 0], o: 50, cl: 'a' }],
      [1, 0, { r: [5, 6, 7, 8, 0], or: ['o', 'cl'] }],
      [0, 2, { o: 20 }],
      'damaged',
    ],
  };
  assert.deepEqual(layoutProps(data), { r: [1, 2, 3, 4, 0], o: 50, cl: 'a' });
  assert.deepEqual(layoutProps(data, [1, 0]), { r: [5, 6, 7, 8, 0] });
  assert.deepEqual(layoutProps(data, [0, 2]), { r: [1, 2, 3, 4, 0], o: 20, cl: 'a' });
  assert.deepEqual(layoutProps(data, [3, 3]), layoutProps(data), 'a layout without values shows the base');
  assert.deepEqual(layoutProps({ rp: [] }), {});
  const canvasForm = { r: [0, 0, 1, 1, 0] };
  assert.equal(layoutProps(canvasForm), canvasForm, 'the editing page writes the values into the element');
});
