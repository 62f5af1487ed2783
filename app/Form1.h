#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/CalmStart.h"
#include "app/ShownCanvas.h"
#include "app/Version.h"
#include "platform/Controls.h"
#include "platform/PageLayout.h"
#include "platform/Platform.h"
#include "sound/SoundAPI.h"
#include "text/MessageP.h"
#include "timing/TimeAPI.h"
#include "vision/VisionPictures.h"

namespace ombrevale {

inline constexpr std::string_view kAuthorLine = "made by the Ombrevale team";
inline constexpr std::string_view kBuildDate = "2002/5/28";
// What a screen reader calls the title page's canvas: the vision it shows, not its pixels.
inline constexpr std::string_view kTitleVisionName = "The title vision";

// The text of the version box: three lines joined by "\r\n", nothing after the date.
std::string VersionText();
// The product's name, one blank, the version: the window's caption, and what --version prints.
std::string VersionLine();

// Where a key press goes: to the typewriter while a message is pending, else to the visible page.
enum class KeyRoute { Message, Swallowed, TitlePage, MainPage, Nowhere };
KeyRoute RouteKey(const TimeAPI& time, bool titleVisible, bool mainVisible, int16_t keyCode);

// The window's place for its size on the screen, in twips: centred, not rounded, not clamped.
float CentredOffset(float screen, float window);

// The main window: its pages and controls, its handlers and its menu.
class Form1 final : public WindowEvents, public VisionPictures {
 public:
  // The size of the window at load, in twips: its client area below the menu strip is then as
  // large as a page.
  static constexpr float kLoadWidth = 6130, kLoadHeight = 5210;
  // The window's background, around and under its pages.
  static constexpr Pixel kBackColor = Rgb(255, 192, 192);

  Form1(Platform& platform, TimeAPI& time, SoundAPI& sound, MessageP& message);

  // Runs the load handler to its end, then shows the window. A fatal error in the load handler
  // (an unreadable picture) leaves the window unshown.
  void Show();

  void Load();
  void InitWindow();
  void ResetPage(Page& page);
  void LoadPictures();
  void LoadPictureIfExists(PictureBox& control, const std::string& path);
  void ShowVersion();

  // Shows the canvas's new frame with its label on screen now, passed through the flash limit
  // (ShownCanvas), and the calm start's button while the vision waits for it.
  void RefreshCanvas();

  // Shows the vision as designed, its frames as they are drawn, without the flash limit. Before
  // Show.
  void TurnFlashLimitOff() { shownCanvas_.TurnLimitOff(); }
  // The vision's frames as they were shown.
  const ShownCanvas& Shown() const { return shownCanvas_; }

  // For a player who asked for less motion: the vision will stand still at its first frame until
  // the player starts it. Before Show.
  void AskCalmStart() { calm_.Ask(); }
  // After each frame of the vision, shown: a calm start holds the first one, and shows it again
  // with its clock and the button that starts the vision.
  void VisionFrameShown();
  // Whether the vision stands still, waiting for the player to start it.
  bool VisionWaiting() const { return calm_.Waiting(); }

  // WindowEvents
  void KeyDown(int16_t& KeyCode, int16_t Shift) override;
  void MenuClick(int entry) override;
  void PromptClick() override;
  void Unload() override;
  bool Ended() const override { return ended_; }

  float Left = 0, Top = 0;  // the window's place on the screen, in twips, centred at load
  std::string Caption;      // "Ombrevale <version>"

  Page PageTitle;        // the title page: the vision's canvas inside its sunken frame
  Page PageMain;         // the game's main page, hidden in this version
  Page PageData;         // never shown: holds the vision's source pictures
  PictureBox PicTitle1;  // the title page's 400 x 300 canvas, painted by the vision each frame
  Label LabMain1;        // over the canvas: "Burst" at first, then the clock two years ahead
  Shape Cursor;          // an outline figure below the client area: drawn, and clipped away

  // The sources of the title vision (PicNilu, PicNiluEye ... PicNoise) are its VisionPictures,
  // inside PageData.

 private:
  void ComposeChrome();
  // Whether the title page shows its canvas.
  bool CanvasShown() const { return PageTitle.Visible && PicTitle1.Visible; }
  // Shows the scene with `canvas` in the title page's canvas, or without one.
  void PresentScene(const Surface* canvas);

  Platform& platform_;
  TimeAPI& time_;
  SoundAPI& sound_;
  MessageP& message_;
  bool ended_ = false;
  CalmStart calm_;
  ShownCanvas shownCanvas_{kCanvasWidth, kCanvasHeight};

  // The window background with its visible pages, and what it was composed from.
  struct ChromeKey {
    bool titleVisible, mainVisible;
    Placement title, main;
    bool operator==(const ChromeKey&) const = default;
  };
  Surface chrome_;
  uint64_t chromeRevision_ = 0;
  Scene scene_;  // kept, so that showing a frame allocates nothing
  std::optional<ChromeKey> chromeKey_;
};

}  // namespace ombrevale
