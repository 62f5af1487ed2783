#include "backends/sdl/settings/X11Settings.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "backends/sdl/XErrors.h"

namespace ombrevale {
namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

std::optional<double> PositiveNumber(std::string_view text) {
  text = Trimmed(text);
  if (text.empty() || text.size() > 16) return std::nullopt;
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

// A property of a window, whole, as bytes; empty when it is not there.
std::vector<uint8_t> Property(Display* display, Window window, Atom property) {
  std::vector<uint8_t> bytes;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  // Up to 4 MB, in 32-bit units: far more than any desktop publishes.
  if (XGetWindowProperty(display, window, property, 0, 1 << 20, False, AnyPropertyType, &type,
                         &format, &count, &after, &data) != Success) {
    return bytes;
  }
  if (data != nullptr && format == 8) bytes.assign(data, data + count);
  if (data != nullptr) XFree(data);
  return bytes;
}

// The readers of an XSETTINGS blob keep to its bounds: every read says whether it fitted.
class BlobReader {
 public:
  BlobReader(std::span<const uint8_t> blob, bool bigEndian) : blob_(blob), big_(bigEndian) {}
  bool Skip(size_t n) {
    if (blob_.size() - at_ < n) return false;
    at_ += n;
    return true;
  }
  bool Card8(uint32_t& v) { return Read(1, v); }
  bool Card16(uint32_t& v) { return Read(2, v); }
  bool Card32(uint32_t& v) { return Read(4, v); }
  bool Text(size_t n, std::string_view& text) {
    if (blob_.size() - at_ < n) return false;
    text = {reinterpret_cast<const char*>(blob_.data() + at_), n};
    at_ += n;
    return Skip((4 - n % 4) % 4);  // padded to 4 bytes
  }

 private:
  bool Read(size_t n, uint32_t& v) {
    if (blob_.size() - at_ < n) return false;
    v = 0;
    for (size_t i = 0; i < n; ++i) {
      const uint32_t byte = blob_[at_ + (big_ ? i : n - 1 - i)];
      v = v << 8 | byte;
    }
    at_ += n;
    return true;
  }
  std::span<const uint8_t> blob_;
  bool big_;
  size_t at_ = 0;
};

}  // namespace

std::optional<double> XftDpiIn(std::string_view resources) {
  std::optional<double> dpi;
  while (!resources.empty()) {
    const size_t end = resources.find('\n');
    const std::string_view line = resources.substr(0, end);
    resources.remove_prefix(end == std::string_view::npos ? resources.size() : end + 1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || Trimmed(line.substr(0, colon)) != "Xft.dpi") continue;
    dpi = PositiveNumber(line.substr(colon + 1));  // the last one counts, as in a database
  }
  return dpi;
}

std::optional<double> GdkScaleIn(std::string_view value) {
  int scale = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), scale);
  if (error != std::errc() || end != value.data() + value.size() || scale < 1) return std::nullopt;
  return scale;
}

std::optional<int32_t> XSettingsInteger(std::span<const uint8_t> blob, std::string_view name) {
  // The byte order, three bytes of padding, a serial, the number of settings; then each setting:
  // its type (0 integer, 1 string, 2 colour), a byte of padding, its name's length and the name
  // padded to 4, its serial, and its value (an integer; a length and text padded to 4; four
  // 16-bit channels).
  if (blob.empty() || blob[0] > 1) return std::nullopt;
  BlobReader r(blob, blob[0] == 1);
  uint32_t serial = 0, count = 0;
  if (!r.Skip(4) || !r.Card32(serial) || !r.Card32(count)) return std::nullopt;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t type = 0, nameLength = 0, changed = 0, value = 0;
    std::string_view settingName;
    if (!r.Card8(type) || !r.Skip(1) || !r.Card16(nameLength) || !r.Text(nameLength, settingName) ||
        !r.Card32(changed)) {
      return std::nullopt;
    }
    switch (type) {
      case 0:
        if (!r.Card32(value)) return std::nullopt;
        if (settingName == name) return static_cast<int32_t>(value);
        break;
      case 1: {
        std::string_view text;
        if (!r.Card32(value) || !r.Text(value, text)) return std::nullopt;
        break;
      }
      case 2:
        if (!r.Skip(8)) return std::nullopt;
        break;
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

std::unique_ptr<X11Settings> X11Settings::Open() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  return std::unique_ptr<X11Settings>(new X11Settings(display));
}

X11Settings::X11Settings(Display* display)
    : display_(display), resourceManager_(XInternAtom(display, "RESOURCE_MANAGER", False)) {
  // Everything read here belongs to other clients, the settings manager's window first: it may go
  // away between our asking who owns the settings and reading them, and the read then finds
  // nothing, which the program lives with.
  IgnoreErrorsOn(display_);
  // Only the root window's property changes are asked for, on this connection alone.
  XSelectInput(display_, DefaultRootWindow(display_), PropertyChangeMask);
  XFlush(display_);
}

X11Settings::~X11Settings() {
  XCloseDisplay(display_);
}

double X11Settings::Scale() {
  if (const char* gdk = std::getenv("GDK_SCALE"))
    if (const auto scale = GdkScaleIn(gdk)) return *scale;
  const std::vector<uint8_t> resources =
      Property(display_, DefaultRootWindow(display_), resourceManager_);
  const std::string_view text(reinterpret_cast<const char*>(resources.data()), resources.size());
  if (const auto dpi = XftDpiIn(text)) return *dpi / 96.0;
  return 1;
}

std::optional<bool> X11Settings::AnimationsEnabled() {
  const std::string selection = "_XSETTINGS_S" + std::to_string(DefaultScreen(display_));
  const Window owner =
      XGetSelectionOwner(display_, XInternAtom(display_, selection.c_str(), False));
  if (owner == None) return std::nullopt;
  const std::vector<uint8_t> blob =
      Property(display_, owner, XInternAtom(display_, "_XSETTINGS_SETTINGS", False));
  const auto on = XSettingsInteger(blob, "Gtk/EnableAnimations");
  if (!on) return std::nullopt;
  return *on != 0;
}

bool X11Settings::Changed() {
  bool changed = false;
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    changed |= event.type == PropertyNotify && event.xproperty.atom == resourceManager_;
  }
  return changed;
}

}  // namespace ombrevale
