// The wave channel on Web Audio: one wave at a time, fetched beside the page. A browser lets a
// page sound only after the visitor has touched it, so the audio context starts on the first
// click or key; a wave asked for before then is accepted and stays silent. Whoever set `onChange`
// hears when a wave starts and stops (the program, when it runs in a worker).
'use strict';

const OmbrevaleAudio = (() => {
  // The statuses of the wave side, the program's own (facts.js).
  const { fileMissing: kFileMissing, fileNotPlayable: kFileNotPlayable,
          noAudioDevice: kNoAudioDevice } = OMBREVALE_FACTS.mci;
  let context = null, source = null, endedWaiters = [];

  function wake() {
    if (!context && typeof AudioContext === 'function') context = new AudioContext();
    if (context && context.state === 'suspended') context.resume().catch(() => {});
  }
  addEventListener('pointerdown', wake, { once: true });
  addEventListener('keydown', wake, { once: true });

  function finished() {
    source = null;
    player.onChange(false);
    const waiters = endedWaiters;
    endedWaiters = [];
    waiters.forEach((resolve) => resolve());
  }

  const player = {
    onChange: () => {},
    async play(path, loop) {
      this.stop();
      if (typeof AudioContext !== 'function') return kNoAudioDevice;
      let bytes;
      try {
        const response = await fetch(path);
        if (!response.ok) return kFileMissing;
        bytes = await response.arrayBuffer();
      } catch (e) {
        return kFileMissing;
      }
      if (!context) return 0;  // not yet allowed to sound
      let wave;
      try {
        wave = await context.decodeAudioData(bytes);
      } catch (e) {
        return kFileNotPlayable;
      }
      source = context.createBufferSource();
      source.buffer = wave;
      source.loop = loop;
      source.connect(context.destination);
      source.addEventListener('ended', finished);
      source.start();
      player.onChange(true);
      return 0;
    },
    stop() {
      if (source) {
        source.removeEventListener('ended', finished);
        source.stop();
        finished();
      }
    },
    playing: () => source !== null,
    ended: () => (source ? new Promise((resolve) => endedWaiters.push(resolve)) : Promise.resolve()),
  };
  return player;
})();
