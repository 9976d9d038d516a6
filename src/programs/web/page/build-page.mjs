// Writes quillmark.html: page.html with everything it runs inlined (the engine's module and its
// wasm as base64, pako for documents' compressed streams, fflate for the site's zip, the page's
// own script), so that the one file works opened from disk with no request at all.
//   node build-page.mjs BUILD-WEB PAGE-DEPENDENCIES OUTPUT
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [buildWeb, dependencies, output] = process.argv.slice(2);
const here = dirname(fileURLToPath(import.meta.url));
const read = (path) => readFileSync(path, 'utf8');

// The ES modules of our own become parts of one module script: their imports come from the
// scripts before them.
function inlined(path, exported) {
  const text = read(path).replace(/^import .*$/gm, '').replace(/^export default \w+;$/m, '');
  return text.replace(/^export (function|class|const) /gm, '$1 ').trimEnd() + `\n// ${exported}\n`;
}

const scripts = [
  ['script', read(join(dependencies, 'node_modules/pako/dist/pako_inflate.min.js'))],
  ['script', read(join(dependencies, 'node_modules/fflate/umd/index.js'))],
  ['script type="module"', [
    `const wasmBase64 = "${readFileSync(join(buildWeb, 'quillmark.wasm')).toString('base64')}";`,
    inlined(join(buildWeb, 'quillmark.mjs'), 'createQuillmark'),
    inlined(join(here, '../package/inflate.mjs'), 'rawInflater'),
    inlined(join(here, 'page.mjs'), 'the page'),
  ].join('\n')],
];
const html = scripts.map(([tag, text]) => {
  if (/<\/script/i.test(text)) throw new Error(`a script to inline holds </script: ${tag}`);
  return `<${tag}>\n${text}\n</${tag.split(' ')[0]}>`;
}).join('\n');
const page = read(join(here, 'page.html'));
const marker = '<!-- the engine and its helpers -->';
if (!page.includes(marker)) throw new Error('page.html lost its marker');
writeFileSync(output, page.replace(marker, () => html));
