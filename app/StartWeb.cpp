// Ombrevale on a web page: reads the page's settings (a fixed seed and start time, a factor asked
// for, a calm start for a visitor who asked for less motion, the flash limit turned off), loads the
// main window from the pictures the page prepared, and hands the page one pass of the loop at a
// time, to call from the browser's event loop when the next slot is due.

#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/App.h"
#include "app/PageAddress.h"
#include "app/TitleRun.h"
#include "backends/web/PageMusicConsole.h"
#include "backends/web/PageNames.h"
#include "backends/web/WebClock.h"
#include "backends/web/WebDesktop.h"
#include "backends/web/WebMedia.h"
#include "backends/web/WebPictures.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"

// The page's settings (page.js): the address's seed, start time, scale and flash-limit; "" for a
// setting not given.
// clang-format off
EM_JS(char*, PageSetting, (const char* name),
      { return allocateUTF8(OmbrevaleProgram.setting(UTF8ToString(name))); });
EM_JS(void, PageFatalError, (const char* show, const char* text),
      { OmbrevaleProgram.show(UTF8ToString(show), UTF8ToString(text)); });
EM_JS(void, PageLoaded, (), { OmbrevaleProgram.loaded(); });
// clang-format on

namespace ombrevale {
namespace {

std::string Setting(const char* name) {
  char* value = PageSetting(name);
  std::string text(value);
  free(value);
  return text;
}

// The running system and what it runs on, for as long as the page is open.
struct PageProgram {
  PageProgram(std::optional<DateTimeFields> start, std::optional<uint32_t> seed)
      : clock(start),
        random(seed ? std::unique_ptr<Random>(new SeededRandom(*seed))
                    : std::unique_ptr<Random>(new SystemRandom)) {}
  WebClock clock;
  std::unique_ptr<Random> random;
  WebDesktop desktop;
  WebMedia media;
  Platform platform{clock, *random, desktop, media, PagePictures()};
  App app{platform};
};

PageProgram* program = nullptr;

}  // namespace
}  // namespace ombrevale

extern "C" {

// One pass of the loop. Returns the milliseconds until the next slot is due (0: at once), or -1
// once the window is closed.
EMSCRIPTEN_KEEPALIVE int OmbrevaleStep() {
  using namespace ombrevale;
  if (program == nullptr || !StepMain(program->app)) return -1;
  const std::optional<uint32_t> due = NextDue(program->app.time);
  if (!due) return -1;
  const int32_t wait = static_cast<int32_t>(*due - program->clock.timeGetTime());
  return wait > 0 ? wait : 0;
}

}  // extern "C"

int main() {
  using namespace ombrevale;
  // The address's values, each one it cannot take said once on the console.
  const PageAddress address = ReadPageAddress(Setting);
  for (const std::string& warning : address.warnings) std::fprintf(stderr, "%s\n", warning.c_str());
  try {
    program = new PageProgram(address.start, address.seed);
    program->desktop.AskScale(address.scale);
    // ?flash-limit=off shows the vision as designed; anything else keeps the limit.
    const bool noFlashLimit = Setting("flash-limit") == "off";
    if (noFlashLimit) Complain(kFlashLimitOff);
    OpenMusicConsole(program->media, [](auto& path, bool loop) {
      return program->app.sound.PlayMusic(path, loop);
    });
    // The page has no command line: a visitor's wish for less motion is the desktop's setting.
    StartTitle(program->app, {.calm = false, .noFlashLimit = noFlashLimit});
  } catch (const FatalError& e) {
    // The window never shows: the page says what happened, in the program's words, instead, and
    // the console as every complaint is said.
    program = nullptr;
    Complain(e.what());
    PageFatalError(page::kShowFatalError, e.what());
    return 1;
  }
  PageLoaded();
  return 0;
}
