#pragma once

#include "app/DrawVision.h"
#include "app/Form1.h"
#include "platform/Platform.h"
#include "sound/SoundAPI.h"
#include "text/MessageP.h"
#include "timing/TimeAPI.h"
#include "vision/VisionP.h"

namespace ombrevale {

// One running system: its modules with their state, on the services of a platform.
struct App {
  explicit App(Platform& p)
      : platform(p),
        sound(p.media),
        message(time),
        form(p, time, sound, message),
        vision(form.PicTitle1, form, form.LabMain1, p.random, p.clock) {}

  Platform& platform;
  TimeAPI time;
  SoundAPI sound;
  MessageP message;
  Form1 form;
  VisionP vision;
};

// Fills the slot table, shows the main window and runs the loop until the window is closed.
// Returns the exit status, 0.
int Main(App& app);

// The loop taken one pass at a time, for a desktop whose own event loop calls the program (the
// browser's) instead of the program waiting for it. StartMain fills the slot table and shows the
// main window; each StepMain delivers the pending events, then fires the slots that are due, and
// returns false once the window is closed (then no slot fired). NextDue(app.time) then tells when
// to call it again. Main is StartMain, then StepMain and a wait for events or that reading, over
// and over.
void StartMain(App& app);
bool StepMain(App& app);

// Calls the handler that the slot table gives slot `j`; a slot without one does nothing.
void RunSlot(App& app, int j);

}  // namespace ombrevale
