#pragma once

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Media.h"
#include "platform/Pictures.h"
#include "platform/Random.h"

namespace ombrevale {

// The services through which the system reaches the desktop. The application is built on one
// of these; the desktop backend and the headless backend each fill it in.
struct Platform {
  Clock& clock;
  Random& random;
  Desktop& desktop;
  Media& media;
  PictureReader& pictures;
};

}  // namespace ombrevale
