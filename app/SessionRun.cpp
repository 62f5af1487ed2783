#include "app/SessionRun.h"

#include "app/App.h"
#include "app/RecordedServices.h"
#include "app/ReplayFiles.h"
#include "app/TitleRun.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"

namespace ombrevale {

int RunRecordedSession(Platform& platform, const TitleAsked& asked, const SessionRecording& recording,
                       const std::function<void(const std::string&)>& showFatal) {
  const bool calm = StartsCalm(asked.calm, platform.desktop);
  // A recording asked for keeps every frame's hash; the flight recorder only its last minute's.
  SessionRecorder recorder(SessionHeader(platform.clock, recording.platform, calm,
                                         asked.noFlashLimit),
                           recording.recordTo ? std::nullopt : std::optional(kFlightMs));
  const auto keepLastMinute = [&] {
    SaveFlightRecord(recording.stateFolder, recorder.File(kFlightMs));
  };
  RecordedPlatform recorded(platform, recorder, keepLastMinute);
  App app(recorded.platform);
  PrepareTitle(app, {calm, asked.noFlashLimit});
  int status = 0;
  try {
    status = Main(app);
  } catch (const FatalError& e) {
    Complain(e.what());
    keepLastMinute();
    showFatal(e.what());
    status = 1;
  }
  if (recording.recordTo) {
    if (const auto failed = SaveReplay(*recording.recordTo, recorder.File())) {
      Complain(*failed);
      return 1;
    }
  }
  return status;
}

int RunReplay(const std::string& path, Platform& platform, const PictureWriter& write) {
  ReplayShowing showing;
  showing.desktop = &platform.desktop;
  showing.clock = &platform.clock;
  showing.followShapes = true;
  return PlayReplayFile(path, platform.media, platform.pictures, showing, write);
}

}  // namespace ombrevale
