#include "app/SessionRecorder.h"

#include <ctime>

#include "app/Form1.h"
#include "platform/replay/ReplayReader.h"

namespace ombrevale {
namespace {

using K = ReplayItem::Kind;

// The local time's offset from UTC now, in minutes: the local fields read as if they were UTC,
// less the time itself.
int32_t ZoneMinutes() {
  const std::time_t now = std::time(nullptr);
  std::tm local{}, utc{};
#if defined(_WIN32)
  localtime_s(&local, &now);
  gmtime_s(&utc, &now);
#else
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
#endif
  // The two are at most a day apart; across New Year the years tell which way.
  int days = local.tm_yday - utc.tm_yday;
  if (local.tm_year != utc.tm_year) days = local.tm_year > utc.tm_year ? 1 : -1;
  const int diff = days * 24 * 60 + (local.tm_hour - utc.tm_hour) * 60 + local.tm_min - utc.tm_min;
  return static_cast<int32_t>(diff);
}

}  // namespace

SessionRecorder::SessionRecorder(ReplayHeader header, std::optional<uint32_t> checkedFor)
    : header_(std::move(header)), checkedFor_(checkedFor) {}

void SessionRecorder::Emit(const ReplayItem& item) {
  stream_.Add(item);
  heldText_ = heldScale_ = 0;
}

void SessionRecorder::Add(const ReplayItem& item) {
  Emit(item);
}

void SessionRecorder::Reading(uint32_t now) {
  lastReading_ = now;
  Emit(Item(K::Reading, now));
}

void SessionRecorder::Text(const std::string& text) {
  if (text == text_) {
    ++heldText_;
    return;
  }
  // Readings left out since the last item was kept read what they read before; they are counted
  // so that a replay gives the new text to the right reading.
  if (heldText_ > 0) Emit(KeepItem(ReplayHeld::Text, heldText_));
  Emit(TextItem(text));
  text_ = text;
}

void SessionRecorder::Scale(double scale) {
  if (scale == scale_) {
    ++heldScale_;
    return;
  }
  if (heldScale_ > 0) Emit(KeepItem(ReplayHeld::Scale, heldScale_));
  Emit(ScaleItem(scale));
  scale_ = scale;
}

void SessionRecorder::Frame(uint64_t hash) {
  Emit(Item(K::Frame));
  hashes_.push_back({lastReading_, hash});
  ++frames_;
  if (!checkedFor_) return;
  while (!hashes_.empty() && lastReading_ - hashes_.front().at > *checkedFor_) {
    hashes_.pop_front();
    ++firstKept_;
  }
}

std::vector<uint8_t> SessionRecorder::File(std::optional<uint32_t> checkedFor) {
  ReplayStreamWriter out;
  ReplayCursor items(stream_.Bytes());
  ReplayItem item;
  uint64_t frame = 0;
  while (items.Next(item)) {
    if (item.kind == K::Frame) {
      if (frame >= firstKept_) {
        const Shown& shown = hashes_[frame - firstKept_];
        if (!checkedFor || lastReading_ - shown.at <= *checkedFor) item.hash = shown.hash;
      }
      ++frame;
    }
    out.Add(item);
  }
  return WriteReplayFile(header_, out);
}

ReplayHeader SessionHeader(Clock& clock, std::string platform, bool calm, bool flashLimitOff) {
  ReplayHeader header;
  header.product = VersionLine();
  header.platform = std::move(platform);
  header.start = clock.DateTimeText();
  header.zoneMinutes = ZoneMinutes();
  header.calm = calm;
  header.flashLimitOff = flashLimitOff;
  return header;
}

}  // namespace ombrevale
