#include "app/App.h"

namespace ombrevale {

void RunSlot(App& app, int j) {
  switch (j) {
    case 0:
      app.sound.PollMusic();
      break;
    case 1:
      app.message.TypeTick();
      break;
    case 2:
      app.vision.DrawVision();
      break;
    default:
      break;
  }
}

int Main(App& app) {
  TimeAPI& t = app.time;
  for (int j = 0; j < TimeAPI::kSlots; ++j) t.TimerInterval[j] = 0;
  t.TimerInterval[0] = 200;
  t.TimerInterval[1] = 200;
  t.TimerInterval[2] = 20;

  app.form.Show();

  Desktop& desktop = app.platform.desktop;
  for (;;) {
    desktop.PumpEvents(app.form);
    if (app.form.Ended()) return 0;  // closed: no slot fires after the close

    FireDueSlots(t, app.platform.clock.timeGetTime(), [&app](int j) { RunSlot(app, j); });

    // Unlike a loop that spins, wait for window events until the next slot is due, never longer.
    desktop.WaitEvents(NextDue(t));
  }
}

}  // namespace ombrevale
