#include "app/TitleRun.h"

namespace ombrevale {

bool StartsCalm(bool calmAsked, Desktop& desktop) {
  return calmAsked || desktop.PrefersLessMotion();
}

void PrepareTitle(App& app, const TitleAsked& decided) {
  if (decided.noFlashLimit) app.form.TurnFlashLimitOff();
  if (decided.calm) app.form.AskCalmStart();
}

int RunTitle(Platform& platform, const TitleAsked& asked) {
  App app(platform);
  PrepareTitle(app, {StartsCalm(asked.calm, platform.desktop), asked.noFlashLimit});
  return Main(app);
}

void StartTitle(App& app, const TitleAsked& asked) {
  PrepareTitle(app, {StartsCalm(asked.calm, app.platform.desktop), asked.noFlashLimit});
  StartMain(app);
}

}  // namespace ombrevale
