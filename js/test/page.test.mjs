// The calculator page in headless Chromium, served from 127.0.0.1: lines typed with the
// keyboard, the texts shown, history, completion, the plot (its pixels' colours, probes,
// clicks, zoom), and screenshots at desktop and phone width (build-web/screenshots/). Needs web/build.sh to have run, and /usr/bin/chromium.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

import { chromium } from 'playwright-core';

import { pageDir, servePage } from '../support/page_server.mjs';

const browserPath = process.env.KXCALC_CHROMIUM ?? '/usr/bin/chromium';

// The hue (in turns, 0 red, 1/2 cyan) and the lightness (0 to 1) of an RGB colour.
function hueAndLightness([r, g, b]) {
  const max = Math.max(r, g, b);
  const min = Math.min(r, g, b);
  const lightness = (max + min) / 510;
  const range = max - min;
  if (range === 0) return { hue: NaN, lightness };
  const sector = max === r ? (g - b) / range : max === g ? (b - r) / range + 2 : (r - g) / range + 4;
  return { hue: (sector / 6 + 1) % 1, lightness };
}

const turnsApart = (a, b) => Math.min(Math.abs(a - b) % 1, 1 - (Math.abs(a - b) % 1));


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

    // The plot: drawn from its input or from the session line, over the region centre 0, width 4.
    const canvas = page.locator('#plot-canvas');
    const drawnFor = (text) => page.waitForFunction((part) => {
      const node = document.getElementById('plot-canvas');
      return node.dataset.state === 'drawn' && node.getAttribute('aria-label').includes(part);
    }, text, { timeout: 20_000 });
    const plot = async (expression) => {
      await page.getByRole('textbox', { name: 'f(z) =' }).fill(expression);
      await page.getByRole('textbox', { name: 'f(z) =' }).press('Enter');
      await drawnFor(`f(z) = ${expression} for z from -2-2i to 2+2i`);
    };
    const colourAt = (re, im) => page.evaluate(([x, y]) => {
      const node = document.getElementById('plot-canvas');
      const column = Math.floor((x + 2) / 4 * node.width);
      const row = Math.floor((2 - y) / 4 * node.height);
      const pixel = document.createElement('canvas');  // read through a copy: the plot is not read back
      pixel.width = 1;
      pixel.height = 1;
      const context = pixel.getContext('2d', { willReadFrequently: true });
      context.drawImage(node, column, row, 1, 1, 0, 0, 1, 1);
      return [...context.getImageData(0, 0, 1, 1).data.slice(0, 3)];
    }, [re, im]);
    const hueAt = async (re, im) => hueAndLightness(await colourAt(re, im)).hue;
    const lightnessAt = async (re, im) => hueAndLightness(await colourAt(re, im)).lightness;

    await plot('z');
    assert.ok(turnsApart(await hueAt(1, 0.01), 0) < 0.02, 'z: red right of the origin');
    assert.ok(turnsApart(await hueAt(-1, 0.01), 0.5) < 0.02, 'z: cyan left of it');
    await plot('1/z');
    assert.ok(await lightnessAt(0.004, 0.004) > 0.8, '1/z: bright next to 0');
    assert.ok(await lightnessAt(1.5, 1.5) < 0.5, '1/z: darker far from 0');
    await plot('sqrt(z)');
    const acrossNegative = turnsApart(await hueAt(-1, 0.02), await hueAt(-1, -0.02));
    assert.ok(Math.abs(acrossNegative - 0.5) < 0.03, `sqrt(z): half a turn across the cut (${acrossNegative})`);
    assert.ok(turnsApart(await hueAt(1, 0.02), await hueAt(1, -0.02)) < 0.02, 'sqrt(z): continuous across the positive axis');
    await plot('z^1000*0');
    assert.deepEqual(await colourAt(1.9, 1.9), [128, 128, 128], 'nan where z^1000 overflows: grey');
    assert.deepEqual(await colourAt(0.5, 0.5), [0, 0, 0], 'zero: black');

    // A session variable, and plot EXPR typed in the session line.
    await line.focus();
    await enter('set a = 2');
    await page.keyboard.type('plot z^a');
    await page.keyboard.press('Enter');
    await drawnFor('f(z) = z^a for z from -2-2i to 2+2i');
    assert.ok(turnsApart(await hueAt(-1, 0.01), 0) < 0.03, 'z^a with a = 2: red at -1');
    assert.ok(turnsApart(await hueAt(0.01, 1), 0.5) < 0.03, 'z^a with a = 2: cyan at i');

    // Pointing shows z and f(z); a click adds the line f(that z) and the session's answer.
    const box = await canvas.boundingBox();
    const onePlusI = { x: box.x + box.width * 0.75, y: box.y + box.height * 0.25 };
    await page.mouse.move(onePlusI.x, onePlusI.y);
    const probe = page.locator('#plot-probe-text');
    await page.waitForFunction(() => document.getElementById('plot-probe-text').textContent.startsWith('z = 1+i'));
    const probeText = await probe.textContent();
    const shownValue = probeText.split(' · f(z) = ')[1];
    await page.mouse.click(onePlusI.x, onePlusI.y);
    await page.waitForFunction(() => document.querySelector('#session li:last-child .typed').textContent === '(1+i)^a');
    assert.deepEqual(await lastAnswer(), { text: shownValue, message: false }, 'the session computes the value shown');
    assert.equal(probeText, `z = 1+i · f(z) = ${shownValue}`);

    // Zoom with the keyboard: the region halves about its centre.
    await canvas.focus();
    await page.keyboard.press('+');
    await drawnFor('f(z) = z^a for z from -1-i to 1+i');
    assert.equal(await page.getByRole('textbox', { name: 'width' }).inputValue(), '2');
    await page.getByRole('button', { name: 'Reset' }).click();
    await plot('(z^2-1)/(z^2+1)');

    const screenshots = join(pageDir, 'screenshots');
    mkdirSync(screenshots, { recursive: true });
    await page.screenshot({ path: join(screenshots, 'desktop.png'), fullPage: true });
    await page.locator('#plot').screenshot({ path: join(screenshots, 'plot-desktop.png') });
    await page.setViewportSize({ width: 390, height: 844 });
    await page.screenshot({ path: join(screenshots, 'phone.png'), fullPage: true });
    await page.locator('#plot').screenshot({ path: join(screenshots, 'plot-phone.png') });
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
