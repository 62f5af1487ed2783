#include "platform/sdl/SdlDesktop.h"

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "platform/sdl/KeyMap.h"
#include "platform/sdl/WindowIcon.h"

namespace ombrevale {
namespace {

// The menu strip in the look of a classic desktop menu bar.
constexpr SDL_Color kMenuFace = {212, 208, 200, 255};
constexpr SDL_Color kMenuLight = {255, 255, 255, 255};
constexpr SDL_Color kMenuShadow = {128, 128, 128, 255};
constexpr SDL_Color kMenuText = {0, 0, 0, 255};
constexpr int kMenuFontPixels = 12;  // 9 points, the desktop's menu text
constexpr int kMenuPadding = 6;      // on each side of an entry's caption
constexpr int kMenuFirstX = 2;
constexpr SDL_Rect kPageArea = {0, SdlDesktop::kMenuHeight, SdlDesktop::kPageWidth,
                                SdlDesktop::kPageHeight};

// WaitEvents sleeps in SDL's event wait until this close to the due time, then precisely.
constexpr int32_t kPreciseSleepMs = 2;

SDL_Color ToSdlColor(Pixel p) {
  return {static_cast<Uint8>(p >> 16), static_cast<Uint8>(p >> 8), static_cast<Uint8>(p), 255};
}

void SetDrawColor(SDL_Renderer* renderer, SDL_Color c) {
  SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
}

void DrawFrame(SDL_Renderer* renderer, const SDL_Rect& r, SDL_Color topLeft,
               SDL_Color bottomRight) {
  const int right = r.x + r.w - 1, bottom = r.y + r.h - 1;
  SetDrawColor(renderer, topLeft);
  SDL_RenderDrawLine(renderer, r.x, r.y, right - 1, r.y);
  SDL_RenderDrawLine(renderer, r.x, r.y, r.x, bottom - 1);
  SetDrawColor(renderer, bottomRight);
  SDL_RenderDrawLine(renderer, r.x, bottom, right, bottom);
  SDL_RenderDrawLine(renderer, right, r.y, right, bottom);
}

// A label's caption as the text renderer wants it: "\r\n" (or a lone "\r") breaks the line.
std::string WithLineBreaks(const std::string& caption) {
  std::string out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '\r') {
      out += '\n';
      if (i + 1 < caption.size() && caption[i + 1] == '\n') ++i;
    } else {
      out += caption[i];
    }
  }
  return out;
}

bool SameFace(const Font& a, const Font& b) {
  return a.Name == b.Name && a.Points == b.Points && a.Bold == b.Bold;
}

bool SameRect(const SDL_Rect& a, const SDL_Rect& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

uint64_t BootNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(now.tv_nsec);
}

// Sleeps until the boot clock reads `ns`, to the nanosecond as far as the kernel allows.
void SleepUntilBootNanoseconds(uint64_t ns) {
  timespec until{};
  until.tv_sec = static_cast<time_t>(ns / 1'000'000'000u);
  until.tv_nsec = static_cast<long>(ns % 1'000'000'000u);
  while (clock_nanosleep(CLOCK_BOOTTIME, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

}  // namespace

SdlDesktop::SdlDesktop(Clock& clock) : clock_(clock) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) throw FatalError("The window needs SDL's video started");
  // Present through plain X11 shared memory rather than a GL-emulated window surface: on a
  // desktop without a GPU that is a fifth of the cost. Scale by whole factors, nearest pixel.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");

  window_ = SdlOwn<WindowPtr>(
      SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kClientWidth,
                       kClientHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE),
      "Creating the window");
  SDL_SetWindowMinimumSize(window_.get(), kClientWidth, kClientHeight);
  SurfacePtr icon = MakeWindowIcon();
  SDL_SetWindowIcon(window_.get(), icon.get());

  renderer_ = SdlOwn<RendererPtr>(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE),
                                  "Creating the window's renderer");
  SDL_RenderSetLogicalSize(renderer_.get(), kClientWidth, kClientHeight);
  SDL_RenderSetIntegerScale(renderer_.get(), SDL_TRUE);

  page_ =
      SdlOwn<TexturePtr>(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_XRGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, kPageWidth, kPageHeight),
                         "Creating the page texture");
  SDL_SetTextureScaleMode(page_.get(), SDL_ScaleModeNearest);
  const std::vector<Pixel> black(static_cast<size_t>(kPageWidth) * kPageHeight, 0);
  SDL_UpdateTexture(page_.get(), nullptr, black.data(), kPageWidth * sizeof(Pixel));

  // Keys arrive as key events; no input method is needed.
  SDL_StopTextInput();
}

SdlDesktop::~SdlDesktop() = default;

SDL_DisplayMode SdlDesktop::DesktopMode() const {
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window_.get()));
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(display, &mode) != 0)
    throw FatalError(std::string("Reading the screen's size failed: ") + SDL_GetError());
  return mode;
}

float SdlDesktop::ScreenWidth() {
  return static_cast<float>(DesktopMode().w) * kTwipsPerPixel;
}

float SdlDesktop::ScreenHeight() {
  return static_cast<float>(DesktopMode().h) * kTwipsPerPixel;
}

// The window keeps the size at which its client area holds the menu strip and one page: the
// requested outer size only approximates that, and nothing in the program follows a resize.
void SdlDesktop::SetWindowSize(float, float) {}

SdlDesktop::Borders SdlDesktop::WindowBorders() const {
  Borders b;
  // Without a window manager (or before the window is first shown) there is no frame to ask.
  if (SDL_GetWindowBordersSize(window_.get(), &b.top, &b.left, &b.bottom, &b.right) != 0)
    return Borders{};
  return b;
}

float SdlDesktop::WindowWidth() {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_.get(), &w, &h);
  const Borders b = WindowBorders();
  return static_cast<float>(w + b.left + b.right) * kTwipsPerPixel;
}

float SdlDesktop::WindowHeight() {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_.get(), &w, &h);
  const Borders b = WindowBorders();
  return static_cast<float>(h + b.top + b.bottom) * kTwipsPerPixel;
}

void SdlDesktop::SetWindowPosition(float left, float top) {
  // SDL places the client area; the outer frame's corner is to land on (left, top).
  const Borders b = WindowBorders();
  const auto x = static_cast<int>(std::lround(left / kTwipsPerPixel));
  const auto y = static_cast<int>(std::lround(top / kTwipsPerPixel));
  SDL_SetWindowPosition(window_.get(), x + b.left, y + b.top);
}

void SdlDesktop::SetCaption(std::string_view caption) {
  SDL_SetWindowTitle(window_.get(), std::string(caption).c_str());
}

void SdlDesktop::SetMenu(const std::vector<std::string>& entries) {
  TTF_Font* font = fonts_.OpenPixels("sans-serif", kMenuFontPixels, false);
  const Pixel textColor = Rgb(kMenuText.r, kMenuText.g, kMenuText.b);
  menu_.clear();
  int x = kMenuFirstX;
  for (const std::string& caption : entries) {
    MenuEntry entry;
    entry.caption = caption;
    entry.text = TextTexture(font, caption, textColor, entry.textWidth, entry.textHeight);
    // Without a font the entry is still there to click, as wide as its caption would be.
    const int width = entry.text ? entry.textWidth : 7 * static_cast<int>(caption.size());
    entry.box = {x, 1, width + 2 * kMenuPadding, kMenuHeight - 3};
    x += entry.box.w;
    menu_.push_back(std::move(entry));
  }
  hover_ = pressed_ = -1;
  Repaint();
}

void SdlDesktop::ShowWindow() {
  SDL_ShowWindow(window_.get());
  Repaint();
}

void SdlDesktop::PumpEvents(WindowEvents& events) {
  SDL_Event event;
  while (!events.Ended() && SDL_PollEvent(&event)) Dispatch(event, events);
  if (repaintDue_ && !events.Ended()) Repaint();
}

void SdlDesktop::Dispatch(const SDL_Event& event, WindowEvents& events) {
  switch (event.type) {
    case SDL_QUIT:
      events.Unload();
      break;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          events.Unload();
          break;
        case SDL_WINDOWEVENT_LEAVE:
          SetHover(-1);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          repaintDue_ = true;
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN: {
      if (MenuAccessKey(event.key, events)) break;
      int16_t keyCode = VirtualKeyCode(event.key.keysym);
      if (keyCode != 0) events.KeyDown(keyCode, ShiftBits(event.key.keysym.mod));
      break;
    }
    case SDL_MOUSEMOTION:
      SetHover(MenuEntryAt(event.motion.x, event.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT) {
        pressed_ = MenuEntryAt(event.button.x, event.button.y);
        SetHover(pressed_);
        repaintDue_ = true;
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT && pressed_ >= 0) {
        const int entry = MenuEntryAt(event.button.x, event.button.y);
        const bool clicked = entry == pressed_;
        pressed_ = -1;
        SetHover(entry);
        Repaint();  // the entry pops up again before the menu's action runs
        if (clicked) events.MenuClick(entry);
      }
      break;
    default:
      break;
  }
}

// Alt with the first letter of an entry's caption clicks that entry, as a menu bar's access key
// does; the key then goes no further.
bool SdlDesktop::MenuAccessKey(const SDL_KeyboardEvent& key, WindowEvents& events) {
  const uint16_t mod = key.keysym.mod;
  if ((mod & KMOD_ALT) == 0 || (mod & KMOD_CTRL) != 0 || key.repeat != 0) return false;
  const int16_t code = VirtualKeyCode(key.keysym);
  if (code < 'A' || code > 'Z') return false;
  for (size_t i = 0; i < menu_.size(); ++i) {
    const std::string& caption = menu_[i].caption;
    if (caption.empty()) continue;
    const char first = caption[0];
    const char upper =
        (first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
    if (upper == code) {
      events.MenuClick(static_cast<int>(i));
      return true;
    }
  }
  return false;
}

int SdlDesktop::MenuEntryAt(int x, int y) const {
  // Positions are in client pixels; those in the border around a scaled client area lie outside.
  const SDL_Point p{x, y};
  for (size_t i = 0; i < menu_.size(); ++i)
    if (SDL_PointInRect(&p, &menu_[i].box)) return static_cast<int>(i);
  return -1;
}

void SdlDesktop::SetHover(int entry) {
  if (entry == hover_) return;
  hover_ = entry;
  repaintDue_ = true;
}

void SdlDesktop::WaitEvents(std::optional<uint32_t> due) {
  if (!due) {
    SDL_WaitEvent(nullptr);
    return;
  }
  for (;;) {
    const uint64_t now = BootNanoseconds();
    const int32_t left = static_cast<int32_t>(*due - clock_.timeGetTime());
    if (left <= 0) return;
    if (left > kPreciseSleepMs) {
      if (SDL_WaitEventTimeout(nullptr, left - kPreciseSleepMs) != 0) return;
      continue;
    }
    // The last stretch: SDL's wait wakes on whole milliseconds and may wake one late, and a slot
    // that fires late never catches up. The clock counts whole milliseconds of the boot clock, so
    // sleep to the very nanosecond at which it turns to `due`. The boot clock was read first: if
    // the millisecond turned in between, this wakes a millisecond early and goes round again,
    // never late.
    SleepUntilBootNanoseconds((now / 1'000'000u + static_cast<uint64_t>(left)) * 1'000'000u);
  }
}

void SdlDesktop::Present(const Scene& scene) {
  UploadPage(scene);
  labels_.resize(scene.labels.size());
  for (size_t i = 0; i < scene.labels.size(); ++i) UpdateLabel(labels_[i], scene.labels[i]);
  Repaint();
}

Surface SdlDesktop::ReadClientArea() {
  Surface shown(kClientWidth, kClientHeight);
  const SDL_Rect all{0, 0, kClientWidth, kClientHeight};
  if (SDL_RenderReadPixels(renderer_.get(), &all, SDL_PIXELFORMAT_RGB888, shown.Row(0),
                           kClientWidth * static_cast<int>(sizeof(Pixel))) != 0) {
    throw FatalError(std::string("Reading the window's pixels failed: ") + SDL_GetError());
  }
  for (int y = 0; y < kClientHeight; ++y) {
    Pixel* row = shown.Row(y);
    for (int x = 0; x < kClientWidth; ++x) row[x] &= 0x00FFFFFF;  // the unused byte
  }
  return shown;
}

void SdlDesktop::UploadPage(const Scene& scene) {
  const SDL_Rect page{0, 0, kPageWidth, kPageHeight};
  SDL_Rect canvas{};
  if (scene.canvas != nullptr && !scene.canvas->Empty()) {
    const SDL_Rect wanted{scene.canvasX, scene.canvasY, scene.canvas->Width(),
                          scene.canvas->Height()};
    if (!SDL_IntersectRect(&wanted, &page, &canvas)) canvas = {};
  }

  if (scene.chrome != nullptr && !scene.chrome->Empty()) {
    // Where the canvas no longer lies, the chrome shows again.
    const bool canvasMoved = !SameRect(canvas, canvasRect_) && !SDL_RectEmpty(&canvasRect_);
    if (chromeRevision_ != scene.chromeRevision || canvasMoved) {
      const SDL_Rect full{0, 0, scene.chrome->Width(), scene.chrome->Height()};
      SDL_Rect area{};
      if (SDL_IntersectRect(&full, &page, &area))
        SDL_UpdateTexture(page_.get(), &area, scene.chrome->Row(0),
                          scene.chrome->Width() * static_cast<int>(sizeof(Pixel)));
      chromeRevision_ = scene.chromeRevision;
    }
  }

  if (!SDL_RectEmpty(&canvas)) {
    const Pixel* first = scene.canvas->Row(canvas.y - scene.canvasY) + (canvas.x - scene.canvasX);
    SDL_UpdateTexture(page_.get(), &canvas, first,
                      scene.canvas->Width() * static_cast<int>(sizeof(Pixel)));
  }
  canvasRect_ = canvas;
}

void SdlDesktop::UpdateLabel(LabelImage& image, const LabelView& view) {
  image.box = {view.x, kMenuHeight + view.y, view.w, view.h};
  if (view.label == nullptr) {
    image.text.reset();
    image.caption.clear();
    return;
  }
  const Label& label = *view.label;
  const bool same = image.caption == label.Caption && image.color == label.ForeColor &&
                    SameFace(image.face, label.Face);
  if (same) return;
  image.caption = label.Caption;
  image.color = label.ForeColor;
  image.face = label.Face;
  // Lines break where the caption breaks them, never to fit the box: the stand-in face runs a
  // little wider than the face the box was laid out for, and a clock that wrapped its time onto a
  // hidden second line would be worse than one that runs a few pixels past the box.
  image.text = TextTexture(fonts_.Open(label.Face), WithLineBreaks(label.Caption), label.ForeColor,
                           image.width, image.height);
}

TexturePtr SdlDesktop::TextTexture(TTF_Font* font, const std::string& text, Pixel color, int& width,
                                   int& height) {
  width = height = 0;
  if (font == nullptr || text.empty()) return nullptr;
  // Left-aligned, broken at "\n" only. A text the font cannot lay out (nothing but line breaks,
  // say) draws nothing.
  SurfacePtr drawn(TTF_RenderUTF8_Blended_Wrapped(font, text.c_str(), ToSdlColor(color), 0));
  if (!drawn) return nullptr;
  TexturePtr texture = SdlOwn<TexturePtr>(
      SDL_CreateTextureFromSurface(renderer_.get(), drawn.get()), "Creating a text texture");
  SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeNearest);
  width = drawn->w;
  height = drawn->h;
  return texture;
}

void SdlDesktop::Repaint() {
  repaintDue_ = false;
  SDL_Renderer* r = renderer_.get();
  // The border around a scaled client area stays black. At the natural size the menu strip and
  // the page cover every pixel, and clearing would only cost a pass over the window each frame.
  int outputWidth = 0, outputHeight = 0;
  if (SDL_GetRendererOutputSize(r, &outputWidth, &outputHeight) != 0 ||
      outputWidth != kClientWidth || outputHeight != kClientHeight) {
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
  }
  DrawMenuStrip();
  SDL_RenderCopy(r, page_.get(), nullptr, &kPageArea);
  for (const LabelImage& image : labels_) {
    if (!image.text) continue;
    // Clipped to the label's box and to the page area, except that the text may run on past the
    // box's right edge up to the page's: the stand-in face is a few pixels wider than the face
    // the box was laid out for, and the clock's last digit must stay whole.
    SDL_Rect wide = image.box;
    wide.w = std::max(image.box.w, kPageArea.x + kPageArea.w - image.box.x);
    SDL_Rect box{};
    if (!SDL_IntersectRect(&wide, &kPageArea, &box)) continue;
    const SDL_Rect drawn{image.box.x, image.box.y, image.width, image.height};
    SDL_Rect dst{};
    if (!SDL_IntersectRect(&drawn, &box, &dst)) continue;
    const SDL_Rect src{dst.x - image.box.x, dst.y - image.box.y, dst.w, dst.h};
    SDL_RenderCopy(r, image.text.get(), &src, &dst);
  }
  SDL_RenderPresent(r);
}

void SdlDesktop::DrawMenuStrip() {
  SDL_Renderer* r = renderer_.get();
  const SDL_Rect strip{0, 0, kClientWidth, kMenuHeight - 1};
  SetDrawColor(r, kMenuFace);
  SDL_RenderFillRect(r, &strip);
  SetDrawColor(r, kMenuShadow);
  SDL_RenderDrawLine(r, 0, kMenuHeight - 1, kClientWidth - 1, kMenuHeight - 1);

  for (size_t i = 0; i < menu_.size(); ++i) {
    const MenuEntry& entry = menu_[i];
    const bool pressed = static_cast<int>(i) == pressed_ && pressed_ == hover_;
    if (pressed)
      DrawFrame(r, entry.box, kMenuShadow, kMenuLight);
    else if (static_cast<int>(i) == hover_)
      DrawFrame(r, entry.box, kMenuLight, kMenuShadow);
    if (!entry.text) continue;
    const int shift = pressed ? 1 : 0;
    const SDL_Rect dst{entry.box.x + kMenuPadding + shift,
                       entry.box.y + (entry.box.h - entry.textHeight) / 2 + shift, entry.textWidth,
                       entry.textHeight};
    SDL_RenderCopy(r, entry.text.get(), nullptr, &dst);
  }
}

void SdlDesktop::MessageBox(std::string_view title, std::string_view text) {
  SDL_ShowSimpleMessageBox(0, std::string(title).c_str(), std::string(text).c_str(), window_.get());
  // The box is modal: keys and clicks that reached the window meanwhile are not the window's.
  // Window and quit events stay, so a close or an exposure is still seen.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
  pressed_ = -1;
  hover_ = -1;
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  float lx = 0, ly = 0;
  SDL_RenderWindowToLogical(renderer_.get(), x, y, &lx, &ly);
  if (SDL_GetMouseFocus() == window_.get())
    hover_ = MenuEntryAt(static_cast<int>(std::floor(lx)), static_cast<int>(std::floor(ly)));
  Repaint();
}

}  // namespace ombrevale
