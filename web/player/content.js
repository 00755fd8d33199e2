// The content that some element kinds show inside their box: the picture of an image element, the
// page of an HTML widget and the player of an audio or video element.
import { cssLength } from './style.js';

const IMAGE = 0;
const AUDIO = 1;
const VIDEO = 2;
const WIDGET = 3;

const layer = (tag) => {
  const el = document.createElement(tag);
  el.style.cssText = 'position:absolute;left:0;top:0;width:100%;height:100%;border:0;margin:0;';
  return el;
};

// Builds the content of an element into its box and returns the layer that changes are written to:
// the picture of an image element, the media element of audio and video; null for the others.
export function buildContent(data, box, ctx) {
  const kind = Number(data.k);
  const rs = Number(data.rs);
  if (kind === IMAGE) {
    const pic = layer('div');
    pic.className = 'kv-image';
    const url = rs >= 0 ? ctx.resourceUrl(rs) : '';
    if (url) pic.style.backgroundImage = `url("${url.replace(/"/g, '%22')}")`;
    pic.style.backgroundRepeat = 'no-repeat';
    pic.style.pointerEvents = 'none';
    box.appendChild(pic);
    return pic;
  }
  if (kind === WIDGET) {
    const frame = layer('iframe');
    frame.className = 'kv-widget';
    // The editor's stage sandboxes the widget before it loads anything (ctx.widgetSandbox).
    if (typeof ctx.widgetSandbox === 'string') frame.setAttribute('sandbox', ctx.widgetSandbox);
    if (data.useresource === true && rs >= 0) frame.src = ctx.resourceUrl(rs);
    else if (typeof data.url === 'string' && data.url) frame.src = data.url;
    if (typeof data.srcdoc === 'string' && data.srcdoc) frame.srcdoc = data.srcdoc;
    box.appendChild(frame);
    return null;
  }
  if (kind === AUDIO || kind === VIDEO) {
    const media = layer(kind === AUDIO ? 'audio' : 'video');
    media.className = 'kv-media';
    for (const file of ctx.resourceFiles(rs)) {
      const source = document.createElement('source');
      source.src = file;
      media.appendChild(source);
    }
    media.controls = data.ct === true;
    media.loop = data.lo === true;
    media.autoplay = data.ap === true;
    media.preload = data.pl === false ? 'none' : 'auto';
    if (typeof data.vol === 'number') media.volume = Math.max(0, Math.min(1, data.vol / 100));
    if (kind === VIDEO) media.style.objectFit = 'fill';
    box.appendChild(media);
    return media;
  }
  return null;
}

// Position and size of an image in its box from "ir" [x, y, width, height] with animated values laid
// over it.
export function imagePlacement(ir, over = {}) {
  const v = Array.isArray(ir) ? ir : [0, 0, '100%', '100%'];
  const pick = (key, i, fallback) => (over[key] !== undefined ? over[key] : v[i] !== undefined ? v[i] : fallback);
  return {
    backgroundPosition: `${cssLength(pick('iX', 0, 0))} ${cssLength(pick('iY', 1, 0))}`,
    backgroundSize: `${cssLength(pick('iW', 2, '100%'))} ${cssLength(pick('iH', 3, '100%'))}`,
  };
}

// Brings a media element in line with its playback entries: playing (while the document plays and a
// play entry runs) from the position the entries give, or paused there. HTML media cannot reliably
// play backwards: at a negative speed the paused media is moved to the position of every frame.
export function syncMedia(media, position, running, rate) {
  const want = position / 1000;
  if (running && rate > 0) {
    media.playbackRate = rate;
    if (media.paused) {
      media.currentTime = want;
      const started = media.play();
      if (started && started.catch) started.catch(() => {});
    } else if (Math.abs(media.currentTime - want) > 0.25) {
      media.currentTime = want;
    }
    return;
  }
  if (!media.paused) media.pause();
  if (Math.abs(media.currentTime - want) > (running ? 0.01 : 0.05)) media.currentTime = want;
}
