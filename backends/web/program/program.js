// The program's side of the page: the WebAssembly program, its loop, the canvas it draws on and
// the pictures it loads. It runs in a worker of the page where the browser can draw from one, so
// that the page's own thread is not woken for a frame, else on the page itself (page.js decides).
// The site serves it as one script, program.js, with the facts, the picture loader (loader.js) and
// the program's runtime (backends/web/Build.cmake).
// It hears the page's events (keys, menu clicks, the prompt's button, the box closing, the
// window's shape) as messages, and tells the page what to show the same way, only when that
// changes: the title, the menu, a label, the prompt, the box, the error, a replay to save. Both
// say the names of OMBREVALE_NAMES (facts.js). A replay the address names is fetched here with the
// pictures, and the program plays it instead of the visitor's session.
const kNames = OMBREVALE_NAMES;
const kInWorker = typeof WorkerGlobalScope !== 'undefined' && self instanceof WorkerGlobalScope;

// The program and its pictures are fetched at once, side by side; the pictures go into the
// program as they arrive, once its runtime is up. A worker's page asks for both as it starts the
// worker (index.html) and hands over the program compiled and the pictures' compressed archive,
// each in a message ({} where it could not: the worker then fetches it itself).
const kHandedFiles = new Map();  // file -> what resolves to the page's message
function handed(file) {
  if (!kInWorker || self.name !== kNames.signal.handedWorker) return Promise.resolve({});
  return new Promise((resolve) => kHandedFiles.set(file, resolve));
}
const kProgramHanded = handed(kNames.file.wasm);
let kRuntimeUp = null;
const kRuntime = new Promise((resolve) => { kRuntimeUp = resolve; });
// The archive the page handed over is read once the runtime is up, each picture straight into the
// program.
const kPicturesHanded = handed(kNames.file.pictures).then(({ bytes }) => bytes && kRuntime.then(() => bytes));
const kPicturesPrepared = OmbrevalePictures.prepare(OmbrevalePictures.archive(kPicturesHanded), kRuntime);

const OmbrevaleProgram = (() => {
  let toPage = () => {};
  let started = null;  // the page's start message
  let context = null;  // the canvas's
  const events = [];   // the page's keys, menu clicks and prompt presses, for the next pass
  const calls = [];    // the page's calls into the program, for between passes
  let shape = null;    // the window's shape as the page said it last
  // The replay the address names, fetched as the program arrives: { bytes } or { failure }.
  let replay = null, replayFetched = Promise.resolve();
  function fetchReplay(url) {
    replayFetched = fetch(url)
      .then((response) => (response.ok ? response.arrayBuffer()
        : Promise.reject(new Error(`${response.status} ${response.statusText}`.trim()))))
      .then((bytes) => { replay = { bytes: new Uint8Array(bytes) }; },
            (e) => { replay = { failure: e.message }; });
  }

  // How far the program has come, sent to the page with each message, and at the latest 200 ms
  // after it changed: frames shown, when the first was and when the clock began, in the page's
  // milliseconds since navigation.
  const status = { shown: 0, firstFrameAt: 0, clockOrigin: 0 };
  let statusTimer = 0;
  const pageNow = () => performance.timeOrigin + performance.now() - started.pageOrigin;
  function post(message, transfer = []) {
    clearTimeout(statusTimer);
    statusTimer = 0;
    message.status = { ...status };
    toPage(message, transfer);
  }
  function statusChanged() {
    if (!statusTimer) statusTimer = setTimeout(() => post({}), 200);
  }
  const show = (name, ...args) => post({ show: name, args });

  // How large a canvas pixel is shown, in CSS pixels, as the page last said (page.js); 0 until it
  // first says, once the window shows. The loop begins then: every frame is limited at its size.
  let shownScale = 0;

  // Frames recorded for tests (?record=N) and the clock's label as it was shown with them.
  let recorded = 0, clockLabel = '';

  // The loop: a pass when the next slot is due, or at once when the page sent an event. One pass
  // at a time; a pass held by the version box resumes as the box closes. Between passes, the
  // page's calls, once main() has run.
  let running = false, busy = false, stepWanted = false, timer = 0, begun = false;
  function step() {
    timer = 0;
    if (busy) {
      stepWanted = true;
      return;
    }
    busy = true;
    Module.ccall(kNames.call.step, 'number', [], [], { async: true }).then((wait) => {
      busy = false;
      if (wait >= 0 && running) timer = setTimeout(step, wait);
      else running = false;
      between();
    });
  }
  function wake() {
    if (running && timer) {
      clearTimeout(timer);
      step();
    }
  }
  function between() {
    if (busy || !begun) return;
    if (calls.length > 0) {
      const call = calls.shift();
      busy = true;
      Promise.resolve()
        .then(() => Module.ccall(call.name, call.returnType, call.argTypes, call.args, { async: true }))
        .catch((e) => {
          console.error(`ombrevale: ${call.name} failed: ${e.message}`);
          return null;
        })
        .then((value) => {
          busy = false;
          post({ answer: call.id, value });
          between();
        });
    } else if (stepWanted) {
      stepWanted = false;
      step();
    }
  }

  // The version box holds the pass that opened it until the page says it closed.
  let boxClosed = null;

  // The page's sound, Web Audio, lives on the page's thread: from a worker the program's calls to
  // the wave player and the music go there as messages, and their answers come back. Whether a
  // wave plays, which the program asks inside a pass, is known here as the page tells it.
  const relays = new Map();
  let nextRelay = 1;
  function relay(object, method, args) {
    const id = nextRelay++;
    post({ relay: id, object, method, args });
    return new Promise((resolve) => relays.set(id, resolve));
  }
  let wavePlaying = false, waveEnded = [];
  function wavesChanged(playing) {
    wavePlaying = playing;
    if (!playing) waveEnded.splice(0).forEach((resolve) => resolve());
  }
  if (kInWorker) {
    const audio = kNames.object.audio;
    globalThis[audio] = {
      play: (path, loop) => relay(audio, 'play', [path, loop]),
      stop() {
        relay(audio, 'stop', []);
        wavesChanged(false);
      },
      playing: () => wavePlaying,
      ended: () => (wavePlaying ? new Promise((resolve) => waveEnded.push(resolve)) : Promise.resolve()),
    };
    // Every function of the music's object answers as a promise of what it returned on the page.
    globalThis[kNames.object.music] = new Proxy({}, {
      get: (target, method) => (...args) => relay(kNames.object.music, String(method), args),
    });
  }

  // The page's messages.
  function receive(message) {
    const kind = kNames.kind;
    switch (message.kind) {
      case kind.start:
        started = message;
        context = message.canvas.getContext('2d', { alpha: false, desynchronized: true });
        // The canvas's first picture costs it its backing: taken now, while the program and its
        // pictures arrive, rather than before the first frame. The window's first scene covers it.
        context.putImageData(new ImageData(1, 1), 0, 0);
        if (message.replayUrl) fetchReplay(message.replayUrl);
        begin();
        break;
      case kind.shape:
        shape = message;
        break;
      case kind.key:
      case kind.menu:
      case kind.prompt:
        events.push(message);
        wake();
        break;
      case kind.visible:
        wake();
        break;
      case kind.shownScale: {
        const first = shownScale === 0;
        shownScale = message.scale;
        if (first && running) step();
        break;
      }
      case kind.boxClosed:
        events.length = 0;  // what was typed at the page meanwhile is dropped
        if (boxClosed) boxClosed();
        boxClosed = null;
        break;
      case kind.relayed:
        relays.get(message.id)(message.value);
        relays.delete(message.id);
        break;
      case kind.waves:
        wavesChanged(message.playing);
        break;
      case kind.call:
        calls.push(message);
        between();
        break;
      case kind.handed:
        kHandedFiles.get(message.file)(message);
        break;
    }
  }

  // The program starts once the page has said how, its runtime is up, and its pictures are
  // prepared.
  async function begin() {
    await kPicturesPrepared;
    await replayFetched;
    busy = true;  // main() runs the window's load: no call meanwhile
    Module.callMain([]);
    busy = false;
    begun = true;
    between();
  }

  return {
    connect(sendToPage) {
      toPage = sendToPage;
      return receive;
    },

    // What the program asks of the page (the EM_JS functions of backends/web/ and app/StartWeb.cpp).
    setting: (name) => started.settings[name] || '',
    screen: () => started.screen,
    shownScale: () => shownScale || 1,
    show,
    nextEvent: () => events.shift(),
    keyArrived: (code) => show(kNames.show.keyArrived, code),
    setLabel(index, caption, ...rest) {
      if (index === 0) clockLabel = caption;
      show(kNames.show.setLabel, index, caption, ...rest);
    },
    // The box; closed by itself after `closeAfter` ms, unless that is negative.
    showBox(title, text, closeAfter) {
      show(kNames.show.showBox, title, text, closeAfter);
      return new Promise((resolve) => { boxClosed = resolve; });
    },
    shape: () => shape,
    replay: () => replay,
    putPixels(rgba, width, height, x, y) {
      const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4);
      context.putImageData(new ImageData(pixels, width, height), x, y);
    },
    frameShown() {
      if (status.shown++ === 0) {
        status.firstFrameAt = pageNow();
        post({});
      } else {
        statusChanged();
      }
      if (recorded < Number(started.settings.record || 0)) {
        ++recorded;
        const f = OMBREVALE_FACTS;
        const frame = context.getImageData(f.pageFrame, f.pageFrame, f.canvasWidth, f.canvasHeight);
        post({ frame: frame.data.buffer, label: clockLabel, at: pageNow() }, [frame.data.buffer]);
      }
    },
    clockStarted() { status.clockOrigin = pageNow(); },
    // The window has loaded: the loop begins, as soon as the page has said how large it shows it.
    loaded() {
      running = true;
      if (shownScale) step();
    },
  };
})();

// The runtime of the program (ombrevale.js, which follows) reads these.
var Module = {
  // The program compiled by the page, or fetched here with the pictures and compiled as it
  // arrives, where the host says it is WebAssembly.
  instantiateWasm(imports, receive) {
    kProgramHanded.then(({ module }) => {
      if (module) return WebAssembly.instantiate(module, imports).then((instance) => ({ instance, module }));
      return fetch(kNames.file.wasm).then((response) => {
        const streams = (response.headers.get('Content-Type') || '').startsWith('application/wasm');
        return streams ? WebAssembly.instantiateStreaming(response, imports)
          : response.arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, imports));
      });
    }).then(({ instance, module }) => receive(instance, module),
            (e) => console.error(`ombrevale: the program could not be started: ${e.message}`));
    return {};
  },
  onRuntimeInitialized: () => kRuntimeUp(),
};

if (kInWorker) {
  const receive = OmbrevaleProgram.connect((message, transfer) => postMessage(message, transfer));
  addEventListener('message', (e) => receive(e.data));
} else {
  dispatchEvent(new Event(kNames.signal.programRan));
}
