// Projects written straight in the project-file JSON, from table rows, never through the C++ model: the
// parity test plays them next to "kavio sample". Each project is one row of `handmadeProjects`:
//
//   { name, size: [w, h], breakpoints: { h: [px...], v: [px...] }, viewports: [[w, h]...],
//     missingLayouts, resources: [{ type, name, file, from or text }...], scenes: [scene...] }
//   scene:   { name, duration, elements: [element...], tracks: [track...] }
//   element: [name, kind, [left, top, width, height], extra]  with kind one of the keys of KINDS and
//            extra (optional) { color, values, layouts: { 'h,v': values }, children: [element...], visible,
//            keys } where keys go into the element object itself (a medium's resourceId and volume)
//   track:   [element name, short key or code, [[time, value, easing, { before, hold }]...], extra]
//            extra (optional) { layout: [h, v], path: [[x, y, x1, y1, x2, y2, time]...], autoOrient, inherit }
//
// A resource's file is copied from `from` or written from `text` into the resource folder; its id is
// its place in the list from 1 (an element refers to it with keys: { resourceId }).
// Values are numbers, [x, y] for locations and '#rrggbb' or '#aarrggbb' for colours; "%" properties take
// fractions (opacity 0.5). The easing of a key is that of the segment leaving it (default 3, in-out
// quad); `hold` makes that segment jump instead, `before` gives the key a value before of its own.
// Breakpoint ids are numbered from 1 in row order, horizontal ones first; `layouts` and `layout` name a
// layout by those ids ('1,2'). `values` objects are merged into the element's property object as they
// stand in the file (for instance { transform: { rotate: 30 }, inherit: [0] }).
import { copyFileSync, mkdirSync, writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import path from 'node:path';

const fixtures = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', '..', 'tests', 'fixtures');

export const KINDS = { image: 0, audio: 1, video: 2, text: 4, div: 5, group: 6, symbol: 7 };

// Short keys of the animatable properties, as the player data names them.
const CODES = {
  lt: 0, rt: 1, tp: 2, b: 3, w: 4, h: 5, pos: 6, sX: 7, sY: 8, skX: 9, skY: 10, rZ: 11, toX: 12, toY: 13,
  o: 14, d: 15, lw: 16, lc: 17, fc: 18, ga: 19, gX: 20, gY: 21, tc: 23, fz: 25, lh: 28, vol: 34,
  tlr: 35, shr: 71, sha: 72, shd: 73, shc: 74, fbf: 82, tZ: 86, rX: 87, rY: 88, sZ: 89,
};
const PERCENT = [7, 8, 12, 13, 14, 20, 21, 28, 34, 75, 77, 78, 79, 80, 81, 89, 94, 95];
const DEGREES = [9, 10, 11, 19, 72, 76, 87, 88];
const COLOURS = [17, 18, 23, 24, 74];

function unitOf(code) {
  if (code === 6 || code === 15) return '';
  if (PERCENT.includes(code)) return '%';
  if (DEGREES.includes(code)) return 'deg';
  if (COLOURS.includes(code)) return 'color';
  return 'px';
}

// '#rrggbb' or '#aarrggbb' as the unsigned ARGB number.
function argb(colour) {
  const hex = colour.slice(1);
  return parseInt(hex.length === 6 ? 'ff' + hex : hex, 16) >>> 0;
}

function keyValue(code, value) {
  if (code === 6) return { type: 26, value: { x: value[0], y: value[1] } };
  if (COLOURS.includes(code)) return { type: 67, value: { rgba: argb(value) } };
  return { type: 6, value: { val: value } };
}

function merge(into, from) {
  for (const [k, v] of Object.entries(from || {})) {
    into[k] = v && typeof v === 'object' && !Array.isArray(v) ? merge({ ...(into[k] || {}) }, v) : v;
  }
  return into;
}

const layoutKey = (text) => text.split(',').map(Number);

// The property objects of an element: the base values, and at every other layout of the project (as
// the editor keeps them) the same values with the row's overrides for that layout merged in. With
// `missingLayouts` the row only writes the layouts it names, as some files do.
function respProps(base, layouts, scene) {
  const keys = new Set(scene.missingLayouts ? [] : scene.layouts.map((k) => k.join(',')));
  for (const key of Object.keys(layouts || {})) keys.add(key);
  keys.delete('0,0');
  const props = [{ hLayoutId: 0, vLayoutId: 0, values: base }];
  for (const key of keys) {
    const [hLayoutId, vLayoutId] = layoutKey(key);
    props.push({ hLayoutId, vLayoutId, values: merge(merge({}, base), (layouts || {})[key]) });
  }
  return props;
}

// One element and its children; ids come from the scene's counter.
function element(row, scene) {
  const [name, kind, [l, t, w, h], extra = {}] = row;
  const id = scene.nextId++;
  scene.ids[name] = id;
  const base = { path: { l, t, w, h }, display: 1 };
  if (extra.color) base.background = { fillStyle: 1, solidColor: argb(extra.color) | 0 };
  if (kind === 'text') base.text = { fontFamily: 'Arial', fontSize: 16, html: name };
  const json = {
    type: KINDS[kind], id, name, isVisible: extra.visible !== false,
    respProps: respProps(merge(base, extra.values), extra.layouts, scene), events: [],
    children: (extra.children || []).map((child) => element(child, scene)),
  };
  Object.assign(json, extra.keys);
  return json;
}

function track(row, scene) {
  const [name, key, keys, extra = {}] = row;
  const code = typeof key === 'number' ? key : CODES[key];
  if (code === undefined) throw new Error(`unknown property ${key}`);
  const keyValues = keys.map(([time, value, , opts = {}]) => {
    const now = keyValue(code, value);
    const before = opts.before === undefined ? now : keyValue(code, opts.before);
    return { time, type: now.type, value: now.value, value_minus: before.value };
  });
  const json = {
    elementId: scene.ids[name], duration: keys[keys.length - 1][0], type: code, unit: unitOf(code), keyValues,
    keyframeSegments: keys.slice(0, -1).map(([, , easing = 3, opts = {}]) => ({ easing_curve: easing, has_transition: !opts.hold })),
  };
  if (extra.path) {
    json.motionPath = {
      points: extra.path.map(([x, y, x1, y1, x2, y2, time], i) => {
        const point = { x, y, x1, y1, x2, y2 };
        if (time !== undefined && time !== null) point.time = time;
        point.startpoint = i === 0;
        return point;
      }),
    };
  }
  return json;
}

function scene(row, index, project) {
  const state = { nextId: 1, ids: {}, layouts: project.layouts, missingLayouts: project.missingLayouts };
  const children = row.elements.map((e) => element(e, state));
  // Tracks are grouped into one animation per element and layout.
  const layouts = new Map();
  for (const t of row.tracks || []) {
    const extra = t[3] || {};
    const key = (extra.layout || [0, 0]).join(',');
    if (!layouts.has(key)) layouts.set(key, new Map());
    const animations = layouts.get(key);
    const id = state.ids[t[0]];
    if (id === undefined) throw new Error(`track for unknown element ${t[0]}`);
    if (!animations.has(id)) animations.set(id, { element_id: id, auto_orient: false, keyframes: [], inherit: [] });
    const animation = animations.get(id);
    animation.keyframes.push(track(t, state));
    if (extra.autoOrient) animation.auto_orient = true;
    if (extra.inherit) animation.inherit = extra.inherit;
  }
  const respAnims = [...layouts].map(([key, animations]) => {
    const [hLayoutId, vLayoutId] = layoutKey(key);
    return { hLayoutId, vLayoutId, animations: [...animations.values()] };
  });
  return {
    type: 8, id: index + 1, name: row.name || `Scene ${index + 1}`, nextChildId: state.nextId,
    respProps: respProps({ path: { l: 0, t: 0, w: project.width, h: project.height }, background: { fillStyle: 1, solidColor: -1 } }, {}, state),
    timelines: {
      current_timeline: 1,
      timelines: [{ id: 1, name: 'Timeline', duration: row.duration || 1000, respAnims, triggers: [], map_label_to_ts: [], events: [] }],
    },
    children, events: [], autoAdvance: false,
  };
}

// Writes the row's project (and its resource folder) into folder; returns the project file.
export function writeHandmade(folder, row) {
  const [width, height] = row.size || [480, 360];
  const resFolder = path.join(folder, `${row.name}_res`);
  mkdirSync(resFolder, { recursive: true });
  const resources = (row.resources || []).map((r, i) => {
    if (r.from) copyFileSync(r.from, path.join(resFolder, r.file));
    else writeFileSync(path.join(resFolder, r.file), r.text || '');
    const json = { id: i + 1, uuid: `{00000000-0000-4000-8000-${String(i + 1).padStart(12, '0')}}`, name: r.name || r.file, deleted: false, type: r.type, dataSize: 0 };
    if (r.type === 1 || r.type === 2) json.resourceType = 0;
    json.fileName = r.file;
    if (r.type === 1 || r.type === 2) json.fileNames = [r.file];
    return json;
  });
  const bp = row.breakpoints || { h: [], v: [] };
  let nextId = 1;
  const h = (bp.h || []).map((v) => [nextId++, v]);
  const v = (bp.v || []).map((value) => [nextId++, value]);
  const layouts = [0, ...h.map(([id]) => id)].flatMap((hId) => [0, ...v.map(([id]) => id)].map((vId) => [hId, vId]));
  const scenes = row.scenes.map((s, i) => scene(s, i, { layouts, missingLayouts: row.missingLayouts, width, height }));
  const project = {
    appName: 'Kavio Studio',
    document: {
      resources, scripts: { current_id: 0, functions: [] }, author: 'handmade', created: '2026-01-01T00:00:00Z',
      modified: '2026-01-01T00:00:00Z', modifiedBy: '', width, height, align: 4, title: row.name, description: '',
      keywords: '', autofit: false, scenes, events: [],
      layoutBreakpoints: { responsiveMode: h.length + v.length > 0, h, v, hCurrentId: 0, vCurrentId: 0, nextId },
      autoplay: false, docVersion: 3, containerID: 'kvHand', initResponsive: h.length + v.length > 0,
    },
    locations: {},
  };
  const file = path.join(folder, `${row.name}.kavio`);
  writeFileSync(file, JSON.stringify(project));
  return file;
}

// A curved path with an untimed point in the middle.
const curve = [[0, 0, 0, 0, 120, -80, 0], [160, 40, 60, 160, 160, 40], [300, 0, 260, 90, 300, 0, 1000]];

// A timeline of a second for rows whose elements stand still.
const ticker = ['ticker', 'lt', [[0, 0, 0], [1000, 400]]];

// The hand-made projects; each is exported, played and compared with the model at every viewport it
// names (the default 640x480) and in every scene, every 50 ms up to 100 ms past the scene's duration
// (default 1000 ms, at least 1000). The comparison wants three elements or more in every scene.
export const handmadeProjects = [
  {
    // Qt's own curves beside two of the classic ones, on a left, a top and an opacity track.
    name: 'qtcurves',
    size: [480, 200],
    scenes: [{
      elements: [0, 1, 41, 42, 43, 44].map((code, i) => [`ease${code}`, 'div', [0, 30 * i, 40, 20], { color: '#3366cc' }]),
      tracks: [0, 1, 41, 42, 43, 44].flatMap((code) => [
        [`ease${code}`, 'lt', [[0, 0, code], [1000, 200]]],
        [`ease${code}`, 'o', [[0, 1, code], [1000, 0.2]]],
      ]),
    }],
  },
  {
    // Fractional key values: a long bar turned by 33.4 degrees is 1.4 px wider than one turned by 33.
    name: 'fractions',
    size: [640, 400],
    scenes: [{
      elements: [
        ['bar', 'div', [100, 200, 400, 20], { color: '#cc6633' }],
        ['dot', 'div', [0, 0, 20, 20], { color: '#333333' }],
        ['drop', 'div', [300, 0, 20, 20], { color: '#663399' }],
      ],
      tracks: [
        ['bar', 'rZ', [[0, 0, 3, { hold: true }], [500, 33.4]]],
        ['dot', 'lt', [[0, 0.4, 3, { hold: true }], [500, 420.4]]],
        ['drop', 'tp', [[0, 10.6, 0], [1000, 300.45]]],
      ],
    }],
  },
  {
    // Motion paths: one whose last point has no time (the element stands there from the first
    // point's time on), one with an untimed point in the middle that only bends the curve.
    name: 'paths',
    size: [480, 360],
    scenes: [{
      elements: [
        ['parked', 'div', [20, 20, 30, 30], { color: '#cc3366' }],
        ['bent', 'div', [20, 200, 30, 30], { color: '#3366cc' }],
        ['still', 'div', [400, 300, 30, 30], { color: '#999999' }],
      ],
      tracks: [
        ['parked', 'pos', [[0, [0, 0], 0], [1000, [200, 0]]], { path: [[0, 0, 0, 0, 60, 0, 0], [200, 0, 140, 0, 200, 40, 1000], [200, 200, 200, 120, 200, 200]] }],
        ['bent', 'pos', [[200, [0, 0], 0], [900, [300, 0]]], { path: [[0, 0, 0, 0, 0, -60, 200], [150, -80, 100, -80, 200, -80], [300, 0, 300, -60, 300, 0, 900]] }],
      ],
    }],
  },
  {
    // The volume of a video and of an audio element follows its track.
    name: 'volume',
    resources: [
      { type: 2, file: 'clip.webm', from: path.join(fixtures, 'clip.webm') },
      { type: 1, file: 'tune.webm', from: path.join(fixtures, 'clip.webm') },
    ],
    scenes: [{
      elements: [
        ['film', 'video', [10, 10, 160, 90], { keys: { resourceId: 1, volume: 0.8 } }],
        ['tune', 'audio', [200, 10, 100, 30], { keys: { resourceId: 2, volume: 1 } }],
        ['plain', 'div', [10, 200, 40, 40], { color: '#666666' }],
      ],
      tracks: [
        ['film', 'vol', [[0, 0.8, 0], [1000, 0.1]]],
        ['tune', 'vol', [[200, 1, 2], [800, 0.3, 3, { before: 0.5 }]]],
      ],
    }],
  },
  {
    // Two scenes with other elements and tracks, and a responsive pair of layouts.
    name: 'scenes',
    size: [400, 300],
    breakpoints: { h: [700], v: [600] },
    viewports: [[640, 480], [900, 480], [900, 700]],
    scenes: [
      {
        name: 'First',
        elements: [
          ['a', 'div', [10, 10, 50, 50], { color: '#cc3333', layouts: { '1,0': { path: { l: 200, t: 100 }, inherit: [0, 2] }, '1,2': { path: { w: 90 }, inherit: [4] } } }],
          ['b', 'div', [100, 10, 80, 40], { color: '#33cc33' }],
          ['c', 'text', [10, 200, 120, 30]],
        ],
        tracks: [
          ['a', 'tp', [[0, 10, 6], [800, 120]]],
          ['b', 'rZ', [[0, 0, 0], [1000, 90]]],
          ['b', 'lt', [[0, 100], [500, 300, 3, { before: 200 }], [1000, 260]]],
          ['c', 'o', [[0, 1, 3, { hold: true }], [500, 0.4]]],
        ],
      },
      {
        name: 'Second',
        duration: 1200,
        elements: [
          ['g', 'group', [50, 50, 200, 200], { children: [['g1', 'div', [0, 0, 40, 40], { color: '#999933' }], ['g2', 'div', [100, 100, 40, 40], { color: '#339999' }]] }],
          ['d', 'div', [300, 20, 30, 30], { color: '#000000' }],
        ],
        tracks: [
          ['g', 'sX', [[0, 1, 3], [1200, 0.5]]],
          ['g1', 'lt', [[200, 0, 2], [1000, 100]]],
          ['d', 'tp', [[0, 20], [1000, 200]], { layout: [1, 0], inherit: [2] }],
          ['d', 'lt', [[0, 300, 21], [1000, 100]], { layout: [1, 2], inherit: [0] }],
        ],
      },
    ],
  },
  {
    // Auto-orient along a curved path turns the element in the model as on the page; a path that
    // starts late, and one that does not turn, beside it.
    name: 'orient',
    scenes: [{
      elements: [
        ['turning', 'div', [20, 120, 60, 20], { color: '#cc3366' }],
        ['straight', 'div', [20, 200, 60, 20], { color: '#3366cc' }],
        ['turningtoo', 'div', [20, 40, 40, 40], { color: '#33cc66' }],
      ],
      tracks: [
        ['turning', 'pos', [[0, [0, 0], 3], [1000, [300, 0]]], { path: curve, autoOrient: true }],
        ['straight', 'pos', [[0, [0, 0], 0], [1000, [300, 0]]], { path: curve }],
        ['turningtoo', 'pos', [[200, [0, 0], 0], [800, [200, 100]]],
          { path: [[0, 0, 0, 0, 0, 0, 200], [200, 100, 200, 100, 200, 100, 800]], autoOrient: true }],
      ],
    }],
  },
  {
    // What a hidden group holds is hidden; a hidden child of a shown group too.
    name: 'hiddengroup',
    scenes: [{
      elements: [
        ['hiddenbox', 'group', [10, 10, 200, 150], { values: { display: 0 }, children: [
          ['kid', 'div', [10, 10, 50, 50], { color: '#cc3333' }], ['kid2', 'div', [70, 10, 50, 50], { color: '#33cc33' }]] }],
        ['shownbox', 'group', [10, 180, 200, 100], { children: [
          ['kid3', 'div', [10, 10, 50, 50], { color: '#3333cc', values: { display: 0 } }], ['kid4', 'div', [70, 10, 50, 50], { color: '#999999' }]] }],
        ['ticker', 'div', [0, 300, 20, 10], { color: '#000000' }],
      ],
      tracks: [ticker],
    }],
  },
  {
    // Display moving with a transition goes as a whole number: 1 to 0 hides at once, 0 to 1 shows at
    // the end, also when eased.
    name: 'displaytransition',
    scenes: [{
      elements: [
        ['goes', 'div', [10, 10, 50, 50], { color: '#cc3333' }],
        ['comes', 'div', [70, 10, 50, 50], { color: '#33cc33', values: { display: 0 } }],
        ['eased', 'div', [130, 10, 50, 50], { color: '#3333cc' }],
      ],
      tracks: [
        ['goes', 'd', [[0, 1, 0], [1000, 0]]],
        ['comes', 'd', [[0, 0, 0], [1000, 1]]],
        ['eased', 'd', [[100, 1, 6], [900, 0]]],
        ['eased', 'lt', [[0, 130, 0], [1000, 330]]],
      ],
    }],
  },
  {
    // At a layout a value that is not flagged as overridden is the base value; flagged ones are the
    // layout's own. 400 px wide shows the base layout.
    name: 'layoutbase',
    breakpoints: { h: [600] },
    viewports: [[800, 600], [400, 600]],
    scenes: [{
      elements: [
        ['loose', 'div', [10, 10, 50, 50], { color: '#cc3333', layouts: { '1,0': { path: { l: 300, t: 200, w: 80, h: 20 }, inherit: [] } } }],
        ['pinned', 'div', [10, 80, 50, 50], { color: '#33cc33', layouts: { '1,0': { path: { l: 300, t: 100, w: 80, h: 20 }, inherit: [0, 2, 4, 5] } } }],
        ['turned', 'div', [10, 150, 50, 50], { color: '#3333cc', values: { transform: { rotate: 30 } },
          layouts: { '1,0': { transform: { rotate: 0, scaleX: 2 }, inherit: [] } } }],
        ['ticker', 'div', [0, 300, 20, 10], { color: '#000000' }],
      ],
      tracks: [ticker],
    }],
  },
  {
    // A file whose scenes lack the layouts of its breakpoints: the elements still show at them.
    name: 'missinglayouts',
    breakpoints: { h: [600] },
    viewports: [[800, 600]],
    missingLayouts: true,
    scenes: [{
      elements: [
        ['alone', 'div', [10, 10, 50, 50], { color: '#cc3333' }],
        ['moving', 'div', [10, 80, 50, 50], { color: '#33cc33' }],
        ['grouped', 'group', [10, 150, 100, 60], { children: [['inside', 'div', [5, 5, 20, 20], { color: '#3333cc' }]] }],
      ],
      tracks: [['moving', 'lt', [[0, 10, 0], [1000, 210]]]],
    }],
  },
  {
    // Two key values at one time: a jump, played (and saved) in the file's order.
    name: 'sametime',
    scenes: [{
      elements: [
        ['jumps', 'div', [0, 10, 50, 50], { color: '#cc3333' }],
        ['holds', 'div', [0, 80, 50, 50], { color: '#33cc33' }],
        ['still', 'div', [0, 150, 50, 50], { color: '#3333cc' }],
      ],
      tracks: [
        ['jumps', 'lt', [[0, 0, 0], [500, 100, 0, { hold: true }], [500, 300, 0], [1000, 350]]],
        ['holds', 'o', [[200, 1, 0], [600, 0.2, 0, { hold: true }], [600, 0.8]]],
      ],
    }],
  },
  {
    // Elements turned in 3D, and one inside a group turned in 3D, beside a flat one.
    name: 'depth',
    scenes: [{
      elements: [
        ['tilted', 'div', [20, 20, 100, 60], { color: '#cc3333', values: { transform: { rotateX: 40 } } }],
        ['spun', 'div', [150, 20, 100, 60], { color: '#33cc33', values: { transform: { rotateY: 30, rotate: 10 } } }],
        ['flat', 'group', [20, 120, 100, 60], { values: { transform: { rotateX: 20 } }, children: [['within', 'div', [10, 10, 20, 20], { color: '#3333cc' }]] }],
        ['plain', 'div', [150, 120, 60, 60], { color: '#999999' }],
        ['ticker', 'div', [0, 300, 20, 10], { color: '#000000' }],
      ],
      tracks: [ticker],
    }],
  },
];
