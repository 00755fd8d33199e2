// The welcome page's script runs in a real headless Chromium against a stand-in web channel.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const welcome = path.join(here, '..', 'welcome');

async function launch() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
  });
}

test('welcome page without a channel says it is offline', async () => {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.goto('file://' + path.join(welcome, 'kvwelcome.html'));
    await page.waitForFunction(() => document.getElementById('status').textContent === 'Offline');
    assert.equal(await page.textContent('h1'), 'Kavio Studio');
  } finally {
    await browser.close();
  }
});

test('welcome page lists recent projects and forwards clicks to the bridge', async () => {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    const calls = [];
    await page.exposeFunction('recordCall', (name, arg) => calls.push([name, arg]));
    // A stand-in for the channel: the in-process transport the application gives its view and a
    // QWebChannel that hands over a bridge object with the same members as the application's.
    await page.addInitScript(() => {
      window.qt = { webChannelTransport: {} };
      window.QWebChannel = class {
        constructor(transport, done) {
          const bridge = {
            version: '2.7.1',
            recentProjects: ['/home/ann/Kavio Studio/promo/promo.kavio', 'C:\\ads\\sale\\sale.kavio'],
            recentProjectsChanged: { connect() {} },
            newProject: () => window.recordCall('newProject', null),
            openProjectDialog: () => window.recordCall('openProjectDialog', null),
            openProject: (p) => window.recordCall('openProject', p),
            pageReady: (info) => window.recordCall('pageReady', info),
          };
          done({ objects: { kvwelcome: bridge } });
        }
      };
    });
    const html = readFileSync(path.join(welcome, 'kvwelcome.html'), 'utf8');
    assert.match(html, /qwebchannel\.js/);
    await page.goto('file://' + path.join(welcome, 'kvwelcome.html'));
    await page.waitForFunction(() => document.getElementById('status').textContent === 'Ready');
    const items = await page.$$eval('#recent-list a', (as) => as.map((a) => a.textContent));
    assert.deepEqual(items, ['promo.kavio', 'sale.kavio']);
    await page.click('#recent-list a >> nth=1');
    await page.click('#new-project');
    await page.waitForFunction(() => true);
    await new Promise((r) => setTimeout(r, 100));
    assert.deepEqual(calls.map((c) => c[0]), ['pageReady', 'openProject', 'newProject']);
    assert.equal(calls[1][1], 'C:\\ads\\sale\\sale.kavio');
    assert.equal(await page.textContent('#version'), 'Version 2.7.1');
    // The status and the version read as two items, set apart by a dot, not as one phrase.
    const gap = await page.evaluate(() => {
      const text = document.createRange();
      text.selectNodeContents(document.getElementById('version').firstChild);
      return text.getBoundingClientRect().left - document.getElementById('status').getBoundingClientRect().right;
    });
    assert.ok(gap > 15, `status and version ${gap}px apart`);
  } finally {
    await browser.close();
  }
});
