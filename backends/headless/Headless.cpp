#include "backends/headless/Headless.h"

#include <algorithm>
#include <stdexcept>

#include "platform/FatalError.h"
#include "platform/bitmap/BitmapFile.h"
#include "platform/raster/BitBlt.h"

namespace ombrevale {

float ScriptedRandom::Rnd() {
  ++draws;
  if (!script.empty()) {
    const float v = script.front();
    script.pop_front();
    return v;
  }
  return fallback_.Rnd();
}

std::string MemoryPictureReader::FileExists(const std::string& path) {
  return pictures.contains(path) || unreadable.contains(path) ? path : std::string();
}

Surface MemoryPictureReader::LoadPicture(const std::string& path) {
  loaded.push_back(path);
  if (auto bad = unreadable.find(path); bad != unreadable.end())
    UnreadableBitmap(path, bad->second);
  auto found = pictures.find(path);
  if (found == pictures.end()) throw FatalError(CannotReadSentence(path, "no such file"));
  return found->second;
}

void HeadlessDesktop::SetWindowSize(float width, float height) {
  windowWidth = adjustSize(width);
  windowHeight = adjustSize(height);
}

void HeadlessDesktop::SetWindowPosition(float l, float t) {
  left = l;
  top = t;
}

void HeadlessDesktop::Schedule(ScriptedEvent event) {
  auto later = std::upper_bound(events.begin(), events.end(), event.at,
                                [](uint32_t at, const ScriptedEvent& e) { return at < e.at; });
  events.insert(later, event);
}

void HeadlessDesktop::Key(uint32_t at, int16_t keyCode, int16_t shift) {
  Schedule({ScriptedEvent::Kind::Key, at, keyCode, shift, 0});
}
void HeadlessDesktop::Menu(uint32_t at, int entry) {
  Schedule({ScriptedEvent::Kind::Menu, at, 0, 0, entry});
}
void HeadlessDesktop::Close(uint32_t at) {
  Schedule({ScriptedEvent::Kind::Close, at, 0, 0, 0});
}
void HeadlessDesktop::PressPrompt(uint32_t at) {
  Schedule({ScriptedEvent::Kind::Prompt, at, 0, 0, 0});
}

void HeadlessDesktop::PumpEvents(WindowEvents& window) {
  while (!events.empty() && !window.Ended() &&
         static_cast<int32_t>(clock_.now - events.front().at) >= 0) {
    ScriptedEvent e = events.front();
    events.pop_front();
    switch (e.kind) {
      case ScriptedEvent::Kind::Key:
        window.KeyDown(e.keyCode, e.shift);
        break;
      case ScriptedEvent::Kind::Menu:
        window.MenuClick(e.menuEntry);
        break;
      case ScriptedEvent::Kind::Prompt:
        window.PromptClick();
        break;
      case ScriptedEvent::Kind::Close:
        window.Unload();
        break;
    }
  }
}

void HeadlessDesktop::WaitEvents(std::optional<uint32_t> due) {
  waits.push_back(due);
  std::optional<uint32_t> wake = due;
  if (!events.empty()) {
    const uint32_t next = events.front().at;
    if (!wake || static_cast<int32_t>(next - *wake) < 0) wake = next;
  }
  if (!wake) throw std::logic_error("the loop waits for an event that no test scheduled");
  if (static_cast<int32_t>(*wake - clock_.now) > 0) clock_.now = *wake;
}

void HeadlessDesktop::Present(const Scene& scene) {
  ++frames;
  presentTimes.push_back(clock_.now);
  if (scene.chrome && scene.chromeRevision != chromeRevision_) {
    chrome_ = *scene.chrome;
    chromeRevision_ = scene.chromeRevision;
  }
  lastFrame = chrome_;
  if (scene.canvas) {
    BitBlt(lastFrame, scene.canvasX, scene.canvasY, scene.canvas->Width(), scene.canvas->Height(),
           *scene.canvas, 0, 0, SRCCOPY);
  }
  lastLabels.clear();
  for (const LabelView& view : scene.labels) lastLabels.push_back(view.label->Caption);
  lastPrompt = scene.prompt != nullptr ? std::optional<Prompt>(*scene.prompt) : std::nullopt;
}

void HeadlessDesktop::MessageBox(std::string_view title, std::string_view text) {
  boxes.emplace_back(title, text);
  const uint32_t closedAt = clock_.now + boxOpenFor;
  // The window takes no input while the box is open; a close request still counts.
  std::erase_if(events, [&](const ScriptedEvent& e) {
    return e.kind != ScriptedEvent::Kind::Close && static_cast<int32_t>(closedAt - e.at) >= 0;
  });
  clock_.now = closedAt;
}

}  // namespace ombrevale
