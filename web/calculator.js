// The calculator page: one calculator for the page's life, a session list of lines and
// answers, history with Up and Down, Tab completion of names, and the variables so far.
import { createCalculator } from './kxcalc.js';
import { PlotPanel } from './plot.js';

const functionNames = [
  'sin', 'cos', 'tan', 'sec', 'csc', 'cot', 'sinh', 'cosh', 'tanh', 'sech', 'csch', 'coth',
  'asin', 'acos', 'atan', 'asec', 'acsc', 'acot', 'asinh', 'acosh', 'atanh', 'asech', 'acsch', 'acoth',
  'sqrt', 'exp', 'ln', 'log', 'abs',
];
const constantNames = ['i', 'pi', 'e'];
const initialTolerance = '1e-10';

const form = document.getElementById('entry');
const input = document.getElementById('line');
const submit = form.querySelector('button');
const sessionList = document.getElementById('session');
const completionStatus = document.getElementById('completions');
const variableList = document.getElementById('variables');
const help = document.getElementById('help');

// ---- Assignments: the name a line assigns, as the library cuts it -------------------

const blanks = ' \t\n\v\f\r';

function assignedName(line) {
  const text = line.replace(/[A-Z]/g, (c) => c.toLowerCase());
  const equals = text.indexOf('=');
  if (!text.startsWith('set ') || equals < 0) return '';
  let first = 4;
  let last = equals;
  while (first < last && blanks.includes(text[first])) ++first;
  while (last > first && blanks.includes(text[last - 1])) --last;
  return text.slice(first, last);
}

// Only a run of letters can be read back, so only such names are listed and completed.
const variables = new Map([['tol', initialTolerance]]);

function noteAssignment(line, answer) {
  if (answer.isMessage) return;
  const name = assignedName(line);
  if (!/^[a-z]+$/.test(name)) return;
  variables.set(name, answer.text);
  showVariables();
}

function showVariables() {
  variableList.replaceChildren();
  for (const [name, value] of [...variables].sort(([a], [b]) => a.localeCompare(b))) {
    const term = document.createElement('dt');
    term.textContent = name;
    const definition = document.createElement('dd');
    definition.textContent = value;
    variableList.append(term, definition);
  }
}

// The session's assignments in order, which the plot's calculators replay to have the
// session's variables exactly; the version counts them.
const assignments = { version: 0, lines: [] };

function noteForPlot(line) {
  if (!/^set /i.test(line) || !line.includes('=')) return;
  assignments.lines.push(line);
  assignments.version += 1;
}

// ---- History: Up and Down walk the lines entered, and come back to the draft ---------

const history = [];
let historyAt = 0;  // history.length means the draft
let draft = '';

function recall(step) {
  const next = historyAt + step;
  if (next < 0 || next > history.length) return;
  if (historyAt === history.length) draft = input.value;
  historyAt = next;
  input.value = historyAt === history.length ? draft : history[historyAt];
  input.setSelectionRange(input.value.length, input.value.length);
}

function remember(line) {
  if (history.at(-1) !== line) history.push(line);
  historyAt = history.length;
  draft = '';
}

// ---- Completion: the run of letters before the caret, against every known name -------

let listedFor = null;  // the word whose candidates are shown

function candidatesFor(word) {
  const prefix = word.toLowerCase();
  const names = new Set([...functionNames, ...constantNames, ...variables.keys()]);
  return [...names].filter((name) => name.startsWith(prefix)).sort();
}

function commonPrefix(names) {
  let prefix = names[0];
  for (const name of names) {
    while (!name.startsWith(prefix)) prefix = prefix.slice(0, -1);
  }
  return prefix;
}

function showCandidates(text) {
  completionStatus.textContent = text;
}

// True when the Tab was used for completion; otherwise it moves the focus as usual.
function complete() {
  const caret = input.selectionStart;
  if (caret !== input.selectionEnd) return false;
  const before = input.value.slice(0, caret);
  const word = /[A-Za-z]*$/.exec(before)[0];
  if (word === '') return false;
  const found = candidatesFor(word);
  const insert = (text) => {
    input.setRangeText(text, caret, caret, 'end');
  };
  if (found.length === 1) {
    const [name] = found;
    const rest = name.slice(word.length) + (functionNames.includes(name) ? '(' : '');
    if (rest === '') return false;
    insert(rest);
    showCandidates('');
    listedFor = null;
    return true;
  }
  if (found.length === 0) {
    if (listedFor === word) return false;
    listedFor = word;
    showCandidates(`No name begins with ${word}.`);
    return true;
  }
  const shared = commonPrefix(found);
  if (shared.length > word.length) {
    insert(shared.slice(word.length));
    listedFor = shared;
    showCandidates(`Names: ${found.join(' ')}`);
    return true;
  }
  if (listedFor === word) return false;  // a second Tab leaves the line
  listedFor = word;
  showCandidates(`Names: ${found.join(' ')}`);
  return true;
}

// ---- The session ---------------------------------------------------------------------

function hidden(text) {
  const span = document.createElement('span');
  span.className = 'visually-hidden';
  span.textContent = text;
  return span;
}

function addEntry(line, answer) {
  const item = document.createElement('li');
  item.className = answer.isMessage ? 'entry-message' : 'entry-result';
  const typed = document.createElement('code');
  typed.className = 'typed';
  typed.textContent = line;
  const output = document.createElement('output');
  output.className = answer.isMessage ? 'answer message' : 'answer result';
  output.append(hidden(answer.isMessage ? ' error: ' : ' gives '));
  const text = document.createElement('span');
  text.className = 'text';
  text.textContent = answer.text;
  output.append(text);
  item.append(typed, output);
  sessionList.append(item);
  sessionList.scrollTop = sessionList.scrollHeight;  // the newest answer, above the line
  form.scrollIntoView({ block: 'nearest' });
}

// A line given to the session from elsewhere (the plot): evaluated and shown as if typed.
function enterLine(calculator, line) {
  remember(line);
  const answer = calculator.evaluate(line);
  addEntry(line, answer);
  noteAssignment(line, answer);
  noteForPlot(line);
}

function run(calculator, plot) {
  const line = input.value;
  if (line.trim() === '') return;
  remember(line);
  input.value = '';
  showCandidates('');
  listedFor = null;
  if (line.trim().toLowerCase() === 'help') {
    help.open = true;
    help.scrollIntoView({ block: 'nearest' });
    return;
  }
  const plotted = /^\s*plot\s+(\S.*)$/i.exec(line);
  if (plotted !== null && plot !== null) {
    plot.show(plotted[1].trim());
    return;
  }
  const answer = calculator.evaluate(line);
  addEntry(line, answer);
  noteAssignment(line, answer);
  noteForPlot(line);
}

async function start() {
  showVariables();
  let calculator;
  try {
    calculator = await createCalculator();
  } catch (failure) {
    input.placeholder = 'the calculator could not be loaded';
    showCandidates(`The calculator could not be loaded: ${failure.message}`);
    return;
  }
  let plot = null;
  try {
    plot = new PlotPanel({
      labels: await createCalculator(),
      session: () => assignments,
      addLine: (line) => enterLine(calculator, line),
    });
  } catch (failure) {
    document.getElementById('plot-status').textContent = `The plot cannot be drawn here: ${failure.message}`;
  }
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    run(calculator, plot);
    input.focus();
  });
  input.addEventListener('keydown', (event) => {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    if (event.key === 'ArrowUp') {
      event.preventDefault();
      recall(-1);
    } else if (event.key === 'ArrowDown') {
      event.preventDefault();
      recall(1);
    } else if (event.key === 'Tab' && !event.shiftKey) {
      if (complete()) event.preventDefault();
    }
  });
  input.addEventListener('input', () => {
    if (listedFor !== null) {
      listedFor = null;
      showCandidates('');
    }
  });
  input.disabled = false;
  submit.disabled = false;
  input.placeholder = 'e.g. (3+4*i)^2';
  input.focus();
  document.documentElement.dataset.ready = 'true';
  plot?.show(document.getElementById('plot-expression').value);
}

start();
