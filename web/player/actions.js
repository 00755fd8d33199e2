// Carrying out the actions of event handlers. An action is an array: its code, then its parameters
// in the order the designer writes them. Actions run in a scope, the scene or symbol whose handler
// runs them: scope.timeline(id) and scope.symbol(id) give what plays a timeline (play, pause, seek,
// playing), scope.node(id) an element of the scope, scope.doc the document. Targets that do not
// exist and codes this player does not know are passed over.

const num = (v, d) => (typeof v === 'number' && Number.isFinite(v) ? v : d);

// The scene index a "Jump To Scene" names among scenes of these ids, seen from the scene shown:
// a scene id, or -2 the next scene, -3 the previous, -4 the last, -5 the first; -1 for none.
export function sceneTarget(target, index, ids) {
  const n = ids.length;
  const i = target === -2 ? index + 1 : target === -3 ? index - 1 : target === -4 ? n - 1 : target === -5 ? 0 : ids.indexOf(target);
  return i >= 0 && i < n ? i : -1;
}

// The transition of a jump in the form a scene carries ("st": type, duration, easing, direction),
// or undefined when the target scene's own transition applies. Type 0 enters without one; the
// easing and direction the designer leaves unset (-1) are linear and from the left.
export function jumpTransition(a) {
  if (a.length < 3) return undefined;
  return [num(a[2], 0), num(a[3], 0), Math.max(0, num(a[4], 0)), Math.max(0, num(a[5], 0))];
}

// Timeline and symbol control, kind 1 start, 2 play, 3 play from, 4 pause, 5 pause at, 6 toggle,
// 7 seek; p holds the parameters after the target. A time field holds milliseconds or a label name.
function control(head, kind, p) {
  if (!head) return;
  const timed = kind === 3 || kind === 5 || kind === 7;
  const [rate, reverse] = kind === 3 ? [p[1], p[2]] : [p[0], p[1]];
  if (timed && !((typeof p[0] === 'string' || Number.isFinite(p[0])) && head.seek(p[0]))) return;
  if (kind === 1) head.seek(reverse === true ? Infinity : 0);
  if (kind <= 3 || (kind === 6 && !head.playing)) head.play(num(rate, 0), kind <= 3 ? reverse === true : undefined);
  else if (kind !== 7) head.pause();
}

function media(scope, code, p) {
  const doc = scope.doc;
  if (code === 48) {
    for (const m of doc.allMedia()) m.muted = true;
    return;
  }
  const node = scope.node(p[0]);
  const m = node && node.picture;
  if (!m || typeof m.play !== 'function') return;
  // From now on the handlers decide what the media does, not its playback entries.
  node.manual = true;
  const seconds = (ms) => Math.max(0, num(ms, 0) / 1000);
  switch (code) {
    case 40:
      m.currentTime = num(p[1], 1) < 0 ? m.duration || 0 : 0;
      doc.playMedia(m, num(p[1], 1));
      break;
    case 41:
      doc.playMedia(m, num(p[1], 1));
      break;
    case 42:
      m.currentTime = seconds(p[1]);
      doc.playMedia(m, num(p[2], 1));
      break;
    case 44:
      m.currentTime = seconds(p[1]);
    // falls through
    case 43:
      doc.pauseMedia(m);
      break;
    case 45:
      m.muted = true;
      break;
    case 46:
      m.volume = Math.max(0, Math.min(1, num(p[1], 100) / 100));
      break;
    case 47:
      m.muted = !m.muted;
      break;
    case 49:
      if (doc.mediaPlaying(m)) doc.pauseMedia(m);
      else doc.playMedia(m);
      break;
    case 50:
      m.currentTime = seconds(p[1]);
      break;
    case 51:
      if (m.requestFullscreen) Promise.resolve(m.requestFullscreen()).catch(() => {});
      doc.playMedia(m);
      break;
    default:
      break;
  }
}

// Runs one action in a scope; e is the event that started it, handed on to user functions.
export function runAction(scope, a, e) {
  if (!Array.isArray(a) || typeof a[0] !== 'number') return;
  const code = a[0];
  const p = a.slice(1);
  const doc = scope.doc;
  if (code >= 1 && code <= 7) control(scope.timeline(num(p[0], -1)), code, p.slice(1));
  else if (code >= 20 && code <= 26) control(scope.symbol(num(p[0], -20)), code - 19, p.slice(1));
  else if (code >= 40 && code <= 51) media(scope, code, p);
  else if (code >= 70 && code <= 72) {
    const node = scope.node(p[0]);
    if (node) node.set('d', code === 71 || (code === 72 && !node.shown) ? 1 : 0);
  } else if (code === 100) {
    const i = sceneTarget(num(p[0], -2), doc.index, doc.scenes.map((s) => s.id));
    if (i >= 0) doc.jump(i, jumpTransition(a));
  } else if (code === 101 && typeof p[0] === 'string' && p[0]) doc.openUrl(p[0], p[1] !== false);
  else if (code === 104) doc.openClickTag(typeof p[0] === 'string' ? p[0] : '', p[1] !== false);
  else if (code === 102) {
    const node = scope.node(p[0]);
    if (node) node.setText(typeof p[1] === 'string' ? p[1] : '');
  } else if (code === 103) doc.call(p[0], e);
}
