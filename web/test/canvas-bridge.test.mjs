// How the canvas page finds its canvas object: the socket address from its query, the canvas id
// that the editor sets on the window before or after the script runs, and clear failures.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { channelUrl, openChannel, whenCanvasId } from '../canvas/bridge.js';

test('the socket address comes from webChannelBaseUrl of the query', () => {
  assert.equal(channelUrl('?webChannelBaseUrl=ws%3A%2F%2F127.0.0.1%3A4321'), 'ws://127.0.0.1:4321');
  assert.equal(channelUrl('?a=1&webChannelBaseUrl=ws://localhost:9'), 'ws://localhost:9');
  assert.equal(channelUrl(''), '');
});

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

function fakeWindow(objects, { failSocket = false } = {}) {
  return {
    WebSocket: class {
      constructor(url) {
        this.url = url;
        setTimeout(() => (failSocket ? this.onerror && this.onerror() : this.onopen && this.onopen()), 0);
      }
    },
    QWebChannel: function QWebChannel(socket, ready) {
      ready({ objects });
    },
  };
}

test('the channel gives the object kvcanvas_<id>', async () => {
  const host = { name: 'one' };
  assert.equal(await openChannel(fakeWindow({ kvcanvas_1: host }), 'ws://127.0.0.1:1', 1), host);
});

test('a missing address, channel script, socket or object fails with a message that says which', async () => {
  await assert.rejects(openChannel(fakeWindow({}), '', 1), /without webChannelBaseUrl/);
  await assert.rejects(openChannel({ WebSocket: class {} }, 'ws://127.0.0.1:1', 1), /qwebchannel\.js is not loaded/);
  await assert.rejects(openChannel(fakeWindow({}, { failSocket: true }), 'ws://127.0.0.1:1', 1), /Cannot reach the editor at ws:\/\/127\.0\.0\.1:1/);
  await assert.rejects(openChannel(fakeWindow({ kvcanvas_1: {} }), 'ws://127.0.0.1:1', 2), /no object kvcanvas_2/);
});
