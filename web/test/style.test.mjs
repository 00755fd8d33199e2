// CSS of the visual groups as the player data encodes them.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { borderCss, clipCss, cornersCss, fillCss, filterCss, rgba, shadowCss, textCss, transformCss } from '../player/style.js';

test('colours, borders and corners', () => {
  assert.equal(rgba([255, 0, 0, 255]), 'rgba(255,0,0,1)');
  assert.equal(rgba([0, 0, 0, 128]), 'rgba(0,0,0,0.502)');
  assert.equal(rgba(undefined), 'transparent');
  assert.equal(borderCss(1, 2, [0, 0, 0, 255]), '2px solid rgba(0,0,0,1)');
  assert.equal(borderCss(3, 1, [0, 0, 0, 255]), '1px dashed rgba(0,0,0,1)');
  assert.equal(borderCss(0, 5, [0, 0, 0, 255]), 'none');
  // Top-left, top-right, bottom-left, bottom-right become the clockwise CSS order.
  assert.equal(cornersCss([1, 2, 3, '10%']), '1px 2px 10% 3px');
  assert.equal(cornersCss([]), '');
});

test('fills: solid, gradients with animated values, images and none', () => {
  assert.equal(fillCss([1, 74, 134, 232, 255]).backgroundColor, 'rgba(74,134,232,1)');
  assert.equal(fillCss([1, 74, 134, 232, 255], { fc: [0, 0, 0, 0] }).backgroundColor, 'rgba(0,0,0,0)');
  const stops = [[0, 0, 0, 0, 255], [100, 255, 255, 255, 255]];
  assert.equal(fillCss([2, 0, 45, stops]).backgroundImage, 'linear-gradient(45deg,rgba(0,0,0,1) 0%,rgba(255,255,255,1) 100%)');
  assert.match(fillCss([2, 0, 45, stops], { ga: 90 }).backgroundImage, /^linear-gradient\(90deg,/);
  assert.match(fillCss([2, 1, 20, 70, stops, 0, 1]).backgroundImage, /^radial-gradient\(circle farthest-side at 20% 70%,/);
  assert.match(fillCss([2, 1, 20, 70, stops, 1, 3], { gX: 50 }).backgroundImage, /^radial-gradient\(ellipse farthest-corner at 50% 70%,/);
  const image = fillCss([3, 7, 2, 10, 10], {}, (id) => (id === 7 ? 'res/a b.png' : ''));
  assert.deepEqual(image, {
    backgroundColor: 'transparent',
    backgroundImage: 'url("res/a b.png")',
    backgroundSize: 'contain',
    backgroundRepeat: 'no-repeat',
    backgroundPosition: 'center',
  });
  assert.equal(fillCss([3, 7, 3, 10, 10], {}, () => 'x.png').backgroundRepeat, 'repeat');
  assert.equal(fillCss([3]).backgroundImage, 'none', 'an image fill without an image draws nothing');
  assert.equal(fillCss([0]).backgroundColor, 'transparent');
  assert.equal(fillCss([2, 5]).backgroundImage, 'none');
  assert.equal(fillCss('bad').backgroundImage, 'none');
});

test('shadows, filters and clip shapes', () => {
  assert.equal(shadowCss(5, 90, 10, [0, 0, 0, 255]), '0px 10px 5px rgba(0,0,0,1)');
  assert.equal(filterCss([0, 0, 100, 100, 100, 0, 0, 0]), 'none');
  assert.equal(filterCss([50, 90, 120, 80, 200, 10, 100, 3]), 'invert(50%) hue-rotate(90deg) contrast(120%) brightness(80%) saturate(200%) sepia(10%) grayscale(100%) blur(3px)');
  assert.equal(clipCss([1, '10%', 5, 5, 5]), 'inset(10% 5px 5px 5px)');
  assert.equal(clipCss([2, '50%']), 'circle(50% at 50% 50%)');
  assert.equal(clipCss([3, '25%', '50%']), 'ellipse(25% 50% at 50% 50%)');
  assert.equal(clipCss([]), 'none');
});

test('transforms: offsets and translation first, then rotation, skew and scale', () => {
  const none = { dx: 0, dy: 0, tz: 0, rx: 0, ry: 0, rz: 0, kx: 0, ky: 0, sx: 1, sy: 1, sz: 1 };
  assert.equal(transformCss(none), 'none');
  assert.equal(
    transformCss({ ...none, dx: 10, rz: 45, kx: 5, sx: 2 }),
    'translate3d(10px,0px,0px) rotate(45deg) skew(5deg,0deg) scale3d(2,1,1)',
  );
  assert.equal(transformCss({ ...none, rx: 30, ry: 20 }), 'rotateX(30deg) rotateY(20deg)');
});

test('text settings with animated values laid over them', () => {
  const txt = ['<b>Hi</b>', "'Arial'", 18, [67, 67, 67, 255], [0, 0, 0, 0], 'bold', true, true, true, 8, 64, 150, 4, 2, 1];
  const css = textCss(txt, { fz: { v: 30, u: 'px' }, tc: [255, 0, 0, 255] });
  assert.equal(css.fontSize, '30px');
  assert.equal(css.color, 'rgba(255,0,0,1)');
  assert.equal(css.fontWeight, 'bold');
  assert.equal(css.fontStyle, 'italic');
  assert.equal(css.textDecoration, 'underline line-through');
  assert.equal(css.textAlign, 'justify');
  assert.equal(css.justifyContent, 'flex-end');
  assert.equal(css.lineHeight, '1.5');
  assert.equal(css.backgroundColor, '', 'a transparent highlight draws nothing');
  assert.equal(textCss(undefined).fontSize, '18px');
});
