// npm pack builds the tarball; installed offline into a scratch project, it works from Node.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

const packageDir = fileURLToPath(new URL('..', import.meta.url));

test('the packed tarball installs offline and calculates', () => {
  const scratch = mkdtempSync(join(tmpdir(), 'kxcalc-npm-'));
  try {
    const packed = JSON.parse(execFileSync('npm', ['pack', '--json', '--pack-destination', scratch],
      { cwd: packageDir, encoding: 'utf8' }));
    const files = packed[0].files.map((file) => file.path).sort();
    assert.deepEqual(files, ['LICENSE', 'README.md', 'kxcalc.d.ts', 'kxcalc.js', 'kxcalc.wasm', 'package.json']);
    const project = join(scratch, 'project');
    execFileSync('mkdir', [project]);
    writeFileSync(join(project, 'package.json'), JSON.stringify({ name: 'scratch', private: true, type: 'module' }));
    execFileSync('npm', ['install', '--offline', '--no-audit', '--no-fund', join(scratch, packed[0].filename)],
      { cwd: project, encoding: 'utf8' });
    const installed = readdirSync(join(project, 'node_modules')).filter((name) => !name.startsWith('.'));
    assert.deepEqual(installed, ['kxcalc'], 'no runtime dependencies came with it');

    writeFileSync(join(project, 'use.mjs'), `
      import { createCalculator, isMessage } from 'kxcalc';
      const calc = await createCalculator();
      const other = await createCalculator();
      const texts = [calc.calc('(3+4*i)^2'), calc.calc('set x = 2+i'), calc.calc('x*x'), other.calc('x*x+1'),
                     JSON.stringify(calc.evaluate('2)')), String(isMessage('6+8i'))];
      console.log(texts.join('\\n'));
    `);
    const output = execFileSync('node', ['use.mjs'], { cwd: project, encoding: 'utf8' });
    assert.deepEqual(output.trim().split('\n'), ['-7+24i', '2+i', '3+4i', 'Syntax Error: x+1',
      '{"text":"Syntax error.  Unmatched: )","isMessage":true}', 'false']);
  } finally {
    rmSync(scratch, { recursive: true, force: true });
  }
});
