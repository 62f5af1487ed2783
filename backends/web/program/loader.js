// Prepares the pictures before the window loads: reads the files of dat/ out of the one archive the
// site keeps them in (pictures.tar.gz, fetched in one request and inflated here) as it arrives, and hands each file to
// the program as soon as it is whole, in the archive's order. The program checks its headers
// against its limits and memory budget and decodes the uncompressed 24-bit ones itself; any other
// file that passes is decoded with the browser's own decoder, colours untouched, and its pixels
// handed to the program.

const OmbrevalePictures = {
  kPageDecodes: 1,  // what the program answers for a file it leaves to the browser

  // The entry of a tar archive whose 512-byte header is `header`: its path, its size, whether it
  // is a file (not a folder), and how many bytes its header and its blocks take; `end` at the
  // archive's end.
  entry(header) {
    const text = (from, size) => {
      let end = from;
      while (end < from + size && header[end] !== 0) ++end;
      return String.fromCharCode(...header.subarray(from, end));
    };
    const name = text(0, 100);
    const size = parseInt(text(124, 12).trim(), 8);
    if (name === '' || !(size >= 0)) return { end: true };
    // A POSIX archive keeps the folders of a long path apart (GNU's uses the place otherwise).
    const prefix = text(257, 6) === 'ustar' ? text(345, 155) : '';
    return { path: prefix ? `${prefix}/${name}` : name, size, file: header[156] === 0x30 || header[156] === 0,
             length: 512 + Math.ceil(size / 512) * 512 };
  },

  // The archive's bytes as they arrive: the compressed one inflated as it comes (from the bytes
  // `compressed` resolves to, where the page fetched them already), or where the browser cannot
  // inflate a stream, the archive as it is. Null when it cannot be fetched.
  async archive(compressed = Promise.resolve(null)) {
    const inflates = typeof DecompressionStream === 'function';
    try {
      const bytes = inflates ? await compressed : null;
      const { pictures, picturesUncompressed } = OMBREVALE_NAMES.file;
      const response = bytes ? new Response(bytes)
        : await fetch(inflates ? pictures : picturesUncompressed);
      if (!response.ok || !response.body) return null;
      return inflates ? response.body.pipeThrough(new DecompressionStream('gzip')) : response.body;
    } catch (e) {
      return null;
    }
  },

  // Reads the archive a stream brings as it arrives, calling `take(path, size, copy)` for each
  // file once it is whole, where `copy(target)` copies its bytes into `target`; a file the archive
  // was cut short in is taken as far as it goes. The bytes are kept as they came, in pieces, until
  // taken, and copied once. The archive ends with an empty block: what may follow it (the padding
  // of its last record) is not waited for, as the end of a response can come well after its last
  // bytes.
  async read(stream, take) {
    if (!stream) return;
    const reader = stream.getReader();
    const pieces = [];  // what arrived and is not yet taken, from `at` on
    let at = 0, length = 0;
    // Copies the bytes from `from` (at `at` or after) up to `to` into `target`.
    const copy = (from, to, target) => {
      let start = at, put = 0;
      for (const piece of pieces) {
        const end = start + piece.length;
        if (end > from && start < to) {
          const part = piece.subarray(Math.max(0, from - start), Math.min(piece.length, to - start));
          target.set(part, put);
          put += part.length;
        }
        start = end;
      }
    };
    // Forgets what lies before `to`.
    const drop = (to) => {
      while (pieces.length > 0 && at + pieces[0].length <= to) at += pieces.shift().length;
      if (pieces.length > 0 && to > at) {
        pieces[0] = pieces[0].subarray(to - at);
        at = to;
      }
    };
    let next = 0, entry = null, ended = false;  // where the next header starts, and its entry
    while (!ended) {
      let chunk;
      try {
        chunk = await reader.read();
      } catch (e) {
        break;  // what arrived is what there is (a stream cut short fails to inflate)
      }
      if (chunk.done) break;
      pieces.push(chunk.value);
      length += chunk.value.length;
      while (!ended) {
        drop(Math.min(length, next));
        if (!entry) {
          if (next + 512 > length) break;
          const header = new Uint8Array(512);
          copy(next, next + 512, header);
          entry = this.entry(header);
          ended = entry.end === true;
          if (ended) break;
        }
        const start = next + 512, { path, size, file } = entry;
        if (start + size > length) break;
        if (file) take(path, size, (target) => copy(start, start + size, target));
        next += entry.length;
        entry = null;
      }
    }
    // The rest is read in the background, to its end, so that the response ends as it should.
    if (ended) (async () => { while (!(await reader.read()).done); })().catch(() => {});
    if (entry && !ended && entry.file) {
      const start = next + 512, size = Math.max(0, length - start);
      take(entry.path, size, (target) => copy(start, start + size, target));
    }
  },

  // Reads the archive `fetched` resolves to (archive()), admitting each file into the program as it arrives
  // once `runtime` has resolved (until then a file waits in a copy of its own). No archive (it
  // could not be fetched): no pictures, and the controls stay empty.
  async prepare(fetched, runtime) {
    const waiting = [], decoding = [];
    let ready = false;
    const admit = (path, size, copy) => {
      const memory = _malloc(size || 1);
      copy(HEAPU8.subarray(memory, memory + size));
      const admission = Module.ccall(OMBREVALE_NAMES.call.admitPicture, 'number',
                                     ['string', 'number', 'number'], [path, memory, size]);
      if (admission === this.kPageDecodes) decoding.push(this.decode(path, HEAPU8.slice(memory, memory + size)));
      _free(memory);
    };
    const admitWaiting = () => {
      ready = true;
      waiting.splice(0).forEach(([path, bytes]) => admit(path, bytes.length, (target) => target.set(bytes)));
    };
    runtime.then(admitWaiting);
    await this.read(await fetched.catch(() => null), (path, size, copy) => {
      if (ready) {
        admit(path, size, copy);
      } else {
        const bytes = new Uint8Array(size);
        copy(bytes);
        waiting.push([path, bytes]);
      }
    });
    await runtime;
    if (!ready) admitWaiting();
    await Promise.all(decoding);
  },

  async decode(path, bytes) {
    let pixels, width, height;
    try {
      const picture = await createImageBitmap(new Blob([bytes], { type: 'image/bmp' }),
        { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
      width = picture.width;
      height = picture.height;
      const surface = typeof OffscreenCanvas === 'function' ? new OffscreenCanvas(width, height)
        : Object.assign(document.createElement('canvas'), { width, height });
      const context = surface.getContext('2d', { willReadFrequently: true });
      context.drawImage(picture, 0, 0);
      picture.close();
      pixels = context.getImageData(0, 0, width, height).data;
    } catch (e) {
      Module.ccall(OMBREVALE_NAMES.call.pictureUndecodable, null, ['string', 'string'],
                   [path, 'the browser cannot decode it']);
      return;
    }
    const memory = _malloc(pixels.length || 1);
    HEAPU8.set(pixels, memory);
    Module.ccall(OMBREVALE_NAMES.call.pictureDecoded, null,
                 ['string', 'number', 'number', 'number'],
                 [path, width, height, memory]);
    _free(memory);
  },
};
