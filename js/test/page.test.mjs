// The calculator page in headless Chromium, served from 127.0.0.1: lines typed with the
// keyboard, the texts shown, history, completion, and screenshots at desktop and phone
// width (build-web/screenshots/). Needs web/build.sh to have run, and /usr/bin/chromium.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createServer } from 'node:http';
import { mkdirSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import { fileURLToPath } from 'node:url';

import { chromium } from 'playwright-core';

const pageDir = fileURLToPath(new URL('../../build-web/', import.meta.url));
const browserPath = process.env.KXCALC_CHROMIUM ?? '/usr/bin/chromium';
const contentTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.png': 'image/png',
};

// A static server for the built page, on a free port of 127.0.0.1.
async function servePage() {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname));
    const file = join(pageDir, path.endsWith('/') ? `${path}index.html` : path);
    try {
      const body = readFileSync(file);
      response.writeHead(200, { 'Content-Type': contentTypes[extname(file)] ?? 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, origin: `http://127.0.0.1:${server.address().port}` };
}

test('the page evaluates typed lines in Chromium', { timeout: 120_000 }, async () => {
  const { server, origin } = await servePage();
  const profile = mkdtempSync(join(tmpdir(), 'kxcalc-chromium-'));  // a new, empty profile
  let browser = null;
  try {
    browser = await chromium.launchPersistentContext(profile, {
      executablePath: browserPath,
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'],
      viewport: { width: 1280, height: 800 },
    });
    const page = browser.pages()[0] ?? await browser.newPage();
    const problems = [];
    page.on('console', (message) => { if (message.type() === 'error' || message.type() === 'warning') problems.push(message.text()); });
    page.on('pageerror', (error) => problems.push(error.message));
    page.on('request', (request) => {
      if (!request.url().startsWith(`${origin}/`) && !request.url().startsWith('data:')) problems.push(`request to ${request.url()}`);
    });

    await page.goto(`${origin}/`);
    await page.waitForSelector('html[data-ready="true"]');
    const line = page.getByLabel('Expression');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'line', 'the line has the focus');

    const answers = page.locator('#session output');
    const lastAnswer = async () => ({
      text: await answers.last().locator('.text').innerText(),  // as rendered: blanks kept
      message: await answers.last().evaluate((node) => node.classList.contains('message')),
    });
    const enter = async (text) => {
      await page.keyboard.type(text);
      await page.keyboard.press('Enter');
      return lastAnswer();
    };

    assert.deepEqual(await enter('(3+4*i)^2'), { text: '-7+24i', message: false });
    assert.deepEqual(await enter('2*sin(pi/6)'), { text: '1', message: false });
    assert.deepEqual(await enter('2)'), { text: 'Syntax error.  Unmatched: )', message: true });
    assert.deepEqual(await enter('set x = 2+i'), { text: '2+i', message: false });
    assert.deepEqual(await enter('x*x'), { text: '3+4i', message: false });
    assert.deepEqual(await page.locator('#variables dt').allTextContents(), ['tol', 'x']);
    assert.deepEqual(await page.locator('#variables dd').allTextContents(), ['1e-10', '2+i']);

    // History: Up walks back, Down forward, and past the newest line the draft comes back.
    await page.keyboard.type('1+');
    await page.keyboard.press('ArrowUp');
    assert.equal(await line.inputValue(), 'x*x');
    await page.keyboard.press('ArrowUp');
    assert.equal(await line.inputValue(), 'set x = 2+i');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('ArrowDown');
    assert.equal(await line.inputValue(), '1+');
    await line.fill('');

    // Completion: a unique function gets its bracket, a shared prefix lists the names.
    await page.keyboard.type('sq');
    await page.keyboard.press('Tab');
    assert.equal(await line.inputValue(), 'sqrt(');
    assert.deepEqual(await enter('-4)'), { text: '2i', message: false });
    await page.keyboard.type('set xylophone = 3');
    await page.keyboard.press('Enter');
    await page.keyboard.type('2*XY');
    await page.keyboard.press('Tab');
    assert.equal(await line.inputValue(), '2*XYlophone');
    assert.deepEqual(await enter(''), { text: '6', message: false });
    await page.keyboard.type('tan');
    await page.keyboard.press('Tab');
    assert.equal(await page.locator('#completions').textContent(), 'Names: tan tanh');
    assert.equal(await line.inputValue(), 'tan');
    await page.keyboard.press('Tab');  // a second Tab leaves the line for the button
    assert.equal(await page.evaluate(() => document.activeElement.tagName), 'BUTTON');
    await page.keyboard.press('Enter');  // the button evaluates the line too
    assert.deepEqual(await lastAnswer(), { text: 'Ran Out of Data', message: true });
    await line.focus();

    await page.keyboard.type('help');
    await page.keyboard.press('Enter');
    assert.equal(await page.locator('#help').evaluate((node) => node.open), true);

    const screenshots = join(pageDir, 'screenshots');
    mkdirSync(screenshots, { recursive: true });
    await page.screenshot({ path: join(screenshots, 'desktop.png'), fullPage: true });
    await page.setViewportSize({ width: 390, height: 844 });
    await page.screenshot({ path: join(screenshots, 'phone.png'), fullPage: true });
    const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
    assert.ok(overflow <= 0, `nothing is wider than a phone's screen (${overflow}px over)`);

    assert.deepEqual(problems, [], 'no console errors, no requests elsewhere');
  } finally {
    await browser?.close();
    server.closeAllConnections();
    server.close();
    rmSync(profile, { recursive: true, force: true });
  }
});
