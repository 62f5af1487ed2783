#pragma once

// Slot 2's frame of the title vision, from the top: the vision paints the canvas, the window shows
// it, and only then does the vision roll for the coming frames and write the clock.

#include "app/Form1.h"
#include "vision/VisionP.h"

namespace ombrevale {

// Composes one frame into the window's canvas, shows it on screen at once, then rolls the layers
// of the coming frames and the television's noise, and updates the clock; a new second thus shows
// in the next frame. Last, the window hears that the frame was shown (a calm start holds there).
void DrawVision(VisionP& vision, Form1& form);

}  // namespace ombrevale
