// The package's own promises: each calculator is a fresh instance with its own variables
// and tol; lines of any length and any characters give a text; messages are told from
// results; a line that is not a string is a TypeError.
import { test } from 'node:test';
import assert from 'node:assert/strict';

import { createCalculator, isMessage } from '../kxcalc.js';

const longSum = `${'1+'.repeat(200_000)}1`;  // 400001 bytes, far beyond any fixed buffer

// A session in one calculator: line, text, whether the text is a message.
const session = [
  ['tol*1e10', '1', false],            // a fresh instance: tol 1e-10
  ['x+1', '1', false],                 // and no variables: an unknown name is passed over
  ['set x = 2+i', '2+i', false],
  ['x*x', '3+4i', false],
  ['SET TOL = 0.5', '0.5', false],
  ['0.3+2*i', '2i', false],
  ['set tol = -1', '-1', false],
  ['0', '0+0i', false],
  ['-0', '-0-0i', false],
  ['set tol = 1e-10', '1e-010+0i', false],
  ['1e20', '1e+020', false],
  ['-1e300*1e10+i', '-inf+i', false],
  ['1/0', 'nan', false],
  ['i', 'i', false],
  ['-i', '-i', false],
  ['2-i', '2-i', false],
  ['1e300*1e10*i', 'infi', false],
  [longSum, '200001', false],
  ['2 3', 'Parse Error: 3', true],
  ['2 (3)', 'Syntax error: (', true],
  ['2)', 'Syntax error.  Unmatched: )', true],
  ['2x', 'Syntax Error: ', true],
  ['2+', 'Ran Out of Data', true],
  ['', 'Ran Out of Data', true],
  ['set = 5', 'Syntax error: Missing variable name.', true],
  ['(1,2)', 'Syntax Error: 2)', true],
  [`2 ${'3'.repeat(100)}`, `Parse Error: ${'3'.repeat(50)}`, true],  // cut to 63 characters
  ['2+é', 'Syntax Error: \ufffd', true],  // bytes of a UTF-8 character cut in two
  [`${'é'.repeat(300)}+1`, `Syntax Error: \ufffd${'é'.repeat(24)}`, true],
  ['1\u00002', '1', false],  // the line ends at a NUL, as a C string does
];

test('a session gives the library texts, told apart as messages or results', async () => {
  const calculator = await createCalculator();
  for (const [line, text, message] of session) {
    assert.deepEqual(calculator.evaluate(line), { text, isMessage: message }, line.slice(0, 40));
    assert.equal(isMessage(text), message, text);
  }
  assert.equal(calculator.calc('x'), '2+i');
});

test('calculators share no variables and no tol', async () => {
  const [first, second] = await Promise.all([createCalculator(), createCalculator()]);
  assert.equal(first.calc('set x = 5'), '5');
  assert.equal(first.calc('set tol = 2'), '2');
  assert.equal(first.calc('x+1.5'), '6.5');
  assert.equal(first.calc('1.5+1.5*i'), '0');
  assert.equal(second.calc('x+1.5'), '1.5');
  assert.equal(second.calc('1.5+1.5*i'), '1.5+1.5i');
});

test('a line that is not a string is a TypeError', async () => {
  const calculator = await createCalculator();
  for (const line of [undefined, null, 42, ['1'], new TextEncoder().encode('1')]) {
    assert.throws(() => calculator.calc(line), TypeError);
    assert.throws(() => calculator.evaluate(line), TypeError);
  }
  assert.throws(() => isMessage(7), TypeError);
  assert.equal(calculator.calc('1+1'), '2');
});

// Memory runs out (2 GiB is the module's limit): the call gives the library's message,
// and the calculator goes on with its variables. Set KXCALC_LARGE_TESTS=1 to run it.
test('memory running out ends the call, not the calculator', { skip: process.env.KXCALC_LARGE_TESTS !== '1' }, async () => {
  const calculator = await createCalculator();
  assert.equal(calculator.calc('set x = 7'), '7');
  assert.equal(calculator.calc(`${'-'.repeat(150_000_000)}1`), 'Out of memory.');
  assert.equal(calculator.calc('x*2'), '14');
  assert.equal(calculator.calc(`${'-'.repeat(1_000_001)}1`), '-1');
});
