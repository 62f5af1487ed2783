// Prepares the pictures before the window loads: fetches every file of dat/ at once, has the
// program check each file's headers against its limits and memory budget, decodes the files that
// pass with the browser's own decoder, colours untouched, and hands the program their pixels;
// then starts the program.
'use strict';

var Module = {
  // Fetching starts with the page, while the program itself is still arriving.
  fetched: OMBREVALE_PICTURES.map((path) =>
    fetch(path).then((r) => (r.ok ? r.arrayBuffer() : null)).catch(() => null)),

  async preparePictures() {
    // Headers are checked in the order of the list, so that the budget refuses the same file on
    // every visit; each file admitted is decoded at once, while the next ones are checked.
    const decoding = [];
    for (let i = 0; i < OMBREVALE_PICTURES.length; ++i) {
      const path = OMBREVALE_PICTURES[i];
      const bytes = await this.fetched[i];
      if (!bytes) continue;  // not there: its control stays empty
      const memory = _malloc(bytes.byteLength || 1);
      HEAPU8.set(new Uint8Array(bytes), memory);
      const refusal = Module.ccall('OmbrevaleAdmitPicture', 'string', ['string', 'number', 'number'],
                                   [path, memory, bytes.byteLength]);
      _free(memory);
      if (!refusal) decoding.push(this.decode(path, bytes));
    }
    await Promise.all(decoding);
  },

  async decode(path, bytes) {
    let pixels, width, height;
    try {
      const picture = await createImageBitmap(new Blob([bytes], { type: 'image/bmp' }),
        { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
      width = picture.width;
      height = picture.height;
      const surface = new OffscreenCanvas(width, height).getContext('2d', { willReadFrequently: true });
      surface.drawImage(picture, 0, 0);
      picture.close();
      pixels = surface.getImageData(0, 0, width, height).data;
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

  onRuntimeInitialized() {
    this.preparePictures().then(() => Module.callMain([]));
  },
};
