// The package's output against the native command's, byte for byte: fragments, links, pages,
// lists, sources and style sheets over examples/, and the documents' listings, code, fragments
// and messages over ../shared/testdata/office.
//   QUILLMARK=build/quillmark QUILLMARK_PACKAGE=build-web/npm node --test tests/web/
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const native = path.resolve(process.env.QUILLMARK ?? path.join(root, 'build/quillmark'));
const quillmark = await import(pathToFileURL(path.resolve(process.env.QUILLMARK_PACKAGE ?? path.join(root, 'build-web/npm'), 'index.mjs')));

// The native command's standard output, or its message as the package throws it.
function nativeRun(args, { input, cwd } = {}) {
  const result = spawnSync(native, args, { input, cwd, encoding: 'utf8' });
  return result.status === 0 ? result.stdout : `error ${result.status}: ${result.stderr.replace(/\n$/, '')}`;
}

function web(call) {
  try {
    return call();
  } catch (error) {
    if (error.name !== 'QuillmarkError') throw error;
    return `error ${error.status}: ${error.message}`;
  }
}

const conversions = [
  {},
  { links: true },
  { inlineStyles: true, theme: 'editor' },
  { page: true, lineNumbers: true, theme: 'dark', links: true },
  { page: true, inlineStyles: true, title: 'A <title>' },
  { entry: '_Declarations_' },
  { lineNumbers: true }, // bad usage: the same message
];

function flags(options) {
  const args = [];
  if (options.links) args.push('--links');
  if (options.page) args.push('--page');
  if (options.inlineStyles) args.push('--inline-styles');
  if (options.theme) args.push('--theme', options.theme);
  if (options.lineNumbers) args.push('--line-numbers');
  if (options.title) args.push('--title', options.title);
  if (options.entry) args.push('--entry', options.entry);
  return args;
}

test('module files convert and list as the command converts and lists them', () => {
  const folder = path.join(root, 'examples/Sample');
  for (const file of fs.readdirSync(folder)) {
    const bytes = fs.readFileSync(path.join(folder, file));
    for (const options of conversions) {
      assert.equal(web(() => quillmark.convert(bytes, options)),
        nativeRun(['convert', ...flags(options), '-'], { input: bytes }), `${file} ${JSON.stringify(options)}`);
    }
    const entries = nativeRun(['list', '--module', path.parse(file).name, '-'], { input: bytes });
    assert.equal(quillmark.list(bytes).map((e) => `${e.entry}\t${e.first}\t${e.last}\n`).join(''), entries, file);
    for (const line of entries.split('\n').filter(Boolean).slice(2)) {
      const entry = line.split('\t')[0];
      assert.equal(quillmark.convert(bytes, { entry, links: true }),
        nativeRun(['convert', '--links', '--entry', entry, '-'], { input: bytes }), `${file} ${entry}`);
    }
  }
  assert.equal(web(() => quillmark.convert('x = "open\n')), nativeRun(['convert', '-'], { input: 'x = "open\n' }));
});

test('style sheets are the command\'s', () => {
  for (const theme of ['light', 'dark', 'editor']) {
    assert.equal(quillmark.css(theme), nativeRun(['css', '--theme', theme]));
    assert.equal(quillmark.css(theme, { page: true }), nativeRun(['css', '--page', '--theme', theme]));
  }
});

const samples = path.join(root, '../shared/testdata/office');

test('documents list, read and convert as the command does', { skip: !fs.existsSync(samples) && 'no sample documents' }, () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmark-web-'));
  const documents = execFileSync('find', [samples, '-type', 'f', '-regextype', 'egrep', '-iregex',
    '.*\\.(xls|xlsm|xlsb|xla|xlam|doc|dot|docm|dotm|pptm|potm|ppam|bin)$']).toString().split('\n').filter(Boolean);
  assert.ok(documents.length >= 10);
  try {
    for (const document of documents) {
      const name = path.basename(document);
      fs.copyFileSync(document, path.join(folder, name));
      // The package reads in a folder of its own, /quillmark.
      const run = (args) => nativeRun(args, { cwd: folder }).replaceAll(folder, '/quillmark');
      const bytes = fs.readFileSync(document);
      const opened = web(() => quillmark.openDocument(bytes, { name }));
      const listing = run(['list', name]);
      if (typeof opened === 'string') {
        assert.equal(opened, listing, name);
        continue;
      }
      assert.equal(opened.modules.map((m) => `${m.kind} ${m.name}\n`).join(''), listing, name);
      for (const module of opened.modules) {
        assert.equal(module.code, run(['source', '--module', module.name, name]), `${name} ${module.name}`);
        assert.equal(module.html({ links: true }), run(['convert', '--links', '--module', module.name, name]),
          `${name} ${module.name}`);
      }
      fs.rmSync(path.join(folder, name));
    }
    // Damaged copies, cut short or with a run of bytes overwritten: the same listing or message.
    for (const document of documents) {
      const bytes = fs.readFileSync(document);
      const overwritten = Buffer.from(bytes);
      overwritten.fill(0xff, overwritten.length >> 1, (overwritten.length >> 1) + 64);
      for (const [damage, copy] of [['cut', bytes.subarray(0, bytes.length >> 1)], ['overwritten', overwritten]]) {
        const name = `${damage}-${path.basename(document)}`;
        fs.writeFileSync(path.join(folder, name), copy);
        const opened = web(() => quillmark.openDocument(copy, { name }));
        const listing = typeof opened === 'string' ? opened : opened.modules.map((m) => `${m.kind} ${m.name}\n`).join('');
        assert.equal(listing, nativeRun(['list', name], { cwd: folder }).replaceAll(folder, '/quillmark'), name);
        fs.rmSync(path.join(folder, name));
      }
    }
  } finally {
    fs.rmSync(folder, { recursive: true });
  }
});
