// Opens an exported page in headless Chromium, clicks one of its elements and prints what followed,
// for the desktop tests that make a project through the editor: node clickexported.mjs FOLDER PAGE
// ELEMENT_NAME. The folder is served on 127.0.0.1; motion is reduced, so the document rests in its
// first scene until the click. Prints {"before": scene index, "after": scene index, "logs": [...]}.
import { createReadStream, existsSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import path from 'node:path';
import { chromium } from 'playwright-core';

const [folder, pageName, elementName] = process.argv.slice(2);
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png' };
const root = path.resolve(folder);
const server = createServer((req, res) => {
  const file = path.join(root, decodeURIComponent(new URL(req.url, 'http://127.0.0.1').pathname));
  if (!file.startsWith(root + path.sep) || !existsSync(file) || !statSync(file).isFile()) {
    res.writeHead(404).end();
    return;
  }
  res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
  createReadStream(file).pipe(res);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
});
try {
  const page = await browser.newPage({ reducedMotion: 'reduce', viewport: { width: 800, height: 600 } });
  const logs = [];
  page.on('console', (m) => logs.push(m.text()));
  page.on('pageerror', (e) => logs.push(`error: ${e.message}`));
  await page.goto(`http://127.0.0.1:${server.address().port}/${pageName}`);
  // The container is the element's nearest ancestor that the player plays a document in.
  const id = await page.waitForFunction(() => {
    for (let node = document.querySelector('[data-kv-name]'); node; node = node.parentElement) {
      if (node.id && window.DorunKavio && DorunKavio.getDoc(node.id) && DorunKavio.getDoc(node.id).doc) return node.id;
    }
    return null;
  }, null, { timeout: 20000 });
  const container = await id.jsonValue();
  const scene = () => page.evaluate((c) => DorunKavio.getDoc(c).sceneIndex(), container);
  const before = await scene();
  await page.click(`#${container} [data-kv-name="${elementName}"]`, { force: true });
  await page.waitForFunction((args) => DorunKavio.getDoc(args[0]).sceneIndex() !== args[1], [container, before],
    { timeout: 5000 }).catch(() => {});
  await page.waitForTimeout(300);
  process.stdout.write(JSON.stringify({ before, after: await scene(), logs }));
} finally {
  await browser.close();
  server.close();
}
