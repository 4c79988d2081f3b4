// The plot's worker: its own calculator instances, which replay the session's assignments
// (so its variables are the session's, bit for bit) and never touch the session. It draws
// a request level by level (a coarse grid, then the full one), a band of rows at a time,
// sending each band as it is done; between bands it looks at its messages, so that a newer
// request ends the one in progress. It also answers probes: the calculator's texts for
// z and f(z) at one point, with the session's tol.
import { createCalculator } from './kxcalc.js';
import { PlotEvaluator, gridOf } from './plot_engine.js';
import { assignmentOfZ } from './plot_numbers.js';

const modulePromise = fetch(new URL('./kxcalc.wasm', import.meta.url)).then((response) => {
  if (!response.ok) throw new Error(`kxcalc.wasm: HTTP ${response.status}`);
  return response.arrayBuffer();
}).then((bytes) => WebAssembly.compile(bytes));

let latestJob = 0;
let built = null;  // { version, instances }: a promise of { evaluator, prober } for one version of the session

// Both instances anew when the session's assignments changed: replaying them into fresh
// tables gives exactly the session's variables, whatever the plot assigned since. The
// drawing one has tol -1; the probing one keeps the session's tol.
function instancesFor(session) {
  if (built === null || built.version !== session.version) {
    built = { version: session.version, instances: newInstances(session.lines) };
  }
  return built.instances;
}

async function newInstances(lines) {
  const module = await modulePromise;
  const evaluator = await PlotEvaluator.create(module, lines);
  const prober = await createCalculator({ wasm: module });
  for (const line of lines) prober.calc(line);
  return { evaluator, prober };
}

// A macrotask that lets the worker's pending messages run first.
const channel = new MessageChannel();
let resume = null;
channel.port1.onmessage = () => resume?.();
function pendingMessages() {
  return new Promise((resolve) => { resume = resolve; channel.port2.postMessage(0); });
}

async function draw(request) {
  const { evaluator } = await instancesFor(request.session);
  for (const level of request.levels) {
    const grid = gridOf(request.view, level.size);
    for (let band = request.part; band * level.bandRows < level.size; band += request.parts) {
      if (request.job !== latestJob) return;
      const firstRow = band * level.bandRows;
      const rowCount = Math.min(level.bandRows, level.size - firstRow);
      const rgba = new Uint8ClampedArray(level.size * rowCount * 4);
      const message = evaluator.colourRows(request.expression, grid, firstRow, rowCount, rgba);
      postMessage({ type: 'rows', job: request.job, size: level.size, firstRow, rowCount, message, pixels: rgba.buffer },
        [rgba.buffer]);
      await pendingMessages();
    }
  }
}

async function probe(request) {
  const { prober } = await instancesFor(request.session);
  const point = prober.evaluate(assignmentOfZ(request.x, request.y));
  const value = prober.evaluate(request.expression);
  postMessage({ type: 'probe', id: request.id, point: point.text, value: value.text, isMessage: value.isMessage });
}

onmessage = (event) => {
  const request = event.data;
  if (request.type === 'draw') {
    latestJob = request.job;
    draw(request).catch((failure) => postMessage({ type: 'failed', job: request.job, text: String(failure?.message ?? failure) }));
  } else if (request.type === 'probe') {
    probe(request).catch((failure) => postMessage({ type: 'failed', text: String(failure?.message ?? failure) }));
  }
};

modulePromise.then(() => postMessage({ type: 'ready' }), (failure) => postMessage({ type: 'failed', text: String(failure.message) }));
