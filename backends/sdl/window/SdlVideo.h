#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Complaint.h"

namespace ombrevale {

// The launcher's name for the program, which a Wayland desktop knows its windows by.
inline constexpr const char* kAppId = "org.ombrevale.Ombrevale";

// Thrown when the program was started where it cannot open a window: no desktop session, or one
// it cannot reach. Its text is one sentence for the user; `main` prints it and exits with 1.
class NoDesktopError : public std::runtime_error {
 public:
  explicit NoDesktopError(const std::string& what) : std::runtime_error(what) {}
};

// The video side of SDL for the life of the program: started by the constructor, shut down by
// the destructor. Construct it before the desktop window and keep it until the window is gone.
// Refuses (NoDesktopError) where there is no desktop to show the window on, rather than letting
// SDL quietly draw into an invisible off-screen display. A driver chosen by the user through
// SDL_VIDEODRIVER (the tests use "dummy") is taken as asked. `command` is the program as the
// user started it, which the refusal suggests starting under Xvfb.
class SdlVideo {
 public:
  explicit SdlVideo(std::string_view command = kCommandName);
  ~SdlVideo();
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;
};

// Shows a fatal error in a modal message box titled "Ombrevale", in lines that fit the screen,
// where a desktop can show one;
// returns whether it could. Does nothing without a desktop session (the caller has already
// written the error to stderr); where there is one but the box fails, says so on stderr.
bool ShowFatalErrorBox(const std::string& text);

}  // namespace ombrevale
