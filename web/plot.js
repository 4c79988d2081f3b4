// The plot panel: a domain colouring of f(z) over a square region, drawn by workers that
// each run the calculator (plot_worker.js), a coarse grid first and then the full one, with
// axes labelled by the calculator, a legend, zoom, pan, probes and saving as PNG.
import { coordinateText, parseResultText, substituteZ } from './plot_numbers.js';
import { lightnessOf, nanColour, writeColour, writeHueLightness } from './plot_colours.js';

const fullSize = 512;
const coarseSize = 64;
const bandRows = 16;
const defaultView = { x: 0, y: 0, width: 4 };
const zoomStep = 2;

const element = (id) => document.getElementById(id);

export class PlotPanel {
  #canvas = element('plot-canvas');
  #context = this.#canvas.getContext('2d');
  #coarse = Object.assign(document.createElement('canvas'), { width: coarseSize, height: coarseSize });
  #status = element('plot-status');
  #probeText = element('plot-probe-text');
  #addButton = element('plot-add');
  #expressionInput = element('plot-expression');
  #centreInput = element('plot-centre');
  #widthInput = element('plot-width');
  #labels;            // a calculator of the page's own, tol 0: the axes' and the region's texts
  #session;           // () => { version, lines }: the session's assignments
  #addLine;           // (line) => void: a line for the session
  #workers = [];
  #view = { ...defaultView };
  #expression = '';
  #job = 0;
  #started = 0;
  #rowsIn = new Map();
  #message = null;
  #scheduled = false;
  #probeId = 0;
  #probeBusy = false;
  #probeNext = null;
  #probePending = null;
  #probed = null;     // { line, x, y } of the point shown
  #pointers = new Map();
  #gesture = null;
  #drawnTicks = { x: [], y: [] };

  constructor({ labels, session, addLine }) {
    this.#labels = labels;
    this.#session = session;
    this.#addLine = addLine;
    this.#labels.calc('set tol = 0');
    const count = Math.max(1, Math.min(navigator.hardwareConcurrency || 2, 4));
    for (let k = 0; k < count; ++k) this.#workers.push(this.#startWorker());
    this.#listen();
    drawLegend();
  }

  #startWorker() {
    const worker = new Worker(new URL('./plot_worker.js', import.meta.url), { type: 'module' });
    worker.onmessage = (event) => this.#received(event.data);
    worker.onerror = (event) => { this.#say(`The plot's worker failed: ${event.message}`); };
    return worker;
  }

  // Draws the expression, with the region of the inputs (or the current one).
  show(expression) {
    this.#expressionInput.value = expression;
    this.#drawFromInputs();
  }

  #drawFromInputs() {
    const view = this.#regionOfInputs();
    if (view === null) return;
    this.#view = view;
    const expression = this.#expressionInput.value.trim();
    if (expression !== this.#expression) this.#forgetProbe();
    this.#expression = expression;
    this.#request();
  }

  // ---- the region ---------------------------------------------------------------------

  #valueOf(text) {
    this.#labels.calc('set tol = -1');
    const value = parseResultText(this.#labels.calc(text));
    this.#labels.calc('set tol = 0');
    return value;
  }

  #regionOfInputs() {
    const centre = this.#valueOf(this.#centreInput.value);
    const width = this.#valueOf(this.#widthInput.value);
    if (centre === null || !Number.isFinite(centre.re) || !Number.isFinite(centre.im)) {
      this.#say('The centre must be a complex number, e.g. 1+i.');
      return null;
    }
    if (width === null || !(width.re > 0) || !Number.isFinite(width.re) || !(width.im === 0)) {
      this.#say('The width must be a positive real number, e.g. 4.');
      return null;
    }
    return { x: centre.re, y: centre.im, width: width.re };
  }

  #showRegionInInputs() {
    const step = this.#view.width / fullSize;
    const x = coordinateText(this.#view.x, step);
    const y = coordinateText(this.#view.y, step);
    this.#centreInput.value = this.#labels.calc(`${x}+${y}*i`);
    this.#widthInput.value = this.#labels.calc(coordinateText(this.#view.width, step));
  }

  #moveTo(view) {
    if (!(view.width > 1e-300 && view.width < 1e300 && Number.isFinite(view.x) && Number.isFinite(view.y))) return;
    this.#view = view;
    this.#showRegionInInputs();
    this.#schedule();
  }

  #zoomAbout(factor, fx, fy) {
    const v = this.#view;
    const width = v.width / factor;
    this.#moveTo({ x: fx + (v.x - fx) / factor, y: fy + (v.y - fy) / factor, width });
  }

  // The point of the region under a position on the canvas (client coordinates).
  #pointAt(clientX, clientY) {
    const box = this.#canvas.getBoundingClientRect();
    const u = (clientX - box.left) / box.width - 0.5;
    const v = (clientY - box.top) / box.height - 0.5;
    return { x: this.#view.x + u * this.#view.width, y: this.#view.y - v * this.#view.width };
  }

  // ---- drawing ------------------------------------------------------------------------

  #schedule() {
    if (this.#scheduled) return;
    this.#scheduled = true;
    requestAnimationFrame(() => {
      this.#scheduled = false;
      this.#request();
    });
  }

  // Sends the drawing to the workers; the job number makes every earlier one stale.
  #request() {
    const job = ++this.#job;
    const session = this.#session();
    this.#started = performance.now();
    this.#rowsIn = new Map([[coarseSize, 0], [fullSize, 0]]);
    this.#message = null;
    this.#canvas.dataset.state = 'drawing';
    this.#say(`Drawing ${this.#expression}…`);
    this.#describe();
    this.#drawTicks();
    const levels = [{ size: coarseSize, bandRows }, { size: fullSize, bandRows }];
    this.#workers.forEach((worker, part) => {
      worker.postMessage({
        type: 'draw', job, expression: this.#expression, view: this.#view, levels, part, parts: this.#workers.length, session,
      });
    });
  }

  #received(reply) {
    if (reply.type === 'rows') this.#rows(reply);
    else if (reply.type === 'probe') this.#probeAnswered(reply);
    else if (reply.type === 'failed') this.#say(`The plot could not be drawn: ${reply.text}`);
  }

  #rows({ job, size, firstRow, rowCount, message, pixels }) {
    if (job !== this.#job) return;
    const image = new ImageData(new Uint8ClampedArray(pixels), size, rowCount);
    if (size === fullSize) {
      this.#context.putImageData(image, 0, firstRow);
    } else {
      if (this.#rowsIn.get(fullSize) > 0) return;
      const scale = fullSize / size;
      this.#coarse.getContext('2d').putImageData(image, 0, firstRow);
      this.#context.imageSmoothingEnabled = false;
      this.#context.drawImage(this.#coarse, 0, firstRow, size, rowCount, 0, firstRow * scale, fullSize, rowCount * scale);
    }
    this.#message ??= message;
    const rows = this.#rowsIn.get(size) + rowCount;
    this.#rowsIn.set(size, rows);
    if (rows === size) this.#levelDone(size);
  }

  #levelDone(size) {
    const elapsed = performance.now() - this.#started;
    this.#canvas.dispatchEvent(new CustomEvent('plotlevel', { detail: { size, elapsed } }));
    if (size !== fullSize) return;
    this.#canvas.dataset.state = 'drawn';
    this.#canvas.dataset.job = String(this.#job);
    const what = this.#message === null ? '' : ` Grey points give a message: ${this.#message}`;
    this.#say(`Drawn in ${Math.round(elapsed)} ms.${what}`);
  }

  #say(text) {
    this.#status.textContent = text;
  }

  #corners() {
    const { x, y, width } = this.#view;
    const step = width / fullSize;
    const text = (re, im) => this.#labels.calc(`${coordinateText(re, step)}+${coordinateText(im, step)}*i`);
    return [text(x - width / 2, y - width / 2), text(x + width / 2, y + width / 2)];
  }

  #describe() {
    const [lower, upper] = this.#corners();
    this.#canvas.setAttribute('aria-label',
      `Domain colouring of f(z) = ${this.#expression} for z from ${lower} to ${upper}: hue is the argument, brightness the modulus.`);
  }

  // Ticks at multiples of 1, 2 or 5 times a power of ten, four to ten across; their texts
  // are the calculator's ("0.5", "1e-007", "2i", "-i").
  #drawTicks() {
    const { x, y, width } = this.#view;
    const rough = width / 5;
    const power = Math.floor(Math.log10(rough));
    const unit = [1, 2, 5, 10].find((m) => m * 10 ** power >= rough * 0.7);
    const placeTicks = (centre, imaginary) => {
      const step = unit * 10 ** power;
      const ticks = [];
      for (let k = Math.ceil((centre - width / 2) / step); k * step <= centre + width / 2; ++k) {
        const value = `${k * unit}e${power}`;
        const fraction = (k * step - (centre - width / 2)) / width;
        ticks.push({ fraction, text: this.#labels.calc(imaginary ? `${value}*i` : value) });
      }
      return ticks;
    };
    this.#drawnTicks = { x: placeTicks(x, false), y: placeTicks(y, true) };
    fillTicks(document.querySelector('.plot-ticks-x'), this.#drawnTicks.x, 'left', false);
    fillTicks(document.querySelector('.plot-ticks-y'), this.#drawnTicks.y, 'top', true);
  }

  // ---- probes -------------------------------------------------------------------------

  // Asks for the texts at a point; with add, its line then goes to the session. A pointer
  // passing by does not displace a point waiting to be added.
  #probe(point, add = false) {
    if (this.#probeNext?.add && !add) return;
    const step = this.#view.width / fullSize;
    this.#probeNext = { x: coordinateText(point.x, step), y: coordinateText(point.y, step), expression: this.#expression, add };
    if (!this.#probeBusy) this.#sendProbe();
  }

  #sendProbe() {
    const next = this.#probeNext;
    if (next === null) return;
    this.#probeNext = null;
    this.#probeBusy = true;
    this.#probePending = next;
    const { x, y, expression } = next;
    this.#workers[0].postMessage({ type: 'probe', id: ++this.#probeId, x, y, expression, session: this.#session() });
  }

  #probeAnswered({ point, value, isMessage }) {
    const asked = this.#probePending;
    this.#probeBusy = false;
    if (asked.expression !== this.#expression) {
      this.#sendProbe();
      return;
    }
    const line = substituteZ(asked.expression, asked.x, asked.y);
    this.#probed = { line };
    this.#probeText.textContent = `z = ${point} · f(z) = ${value}`;
    this.#probeText.classList.toggle('message', isMessage);
    this.#addButton.disabled = false;
    if (asked.add) this.#addLine(line);
    this.#sendProbe();
  }

  // The point shown belongs to the expression drawn before.
  #forgetProbe() {
    this.#probed = null;
    this.#probeText.textContent = 'Point at the plot to see f(z).';
    this.#probeText.classList.remove('message');
    this.#addButton.disabled = true;
  }

  // Adds the line for a point once its probe is answered.
  #addPoint(point) {
    this.#probe(point, true);
  }

  // ---- input --------------------------------------------------------------------------

  #listen() {
    element('plot-form').addEventListener('submit', (event) => {
      event.preventDefault();
      this.#drawFromInputs();
    });
    element('plot-reset').addEventListener('click', () => {
      this.#view = { ...defaultView };
      this.#showRegionInInputs();
      this.#drawFromInputs();
    });
    element('plot-zoom-in').addEventListener('click', () => this.#zoomAbout(zoomStep, this.#view.x, this.#view.y));
    element('plot-zoom-out').addEventListener('click', () => this.#zoomAbout(1 / zoomStep, this.#view.x, this.#view.y));
    element('plot-save').addEventListener('click', () => this.#save());
    this.#addButton.addEventListener('click', () => { if (this.#probed) this.#addLine(this.#probed.line); });
    const canvas = this.#canvas;
    canvas.addEventListener('keydown', (event) => this.#key(event));
    canvas.addEventListener('focus', () => {  // from the keyboard: the centre is the point
      if (canvas.matches(':focus-visible')) this.#probe(this.#view);
    });
    canvas.addEventListener('wheel', (event) => {
      event.preventDefault();
      const focus = this.#pointAt(event.clientX, event.clientY);
      this.#zoomAbout(2 ** (-event.deltaY / 300), focus.x, focus.y);
    }, { passive: false });
    canvas.addEventListener('pointerdown', (event) => this.#pointerDown(event));
    canvas.addEventListener('pointermove', (event) => this.#pointerMove(event));
    canvas.addEventListener('pointerup', (event) => this.#pointerUp(event));
    canvas.addEventListener('pointercancel', (event) => this.#pointers.delete(event.pointerId));
  }

  #key(event) {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const v = this.#view;
    const pan = v.width / 8;
    const moves = { ArrowLeft: [-pan, 0], ArrowRight: [pan, 0], ArrowUp: [0, pan], ArrowDown: [0, -pan] };
    if (moves[event.key]) {
      const [dx, dy] = moves[event.key];
      this.#moveTo({ ...v, x: v.x + dx, y: v.y + dy });
      this.#probe({ x: v.x + dx, y: v.y + dy });
    } else if (event.key === '+' || event.key === '=') {
      this.#zoomAbout(zoomStep, v.x, v.y);
    } else if (event.key === '-' || event.key === '_') {
      this.#zoomAbout(1 / zoomStep, v.x, v.y);
    } else if (event.key === 'Enter' || event.key === ' ') {
      this.#addPoint(v);
    } else {
      return;
    }
    event.preventDefault();
  }

  #pointerDown(event) {
    this.#canvas.setPointerCapture(event.pointerId);
    this.#pointers.set(event.pointerId, { x: event.clientX, y: event.clientY });
    this.#gesture = { moved: 0, view: { ...this.#view }, start: this.#gestureState() };
  }

  // The midpoint and spread of the pointers down.
  #gestureState() {
    const points = [...this.#pointers.values()];
    const mid = { x: points.reduce((s, p) => s + p.x, 0) / points.length, y: points.reduce((s, p) => s + p.y, 0) / points.length };
    const spread = points.length < 2 ? 0 : Math.hypot(points[0].x - points[1].x, points[0].y - points[1].y);
    return { mid, spread, count: points.length };
  }

  #pointerMove(event) {
    if (!this.#pointers.has(event.pointerId)) {
      if (event.pointerType === 'mouse') this.#probe(this.#pointAt(event.clientX, event.clientY));
      return;
    }
    const last = this.#pointers.get(event.pointerId);
    this.#gesture.moved += Math.hypot(event.clientX - last.x, event.clientY - last.y);
    this.#pointers.set(event.pointerId, { x: event.clientX, y: event.clientY });
    const now = this.#gestureState();
    if (now.count !== this.#gesture.start.count) {
      this.#gesture = { moved: this.#gesture.moved, view: { ...this.#view }, start: now };
      return;
    }
    if (this.#gesture.moved < 4) return;
    const box = this.#canvas.getBoundingClientRect();
    const start = this.#gesture.start;
    const from = this.#gesture.view;
    const factor = now.count >= 2 && start.spread > 0 ? now.spread / start.spread : 1;
    const perPixel = from.width / box.width;
    // The point under the first midpoint stays under the midpoint.
    const anchor = { x: from.x + (start.mid.x - box.left - box.width / 2) * perPixel, y: from.y - (start.mid.y - box.top - box.height / 2) * perPixel };
    const width = from.width / factor;
    const scale = width / box.width;
    this.#moveTo({
      x: anchor.x - (now.mid.x - box.left - box.width / 2) * scale,
      y: anchor.y + (now.mid.y - box.top - box.height / 2) * scale,
      width,
    });
  }

  #pointerUp(event) {
    const wasTap = this.#pointers.size === 1 && this.#gesture !== null && this.#gesture.moved < 4;
    this.#pointers.delete(event.pointerId);
    if (this.#pointers.size > 0) {
      this.#gesture = { moved: this.#gesture.moved, view: { ...this.#view }, start: this.#gestureState() };
      return;
    }
    this.#gesture = null;
    if (!wasTap) return;
    const point = this.#pointAt(event.clientX, event.clientY);
    if (event.pointerType === 'mouse') this.#addPoint(point);
    else this.#probe(point);  // a tap shows the point; the button adds it
  }

  // ---- saving ---------------------------------------------------------------------------

  // The image with its axes and title, as a PNG download.
  #save() {
    const margin = { left: 84, top: 30, right: 16, bottom: 34 };
    const out = document.createElement('canvas');
    out.width = margin.left + fullSize + margin.right;
    out.height = margin.top + fullSize + margin.bottom;
    const g = out.getContext('2d');
    g.fillStyle = '#ffffff';
    g.fillRect(0, 0, out.width, out.height);
    g.drawImage(this.#canvas, margin.left, margin.top);
    g.fillStyle = '#1b1f24';
    g.strokeStyle = '#1b1f24';
    g.font = '14px sans-serif';
    g.textBaseline = 'middle';
    g.fillText(`f(z) = ${this.#expression}`, margin.left, margin.top / 2);
    g.font = '12px monospace';
    g.textAlign = 'center';
    for (const tick of this.#drawnTicks.x) {
      const at = margin.left + tick.fraction * fullSize;
      g.fillRect(at - 0.5, margin.top + fullSize, 1, 5);
      g.fillText(tick.text, at, margin.top + fullSize + 16);
    }
    g.textAlign = 'right';
    for (const tick of this.#drawnTicks.y) {
      const at = margin.top + (1 - tick.fraction) * fullSize;
      g.fillRect(margin.left - 5, at - 0.5, 5, 1);
      g.fillText(tick.text, margin.left - 8, at);
    }
    out.toBlob((blob) => {
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = 'kxcalc-plot.png';
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 10_000);
    }, 'image/png');
  }
}

function fillTicks(container, ticks, side, fromBottom) {
  container.replaceChildren(...ticks.map(({ fraction, text }) => {
    const label = document.createElement('span');
    label.textContent = text;
    label.style[side] = `${((fromBottom ? 1 - fraction : fraction) * 100).toFixed(3)}%`;
    return label;
  }));
}

// The legend: the colours of f(z) = z over a disc (arg around it, |z| from 0 to 16 outward)
// and the brightness along |f(z)| from 1/256 to 256 at arg 0.
function drawLegend() {
  const wheel = element('plot-wheel');
  const size = wheel.width;
  const image = new ImageData(size, size);
  for (let row = 0; row < size; ++row) {
    for (let column = 0; column < size; ++column) {
      const u = (column + 0.5) / size * 2 - 1;
      const v = 1 - (row + 0.5) / size * 2;
      const radius = Math.hypot(u, v);
      const at = (row * size + column) * 4;
      if (radius > 1) continue;
      const modulus = 2 ** (radius * 16 - 8);
      writeColour(modulus * u / radius, modulus * v / radius, image.data, at);
    }
  }
  wheel.getContext('2d').putImageData(image, 0, 0);
  const bar = element('plot-modulus');
  const strip = new ImageData(bar.width, bar.height);
  for (let column = 0; column < bar.width; ++column) {
    const log2Modulus = (column + 0.5) / bar.width * 16 - 8;
    for (let row = 0; row < bar.height; ++row) writeHueLightness(0, lightnessOf(log2Modulus), strip.data, (row * bar.width + column) * 4);
  }
  bar.getContext('2d').putImageData(strip, 0, 0);
  document.querySelector('.plot-nan-swatch').style.background = `rgb(${nanColour.join(',')})`;
}
