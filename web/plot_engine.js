// The plot's evaluator: an instance of the calculator's WebAssembly module of its own,
// driven through the module's kx_calc directly. For each pixel it writes "set z=X+Y*i" and
// the expression into the module's memory, calls kx_calc on each, and reads the answer's
// ASCII bytes straight into a colour, making no string. Its tol is -1, so that every part
// that is a number is printed: a part too small for the session's tol still colours.
import { coordinateText, decodeResult, decoded, imaginaryTail } from './plot_numbers.js';
import { writeColour, writeNanColour } from './plot_colours.js';

// The library's contract: a buffer of at least 64 bytes, with room for the line and its NUL.
const minimumBuffer = 64;
const encoder = new TextEncoder();
const decoder = new TextDecoder();

class ModuleStopped extends Error {}

export class PlotEvaluator {
  #exports;
  #memory;
  #heap;
  #stackTop;
  #lineSlot = 0;
  #lineCapacity = 0;
  #pointSlot = 0;

  constructor(instance) {
    this.#exports = instance.exports;
    this.#memory = instance.exports.memory;
    this.#heap = new Uint8Array(this.#memory.buffer);
    this.#stackTop = instance.exports.stackSave();
    this.#pointSlot = this.#exports.malloc(minimumBuffer);
  }

  // A new evaluator over the compiled module: fresh tables, tol -1 once the lines are run.
  static async create(module, lines) {
    let evaluator = null;
    const instance = await WebAssembly.instantiate(module, {
      env: { emscripten_notify_memory_growth: () => evaluator?.#renewView() },
      wasi_snapshot_preview1: { proc_exit(code) { throw new ModuleStopped(`status ${code}`); } },
    });
    instance.exports._initialize();
    evaluator = new PlotEvaluator(instance);
    for (const line of lines) evaluator.text(line);
    evaluator.text('set tol = -1');
    return evaluator;
  }

  #renewView() {
    this.#heap = new Uint8Array(this.#memory.buffer);
  }

  // Room for a line of the given length and its answer.
  #lineBuffer(length) {
    if (length + 1 <= this.#lineCapacity) return this.#lineSlot;
    if (this.#lineSlot !== 0) this.#exports.free(this.#lineSlot);
    this.#lineCapacity = Math.max(minimumBuffer, length + 1);
    this.#lineSlot = this.#exports.malloc(this.#lineCapacity);
    return this.#lineSlot;
  }

  // Calls kx_calc on a buffer; false when the module trapped (its memory ran out), after
  // putting its stack back as the calculator's package does.
  #call(address) {
    try {
      this.#exports.kx_calc(address);
      return true;
    } catch (fault) {
      if (!(fault instanceof WebAssembly.RuntimeError || fault instanceof ModuleStopped)) throw fault;
      this.#exports.stackRestore(this.#stackTop);
      return false;
    }
  }

  // The answer to one line, as text.
  text(line) {
    const bytes = encoder.encode(line);
    const address = this.#lineBuffer(bytes.length);
    this.#heap.set(bytes, address);
    this.#heap[address + bytes.length] = 0;
    if (!this.#call(address)) return 'Out of memory.';
    return this.#answerAt(address);
  }

  // Colours the rows [firstRow, firstRow + rowCount) of a grid of the region into rgba.
  // The grid's point (column, row) is the centre of that cell, row 0 at the top. Returns
  // the first message any point gave, or null.
  colourRows(expression, grid, firstRow, rowCount, rgba) {
    const expressionBytes = encoder.encode(expression);
    const { columnLines, rowTails } = grid;
    const address = this.#lineBuffer(expressionBytes.length);
    const point = this.#pointSlot;
    const length = expressionBytes.length;
    let message = null;
    let at = 0;
    for (let row = firstRow; row < firstRow + rowCount; ++row) {
      const rowTail = rowTails[row];
      for (let column = 0; column < columnLines.length; ++column, at += 4) {
        let heap = this.#heap;
        const head = columnLines[column];
        let to = point;
        for (let k = 0; k < head.length; ++k) heap[to++] = head[k];
        for (let k = 0; k < rowTail.length; ++k) heap[to++] = rowTail[k];
        heap[to] = 0;
        const assigned = this.#call(point);
        heap = this.#heap;
        for (let k = 0; k < length; ++k) heap[address + k] = expressionBytes[k];
        heap[address + length] = 0;
        if (!assigned || !this.#call(address)) {
          message ??= 'Out of memory.';
          writeNanColour(rgba, at);
          continue;
        }
        heap = this.#heap;
        if (decodeResult(heap, address)) {
          writeColour(decoded.re, decoded.im, rgba, at);
        } else {
          if (message === null) message = this.#answerAt(address);
          writeNanColour(rgba, at);
        }
      }
    }
    return message;
  }

  // The answer's text in the buffer at address.
  #answerAt(address) {
    const heap = this.#heap;
    let end = address;
    while (heap[end] !== 0) ++end;
    return decoder.decode(heap.subarray(address, end));
  }
}

// The points of a grid over a square region, with a step of width / size: the centres of
// its columns (left to right) and rows (top to bottom), as the bytes of the assignment's
// head "set z=X" for each column and of its tail "+Y*i" for each row.
export function gridOf(view, size) {
  const step = view.width / size;
  const offset = (k) => (k + 0.5 - size / 2) * step;
  const columnLines = [];
  const rowTails = [];
  for (let k = 0; k < size; ++k) {
    columnLines.push(encoder.encode(`set z=${coordinateText(view.x + offset(k), step)}`));
    rowTails.push(encoder.encode(imaginaryTail(coordinateText(view.y - offset(k), step))));
  }
  return { size, columnLines, rowTails };
}
