// Easing curves, numbered as the editor numbers them (the toolkit's easing types), computed the way
// the editor's keyframe segments compute them so that a page shows the values the editor shows.

const PI = Math.PI;
const HALF_PI = PI / 2;
// The in-out back curve scales its overshoot by this single-precision constant.
const BACK_IN_OUT = Math.fround(1.525);
const OVERSHOOT = 1.70158;
const AMPLITUDE = 1;
const PERIOD = 0.3;

const inQuad = (t) => t * t;
const outQuad = (t) => -t * (t - 2);
const inOutQuad = (t) => {
  t *= 2;
  if (t < 1) return (t * t) / 2;
  --t;
  return -0.5 * (t * (t - 2) - 1);
};
const inCubic = (t) => t * t * t;
const outCubic = (t) => {
  t -= 1;
  return t * t * t + 1;
};
const inOutCubic = (t) => {
  t *= 2;
  if (t < 1) return 0.5 * t * t * t;
  t -= 2;
  return 0.5 * (t * t * t + 2);
};
const inQuart = (t) => t * t * t * t;
const outQuart = (t) => {
  t -= 1;
  return -(t * t * t * t - 1);
};
const inOutQuart = (t) => {
  t *= 2;
  if (t < 1) return 0.5 * t * t * t * t;
  t -= 2;
  return -0.5 * (t * t * t * t - 2);
};
const inQuint = (t) => t * t * t * t * t;
const outQuint = (t) => {
  t -= 1;
  return t * t * t * t * t + 1;
};
const inOutQuint = (t) => {
  t *= 2;
  if (t < 1) return 0.5 * t * t * t * t * t;
  t -= 2;
  return 0.5 * (t * t * t * t * t + 2);
};
const inSine = (t) => (t === 1 ? 1 : 1 - Math.cos(t * HALF_PI));
const outSine = (t) => Math.sin(t * HALF_PI);
const inOutSine = (t) => -0.5 * (Math.cos(PI * t) - 1);
const inExpo = (t) => (t === 0 || t === 1 ? t : Math.pow(2, 10 * (t - 1)) - 0.001);
const outExpo = (t) => (t === 1 ? 1 : 1.001 * (1 - Math.pow(2, -10 * t)));
const inOutExpo = (t) => {
  if (t === 0) return 0;
  if (t === 1) return 1;
  t *= 2;
  if (t < 1) return 0.5 * Math.pow(2, 10 * (t - 1)) - 0.0005;
  return 0.5 * 1.0005 * (2 - Math.pow(2, -10 * (t - 1)));
};
const inCirc = (t) => -(Math.sqrt(1 - t * t) - 1);
const outCirc = (t) => {
  t -= 1;
  return Math.sqrt(1 - t * t);
};
const inOutCirc = (t) => {
  t *= 2;
  if (t < 1) return -0.5 * (Math.sqrt(1 - t * t) - 1);
  t -= 2;
  return 0.5 * (Math.sqrt(1 - t * t) + 1);
};

// Elastic curves with begin b, change c and the amplitude and period of the toolkit's defaults.
function elasticPhase(a, c, p) {
  return a < Math.abs(c) ? [c, p / 4] : [a, (p / (2 * PI)) * Math.asin(c / a)];
}
function inElasticPart(t, b, c, a = AMPLITUDE, p = PERIOD) {
  if (t === 0) return b;
  if (t === 1) return b + c;
  const [amp, s] = elasticPhase(a, c, p);
  t -= 1;
  return -(amp * Math.pow(2, 10 * t) * Math.sin(((t - s) * 2 * PI) / p)) + b;
}
function outElasticPart(t, b, c, a = AMPLITUDE, p = PERIOD) {
  if (t === 0) return b;
  if (t === 1) return b + c;
  const [amp, s] = elasticPhase(a, c, p);
  return amp * Math.pow(2, -10 * t) * Math.sin(((t - s) * 2 * PI) / p) + c + b;
}
function inOutElastic(t, a = AMPLITUDE, p = PERIOD) {
  if (t === 0) return 0;
  t *= 2;
  if (t === 2) return 1;
  const [amp, s] = elasticPhase(a, 1, p);
  if (t < 1) return -0.5 * (amp * Math.pow(2, 10 * (t - 1)) * Math.sin(((t - 1 - s) * 2 * PI) / p));
  return amp * Math.pow(2, -10 * (t - 1)) * Math.sin(((t - 1 - s) * 2 * PI) / p) * 0.5 + 1;
}

const inBack = (t, s = OVERSHOOT) => t * t * ((s + 1) * t - s);
const outBack = (t, s = OVERSHOOT) => {
  t -= 1;
  return t * t * ((s + 1) * t + s) + 1;
};
const inOutBack = (t, s = OVERSHOOT) => {
  t *= 2;
  s *= BACK_IN_OUT;
  if (t < 1) return 0.5 * (t * t * ((s + 1) * t - s));
  t -= 2;
  return 0.5 * (t * t * ((s + 1) * t + s) + 2);
};

function outBouncePart(t, c, a = AMPLITUDE) {
  if (t === 1) return c;
  if (t < 4 / 11) return c * (7.5625 * t * t);
  if (t < 8 / 11) {
    t -= 6 / 11;
    return -a * (1 - (7.5625 * t * t + 0.75)) + c;
  }
  if (t < 10 / 11) {
    t -= 9 / 11;
    return -a * (1 - (7.5625 * t * t + 0.9375)) + c;
  }
  t -= 21 / 22;
  return -a * (1 - (7.5625 * t * t + 0.984375)) + c;
}
const outBounce = (t) => outBouncePart(t, 1);
const inBounce = (t) => 1 - outBouncePart(1 - t, 1);
const inOutBounce = (t) => (t < 0.5 ? inBounce(2 * t) / 2 : t === 1 ? 1 : outBounce(2 * t - 1) / 2 + 0.5);
const outInBounce = (t) => (t < 0.5 ? outBouncePart(t * 2, 0.5) : 1 - outBouncePart(2 - 2 * t, 0.5));

// The "out, then in" variants run the out curve over the first half and the in curve over the second.
const outIn = (outFn, inFn) => (t) => (t < 0.5 ? outFn(2 * t) / 2 : inFn(2 * t - 1) / 2 + 0.5);

// A chain of cubic Bezier segments from (0, 0) to (1, 1); the value at x is the y of the point whose
// x is x on the segment that covers x. The parameter for x is found the way the editor finds it: by
// Cardano's formula with its fast approximations of the cube root and of cos(acos(g) / 3), so the
// page reproduces the editor's values to the last few digits rather than the ideal curve.
const cbrtView = new DataView(new ArrayBuffer(8));

function roughCbrt(d) {
  // A first guess from the exponent bits: a third of the high word plus a bias, low word cleared.
  cbrtView.setFloat64(0, d);
  const high = cbrtView.getUint32(0);
  cbrtView.setUint32(0, (Math.floor(high / 3) + 715094163) >>> 0);
  cbrtView.setUint32(4, 0);
  return cbrtView.getFloat64(0);
}

function cbrt(d) {
  const sign = d < 0 ? -1 : 1;
  d *= sign;
  let t = roughCbrt(d);
  // One step of Halley's method.
  const t3 = t * t * t;
  const f = t3 + t3 + d;
  if (f !== 0) t = (t * (t3 + d + d)) / f;
  return t * sign;
}

const inRange = (t) => t >= -0.01 && t <= 1.01;
const almostZero = (v) => v > -1e-3 && v < 1e-3;

function cubicRoot(a, b, c) {
  if (c < 0.000001 && c > -0.000001) return 0;
  const aBy3 = a / 3;
  const p = b - a * aBy3;
  const q = (2 * a * a * a) / 27 - (a * b) / 3 + c;
  const disc = 0.25 * q * q + (p * p * p) / 27;
  if (disc >= 0) {
    const root = Math.sqrt(disc);
    const u = cbrt(-q * 0.5 + root);
    const v = cbrt(-q * 0.5 - root);
    const t1 = u + v - aBy3;
    return inRange(t1) ? t1 : -u - aBy3;
  }
  // Three real roots: cos(acos(g) / 3) and its two shifted companions by polynomial approximations.
  const pm = Math.sqrt(-p);
  const f = Math.sqrt(4 / 3) * pm;
  const g = -q * 0.5 * ((-3 * Math.sqrt(3)) / (pm * p));
  const g2 = g * g;
  const gp = Math.sqrt(1 + g);
  const gm = Math.sqrt(1 - g);
  const s1 = 0.463614 - 0.0347815 * g + 0.00218245 * g2 + 0.402421 * gp;
  const s3 = 0.463614 + 0.402421 * gm + 0.0347815 * g + 0.00218245 * g2;
  const s2 = -0.401644 * gm - 0.0686804 * g + 0.401644 * gp;
  const t1 = -f * s2 - aBy3;
  if (inRange(t1)) return t1;
  const t2 = f * s1 - aBy3;
  if (inRange(t2)) return t2;
  return -f * s3 - aBy3;
}

function parameterForX(s, x) {
  const [p0, , p1, , p2, , p3] = s;
  const k3 = p3 - p0 + 3 * p1 - 3 * p2;
  const k2 = 3 * p0 - 6 * p1 + 3 * p2;
  const k1 = -3 * p0 + 3 * p1;
  const k0 = p0 - x;
  if (!almostZero(k3)) return cubicRoot(k2 / k3, k1 / k3, k0 / k3);
  if (almostZero(k2)) return almostZero(k1) ? 0 : -k0 / k1;
  const disc = k1 * k1 - 4 * k2 * k0;
  if (disc < 0) return 0;
  if (disc === 0) return -k1 / (2 * k2);
  const r1 = (-k1 + Math.sqrt(disc)) / (2 * k2);
  if (r1 >= 0 && r1 <= 1) return r1;
  const r2 = (-k1 - Math.sqrt(disc)) / (2 * k2);
  return r2 >= 0 && r2 <= 1 ? r2 : 0;
}

export function bezierEasing(points) {
  const segs = [];
  let x0 = 0;
  let y0 = 0;
  for (let i = 0; i + 2 < points.length; i += 3) {
    const [c1, c2, end] = [points[i], points[i + 1], points[i + 2]];
    segs.push([x0, y0, c1[0], c1[1], c2[0], c2[1], end[0], end[1]]);
    [x0, y0] = end;
  }
  return (x) => {
    if (!segs.length) return x;
    if (!(x > 0)) return 0;
    if (!(x < 1)) return 1;
    const seg = segs.find((s) => x <= s[6]) || segs[segs.length - 1];
    const t = parameterForX(seg, x);
    const u = 1 - t;
    return u * u * u * seg[1] + 3 * u * u * t * seg[3] + 3 * u * t * t * seg[5] + t * t * t * seg[7];
  };
}

// Kochanek-Bartels points [x, y, tension, continuity, bias] turned into the Bezier chain above.
export function tcbToBezier(pts) {
  const out = [];
  for (let i = 1; i < pts.length; ++i) {
    const [x0, y0, t0, c0] = pts[i - 1];
    const [x3, y3, t1, c1] = pts[i];
    const prev = i > 1 ? pts[i - 2] : [0, 0];
    const next = i < pts.length - 1 ? pts[i + 1] : [0, 0];
    const b0 = i > 1 ? pts[i - 1][4] : -1;
    const b1 = i < pts.length - 1 ? pts[i][4] : 1;
    const d0 = (k, p0, p3, pm) =>
      0.5 * (1 - t0) * ((1 + b0) * (1 + c0) * (p0 - pm) + (1 - b0) * (1 - c0) * (p3 - p0));
    const d1 = (k, p0, p3, pn) =>
      0.5 * (1 - t1) * ((1 + b1) * (1 - c1) * (p3 - p0) + (1 - b1) * (1 + c1) * (pn - p3));
    const dx0 = d0(0, x0, x3, prev[0]);
    const dy0 = d0(1, y0, y3, prev[1]);
    const dx1 = d1(0, x0, x3, next[0]);
    const dy1 = d1(1, y0, y3, next[1]);
    out.push([x0 + dx0 / 3, y0 + dy0 / 3], [x3 - dx1 / 3, y3 - dy1 / 3], [x3, y3]);
  }
  return out;
}

const CURVES = [
  (t) => t,
  inQuad, outQuad, inOutQuad, outIn(outQuad, inQuad),
  inCubic, outCubic, inOutCubic, outIn(outCubic, inCubic),
  inQuart, outQuart, inOutQuart, outIn(outQuart, inQuart),
  inQuint, outQuint, inOutQuint, outIn(outQuint, inQuint),
  inSine, outSine, inOutSine, outIn(outSine, inSine),
  inExpo, outExpo, inOutExpo, outIn(outExpo, inExpo),
  inCirc, outCirc, inOutCirc, outIn(outCirc, inCirc),
  (t) => inElasticPart(t, 0, 1),
  (t) => outElasticPart(t, 0, 1),
  (t) => inOutElastic(t),
  (t) => (t < 0.5 ? outElasticPart(t * 2, 0, 0.5) : inElasticPart(2 * t - 1, 0.5, 0.5)),
  (t) => inBack(t), (t) => outBack(t), (t) => inOutBack(t), outIn(outBack, inBack),
  inBounce, outBounce, inOutBounce, outInBounce,
];

// The toolkit's own curves. In and out curves mix a half sine wave with the straight line: the sine
// alone near the slow end, the line alone from the middle on. The sine and cosine curves are full
// waves that do not end at 1: the sine returns to 0, the cosine starts and ends at 0.5.
const sineProgress = (t) => Math.sin(t * PI - HALF_PI) / 2 + 0.5;
const smoothMix = (t) => Math.min(Math.max(1 - t * 2 + 0.3, 0), 1);
CURVES[41] = (t) => {
  const mix = smoothMix(t);
  return sineProgress(t) * mix + t * (1 - mix);
};
CURVES[42] = (t) => {
  const mix = smoothMix(1 - t);
  return sineProgress(t) * mix + t * (1 - mix);
};
CURVES[43] = (t) => (Math.sin(t * PI * 2 - HALF_PI) + 1) / 2;
CURVES[44] = (t) => (Math.cos(t * PI * 2 - HALF_PI) + 1) / 2;

// The editor's two fixed spline shapes.
CURVES[45] = bezierEasing([[0.4, 0.1], [0.6, 0.9], [1, 1]]);
CURVES[46] = bezierEasing(
  tcbToBezier([
    [0, 0, 0, 0, 0],
    [0.3, 0.4, 0.2, 1, -0.2],
    [0.7, 0.6, -0.2, 1, 0.2],
    [1, 1, 0, 0, 0],
  ]),
);

// The curve of an easing code; an unknown code is linear. The progress is held to 0..1 first.
export function easing(code) {
  const fn = CURVES[code] || CURVES[0];
  return (p) => fn(p < 0 ? 0 : p > 1 ? 1 : p);
}

export const EASING_CODES = Object.keys(CURVES).map(Number);
