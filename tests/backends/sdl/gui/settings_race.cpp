// The desktop's settings read while their owner comes and goes, as a settings manager may at any
// moment: who owns the XSETTINGS selection is asked, then that window's settings are read, and
// between the two the window may be gone. The reading must live through it.
//
//   settings_race flicker       - owns the settings from a window made and destroyed over and
//                                 over (Gtk/EnableAnimations 0), until killed
//   settings_race read TIMES    - reads whether animations are on TIMES times, and prints how often
//                                 the manager answered and how often no one did; ends with 0 when
//                                 both happened (the owner came and went under the reading)

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "backends/sdl/settings/X11Settings.h"

namespace {

// An XSETTINGS blob, in this machine's byte order, that says animations are off.
std::vector<unsigned char> AnimationsOff() {
  const std::string name = "Gtk/EnableAnimations";  // 20 bytes: no padding
  std::vector<unsigned char> blob(12 + 4 + name.size() + 8);
  const uint32_t one = 1;
  blob[0] = *reinterpret_cast<const unsigned char*>(&one) == 1 ? 0 : 1;  // LSB first, or MSB
  const uint32_t count = 1;
  std::memcpy(&blob[8], &count, 4);
  const uint16_t length = static_cast<uint16_t>(name.size());
  blob[12] = 0;  // an integer
  std::memcpy(&blob[14], &length, 2);
  std::memcpy(&blob[16], name.data(), name.size());
  // Its serial and value, 0 both.
  return blob;
}

int Flicker() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  const Window root = DefaultRootWindow(display);
  const Atom selection = XInternAtom(display, "_XSETTINGS_S0", False);
  const Atom settings = XInternAtom(display, "_XSETTINGS_SETTINGS", False);
  const std::vector<unsigned char> blob = AnimationsOff();
  for (;;) {
    const Window owner = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    XChangeProperty(display, owner, settings, settings, 8, PropModeReplace, blob.data(),
                    static_cast<int>(blob.size()));
    XSetSelectionOwner(display, selection, owner, CurrentTime);
    XSync(display, False);
    XDestroyWindow(display, owner);
    XSync(display, False);
  }
}

int Read(int times) {
  const auto settings = ombrevale::X11Settings::Open();
  if (!settings) return 1;
  int answered = 0, none = 0;
  for (int i = 0; i < times; ++i) {
    const std::optional<bool> on = settings->AnimationsEnabled();
    if (on.has_value() && !*on)
      ++answered;
    else if (!on.has_value())
      ++none;
  }
  std::printf("%d answered, %d found no one\n", answered, none);
  return answered > 0 && none > 0 ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "flicker") == 0) return Flicker();
  if (argc == 3 && std::strcmp(argv[1], "read") == 0) return Read(std::atoi(argv[2]));
  std::fprintf(stderr, "usage: settings_race flicker | read TIMES\n");
  return 2;
}
