#include "platform/calendar/FixedStart.h"

#include <cstdio>

namespace ombrevale {
namespace {

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar, and back: the
// calendar taken as eras of 400 years that begin on 1 March, so leap days fall at an era's end.
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

}  // namespace

std::optional<DateTimeFields> ReadDateTime(const std::string& text) {
  DateTimeFields t{};
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d/%2d/%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour,
                  &t.minute, &t.second, &tail) != 6)
    return std::nullopt;
  if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 ||
      t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
    return std::nullopt;
  return t;
}

DateTimeFields AfterMilliseconds(const DateTimeFields& start, long long ms) {
  const long long seconds = DaysFromCivil(start.year, start.month, start.day) * 86400 +
                            start.hour * 3600LL + start.minute * 60LL + start.second + ms / 1000;
  const long long days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  const long long inDay = seconds - days * 86400;
  DateTimeFields t{};
  CivilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(inDay / 3600);
  t.minute = static_cast<int>(inDay / 60 % 60);
  t.second = static_cast<int>(inDay % 60);
  return t;
}

}  // namespace ombrevale
