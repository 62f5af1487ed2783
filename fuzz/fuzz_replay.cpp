// Feeds arbitrary bytes to the replay reader, and what it takes to the whole program playing it
// headless. The bytes go in twice: as they are, which the checksum mostly stops, and sealed with
// a true length and checksum around them, so that every item and every order reaches the checks
// and the player. Besides crashes, sanitizer reports and hangs, a fault is a refusal without a
// sentence, or a replay read that does not play to an end.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "app/ReplayRun.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"
#include "platform/replay/FrameHash.h"
#include "platform/replay/ReplayBytes.h"
#include "platform/replay/ReplayReader.h"

namespace {

using namespace ombrevale;

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "fuzz_replay: %s\n", what);
  std::abort();
}

// The bytes as a replay's header, items and end (a whole replay's are taken from inside it), with
// the signature, the format, the length and the checksum around them.
std::vector<uint8_t> Sealed(std::span<const uint8_t> data) {
  constexpr size_t kHead = sizeof replay_bytes::kSignature + 1 + 4;
  if (data.size() >= kHead + 8 && data[0] == replay_bytes::kSignature[0])
    data = data.subspan(kHead, data.size() - kHead - 8);
  std::vector<uint8_t> out(std::begin(replay_bytes::kSignature),
                           std::end(replay_bytes::kSignature));
  out.push_back(static_cast<uint8_t>(kReplayFormat));
  const auto length = static_cast<uint32_t>(kHead + data.size() + 8);
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(length >> (8 * k)));
  out.insert(out.end(), data.begin(), data.end());
  Hash64 sum;
  sum.AddBytes(out.data(), out.size());
  for (int k = 0; k < 8; ++k) out.push_back(static_cast<uint8_t>(sum.Value() >> (8 * k)));
  return out;
}

void ReadAndPlay(std::span<const uint8_t> bytes) {
  Replay replay;
  try {
    replay = ReadReplay(bytes);
  } catch (const ReplayError& e) {
    if (e.what()[0] == '\0') Fault("a refusal without a sentence");
    return;
  }
  RecordingMedia media;
  MemoryPictureReader pictures;  // none: the canvas stays black, the label still changes
  const ReplayResult result = PlayReplay(replay, media, pictures, {});
  if (result.framesShown > replay.frames) Fault("more frames shown than the replay holds");
  if (result.framesChecked > result.framesShown) Fault("more frames checked than shown");
  if (!result.divergence && result.framesShown != replay.frames)
    Fault("a replay that played as recorded but not to its end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  ReadAndPlay(bytes);
  ReadAndPlay(Sealed(bytes));
  return 0;
}
