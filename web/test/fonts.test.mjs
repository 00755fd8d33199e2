// Installed fonts embedded in an export: "kavio export" writes the fonts a project's text uses as
// WOFF files beside the page, and headless Chromium shows the text in them even where the family is
// not installed: the browser runs with a font configuration that hides the Liberation fonts, so that
// what it draws in Liberation comes from the exported files. document.fonts must list the faces as loaded,
// and the fonts Chromium used for each text (DevTools' platform fonts) must be the embedded ones.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, existsSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const example = path.join(root, 'examples', 'banner');
const kavio = process.env.KAVIO_CLI || path.join(root, 'build', 'bin', 'kavio');
const serif = '/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf';
// Debian's Python, where python3-fonttools lives (a python3 earlier on the path may lack it).
const python = existsSync('/usr/bin/python3') ? '/usr/bin/python3' : 'python3';
const hasFontTools = (() => {
  try {
    execFileSync(python, ['-c', 'import fontTools']);
    return true;
  } catch {
    return false;
  }
})();
const missing = !existsSync(kavio)
  ? `${kavio} is not built`
  : !existsSync(serif) || !existsSync('/usr/share/fonts/truetype/dejavu')
    ? 'fonts-liberation2 or fonts-dejavu-core is not installed'
    : !hasFontTools
      ? 'python3-fonttools is not installed'
      : '';

// A family name with an apostrophe and double quotes, given to a copy of Liberation Serif.
const oddFamily = 'Kavio\'s "Odd" Serif';
let work;

// A fontconfig file: the machine's own configuration (its fonts and how it draws them) with the
// folders given added and the files matching the patterns hidden.
function fontConfig(name, folders, hidden = []) {
  const file = path.join(work, name);
  const dirs = folders.map((d) => `<dir>${d}</dir>`).join('');
  const reject = hidden.map((g) => `<glob>${g}</glob>`).join('');
  writeFileSync(file, `<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig>` +
    `<include ignore_missing="yes">/etc/fonts/fonts.conf</include>${dirs}` +
    `<selectfont><rejectfont>${reject}</rejectfont></selectfont>` +
    `<cachedir>${path.join(work, 'fc-cache')}</cachedir></fontconfig>\n`);
  return file;
}

before(() => {
  if (missing) return;
  work = mkdtempSync(path.join(tmpdir(), 'kavio-fonts-'));
  const odd = path.join(work, 'odd-fonts');
  mkdirSync(odd);
  execFileSync(python, ['-c', `
import sys
from fontTools.ttLib import TTFont
font = TTFont(sys.argv[1])
for record in font['name'].names:
    if record.nameID in (1, 4, 16):
        record.string = sys.argv[3]
    elif record.nameID == 6:
        record.string = 'KavioOddSerif'
font.save(sys.argv[2])
`, serif, path.join(odd, 'odd.ttf'), oddFamily]);
});

after(() => {
  if (work) rmSync(work, { recursive: true, force: true });
});

// The banner example with the headline's text settings changed, exported under a font
// configuration; the export's folder.
function exportBanner(name, headline, exportFonts) {
  const copy = path.join(work, name);
  cpSync(example, copy, { recursive: true });
  const file = path.join(copy, 'banner.kavio');
  const data = JSON.parse(readFileSync(file, 'utf8'));
  assert.equal(data.document.embedSytemFont, true, 'the example embeds installed fonts');
  for (const scene of data.document.scenes) {
    for (const child of scene.children) {
      if (child.name === 'headline') Object.assign(child.respProps[0].values.text, headline);
    }
  }
  writeFileSync(file, JSON.stringify(data));
  const out = path.join(work, name + '-out');
  const env = { ...process.env };
  if (exportFonts) env.FONTCONFIG_FILE = exportFonts;
  const summary = execFileSync(kavio, ['export', file, out], { encoding: 'utf8', env });
  return { out, summary };
}

// What Chromium shows: document.fonts' faces, the platform fonts of the text of each element
// given as "<element name>[ <selector inside it>]", and a picture of the headline once it is in
// place. browserFonts: a fontconfig file (the machine's own when not given).
async function look(out, browserFonts, names) {
  const env = { ...process.env };
  if (browserFonts) env.FONTCONFIG_FILE = browserFonts;
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
    env,
  });
  try {
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    await page.goto('file://' + path.join(out, 'banner.html'));
    await page.waitForSelector('[data-kv-name="headline"]');
    const faces = await page.evaluate(async () => {
      await document.fonts.ready;
      // Each face is asked for, as a text of its style would.
      await Promise.all([...document.fonts].map((f) => f.load().catch(() => null)));
      return [...document.fonts].map((f) => ({ family: f.family, weight: f.weight, style: f.style, status: f.status }));
    });
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('DOM.enable');
    await cdp.send('CSS.enable');
    const { root: doc } = await cdp.send('DOM.getDocument', { depth: -1 });
    const used = {};
    for (const name of names) {
      const [element, inside] = name.split(' ');
      const selector = `[data-kv-name="${element}"]` + (inside ? ' ' + inside : '');
      const { nodeId } = await cdp.send('DOM.querySelector', { nodeId: doc.nodeId, selector });
      const { fonts } = await cdp.send('CSS.getPlatformFontsForNode', { nodeId });
      used[name] = fonts;
    }
    await page.evaluate(() => {
      const id = document.querySelector('[data-kv-name="headline"]').closest('[id]').id;
      const doc = DorunKavio.getDoc(id);
      doc.pause();
      doc.seek(1500);
    });
    const picture = await page.locator('[data-kv-name="headline"]').screenshot();
    assert.deepEqual(errors, []);
    return { faces, used, picture };
  } finally {
    await browser.close();
  }
}

// CSS gives a family back in quotes when it needs them.
const plain = (family) => family.replace(/^"(.*)"$/, '$1').replace(/\\(.)/g, '$1');

const rows = [
  {
    name: 'Arial, installed as Liberation Sans, on a machine without it',
    headline: {},
    family: 'Arial',
    exportFonts: false,
    // Only the faces the text uses: the banner has no italic.
    files: ['arial.woff', 'arial_bold.woff'],
    // "<b>30% off</b>" of the card is drawn in the embedded bold face.
    expect: { headline: ['Liberation Sans', false], 'card b': ['Liberation Sans', true] },
  },
  {
    // A headline set in Liberation Serif bold 28 px shows the same pixels where the family is
    // installed and where only the exported files bring it.
    name: 'Liberation Serif bold 28 px looks the same without the family',
    headline: { fontFamily: 'Liberation Serif', bold: true, fontSize: 28 },
    family: 'Liberation Serif',
    exportFonts: false,
    files: ['liberation serif_bold.woff'],
    expect: { headline: ['Liberation Serif', true] },
    sameAsInstalled: true,
  },
  {
    name: 'a family with an apostrophe and double quotes',
    headline: { fontFamily: oddFamily },
    family: oddFamily,
    exportFonts: true,
    files: ["kavio's _odd_ serif.woff"],
    expect: { headline: [oddFamily, false] },
  },
];

for (const row of rows) {
  test(`embedded fonts: ${row.name}`, { skip: missing || false }, async () => {
    const exportFonts = row.exportFonts &&
      fontConfig('export-fonts.conf', [path.join(work, 'odd-fonts')]);
    const { out, summary } = exportBanner(row.name.replace(/\W+/g, '-'), row.headline, exportFonts);
    const woff = readdirSync(path.join(out, 'resources')).filter((f) => f.endsWith('.woff'));
    // The banner's other texts are in Arial, regular and bold.
    const expected = [...new Set([...row.files, 'arial.woff', 'arial_bold.woff'])].sort();
    assert.deepEqual(woff.sort(), expected, 'the faces the texts use, and no others');
    // The export counts the font files with the rest.
    const files = Number(/^files=(\d+)/.exec(summary)[1]);
    assert.ok(files >= 5 + row.files.length, summary);
    const css = readFileSync(path.join(out, 'banner.css'), 'utf8');
    assert.ok(css.includes('@font-face{'), css);

    const { faces, used, picture } = await look(out,
      fontConfig('browser-fonts.conf', [], ['*/liberation*/*', '*/odd-fonts/*']), Object.keys(row.expect));
    const ours = faces.filter((f) => plain(f.family) === row.family);
    assert.equal(ours.length, row.files.length, JSON.stringify(faces));
    for (const face of ours) assert.equal(face.status, 'loaded', JSON.stringify(face));
    for (const [name, [family, bold]] of Object.entries(row.expect)) {
      const fonts = used[name];
      assert.ok(fonts.length > 0, `${name} shows text`);
      for (const font of fonts) {
        assert.equal(font.familyName, family === oddFamily ? oddFamily : family, `${name}: ${JSON.stringify(fonts)}`);
        assert.equal(font.isCustomFont, true, `${name} is set in an embedded font: ${JSON.stringify(fonts)}`);
      }
      assert.equal(fonts.some((f) => /Bold/.test(f.postScriptName || '')), bold, `${name}: ${JSON.stringify(fonts)}`);
    }
    if (row.sameAsInstalled) {
      const installed = await look(out, null, []);
      assert.ok(picture.equals(installed.picture), 'the headline looks the same with the family installed');
    }
  });
}
