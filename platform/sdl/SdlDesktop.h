#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/sdl/Fonts.h"
#include "platform/sdl/SdlHandles.h"

namespace ombrevale {

// The main window on an SDL desktop. Its client area is a menu strip of 20 pixels that we draw
// ourselves, then the 404 x 304 page area. The window can be resized or maximised: the whole
// client area then scales by the largest whole factor, centred. Frames go to the screen through
// SDL's software renderer straight into X11 shared memory, the cheapest path on a desktop
// without a GPU. Needs SDL's video started (SdlVideo) for as long as it lives.
class SdlDesktop final : public Desktop {
 public:
  // The window is created hidden, at its natural size; ShowWindow shows it. `clock` is the
  // loop's millisecond clock, which WaitEvents wakes by.
  explicit SdlDesktop(Clock& clock);
  ~SdlDesktop() override;
  SdlDesktop(const SdlDesktop&) = delete;
  SdlDesktop& operator=(const SdlDesktop&) = delete;

  float ScreenWidth() override;
  float ScreenHeight() override;
  void SetWindowSize(float width, float height) override;
  float WindowWidth() override;
  float WindowHeight() override;
  void SetWindowPosition(float left, float top) override;
  void SetCaption(std::string_view caption) override;
  void SetMenu(const std::vector<std::string>& entries) override;
  void ShowWindow() override;
  void SetFullscreen(bool) {}

  void PumpEvents(WindowEvents& events) override;
  void WaitEvents(std::optional<uint32_t> due) override;

  void Present(const Scene& scene) override;
  void MessageBox(std::string_view title, std::string_view text) override;

  // What the client area shows now, menu strip included, at its natural size: for tools that keep
  // the frames the window showed.
  Surface ReadClientArea();

  // The SDL window, for a message box that belongs to it.
  SDL_Window* Window() const { return window_.get(); }

  // The client area at its natural size, in pixels.
  static constexpr int kMenuHeight = 20;
  static constexpr int kPageWidth = 404;
  static constexpr int kPageHeight = 304;
  static constexpr int kClientWidth = kPageWidth;
  static constexpr int kClientHeight = kMenuHeight + kPageHeight;

 private:
  struct MenuEntry {
    std::string caption;
    TexturePtr text;
    int textWidth = 0, textHeight = 0;
    SDL_Rect box{};  // in client pixels
  };
  // A label's caption drawn once into a texture, remade only when what it shows changes.
  struct LabelImage {
    std::string caption;
    Pixel color = 0;
    Font face;
    TexturePtr text;
    int width = 0, height = 0;
    SDL_Rect box{};  // in client pixels
  };
  struct Borders {
    int top = 0, left = 0, bottom = 0, right = 0;
  };

  void UploadPage(const Scene& scene);
  void UpdateLabel(LabelImage& image, const LabelView& view);
  TexturePtr TextTexture(TTF_Font* font, const std::string& text, Pixel color, int& width,
                         int& height);
  void Repaint();
  void DrawMenuStrip();
  void Dispatch(const SDL_Event& event, WindowEvents& events);
  bool MenuAccessKey(const SDL_KeyboardEvent& key, WindowEvents& events);
  int MenuEntryAt(int x, int y) const;
  void SetHover(int entry);
  Borders WindowBorders() const;
  SDL_DisplayMode DesktopMode() const;

  Clock& clock_;
  Fonts fonts_;
  WindowPtr window_;
  RendererPtr renderer_;
  TexturePtr page_;  // the page area: chrome, with the canvas written over it
  std::optional<uint64_t> chromeRevision_;
  SDL_Rect canvasRect_{};  // where the canvas was last written into `page_`
  std::vector<MenuEntry> menu_;
  int hover_ = -1;
  int pressed_ = -1;
  bool repaintDue_ = false;
  std::vector<LabelImage> labels_;
};

}  // namespace ombrevale
