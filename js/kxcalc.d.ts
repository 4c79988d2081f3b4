/** Where to find kxcalc.wasm when it is not beside kxcalc.js (a bundler may move it). */
export interface CalculatorOptions {
  wasm?: URL | string | ArrayBuffer | ArrayBufferView | WebAssembly.Module;
}

/** A text the calculator wrote, and whether it is a message (an error) rather than a result. */
export interface Answer {
  text: string;
  isMessage: boolean;
}

/**
 * One calculator: its own instance of the WebAssembly module, with its own variables and
 * tol (1e-10 when it is created). Calls on one calculator run one after another.
 */
export declare class Calculator {
  private constructor();
  /**
   * The text that kx_calc writes for the line, exactly: a result ("-7+24i", "nan") or a
   * message ("Syntax error.  Unmatched: )"). The line goes to the library as UTF-8 bytes,
   * of any length, up to its first NUL. Throws only a TypeError, for a line that is not a string.
   */
  calc(line: string): string;
  /** The text for the line, and whether it is a message. */
  evaluate(line: string): Answer;
}

/** Creates a calculator: a fresh instance of the module, with tol 1e-10 and no variables. */
export declare function createCalculator(options?: CalculatorOptions): Promise<Calculator>;

/** Whether a text the calculator wrote is a message rather than a result. */
export declare function isMessage(text: string): boolean;
