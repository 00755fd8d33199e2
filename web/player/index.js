// The player's global object. A data file pushes its document onto DorunKavio.loadedDocs; the load
// script of a page calls DorunKavio.openDoc, which loads the data file, links the document's style
// sheet and plays the document in a container. DorunKavio.getDoc(containerId) gives scripts and tests
// a small controller.
import { createClock } from './clock.js';
import { joinFolder, KavioDocument } from './doc.js';
import { loadingIndicator, preloadImages } from './preloader.js';

const global = window;
const Kavio = global.DorunKavio || {};
Kavio.loadedDocs = Array.isArray(Kavio.loadedDocs) ? Kavio.loadedDocs : [];
const controllers = new Map();
// The script element whose run pushed each document, so that every openDoc takes its own document
// even when several data files load at once.
const pushedBy = new WeakMap();
const plainPush = Kavio.loadedDocs.push;
Kavio.loadedDocs.push = function push(...docs) {
  for (const d of docs) if (d && typeof d === 'object') pushedBy.set(d, document.currentScript);
  return plainPush.apply(this, docs);
};

const clock = createClock(
  (fn) => global.requestAnimationFrame(fn),
  (h) => global.cancelAnimationFrame(h),
);
document.addEventListener('visibilitychange', () => clock.resync());
global.addEventListener('resize', () => {
  for (const c of controllers.values()) if (c.doc) c.doc.fit();
});

// Resolves when the style sheet has loaded (or failed): it may size the container, and the layout
// is picked from the container's size.
function linkStyleSheet(href) {
  if (!href) return Promise.resolve();
  for (const link of document.querySelectorAll('link[rel="stylesheet"]')) {
    if (link.getAttribute('href') === href) return Promise.resolve();
  }
  const link = document.createElement('link');
  link.rel = 'stylesheet';
  link.href = href;
  const loaded = new Promise((resolve) => {
    link.onload = link.onerror = () => resolve();
  });
  document.head.appendChild(link);
  return loaded;
}

function loadScript(src) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = src;
    script.onload = () => resolve(script);
    script.onerror = () => reject(new Error(`Cannot load ${src}`));
    document.head.appendChild(script);
  });
}

function reducedMotion() {
  return !!(global.matchMedia && global.matchMedia('(prefers-reduced-motion: reduce)').matches);
}

// A controller exists from openDoc on; calls made before the document is loaded take effect when it
// is.
function createController(containerId) {
  let pending = [];
  const c = {
    doc: null,
    ready: null,
    play: () => run((d) => d.play()),
    pause: () => run((d) => d.pause()),
    seek: (ms) => run((d) => d.seek(ms)),
    gotoScene: (i) => run((d) => d.gotoScene(i)),
    time: () => (c.doc ? c.doc.now : 0),
    sceneIndex: () => (c.doc ? c.doc.index : -1),
    duration: () => (c.doc ? c.doc.timeline.duration : 0),
    isPlaying: () => !!(c.doc && c.doc.playing),
    // The page node of a named element of the scene shown (for user functions).
    element: (name) => (c.doc ? c.doc.stage.querySelector(`[data-kv-name="${CSS.escape(String(name))}"]`) : null),
    close() {
      if (controllers.get(containerId) === c) controllers.delete(containerId);
      if (c.doc) c.doc.close();
      c.doc = null;
      pending = [];
    },
    attach(doc) {
      c.doc = doc;
      doc.api = c;
      const calls = pending;
      pending = null;
      for (const fn of calls) fn(doc);
    },
  };
  function run(fn) {
    if (c.doc) return fn(c.doc);
    if (pending) pending.push(fn);
    return undefined;
  }
  controllers.set(containerId, c);
  return c;
}

function containerOf(containerId) {
  let container = document.getElementById(containerId);
  if (!container) {
    container = document.createElement('div');
    container.id = containerId;
    document.body.appendChild(container);
  }
  return container;
}

// What shows while the document loads: a preloader document of its own (played in the container,
// its handlers told of the loading: 1 start, 2 progress, 3 complete, 4 and 5 start and end of each
// file), else the loading indicator, else nothing. Returns [stop, raise(code, value)].
function startPreloader(opts, container) {
  const pre = opts.preloaderDoc && typeof opts.preloaderDoc === 'object' ? opts.preloaderDoc : null;
  if (pre && Array.isArray(pre.scenes) && pre.scenes.length) {
    const doc = new KavioDocument(pre, container, { center: opts.center, autofit: opts.autofit }, clock);
    doc.stage.classList.add('kv-preloader');
    doc.begin();
    doc.play();
    return [() => doc.close(), (code, value) => doc.raise(doc.events, code, doc.view, value)];
  }
  const li = pre ? pre.li : opts.preloaderOptions;
  if (!li) return [() => {}, () => {}];
  const indicator = loadingIndicator(li);
  container.appendChild(indicator);
  return [() => indicator.remove(), () => {}];
}

Kavio.openDoc = function openDoc(jsFileName, containerId, options) {
  const opts = options && typeof options === 'object' ? options : {};
  // A container shows one document: opening another one there replaces it.
  const previous = controllers.get(containerId);
  if (previous) previous.close();
  const controller = createController(containerId);
  const [stopPreloader, tell] = startPreloader(opts, containerOf(containerId));
  let files = 1;
  let done = 0;
  const loaded = (url) => {
    tell(5, url);
    tell(2, ++done / files);
  };
  tell(1);
  tell(4, jsFileName);
  controller.ready = loadScript(jsFileName)
    .then((script) => {
      const data = Kavio.loadedDocs.find((d) => pushedBy.get(d) === script);
      if (!data) throw new Error(`${jsFileName} holds no document`);
      const styled = linkStyleSheet(typeof data.cssUrl === 'string' ? data.cssUrl : '');
      const folder = typeof data.resourceFolder === 'string' ? data.resourceFolder : '';
      const images = (Array.isArray(data.resources) ? data.resources : [])
        .filter((r) => Array.isArray(r) && Number(r[1]) === 0 && typeof r[3] === 'string')
        .map((r) => joinFolder(folder, r[3]));
      files += images.length;
      loaded(jsFileName);
      return Promise.all([preloadImages(images, (url) => tell(4, url), loaded), styled]).then(() => data);
    })
    .then((data) => {
      tell(3);
      stopPreloader();
      // A document opened in its place while this one was loading wins.
      if (controllers.get(containerId) !== controller) return controller;
      const doc = new KavioDocument(data, containerOf(containerId), opts, clock);
      // With reduced motion the document rests at the final frame of its first scene.
      const calm = reducedMotion() && !opts.ignoreReducedMotion;
      controller.attach(doc);
      if (calm) {
        doc.calm = true;
        doc.seek(doc.timeline.duration);
      }
      if (opts.playControl) addPlayControl(doc, controller, containerOf(containerId));
      doc.begin();
      if (!calm && !opts.paused) doc.play();
      doc.raise(doc.events, 21, doc.view);
      return controller;
    });
  controller.ready.catch((e) => {
    stopPreloader();
    console.error(e.message);
  });
  return controller;
};

// The pause/play button a project may ask for: people reach it with the keyboard (Tab, then Enter
// or Space) and stop the motion, or start it on a page at rest.
function addPlayControl(doc, controller, container) {
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'kv-play-control';
  button.style.cssText = 'position:absolute;left:4px;bottom:4px;z-index:2147483647;font:12px sans-serif;padding:2px 8px;';
  const label = () => {
    const playing = doc.playing;
    button.textContent = playing ? 'Pause' : 'Play';
    button.setAttribute('aria-label', playing ? 'Pause the animation' : 'Play the animation');
    button.setAttribute('aria-pressed', String(!playing));
  };
  button.addEventListener('click', () => {
    if (doc.playing) controller.pause();
    else {
      doc.calm = false;
      controller.play();
    }
  });
  doc.onPlayState = label;
  if (getComputedStyle(container).position === 'static') container.style.position = 'relative';
  container.appendChild(button);
  label();
}

Kavio.getDoc = (containerId) => controllers.get(containerId) || null;

global.DorunKavio = Kavio;
