#include "app/TitleRun.h"

namespace ombrevale {

bool StartsCalm(bool calmAsked, Desktop& desktop) {
  return calmAsked || desktop.PrefersLessMotion();
}

void PrepareTitle(App& app, const TitleAsked& asked) {
  if (asked.noFlashLimit) app.form.TurnFlashLimitOff();
  if (StartsCalm(asked.calm, app.platform.desktop)) app.form.AskCalmStart();
}

int RunTitle(Platform& platform, const TitleAsked& asked) {
  App app(platform);
  PrepareTitle(app, asked);
  return Main(app);
}

void StartTitle(App& app, const TitleAsked& asked) {
  PrepareTitle(app, asked);
  StartMain(app);
}

}  // namespace ombrevale
