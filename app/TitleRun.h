#pragma once

// The title page's run, written once for every desktop: the system built on the platform, a calm
// start for a player who asked for less motion, on the command line or in the desktop's own
// settings, the flash limit turned off where the player asked for the vision as designed, and the
// loop until the window is closed.

#include "app/App.h"

namespace ombrevale {

// What the player asked of the title page as the program starts: on the command line, or in the
// page's address.
struct TitleAsked {
  bool calm = false;          // --calm: start with the vision still
  bool noFlashLimit = false;  // --no-flash-limit: the vision as designed, its flashes not limited
};

// The calm start's rule: the player's word (`calmAsked`: --calm), or the desktop's own setting
// for less motion, asked once.
bool StartsCalm(bool calmAsked, Desktop& desktop);

// Sets the title page of `app` up as already decided: calm when `decided.calm` (the rule above,
// applied by the caller, which also keeps it: a recorded session writes it in its replay, a replay
// reads it there), and the flash limit off when asked. The desktop is not asked again.
void PrepareTitle(App& app, const TitleAsked& decided);

// Builds the system on `platform`, prepares its title page as asked and runs the loop until the
// window is closed. Returns the exit status.
int RunTitle(Platform& platform, const TitleAsked& asked);

// The same for a desktop whose own event loop calls the program (the browser's): the title page
// prepared by the same rules, then the loop's start (StartMain); the passes follow with StepMain.
void StartTitle(App& app, const TitleAsked& asked);

}  // namespace ombrevale
