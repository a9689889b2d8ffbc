// The page around the show. It starts the program (orbelune.js, one fresh
// instance per run, on a fresh canvas) with the address's options as its
// command line, and is the program's platform's other half: Module.page
// draws the setup dialog and the message boxes, mirrors the window title,
// owns the AudioContext and full screen, and keeps window.orbelune, which
// says where the run is for tests and for pages that embed this one. It
// also reads a visitor's own show (a folder or a .zip, picked or dropped)
// into the run's in-memory file system; nothing leaves the machine.
'use strict';

const ownLimits = { files: 4096, totalBytes: 256 * 1024 * 1024 };

const orbelune = {
  state: 'loading',
  time: 0,
  frames: 0,
  message: '',
  caption: '',
  boxes: [],
  title: document.title,
  firstFrameMs: null,
  bench: null,
  // The canvas's current picture, rows from the top, as base64 RGB.
  pixels() {
    const gl = document.getElementById('canvas').getContext('webgl', { preserveDrawingBuffer: true });
    const width = gl.drawingBufferWidth, height = gl.drawingBufferHeight;
    const rgba = new Uint8Array(width * height * 4);
    gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
    const rgb = new Uint8Array(width * height * 3);
    for (let y = 0; y < height; ++y) {
      const from = (height - 1 - y) * width * 4, to = y * width * 3;
      for (let x = 0; x < width; ++x) {
        rgb[to + x * 3] = rgba[from + x * 4];
        rgb[to + x * 3 + 1] = rgba[from + x * 4 + 1];
        rgb[to + x * 3 + 2] = rgba[from + x * 4 + 2];
      }
    }
    let text = '';
    for (let i = 0; i < rgb.length; i += 0x8000) text += String.fromCharCode.apply(null, rgb.subarray(i, i + 0x8000));
    return { width, height, rgb: btoa(text) };
  },
  playFiles(list) {
    return playOwnShow(list.map((f) => ({ path: f.path, data: toBytes(f.data) })));
  },
};
window.orbelune = orbelune;

const $ = (id) => document.getElementById(id);
const pageArguments = argumentsFromQuery(location.search);

// ---- The sound: one AudioContext for the page, running after a gesture ----
let audio = null;
function audioContext() {
  if (!audio) {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return null;
    audio = new Context();
  }
  return audio;
}
// Without the dialog's OK nothing has allowed sound yet: the show (whose
// clock follows the sound) waits for a click or a key, and says so.
for (const type of ['pointerdown', 'keydown']) {
  document.addEventListener(type, () => {
    if (audio && audio.state === 'suspended') audio.resume().then(() => { $('hint').hidden = true; });
  }, true);
}
$('setup').addEventListener('pointerdown', () => audioContext(), true);

// ---- Message boxes: one at a time, in order ----
// The program may ask for several in one go (a start-up step that finds
// several problems); the page shows them one after another as the modal
// boxes of the program would come, and says what it shows when it shows it.
const boxQueue = [];
function showNextBox() {
  const box = boxQueue[0];
  $('box').hidden = !box;
  if (!box) return;
  orbelune.message = box.text;
  orbelune.caption = box.caption;
  orbelune.boxes.push({ caption: box.caption, text: box.text });
  console.warn(box.caption + ': ' + box.text);
  $('box-caption').textContent = box.caption;
  $('box-text').textContent = box.text;
  const icon = $('box-icon');
  icon.className = box.icon;
  icon.textContent = { exclamation: '!', warning: '!', stop: 'X', information: 'i' }[box.icon] || '';
  $('box-ok').hidden = box.question;
  $('box-yes').hidden = $('box-no').hidden = !box.question;
  (box.question ? $('box-yes') : $('box-ok')).focus();
}
function closeBox() {
  boxQueue.shift();
  showNextBox();
  if (!boxQueue.length && pendingEnd) showEnd(pendingEnd.state, pendingEnd.text);
}
for (const id of ['box-ok', 'box-yes', 'box-no']) $(id).addEventListener('click', closeBox);
// Enter presses the focused button itself; Escape closes an OK box.
$('box').addEventListener('keydown', (e) => {
  if (e.key === 'Escape' && boxQueue.length && !boxQueue[0].question) {
    e.preventDefault();
    closeBox();
  }
});

// ---- The end panel ----
let pendingEnd = null;
function showEnd(state, text) {
  pendingEnd = null;
  orbelune.state = state;
  if (state === 'error') orbelune.message = text = text || orbelune.message;
  document.body.classList.remove('running');
  $('end-text').textContent = text;
  $('end').hidden = false;
  $('play-again').focus();
}

// ---- The setup dialog: the program's template as a form ----
let dialogOpen = false;
function openDialog(layout) {
  const form = $('setup'), client = $('setup-client');
  $('setup-caption').textContent = layout.caption;
  client.replaceChildren();
  client.style.width = layout.width + 'px';
  client.style.height = layout.height + 'px';
  const place = (element, c) => {
    Object.assign(element.style, { left: c.x + 'px', top: c.y + 'px', width: c.width + 'px', height: c.height + 'px' });
    client.appendChild(element);
  };
  for (const c of layout.controls) {
    if (c.kind === 'radio') {
      const label = document.createElement('label');
      const input = document.createElement('input');
      input.type = 'radio';
      input.name = 'group-' + c.group;
      input.id = 'control-' + c.id;
      input.addEventListener('click', () => dialogMessage(1, c.id));
      label.append(input, c.text);
      place(label, c);
    } else if (c.kind === 'group') {
      const set = document.createElement('fieldset');
      const legend = document.createElement('legend');
      legend.textContent = c.text;
      set.appendChild(legend);
      place(set, c);
    } else {
      const button = document.createElement('button');
      button.type = 'submit';
      button.id = 'control-' + c.id;
      button.textContent = c.text;
      button.dataset.id = c.id;
      place(button, c);
    }
  }
  form.hidden = false;
  dialogOpen = true;
  const start = form.querySelector('button[type=submit]');
  if (start) start.focus();
}
$('setup').addEventListener('submit', (e) => {
  e.preventDefault();
  const start = $('setup').querySelector('button[type=submit]');
  if (start) dialogMessage(1, Number(start.dataset.id));
});
$('setup').addEventListener('keydown', (e) => { if (e.key === 'Escape') dialogMessage(1, 2); });
$('setup-close').addEventListener('click', () => dialogMessage(2, 0));
function dialogMessage(kind, id) {
  if (dialogOpen && run && run.module) run.module._orbelune_dialogMessage(kind, id);
}

// ---- One run of the program ----
let run = null;  // {args, files, module, started, printed, errors}

function freshCanvas() {
  const old = $('canvas');
  const canvas = document.createElement('canvas');
  canvas.id = 'canvas';
  canvas.tabIndex = -1;
  canvas.width = old.width;
  canvas.height = old.height;
  old.replaceWith(canvas);
  return canvas;
}

function setState(state, text) {
  const running = state === 'loading' || state === 'playing';
  if (running || state === 'dialog') {
    orbelune.state = state;
    document.body.classList.toggle('running', running);
    if (state === 'playing' && audio && audio.state !== 'running') $('hint').hidden = false;
    $('end').hidden = true;
    if (state === 'loading' && run && run.started === null) run.started = performance.now();
    return;
  }
  $('hint').hidden = true;
  // The end comes after the boxes before it have been answered.
  if (boxQueue.length) {
    pendingEnd = { state, text };
    return;
  }
  showEnd(state, text);
}

function startRun(args, files) {
  if (run && run.module && run.module._orbelune_stop && !run.exited) run.module._orbelune_stop();
  boxQueue.length = 0;
  showNextBox();
  pendingEnd = null;
  run = { args, files, module: null, started: null, printed: [], errors: [] };
  const thisRun = run;
  Object.assign(orbelune, { state: 'loading', time: 0, frames: 0, message: '', caption: '', boxes: [], firstFrameMs: null, bench: null });
  $('setup').hidden = true;
  dialogOpen = false;
  $('end').hidden = true;
  const page = {
    setTitle(title) {
      orbelune.title = document.title = title;
    },
    setState,
    framePresented(seconds, frames) {
      orbelune.time = seconds;
      orbelune.frames = frames;
      if (orbelune.firstFrameMs === null && thisRun.started !== null) orbelune.firstFrameMs = performance.now() - thisRun.started;
    },
    report(json) {
      console.log(json);
      orbelune.bench = JSON.parse(json);
    },
    showBox(text, caption, icon, question) {
      boxQueue.push({ text, caption, icon, question });
      if (boxQueue.length === 1) showNextBox();
    },
    boxOpen: () => boxQueue.length > 0,
    openDialog(layout) {
      setState('dialog');
      openDialog(layout);
    },
    closeDialog() {
      $('setup').hidden = true;
      dialogOpen = false;
      thisRun.started = performance.now();
    },
    checkRadio(first, last, checked) {
      for (let id = first; id <= last; ++id) {
        const input = $('control-' + id);
        if (input) input.checked = id === checked;
      }
    },
    requestFullscreen() {
      // The whole page, so that the boxes and the end panel show too.
      const stage = document.documentElement;
      // Only a user gesture (the dialog's OK) may ask; without one the
      // picture stays in the page.
      const gesture = !navigator.userActivation || navigator.userActivation.isActive;
      // With the keyboard locked (where the browser offers it) Escape
      // reaches the show; holding it leaves full screen too.
      if (gesture && stage.requestFullscreen && !document.fullscreenElement) {
        stage.requestFullscreen()
          .then(() => navigator.keyboard && navigator.keyboard.lock && navigator.keyboard.lock(['Escape']))
          .catch(() => {});
      }
    },
    exitFullscreen() {
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    },
    showCursor(visible) {
      $('stage').classList.toggle('no-cursor', !visible);
    },
    audioContext,
    // The program ended before the show: after --help or --version, a
    // bad option, a missing data folder. What it printed is what happened.
    exited(code) {
      thisRun.exited = true;
      if (code === 0) setState('ended', thisRun.printed.join('\n'));
      else setState('error', thisRun.errors.join('\n'));
    },
  };
  // A run that another has replaced says nothing to the page any more.
  for (const [name, call] of Object.entries(page)) {
    page[name] = (...args) => (run === thisRun ? call(...args) : undefined);
  }
  const module = {
    canvas: freshCanvas(),
    arguments: args,
    page,
    print(text) {
      if (run !== thisRun) return;
      thisRun.printed.push(text);
      console.log(text);
    },
    printErr(text) {
      if (run !== thisRun) return;
      thisRun.errors.push(text);
      console.warn(text);
    },
    preRun: [(m) => writeOwnFiles(m, files)],
    onAbort(what) {
      if (run === thisRun) setState('error', 'The show stopped: ' + what);
    },
  };
  createOrbelune(module).then((m) => { thisRun.module = m; }, (e) => setState('error', 'The show could not start: ' + e));
  thisRun.module = module;
}

$('play-again').addEventListener('click', () => startRun(run.args, run.files));

// ---- An own show ----
function toBytes(data) {
  if (typeof data === 'string') return new TextEncoder().encode(data);
  return data instanceof Uint8Array ? data : new Uint8Array(data);
}

function writeOwnFiles(module, files) {
  if (!files) return;
  for (const f of files) {
    const path = ownRoot + '/' + f.path;
    module.FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
    module.FS.writeFile(path, f.data);
  }
}

function playOwnShow(files) {
  if (!files.length) return Promise.resolve();
  const args = pageArguments.filter((a, i, all) => a !== '--data' && all[i - 1] !== '--data');
  startRun(args.concat(['--data', ownDataFolder(files.map((f) => f.path))]), files);
  return Promise.resolve();
}

function refuse(text) {
  setState('error', text);
}

async function readFiles(entries) {
  if (entries.length > ownLimits.files) throw new ZipError('it holds more than ' + ownLimits.files + ' files');
  let total = 0;
  for (const e of entries) total += e.file.size;
  if (total > ownLimits.totalBytes) throw new ZipError('it is larger than ' + (ownLimits.totalBytes >> 20) + ' MiB');
  const files = [];
  for (const e of entries) files.push({ path: e.path, data: new Uint8Array(await e.file.arrayBuffer()) });
  return files;
}

async function playPicked(list) {
  try {
    const entries = Array.from(list, (file) => ({ path: zipEntryPath(file.webkitRelativePath || file.name), file }));
    if (entries.length === 1 && /\.zip$/i.test(entries[0].path)) {
      await playOwnShow(await readZip(await entries[0].file.arrayBuffer()));
    } else {
      await playOwnShow(await readFiles(entries.filter((e) => e.path !== null)));
    }
  } catch (e) {
    refuse('Your show could not be read: ' + (e instanceof ZipError ? e.message : String(e)) + '.');
  }
}

// A dropped folder, walked through the entries API with the same limits.
async function droppedEntries(items) {
  const out = [];
  const walk = async (entry, path) => {
    if (out.length > ownLimits.files) throw new ZipError('it holds more than ' + ownLimits.files + ' files');
    if (entry.isFile) {
      out.push({ path: path + entry.name, file: await new Promise((ok, fail) => entry.file(ok, fail)) });
    } else if (entry.isDirectory) {
      const reader = entry.createReader();
      for (;;) {
        const batch = await new Promise((ok, fail) => reader.readEntries(ok, fail));
        if (!batch.length) break;
        for (const child of batch) await walk(child, path + entry.name + '/');
      }
    }
  };
  for (const entry of items) await walk(entry, '');
  return out;
}

$('own-show').addEventListener('click', () => $('own-folder').click());
$('own-zip-button').addEventListener('click', () => $('own-zip').click());
$('own-folder').addEventListener('change', (e) => playPicked(e.target.files));
$('own-zip').addEventListener('change', (e) => playPicked(e.target.files));
document.addEventListener('dragover', (e) => {
  e.preventDefault();
  document.body.classList.add('dragging');
});
document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
document.addEventListener('drop', async (e) => {
  e.preventDefault();
  document.body.classList.remove('dragging');
  const items = Array.from(e.dataTransfer.items || []).map((i) => i.webkitGetAsEntry && i.webkitGetAsEntry()).filter(Boolean);
  try {
    if (items.length === 1 && items[0].isFile && /\.zip$/i.test(items[0].name)) {
      const [zip] = await droppedEntries(items);
      await playOwnShow(await readZip(await zip.file.arrayBuffer()));
    } else if (items.length) {
      await playOwnShow(await readFiles(await droppedEntries(items)));
    } else {
      await playPicked(e.dataTransfer.files);
    }
  } catch (error) {
    refuse('Your show could not be read: ' + (error instanceof ZipError ? error.message : String(error)) + '.');
  }
});

window.addEventListener('error', (e) => setState('error', 'The show stopped: ' + e.message));

startRun(pageArguments, null);
