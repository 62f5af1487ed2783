#include "app/TitleRun.h"

namespace ombrevale {

bool StartsCalm(bool calmAsked, Desktop& desktop) {
  return calmAsked || desktop.PrefersLessMotion();
}

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
