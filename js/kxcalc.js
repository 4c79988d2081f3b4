// kxcalc for JavaScript: the calculator's WebAssembly module (kxcalc.wasm, beside this file)
// behind a small interface. Each calculator is its own instance of the module, with its own
// variables and tol.

const wasmUrl = new URL('./kxcalc.wasm', import.meta.url);

// The library's contract: a buffer of at least 64 bytes, and room for the line and its NUL.
const minimumBuffer = 64;

// What the library writes when memory runs out during a call.
const outOfMemoryText = 'Out of memory.';

// Every result the library writes has this form: "0", "nan", a real part, a real part and
// an imaginary part, or an imaginary part alone; a part is a %.15g number with a
// three-digit exponent or "inf", an imaginary part ends in "i" ("i" and "-i" for a unit
// one). No message has it: every message begins with a capital letter.
const part = String.raw`(?:\d+(?:\.\d+)?(?:e[+-]\d{3})?|inf)`;
const resultForm = new RegExp(String.raw`^(?:nan|-?${part}(?:[+-]${part}?i)?|-?${part}?i)$`);

/**
 * Whether a text that the calculator wrote is a message (an error) rather than a result.
 * @param {string} text
 * @returns {boolean}
 */
export function isMessage(text) {
  if (typeof text !== 'string') throw new TypeError('isMessage takes a string');
  return !resultForm.test(text);
}

let compiledModule = null;

function isNodeFileUrl(url) {
  return url.protocol === 'file:' && typeof process === 'object' && typeof process.versions?.node === 'string';
}

async function compileFrom(source) {
  if (source instanceof WebAssembly.Module) return source;
  if (source instanceof ArrayBuffer || ArrayBuffer.isView(source)) return WebAssembly.compile(source);
  const url = source instanceof URL ? source : new URL(String(source), wasmUrl);
  if (isNodeFileUrl(url)) {
    const { readFile } = await import('node:fs/promises');
    return WebAssembly.compile(await readFile(url));
  }
  const response = await fetch(url);
  if (!response.ok) throw new Error(`kxcalc: cannot load ${url}: HTTP ${response.status}`);
  if (typeof WebAssembly.compileStreaming === 'function' &&
      response.headers.get('Content-Type')?.startsWith('application/wasm')) {
    return WebAssembly.compileStreaming(response);
  }
  return WebAssembly.compile(await response.arrayBuffer());
}

// The module is compiled once and instantiated for every calculator.
function compiled(source) {
  if (source !== undefined) return compileFrom(source);
  if (compiledModule === null) {
    compiledModule = compileFrom(wasmUrl);
    compiledModule.catch(() => { compiledModule = null; });  // a later call may try again
  }
  return compiledModule;
}

// The module asks its host for two things only: to be told that memory grew (the views
// are renewed on every call anyway) and to end the program, which for a library means
// an abort: it ends the call, not the host.
class ModuleExit extends Error {}

// The calculator's own hook for the module's notice that memory grew; not part of its interface.
const memoryGrew = Symbol('memoryGrew');

function moduleImports(grown) {
  return {
    env: { emscripten_notify_memory_growth: grown },
    wasi_snapshot_preview1: {
      proc_exit(code) { throw new ModuleExit(`kxcalc: the module stopped with status ${code}`); },
    },
  };
}

const encoder = new TextEncoder();
const decoder = new TextDecoder('utf-8');

// Under Node, a Buffer over the module's memory decodes a long or non-ASCII answer in one
// native step; browsers use a TextDecoder.
const NodeBuffer = typeof globalThis.Buffer === 'function' && typeof globalThis.Buffer.prototype.utf8Slice === 'function'
  ? globalThis.Buffer : null;

const fromCharCode = String.fromCharCode;

// The ASCII text of `length` <= 16 bytes at `start`; the 16 bytes read lie in the buffer.
function shortText(heap, start, length) {
  const h = heap;
  const s = start;
  if (length <= 8) {
    return fromCharCode(h[s], h[s + 1], h[s + 2], h[s + 3], h[s + 4], h[s + 5], h[s + 6], h[s + 7]).substring(0, length);
  }
  return fromCharCode(h[s], h[s + 1], h[s + 2], h[s + 3], h[s + 4], h[s + 5], h[s + 6], h[s + 7],
    h[s + 8], h[s + 9], h[s + 10], h[s + 11], h[s + 12], h[s + 13], h[s + 14], h[s + 15]).substring(0, length);
}

/**
 * One calculator: one instance of the module, with its own variables and tolerance.
 */
class Calculator {
  #exports;
  #memory;
  #heap;
  #bytes;  // a Node Buffer over the same memory, or null
  #buffer = 0;
  #capacity = 0;

  #stackTop;

  constructor(instance) {
    this.#exports = instance.exports;
    this.#memory = instance.exports.memory;
    this.#heap = new Uint8Array(this.#memory.buffer);
    this.#bytes = NodeBuffer && NodeBuffer.from(this.#memory.buffer);
    this.#stackTop = instance.exports.stackSave();  // where the stack stands between calls
  }

  /**
   * The text that kx_calc writes for one line: a result ("6+8i") or a message
   * ("Syntax error.  Unmatched: )"), exactly as the library writes it. The line goes to
   * the library as UTF-8 bytes, of any length. Never throws, except a TypeError for a
   * line that is not a string.
   * @param {string} line
   * @returns {string}
   */
  calc(line) {
    if (typeof line !== 'string') throw new TypeError('kxcalc: a line is a string');
    try {
      const length = this.#writeLine(line);
      if (length < 0) return outOfMemoryText;
      this.#exports.kx_calc(this.#buffer);
      return this.#readText();
    } catch (fault) {
      // The module traps only when memory runs out (an allocation fails with no way to
      // unwind); the stack is put back and the tables are as the last finished call left
      // them, so the calculator goes on.
      if (!(fault instanceof WebAssembly.RuntimeError || fault instanceof ModuleExit)) throw fault;
      this.#exports.stackRestore(this.#stackTop);
      this.#release();
      return outOfMemoryText;
    } finally {
      if (this.#capacity > 1 << 20) this.#release();  // a huge buffer is not kept between calls
    }
  }

  /**
   * The text for one line and whether it is a message.
   * @param {string} line
   * @returns {{text: string, isMessage: boolean}}
   */
  evaluate(line) {
    const text = this.calc(line);
    return { text, isMessage: !resultForm.test(text) };
  }

  // Growing the module's memory detaches the old buffer: the module says when it grew, and
  // the views over it are made anew.
  [memoryGrew]() {
    this.#heap = new Uint8Array(this.#memory.buffer);
    this.#bytes = NodeBuffer && NodeBuffer.from(this.#memory.buffer);
  }

  #view() {
    return this.#heap;
  }

  #release() {
    if (this.#buffer !== 0) this.#exports.free(this.#buffer);
    this.#buffer = 0;
    this.#capacity = 0;
  }

  // A buffer of at least the given size, or false when the module has no memory for it.
  #reserve(size) {
    if (size <= this.#capacity) return true;
    this.#release();
    const capacity = Math.max(minimumBuffer, size);
    const address = this.#exports.malloc(capacity);
    if (address === 0) return false;
    this.#buffer = address;
    this.#capacity = capacity;
    return true;
  }

  // Copies the line's UTF-8 bytes and a NUL into the buffer; the byte count, or -1.
  #writeLine(line) {
    const count = line.length;
    if (!this.#reserve(count + 1)) return -1;  // an ASCII line; any other is encoded first
    const heap = this.#view();
    let at = this.#buffer;
    for (let k = 0; k < count; ++k) {
      const unit = line.charCodeAt(k);
      if (unit >= 0x80) return this.#writeEncoded(line);
      heap[at++] = unit;
    }
    heap[at] = 0;
    return count;
  }

  #writeEncoded(line) {
    const bytes = encoder.encode(line);
    if (!this.#reserve(bytes.length + 1)) return -1;
    const heap = this.#view();
    heap.set(bytes, this.#buffer);
    heap[this.#buffer + bytes.length] = 0;
    return bytes.length;
  }

  // The answer as a string. Answers are short ASCII texts: up to 16 bytes are read as char
  // codes in one call of String.fromCharCode, several times faster than any decoder for so
  // few bytes (the bytes past the NUL are read too, from the buffer's 64, and cut off).
  // Longer or non-ASCII texts are decoded as UTF-8.
  #readText() {
    const heap = this.#view();
    const start = this.#buffer;
    let end = start;
    let high = 0;
    for (let byte = heap[end]; byte !== 0; byte = heap[++end]) high |= byte;
    const length = end - start;
    if (high < 0x80 && length <= 16) return shortText(heap, start, length);
    if (this.#bytes !== null) return this.#bytes.utf8Slice(start, end);
    return decoder.decode(heap.subarray(start, end));
  }
}

/**
 * Creates a calculator: a new instance of the module, whose tables are built as it is
 * instantiated (tol 1e-10, no variables). Calculators share nothing.
 * @param {{wasm?: URL | string | ArrayBuffer | ArrayBufferView | WebAssembly.Module}} [options]
 *   where to find kxcalc.wasm when it is not beside this module (a bundler may move it)
 * @returns {Promise<Calculator>}
 */
export async function createCalculator(options = {}) {
  const module = await compiled(options.wasm);
  let calculator = null;
  const instance = await WebAssembly.instantiate(module, moduleImports(() => calculator?.[memoryGrew]()));
  instance.exports._initialize();  // runs the constructors: the load hook builds the tables
  calculator = new Calculator(instance);
  return calculator;
}

export { Calculator };
