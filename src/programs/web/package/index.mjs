// Quillmark's commands for JavaScript, run by the same engine as the quillmark command, compiled
// to WebAssembly: the same fragments, lists and messages. Loaded once, on import.
import pako from 'pako';
import createQuillmark from './dist/quillmark.mjs';
import { rawInflater } from './inflate.mjs';

const Themes = ['light', 'dark', 'editor'];

async function wasmBytes() {
  const url = new URL('./dist/quillmark.wasm', import.meta.url);
  if (url.protocol === 'file:' && typeof process === 'object' && process.versions?.node) {
    const { readFile } = await import('node:fs/promises');
    return readFile(url);
  }
  const response = await fetch(url);
  if (!response.ok) throw new Error(`cannot load ${url}: ${response.status}`);
  return new Uint8Array(await response.arrayBuffer());
}

const inflateRaw = rawInflater(pako, (problem) => {
  module.quillmarkInflateProblem = problem;
});
const module = await createQuillmark({ wasmBinary: await wasmBytes(), quillmarkInflateRaw: inflateRaw });
const { FS } = module;
// Node's Buffer decodes UTF-8 several times faster than its TextDecoder; browsers have only this.
const decode = typeof Buffer === 'function'
  ? (bytes) => Buffer.from(bytes.buffer, bytes.byteOffset, bytes.length).toString('utf8')
  : (bytes) => new TextDecoder().decode(bytes);
const Folder = '/quillmark';
FS.mkdir(Folder);

/** A command that failed: its exit status and what it said on standard error. */
export class QuillmarkError extends Error {
  constructor(status, message) {
    super(message.replace(/\n$/, ''));
    this.name = 'QuillmarkError';
    this.status = status;
  }
}

function bytesOf(source) {
  if (typeof source === 'string') return new TextEncoder().encode(source);
  if (source instanceof Uint8Array) return source;
  if (source instanceof ArrayBuffer) return new Uint8Array(source);
  throw new TypeError('the source is a string, a Uint8Array or an ArrayBuffer');
}

// Runs "quillmark ARGS" in a folder of its own that holds files ({name: bytes}), from that
// folder, so that messages name the files as given; stdin is a file's name or ''.
function run(args, files = {}, stdin = '') {
  for (const name of FS.readdir(Folder)) {
    if (name !== '.' && name !== '..') FS.unlink(`${Folder}/${name}`);
  }
  for (const [name, bytes] of Object.entries(files)) FS.writeFile(`${Folder}/${name}`, bytes);
  FS.chdir(Folder);
  const words = new module.Words();
  for (const arg of args) words.push_back(arg);
  try {
    const result = module.run(words, stdin);
    if (result.status !== 0) throw new QuillmarkError(result.status, result.err);
    return { out: decode(module.output()) };
  } finally {
    words.delete();
  }
}

function themeOf(theme) {
  if (theme !== undefined && !Themes.includes(theme)) {
    throw new TypeError(`theme is one of ${Themes.join(', ')}`);
  }
  return theme;
}

function convertArgs(options) {
  const args = ['convert'];
  if (options.links) args.push('--links');
  if (options.page) args.push('--page');
  if (options.inlineStyles) args.push('--inline-styles');
  if (themeOf(options.theme) !== undefined) args.push('--theme', options.theme);
  if (options.lineNumbers) args.push('--line-numbers');
  if (options.title !== undefined) args.push('--title', options.title);
  if (options.entry !== undefined) args.push('--entry', options.entry);
  if (options.encoding !== undefined) args.push('--encoding', options.encoding);
  return args;
}

/**
 * The HTML of a module's source (its text, or the bytes of a module file in any encoding the
 * command reads), as `quillmark convert` writes it from standard input.
 */
export function convert(source, options = {}) {
  const args = convertArgs(options);
  if (options.module !== undefined) args.push('--module', options.module);
  return run([...args, '-'], { stdin: bytesOf(source) }, 'stdin').out;
}

function listArgs(options) {
  return options.encoding !== undefined ? ['--encoding', options.encoding] : [];
}

/** The procedure list of a module's source, as `quillmark list --module` prints it. */
export function list(source, options = {}) {
  const files = { stdin: bytesOf(source) };
  const name = run(['list', ...listArgs(options), '-'], files, 'stdin').out.split('\n')[0].replace(/^\S+ /, '');
  const out = run(['list', '--module', name, ...listArgs(options), '-'], files, 'stdin').out;
  return out.split('\n').filter(Boolean).map((line) => {
    const [entry, first, last] = line.split('\t');
    return { entry, first: Number(first), last: Number(last) };
  });
}

/**
 * The VBA project of an Office document (its bytes): its modules in the project's order, each
 * with its kind as the module list shows it (MOD, CLS, FRM, DOC), its code, and its HTML.
 * name is the document's file name, which its messages give; a locked or damaged project throws
 * the command's message.
 */
export function openDocument(bytes, { name = 'document', encoding } = {}) {
  const data = bytesOf(bytes);
  let file = name.replace(/[\\/]/g, '_');
  if (!/\.[A-Za-z]+$/.test(file)) {
    const zip = data[0] === 0x50 && data[1] === 0x4b;
    file += zip ? '.xlsm' : '.xls';
  }
  const files = { [file]: data };
  const extra = encoding !== undefined ? ['--encoding', encoding] : [];
  const modules = run(['list', ...extra, file], files).out.split('\n').filter(Boolean).map((line) => {
    const space = line.indexOf(' ');
    const moduleName = line.slice(space + 1);
    return {
      name: moduleName,
      kind: line.slice(0, space),
      code: run(['source', '--module', moduleName, ...extra, file], files).out,
      html: (options = {}) => run([...convertArgs(options), '--module', moduleName, ...extra, file], files).out,
    };
  });
  return { name: file, modules };
}

/** The style sheet of the fragment (or with page, of a whole page) in a theme. */
export function css(theme = 'light', { page = false } = {}) {
  return run(['css', ...(page ? ['--page'] : []), '--theme', themeOf(theme)]).out;
}
