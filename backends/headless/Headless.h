#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "backends/headless/FakeScreen.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Pictures.h"
#include "platform/Random.h"

namespace ombrevale {

// A clock the test sets: milliseconds and the date-time text.
class FakeClock final : public Clock {
 public:
  uint32_t timeGetTime() override { return now; }
  std::string DateTimeText() override { return dateTime; }

  uint32_t now = 1000;
  std::string dateTime = "2026/12/07 6:38:40";
};

// Scripted random values first, then the real generator from a fixed seed; counts the draws.
class ScriptedRandom final : public Random {
 public:
  ScriptedRandom() { fallback_.Randomize(12345); }
  void Randomize(uint32_t clockSeed) override { seeds.push_back(clockSeed); }
  float Rnd() override;

  std::deque<float> script;
  std::vector<uint32_t> seeds;
  int draws = 0;

 private:
  SystemRandom fallback_;
};

// Pictures kept in memory by path, as files are on a disk: a path in `pictures` or in
// `unreadable` is there, any other is missing. Records every path read, in order. A path listed
// in `unreadable` fails as a broken file does.
class MemoryPictureReader final : public PictureReader {
 public:
  std::string FileExists(const std::string& path) override;
  Surface LoadPicture(const std::string& path) override;

  std::map<std::string, Surface> pictures;
  std::map<std::string, std::string> unreadable;  // path -> reason
  std::vector<std::string> loaded;
};

// One event a test schedules for the window, at a clock reading.
struct ScriptedEvent {
  enum class Kind { Key, Menu, Prompt, Close } kind = Kind::Key;
  uint32_t at = 0;
  int16_t keyCode = 0;
  int16_t shift = 0;
  int menuEntry = 0;
};

// A desktop without a screen: a fake screen size, scripted events delivered when the fake clock
// reaches them, frames composed in memory, message boxes recorded. Waiting moves the clock
// straight to the next event or the due time.
class HeadlessDesktop final : public Desktop {
 public:
  explicit HeadlessDesktop(FakeClock& clock) : clock_(clock) {}

  float ScreenWidth() override { return screenWidth; }
  float ScreenHeight() override { return screenHeight; }
  void SetWindowSize(float width, float height) override;
  float WindowWidth() override { return windowWidth; }
  float WindowHeight() override { return windowHeight; }
  void SetWindowPosition(float left, float top) override;
  void SetCaption(std::string_view caption) override { this->caption = caption; }
  void SetMenu(const std::vector<std::string>& entries) override { menu = entries; }
  void ShowWindow() override { shown = true; }
  void PumpEvents(WindowEvents& events) override;
  void WaitEvents(std::optional<uint32_t> due) override;
  void Present(const Scene& scene) override;
  void MessageBox(std::string_view title, std::string_view text) override;
  bool PrefersLessMotion() override {
    ++motionAsked;
    return lessMotion;
  }
  double ShownScale() override { return shownScale; }

  void Key(uint32_t at, int16_t keyCode, int16_t shift = 0);
  void Menu(uint32_t at, int entry);
  void Close(uint32_t at);
  // A press of the button the scene's prompt shows.
  void PressPrompt(uint32_t at);

  // The screen, 1024 x 768 pixels, and the window system's answer to a size request.
  float screenWidth = kFakeScreenWidth, screenHeight = kFakeScreenHeight;
  std::function<float(float)> adjustSize = [](float twips) { return twips; };
  // How large a pixel of the page is shown, in reference pixels: at its natural size until a test
  // shows it larger.
  double shownScale = 1;

  // The player's wish for less motion, as the desktop's own setting says it, and how often it was
  // asked.
  bool lessMotion = false;
  int motionAsked = 0;

  float windowWidth = 0, windowHeight = 0, left = 0, top = 0;
  std::string caption;
  std::vector<std::string> menu;
  bool shown = false;

  // Every frame presented: the client area below the menu as it would be seen (labels aside),
  // and the label captions drawn over it.
  int frames = 0;
  Surface lastFrame;
  std::vector<std::string> lastLabels;
  std::optional<Prompt> lastPrompt;  // the prompt shown with the last frame
  std::vector<uint32_t> presentTimes;

  // Message boxes shown (title, text); a box stays open for `boxOpenFor` milliseconds of the fake
  // clock, and input scheduled meanwhile is dropped, as a modal box does.
  std::vector<std::pair<std::string, std::string>> boxes;
  uint32_t boxOpenFor = 1500;

  std::deque<ScriptedEvent> events;  // in the order of `at`
  std::vector<std::optional<uint32_t>> waits;

 private:
  void Schedule(ScriptedEvent event);

  FakeClock& clock_;
  uint64_t chromeRevision_ = ~uint64_t{0};
  Surface chrome_;
};

}  // namespace ombrevale
