// The whole road from a project file to a page in a browser: "kavio export" writes the example
// banner into a temporary folder and headless Chromium opens the exported page from file://; the
// banner's elements must appear in the container, as the player builds them from the data file.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, existsSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const project = process.env.KAVIO_EXAMPLE || path.join(root, 'examples', 'banner', 'banner.kavio');
const kavio = process.env.KAVIO_CLI || path.join(root, 'build', 'bin', 'kavio');
const missing = !existsSync(project)
  ? `${project} is not there`
  : !existsSync(kavio)
    ? `${kavio} is not built`
    : '';

let browser;
let out;
let work;

before(async () => {
  if (missing) return;
  out = mkdtempSync(path.join(tmpdir(), 'kavio-export-'));
  work = mkdtempSync(path.join(tmpdir(), 'kavio-example-'));
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (out) rmSync(out, { recursive: true, force: true });
  if (work) rmSync(work, { recursive: true, force: true });
});

// Every file below a folder, relative to it.
function filesBelow(folder, prefix = '') {
  return readdirSync(folder, { withFileTypes: true }).flatMap((entry) =>
    entry.isDirectory()
      ? filesBelow(path.join(folder, entry.name), prefix + entry.name + '/')
      : [prefix + entry.name],
  );
}

// A copy of the example to export. The project's own page template ("htmlOutput") replaces the
// player's when it is set; a value that is no template at all (it lacks the load script's
// placeholder) would make a page without the player, so the copy falls back to the player's.
function exampleCopy(t) {
  const base = path.basename(project, '.kavio');
  cpSync(path.dirname(project), work, { recursive: true });
  const copy = path.join(work, base + '.kavio');
  const data = JSON.parse(readFileSync(copy, 'utf8'));
  const own = data.document && data.document.htmlOutput;
  if (typeof own === 'string' && own && !own.includes('{$loadDocumentScript}')) {
    t.diagnostic(`the example's htmlOutput ${JSON.stringify(own.slice(0, 40))} is no page template; exported with the player's`);
    data.document.htmlOutput = '';
    writeFileSync(copy, JSON.stringify(data));
  }
  return copy;
}

test('kavio export writes a page that plays the banner', { skip: missing || false }, async (t) => {
  const summary = execFileSync(kavio, ['export', exampleCopy(t), out], { encoding: 'utf8' });
  assert.match(summary, /^files=\d+ bytes=\d+ page=.*banner\.html\n$/);
  const files = filesBelow(out).sort();
  for (const name of ['banner.css', 'banner.html', 'banner.js', 'kvplayer.js']) {
    assert.ok(files.includes(name), `${name} was exported (${files.join(', ')})`);
  }
  for (const name of files) {
    if (/\.(html|css|js)$/.test(name)) {
      assert.ok(!readFileSync(path.join(out, name), 'utf8').includes('{$'), `${name} has no placeholder left`);
    }
  }
  const html = readFileSync(path.join(out, 'banner.html'), 'utf8');
  const id = /Kavio\.openDoc\('banner\.js', '([^']+)'/.exec(html);
  assert.ok(id, `the page starts the player: ${html.slice(0, 200)}`);

  const page = await browser.newPage({ viewport: { width: 1000, height: 400 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto('file://' + path.join(out, 'banner.html'));
  await page.waitForFunction((cid) => window.DorunKavio && DorunKavio.getDoc(cid) && DorunKavio.getDoc(cid).doc, id[1]);
  const seen = await page.evaluate((cid) => {
    const container = document.getElementById(cid);
    const names = {};
    for (const el of container.querySelectorAll('[data-kv-name]')) {
      const r = el.getBoundingClientRect();
      names[el.dataset.kvName] = { w: r.width, h: r.height };
    }
    return names;
  }, id[1]);
  for (const name of ['panel', 'logo', 'sun', 'headline', 'card', 'button']) {
    assert.ok(seen[name], `${name} is on the page (${Object.keys(seen).join(', ')})`);
    assert.ok(seen[name].w > 0 && seen[name].h > 0, `${name} has a size`);
  }
  // It plays: the headline slides in and fades up over the first scene's timeline.
  const at = (ms) => page.evaluate(([cid, t]) => {
    const ctl = DorunKavio.getDoc(cid);
    ctl.pause();
    ctl.seek(t);
    const el = document.getElementById(cid).querySelector('[data-kv-name="headline"]');
    const stage = document.getElementById(cid).getBoundingClientRect();
    return { x: el.getBoundingClientRect().left - stage.left, o: Number(getComputedStyle(el).opacity) };
  }, [id[1], ms]);
  const start = await at(0);
  const later = await at(1500);
  assert.ok(later.o > start.o, `the headline fades up (${start.o} -> ${later.o})`);
  assert.ok(Math.abs(later.x - start.x) > 10, `the headline moves (${start.x} -> ${later.x})`);
  // A click on the button goes to the next scene, whose elements replace the first scene's.
  const sceneNow = () => page.evaluate((cid) => DorunKavio.getDoc(cid).sceneIndex(), id[1]);
  assert.equal(await sceneNow(), 0);
  await page.click(`#${id[1]} [data-kv-name="button"]`);
  await page.waitForFunction((cid) => DorunKavio.getDoc(cid).sceneIndex() === 1, id[1]);
  await page.waitForSelector(`#${id[1]} [data-kv-name="shop"]`);
  assert.deepEqual(errors, []);
  await page.close();
});
