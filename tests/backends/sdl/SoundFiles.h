#pragma once
// Tiny sound files written by the tests of the real mixer: a one-note MIDI piece and a tone.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

namespace ombrevale {

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Format 0, 480 ticks a quarter at 120 beats a minute: piano, middle C for 480 ticks, then the
// end of the track at once.
inline std::vector<uint8_t> OneNoteMidi() {
  const std::vector<uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000
                                      0x00, 0xC0, 0x00,                          // piano
                                      0x00, 0x90, 60,   100,                     // note on
                                      0x83, 0x60, 0x80, 60,   64,                // 480: note off
                                      0x00, 0xFF, 0x2F, 0x00};
  std::vector<uint8_t> file = {
      'M', 'T',  'h',  'd', 0,   0,   0,   6, 0, 0, 0,
      1,   0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(track.size())};
  for (uint8_t b : track) file.push_back(b);
  return file;
}

// A 16-bit mono wave of a 440 Hz tone.
inline std::vector<uint8_t> ToneWave(int ms) {
  const uint32_t rate = 22050;
  const uint32_t frames = rate * static_cast<uint32_t>(ms) / 1000;
  const uint32_t dataBytes = frames * 2;
  std::vector<uint8_t> w;
  const auto put = [&w](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const auto tag = [&w](const char* t) { w.insert(w.end(), t, t + 4); };
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(rate, 4);
  put(rate * 2, 4);
  put(2, 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (uint32_t i = 0; i < frames; ++i) {
    const auto s = static_cast<int16_t>(8000 * std::sin(2 * std::numbers::pi * 440 * i / rate));
    put(static_cast<uint16_t>(s), 2);
  }
  return w;
}

// A scratch folder of its own for one test, holding the one-note piece and a 300 ms tone; removed
// with everything put in it when the test ends.
struct SoundFolder {
  explicit SoundFolder(const std::string& name)
      : dir(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))),
        piece((dir / "one note.mid").string()),
        wave((dir / "tone.wav").string()) {
    std::filesystem::create_directories(dir);
    WriteFile(piece, OneNoteMidi());
    WriteFile(wave, ToneWave(300));
  }
  ~SoundFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  SoundFolder(const SoundFolder&) = delete;
  SoundFolder& operator=(const SoundFolder&) = delete;

  const std::filesystem::path dir;
  const std::string piece, wave;
};

}  // namespace ombrevale
