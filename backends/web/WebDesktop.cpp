#include "backends/web/WebDesktop.h"

#include <emscripten.h>

#include "backends/web/PageNames.h"
#include "backends/web/WebClock.h"
#include "platform/Controls.h"
#include "platform/TextLines.h"

// The page's side of the window (page.js), reached through the program's side (program.js), each
// thing shown by its name (PageNames.h).
// clang-format off
EM_JS(double, PageScreenWidth, (), { return OmbrevaleProgram.screen().width; });
EM_JS(double, PageScreenHeight, (), { return OmbrevaleProgram.screen().height; });
EM_JS(void, PageShowText, (const char* show, const char* text),
      { OmbrevaleProgram.show(UTF8ToString(show), UTF8ToString(text)); });
EM_JS(void, PageShowNumbered, (const char* show, int number, const char* text),
      { OmbrevaleProgram.show(UTF8ToString(show), number, UTF8ToString(text)); });
EM_JS(void, PageShowNumber, (const char* show, int number),
      { OmbrevaleProgram.show(UTF8ToString(show), number); });
EM_JS(void, PageShow, (const char* show), { OmbrevaleProgram.show(UTF8ToString(show)); });
EM_JS(int, PageAsksCalm, (), { return OmbrevaleProgram.setting('calm') === '1' ? 1 : 0; });
EM_JS(double, PageShownScale, (), { return OmbrevaleProgram.shownScale(); });
// The box, closed by itself after `ms` milliseconds unless `ms` is negative.
EM_ASYNC_JS(void, PageShowBox, (const char* title, const char* text, int ms),
            { await OmbrevaleProgram.showBox(UTF8ToString(title), UTF8ToString(text), ms); });
// The window's shape as the page said it last, into `values` (width, height, fullscreen); 0 when
// it has not said.
EM_JS(int, PageShape, (int* values), {
  const shape = OmbrevaleProgram.shape();
  if (!shape) return 0;
  HEAP32.set([shape.width, shape.height, shape.fullscreen ? 1 : 0], values >> 2);
  return 1;
});
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

bool WebDesktop::PrefersLessMotion() {
  return PageAsksCalm() != 0;
}

void WebDesktop::SetCaption(std::string_view caption) {
  PageShowText(page::kShowTitle, std::string(caption).c_str());
}

void WebDesktop::SetMenu(const std::vector<std::string>& entries) {
  for (size_t i = 0; i < entries.size(); ++i)
    PageShowNumbered(page::kShowMenuEntry, static_cast<int>(i), entries[i].c_str());
}

void WebDesktop::AskScale(std::optional<int> scale) {
  PageShowNumber(page::kShowScale, scale.value_or(0));
}

double WebDesktop::ShownScale() {
  return PageShownScale();
}

void WebDesktop::ShowWindow() {
  PageShow(page::kShowWindow);
}

void WebDesktop::MessageBox(std::string_view title, std::string_view text) {
  PageShowBox(std::string(title).c_str(), WithNewlines(text).c_str(), -1);
}

void WebDesktop::MessageBoxUntil(std::string_view title, std::string_view text, uint32_t closeAt) {
  const auto left = static_cast<int32_t>(closeAt - PageMilliseconds());
  PageShowBox(std::string(title).c_str(), WithNewlines(text).c_str(), left > 0 ? left : 0);
}

std::optional<WindowShape> WebDesktop::Shape() {
  int values[3] = {};
  if (!PageShape(values)) return std::nullopt;
  return WindowShape{values[0], values[1], values[2] != 0};
}

}  // namespace ombrevale
