// What an X11 desktop publishes, read as its toolkits read it: the scale in the resource database
// and GDK_SCALE, and the animations switch in the XSETTINGS blob, whichever byte order it is in.

#include "backends/sdl/settings/X11Settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ombrevale {
namespace {

TEST(X11Settings, TheScaleComesFromXftDpiOrGdkScale) {
  EXPECT_EQ(XftDpiIn("Xft.dpi:\t192\n"), 192);
  EXPECT_EQ(XftDpiIn("Xft.antialias:\t1\nXft.dpi: 144\nXft.hinting:\t1\n"), 144);
  EXPECT_EQ(XftDpiIn("*background: grey\nXft.dpi:\t120.5"), 120.5);  // no line break at the end
  EXPECT_EQ(XftDpiIn("Xft.dpi: 96\nXft.dpi: 288\n"), 288) << "the last one counts";
  EXPECT_EQ(XftDpiIn("  Xft.dpi :\t 240 \r\n"), 240);
  for (const char* none : {"", "Xft.dpi:", "Xft.dpi: 0", "Xft.dpi: -96", "Xft.dpi: big",
                           "Xft.dpix: 192", "*.dpi: 192", "Xft.dpi 192", "Xft.dpi: 1e999"})
    EXPECT_FALSE(XftDpiIn(none)) << '"' << none << '"';

  EXPECT_EQ(GdkScaleIn("2"), 2);
  EXPECT_EQ(GdkScaleIn("1"), 1);
  for (const char* none : {"", "0", "-2", "1.5", "2x", " 2"})
    EXPECT_FALSE(GdkScaleIn(none)) << '"' << none << '"';
}

// An XSETTINGS blob as a settings manager writes it, in either byte order.
class Blob {
 public:
  explicit Blob(bool bigEndian) : big_(bigEndian) {
    bytes_ = {static_cast<uint8_t>(big_ ? 1 : 0), 0, 0, 0};
    Card32(7);  // the serial
    Card32(0);  // the count, filled in as settings come
  }
  Blob& Integer(const std::string& name, int32_t value) {
    Head(0, name);
    Card32(static_cast<uint32_t>(value));
    return Counted();
  }
  Blob& Text(const std::string& name, const std::string& text) {
    Head(1, name);
    Card32(static_cast<uint32_t>(text.size()));
    Padded(text);
    return Counted();
  }
  Blob& Colour(const std::string& name) {
    Head(2, name);
    for (int i = 0; i < 8; ++i) bytes_.push_back(0x7F);
    return Counted();
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  void Card16(uint32_t v) {
    for (int i = 0; i < 2; ++i)
      bytes_.push_back(static_cast<uint8_t>(v >> (8 * (big_ ? 1 - i : i))));
  }
  void Card32(uint32_t v) {
    for (int i = 0; i < 4; ++i)
      bytes_.push_back(static_cast<uint8_t>(v >> (8 * (big_ ? 3 - i : i))));
  }
  void Padded(const std::string& s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  void Head(uint8_t type, const std::string& name) {
    bytes_.push_back(type);
    bytes_.push_back(0);
    Card16(static_cast<uint32_t>(name.size()));
    Padded(name);
    Card32(3);  // when it last changed
  }
  Blob& Counted() {
    ++count_;
    for (int i = 0; i < 4; ++i)
      bytes_[8 + i] = static_cast<uint8_t>(count_ >> (8 * (big_ ? 3 - i : i)));
    return *this;
  }
  bool big_;
  uint32_t count_ = 0;
  std::vector<uint8_t> bytes_;
};

TEST(X11Settings, TheAnimationsSwitchIsFoundAmongOtherSettingsInEitherByteOrder) {
  for (bool big : {false, true}) {
    Blob blob(big);
    blob.Text("Net/ThemeName", "Adwaita")
        .Colour("Gtk/Colour")
        .Integer("Xft/DPI", 196608)
        .Integer("Gtk/EnableAnimations", 0)
        .Integer("Net/CursorBlink", 1);
    EXPECT_EQ(XSettingsInteger(blob.Bytes(), "Gtk/EnableAnimations"), 0) << big;
    EXPECT_EQ(XSettingsInteger(blob.Bytes(), "Xft/DPI"), 196608) << big;
    EXPECT_EQ(XSettingsInteger(blob.Bytes(), "Net/CursorBlink"), 1) << big;
    EXPECT_FALSE(XSettingsInteger(blob.Bytes(), "Net/ThemeName")) << "a string is no integer";
    EXPECT_FALSE(XSettingsInteger(blob.Bytes(), "Gtk/Missing"));

    // Cut anywhere, the blob gives no answer it does not hold, and reads nothing past its end.
    const std::vector<uint8_t>& whole = blob.Bytes();
    for (size_t cut = 0; cut < whole.size(); ++cut) {
      const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(cut));
      const auto found = XSettingsInteger(part, "Net/CursorBlink");
      EXPECT_FALSE(found) << "cut at " << cut;
    }
  }
  // A blob of another byte-order mark, or a setting of an unknown type, is refused.
  Blob odd(false);
  odd.Integer("Gtk/EnableAnimations", 1);
  std::vector<uint8_t> bytes = odd.Bytes();
  bytes[0] = 2;
  EXPECT_FALSE(XSettingsInteger(bytes, "Gtk/EnableAnimations"));
  bytes = odd.Bytes();
  bytes[12] = 9;
  EXPECT_FALSE(XSettingsInteger(bytes, "Gtk/EnableAnimations"));
}

}  // namespace
}  // namespace ombrevale
