#pragma once

// The player's own word on motion: Windows' "Show animations in Windows" (Settings, Accessibility,
// Visual effects). A player who turned it off asked for less motion, and the title vision starts
// calm.

namespace ombrevale {

// Whether the system shows animations; true where it cannot say, so that the vision moves as ever.
bool WindowsShowsAnimations();

}  // namespace ombrevale
