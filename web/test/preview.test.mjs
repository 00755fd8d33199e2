// "kavio preview" serves a copy of the example over HTTP on 127.0.0.1 and headless Chromium plays
// it from there: the page loads its data file, style sheet and player through the preview server.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { cpSync, existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const example = path.join(root, 'examples', 'banner');
const kavio = process.env.KAVIO_CLI || path.join(root, 'build', 'bin', 'kavio');
const missing = !existsSync(kavio) ? `${kavio} is not built` : '';

let browser;
let work;
let server;

function startPreview(project) {
  return new Promise((resolve, reject) => {
    server = spawn(kavio, ['preview', project, '--no-browser', '--port', '8181'], { stdio: ['ignore', 'pipe', 'pipe'] });
    let out = '';
    let err = '';
    server.stdout.on('data', (d) => {
      out += d;
      const line = out.split('\n')[0];
      if (out.includes('\n')) resolve(line.trim());
    });
    server.stderr.on('data', (d) => { err += d; });
    server.on('exit', (code) => reject(new Error(`kavio preview ended with ${code}: ${err}`)));
  });
}

before(async () => {
  if (missing) return;
  work = mkdtempSync(path.join(tmpdir(), 'kavio-preview-'));
  cpSync(example, work, { recursive: true });
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
  });
});

after(async () => {
  if (server && server.exitCode === null) server.kill('SIGTERM');
  if (browser) await browser.close();
  if (work) rmSync(work, { recursive: true, force: true });
});

test('the previewed example plays over HTTP', { skip: missing || false }, async () => {
  const url = await startPreview(path.join(work, 'banner.kavio'));
  assert.match(url, /^http:\/\/127\.0\.0\.1:\d+\/\/.*\/banner_res\/preview\/banner\.html$/);
  const page = await browser.newPage({ viewport: { width: 1000, height: 600 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  const response = await page.goto(url);
  assert.equal(response.status(), 200);
  assert.equal(response.headers()['server'], 'Kavio Studio');
  const id = await page.evaluate(() => {
    const m = /openDoc\('banner\.js', '([^']+)'/.exec(document.documentElement.innerHTML);
    return m && m[1];
  });
  assert.ok(id, 'the page starts the player');
  await page.waitForFunction((cid) => window.DorunKavio && DorunKavio.getDoc(cid) && DorunKavio.getDoc(cid).doc, id);
  const at = (ms) => page.evaluate(([cid, t]) => {
    const ctl = DorunKavio.getDoc(cid);
    ctl.pause();
    ctl.seek(t);
    const el = document.getElementById(cid).querySelector('[data-kv-name="headline"]');
    return { x: el.getBoundingClientRect().left, o: Number(getComputedStyle(el).opacity) };
  }, [id, ms]);
  const start = await at(0);
  const later = await at(1500);
  assert.ok(later.o > start.o, `the headline fades up (${start.o} -> ${later.o})`);
  assert.ok(Math.abs(later.x - start.x) > 10, `the headline moves (${start.x} -> ${later.x})`);
  // The project file is outside the served folder.
  const outside = await page.request.get(url.replace('banner_res/preview/banner.html', 'banner.kavio'));
  assert.equal(outside.status(), 403);
  assert.deepEqual(errors, []);
  await page.close();
  server.kill('SIGTERM');
  const code = await new Promise((resolve) => server.once('exit', resolve));
  assert.equal(code, 0);
});
