// The canvas page's script: waits for its canvas id, opens the channel to the editor, binds the
// canvas object's signals to the stage and asks for the scene. window.kvCanvasPage gives scripts
// run by the editor's tests the page's own state and gestures.
import { openChannel, whenCanvasId } from './bridge.js';
import { CanvasPage } from './page.js';
import { toolFor } from './drawing.js';
import { testHook } from './testhook.js';

// Connects every signal the page listens to. The channel lists each signal under its name and
// under its signature; overloads share the name. Connecting by every signature reaches each
// overload exactly once; without signatures the name is used.
export function bind(host, page) {
  const on = (name, fn) => {
    const signatures = Object.keys(host).filter((k) => k.startsWith(`${name}(`));
    for (const key of signatures.length ? signatures : [name]) {
      const signal = host[key];
      if (signal && typeof signal.connect === 'function') signal.connect(fn);
    }
  };
  const draw = (signal) => (id) => {
    page.gestures.cancel();
    page.text.stop();
    page.tool = toolFor(signal, id);
    page.viewport.style.cursor = page.tool ? 'crosshair' : '';
  };
  on('currentSceneChanged', (has, text) => page.setScene(has === true, text));
  on('dataChangedToJS', (text) => page.applyMessage(text));
  on('play', (ts) => page.play(ts));
  on('pause', (ts) => page.pause(ts));
  on('setCurrentTime', (t) => page.seek(t));
  on('autoKeyframeModeChanged', (b) => (page.autoKeyframe = b === true));
  on('insertRectangle', draw('insertRectangle'));
  on('insertRoundedRect', draw('insertRoundedRect'));
  on('insertEllipse', draw('insertEllipse'));
  on('insertShape', draw('insertShape'));
  on('cancelBuildingItem', () => {
    page.gestures.cancel();
    page.gestures.draw.end();
  });
  on('startEditText', (id) => page.text.start(Number(id)));
  on('stopEditText', () => page.text.stop());
  on('editPoint', (id, b) => {
    page.pointEditing = b === true ? Number(id) : -1;
    page.gestures.points.index = -1;
    page.drawOverlay();
  });
  on('openPath', (id, b) => page.gestures.points.openPath(Number(id), b === true));
  on('straightSegment', (id) => page.gestures.points.straightSegment(Number(id)));
  on('zoomFactorChanged', (z) => page.setZoom(z));
  on('fitToViewportChanged', (b) => {
    page.fit = b === true;
    if (page.fit) page.fitToViewport();
  });
  on('snapEnabledChanged', (b) => (page.snap = b === true));
  on('rulerVisibilityChanged', (b) => {
    page.rulerVisible = b === true;
    page.rulers.show(page.rulerVisible);
    page.drawOverlay();
  });
  on('containerHandlerVisibilityChanged', (b) => {
    page.containerHandler = b === true;
    page.drawOverlay();
  });
  on('transformToolChanged', (t) => (page.transformTool = Number(t) || 0));
  on('editTextOnSingleClicked', (b) => (page.editTextOnSingleClick = b === true));
  on('execTextEditorCommand', (name, value) => page.text.exec(name, value));
  on('requestSendCurrentTextFormat', () => page.text.reportFormat());
  on('finishAllTask', () => {
    // Work in progress ends before the editor goes on: text being edited is handed back.
    page.text.stop();
    page.gestures.cancel();
    page.flush();
    page.call('onAllTaskFinished');
  });
  on('needRepaint', () => page.flush());
  on('needUpdateScenePos', () => page.placeWorld());
  on('textEditShortcutsChanged', (s) => (page.textShortcuts = String(s)));
  on('changeStageView', (mode) => (page.viewMode = Number(mode) || 0));
}

export function start(win = window) {
  const base = new URLSearchParams(win.location.search).get('resourceBase');
  return whenCanvasId(win)
    .then((id) => openChannel(win, id))
    .then((host) => {
      const page = new CanvasPage(host, document.body, base !== null ? { resourceBase: base } : {});
      bind(host, page);
      win.kvCanvasPage = testHook(page);
      win.addEventListener('resize', () => page.fit && page.fitToViewport());
      // The editor's placeholder for empty text boxes, in its language.
      if (typeof host.getDoubleClickToEditText === 'function') {
        host.getDoubleClickToEditText((text) => {
          page.placeholder = typeof text === 'string' ? text : '';
          if (page.model) page.rebuild();
        });
      }
      host.sendSceneDataToJS();
      return page;
    })
    .catch((e) => {
      console.error(`Kavio canvas: ${e.message}`);
      throw e;
    });
}

start().catch(() => {});
