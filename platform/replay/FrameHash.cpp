#include "platform/replay/FrameHash.h"

#include <bit>

namespace ombrevale {
namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

uint64_t Round(uint64_t lane, uint64_t word) {
  return std::rotl(lane + word * kPrime2, 31) * kPrime1;
}

// Every input bit reaches every output bit (the finaliser of a well-known 64-bit mixer).
uint64_t Avalanche(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

}  // namespace

void Hash64::AddWord(uint64_t word) {
  uint64_t& lane = lanes_[words_ & 3];
  lane = Round(lane, word);
  ++words_;
}

void Hash64::AddPixels(const Pixel* pixels, size_t count) {
  size_t i = 0;
  // Four words at a time, one in each lane, so that the lanes' rounds run side by side.
  if ((words_ & 3) == 0) {
    for (; i + 8 <= count; i += 8) {
      for (int k = 0; k < 4; ++k) {
        const uint64_t word = uint64_t{pixels[i + 2 * k]} | uint64_t{pixels[i + 2 * k + 1]} << 32;
        lanes_[k] = Round(lanes_[k], word);
      }
      words_ += 4;
    }
  }
  for (; i + 2 <= count; i += 2) AddWord(uint64_t{pixels[i]} | uint64_t{pixels[i + 1]} << 32);
  if (i < count) AddWord(uint64_t{pixels[i]} | uint64_t{1} << 63);  // an odd one out, marked
}

void Hash64::AddBytes(const uint8_t* bytes, size_t count) {
  AddWord(count);
  for (size_t i = 0; i < count; i += 8) {
    uint64_t word = 0;
    for (size_t k = 0; k < 8 && i + k < count; ++k) word |= uint64_t{bytes[i + k]} << (8 * k);
    AddWord(word);
  }
}

void Hash64::AddText(std::string_view text) {
  AddBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

uint64_t Hash64::Value() const {
  uint64_t h = words_ * kPrime1;
  for (const uint64_t lane : lanes_) h = std::rotl(h ^ Avalanche(lane), 27) * kPrime1 + kPrime2;
  return Avalanche(h);
}

uint64_t HashShownFrame(const Scene& scene) {
  Hash64 hash;
  if (scene.canvas != nullptr) {
    const Surface& canvas = *scene.canvas;
    hash.AddWord(static_cast<uint64_t>(canvas.Width()) << 32 |
                 static_cast<uint32_t>(canvas.Height()));
    hash.AddPixels(canvas.Pixels().data(), canvas.Pixels().size());
  } else {
    hash.AddWord(0);  // no canvas shown
  }
  hash.AddWord(scene.labels.size());
  for (const LabelView& view : scene.labels) hash.AddText(view.label->Caption);
  hash.AddWord(scene.prompt != nullptr);
  if (scene.prompt != nullptr) hash.AddText(scene.prompt->caption);
  return hash.Value();
}

uint64_t HashPicture(const Surface& picture) {
  Hash64 hash;
  hash.AddWord(static_cast<uint64_t>(picture.Width()) << 32 |
               static_cast<uint32_t>(picture.Height()));
  hash.AddPixels(picture.Pixels().data(), picture.Pixels().size());
  return hash.Value();
}

}  // namespace ombrevale
