// The text helper page: its normaliser in a real headless Chromium, and its exchange with the
// validator over a stand-in web channel.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const helper = path.join(here, '..', 'helperhtml', 'kvtexteditorhelper.html');

async function launch() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
  });
}

const cases = [
  ['plain text stays', 'Hello', 'Hello'],
  ['formatting stays', '<b>Bold</b> and <i>it</i>', '<b>Bold</b> and <i>it</i>'],
  ['scripts and styles go', 'a<script>alert(1)</script><style>p{}</style>b', 'ab'],
  ['comments go', 'a<!-- note -->b', 'ab'],
  ['classes and handlers go', '<p class="x" onclick="f()" id="i">t</p>', '<p>t</p>'],
  ['bare spans are unwrapped', '<span>a</span><span class="q">b</span>', 'ab'],
  ['styled spans stay', '<span style="color: red;">r</span>', '<span style="color: red">r</span>'],
  ['empty style goes', '<span style=" ; ">x</span>', 'x'],
  ['font becomes a span', '<font face="Arial" color="#ff0000">f</font>', '<span style="font-family: Arial; color: #ff0000">f</span>'],
  ['a face with an apostrophe is quoted', `<font face="Gill's Sans, serif">g</font>`, `<span style="font-family: 'Gill\\'s Sans', serif">g</span>`],
  ['javascript links lose their target', '<a href="javascript:x()">l</a><a href="https://k.io" target="_blank">k</a>',
    '<a>l</a><a href="https://k.io" target="_blank">k</a>'],
  ['a trailing break of a block goes', '<p>line<br></p><p><br></p>', '<p>line</p><p><br></p>'],
];

test('the normaliser keeps what the player shows, in a stable form', async () => {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.goto('file://' + helper);
    for (const [name, input, expected] of cases) {
      const output = await page.evaluate((html) => window.kvNormaliseHtml(html), input);
      assert.equal(output, expected, name);
      // Normalising twice changes nothing more.
      assert.equal(await page.evaluate((html) => window.kvNormaliseHtml(html), output), expected, name + ' (again)');
    }
  } finally {
    await browser.close();
  }
});

test('the page answers the validator over its channel and says when it is ready', async () => {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    const calls = [];
    await page.exposeFunction('recordCall', (name, arg) => calls.push([name, arg]));
    // A stand-in for the page's channel: a validator with the members of the application's.
    await page.addInitScript(() => {
      window.qt = { webChannelTransport: {} };
      const listeners = [];
      const validator = {
        removeFormat: { connect: (f) => listeners.push(f) },
        onHtmlProcessed: (html) => window.recordCall('onHtmlProcessed', html),
        processNextAction: () => window.recordCall('processNextAction', ''),
        pageReady: () => {
          window.recordCall('pageReady', '');
          setTimeout(() => listeners.forEach((f) => f('<span>a</span><script>x</script>', -1)), 0);
        },
      };
      window.QWebChannel = class {
        constructor(transport, callback) { setTimeout(() => callback({ objects: { kvTextValidator: validator } }), 0); }
      };
    });
    await page.route('qrc:///**', (route) => route.fulfill({ body: '' }));
    await page.goto('file://' + helper);
    await page.waitForFunction(() => true);
    for (let i = 0; i < 50 && calls.length < 3; ++i)
      await new Promise((resolve) => setTimeout(resolve, 20));
    assert.deepEqual(calls, [['pageReady', ''], ['onHtmlProcessed', 'a'], ['processNextAction', '']]);
  } finally {
    await browser.close();
  }
});
