#include "platform/replay/ReplayWriter.h"

#include <cstring>

#include "platform/calendar/FixedStart.h"
#include "platform/replay/FrameHash.h"
#include "platform/replay/ReplayBytes.h"

namespace ombrevale {
namespace {

using namespace replay_bytes;

void Varint(std::vector<uint8_t>& out, uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<uint8_t>(value));
}

uint64_t ZigZag(int64_t value) {
  return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63);
}

void Text(std::vector<uint8_t>& out, const std::string& text) {
  Varint(out, text.size());
  out.insert(out.end(), text.begin(), text.end());
}

void Fixed64(std::vector<uint8_t>& out, uint64_t value) {
  for (int k = 0; k < 8; ++k) out.push_back(static_cast<uint8_t>(value >> (8 * k)));
}

// Whether `text` is the clock's text one second after `before`: most changes of the text are.
bool NextSecond(const std::string& before, const std::string& text) {
  const auto t = ReadDateTime(before);
  return t && FormatDateTime(AfterMilliseconds(*t, 1000)) == text;
}

}  // namespace

void ReplayStreamWriter::PutVarint(uint64_t value) {
  Varint(bytes_, value);
}
void ReplayStreamWriter::PutText(const std::string& text) {
  Text(bytes_, text);
}
void ReplayStreamWriter::PutHash(uint64_t hash) {
  Fixed64(bytes_, hash);
}

void ReplayStreamWriter::Flush() {
  if (passPending_ && readingPending_) {
    Put(static_cast<uint8_t>(kPassReading + *readingPending_));
  } else if (passPending_) {
    Put(kPass);
  }
  passPending_ = false;
  readingPending_.reset();
}

void ReplayStreamWriter::Add(const ReplayItem& item) {
  using K = ReplayItem::Kind;
  if (item.kind == K::Reading) {
    const uint32_t step = item.value - lastReading_;  // modulo 2^32, as the clock wraps
    lastReading_ = item.value;
    if (passPending_ && !readingPending_ && step < kSmallStep) {
      readingPending_ = step;
      return;
    }
    Flush();
    Put(kReading);
    PutVarint(step);
    return;
  }
  if (item.kind == K::Frame && item.hash && passPending_ && readingPending_) {
    Put(static_cast<uint8_t>(kPassReadingFrame + *readingPending_));
    PutHash(*item.hash);
    passPending_ = false;
    readingPending_.reset();
    ++frames_;
    return;
  }
  Flush();
  switch (item.kind) {
    case K::Pass:
      passPending_ = true;
      ++passes_;
      break;
    case K::Reading:
      break;
    case K::Frame:
      Put(item.hash ? kFrame : kFrameUnchecked);
      if (item.hash) PutHash(*item.hash);
      ++frames_;
      break;
    case K::Text:
      if (NextSecond(text_, item.text)) {
        Put(kTextNextSecond);
      } else {
        Put(kText);
        PutText(item.text);
      }
      text_ = item.text;
      break;
    case K::Scale: {
      Put(kScale);
      uint64_t bits = 0;
      std::memcpy(&bits, &item.scale, sizeof bits);  // the IEEE double's bits
      PutHash(bits);
      break;
    }
    case K::Seed:
      Put(kSeed);
      PutVarint(item.value);
      break;
    case K::Key:
      Put(kKey);
      PutVarint(ZigZag(item.keyCode));
      PutVarint(static_cast<uint16_t>(item.shift));
      break;
    case K::Menu:
      Put(kMenu);
      PutVarint(item.value);
      break;
    case K::Prompt:
      Put(kPrompt);
      break;
    case K::Close:
      Put(kClose);
      break;
    case K::Box:
      Put(kBox);
      PutVarint(item.value);
      break;
    case K::Shape:
      Put(kShape);
      PutVarint(item.width);
      PutVarint(item.height);
      Put(item.fullscreen ? 1 : 0);
      break;
    case K::Keep:
      Put(kKeep);
      Put(static_cast<uint8_t>(item.held));
      PutVarint(item.value);
      break;
  }
}

const std::vector<uint8_t>& ReplayStreamWriter::Bytes() {
  Flush();
  return bytes_;
}

std::vector<uint8_t> WriteReplayFile(const ReplayHeader& header, ReplayStreamWriter& stream) {
  std::vector<uint8_t> out(std::begin(kSignature), std::end(kSignature));
  Varint(out, kReplayFormat);
  const size_t lengthAt = out.size();
  out.resize(out.size() + 4);  // the file's length, known at its end
  Text(out, header.product);
  Text(out, header.platform);
  Text(out, header.start);
  Varint(out, ZigZag(header.zoneMinutes));
  // How the title page started: 1 calm, 2 the flash limit off.
  out.push_back(static_cast<uint8_t>((header.calm ? 1 : 0) | (header.flashLimitOff ? 2 : 0)));
  Varint(out, header.pictures.size());
  for (const ReplayHeader::Picture& picture : header.pictures) {
    Text(out, picture.path);
    out.push_back(picture.hash ? 1 : 0);
    if (picture.hash) Fixed64(out, *picture.hash);
  }
  const std::vector<uint8_t>& items = stream.Bytes();
  out.insert(out.end(), items.begin(), items.end());
  out.push_back(kEnd);
  Varint(out, stream.Passes());
  Varint(out, stream.Frames());
  const auto length = static_cast<uint32_t>(out.size() + 8);
  for (int k = 0; k < 4; ++k) out[lengthAt + k] = static_cast<uint8_t>(length >> (8 * k));
  Hash64 checksum;
  checksum.AddBytes(out.data(), out.size());
  Fixed64(out, checksum.Value());
  return out;
}

}  // namespace ombrevale
