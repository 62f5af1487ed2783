#pragma once

// The program's run on a desktop as a session: recorded as it goes, so that the flight recorder
// keeps its last minute and --record can write it whole; or a replay of one, shown as the player
// saw it and checked frame by frame.

#include <functional>
#include <optional>
#include <string>

#include "app/ReplayFiles.h"
#include "app/ReplayRun.h"
#include "app/TitleRun.h"
#include "platform/Platform.h"

namespace ombrevale {

struct SessionRecording {
  std::string platform;                 // the desktop's name, as the replay keeps it
  std::optional<std::string> recordTo;  // --record FILE: the whole session, written at its end
  StateFolderChoice stateFolder;        // where the flight recorder writes its last minute
};

// Runs the title page on `platform` as RunTitle does, prepared as asked by the same rules, the
// session recorded: the replay keeps whether it started calm and whether the flash limit was off.
// Ctrl+Shift+R keeps the last minute as a replay in the state folder and says where. A fatal error
// is said, the last minute kept, then `showFatal` shows it (the desktop's error box): status 1.
int RunRecordedSession(Platform& platform, const TitleAsked& asked, const SessionRecording& recording,
                       const std::function<void(const std::string&)>& showFatal);

// Plays the replay at `path` on `platform`'s desktop in real time, checked, and says how it went
// (app/ReplayRun.h): status 0 when every frame was as recorded, 1 when one was not or the replay's
// session ended on a fatal error, 2 when the file cannot be played.
int RunReplay(const std::string& path, Platform& platform, const PictureWriter& write);

}  // namespace ombrevale
