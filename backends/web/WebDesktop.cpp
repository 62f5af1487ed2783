#include "backends/web/WebDesktop.h"

#include <emscripten.h>

#include "platform/Controls.h"

// The page's side of the window (page.js), reached through the program's side (program.js).
// clang-format off
EM_JS(double, PageScreenWidth, (), { return OmbrevaleProgram.screen().width; });
EM_JS(double, PageScreenHeight, (), { return OmbrevaleProgram.screen().height; });
EM_JS(void, PageSetTitle, (const char* title),
      { OmbrevaleProgram.show('setTitle', UTF8ToString(title)); });
EM_JS(void, PageAddMenuEntry, (int index, const char* caption),
      { OmbrevaleProgram.show('addMenuEntry', index, UTF8ToString(caption)); });
EM_JS(void, PageSetScale, (int scale), { OmbrevaleProgram.show('setScale', scale); });
EM_JS(void, PageShow, (), { OmbrevaleProgram.show('show'); });
EM_JS(double, PageShownScale, (), { return OmbrevaleProgram.shownScale(); });
EM_ASYNC_JS(void, PageShowBox, (const char* title, const char* text),
            { await OmbrevaleProgram.showBox(UTF8ToString(title), UTF8ToString(text)); });
// clang-format on

namespace ombrevale {

float WebDesktop::ScreenWidth() {
  return static_cast<float>(PageScreenWidth()) * kTwipsPerPixel;
}

float WebDesktop::ScreenHeight() {
  return static_cast<float>(PageScreenHeight()) * kTwipsPerPixel;
}

void WebDesktop::SetWindowSize(float width, float height) {
  width_ = width;
  height_ = height;
}

void WebDesktop::SetCaption(std::string_view caption) {
  PageSetTitle(std::string(caption).c_str());
}

void WebDesktop::SetMenu(const std::vector<std::string>& entries) {
  for (size_t i = 0; i < entries.size(); ++i)
    PageAddMenuEntry(static_cast<int>(i), entries[i].c_str());
}

void WebDesktop::AskScale(std::optional<int> scale) {
  PageSetScale(scale.value_or(0));
}

double WebDesktop::ShownScale() {
  return PageShownScale();
}

void WebDesktop::ShowWindow() {
  PageShow();
}

void WebDesktop::MessageBox(std::string_view title, std::string_view text) {
  PageShowBox(std::string(title).c_str(), std::string(text).c_str());
}

}  // namespace ombrevale
