// Prepares the pictures before the window loads: reads the files of dat/ out of the one archive the
// site keeps them in (pictures.tar, fetched in one request) as it arrives, and hands each file to
// the program as soon as it is whole, in the archive's order. The program checks its headers
// against its limits and memory budget and decodes the uncompressed 24-bit ones itself; any other
// file that passes is decoded with the browser's own decoder, colours untouched, and its pixels
// handed to the program.

const OmbrevalePictures = {
  kPageDecodes: 1,  // what the program answers for a file it leaves to the browser

  // The entry of a tar archive whose header starts at `at`, when the header is there: its path,
  // its size, whether it is a file (not a folder), where its bytes start and where the next entry
  // does; `end` at the archive's end.
  entry(bytes, at, length) {
    if (at + 512 > length) return null;
    const text = (from, size) => {
      let end = from;
      while (end < from + size && bytes[end] !== 0) ++end;
      return String.fromCharCode(...bytes.subarray(from, end));
    };
    const name = text(at, 100);
    const size = parseInt(text(at + 124, 12).trim(), 8);
    if (name === '' || !(size >= 0)) return { end: true };
    // A POSIX archive keeps the folders of a long path apart (GNU's uses the place otherwise).
    const prefix = text(at + 257, 6) === 'ustar' ? text(at + 345, 155) : '';
    const type = bytes[at + 156];
    return { path: prefix ? `${prefix}/${name}` : name, size, file: type === 0x30 || type === 0,
             start: at + 512, next: at + 512 + Math.ceil(size / 512) * 512 };
  },

  // Reads the archive a response brings as it arrives, calling `take(path, bytes)` for each file
  // once it is whole; a file the archive was cut short in is taken as far as it goes.
  async read(response, take) {
    if (!response || !response.ok || !response.body) return;
    const reader = response.body.getReader();
    let bytes = new Uint8Array(1 << 20), length = 0, at = 0;
    for (;;) {
      let chunk;
      try {
        chunk = await reader.read();
      } catch (e) {
        break;  // what arrived is what there is
      }
      if (chunk.done) break;
      if (length + chunk.value.length > bytes.length) {
        // Files taken keep the bytes they were taken from.
        const larger = new Uint8Array(Math.max(2 * bytes.length, length + chunk.value.length));
        larger.set(bytes.subarray(0, length));
        bytes = larger;
      }
      bytes.set(chunk.value, length);
      length += chunk.value.length;
      for (let entry; (entry = this.entry(bytes, at, length)) && !entry.end &&
                      entry.start + entry.size <= length; at = entry.next) {
        if (entry.file) take(entry.path, bytes.subarray(entry.start, entry.start + entry.size));
      }
    }
    const last = this.entry(bytes, at, length);
    if (last && !last.end && last.file) take(last.path, bytes.subarray(last.start, length));
  },

  // Reads the archive `fetched` resolves to, admitting each file into the program once `runtime`
  // has resolved, while the rest arrive. No archive (it could not be fetched): no pictures, and
  // the controls stay empty.
  async prepare(fetched, runtime) {
    const waiting = [], decoding = [];
    let ready = false;
    const admit = (path, bytes) => {
      const memory = _malloc(bytes.length || 1);
      HEAPU8.set(bytes, memory);
      const admission = Module.ccall('OmbrevaleAdmitPicture', 'number',
                                     ['string', 'number', 'number'], [path, memory, bytes.length]);
      _free(memory);
      if (admission === this.kPageDecodes) decoding.push(this.decode(path, bytes));
    };
    const admitWaiting = () => {
      ready = true;
      waiting.splice(0).forEach(([path, bytes]) => admit(path, bytes));
    };
    runtime.then(admitWaiting);
    await this.read(await fetched.catch(() => null),
                    (path, bytes) => (ready ? admit(path, bytes) : waiting.push([path, bytes])));
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
      Module.ccall('OmbrevalePictureUndecodable', null, ['string', 'string'],
                   [path, 'the browser cannot decode it']);
      return;
    }
    const memory = _malloc(pixels.length || 1);
    HEAPU8.set(pixels, memory);
    Module.ccall('OmbrevalePictureDecoded', null, ['string', 'number', 'number', 'number'],
                 [path, width, height, memory]);
    _free(memory);
  },
};
