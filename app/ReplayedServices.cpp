#include "app/ReplayedServices.h"

#include <algorithm>

#include "platform/Controls.h"
#include "platform/replay/FrameHash.h"

namespace ombrevale {
namespace {

// Where no desktop shows the replay, the window's load still asks for a screen: 1024 x 768.
constexpr float kNoScreenWidth = 1024 * kTwipsPerPixel, kNoScreenHeight = 768 * kTwipsPerPixel;

// Fallen this far behind the recorded pace (a slow machine, a debugger), the replay plays on from
// now rather than hurrying to catch up.
constexpr int32_t kFarBehindMs = 250;

bool Before(uint32_t a, uint32_t b) {
  return static_cast<int32_t>(a - b) < 0;
}

}  // namespace

std::string ReplayPictures::FileExists(const std::string& path) {
  std::string found = inner_.FileExists(path);
  if (found.empty()) feed_.Picture(path, std::nullopt);
  return found;
}

Surface ReplayPictures::LoadPicture(const std::string& path) {
  Surface picture = inner_.LoadPicture(path);
  feed_.Picture(path, HashPicture(picture));
  return picture;
}

ReplayDesktop::ReplayDesktop(ReplayFeed& feed, const ReplayShowing& showing)
    : feed_(feed), showing_(showing) {}

float ReplayDesktop::ScreenWidth() {
  return showing_.desktop ? showing_.desktop->ScreenWidth() : kNoScreenWidth;
}
float ReplayDesktop::ScreenHeight() {
  return showing_.desktop ? showing_.desktop->ScreenHeight() : kNoScreenHeight;
}
void ReplayDesktop::SetWindowSize(float width, float height) {
  width_ = width;
  height_ = height;
  if (showing_.desktop) showing_.desktop->SetWindowSize(width, height);
}
float ReplayDesktop::WindowWidth() {
  return showing_.desktop ? showing_.desktop->WindowWidth() : width_;
}
float ReplayDesktop::WindowHeight() {
  return showing_.desktop ? showing_.desktop->WindowHeight() : height_;
}
void ReplayDesktop::SetWindowPosition(float left, float top) {
  if (showing_.desktop) showing_.desktop->SetWindowPosition(left, top);
}
void ReplayDesktop::SetCaption(std::string_view caption) {
  if (showing_.desktop) showing_.desktop->SetCaption(caption);
}
void ReplayDesktop::SetMenu(const std::vector<std::string>& entries) {
  if (showing_.desktop) showing_.desktop->SetMenu(entries);
}
void ReplayDesktop::ShowWindow() {
  if (showing_.desktop) showing_.desktop->ShowWindow();
}

void ReplayDesktop::PumpEvents(WindowEvents& events) {
  // The window goes on answering the viewer (repaints, fullscreen, a close) while it plays.
  if (showing_.desktop && !viewer_.closed) showing_.desktop->PumpEvents(viewer_);
  if (viewer_.closed) feed_.Stop();
  feed_.Pass(events, showing_.followShapes ? showing_.desktop : nullptr);
}

std::optional<uint32_t> ReplayDesktop::NextPassDue() {
  const std::optional<uint32_t> next = feed_.NextPassReading();
  if (!showing_.desktop || !showing_.clock || feed_.FastForwarding() || !next) return std::nullopt;
  const uint32_t now = showing_.clock->timeGetTime();
  if (!due_) {
    due_ = now;  // the first pass shown: real time starts here
  } else {
    *due_ += std::min(*next - lastReading_, kLongestPauseMs);
    if (static_cast<int32_t>(now - *due_) > kFarBehindMs) due_ = now;
  }
  lastReading_ = *next;
  return due_;
}

void ReplayDesktop::WaitEvents(std::optional<uint32_t>) {
  const std::optional<uint32_t> due = NextPassDue();
  if (!due) return;
  Clock& clock = *showing_.clock;
  while (!viewer_.closed && Before(clock.timeGetTime(), *due)) {
    showing_.desktop->WaitEvents(*due);
    if (Before(clock.timeGetTime(), *due)) showing_.desktop->PumpEvents(viewer_);
  }
}

void ReplayDesktop::Present(const Scene& scene) {
  const bool hidden = feed_.FastForwarding() && !showing_.everyFrame;
  feed_.Frame(scene);
  if (showing_.desktop && !hidden) showing_.desktop->Present(scene);
}

void ReplayDesktop::MessageBox(std::string_view title, std::string_view text) {
  const uint32_t openMs = feed_.BoxMs();
  if (!showing_.desktop || !showing_.clock || feed_.FastForwarding()) return;
  const uint32_t closeAt = showing_.clock->timeGetTime() + std::min(openMs, kLongestPauseMs);
  showing_.desktop->MessageBoxUntil(title, text, closeAt);
}

}  // namespace ombrevale
