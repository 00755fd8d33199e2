// The page's way to its canvas object: the channel comes over the web engine's in-process
// transport (qt.webChannelTransport, which only a page the editor shows has; there is no socket to
// reach from outside), the canvas id as window.canvasId, which the editor sets when it loads the
// page and again when loading has finished (possibly after this script ran).

// Resolves with the canvas id as soon as window.canvasId holds a positive number: at once when it
// already does, else when it is set (a setter catches the assignment; polling covers a property
// that was redefined).
export function whenCanvasId(win, pollMs = 50) {
  const valid = (v) => Number.isInteger(Number(v)) && Number(v) > 0;
  if (valid(win.canvasId)) return Promise.resolve(Number(win.canvasId));
  return new Promise((resolve) => {
    let value = win.canvasId;
    let timer = 0;
    const done = (v) => {
      if (timer) clearInterval(timer);
      timer = 0;
      resolve(Number(v));
    };
    try {
      Object.defineProperty(win, 'canvasId', {
        configurable: true,
        enumerable: true,
        get: () => value,
        set: (v) => {
          value = v;
          if (valid(v) && timer) done(v);
        },
      });
    } catch (e) {
      // A property that cannot be redefined is polled.
    }
    timer = setInterval(() => {
      if (valid(win.canvasId)) done(win.canvasId);
    }, pollMs);
  });
}

// Opens the channel over the editor's transport and resolves with the object "kvcanvas_<id>".
export function openChannel(win, id) {
  return new Promise((resolve, reject) => {
    const transport = win.qt && win.qt.webChannelTransport;
    if (!transport) {
      reject(new Error('The page was opened outside the editor: it has no web-channel transport'));
      return;
    }
    if (typeof win.QWebChannel !== 'function') {
      reject(new Error('qwebchannel.js is not loaded'));
      return;
    }
    // eslint-disable-next-line no-new
    new win.QWebChannel(transport, (channel) => {
      const name = `kvcanvas_${id}`;
      const object = channel.objects[name];
      if (object) resolve(object);
      else reject(new Error(`The channel holds no object ${name}`));
    });
  });
}
