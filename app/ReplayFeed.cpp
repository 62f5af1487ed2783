#include "app/ReplayFeed.h"

#include <cstdio>

#include "platform/replay/FrameHash.h"

namespace ombrevale {
namespace {

using K = ReplayItem::Kind;

constexpr size_t kInputsTold = 5;

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

std::string KeyName(int16_t code) {
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
    return std::string(1, char(code));
  if (code >= 112 && code <= 123) {
    std::string name = "F";
    name += std::to_string(code - 111);
    return name;
  }
  switch (code) {
    case 13:
      return "Return";
    case 27:
      return "Escape";
    case 32:
      return "Space";
    case 37:
      return "Left";
    case 38:
      return "Up";
    case 39:
      return "Right";
    case 40:
      return "Down";
    default:
      return "the key " + std::to_string(code);
  }
}

// What the replay holds next, as the end of "where the replay holds ...".
std::string Describe(const ReplayItem& item) {
  switch (item.kind) {
    case K::Pass:
      return "a new pass of the loop";
    case K::Reading:
      return "a reading of the clock";
    case K::Frame:
      return "a frame";
    case K::Text:
    case K::Keep:
      return "a reading of the date-time text";
    case K::Scale:
      return "a reading of the shown scale";
    case K::Seed:
      return "the random generator's seed";
    default:
      return DescribeInput(item);
  }
}

}  // namespace

std::string DescribeInput(const ReplayItem& item) {
  switch (item.kind) {
    case K::Key: {
      std::string name;
      if (item.shift & 1) name += "Shift+";
      if (item.shift & 2) name += "Ctrl+";
      if (item.shift & 4) name += "Alt+";
      return name + KeyName(item.keyCode);
    }
    case K::Menu:
      return "the menu's entry " + std::to_string(item.value);
    case K::Prompt:
      return "the prompt's button";
    case K::Close:
      return "the close";
    case K::Box:
      return "the box closed after " + std::to_string(item.value) + " ms";
    case K::Shape:
      return "the window at " + std::to_string(item.width) + " x " + std::to_string(item.height) +
             (item.fullscreen ? ", fullscreen" : "");
    default:
      return "an entry that is no input";
  }
}

ReplayFeed::ReplayFeed(const Replay& replay) : header_(replay.header), cursor_(replay.stream) {
  // Once through, for the pacing and the first frame checked.
  ReplayCursor scan(replay.stream);
  ReplayItem item;
  bool readingDue = false;
  uint64_t frames = 0;
  firstChecked_ = replay.frames;
  uint32_t last = 0;
  while (scan.Next(item)) {
    if (item.kind == K::Pass) {
      if (readingDue) passReadings_.push_back(last);
      readingDue = true;
    } else if (item.kind == K::Reading) {
      last = item.value;
      if (readingDue) passReadings_.push_back(last);
      readingDue = false;
    } else if (item.kind == K::Frame) {
      if (item.hash && firstChecked_ == replay.frames) firstChecked_ = frames;
      ++frames;
    }
  }
  if (readingDue) passReadings_.push_back(last);
  Take();  // the first item, ready
}

ReplayItem ReplayFeed::Take() {
  ReplayItem taken = head_.value_or(ReplayItem{});
  ReplayItem next;
  if (cursor_.Next(next))
    head_ = std::move(next);
  else
    head_.reset();
  return taken;
}

void ReplayFeed::Diverge(const std::string& what) {
  if (divergence_ || stopped_) return;
  divergence_ =
      ReplayDivergence{framesShown_, what, {}, {}, {lastInputs_.begin(), lastInputs_.end()}};
}

void ReplayFeed::Unasked(const std::string& asked) {
  // Past the replay's end the program is told what it was told last: the session is over.
  if (head_) Diverge("the program " + asked + " where the replay holds " + Describe(*head_));
}

uint32_t ReplayFeed::Reading() {
  if (HeadIs(K::Reading) && !divergence_)
    reading_ = Take().value;
  else
    Unasked("read the clock");
  return reading_;
}

std::string ReplayFeed::Text() {
  if (head_ && !divergence_) {
    if (head_->kind == K::Keep && head_->held == ReplayHeld::Text) {
      if (--head_->value == 0) Take();
    } else if (head_->kind == K::Text) {
      text_ = Take().text;
    }
  }
  return text_;
}

double ReplayFeed::Scale() {
  if (head_ && !divergence_) {
    if (head_->kind == K::Keep && head_->held == ReplayHeld::Scale) {
      if (--head_->value == 0) Take();
    } else if (head_->kind == K::Scale) {
      scale_ = Take().scale;
    }
  }
  return scale_;
}

uint32_t ReplayFeed::Seed(uint32_t asked) {
  if (HeadIs(K::Seed) && !divergence_) return Take().value;
  Unasked("seeded its random generator");
  return asked;
}

uint32_t ReplayFeed::BoxMs() {
  if (HeadIs(K::Box) && !divergence_) {
    const ReplayItem box = Take();
    NoteInput(DescribeInput(box));
    return box.value;
  }
  Unasked("opened a box");
  return 0;
}

void ReplayFeed::Picture(const std::string& path, std::optional<uint64_t> hash) {
  const size_t i = pictures_++;
  if (i < header_.pictures.size() && header_.pictures[i] == ReplayHeader::Picture{path, hash})
    return;
  if (i >= header_.pictures.size())
    Diverge("the program loaded " + path + ", which the session did not load");
  else if (header_.pictures[i].path != path)
    Diverge("the program loaded " + path + " where the session loaded " + header_.pictures[i].path);
  else if (!hash)
    Diverge(path + " is missing here, and the session had it");
  else if (!header_.pictures[i].hash)
    Diverge(path + " is here, and the session found it missing");
  else
    Diverge(path + " is not the picture the session was recorded with");
}

void ReplayFeed::Frame(const Scene& scene) {
  if (divergence_ || stopped_ || !head_) return;  // frames past the replay are not counted
  if (!HeadIs(K::Frame)) {
    Unasked("showed a frame");
    return;
  }
  const ReplayItem recorded = Take();
  const uint64_t frame = framesShown_++;
  if (recorded.hash) {
    const uint64_t shown = HashShownFrame(scene);
    if (shown != *recorded.hash) {
      Diverge("its hash is " + Hex(shown) + ", the replay holds " + Hex(*recorded.hash));
      divergence_->frame = frame;
      divergence_->expected = recorded.hash;
      divergence_->shown = shown;
    } else {
      ++framesChecked_;
    }
  }
  if (onFrame) onFrame(frame, scene);
  if (stopAfter_ == frame) stopped_ = true;
}

void ReplayFeed::NoteInput(const std::string& input) {
  lastInputs_.push_back(input + " at frame " + std::to_string(framesShown_));
  if (lastInputs_.size() > kInputsTold) lastInputs_.pop_front();
}

void ReplayFeed::Deliver(ReplayItem item, WindowEvents& events, Desktop* shaped) {
  NoteInput(DescribeInput(item));
  switch (item.kind) {
    case K::Key: {
      int16_t code = item.keyCode;
      events.KeyDown(code, item.shift);
      break;
    }
    case K::Menu:
      events.MenuClick(static_cast<int>(item.value));
      break;
    case K::Prompt:
      events.PromptClick();
      break;
    case K::Close:
      events.Unload();
      break;
    case K::Shape:
      if (shaped) shaped->SetShape({item.width, item.height, item.fullscreen});
      break;
    default:  // a box the program did not open
      Diverge("the program did not open the box the replay holds");
      break;
  }
}

void ReplayFeed::Pass(WindowEvents& events, Desktop* shaped) {
  if (!divergence_ && !stopped_ && head_ && !HeadIs(K::Pass)) Unasked("began a pass of the loop");
  if (divergence_ || stopped_ || !head_) {
    if (!events.Ended()) events.Unload();
    return;
  }
  Take();
  ++passes_;
  while (head_ && IsReplayInput(head_->kind) && !events.Ended() && !divergence_)
    Deliver(Take(), events, shaped);
}

std::optional<uint32_t> ReplayFeed::NextPassReading() const {
  if (passes_ >= passReadings_.size()) return std::nullopt;
  return passReadings_[passes_];
}

}  // namespace ombrevale
