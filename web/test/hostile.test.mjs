// Hostile projects, as people send them to each other: each row of the table below is a project
// made from the example banner and a small description of what is wrong with it, opened by
// "kavio check", "kavio export" and "kavio sample" under a time limit. Every command must end in
// time with the row's exit code and message; an export must hold no file from outside the project
// and leave nothing half-written; rows with a payload open the exported page in Chromium, where the
// payload would set window.__pwned. The sweep at the end puts values of the wrong type at every
// key path of the banner: each command then ends with 0 or 1 (with a message), never a crash or a
// hang.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFile, execFileSync } from 'node:child_process';
import {
  cpSync, existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, symlinkSync, writeFileSync,
} from 'node:fs';
import { availableParallelism, tmpdir } from 'node:os';
import { fileURLToPath, pathToFileURL } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const example = path.join(root, 'examples', 'banner');
const kavio = process.env.KAVIO_CLI || path.join(root, 'build', 'bin', 'kavio');
const missing = existsSync(kavio) ? false : `${kavio} is not built`;
const limitMs = 15000;

const outside = (name) => new RegExp(`${name.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')} is outside the project folder and was not loaded\\.`);
const payload = 'window.__pwned=1';
const image = (id, name, fileName) => ({ id, type: 0, name, fileName, dataSize: 1, deleted: false });

// Symbols: a resource entry, and a symbol file whose one scene (the banner's first, emptied)
// holds an instance of each symbol id given.
const banner = JSON.parse(readFileSync(path.join(example, 'banner.kavio'), 'utf8'));
const symbol = (id, name) => ({ id, type: 3, name, fileName: `${name}.kaviosym`, dataSize: 1, deleted: false });
function symbolFile(...ids) {
  const scene = banner.document.scenes[0];
  const shape = scene.children[0];
  const children = ids.map((rid, n) => ({ ...shape, id: n + 1, name: `instance${n + 1}`, type: 7, resourceId: rid, autoplay: true, children: [] }));
  const timeline = { id: 1, name: 'Timeline', duration: 1000, respAnims: [{ hLayoutId: 0, vLayoutId: 0, animations: [] }] };
  return JSON.stringify({
    width: 300, height: 250,
    scenes: [{ ...scene, name: 'Inside', children, nextChildId: ids.length + 1, timelines: { current_timeline: 1, timelines: [timeline] } }],
  });
}
const everyCommand = (code, pattern) => ({ check: [code, pattern], export: [code, pattern], sample: [code, pattern] });
// The animations of the banner, every timeline and layout.
function bannerAnimations() {
  let n = 0;
  for (const scene of banner.document.scenes) {
    for (const timeline of scene.timelines.timelines) for (const layout of timeline.respAnims) n += layout.animations.length;
  }
  return n;
}

// A row: the project's name, what to change (`set`: key path -> value, `resources`: entries added
// to the resource list, `files`: what to put in the project folder), and per command [exit code,
// pattern of its output] ("export" also lists files the export must not hold; `page` opens it).
const rows = [
  {
    name: 'an image at an absolute path (/etc/passwd)',
    resources: [image(50, 'passwd', '/etc/passwd')],
    check: [0, outside('passwd')], export: [0, outside('passwd')], sample: [0, outside('passwd')],
  },
  {
    name: 'an image that climbs out with ..',
    resources: [image(50, 'hosts', '../../../../../../etc/hosts')],
    check: [0, outside('hosts')], export: [0, outside('hosts')], sample: [0, outside('hosts')],
  },
  {
    name: 'a stored file name with a folder in it',
    resources: [image(50, 'deep', 'sub/logo.png')],
    files: { 'banner_res/sub/logo.png': 'png' },
    check: [0, outside('deep')], export: [0, outside('deep')], sample: [0, outside('deep')],
  },
  {
    name: 'a link in the resource folder that leads out',
    resources: [image(50, 'linked', 'linked.png')],
    files: { 'banner_res/linked.png': { link: '/etc/passwd' } },
    check: [0, outside('linked')], export: [0, outside('linked')], sample: [0, outside('linked')],
  },
  {
    name: 'a resource name that climbs out becomes a plain file name',
    set: { 'document.resources.0.name': '../../escaped' },
    check: [0, /resources=1/], export: [0, /files=\d+/], sample: [0, /"t":0/],
    exported: ['resources/.._.._escaped.png'],
  },
  {
    name: 'a resource named ".."',
    set: { 'document.resources.0.name': '..', 'document.resources.0.fileName': 'logo' },
    files: { 'banner_res/logo': { copy: 'banner_res/logo.png' } },
    check: [0, /resources=1/], export: [0, /files=\d+/], sample: [0, /"t":0/],
    exported: ['resources/__'],
  },
  {
    name: 'a symbol file outside the project',
    resources: [{ id: 50, type: 3, name: 'sym', fileName: '/etc/passwd' }],
    check: [0, outside('sym')], export: [0, outside('sym')], sample: [0, outside('sym')],
  },
  {
    name: 'a script and a linked style sheet outside the project',
    resources: [
      { id: 50, type: 5, name: 'code', fileName: '/etc/hostname', resourceType: 0, includeHeader: true },
      { id: 51, type: 6, name: 'look', fileName: '/etc/hostname', resourceType: 3, includeHeader: true },
    ],
    check: [0, /code is outside.*\n.*look is outside/], export: [0, outside('look')], sample: [0, outside('code')],
  },
  {
    name: 'a video with one format outside the project',
    resources: [{ id: 50, type: 2, name: 'clip', fileName: 'clip.mp4', fileNames: ['clip.mp4', '../../clip.webm'] }],
    files: { 'banner_res/clip.mp4': 'mp4' },
    check: [0, outside('clip')], export: [0, outside('clip')], sample: [0, outside('clip')],
  },
  {
    name: 'a device as a resource (/dev/zero)',
    resources: [image(50, 'zero', '/dev/zero')],
    check: [0, outside('zero')], export: [0, outside('zero')], sample: [0, outside('zero')],
  },
  {
    name: 'a link in the resource folder to /dev/urandom',
    resources: [image(50, 'noise', 'noise.png')],
    files: { 'banner_res/noise.png': { link: '/dev/urandom' } },
    check: [0, outside('noise')], export: [0, outside('noise')], sample: [0, outside('noise')],
  },
  {
    name: 'a custom preloader that is a link to /dev/zero',
    set: { 'document.hasCustomLoader': true, 'document.loaderType': 1 },
    files: { 'banner_res/preloader/preloader.kavio': { link: '/dev/zero' } },
    check: [0, /scenes=2/], export: [0, outside('The custom preloader')], sample: [0, /"t":0/],
  },
  {
    name: 'a pipe in the resource folder',
    resources: [image(50, 'pipe', 'pipe.png')],
    files: { 'banner_res/pipe.png': { fifo: true } },
    check: [0, /missing resource file: pipe\.png/],
    export: [1, /Error while exporting resource files\./],
    sample: [0, /"t":0/],
  },
  {
    name: 'a project file that is a pipe',
    fifoProject: true,
    check: [1, /Unable to read project data\./], export: [1, /Unable to read project data\./],
    sample: [1, /Unable to read project data\./],
  },
  {
    name: 'a resource name too long for a file name',
    set: { 'document.resources.0.name': 'n'.repeat(300) },
    check: [0, /resources=1/], export: [1, /Error while exporting resource files\./], sample: [0, /"t":0/],
  },
  {
    name: 'a script file whose name closes the page\'s markup',
    resources: [{ id: 50, type: 5, name: `a'b&c"d`, fileName: 'code.js', resourceType: 0, includeHeader: true }],
    files: { 'banner_res/code.js': 'window.codeRan = 1;' },
    check: [0, /resources=2/], export: [0, /files=\d+/], sample: [0, /"t":0/], page: true, ran: 'codeRan',
  },
  {
    name: 'a symbol that contains itself',
    resources: [symbol(50, 'loop')],
    files: { 'banner_res/loop.kaviosym': symbolFile(50) },
    ...everyCommand(1, /Symbol "loop" contains itself \(loop > loop\)/),
  },
  {
    name: 'two symbols that contain each other',
    resources: [symbol(50, 'ping'), symbol(51, 'pong')],
    files: { 'banner_res/ping.kaviosym': symbolFile(51), 'banner_res/pong.kaviosym': symbolFile(50) },
    ...everyCommand(1, /Symbol "ping" contains itself \(ping > pong > ping\)/),
  },
  {
    name: 'a ring of three symbols that a fourth leads into',
    resources: [symbol(50, 'door'), symbol(51, 'one'), symbol(52, 'two'), symbol(53, 'three')],
    files: {
      'banner_res/door.kaviosym': symbolFile(51),
      'banner_res/one.kaviosym': symbolFile(52),
      'banner_res/two.kaviosym': symbolFile(53, 51),
      'banner_res/three.kaviosym': symbolFile(51),
    },
    ...everyCommand(1, /Symbol "one" contains itself \(one > two > three > one\)/),
  },
  {
    name: 'symbols nested without a ring (one symbol twice in another)',
    resources: [symbol(50, 'outer'), symbol(51, 'middle'), symbol(52, 'inner')],
    files: {
      'banner_res/outer.kaviosym': symbolFile(51, 51, 52),
      'banner_res/middle.kaviosym': symbolFile(52),
      'banner_res/inner.kaviosym': symbolFile(),
    },
    check: [0, /resources=4/], export: [0, /files=\d+/], sample: [0, /"t":0/],
  },
  {
    name: 'a symbol file that is not symbol data',
    resources: [symbol(50, 'junk')],
    files: { 'banner_res/junk.kaviosym': 'garbage' },
    ...everyCommand(1, /The symbol file "junk\.kaviosym" of symbol "junk" cannot be read\./),
  },
  {
    name: 'two scenes of one name',
    set: { 'document.scenes.1.name': banner.document.scenes[0].name },
    check: [0, new RegExp(`scenes=2 [\\s\\S]*Scene name "${banner.document.scenes[0].name}" is used more than once; the scene is now "${banner.document.scenes[0].name}_1"\\.`)],
    export: [0, /files=\d+/], sample: [0, /"t":0/],
  },
  {
    name: 'two elements that share an id, each with its animation',
    set: {
      'document.scenes.0.children.4.id': 4,
      'document.scenes.0.timelines.timelines.0.respAnims.0.animations.1.element_id': 4,
    },
    // The second element of the id gets a new one, and the second animation of the id goes with it.
    check: [0, new RegExp(`animations=${bannerAnimations()} [\\s\\S]*Element id 4 is used 2 times; element "card" gets the new id 7\\.`)],
    export: [0, /files=\d+/], sample: [0, /"t":0/],
  },
  {
    name: 'element ids used more than once',
    set: Object.fromEntries([1, 2, 3, 4, 5].map((n) => [`document.scenes.0.children.${n}.id`, 1])),
    // The five elements that took the id 1 get new ones, and the five animations that named their
    // old ids name nothing now: each repair is said, none is silent.
    check: [0, new RegExp(`animations=${bannerAnimations() - 5} [\\s\\S]*(?:Element id 1 is used 6 times; element "[^"]+" gets the new id \\d+\\.[\\s\\S]*){5}Timeline "Timeline": 5 animations name no element of the scene and were left out\\.`)],
    export: [0, /files=\d+/], sample: [0, /"t":0/],
  },
];

// Strings that end the context they are written to (a script string, an attribute, an element, a
// comment) and run the payload. Each row puts one of them into every field the exported page is
// written from: the project file's name, the page's meta data, the container id (refused: a new
// one is made), head addresses, a resource name and an element name in the custom preloader's data.
const hostileStrings = [
  `</script><script>${payload}</script>`,
  `"><img src=x onerror="${payload}">`,
  `'><img src=x onerror='${payload}'>`,
  `\\',(${payload}),'`,
  `\\");${payload};("`,
  `</title><!--<script>${payload}//`,
  `javascript:${payload}`,
];
for (const [n, hostile] of hostileStrings.entries()) {
  rows.push({
    name: `hostile string ${n + 1} in every field of the page: ${hostile}`,
    project: `p${n}${hostile.replace(/\//g, '\\')}`,
    set: {
      'document.title': hostile,
      'document.description': hostile,
      'document.keywords': hostile,
      'document.author': hostile,
      'document.containerID': hostile,
      'document.resources.0.name': hostile,
      'document.hasCustomLoader': true,
      'document.loaderType': 1,
    },
    resources: [
      { id: 50, type: 5, name: 'js', fileName: hostile, resourceType: 1, includeHeader: true },
      { id: 51, type: 6, name: 'css', fileName: hostile, resourceType: 1, includeHeader: true },
    ],
    files: {
      'banner_res/preloader/preloader.kavio': { banner: { 'document.scenes.0.children.0.name': hostile } },
      'banner_res/preloader/preloader_res/logo.png': { copy: 'banner_res/logo.png' },
    },
    check: [0, /is not a valid HTML id/], export: [0, /is not a valid HTML id/], sample: [0, /"t":0/],
    page: true,
  });
}

let work;
let browser;

before(async () => {
  if (missing) return;
  work = mkdtempSync(path.join(tmpdir(), 'kavio-hostile-'));
});

after(async () => {
  if (browser) await browser.close();
  if (work) rmSync(work, { recursive: true, force: true });
});

function setPath(object, keyPath, value) {
  const keys = keyPath.split('.');
  let at = object;
  for (const key of keys.slice(0, -1)) at = at[key];
  at[keys[keys.length - 1]] = value;
}

// The project of a row in a folder of its own; returns the project file's path.
function makeProject(folder, row) {
  const name = row.project || 'banner';
  mkdirSync(folder, { recursive: true });
  cpSync(path.join(example, 'banner_res'), path.join(folder, `${name}_res`), { recursive: true });
  const data = JSON.parse(readFileSync(path.join(example, 'banner.kavio'), 'utf8'));
  for (const [keyPath, value] of Object.entries(row.set || {})) setPath(data, keyPath, value);
  data.document.resources.push(...(row.resources || []));
  for (const [file, what] of Object.entries(row.files || {})) {
    const target = path.join(folder, file.replace(/^banner_res/, `${name}_res`));
    mkdirSync(path.dirname(target), { recursive: true });
    if (typeof what === 'string') writeFileSync(target, what);
    else if (what.link) symlinkSync(what.link, target);
    else if (what.copy) cpSync(path.join(folder, what.copy.replace(/^banner_res/, `${name}_res`)), target);
    else if (what.fifo) execFileSync('mkfifo', [target]);
    else if (what.banner) {
      const other = JSON.parse(readFileSync(path.join(example, 'banner.kavio'), 'utf8'));
      for (const [keyPath, value] of Object.entries(what.banner)) setPath(other, keyPath, value);
      writeFileSync(target, JSON.stringify(other));
    }
  }
  const file = path.join(folder, `${name}.kavio`);
  if (row.fifoProject) execFileSync('mkfifo', [file]);
  else writeFileSync(file, JSON.stringify(data));
  return file;
}

// Runs the tool with a time limit; resolves { code, signal, out, timedOut }.
function run(args) {
  return new Promise((resolve) => {
    execFile(kavio, args, { timeout: limitMs, killSignal: 'SIGKILL', encoding: 'utf8', maxBuffer: 16 << 20 },
      (error, stdout, stderr) => {
        resolve({
          code: error ? (typeof error.code === 'number' ? error.code : null) : 0,
          signal: error ? error.signal : null,
          timedOut: Boolean(error && error.killed),
          out: `${stdout}${stderr}`,
        });
      });
  });
}

const commands = {
  check: (file) => ['check', file],
  export: (file, out) => ['export', file, out],
  sample: (file) => ['sample', file, '--times', '0,500'],
};

function filesBelow(folder, prefix = '') {
  return readdirSync(folder, { withFileTypes: true }).flatMap((entry) =>
    entry.isDirectory() ? filesBelow(path.join(folder, entry.name), `${prefix + entry.name}/`) : [prefix + entry.name]);
}

async function openPage(out, row) {
  if (!browser) {
    browser = await chromium.launch({
      executablePath: '/usr/bin/chromium',
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
    });
  }
  const html = readdirSync(out).find((f) => f.endsWith('.html'));
  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.join(out, html)).href);
  // The player starts and fills its container: the page still works with the hostile values in it.
  await page.waitForFunction(() => document.querySelector('.kv-container [data-kv-name]'), null, { timeout: 10000 });
  const seen = await page.evaluate((flag) => ({ pwned: window.__pwned, ran: flag ? window[flag] : 1 }), row.ran || '');
  await page.close();
  return seen;
}

for (const row of rows) {
  test(`hostile project: ${row.name}`, { skip: missing }, async () => {
    const folder = path.join(work, row.name.replace(/[^a-z0-9]+/gi, '-'));
    const file = makeProject(folder, row);
    const out = path.join(folder, 'out', 'site');
    for (const [command, args] of Object.entries(commands)) {
      const [code, pattern] = row[command];
      const result = await run(args(file, out));
      assert.ok(!result.timedOut, `${command} ended within ${limitMs} ms`);
      assert.equal(result.code, code, `${command} exits with ${code}: ${result.out}`);
      assert.match(result.out, pattern, `${command} says so`);
    }
    const [exportCode] = row.export;
    // Nothing half-written beside the target, and no target at all after a failure.
    const beside = existsSync(path.join(folder, 'out')) ? readdirSync(path.join(folder, 'out')) : [];
    assert.deepEqual(beside.filter((f) => f !== 'site'), [], 'no temporary folder is left');
    if (exportCode !== 0) {
      assert.ok(!existsSync(out), 'a failed export leaves no folder behind');
      return;
    }
    const files = filesBelow(out);
    for (const name of files) {
      const text = readFileSync(path.join(out, name), 'latin1');
      assert.ok(!/root:.*:0:0:/.test(text), `${name} holds no line of /etc/passwd`);
      // A copy holds the host's name as its text; a short name may well occur inside a binary file.
      assert.notEqual(text.trim(), readFileSync('/etc/hostname', 'latin1').trim(), `${name} is no copy of /etc/hostname`);
    }
    for (const name of row.exported || []) assert.ok(files.includes(name), `${name} was exported (${files.join(', ')})`);
    if (row.page) {
      const seen = await openPage(out, row);
      assert.equal(seen.pwned, undefined, 'no payload ran in the exported page');
      assert.equal(seen.ran, 1, 'the project\'s own script ran');
    }
  });
}

// Every key path of the banner once (the first element stands for each array), with each value of
// another type than the one there.
function keyPaths(value, prefix = []) {
  const paths = [prefix];
  if (Array.isArray(value)) {
    if (value.length) paths.push(...keyPaths(value[0], [...prefix, 0]));
  } else if (value && typeof value === 'object') {
    for (const [key, inner] of Object.entries(value)) paths.push(...keyPaths(inner, [...prefix, key]));
  }
  return paths;
}

const wrongValues = [null, 7, 'x', [], {}];
const kind = (v) => (v === null ? 'null' : Array.isArray(v) ? 'array' : typeof v);

test('wrong-type sweep: every command ends with 0 or 1 and a message at every key path', { skip: missing, timeout: 30 * 60 * 1000 }, async (t) => {
  const base = JSON.parse(readFileSync(path.join(example, 'banner.kavio'), 'utf8'));
  const cases = [];
  for (const keyPath of keyPaths(base).slice(1)) {
    let at = base;
    for (const key of keyPath) at = at[key];
    for (const value of wrongValues) {
      if (kind(value) !== kind(at)) cases.push({ keyPath, value });
    }
  }
  const folder = path.join(work, 'sweep');
  mkdirSync(folder);
  const failures = [];
  let next = 0;
  const worker = async (n) => {
    const file = path.join(folder, `c${n}.kavio`);
    mkdirSync(path.join(folder, `c${n}_res`));
    cpSync(path.join(example, 'banner_res'), path.join(folder, `c${n}_res`), { recursive: true });
    while (next < cases.length) {
      const { keyPath, value } = cases[next++];
      const data = structuredClone(base);
      let at = data;
      for (const key of keyPath.slice(0, -1)) at = at[key];
      at[keyPath[keyPath.length - 1]] = value;
      writeFileSync(file, JSON.stringify(data));
      for (const [command, args] of Object.entries(commands)) {
        const result = await run(args(file, path.join(folder, `out${n}`)));
        const said = result.out.trim().length > 0;
        if (result.timedOut || (result.code !== 0 && result.code !== 1) || (result.code === 1 && !said)) {
          failures.push(`${command} ${keyPath.join('.')} = ${JSON.stringify(value)}: ${result.timedOut ? 'hung' : `exit ${result.code} ${result.signal || ''}`} ${result.out.slice(0, 200)}`);
        }
      }
    }
  };
  await Promise.all(Array.from({ length: Math.max(2, availableParallelism()) }, (_, n) => worker(n)));
  t.diagnostic(`${cases.length} wrong values at ${keyPaths(base).length - 1} key paths, ${cases.length * 3} runs`);
  assert.deepEqual(failures, []);
});
