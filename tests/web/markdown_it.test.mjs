// The markdown-it plugin: VBA fences become the package's fragment, other fences stay
// markdown-it's, and code that cannot be converted stays plain code.
import assert from 'node:assert/strict';
import path from 'node:path';
import { createRequire } from 'node:module';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const packageFolder = path.resolve(process.env.QUILLMARK_PACKAGE ?? path.join(root, 'build-web/npm'));
const { convert } = await import(pathToFileURL(path.join(packageFolder, 'index.mjs')));
const { default: plugin } = await import(pathToFileURL(path.join(packageFolder, 'markdown-it.mjs')));
const MarkdownIt = createRequire(path.join(packageFolder, 'package.json'))('markdown-it');

const code = 'Sub Hello()\n    MsgBox "<Hi>" \' greet\nEnd Sub\n';

test('fences of vba, vb and bas, in any case, are converted; others are left alone', () => {
  const md = new MarkdownIt().use(plugin, { links: true });
  for (const language of ['vba', 'VB', 'bas']) {
    assert.equal(md.render('```' + language + '\n' + code + '```\n'), convert(code, { links: true }), language);
  }
  assert.equal(md.render('```js\nlet a = "<b>";\n```\n'), new MarkdownIt().render('```js\nlet a = "<b>";\n```\n'));
  assert.equal(md.render('    Sub Indented()\n'), new MarkdownIt().render('    Sub Indented()\n'));
});

test('the options reach the conversion, and unconvertible code stays plain', () => {
  const inline = new MarkdownIt().use(plugin, { inlineStyles: true, theme: 'dark', languages: ['vbnet'] });
  assert.equal(inline.render('```vbnet\n' + code + '```\n'), convert(code, { inlineStyles: true, theme: 'dark' }));
  assert.equal(inline.render('```vba\n' + code + '```\n'), new MarkdownIt().render('```vba\n' + code + '```\n'));
  const open = '```vba\nx = "never closed\n```\n';
  assert.equal(new MarkdownIt().use(plugin).render(open), new MarkdownIt().render(open));
});
