#include "vision/ClockCaption.h"

#include <array>
#include <limits>

#include "text/Strings.h"

namespace ombrevale {

namespace {

// The value of a text of decimal digits alone, when it is no more than `limit`.
std::optional<long> DecimalValue(const std::string& text, long limit) {
  if (text.empty()) return std::nullopt;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<ClockReading> ReadClock(const std::string& dateTime) {
  // The pieces have exactly the room the form of the text needs; a text with more is not a
  // date and time the clock can read.
  std::array<std::string, 3> dateTimeParts;
  std::array<std::string, 4> dateParts, timeParts;
  int16_t pieces = 0;

  if (CountPieces(dateTime, " ") > 2) return std::nullopt;
  SplitText(dateTime, dateTimeParts, " ", pieces);
  if (CountPieces(dateTimeParts[1], "/") > 3) return std::nullopt;
  SplitText(dateTimeParts[1], dateParts, "/", pieces);
  if (dateTimeParts[2].empty()) dateTimeParts[2] = "0:00:00";
  if (CountPieces(dateTimeParts[2], ":") > 3) return std::nullopt;
  SplitText(dateTimeParts[2], timeParts, ":", pieces);

  const auto second = DecimalValue(timeParts[3], std::numeric_limits<int16_t>::max());
  const auto year = DecimalValue(dateParts[1], 9999 - 2);
  if (!second || !year) return std::nullopt;

  std::string yearText = std::to_string(*year + 2);
  if (yearText.size() < 4) yearText.insert(0, std::string("2000").substr(0, 4 - yearText.size()));

  ClockReading reading;
  reading.second = static_cast<int16_t>(*second);
  reading.caption = yearText + "/" + dateParts[2] + "/" + dateParts[3] + " " + timeParts[1] + ":" +
                    timeParts[2] + ":" + timeParts[3];
  return reading;
}

}  // namespace ombrevale
