// The WebAssembly calculator against the native one: every line of the cross-system corpus
// must give the same text as the Linux build's command-line host, and be told a message
// or a result as that host tells it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

import { createCalculator } from '../kxcalc.js';

const root = fileURLToPath(new URL('../../', import.meta.url));
const corpusPath = `${root}tests/windows/cross_corpus.txt`;
const hostPath = process.env.KXCALC_HOST ?? `${root}build/tools/kxcalc/kxcalc`;
// Each platform leaves its texts here for the one summary line over all platforms.
const textsDirectory = `${root}build-cross-texts`;

// The host's own rule for a message: the text begins with one of the messages' first words.
const messageStarts = ['Parse Error', 'Syntax error', 'Syntax Error', 'Ran Out of Data', 'Out of memory'];

function linesOf(text) {
  const lines = text.split('\n');
  if (lines.at(-1) === '') lines.pop();
  return lines.map((line) => (line.endsWith('\r') ? line.slice(0, -1) : line));
}

test('every corpus line gives the Linux host text', async () => {
  const corpus = readFileSync(corpusPath);
  const host = spawnSync(hostPath, [], { input: corpus, maxBuffer: 1 << 26 });
  assert.ok(host.error === undefined && host.status !== null && host.status <= 1,
    `the Linux host ${hostPath} did not run (build it first: the README's build)`);
  const lines = linesOf(corpus.toString('utf8'));
  const expected = linesOf(host.stdout.toString('utf8'));
  assert.equal(expected.length, lines.length, 'the host printed one text per line');

  const calculator = await createCalculator();
  const differences = [];
  const misjudged = [];
  const texts = [];
  lines.forEach((line, k) => {
    const { text, isMessage } = calculator.evaluate(line);
    texts.push(text);
    if (text !== expected[k]) differences.push(`${line} | ${expected[k]} | ${text}`);
    if (isMessage !== messageStarts.some((start) => expected[k].startsWith(start))) misjudged.push(`${line} | ${text}`);
  });
  mkdirSync(textsDirectory, { recursive: true });
  writeFileSync(`${textsDirectory}/wasm32.txt`, `${texts.join('\n')}\n`);
  console.log(`wasm32: ${lines.length} lines, ${differences.length} differences`);
  assert.deepEqual(differences, [], 'line | Linux | wasm32');
  assert.deepEqual(misjudged, [], 'told a message from a result otherwise than the host');
});
