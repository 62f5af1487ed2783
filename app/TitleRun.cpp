#include "app/TitleRun.h"

namespace ombrevale {
namespace {

// The calm start's rule: the player's word here, or the desktop's own setting, asked once.
bool StartsCalm(bool calmAsked, Desktop& desktop) {
  return calmAsked || desktop.PrefersLessMotion();
}

}  // namespace

int RunTitle(Platform& platform, bool calmAsked) {
  App app(platform);
  if (StartsCalm(calmAsked, platform.desktop)) app.form.AskCalmStart();
  return Main(app);
}

void StartTitle(App& app, bool calmAsked) {
  if (StartsCalm(calmAsked, app.platform.desktop)) app.form.AskCalmStart();
  StartMain(app);
}

}  // namespace ombrevale
