#include "platform/replay/ReplayReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/calendar/FixedStart.h"
#include "platform/replay/FrameHash.h"
#include "platform/replay/ReplayBytes.h"

namespace ombrevale {
namespace {

using namespace replay_bytes;
using K = ReplayItem::Kind;

constexpr const char* kCutShort = "is cut short";

std::string At(size_t offset) {
  return " at byte " + std::to_string(offset);
}

}  // namespace

uint8_t ReplayByteReader::Byte() {
  if (pos_ >= bytes_.size()) throw ReplayError(kCutShort);
  return bytes_[pos_++];
}

uint64_t ReplayByteReader::Varint(uint64_t max) {
  const size_t start = pos_;
  uint64_t value = 0;
  for (int shift = 0;; shift += 7) {
    const uint8_t b = Byte();
    if (shift == 63 && b > 1) throw ReplayError("holds a number too large" + At(start));
    value |= uint64_t{b & 0x7Fu} << shift;
    if ((b & 0x80) == 0) break;
  }
  if (value > max) throw ReplayError("holds a number past its limit" + At(start));
  return value;
}

int64_t ReplayByteReader::SignedVarint(uint64_t maxFolded) {
  const uint64_t folded = Varint(maxFolded);
  return static_cast<int64_t>(folded >> 1) ^ -static_cast<int64_t>(folded & 1);
}

std::string ReplayByteReader::Text(size_t max) {
  const size_t start = pos_;
  const auto size = static_cast<size_t>(Varint(max));
  if (bytes_.size() - pos_ < size) throw ReplayError(kCutShort);
  std::string text(reinterpret_cast<const char*>(bytes_.data() + pos_), size);
  pos_ += size;
  // The texts are the program's own: none holds a control character.
  const auto control = [](char c) { return static_cast<uint8_t>(c) < 0x20 || c == 0x7F; };
  if (std::any_of(text.begin(), text.end(), control))
    throw ReplayError("holds a text with control characters" + At(start));
  return text;
}

uint64_t ReplayByteReader::Fixed64() {
  if (bytes_.size() - pos_ < 8) throw ReplayError(kCutShort);
  uint64_t value = 0;
  for (int k = 0; k < 8; ++k) value |= uint64_t{bytes_[pos_ + k]} << (8 * k);
  pos_ += 8;
  return value;
}

ReplayItem ReplayCursor::DecodeOne(uint8_t tag) {
  const size_t at = in_.Offset() - 1;
  ReplayItem item;
  switch (tag) {
    case kPass:
      item.kind = K::Pass;
      break;
    case kReading:
      item.kind = K::Reading;
      reading_ += static_cast<uint32_t>(in_.Varint(UINT32_MAX));
      item.value = reading_;
      break;
    case kFrame:
    case kFrameUnchecked:
      item.kind = K::Frame;
      if (tag == kFrame) item.hash = in_.Fixed64();
      break;
    case kText:
      item.kind = K::Text;
      item.text = in_.Text(kMaxTextBytes);
      text_ = item.text;
      break;
    case kTextNextSecond: {
      item.kind = K::Text;
      const auto t = ReadDateTime(text_);
      if (!t) throw ReplayError("holds a next second after no date" + At(at));
      item.text = text_ = FormatDateTime(AfterMilliseconds(*t, 1000));
      break;
    }
    case kScale: {
      item.kind = K::Scale;
      const uint64_t bits = in_.Fixed64();
      std::memcpy(&item.scale, &bits, sizeof bits);  // the IEEE double's bits
      if (!std::isfinite(item.scale) || item.scale <= 0 || item.scale > kMaxScale)
        throw ReplayError("holds a scale out of range" + At(at));
      break;
    }
    case kSeed:
      item.kind = K::Seed;
      item.value = static_cast<uint32_t>(in_.Varint(UINT32_MAX));
      break;
    case kKey:
      item.kind = K::Key;
      item.keyCode = static_cast<int16_t>(in_.SignedVarint(0xFFFF));
      item.shift = static_cast<int16_t>(in_.Varint(7));
      break;
    case kMenu:
      item.kind = K::Menu;
      item.value = static_cast<uint32_t>(in_.Varint(kMaxMenuEntry));
      break;
    case kPrompt:
      item.kind = K::Prompt;
      break;
    case kClose:
      item.kind = K::Close;
      break;
    case kBox:
      item.kind = K::Box;
      item.value = static_cast<uint32_t>(in_.Varint(UINT32_MAX));
      break;
    case kShape:
      item.kind = K::Shape;
      item.width = static_cast<uint16_t>(in_.Varint(0xFFFF));
      item.height = static_cast<uint16_t>(in_.Varint(0xFFFF));
      item.fullscreen = in_.Varint(1) != 0;
      break;
    case kKeep:
      item.kind = K::Keep;
      item.held = in_.Varint(1) == 0 ? ReplayHeld::Text : ReplayHeld::Scale;
      item.value = static_cast<uint32_t>(in_.Varint(kMaxKeep));
      if (item.value == 0) throw ReplayError("holds a count of none" + At(at));
      break;
    default:
      throw ReplayError("holds an unknown entry" + At(at));
  }
  return item;
}

void ReplayCursor::Decode(uint8_t tag) {
  if (tag >= kPass) {
    ready_.push_back(DecodeOne(tag));
    return;
  }
  // A pass, its first reading, and maybe its frame, in one tag.
  ready_.push_back(Item(K::Pass));
  reading_ += tag % kSmallStep;
  ready_.push_back(Item(K::Reading, reading_));
  if (tag >= kPassReadingFrame) ready_.push_back(FrameItem(in_.Fixed64()));
}

bool ReplayCursor::Next(ReplayItem& item) {
  if (ready_.empty()) {
    if (in_.AtEnd() || in_.Peek() == kEnd) return false;
    Decode(in_.Byte());
  }
  item = std::move(ready_.front());
  ready_.pop_front();
  return true;
}

namespace {

// The order a session's items come in: the load's (the seed, readings) before the first pass;
// the window's events only inside passes; the box right after the menu click that opened it;
// nothing after the close.
class OrderCheck {
 public:
  void Take(const ReplayItem& item, size_t offset) {
    const bool event = IsReplayInput(item.kind) && item.kind != K::Shape;
    if (closed_) Refuse("holds entries after the window was closed", offset);
    if (event && passes == 0) Refuse("holds an input before the loop's first pass", offset);
    if (item.kind == K::Box && last_ != K::Menu)
      Refuse("holds a box that no menu click opened", offset);
    if (item.kind == K::Seed && (seeded_ || passes > 0))
      Refuse("holds a seed outside the window's load", offset);
    seeded_ |= item.kind == K::Seed;
    closed_ = item.kind == K::Close;
    passes += item.kind == K::Pass;
    frames += item.kind == K::Frame;
    checked += item.kind == K::Frame && item.hash;
    last_ = item.kind;
  }
  uint64_t passes = 0, frames = 0, checked = 0;

 private:
  [[noreturn]] static void Refuse(const std::string& what, size_t offset) {
    throw ReplayError(what + At(offset));
  }
  bool closed_ = false, seeded_ = false;
  K last_ = K::Pass;
};

ReplayHeader ReadHeader(ReplayByteReader& in) {
  ReplayHeader h;
  h.product = in.Text(kMaxNameBytes);
  h.platform = in.Text(kMaxNameBytes);
  h.start = in.Text(kMaxNameBytes);
  h.zoneMinutes = static_cast<int32_t>(in.SignedVarint(2 * 24 * 60));
  const uint64_t start = in.Varint(3);
  h.calm = (start & 1) != 0;
  h.flashLimitOff = (start & 2) != 0;
  const auto count = static_cast<size_t>(in.Varint(kMaxPictures));
  for (size_t i = 0; i < count; ++i) {
    ReplayHeader::Picture picture;
    picture.path = in.Text(kMaxPathBytes);
    if (in.Varint(1) != 0) picture.hash = in.Fixed64();
    h.pictures.push_back(std::move(picture));
  }
  return h;
}

// Whether the last 8 bytes are the checksum of all before them.
bool ChecksumHolds(std::span<const uint8_t> bytes) {
  if (bytes.size() < 8) return false;
  Hash64 checksum;
  checksum.AddBytes(bytes.data(), bytes.size() - 8);
  ReplayByteReader last(bytes.subspan(bytes.size() - 8));
  return last.Fixed64() == checksum.Value();
}

// The file past its signature, format and length, without its checksum, read whole; its counts
// checked against what it holds.
Replay ReadBody(std::span<const uint8_t> bytes, size_t headerAt) {
  ReplayByteReader in(bytes, headerAt);
  Replay replay;
  replay.header = ReadHeader(in);
  const size_t itemsAt = in.Offset();
  ReplayCursor items(bytes, itemsAt);
  OrderCheck order;
  ReplayItem item;
  while (true) {
    const size_t offset = items.Offset();
    if (!items.Next(item)) break;
    order.Take(item, offset);
  }
  const size_t endAt = items.Offset();
  replay.stream.assign(bytes.begin() + static_cast<std::ptrdiff_t>(itemsAt),
                       bytes.begin() + static_cast<std::ptrdiff_t>(endAt));
  ReplayByteReader tail(bytes.subspan(endAt));
  if (tail.AtEnd() || tail.Byte() != kEnd) throw ReplayError("ends without its end" + At(endAt));
  replay.passes = tail.Varint(UINT64_MAX >> 1);
  replay.frames = tail.Varint(UINT64_MAX >> 1);
  if (!tail.AtEnd()) throw ReplayError("goes on after its end" + At(endAt + tail.Offset()));
  if (replay.passes != order.passes || replay.frames != order.frames)
    throw ReplayError("says it holds " + std::to_string(replay.frames) + " frames in " +
                      std::to_string(replay.passes) + " passes, but holds " +
                      std::to_string(order.frames) + " in " + std::to_string(order.passes));
  replay.checkedFrames = order.checked;
  return replay;
}

}  // namespace

Replay ReadReplay(std::span<const uint8_t> bytes) {
  if (bytes.size() > kMaxFileBytes) throw ReplayError("is larger than a replay can be (256 MB)");
  const size_t signature = std::min(bytes.size(), sizeof kSignature);
  if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(signature),
                  std::begin(kSignature)))
    throw ReplayError("is not an Ombrevale replay");
  ReplayByteReader in(bytes);
  for (size_t i = 0; i < sizeof kSignature; ++i) in.Byte();
  const uint64_t format = in.Varint(UINT64_MAX >> 1);
  if (format != kReplayFormat)
    throw ReplayError("is a replay of format " + std::to_string(format) +
                      ", and this program reads format " + std::to_string(kReplayFormat));
  // The file's length, then its checksum, tell a file cut short from one changed in place; only
  // then are its items read.
  uint32_t length = 0;
  for (int k = 0; k < 4; ++k) length |= uint32_t{in.Byte()} << (8 * k);
  if (bytes.size() < length) throw ReplayError(kCutShort);
  const std::span<const uint8_t> file = bytes.first(length);
  if (length < in.Offset() + 8 || !ChecksumHolds(file))
    throw ReplayError("is corrupted: its checksum does not match");
  if (bytes.size() > length) throw ReplayError("goes on after its end" + At(length));
  try {
    return ReadBody(file.first(length - 8), in.Offset());
  } catch (const ReplayError& e) {
    // Its length and checksum hold: a file that runs out inside was written so.
    if (std::string_view(e.what()) == kCutShort)
      throw ReplayError("ends in the middle of an entry");
    throw;
  }
}

}  // namespace ombrevale
