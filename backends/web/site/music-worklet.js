// The music channel's synthesiser, on the audio thread: FluidSynth, compiled to WebAssembly and
// loaded into this scope just before this module (music/libfluidsynth-2.4.6.js), plays one piece at
// a time with the General MIDI soundfont the page hands it, through FluidSynth's own C interface.
// The page hands the processor FluidSynth's WebAssembly as it makes it (processorOptions.synth),
// which starts the runtime (music-synth-loader.js).
//
// The page speaks to it in small messages: { soundfont } (answered { soundfont: true | false },
// with an `error` where FluidSynth could not start), { start, piece, tempo } (the page's number for
// the piece, the plain file's bytes and its tempo map, both the program's), { seek } (milliseconds
// into the piece), { pause }, { resume }, { halt }, { position } (answered { position, tick }: the
// milliseconds of the piece rendered so far, and the player's tick). It says { ended: number } once
// the piece has played and rung out, and renders nothing while no piece sounds.

const fluid = AudioWorkletGlobalScope.wasmModule;
const kPlayerDone = 3;  // FLUID_PLAYER_DONE
const kQuantum = 128;   // frames in each call of process()

// The tick the player must seek to `ms` milliseconds into a piece, by the piece's tempo map as
// the program's SMF reader gives it: stretches of the map, each from a time on, at a pace of ticks
// a millisecond.
function tickInto(tempo, ms) {
  let span = tempo[0];
  for (const next of tempo) {
    if (next.ms > ms) break;
    span = next;
  }
  return span ? Math.floor(span.tick + (ms - span.ms) * span.ticksPerMs) : 0;
}

class MusicProcessor extends AudioWorkletProcessor {
  constructor(options) {
    super();
    this.synth = 0;
    this.player = 0;
    this.tempo = null;      // the tempo map of the piece that plays
    this.serial = 0;        // the page's number for it
    this.paused = false;
    this.sounding = false;  // the piece plays or rings
    this.renderedMs = 0;    // how far into the piece the output is
    this.buffer = 0;        // two channels of kQuantum floats in FluidSynth's memory
    const ready = runtime(options.processorOptions?.synth);
    this.port.onmessage = (e) => ready.then(() => this.take(e.data), (error) => {
      if ('soundfont' in e.data) this.port.postMessage({ soundfont: false, error: String(error) });
    });
  }

  take(m) {
    if ('soundfont' in m) this.port.postMessage({ soundfont: this.load(m.soundfont) });
    else if ('start' in m) this.start(m.start, m.piece, m.tempo);
    else if ('seek' in m) this.seek(m.seek);
    else if ('pause' in m) this.paused = true;
    else if ('resume' in m) this.paused = false;
    else if ('halt' in m) this.halt();
    else if ('position' in m) {
      const tick = this.player ? fluid._fluid_player_get_current_tick(this.player) : 0;
      this.port.postMessage({ position: this.renderedMs, tick });
    }
  }

  // Makes the synthesiser and loads the soundfont into it. False when FluidSynth refuses the file.
  load(soundfont) {
    const settings = fluid._new_fluid_settings();
    fluid.ccall('fluid_settings_setnum', 'number', ['number', 'string', 'number'],
                [settings, 'synth.sample-rate', sampleRate]);
    this.synth = fluid._new_fluid_synth(settings);
    // As the desktop's mixer sets it: FluidSynth's own 0.2 made 1.
    fluid._fluid_synth_set_gain(this.synth, 1.0);
    fluid.FS.writeFile('/soundfont.sf2', new Uint8Array(soundfont));
    const id = fluid.ccall('fluid_synth_sfload', 'number', ['number', 'string', 'number'],
                           [this.synth, '/soundfont.sf2', 1]);
    fluid.FS.unlink('/soundfont.sf2');
    this.buffer = fluid._malloc(kQuantum * 4 * 2);
    return id >= 0;
  }

  start(serial, piece, tempo) {
    this.halt();
    fluid._fluid_synth_system_reset(this.synth);
    this.player = fluid._new_fluid_player(this.synth);
    const memory = fluid._malloc(piece.byteLength);
    fluid.HEAPU8.set(new Uint8Array(piece), memory);
    fluid._fluid_player_add_mem(this.player, memory, piece.byteLength);
    fluid._free(memory);
    fluid._fluid_player_play(this.player);
    this.tempo = tempo;
    this.serial = serial;
    this.paused = false;
    this.sounding = true;
    this.renderedMs = 0;
  }

  seek(ms) {
    if (!this.player) return;
    fluid._fluid_player_seek(this.player, tickInto(this.tempo, ms));
    this.renderedMs = ms;
  }

  halt() {
    if (!this.player) return;
    fluid._fluid_player_stop(this.player);
    fluid._delete_fluid_player(this.player);
    fluid._fluid_synth_all_sounds_off(this.synth, -1);
    this.player = 0;
    this.tempo = null;
    this.sounding = false;
  }

  process(inputs, outputs) {
    if (!this.sounding || this.paused) return true;
    const [left, right] = outputs[0];
    fluid._fluid_synth_write_float(this.synth, kQuantum, this.buffer, 0, 1,
                                   this.buffer + kQuantum * 4, 0, 1);
    const samples = this.buffer >> 2;
    left.set(fluid.HEAPF32.subarray(samples, samples + kQuantum));
    if (right) right.set(fluid.HEAPF32.subarray(samples + kQuantum, samples + 2 * kQuantum));
    this.renderedMs += (kQuantum * 1000) / sampleRate;
    // Rung out: FluidSynth's player calls itself done a while after the last event, once what rang
    // on has faded; the last voice must be silent too.
    if (fluid._fluid_player_get_status(this.player) === kPlayerDone &&
        fluid._fluid_synth_get_active_voice_count(this.synth) === 0) {
      this.halt();
      this.port.postMessage({ ended: this.serial });
    }
    return true;
  }
}

// FluidSynth's runtime, started once from the WebAssembly the first processor was handed: settled
// when it is up, or refused when the WebAssembly is missing or broken. FluidSynth's own complaints
// would reach the page's console: the page says what it needs itself.
let started = null;
function runtime(synth) {
  started ??= (async () => {
    if (!(synth instanceof ArrayBuffer)) throw new Error('the synthesiser\'s WebAssembly is missing');
    if (!fluid.calledRun) {
      const up = new Promise((resolve) => AudioWorkletGlobalScope.addOnPostRun(resolve));
      await globalThis.startSynth(synth);
      await up;
    }
    for (let level = 0; level < 5; ++level) fluid._fluid_set_log_function(level, 0, 0);
  })();
  return started;
}
registerProcessor('ombrevale-music', MusicProcessor);
