// Moving a position along a timeline at a speed, forwards or backwards, and the triggers it crosses;
// and the play head of a timeline that event actions control on their own: a scene's other
// timelines and the timeline of a symbol instance.

// Triggers passed when a position moves from one time to another: those in (from, to] going forward
// ([from, to] with fromIncluded), those in [to, from) going backwards, in the order they are met.
export function crossed(triggers, from, to, fromIncluded = false) {
  if (to >= from) return triggers.filter(([t]) => (t > from || (fromIncluded && t === from)) && t <= to);
  return triggers.filter(([t]) => t < from && t >= to).sort((a, b) => b[0] - a[0]);
}

// One step of `step` timeline milliseconds from a position: the new position (held to the
// timeline), the triggers crossed and whether the end of the way (the start when going backwards)
// is reached.
export function moveTime(tl, from, step, reverse, fromIncluded = false) {
  const now = reverse ? Math.max(0, from - step) : Math.min(tl.duration, from + step);
  return { now, crossed: crossed(tl.triggers, from, now, fromIncluded && !reverse), ended: reverse ? now <= 0 : now >= tl.duration };
}

// A new speed (a positive factor; 0 or none keeps the speed) and direction of anything that plays a
// timeline, telling its "Speed Change" and "Reverse" events.
export function changeSpeed(h, rate, reverse) {
  if (rate > 0 && rate !== h.rate) {
    h.rate = rate;
    h.emit(154, rate);
  }
  if (typeof reverse === 'boolean' && reverse !== h.reverse) {
    h.reverse = reverse;
    h.emit(155, reverse);
  }
}

// The play head of one timeline: emit(code, value) tells its timeline events (150 update,
// 151 play, 152 pause, 153 complete, 154 speed, 155 reverse, 156 seek) and 200 with each trigger
// crossed.
export class Playhead {
  constructor(tl, emit) {
    this.tl = tl;
    this.emit = emit || (() => {});
    this.now = 0;
    this.playing = false;
    this.rate = 1;
    this.reverse = false;
    this.atStart = true;
  }

  play(rate, reverse) {
    changeSpeed(this, rate, reverse);
    // At the end of its way it plays it again.
    if (this.reverse ? this.now <= 0 : this.now >= this.tl.duration) this.seek(this.reverse ? this.tl.duration : 0);
    if (this.playing) return;
    this.playing = true;
    this.emit(151);
  }

  pause() {
    if (!this.playing) return;
    this.playing = false;
    this.emit(152);
  }

  // A time in milliseconds or a label name; false (and nothing changes) for an unknown label.
  seek(position) {
    const t = this.tl.resolveTime(position);
    if (t === null) return false;
    this.now = t;
    this.atStart = t === 0;
    this.emit(156, t);
    return true;
  }

  step(dt) {
    if (!this.playing) return;
    const m = moveTime(this.tl, this.now, dt * this.rate, this.reverse, this.atStart && this.now === 0);
    this.now = m.now;
    this.atStart = false;
    for (const trigger of m.crossed) this.emit(200, trigger);
    this.emit(150, this.now);
    if (m.ended && this.playing) {
      this.playing = false;
      this.emit(153);
    }
  }
}
