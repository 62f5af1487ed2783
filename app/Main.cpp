#include "app/App.h"
#include "timing/TimerSlots.h"

namespace ombrevale {

void RunSlot(App& app, int j) {
  const TimerSlot* row = SlotAt(j);
  if (row == nullptr) return;
  switch (row->handler) {
    case SlotHandler::PollMusic:
      app.sound.PollMusic();
      break;
    case SlotHandler::TypeTick:
      app.message.TypeTick();
      break;
    case SlotHandler::DrawVision:
      DrawVision(app.vision, app.form);
      break;
  }
}

void StartMain(App& app) {
  TimeAPI& t = app.time;
  for (int j = 0; j < TimeAPI::kSlots; ++j) t.TimerInterval[j] = 0;
  for (const TimerSlot& row : kTimerSlots) t.TimerInterval[row.slot] = row.interval;

  app.form.Show();
}

bool StepMain(App& app) {
  app.platform.desktop.PumpEvents(app.form);
  if (app.form.Ended()) return false;  // closed: no slot fires after the close

  FireDueSlots(app.time, app.platform.clock.timeGetTime(), [&app](int j) { RunSlot(app, j); });
  return true;
}

int Main(App& app) {
  StartMain(app);
  // Unlike a loop that spins, wait for window events until the next slot is due, never longer.
  while (StepMain(app)) app.platform.desktop.WaitEvents(NextDue(app.time));
  return 0;
}

}  // namespace ombrevale
