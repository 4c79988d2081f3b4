// Numbers between the plot and the calculator: the decimal texts of the coordinates that
// the calculator reads, and the calculator's result texts read back as complex numbers.

// The text of a coordinate, with enough digits to tell apart points a step apart (a
// hundredth of a step), trailing zeros dropped: "-1.9961", "0.25", "1.5e-7". A value
// within a billionth of a step of zero is "0".
export function coordinateText(value, step) {
  if (!(Math.abs(value) > step * 1e-9)) return '0';
  const digits = Math.min(17, Math.max(1, Math.ceil(Math.log10(Math.abs(value) / step)) + 2));
  return trimFraction(value.toPrecision(digits));
}

function trimFraction(text) {
  const [mantissa, exponent] = text.split('e');
  const trimmed = mantissa.includes('.') ? mantissa.replace(/0+$/, '').replace(/\.$/, '') : mantissa;
  return exponent === undefined ? trimmed : `${trimmed}e${exponent}`;
}

// The point x + y i as the calculator reads it, from the coordinate texts: "0.5-0.25*i",
// "1+i" (a unit imaginary part is written i, which gives the same value as 1*i).
export function pointText(xText, yText) {
  return `${xText}${imaginaryTail(yText)}`;
}

export function imaginaryTail(yText) {
  if (yText === '1') return '+i';
  if (yText === '-1') return '-i';
  return `${yText.startsWith('-') ? yText : `+${yText}`}*i`;
}

// The line that assigns z = x + y i, for the coordinate texts x and y.
export function assignmentOfZ(xText, yText) {
  return `set z=${pointText(xText, yText)}`;
}

// The expression with z replaced by the point (x + y i), as a line the session computes:
// every name z (a run of letters, as the calculator reads names, in any case) becomes the
// bracketed point; a z that stands alone in brackets takes no second pair.
export function substituteZ(expression, xText, yText) {
  const point = pointText(xText, yText);
  return expression.replace(/[A-Za-z]+/g, (name, at) => {
    if (name !== 'z' && name !== 'Z') return name;
    const before = expression.slice(0, at).trimEnd().at(-1);
    const after = expression.slice(at + 1).trimStart()[0];
    return '([{'.includes(before ?? 'x') && ')]}'.includes(after ?? 'x') ? point : `(${point})`;
  });
}

// A result text as written with tol = -1, where every part that is a number is printed:
// "nan", a real part, a real and an imaginary part, or an imaginary part alone; a part that
// is missing is not a number. A message (which begins with a capital letter) gives null.
const part = String.raw`(?:\d+(?:\.\d+)?(?:e[+-]\d{3})?|inf)`;
const resultForm = new RegExp(String.raw`^(?:nan|(-?${part})(?:([+-])(${part})?i)?|(-?)(${part})?i)$`);

function partValue(text) {
  if (text.endsWith('inf')) return text.startsWith('-') ? -Infinity : Infinity;
  return Number(text);
}

export function parseResultText(text) {
  const match = resultForm.exec(text);
  if (match === null) return null;
  if (text === 'nan') return { re: NaN, im: NaN };
  const [, real, sign, imaginary, aloneSign, alone] = match;
  if (real !== undefined) {
    if (sign === undefined) return { re: partValue(real), im: NaN };
    return { re: partValue(real), im: partValue(sign + (imaginary ?? '1')) };
  }
  return { re: NaN, im: partValue(aloneSign + (alone ?? '1')) };
}

// The same reading from the ASCII bytes of the module's memory, without making a string,
// for the plot's pixels: the parts to within an ulp or two (exact for up to 15 digits and
// exponents up to 22), which is what a colour needs. Sets decoded.re and decoded.im and
// returns true, or returns false for a message.
export const decoded = { re: 0, im: 0 };

const powersOfTen = Array.from({ length: 23 }, (_, k) => 10 ** k);
const infinity = [0x69, 0x6e, 0x66];  // "inf"
let cursor = 0;

function scaled(mantissa, exponent) {
  if (exponent >= 0) return exponent <= 22 ? mantissa * powersOfTen[exponent] : mantissa * 10 ** exponent;
  return exponent >= -22 ? mantissa / powersOfTen[-exponent] : mantissa / 10 ** -exponent;
}

// An unsigned part at the cursor: a number, "inf", or nothing (NaN, the cursor unmoved).
function unsignedPart(heap) {
  let at = cursor;
  if (heap[at] === infinity[0] && heap[at + 1] === infinity[1] && heap[at + 2] === infinity[2]) {
    cursor = at + 3;
    return Infinity;
  }
  let mantissa = 0;
  let exponent = 0;
  let byte = heap[at];
  if (byte < 0x30 || byte > 0x39) return NaN;
  for (; byte >= 0x30 && byte <= 0x39; byte = heap[++at]) mantissa = mantissa * 10 + (byte - 0x30);
  if (byte === 0x2e) {
    for (byte = heap[++at]; byte >= 0x30 && byte <= 0x39; byte = heap[++at]) {
      mantissa = mantissa * 10 + (byte - 0x30);
      --exponent;
    }
  }
  if (byte === 0x65) {
    const negative = heap[at + 1] === 0x2d;
    const written = (heap[at + 2] - 0x30) * 100 + (heap[at + 3] - 0x30) * 10 + (heap[at + 4] - 0x30);
    exponent += negative ? -written : written;
    at += 5;
  }
  cursor = at;
  return scaled(mantissa, exponent);
}

export function decodeResult(heap, start) {
  const first = heap[start];
  if (first >= 0x41 && first <= 0x5a) return false;  // a message
  if (first === 0x6e) {  // "nan"
    decoded.re = NaN;
    decoded.im = NaN;
    return true;
  }
  cursor = start;
  const negative = first === 0x2d;
  if (negative) ++cursor;
  const leading = unsignedPart(heap);
  const next = heap[cursor];
  if (next === 0x69) {  // an imaginary part alone: "2i", "-i", "infi"
    decoded.re = NaN;
    const magnitude = Number.isNaN(leading) ? 1 : leading;
    decoded.im = negative ? -magnitude : magnitude;
    return true;
  }
  decoded.re = negative ? -leading : leading;
  if (next !== 0x2b && next !== 0x2d) {
    decoded.im = NaN;
    return true;
  }
  ++cursor;
  const trailing = unsignedPart(heap);
  const magnitude = Number.isNaN(trailing) ? 1 : trailing;
  decoded.im = next === 0x2d ? -magnitude : magnitude;
  return true;
}
