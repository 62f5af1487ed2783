// Loaded into the audio thread's scope just before the synthesiser's runtime
// (music/libfluidsynth-2.4.6.js), it makes that runtime wait for its WebAssembly instead of looking
// for it: an audio thread cannot fetch, so the page fetches the WebAssembly itself and hands it to
// the music processor as it makes it, which starts the runtime with `startSynth` (music-worklet.js).
globalThis.Module = {
  instantiateWasm(imports, receive) {
    globalThis.startSynth = (bytes) => WebAssembly.instantiate(bytes, imports)
      .then(({ instance, module }) => receive(instance, module));
    return {};  // the runtime's exports come with `receive`
  },
};
