#pragma once

// Frames as PNG files: what the renderer writes, what the frame test shows a reviewer when a
// frame is not the one committed, and what a replay leaves beside itself at a frame that differs.

#include <string>

#include "platform/Surface.h"

namespace ombrevale {

// Writes `frame` to `path` as an 8-bit RGB PNG, replacing any file there once it is whole (it is
// written as `path`.part until then). Throws FatalError when the file cannot be written.
void WritePng(const std::string& path, const Surface& frame);

}  // namespace ombrevale
