// ns per line over bench/corpus.txt: the WebAssembly calculator, and math.js on the lines it
// can take (translated where the syntax differs), in one run with interleaved repetitions;
// the best repetition of each is reported.
//
//   node js/bench/corpus_bench.mjs [--repetitions N] [--native NS] [--wasm FILE ...]
// --native gives the native library's ns per line on the whole corpus (bench/run.sh) for
// the ratio; without it, /tmp/baseline_bench.txt is read when it exists. --wasm, once or
// more, names the modules to measure (each a calculator of its own, their repetitions
// interleaved, so that two builds are compared under the same conditions); without it, the
// kxcalc.wasm beside kxcalc.js.
import { spawnSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

import { create, all } from 'mathjs';

import { createCalculator, isMessage } from '../kxcalc.js';
import { translateForPeer } from './peer_syntax.js';

// Each measurement starts after a collection, so that no benchmark pays for the garbage of
// the one before (math.js leaves much): the script runs itself again with --expose-gc.
if (typeof globalThis.gc !== 'function') {
  const run = spawnSync(process.execPath, ['--expose-gc', ...process.argv.slice(1)], { stdio: 'inherit' });
  process.exit(run.status ?? 1);
}

const { values: options } = parseArgs({
  options: {
    repetitions: { type: 'string', default: '5' },
    native: { type: 'string' },
    corpus: { type: 'string' },
    wasm: { type: 'string', multiple: true },
  },
});
const corpusPath = options.corpus ?? fileURLToPath(new URL('../../bench/corpus.txt', import.meta.url));

// "# group NAME" opens a group; other "#" lines and empty lines are skipped.
function loadCorpus(path) {
  const lines = [];
  for (const line of readFileSync(path, 'utf8').split('\n')) {
    if (line === '' || line.startsWith('#')) continue;
    lines.push(line);
  }
  return lines;
}

function nativeFigure() {
  if (options.native !== undefined) return Number(options.native);
  const baseline = '/tmp/baseline_bench.txt';
  if (!existsSync(baseline)) return null;
  const row = readFileSync(baseline, 'utf8').split('\n').find((line) => /^all\s+[0-9.]+/.test(line));
  return row ? Number(row.split(/\s+/)[1]) : null;
}

const lines = loadCorpus(corpusPath);
const modulePaths = options.wasm ?? [null];  // null: the module beside kxcalc.js
const calculators = [];
for (const path of modulePaths) calculators.push(await createCalculator(path === null ? {} : { wasm: readFileSync(path) }));
const calculator = calculators[0];
// "kxcalc" for one module; "kxcalc #1", "kxcalc #2", ... for several.
const kxcalcName = (index) => (calculators.length === 1 ? 'kxcalc' : `kxcalc #${index + 1}`);
const math = create(all);

// The lines math.js is compared on: those that give a result here, that can be spelled in
// its syntax, and that it evaluates without an error.
const counts = { messages: 0, untranslatable: 0, rejected: 0 };
const peerLines = [];
const peerExpressions = [];
{
  const scope = new Map();
  for (const line of lines) {
    if (calculator.evaluate(line).isMessage) { ++counts.messages; continue; }
    const translated = translateForPeer(line);
    if (translated === null) { ++counts.untranslatable; continue; }
    try {
      math.evaluate(translated.expression, scope);
    } catch {
      ++counts.rejected;
      continue;
    }
    peerLines.push(line);
    peerExpressions.push(translated.expression);
  }
}

// Runs pass over the lines until at least minimumTime has gone; ns per line.
function timed(pass, count, minimumNs = 200e6) {
  globalThis.gc();
  let passes = 0;
  let sink = 0;
  const start = process.hrtime.bigint();
  let elapsed = 0n;
  do {
    sink += pass();
    ++passes;
    elapsed = process.hrtime.bigint() - start;
  } while (elapsed < BigInt(minimumNs));
  if (sink < 0) console.log(sink);  // keeps the work observable
  return Number(elapsed) / (passes * count);
}

const runKxcalc = (list, calc = calculator) => () => {
  let length = 0;
  for (let k = 0; k < list.length; ++k) length += calc.calc(list[k]).length;
  return length;
};
const runMathjs = (list) => () => {
  const scope = new Map();
  let count = 0;
  for (let k = 0; k < list.length; ++k) if (math.evaluate(list[k], scope) !== undefined) ++count;
  return count;
};
// The same work as kxcalc's: a line in, its answer as text out (15 significant digits).
const runMathjsText = (list) => () => {
  const scope = new Map();
  let length = 0;
  for (let k = 0; k < list.length; ++k) length += math.format(math.evaluate(list[k], scope), { precision: 15 }).length;
  return length;
};

const benchmarks = [
  ...calculators.map((calc, index) => [`${kxcalcName(index)}, whole corpus`, runKxcalc(lines, calc), lines.length]),
  ...calculators.map((calc, index) => [`${kxcalcName(index)}, math.js lines`, runKxcalc(peerLines, calc), peerLines.length]),
  ['math.js, its lines', runMathjs(peerExpressions), peerExpressions.length],
  ['math.js, text out', runMathjsText(peerExpressions), peerExpressions.length],
];
const best = new Map(benchmarks.map(([name]) => [name, Infinity]));
for (const [, pass] of benchmarks) timed(pass, 1, 100e6);  // warm up the JIT
for (let repetition = 0; repetition < Number(options.repetitions); ++repetition) {
  for (const [name, pass, count] of benchmarks) best.set(name, Math.min(best.get(name), timed(pass, count)));
}

console.log(`corpus ${corpusPath}: ${lines.length} lines`);
if (calculators.length > 1) modulePaths.forEach((path, index) => console.log(`${kxcalcName(index)}: ${path}`));
console.log(`math.js: compared on ${peerLines.length} lines; left out: ${counts.messages} that give a message here, ` +
  `${counts.untranslatable} it cannot be given, ${counts.rejected} it rejects`);
for (const [name, ns] of best) console.log(`${name.padEnd(26)} ${ns.toFixed(1).padStart(9)} ns/line`);
const first = kxcalcName(0);
const speedup = best.get('math.js, its lines') / best.get(`${first}, math.js lines`);
console.log(`math.js / ${first} (same lines): ${speedup.toFixed(1)}x evaluating, ` +
  `${(best.get('math.js, text out') / best.get(`${first}, math.js lines`)).toFixed(1)}x with the answer as text`);
for (let index = 1; index < calculators.length; ++index) {
  const ratio = best.get(`${kxcalcName(index)}, whole corpus`) / best.get(`${first}, whole corpus`);
  console.log(`${kxcalcName(index)} / ${first} (whole corpus): ${ratio.toFixed(3)}`);
}
const native = nativeFigure();
if (native !== null) {
  console.log(`wasm / native (whole corpus, native ${native} ns/line): ${(best.get(`${first}, whole corpus`) / native).toFixed(2)}x`);
}
