// Takes the synthesiser's WebAssembly out of the script npm ships it in, where it sits as a base64
// text: the page then fetches it as a binary file, a quarter smaller compressed (148 KB where the text
// took 192 of the script's 218), and the audio thread skips decoding the text. Run by the web build:
//
//   node split-synth.mjs SINGLE-FILE-SCRIPT OUT-SCRIPT OUT-WASM
//
// The script left keeps the name of the WebAssembly file where the text was; it never fetches it
// itself (an audio thread cannot): music-synth-loader.js hands its runtime the WebAssembly, through
// the runtime's settings object, which the script, loaded as a module, would otherwise never see
// (its own `var Module` hides the scope's): its first statement is made to take the scope's.
import fs from 'node:fs';
import path from 'node:path';

const [from, toScript, toWasm] = process.argv.slice(2);
if (!toWasm) {
  console.error('usage: node split-synth.mjs SINGLE-FILE-SCRIPT OUT-SCRIPT OUT-WASM');
  process.exit(2);
}
const script = fs.readFileSync(from, 'utf8');
const embedded = /"data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)"/g;
const found = [...script.matchAll(embedded)];
if (found.length !== 1) {
  console.error(`split-synth: ${from}: expected one embedded WebAssembly, found ${found.length}`);
  process.exit(1);
}
const wasm = Buffer.from(found[0][1], 'base64');
if (wasm.length < 8 || wasm.readUInt32BE(0) !== 0x0061736d) {
  console.error(`split-synth: ${from}: what is embedded is no WebAssembly`);
  process.exit(1);
}
const settings = 'var Module=typeof Module!="undefined"?Module:{};';
if (!script.startsWith(settings)) {
  console.error(`split-synth: ${from}: it does not start by taking its settings as expected`);
  process.exit(1);
}
fs.writeFileSync(toWasm, wasm);
fs.writeFileSync(toScript, 'var Module=globalThis.Module||{};' +
  script.slice(settings.length).replace(found[0][0], JSON.stringify(path.basename(toWasm))));
