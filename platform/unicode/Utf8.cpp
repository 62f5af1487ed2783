#include "platform/unicode/Utf8.h"

namespace ombrevale {

namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

Utf8Char DecodeFirst(std::string_view text) {
  if (text.empty()) return {};
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1, false};
  const Utf8Char broken{lead, 1, true};

  // The length a lead byte announces, and the range its second byte must fall in so that the
  // sequence is neither overlong, nor a surrogate, nor past U+10FFFF.
  uint8_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return broken;
  }
  if (text.size() < length) return broken;
  const auto second = static_cast<unsigned char>(text[1]);
  if (second < low || second > high) return broken;
  for (uint8_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte)) return broken;
    code = code << 6 | (byte & 0x3F);
  }
  return {code, length, false};
}

}  // namespace ombrevale
