#include "backends/web/PageMusic.h"

#include <emscripten.h>

#include <cmath>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/midi/PlainSmf.h"
#include "platform/midi/Smf.h"

// The page's synthesiser (OmbrevaleMusic in music.js) keeps each piece it fetched under a number;
// these calls take and return plain values only. From a worker every call is a message to the page
// (program.js): the device awaits what it must know (the piece's bytes, whether the synthesiser is
// ready) and lets the rest go.
// clang-format off
EM_ASYNC_JS(int, PageFetchPiece, (const char* path, int* piece, uint8_t** bytes, uint32_t* size), {
  const fetched = await OmbrevaleMusic.fetchPiece(UTF8ToString(path));
  if (fetched.status !== 0) return fetched.status;
  const memory = _malloc(fetched.bytes.length || 1);
  HEAPU8.set(fetched.bytes, memory);
  HEAP32[piece >> 2] = fetched.piece;
  HEAPU32[bytes >> 2] = memory;
  HEAPU32[size >> 2] = fetched.bytes.length;
  return 0;
});
EM_ASYNC_JS(int, PageSynthesiserReady, (), { return (await OmbrevaleMusic.ready()) ? 1 : 0; });
// The piece as the synthesiser plays it: its length, the plain file the reader wrote, and its tempo
// map, `spans` stretches of three numbers each (TempoSpan).
EM_JS(void, PageKeepPiece, (int piece, double lengthMs, const uint8_t* bytes, uint32_t size,
                            const double* tempo, int spans), {
  const numbers = HEAPF64.subarray(tempo >> 3, (tempo >> 3) + spans * 3);
  const map = [];
  for (let i = 0; i < numbers.length; i += 3)
    map.push({ ms: numbers[i], tick: numbers[i + 1], ticksPerMs: numbers[i + 2] });
  OmbrevaleMusic.keep(piece, lengthMs, HEAPU8.slice(bytes, bytes + size), map);
});
EM_JS(void, PageStartPiece, (int piece, uint32_t start), { OmbrevaleMusic.start(piece, start); });
EM_JS(void, PagePausePiece, (int piece), { OmbrevaleMusic.pause(piece); });
EM_JS(void, PageResumePiece, (int piece), { OmbrevaleMusic.resume(piece); });
EM_JS(void, PageHaltPiece, (int piece), { OmbrevaleMusic.halt(piece); });
EM_JS(void, PageFreePiece, (int piece), { OmbrevaleMusic.free(piece); });
// clang-format on

namespace ombrevale {

namespace {

// The device the page's word about the end of a piece goes to.
PageMusicDevice* listening = nullptr;

// One piece the page's synthesiser holds. It plays one piece at a time: starting one cuts the
// others, which then answer that they no longer sound.
class PageMusicStream final : public MusicStream {
 public:
  PageMusicStream(PageMusicDevice& device, int piece) : device_(device), piece_(piece) {}
  ~PageMusicStream() override {
    device_.Release(piece_);
    PageFreePiece(piece_);
  }
  PageMusicStream(const PageMusicStream&) = delete;
  PageMusicStream& operator=(const PageMusicStream&) = delete;

  bool Start() override {
    device_.Start(piece_);
    return true;
  }
  void Pause() override {
    if (device_.Owns(piece_)) PagePausePiece(piece_);
  }
  bool Resume() override {
    if (!device_.Sounding(piece_)) return false;
    PageResumePiece(piece_);
    return true;
  }
  void Halt() override {
    if (!device_.Owns(piece_)) return;
    device_.Release(piece_);
    PageHaltPiece(piece_);
  }
  bool Sounding() override { return device_.Sounding(piece_); }

 private:
  PageMusicDevice& device_;
  int piece_;
};

}  // namespace

PageMusicDevice::PageMusicDevice() {
  listening = this;
}

PageMusicDevice::~PageMusicDevice() {
  if (listening == this) listening = nullptr;
}

void PageMusicDevice::Start(int piece) {
  owner_ = piece;
  ended_ = false;
  PageStartPiece(piece, ++start_);
}

void PageMusicDevice::Release(int piece) {
  if (owner_ == piece) owner_ = 0;
}

void PageMusicDevice::Ended(uint32_t start) {
  if (start == start_) ended_ = true;
}

void PageMusicDevice::Keep(int piece, int64_t lengthMs, const PlainSmf& plain) {
  std::vector<double> tempo;
  const std::vector<TempoSpan> spans = plain.info.tempo.Spans();
  tempo.reserve(spans.size() * 3);
  for (const TempoSpan& span : spans)
    tempo.insert(tempo.end(), {span.ms, static_cast<double>(span.tick), span.ticksPerMs});
  PageKeepPiece(piece, static_cast<double>(lengthMs), plain.bytes.data(),
                static_cast<uint32_t>(plain.bytes.size()), tempo.data(),
                static_cast<int>(spans.size()));
}

int32_t PageMusicDevice::Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
                              int64_t& lengthMs) {
  int piece = 0;
  uint8_t* bytes = nullptr;
  uint32_t size = 0;
  const int fetched = PageFetchPiece(path.c_str(), &piece, &bytes, &size);
  if (fetched != kMciSuccess) return fetched;
  const std::unique_ptr<uint8_t, decltype(&std::free)> owned(bytes, &std::free);
  const PlainSmf plain = WritePlainSmf(std::span<const uint8_t>(bytes, size));
  if (!plain.info.ok) {
    PageFreePiece(piece);
    return kMciErrFileNotPlayable;
  }
  if (PageSynthesiserReady() == 0) {
    PageFreePiece(piece);
    return kMciErrNoAudioDevice;
  }
  lengthMs = static_cast<int64_t>(std::ceil(plain.info.seconds * 1000.0));
  Keep(piece, lengthMs, plain);
  stream = std::make_unique<PageMusicStream>(*this, piece);
  return kMciSuccess;
}

}  // namespace ombrevale

extern "C" {

// The page says, between passes, that the piece it started under the number `start` has played
// and rung out.
EMSCRIPTEN_KEEPALIVE void OmbrevaleMusicEnded(uint32_t start) {
  if (ombrevale::listening != nullptr) ombrevale::listening->Ended(start);
}

}  // extern "C"
