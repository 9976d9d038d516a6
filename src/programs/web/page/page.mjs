// The offline page: the files a user drops go into the engine's file system, `quillmark site`
// makes its pages there, and the page shows them in a frame, following their links itself so
// that nothing is ever fetched. Copies and downloads are made by the same commands.
/* global wasmBase64, createQuillmark, rawInflater, pako, fflate */

const ModuleFile = /\.(bas|cls|frm|frx)$/i;
const Input = '/in';
const Site = '/site';
// Loose module files are one project, named as the editor names a new one.
const LooseProject = 'VBAProject';

const $ = (id) => document.getElementById(id);
let engine;
try {
  engine = await createQuillmark({
    wasmBinary: Uint8Array.from(atob(wasmBase64), (c) => c.charCodeAt(0)),
    quillmarkInflateRaw: rawInflater(pako, (problem) => {
      engine.quillmarkInflateProblem = problem;
    }),
  });
} catch (error) {
  // Browsers older than 2021 (Safari before 16.4) lack the vector instructions the engine is
  // built with.
  $('messages').textContent = 'This browser cannot run Quillmark: it needs WebAssembly with SIMD ' +
    `(Chrome or Edge 91, Firefox 89, Safari 16.4 or later). ${error.message}`;
  throw error;
}
const { FS } = engine;
const decoder = new TextDecoder();

// Runs "quillmark ARGS" from the input folder, so that messages name the files as dropped.
function run(args) {
  FS.chdir(Input);
  const words = new engine.Words();
  for (const arg of args) words.push_back(arg);
  try {
    const result = engine.run(words, '');
    return { status: result.status, err: result.err, out: decoder.decode(engine.output()) };
  } finally {
    words.delete();
  }
}

// The command's messages, which name files by their whole path, with the files' names as dropped.
function showMessages(text) {
  $('messages').textContent = text.replaceAll(`${Input}/`, '');
}

function removeTree(path) {
  if (!FS.analyzePath(path).exists) return;
  for (const name of FS.readdir(path)) {
    if (name === '.' || name === '..') continue;
    const child = `${path}/${name}`;
    if (FS.isDir(FS.stat(child).mode)) removeTree(child);
    else FS.unlink(child);
  }
  FS.rmdir(path);
}

function readTree(path, prefix = '', into = {}) {
  for (const name of FS.readdir(path)) {
    if (name === '.' || name === '..') continue;
    const child = `${path}/${name}`;
    if (FS.isDir(FS.stat(child).mode)) readTree(child, `${prefix}${name}/`, into);
    else into[prefix + name] = FS.readFile(child);
  }
  return into;
}

function writeInput(path, bytes) {
  let folder = Input;
  for (const part of path.split('/').slice(0, -1)) {
    folder += `/${part}`;
    if (!FS.analyzePath(folder).exists) FS.mkdir(folder);
  }
  FS.writeFile(`${Input}/${path}`, bytes);
}

// What was dropped or picked, as [{path, file}], folders walked.
async function walk(entry, into) {
  if (entry.isFile) {
    into.push({ path: entry.fullPath.replace(/^\//, ''), file: await new Promise((ok, fail) => entry.file(ok, fail)) });
  } else if (entry.isDirectory) {
    const reader = entry.createReader();
    for (;;) {
      const batch = await new Promise((ok, fail) => reader.readEntries(ok, fail));
      if (!batch.length) break;
      for (const child of batch) await walk(child, into);
    }
  }
}

async function dropped(transfer) {
  const entries = [...transfer.items].map((item) => item.webkitGetAsEntry?.()).filter(Boolean);
  if (!entries.length) return [...transfer.files].map((file) => ({ path: file.name, file }));
  const found = [];
  for (const entry of entries) await walk(entry, found);
  return found;
}

const picked = (files) => [...files].map((file) => ({ path: file.webkitRelativePath || file.name, file }));

const state = { paths: [], files: [], pages: {}, modules: {}, current: '' };

// The projects among the files: each folder, each document, and the loose module files together
// in a folder of their own.
function placed(files) {
  const paths = [];
  const placedFiles = files.map(({ path, file }) => {
    const where = !path.includes('/') && ModuleFile.test(path) ? `${LooseProject}/${path}` : path;
    const project = where.split('/')[0];
    if (!paths.includes(project)) paths.push(project);
    return { path: where, file };
  });
  return { paths, files: placedFiles };
}

async function open(files) {
  FS.chdir('/');
  removeTree(Input);
  FS.mkdir(Input);
  const projects = placed(files);
  for (const { path, file } of projects.files) writeInput(path, new Uint8Array(await file.arrayBuffer()));
  state.paths = projects.paths;
  state.files = projects.files.map(({ path }) => path);
  state.current = '';
  build();
}

// The site of the projects, their subfolders included (they were dropped too), made anew in the
// chosen theme; the page shown stays when it is still there.
function build() {
  if (!state.paths.length) return;
  removeTree(Site);
  const args = ['site', '--quiet', '--recursive', '--theme', $('theme').value, '-o', Site];
  if ($('lineNumbers').checked) args.push('--line-numbers');
  const result = run([...args, ...state.paths]);
  showMessages(result.err);
  state.pages = FS.analyzePath(`${Site}/index.html`).exists ? readTree(Site) : {};
  state.modules = modulesOf(state.pages['index.html']);
  $('site').disabled = !state.pages['index.html'];
  if (state.pages['index.html']) {
    show(state.pages[state.current] ? state.current : 'index.html');
  } else {
    // Nothing of it could be shown: nor may what was dropped before stay.
    state.current = '';
    $('view').srcdoc = '';
    for (const id of ['copy', 'fragment', 'page']) $(id).disabled = true;
  }
}

// Each module page's project and module, from the index: its projects are the paths in order. A
// module file in a subfolder is converted as the project of its own, where convert finds it; its
// page has its path.
function modulesOf(index) {
  const modules = {};
  if (!index) return modules;
  const html = new DOMParser().parseFromString(decoder.decode(index), 'text/html');
  html.querySelectorAll('section.Project').forEach((section, i) => {
    section.querySelectorAll('.Module .Name a').forEach((link) => {
      const page = decodeURI(link.getAttribute('href'));
      const file = state.files.find((path) => path.replace(/\.[^./]+$/, '.html') === page);
      modules[page] = { path: file ?? state.paths[i], name: link.textContent };
    });
  });
  return modules;
}

function show(path, hash = '') {
  const bytes = state.pages[path];
  if (!bytes) return;
  state.current = path;
  const sheet = decoder.decode(state.pages['quillmark.css']);
  const html = decoder.decode(bytes).replace(/<link rel="stylesheet" href="[^"]*quillmark\.css">/, () => `<style>${sheet}</style>`);
  const view = $('view');
  view.onload = () => {
    view.contentDocument.addEventListener('click', follow);
    target(hash);
  };
  view.srcdoc = html;
  const module = state.modules[path];
  for (const id of ['copy', 'fragment', 'page']) $(id).disabled = !module;
}

// The frame's document is about:srcdoc, whose own fragments its location may go to: the line or
// procedure becomes the target that the site's sheet marks.
function target(hash) {
  if (hash) $('view').contentWindow.location.hash = encodeURIComponent(hash);
}

// A frame made from text takes its links as the page's own: each is followed here instead.
function follow(event) {
  const link = event.target.closest?.('a[href]');
  if (!link) return;
  event.preventDefault();
  const url = new URL(link.getAttribute('href'), `https://site.invalid/${state.current}`);
  const hash = decodeURIComponent(url.hash.slice(1));
  const path = decodeURIComponent(url.pathname.slice(1));
  if (path === state.current) target(hash);
  else show(path, hash);
}

function convert(extra) {
  const { path, name } = state.modules[state.current];
  const args = ['convert', '--links', '--module', name, ...extra, path];
  const result = run(args);
  if (result.status !== 0) showMessages(result.err);
  return result.status === 0 ? result.out : null;
}

function download(name, bytes, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 0);
}

const theme = () => ['--theme', $('theme').value];
const moduleName = () => state.modules[state.current].name;

// What the window's copy puts on the clipboard: the fragment with inline styles as HTML, for Word
// or a mail, and the fragment itself as text, for a page's source.
$('copy').onclick = () => {
  const html = convert(['--inline-styles', ...theme()]);
  const fragment = convert([]);
  if (html === null || fragment === null) return;
  const put = (event) => {
    event.clipboardData.setData('text/html', html);
    event.clipboardData.setData('text/plain', fragment);
    event.preventDefault();
  };
  document.addEventListener('copy', put, { once: true });
  document.execCommand('copy');
};
$('fragment').onclick = () => {
  const html = convert([]);
  if (html !== null) download(`${moduleName()}.html`, html, 'text/html');
};
$('page').onclick = () => {
  const html = convert(['--page', ...theme(), ...($('lineNumbers').checked ? ['--line-numbers'] : [])]);
  if (html !== null) download(`${moduleName()}.html`, html, 'text/html');
};
$('site').onclick = () => {
  download('quillmark-site.zip', fflate.zipSync(state.pages, { level: 6 }), 'application/zip');
};
$('theme').onchange = build;
$('lineNumbers').onchange = build;
$('files').onchange = (event) => open(picked(event.target.files));
$('folder').onchange = (event) => open(picked(event.target.files));
const drop = $('drop');
document.addEventListener('dragover', (event) => {
  event.preventDefault();
  drop.classList.add('Over');
});
document.addEventListener('dragleave', () => drop.classList.remove('Over'));
document.addEventListener('drop', async (event) => {
  event.preventDefault();
  drop.classList.remove('Over');
  open(await dropped(event.dataTransfer));
});
document.documentElement.dataset.ready = '';
