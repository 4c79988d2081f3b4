// Time to the plot's first (coarse, 64×64) image and to its full 512×512 image on the
// calculator page in headless Chromium, for sin(z)/z and (z^2-1)/(z^2+1); times run from
// the request (the plot's form submitted) to the image drawn on the canvas. Needs
// web/build.sh to have run, and /usr/bin/chromium (or KXCALC_CHROMIUM).
//
//   node js/bench/plot_bench.mjs [--repetitions N]
import { parseArgs } from 'node:util';

import { chromium } from 'playwright-core';

import { servePage } from '../support/page_server.mjs';

const { values: options } = parseArgs({ options: { repetitions: { type: 'string', default: '15' } } });
const repetitions = Number(options.repetitions);
const expressions = ['sin(z)/z', '(z^2-1)/(z^2+1)'];

const { server, origin } = await servePage();

const browser = await chromium.launch({
  executablePath: process.env.KXCALC_CHROMIUM ?? '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.goto(`${origin}/`);
  await page.waitForSelector('html[data-ready="true"]');
  await page.waitForSelector('#plot-canvas[data-state="drawn"]');
  const workers = await page.evaluate(() => Math.max(1, Math.min(navigator.hardwareConcurrency || 2, 4)));

  // One drawing: the times to the coarse and the full image, in ms.
  const drawOnce = (expression, centre) => page.evaluate(([text, at]) => new Promise((resolve) => {
    const canvas = document.getElementById('plot-canvas');
    const times = {};
    let start = 0;
    const listener = (event) => {
      times[event.detail.size] = performance.now() - start;
      if (event.detail.size !== canvas.width) return;
      canvas.removeEventListener('plotlevel', listener);
      resolve(times);
    };
    canvas.addEventListener('plotlevel', listener);
    document.getElementById('plot-expression').value = text;
    document.getElementById('plot-centre').value = at;
    start = performance.now();
    document.getElementById('plot-form').requestSubmit();
  }), [expression, centre]);

  const rows = [];
  for (const expression of expressions) {
    const coarse = [];
    const full = [];
    for (let k = 0; k < repetitions; ++k) {
      const times = await drawOnce(expression, k % 2 === 0 ? '0' : '0.001');  // a new grid each time
      if (times[64] !== undefined) coarse.push(times[64]);
      full.push(times[512]);
    }
    rows.push({ expression, coarse, full });
  }
  const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
  const best = (values) => Math.min(...values);
  console.log(`headless Chromium, ${workers} worker(s), ${repetitions} drawings each, region width 4 around 0`);
  console.log('expression            first image (ms) best / median     full 512×512 (ms) best / median');
  for (const { expression, coarse, full } of rows) {
    console.log(`${expression.padEnd(22)}${best(coarse).toFixed(1).padStart(8)} / ${median(coarse).toFixed(1).padEnd(16)}` +
      `${best(full).toFixed(0).padStart(12)} / ${median(full).toFixed(0)}`);
  }
} finally {
  await browser.close();
  server.close();
}
