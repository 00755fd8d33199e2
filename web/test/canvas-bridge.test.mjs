// How the canvas page finds its canvas object: the editor's in-process transport, the canvas id
// that the editor sets on the window before or after the script runs, and clear failures.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openChannel, whenCanvasId } from '../canvas/bridge.js';

test('a canvas id set before, later, or later with a redefined property is taken', async () => {
  assert.equal(await whenCanvasId({ canvasId: 2 }), 2);
  const late = {};
  const waiting = whenCanvasId(late, 5);
  late.canvasId = 0; // not an id yet
  setTimeout(() => (late.canvasId = 3), 10);
  assert.equal(await waiting, 3);
  // A script that defines the property again is still seen, by polling.
  const redefined = {};
  const polled = whenCanvasId(redefined, 5);
  Object.defineProperty(redefined, 'canvasId', { value: 4, configurable: true });
  assert.equal(await polled, 4);
});

function fakeWindow(objects) {
  const transport = { send() {} };
  return {
    qt: { webChannelTransport: transport },
    QWebChannel: function QWebChannel(given, ready) {
      assert.equal(given, transport);
      ready({ objects });
    },
  };
}

test('the channel over the transport gives the object kvcanvas_<id>', async () => {
  const host = { name: 'one' };
  assert.equal(await openChannel(fakeWindow({ kvcanvas_1: host }), 1), host);
});

test('a missing transport, channel script or object fails with a message that says which', async () => {
  await assert.rejects(openChannel({ QWebChannel() {} }, 1), /outside the editor/);
  await assert.rejects(openChannel({ qt: {}, QWebChannel() {} }, 1), /outside the editor/);
  await assert.rejects(openChannel({ qt: { webChannelTransport: {} } }, 1), /qwebchannel\.js is not loaded/);
  await assert.rejects(openChannel(fakeWindow({ kvcanvas_1: {} }), 2), /no object kvcanvas_2/);
});
