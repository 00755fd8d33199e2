// The page's way to its canvas object: the web-socket address comes in the page's query
// ("webChannelBaseUrl"), the canvas id as window.canvasId, which the editor sets when it loads the
// page and again when loading has finished (possibly after this script ran).

export function channelUrl(search) {
  const params = new URLSearchParams(search || '');
  return params.get('webChannelBaseUrl') || '';
}

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

// Opens the socket and the channel and resolves with the object "kvcanvas_<id>".
export function openChannel(win, url, id) {
  return new Promise((resolve, reject) => {
    if (!url) {
      reject(new Error('The page was opened without webChannelBaseUrl'));
      return;
    }
    if (typeof win.QWebChannel !== 'function') {
      reject(new Error('qwebchannel.js is not loaded'));
      return;
    }
    const socket = new win.WebSocket(url);
    socket.onerror = () => reject(new Error(`Cannot reach the editor at ${url}`));
    socket.onopen = () => {
      // eslint-disable-next-line no-new
      new win.QWebChannel(socket, (channel) => {
        const name = `kvcanvas_${id}`;
        const object = channel.objects[name];
        if (object) resolve(object);
        else reject(new Error(`The channel holds no object ${name}`));
      });
    };
  });
}
