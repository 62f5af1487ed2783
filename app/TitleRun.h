#pragma once

// The title page's run, written once for every desktop: the system built on the platform, a calm
// start for a player who asked for less motion, on the command line or in the desktop's own
// settings, and the loop until the window is closed.

#include "app/App.h"

namespace ombrevale {

// The calm start's rule: the player's word (`calmAsked`: --calm), or the desktop's own setting
// for less motion, asked once.
bool StartsCalm(bool calmAsked, Desktop& desktop);

// Builds the system on `platform` and runs the loop until the window is closed, the title page
// starting calm where the player asked for it (`calmAsked`: --calm) or the desktop says the player
// wants less motion. Returns the exit status.
int RunTitle(Platform& platform, bool calmAsked);

// The same for a desktop whose own event loop calls the program (the browser's): the calm start
// by the same rule, then the loop's start (StartMain); the passes follow with StepMain.
void StartTitle(App& app, bool calmAsked);

}  // namespace ombrevale
