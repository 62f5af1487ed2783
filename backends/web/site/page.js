// The page's side of the window, on the page's own thread: its size on the browser's window at a
// whole factor of device pixels, the menu bar, the labels over the canvas, the calm start's prompt,
// the version box, the keys, fullscreen, the error, and the session saved or played as a replay.
// The program runs in a worker of the page
// (program.js, started by index.html), drawing on the canvas from there, so that the page's thread
// only hears from it when something it shows changes; where the browser cannot draw from a worker,
// the program runs here instead. The two speak in the same messages either way.
'use strict';

const OmbrevalePage = (() => {
  // The names the page and the program say to each other (facts.js).
  const kNames = OMBREVALE_NAMES;
  const kWidth = OMBREVALE_FACTS.clientWidth, kHeight = OMBREVALE_FACTS.clientHeight;
  const address = new URLSearchParams(location.search);
  const stage = document.getElementById('stage');
  const win = document.getElementById('window');
  const menu = document.getElementById('menu');
  const canvas = document.getElementById('canvas');
  // As many pixels as the page has, the window's background with its frame around the vision.
  canvas.width = OMBREVALE_FACTS.pageWidth;
  canvas.height = OMBREVALE_FACTS.pageHeight;
  const labels = document.getElementById('labels');
  const prompt = document.getElementById('prompt');
  const box = document.getElementById('box');
  const about = document.getElementById('about');
  const error = document.getElementById('error');
  const replayNote = document.getElementById('replay-note');
  const menuCaptions = [];
  const reducedMotion = matchMedia('(prefers-reduced-motion: reduce)');

  // What tests and bug reports read back: the frames shown (with ?record=N), the keys arrived.
  // With each recorded frame, the label's text as it was shown and when (performance.now()); and
  // when the page's clock took its first reading, which a fixed start counts on from. `inWorker`:
  // where the program runs; `scale`: the page's factor in device pixels; `shownScale`: a canvas
  // pixel's size in CSS pixels, as the program was told; `replayOutcome`: how a replay the address
  // named played, as the page's note says it.
  const test = { frames: [], labelsShown: [], record: Number(address.get('record') || 0),
                 shown: 0, keys: [], boxes: 0, firstFrameAt: 0, clockOrigin: 0,
                 inWorker: false, scale: 0, shownScale: 0, replayOutcome: null };

  // The program's settings: the address's, and a calm start for a visitor whose system asks for
  // less motion (or whose address says calm=1).
  function settings() {
    const all = Object.fromEntries(address);
    all.calm = reducedMotion.matches || address.get('calm') === '1' ? '1' : '';
    return all;
  }

  // The largest whole factor N whose N x 404 by N x 324 device pixels fit the browser's window
  // (or the screen, in fullscreen), at least 1, unless the program was asked for one (?scale=N).
  // The page is laid out in CSS pixels, so its size and its place are that many device pixels
  // divided by devicePixelRatio: every canvas pixel is then N x N device pixels, whatever the ratio.
  let askedScale = 0;
  function layout() {
    const ratio = devicePixelRatio || 1;
    const area = stage.getBoundingClientRect();
    const width = Math.round(area.width * ratio), height = Math.round(area.height * ratio);
    const scale = askedScale || Math.max(1, Math.floor(Math.min(width / kWidth, height / kHeight)));
    const left = Math.max(0, Math.floor((width - kWidth * scale) / 2));
    const top = Math.max(0, Math.floor((height - kHeight * scale) / 2));
    // A browser's window smaller than the page at its factor scrolls to the rest of it, so that
    // the clock and the page's own buttons stay within reach; one that holds it never scrolls.
    stage.style.overflow = kWidth * scale > width || kHeight * scale > height ? 'auto' : 'hidden';
    win.style.transform = `scale(${scale / ratio})`;
    win.style.left = `${left / ratio}px`;
    win.style.top = `${top / ratio}px`;
    // The boxes and the error are the window's: as large as its page.
    for (const element of [box, about, error]) element.style.zoom = scale / ratio;
    test.scale = scale;
    // The program limits the vision's flashes at the size a canvas pixel is seen: told whenever
    // that changes, from the moment the window shows.
    if (!win.hidden && scale / ratio !== test.shownScale) {
      test.shownScale = scale / ratio;
      send({ kind: kNames.kind.shownScale, scale: test.shownScale });
    }
    sendShape(width, height);
  }
  // The window's shape, for the session's replay: the browser's window as the page fills it, in
  // device pixels, and whether it is fullscreen; said when it changes.
  let shapeSent = '';
  function sendShape(width, height) {
    const shape = { kind: kNames.kind.shape, width, height, fullscreen: !!document.fullscreenElement };
    if (JSON.stringify(shape) === shapeSent) return;
    shapeSent = JSON.stringify(shape);
    send(shape);
  }
  // The ratio changes with the browser's zoom, or as the window moves to another monitor; the
  // query for the present ratio stops matching then, and the page fits itself again.
  let ratioQuery = null;
  function watchRatio() {
    if (ratioQuery) ratioQuery.removeEventListener('change', ratioChanged);
    ratioQuery = matchMedia(`(resolution: ${devicePixelRatio || 1}dppx)`);
    ratioQuery.addEventListener('change', ratioChanged);
  }
  function ratioChanged() {
    watchRatio();
    layout();
  }
  watchRatio();
  addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else stage.requestFullscreen().catch(() => {});
  }
  document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);
  canvas.addEventListener('dblclick', toggleFullscreen);
  for (const id of ['about-open', 'about-link'])
    document.getElementById(id).addEventListener('click', () => about.showModal());
  // The note closed, the browser puts the focus back on what opened it, where Return would open it
  // again: it goes instead to the calm start's button while that waits (Return starts the vision),
  // else to the window itself, whose keys then reach the program.
  about.addEventListener('close', () => {
    const start = document.getElementById('start');
    if (!start.hidden) start.focus();
    else if (document.activeElement instanceof HTMLButtonElement) document.activeElement.blur();
  });

  // A replay played has no session of its own to save.
  const saveReplay = document.getElementById('save-replay');
  saveReplay.hidden = address.has('replay');
  saveReplay.addEventListener('click', () => replay.save());

  // Bytes the program handed over, as a file the browser downloads.
  function download(bytes, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }
  // A replay's file name: what it is, then the local date and time.
  function replayName(what) {
    const now = new Date(), two = (n) => String(n).padStart(2, '0');
    return `${what}-${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}-` +
           `${two(now.getHours())}${two(now.getMinutes())}${two(now.getSeconds())}.replay`;
  }

  // Keys the page scrolls or navigates by, when pressed alone: taken for the program.
  const kPageKeys = new Set(['Space', 'ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight',
                             'PageUp', 'PageDown', 'Home', 'End', 'Backspace']);

  document.addEventListener('keydown', (e) => {
    if (box.open || about.open || win.hidden) return;
    // A focused button takes Return and Space itself, as a menu or a dialog's button does.
    if (e.target instanceof HTMLButtonElement && (e.code === 'Enter' || e.code === 'Space' ||
                                                   e.code === 'NumpadEnter')) return;
    // Alt with the first letter of an entry's caption clicks it, as a menu bar's access key.
    if (e.altKey && !e.ctrlKey && !e.metaKey && e.code.startsWith('Key')) {
      const entry = menuCaptions.findIndex((c) => c[0].toUpperCase() === e.code[3]);
      if (entry >= 0) {
        e.preventDefault();
        send({ kind: kNames.kind.menu, entry });
        return;
      }
    }
    // The program makes its shift bits of these (platform/keys/KeyPlaces.h).
    send({ kind: kNames.kind.key, code: e.code, shift: e.shiftKey, control: e.ctrlKey,
           alt: e.altKey });
    // The browser keeps its shortcuts, Tab and the function keys.
    if (!e.ctrlKey && !e.altKey && !e.metaKey && kPageKeys.has(e.code)) e.preventDefault();
  });
  document.getElementById('start')
    .addEventListener('click', () => send({ kind: kNames.kind.prompt }));

  // The version box: closed by OK, Return, Space or Escape.
  box.addEventListener('keydown', (e) => {
    if (['Enter', 'NumpadEnter', 'Space', 'Escape'].includes(e.code)) {
      e.preventDefault();
      e.stopPropagation();  // the key that closes the box is the box's, not the window's
      box.close();
    }
  });
  box.addEventListener('cancel', (e) => { e.preventDefault(); box.close(); });
  box.addEventListener('close', () => {
    clearTimeout(boxTimer);
    send({ kind: kNames.kind.boxClosed });
  });

  // A hidden page's timers are slowed down by the browser; back in view, the program takes the
  // pass that waits at once.
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible') send({ kind: kNames.kind.visible });
  });

  // What the program shows on the page, by name.
  const shows = {
    [kNames.show.setTitle](title) { document.title = title; },
    [kNames.show.addMenuEntry](index, caption) {
      const entry = document.createElement('button');
      entry.type = 'button';
      entry.setAttribute('role', 'menuitem');
      const access = document.createElement('u');
      access.textContent = caption.slice(0, 1);
      entry.append(access, caption.slice(1));
      entry.addEventListener('click', () => send({ kind: kNames.kind.menu, entry: index }));
      menu.append(entry);
      menuCaptions[index] = caption;
    },
    [kNames.show.setScale](scale) { askedScale = scale; },
    [kNames.show.show]() {
      win.hidden = false;
      layout();
    },
    // The canvas, named for what it shows, not its changing pixels.
    [kNames.show.setCanvasName](name) { canvas.setAttribute('aria-label', name); },
    [kNames.show.setLabel](index, caption, x, y, w, h, color, face, pixels, bold) {
      let label = labels.children[index];
      if (!label) {
        label = document.createElement('div');
        label.className = 'label';
        // The clock: read when the visitor asks, never announced as it changes each second.
        label.setAttribute('role', 'timer');
        label.setAttribute('aria-live', 'off');
        labels.append(label);
      }
      // The label's drawing box, which the program gives as every desktop draws in it.
      Object.assign(label.style, {
        left: `${x}px`, top: `${y}px`, width: `${w}px`, height: `${h}px`,
        color: `#${color.toString(16).padStart(6, '0')}`,
        font: `${bold ? 'bold ' : ''}${pixels}px "${face}", "MS PGothic", "IPAPGothic", ` +
              '"IPAexGothic", "Hiragino Kaku Gothic ProN", "Yu Gothic", "Noto Sans CJK JP", sans-serif',
      });
      label.textContent = caption;
    },
    // The calm start's button and the line under it; no caption: none.
    [kNames.show.setPrompt](caption, note) {
      const start = document.getElementById('start');
      prompt.hidden = start.hidden = caption === null;
      start.textContent = caption || '';
      document.getElementById('note').textContent = note || '';
    },
    // The box; closed as OK closes it after `closeAfter` ms, unless that is negative (a replay
    // shows it for as long as the player kept it open).
    [kNames.show.showBox](title, text, closeAfter = -1) {
      document.getElementById('box-title').textContent = title;
      document.getElementById('box-text').textContent = text;
      test.boxes++;
      box.showModal();
      document.getElementById('box-ok').focus();
      clearTimeout(boxTimer);
      if (closeAfter >= 0) boxTimer = setTimeout(() => { if (box.open) box.close(); }, closeAfter);
    },
    [kNames.show.keyArrived](code) { test.keys.push(code); },
    [kNames.show.fatalError](text) {
      win.hidden = true;
      document.getElementById('error-text').textContent = text;
      error.hidden = false;
    },
    [kNames.show.saveReplay](bytes) { download(bytes, replayName('ombrevale')); },
    // The last minute of the session that ended, offered beside the error.
    [kNames.show.offerLastMinute](bytes) {
      const link = document.getElementById('last-minute');
      link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      link.download = replayName('last-minute');
      link.hidden = false;
    },
    // How the replay the address named played: one line on the console, and the page's note.
    [kNames.show.replayOutcome](text, failed) {
      if (failed) console.error(`ombrevale: ${text}`);
      else console.log(text);
      replayNote.textContent = text;
      replayNote.classList.toggle('failed', failed);
      replayNote.hidden = false;
      test.replayOutcome = { text, failed };
    },
  };
  let boxTimer = 0;

  // The program's messages: what it shows, its relayed calls to the page's sound, the answers to
  // the page's calls, and with each, how far it has come (frames shown, when the first and the
  // clock began).
  const answers = new Map();
  let nextCall = 1;
  let keeping = false;
  function receive(message) {
    if (message.status) {
      Object.assign(test, message.status);
      // Once the vision shows, the site is kept for the next visit and offline.
      if (test.shown > 0 && !keeping) keepSite();
    }
    if (message.show) shows[message.show](...message.args);
    if (message.frame) {
      test.frames.push(new Uint8ClampedArray(message.frame));
      test.labelsShown.push({ at: message.at, text: message.label });
    }
    if (message.relay) relayed(message);
    if (message.answer) {
      answers.get(message.answer)(message.value);
      answers.delete(message.answer);
    }
  }

  // The program's calls to objects of the page it cannot reach from a worker: the wave player and
  // the music's synthesiser, which sound through the page's Web Audio. Each answers with what its
  // function returned, awaited.
  function pageObject(name) {
    if (name === kNames.object.audio) return OmbrevaleAudio;
    if (name === kNames.object.music && typeof OmbrevaleMusic !== 'undefined')
      return OmbrevaleMusic;
    return globalThis[name];
  }
  async function relayed({ relay, object, method, args }) {
    let value;
    try {
      value = await pageObject(object)[method](...args);
    } catch (e) {
      console.error(`ombrevale: ${object}.${method} failed on the page: ${e.message}`);
    }
    send({ kind: kNames.kind.relayed, id: relay, value });
  }

  function keepSite() {
    keeping = true;
    if ('serviceWorker' in navigator)
      navigator.serviceWorker.register(kNames.file.serviceWorker).catch(() => {});
  }

  // The link to the program: the worker the page started (index.html), which the canvas then goes
  // to, else the program on this thread, its script loaded here.
  let send;
  const start = { kind: kNames.kind.start, settings: settings(), pageOrigin: performance.timeOrigin,
                  screen: { width: screen.width, height: screen.height } };
  // ?replay=URL: the replay the program plays instead of the visitor's session, fetched by the
  // program's side from where the address says, relative to the page.
  if (address.get('replay')) start.replayUrl = new URL(address.get('replay'), location.href).href;
  if (ombrevaleWorker) {
    test.inWorker = true;
    ombrevaleWorker.addEventListener('message', (e) => receive(e.data));
    send = (message) => ombrevaleWorker.postMessage(message);
    start.canvas = canvas.transferControlToOffscreen();
    ombrevaleWorker.postMessage(start, [start.canvas]);
    // The wave player tells the program when a wave starts and stops, which it asks in a pass.
    OmbrevaleAudio.onChange = (playing) => send({ kind: kNames.kind.waves, playing });
  } else {
    const queued = [start];
    send = (message) => queued.push(message);
    start.canvas = canvas;
    // Once program.js has run, the two call each other directly, a task apart, as messages go.
    addEventListener(kNames.signal.programRan, () => {
      const toProgram = OmbrevaleProgram.connect((message) => setTimeout(receive, 0, message));
      send = (message) => setTimeout(toProgram, 0, message);
      queued.forEach(send);
    }, { once: true });
    const script = document.createElement('script');
    script.src = kNames.file.program;
    document.body.append(script);
  }

  // Calls an exported function of the program between its passes, never inside one (nor while
  // the version box holds a pass), as Module.ccall takes it; resolves to what it returned.
  function callProgram(name, returnType, argTypes, args) {
    const id = nextCall++;
    send({ kind: kNames.kind.call, id, name, returnType, argTypes, args });
    return new Promise((resolve) => answers.set(id, resolve));
  }
  // The session as a replay (also from the console: OmbrevalePage.replay.save()): downloaded as
  // ombrevale-DATE.replay, every frame's hash in it. Resolves to whether there was one to save.
  const replay = {
    save: () => callProgram(kNames.call.saveReplay, 'number', [], []).then((saved) => saved === 1),
  };

  return { callProgram, replay, test };
})();
