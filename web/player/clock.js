// The page's one clock: a single animation-frame loop that drives every playing document. It runs
// only while something listens, and a long gap between frames (a hidden tab, a busy page) counts as
// one short step, so animations resume where they were instead of jumping ahead.

export const LAG_THRESHOLD = 500;
export const LAG_STEP = 33;

export function createClock(requestFrame, cancelFrame) {
  const listeners = new Set();
  let handle = 0;
  let last = -1;

  function frame(now) {
    handle = 0;
    let dt = last < 0 ? 0 : now - last;
    last = now;
    if (dt > LAG_THRESHOLD) dt = LAG_STEP;
    if (dt < 0) dt = 0;
    for (const fn of Array.from(listeners)) fn(dt, now);
    if (listeners.size) handle = requestFrame(frame);
    else last = -1;
  }

  return {
    add(fn) {
      listeners.add(fn);
      if (!handle) handle = requestFrame(frame);
    },
    remove(fn) {
      listeners.delete(fn);
      if (!listeners.size && handle) {
        cancelFrame(handle);
        handle = 0;
        last = -1;
      }
    },
    // After the page was hidden the next frame starts afresh.
    resync() {
      last = -1;
    },
    get size() {
      return listeners.size;
    },
  };
}
