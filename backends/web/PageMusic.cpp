#include "backends/web/PageMusic.h"

#include <emscripten.h>

#include <cmath>
#include <cstdlib>
#include <span>

#include "platform/midi/Smf.h"

// The page's synthesiser (OmbrevaleMusic in music.js) keeps each piece it fetched under a number;
// these calls take and return plain values only.
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
EM_JS(void, PageKeepPiece, (int piece, double lengthMs), { OmbrevaleMusic.keep(piece, lengthMs); });
EM_JS(int, PageStartPiece, (int piece), { return OmbrevaleMusic.start(piece) ? 1 : 0; });
EM_JS(void, PagePausePiece, (int piece), { OmbrevaleMusic.pause(piece); });
EM_JS(int, PageResumePiece, (int piece), { return OmbrevaleMusic.resume(piece) ? 1 : 0; });
EM_JS(void, PageHaltPiece, (int piece), { OmbrevaleMusic.halt(piece); });
EM_JS(int, PagePieceSounding, (int piece), { return OmbrevaleMusic.sounding(piece) ? 1 : 0; });
EM_JS(void, PageFreePiece, (int piece), { OmbrevaleMusic.free(piece); });
// clang-format on

namespace ombrevale {

namespace {

// One piece the page's synthesiser holds. It plays one piece at a time: starting one cuts the
// others, which then answer that they no longer sound.
class PageMusicStream final : public MusicStream {
 public:
  explicit PageMusicStream(int piece) : piece_(piece) {}
  ~PageMusicStream() override { PageFreePiece(piece_); }
  PageMusicStream(const PageMusicStream&) = delete;
  PageMusicStream& operator=(const PageMusicStream&) = delete;

  bool Start() override { return PageStartPiece(piece_) != 0; }
  void Pause() override { PagePausePiece(piece_); }
  bool Resume() override { return PageResumePiece(piece_) != 0; }
  void Halt() override { PageHaltPiece(piece_); }
  bool Sounding() override { return PagePieceSounding(piece_) != 0; }

 private:
  int piece_;
};

}  // namespace

int32_t PageMusicDevice::Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
                              int64_t& lengthMs) {
  int piece = 0;
  uint8_t* bytes = nullptr;
  uint32_t size = 0;
  const int fetched = PageFetchPiece(path.c_str(), &piece, &bytes, &size);
  if (fetched != kMciSuccess) return fetched;
  const std::unique_ptr<uint8_t, decltype(&std::free)> owned(bytes, &std::free);
  const SmfInfo info =
      size <= kSmfMaxFileBytes ? ReadSmf(std::span<const uint8_t>(bytes, size)) : SmfInfo{};
  if (!info.ok) {
    PageFreePiece(piece);
    return kMciErrFileNotPlayable;
  }
  if (PageSynthesiserReady() == 0) {
    PageFreePiece(piece);
    return kMciErrNoAudioDevice;
  }
  lengthMs = static_cast<int64_t>(std::ceil(info.seconds * 1000.0));
  PageKeepPiece(piece, static_cast<double>(lengthMs));
  stream = std::make_unique<PageMusicStream>(piece);
  return kMciSuccess;
}

}  // namespace ombrevale
