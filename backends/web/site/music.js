// The music channel on the page's main thread: the synthesiser the program's MIDI device plays
// through (OmbrevaleMusic: FluidSynth in an AudioWorklet, music-worklet.js, with the General MIDI
// soundfont fetched when the first piece is opened), and the console's way into the channel
// (OmbrevalePage.mci and OmbrevalePage.playMusic), which takes its turn between the loop's passes.
// The program, in a worker of the page, calls OmbrevaleMusic by messages (program.js): it waits
// for a piece and for the synthesiser to be ready, and for nothing else; it knows itself which
// piece it started last, and hears from here when that start has rung out.
//
// A browser lets a page sound only once the visitor has clicked or pressed a key. Until then a
// piece is accepted and played on the program's clock, in silence; at the first gesture it sounds
// from the place that clock has reached, so that what is heard is what the game thinks is playing.
'use strict';

const OmbrevaleMusic = (() => {
  // The program's status for a piece that cannot be fetched, and the site's files the synthesiser
  // is made of (facts.js).
  const kFileMissing = OMBREVALE_FACTS.mci.fileMissing;
  const { soundfont: kSoundfont, synth: kSynth, synthLoader, synthScript, musicProcessor } =
    OMBREVALE_NAMES.file;
  const kModules = [synthLoader, synthScript, musicProcessor];  // in this order

  // Each piece fetched: once the program kept it, its length and the plain file and tempo map the
  // synthesiser plays it by (the program's SMF reader's); and where it stands on the program's
  // clock: the milliseconds played before `since` (performance.now() when it last began playing,
  // null while it is held).
  const pieces = new Map();
  let nextPiece = 1, owner = 0;
  let context = null, node = null, prepared = null;
  // Whether the browser has let the page's audio run yet, or the visitor has touched the page:
  // from then on the audio runs whenever asked.
  let allowed = false, touched = false;
  const positionAsked = [];
  const test = { starts: 0, seeks: [], tick: 0 };

  // Makes the audio context and the synthesiser and hands it the soundfont: true when it is ready,
  // false (and one warning in the console) when something is missing. Asked once.
  async function prepare() {
    try {
      if (typeof AudioWorkletNode !== 'function')
        throw new Error('the browser offers no AudioWorklet here (it needs https or localhost)');
      if (typeof DecompressionStream !== 'function')
        throw new Error('the browser cannot inflate the soundfont (no DecompressionStream)');
      context = new AudioContext();
      context.addEventListener('statechange', woken);
      const [soundfont, synth] = await Promise.all([fetchSoundfont(), fetchSynth(), addModules()]);
      node = new AudioWorkletNode(context, 'ombrevale-music', {
        numberOfInputs: 0, outputChannelCount: [2], processorOptions: { synth },
      });
      node.connect(context.destination);
      const answered = new Promise((resolve) => {
        node.port.onmessage = (e) => {
          if ('soundfont' in e.data) resolve(e.data);
          else if ('ended' in e.data) ended(e.data.ended);
          else if ('position' in e.data) positionAsked.shift()?.(e.data);
        };
      });
      node.port.postMessage({ soundfont }, [soundfont]);
      const answer = await answered;
      if (answer.error) throw new Error(`the synthesiser cannot start (${answer.error})`);
      if (!answer.soundfont) throw new Error(`${kSoundfont} is no soundfont the synthesiser reads`);
      await context.suspend();  // until a piece plays
      return true;
    } catch (e) {
      console.warn(`ombrevale: no music: ${e.message}`);
      if (context) {
        context.removeEventListener('statechange', woken);
        context.close().catch(() => {});
      }
      context = node = null;
      return false;
    }
  }

  // The site's file at `path`, answered whole, or an error that says why it cannot be had.
  async function fetchWhole(path) {
    let response;
    try {
      response = await fetch(path);
    } catch (e) {
      throw new Error(`${path} cannot be fetched (${e.message})`);
    }
    if (!response.ok) throw new Error(`${path} cannot be fetched (${response.status})`);
    return response;
  }

  async function fetchSoundfont() {
    const response = await fetchWhole(kSoundfont);
    try {
      return await new Response(response.body.pipeThrough(new DecompressionStream('gzip')))
        .arrayBuffer();
    } catch (e) {
      throw new Error(`${kSoundfont} is not a gzip stream (${e.message})`);
    }
  }

  // FluidSynth's WebAssembly, which the audio thread cannot fetch itself.
  async function fetchSynth() {
    return (await fetchWhole(kSynth)).arrayBuffer();
  }

  async function addModules() {
    for (const module of kModules) await context.audioWorklet.addModule(module);
  }

  // The browser lets the page sound once the visitor has touched it (or at once, where it is set
  // so); the first time the audio runs, a piece that was held back sounds from where the program's
  // clock has it.
  const mayRun = () => allowed || touched || Boolean(navigator.userActivation?.hasBeenActive);
  function woken(event) {
    if (event.target.state !== 'running' || allowed) return;
    allowed = true;
    const piece = pieces.get(owner);
    if (!piece || !piece.heldBack || piece.ended) return;
    const seek = clockOf(piece);
    test.seeks.push(seek);
    node.port.postMessage({ seek });
  }
  function wake() {
    touched = true;
    if (context && owner) context.resume().catch(() => {});
  }
  addEventListener('pointerdown', wake, true);
  addEventListener('keydown', wake, true);

  const clockOf = (piece) =>
    piece.playedMs + (piece.since === null ? 0 : performance.now() - piece.since);

  // The program's start numbered `number` has played and rung out: the program hears it between
  // its passes.
  function ended(number) {
    const piece = pieces.get(owner);
    if (!piece || piece.serial !== number) return;
    piece.ended = true;
    context.suspend().catch(() => {});
    tellEnded(number);
  }
  const tellEnded = (number) =>
    OmbrevalePage.callProgram(OMBREVALE_NAMES.call.musicEnded, null, ['number'], [number]);

  // The audio thread runs only while a piece is on the output.
  function idle() {
    owner = 0;
    if (context && context.state === 'running') context.suspend().catch(() => {});
  }

  return {
    // Fetches a piece beside the page: { status: 0, piece, bytes } or { status: kFileMissing }.
    async fetchPiece(path) {
      try {
        const response = await fetch(path);
        if (!response.ok) return { status: kFileMissing };
        const bytes = new Uint8Array(await response.arrayBuffer());
        const piece = nextPiece++;
        pieces.set(piece, { path, bytes: null, tempo: null, lengthMs: -1, playedMs: 0, since: null,
                            ended: true });
        return { status: 0, piece, bytes };
      } catch (e) {
        return { status: kFileMissing };
      }
    },
    ready: () => (prepared = prepared || prepare()),
    // The program read the piece and keeps it: its length, the plain file the synthesiser plays and
    // the tempo map it seeks by, all the SMF reader's.
    keep(piece, lengthMs, bytes, tempo) {
      Object.assign(pieces.get(piece), { lengthMs, bytes, tempo });
    },
    // Plays a piece from its start, cutting the one that sounds; `number` is the program's for
    // this start, said back when it has rung out (at once when there is nothing to play).
    start(piece, number) {
      const p = pieces.get(piece);
      if (!p || !p.bytes || !node) {
        tellEnded(number);
        return false;
      }
      Object.assign(p, { playedMs: 0, since: performance.now(), ended: false, serial: number,
                         heldBack: !mayRun() });
      owner = piece;
      ++test.starts;
      node.port.postMessage({ start: p.serial, piece: p.bytes, tempo: p.tempo });
      context.resume().catch(() => {});
      return true;
    },
    pause(piece) {
      const p = pieces.get(piece);
      if (owner !== piece || p.since === null) return;
      p.playedMs = clockOf(p);
      p.since = null;
      node.port.postMessage({ pause: true });
    },
    // Continues a held piece; false when another piece took the output or this one has rung out.
    resume(piece) {
      const p = pieces.get(piece);
      if (owner !== piece || p.ended) return false;
      if (p.since === null) {
        p.since = performance.now();
        node.port.postMessage({ resume: true });
      }
      return true;
    },
    halt(piece) {
      if (owner !== piece) return;
      node.port.postMessage({ halt: true });
      idle();
    },
    free(piece) {
      if (owner === piece) this.halt(piece);
      pieces.delete(piece);
    },

    // For the console and tests: the pieces the program holds, the output (to listen to), and the
    // milliseconds of the sounding piece the synthesiser has rendered (its player's tick then in
    // test.tick).
    held: () => [...pieces.values()].filter((p) => p.lengthMs >= 0)
      .map(({ path, lengthMs }) => ({ path, lengthMs })),
    get output() { return node; },
    position() {
      if (!node) return Promise.resolve(0);
      return new Promise((resolve) => {
        positionAsked.push(({ position, tick }) => {
          test.tick = tick;
          resolve(position);
        });
        node.port.postMessage({ position: true });
      });
    },
    test,
  };
})();

// The console's commands enter the program between the loop's passes, and wait while the version
// box is open (OmbrevalePage.callProgram). A command and the reading of its reply take their turn
// together, one command after the other.
(() => {
  let turn = Promise.resolve();
  function inTurn(body) {
    const result = turn.then(body);
    turn = result.catch(() => {});
    return result;
  }
  const call = OmbrevalePage.callProgram;
  const { mci, mciReply, playMusic } = OMBREVALE_NAMES.call;
  const notRunning = () => new Error('the program is not running');

  // Sends one text command to the music channel: resolves to { status, reply }.
  OmbrevalePage.mci = (command) => inTurn(async () => {
    const status = await call(mci, 'number', ['string'], [String(command)]);
    if (status === null || status < 0) throw notRunning();
    return { status, reply: await call(mciReply, 'string', [], []) };
  });
  // Starts a piece as the game does (SoundAPI::PlayMusic): resolves to the status.
  OmbrevalePage.playMusic = (path, loop) => inTurn(async () => {
    const status = await call(playMusic, 'number', ['string', 'number'],
                              [String(path), loop ? 1 : 0]);
    if (status === null || status < 0) throw notRunning();
    return status;
  });
})();
