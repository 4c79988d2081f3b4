// A calculator line in math.js's syntax, for the comparison benchmark: only what the two
// languages spell differently is changed. The whole line is lowered; every bracket becomes
// a round one and unclosed ones are closed; a d exponent becomes e; a function takes its
// operand in round brackets, so "sin 2^2" becomes "sin(2^2)"; ln is math.js's log and log
// its log10; "set x = 1" becomes "x=1". Names either language lacks are left as they are.
const functionNames = new Set([
  'sin', 'cos', 'tan', 'sec', 'csc', 'cot', 'sinh', 'cosh', 'tanh', 'sech', 'csch', 'coth',
  'asin', 'acos', 'atan', 'asec', 'acsc', 'acot', 'asinh', 'acosh', 'atanh', 'asech', 'acsch', 'acoth',
  'sqrt', 'exp', 'ln', 'log', 'abs',
]);
const peerNames = { ln: 'log', log: 'log10' };

const isDigit = (c) => c >= '0' && c <= '9';
const isLetter = (c) => c >= 'a' && c <= 'z';
const isSpace = (c) => ' \t\n\v\f\r'.includes(c) && c !== '';
const isOpening = (c) => c === '(' || c === '[' || c === '{';
const isClosing = (c) => c === ')' || c === ']' || c === '}';

class Failed extends Error {}

// A recursive rewriter over the lowered line; throws Failed at the first construct that
// has no spelling in math.js (a closing bracket with none open, a missing operand).
class Translator {
  constructor(text) {
    this.text = text;
    this.at = 0;
    this.out = '';
    this.spacePending = false;
  }

  run() {
    this.sequence(false);
    if (this.at !== this.text.length) throw new Failed();
    return this.out;
  }

  peek() {
    while (this.at < this.text.length && isSpace(this.text[this.at])) {
      ++this.at;
      this.spacePending = true;
    }
    return this.at < this.text.length ? this.text[this.at] : '';
  }

  emit(piece) {
    if (this.spacePending && this.out !== '') this.out += ' ';  // keeps "2 3" two tokens
    this.spacePending = false;
    this.out += piece;
  }

  nameAt() {
    let end = this.at;
    while (end < this.text.length && isLetter(this.text[end])) ++end;
    return this.text.slice(this.at, end);
  }

  atFunction() {
    return isLetter(this.peek()) && functionNames.has(this.nameAt());
  }

  sequence(insideBrackets) {
    for (;;) {
      const c = this.peek();
      if (c === '') return;
      if (isClosing(c)) {
        if (!insideBrackets) throw new Failed();
        return;
      }
      if (this.atFunction()) this.function();
      else if (isOpening(c)) this.bracketed();
      else if (isLetter(c)) this.name();
      else if (isDigit(c) || c === '.') this.number();
      else this.emit(this.text[this.at++]);
    }
  }

  name() {
    const name = this.nameAt();
    this.emit(name);
    this.at += name.length;
  }

  function() {
    const name = this.nameAt();
    this.at += name.length;
    this.emit(peerNames[name] ?? name);
    this.emit('(');
    this.unary();
    this.emit(')');
  }

  // The operand of a prefix function or sign: signs and functions, a primary, and a
  // right-associative chain of "^".
  unary() {
    const c = this.peek();
    if (c === '+' || c === '-') {
      this.emit(this.text[this.at++]);
      this.unary();
      return;
    }
    if (this.atFunction()) {
      this.function();
      return;
    }
    this.primary();
    while (this.peek() === '^') {
      this.emit('^');
      ++this.at;
      this.unary();
    }
  }

  primary() {
    const c = this.peek();
    if (isOpening(c)) this.bracketed();
    else if (isDigit(c) || c === '.') this.number();
    else if (isLetter(c)) this.name();
    else throw new Failed();
  }

  bracketed() {
    ++this.at;
    this.emit('(');
    this.sequence(true);
    if (isClosing(this.peek())) ++this.at;  // an unclosed bracket is closed at the end
    this.emit(')');
  }

  number() {
    const match = /^[0-9.]*(?:[ed][+-]?[0-9]+)?/.exec(this.text.slice(this.at))[0];
    this.emit(match.replace('d', 'e'));
    this.at += match.length;
  }
}

/**
 * The line in math.js's syntax, or null when it has none.
 * @returns {{expression: string, assignedName: string} | null}
 */
export function translateForPeer(line) {
  const text = line.replace(/[A-Z]/g, (c) => c.toLowerCase());
  const equals = text.indexOf('=');
  try {
    if (text.startsWith('set ') && equals >= 0) {
      const name = text.slice(4, equals).trim();
      if (!/^[a-z]+$/.test(name)) return null;
      return { expression: `${name}=${new Translator(text.slice(equals + 1)).run()}`, assignedName: name };
    }
    return { expression: new Translator(text).run(), assignedName: '' };
  } catch (failure) {
    if (failure instanceof Failed) return null;
    throw failure;
  }
}
