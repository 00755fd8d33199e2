// Event handlers as the data carries them: an owner's list "e" holds one entry per event code,
// [code, action, action, ...]. Pointer and focus events of the page become the codes of elements,
// scenes and the stage; pointer events cover mouse, pen and touch alike.

export const DOM_EVENTS = {
  click: 100,
  dblclick: 101,
  mouseover: 102,
  pointerdown: 103,
  pointermove: 104,
  pointerup: 105,
  mouseout: 106,
  mouseenter: 107,
  mouseleave: 108,
  focus: 109,
};

// The actions an owner's list holds for an event code; null when it has none.
export function actionsFor(list, code) {
  if (Array.isArray(list)) for (const entry of list) if (Array.isArray(entry) && entry[0] === code) return entry.slice(1);
  return null;
}

// The swipe of a pointer that went down and came up dx, dy pixels away: 110 to the left, 111 to
// the right, 0 when the move was too short or not sideways enough.
export function swipeCode(dx, dy) {
  return Math.abs(dx) >= 30 && Math.abs(dx) > 2 * Math.abs(dy) ? (dx < 0 ? 110 : 111) : 0;
}

// Listens on a node of the page for the events its handler list names; raise(code, domEvent) runs
// their actions. Nothing listens when the list names none.
export function listen(el, list, raise) {
  if (!Array.isArray(list)) return;
  const codes = new Set(list.map((x) => Array.isArray(x) && x[0]));
  for (const type in DOM_EVENTS) {
    const code = DOM_EVENTS[type];
    if (codes.has(code)) el.addEventListener(type, (ev) => raise(code, ev));
  }
  if (!codes.has(110) && !codes.has(111)) return;
  // Sideways moves are left to the page's handlers, not to scrolling.
  el.style.touchAction = 'pan-y';
  let start = null;
  el.addEventListener('pointerdown', (ev) => (start = [ev.clientX, ev.clientY]));
  el.addEventListener('pointerup', (ev) => {
    const code = start ? swipeCode(ev.clientX - start[0], ev.clientY - start[1]) : 0;
    start = null;
    if (codes.has(code)) raise(code, ev);
  });
}
