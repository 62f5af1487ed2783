// Ombrevale on a web page: reads the page's settings (a fixed seed and start time, a factor asked
// for, a calm start for a visitor who asked for less motion, the flash limit turned off, a replay
// to play), loads the main window from the pictures the page prepared, and hands the page one pass
// of the loop at a time, to call from the browser's event loop when the next slot is due. The
// visitor's session is recorded as it runs, to be saved as a replay; a replay the address names is
// played instead, at the pace of its own clock, checked frame by frame.

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/PageAddress.h"
#include "app/RecordedServices.h"
#include "app/ReplayFiles.h"
#include "app/ReplayRun.h"
#include "app/TitleRun.h"
#include "backends/web/PageMusicConsole.h"
#include "backends/web/PageNames.h"
#include "backends/web/WebClock.h"
#include "backends/web/WebDesktop.h"
#include "backends/web/WebMedia.h"
#include "backends/web/WebPictures.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"

// The page's settings (page.js): the address's seed, start time, scale, flash-limit and replay, and
// "1" for calm when the visitor's system asks for less motion; "" for a setting not given.
// clang-format off
EM_JS(char*, PageSetting, (const char* name),
      { return allocateUTF8(OmbrevaleProgram.setting(UTF8ToString(name))); });
EM_JS(void, PageFatalError, (const char* show, const char* text),
      { OmbrevaleProgram.show(UTF8ToString(show), UTF8ToString(text)); });
EM_JS(void, PageLoaded, (), { OmbrevaleProgram.loaded(); });
// Bytes for the page: a replay to download or to offer.
EM_JS(void, PageShowBytes, (const char* show, const uint8_t* bytes, size_t size),
      { OmbrevaleProgram.show(UTF8ToString(show), HEAPU8.slice(bytes, bytes + size)); });
// How a replay played: said on the console, an error when `failed`, and in the page's note.
EM_JS(void, PageReplayOutcome, (const char* show, const char* text, int failed),
      { OmbrevaleProgram.show(UTF8ToString(show), UTF8ToString(text), failed !== 0); });
// The replay the address names, as the program's side fetched it: why it could not (null when it
// could), its size, and its bytes copied to `to`.
EM_JS(char*, PageReplayFailure, (), {
  const failure = OmbrevaleProgram.replay().failure;
  return failure ? allocateUTF8(failure) : 0;
});
EM_JS(int, PageReplaySize, (), { return OmbrevaleProgram.replay().bytes.length; });
EM_JS(void, PageReplayCopy, (uint8_t* to), { HEAPU8.set(OmbrevaleProgram.replay().bytes, to); });
// clang-format on

namespace ombrevale {
namespace {

std::string Owned(char* text) {
  std::string owned(text);
  std::free(text);
  return owned;
}

std::string Setting(const char* name) {
  return Owned(PageSetting(name));
}

// The page's desktop and what the program runs on, for as long as the page is open.
struct PageServices {
  PageServices(std::optional<DateTimeFields> start, std::optional<uint32_t> seed)
      : clock(start),
        random(seed ? std::unique_ptr<Random>(new SeededRandom(*seed))
                    : std::unique_ptr<Random>(new SystemRandom)) {}
  WebClock clock;
  std::unique_ptr<Random> random;
  WebDesktop desktop;
  WebMedia media;
  Platform platform{clock, *random, desktop, media, PagePictures()};
};

// The visitor's session, recorded as it runs: every frame's hash, to save it whole (the page's
// "Save replay"), and its last minute, offered when a fatal error ends it.
// The page has no command line: a visitor's wish for less motion is the desktop's setting.
struct RecordedPage {
  RecordedPage(PageServices& s, const TitleAsked& asked)
      : calm(StartsCalm(asked.calm, s.desktop)),
        recorder(SessionHeader(s.clock, "web", calm, asked.noFlashLimit), std::nullopt),
        recorded(s.platform, recorder, {}),
        app(recorded.platform) {
    PrepareTitle(app, {calm, asked.noFlashLimit});
  }
  bool calm;
  SessionRecorder recorder;
  RecordedPlatform recorded;
  App app;
};

// A replay played on the page in real time, as the player saw it: the page's clock paces it.
struct ReplayedPage {
  ReplayedPage(PageServices& s, std::string given, Replay read)
      : name(std::move(given)),
        replay(std::move(read)),
        session(replay, s.media, s.platform.pictures, Showing(s)) {}
  static ReplayShowing Showing(PageServices& s) {
    ReplayShowing showing;
    showing.desktop = &s.desktop;
    showing.clock = &s.clock;
    return showing;
  }
  std::string name;  // as the address gives it
  Replay replay;
  ReplaySession session;
  std::optional<uint32_t> due;  // when the next pass is due, on the page's clock
};

struct PageProgram {
  PageProgram(std::optional<DateTimeFields> start, std::optional<uint32_t> seed)
      : services(start, seed) {}
  App& Program() { return replayed ? replayed->session.Program() : recorded->app; }
  PageServices services;
  std::unique_ptr<RecordedPage> recorded;
  std::unique_ptr<ReplayedPage> replayed;
};

PageProgram* program = nullptr;

// The replay the address names, fetched by the page's side; throws ReplayError with the sentence
// that says why it cannot be played.
Replay FetchedReplay(const std::string& name) {
  if (char* failure = PageReplayFailure())
    throw ReplayError("cannot play " + name + ": it could not be fetched (" + Owned(failure) + ")");
  std::vector<uint8_t> bytes(static_cast<size_t>(PageReplaySize()));
  PageReplayCopy(bytes.data());
  return ReplayFromBytes(name, bytes);
}

// A fatal error: said on the console and on the page in place of the window, and the last minute
// of a recorded session offered as a replay.
void Fail(const FatalError& e) {
  Complain(e.what());
  PageFatalError(page::kShowFatalError, e.what());
  if (program != nullptr && program->recorded) {
    const std::vector<uint8_t> bytes = program->recorded->recorder.File(kFlightMs);
    PageShowBytes(page::kShowLastMinute, bytes.data(), bytes.size());
  }
}

// Says how the replay played, once its window closed.
void ReportReplay(const ReplayedPage& played) {
  const ReplayResult result = played.session.Result();
  if (!result.divergence) {
    PageReplayOutcome(page::kShowReplayOutcome, CheckedLine(played.name, result).c_str(), 0);
    return;
  }
  const std::vector<std::string> said = DivergenceSentences(played.name, *result.divergence);
  PageReplayOutcome(page::kShowReplayOutcome, (said[0] + "; " + said[1]).c_str(), 1);
}

// The milliseconds until `due` on the page's clock, 0 when it is past.
int MsUntil(uint32_t due) {
  const auto wait = static_cast<int32_t>(due - PageMilliseconds());
  return wait > 0 ? wait : 0;
}

// A pass of the replay once it is due (the page wakes the program early for the visitor's keys,
// which a replay does not take); the frames played unshown, as many as 50 ms allow at once.
int StepReplay(ReplayedPage& played) {
  if (played.due && MsUntil(*played.due) > 0) return MsUntil(*played.due);
  const uint32_t began = PageMilliseconds();
  do {
    if (!StepMain(played.session.Program())) {
      ReportReplay(played);
      return -1;
    }
  } while (played.session.FastForwarding() && PageMilliseconds() - began < 50);
  played.due = played.session.NextPassDue();
  return played.due ? MsUntil(*played.due) : 0;
}

int StepRecorded(PageProgram& p) {
  App& app = p.recorded->app;
  if (!StepMain(app)) return -1;
  const std::optional<uint32_t> due = NextDue(app.time);
  if (!due) return -1;
  const int32_t wait = static_cast<int32_t>(*due - p.services.clock.timeGetTime());
  return wait > 0 ? wait : 0;
}

// The program as the address asks for it: the replay it names, or the visitor's own session as
// `asked`, the page at the factor `scale` asks for.
void Begin(PageProgram& p, std::optional<int> scale, const TitleAsked& asked) {
  const std::string replay = Setting("replay");
  if (!replay.empty()) {
    p.replayed = std::make_unique<ReplayedPage>(p.services, replay, FetchedReplay(replay));
  } else {
    p.recorded = std::make_unique<RecordedPage>(p.services, asked);
  }
  p.services.desktop.AskScale(scale);
  OpenMusicConsole(p.services.media,
                   [&p](auto& path, bool loop) { return p.Program().sound.PlayMusic(path, loop); });
  StartMain(p.Program());
}

}  // namespace
}  // namespace ombrevale

extern "C" {

// One pass of the loop. Returns the milliseconds until the next pass is due (0: at once), or -1
// once the window is closed.
EMSCRIPTEN_KEEPALIVE int OmbrevaleStep() {
  using namespace ombrevale;
  if (program == nullptr) return -1;
  try {
    return program->replayed ? StepReplay(*program->replayed) : StepRecorded(*program);
  } catch (const FatalError& e) {
    Fail(e);
    program = nullptr;
    return -1;
  }
}

// Hands the page the visitor's session so far as a replay, every frame checked, to download.
// Returns 0 where there is none (a replay plays).
EMSCRIPTEN_KEEPALIVE int OmbrevaleSaveReplay() {
  using namespace ombrevale;
  if (program == nullptr || !program->recorded) return 0;
  const std::vector<uint8_t> bytes = program->recorded->recorder.File();
  PageShowBytes(page::kShowSavedReplay, bytes.data(), bytes.size());
  return 1;
}

}  // extern "C"

int main() {
  using namespace ombrevale;
  // The address's values, each one it cannot take said once on the console.
  const PageAddress address = ReadPageAddress(Setting);
  for (const std::string& warning : address.warnings) std::fprintf(stderr, "%s\n", warning.c_str());
  // ?flash-limit=off shows the vision as designed; anything else keeps the limit.
  const bool noFlashLimit = Setting("flash-limit") == "off";
  if (noFlashLimit) Complain(kFlashLimitOff);
  program = new PageProgram(address.start, address.seed);
  try {
    Begin(*program, address.scale, {.calm = false, .noFlashLimit = noFlashLimit});
  } catch (const ReplayError& e) {
    // A replay that cannot be played: said once, on the console and in the page's note.
    PageReplayOutcome(page::kShowReplayOutcome, e.what(), 1);
    program = nullptr;
    return 2;
  } catch (const FatalError& e) {
    // The window never shows: the page says what happened, in the program's words, instead, and
    // the console as every complaint is said.
    Fail(e);
    program = nullptr;
    return 1;
  }
  PageLoaded();
  return 0;
}
