#pragma once

#include <string>
#include <tuple>

#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

// Window and control geometry is in twips; the screen is taken at 96 dots per inch.
inline constexpr float kTwipsPerPixel = 15.0f;
inline constexpr int TwipsToPixels(float twips) {
  return static_cast<int>(twips / kTwipsPerPixel);
}

struct Placement {
  float Left = 0, Top = 0, Width = 0, Height = 0;  // twips, in the parent's client area
  bool operator==(const Placement&) const = default;
};

// Where a placement lies in pixels of its parent's client area.
inline constexpr Rect PixelsOf(const Placement& p) {
  return {TwipsToPixels(p.Left), TwipsToPixels(p.Top), TwipsToPixels(p.Width),
          TwipsToPixels(p.Height)};
}

struct Font {
  std::string Name;
  int Points = 0;
  bool Bold = false;
  // Faces compare field by field, and order so, as the keys of a backend's open fonts.
  bool operator==(const Font&) const = default;
  bool operator<(const Font& other) const {
    return std::tie(Name, Points, Bold) < std::tie(other.Name, other.Points, other.Bold);
  }
};

// The height in pixels of a face of `points` points (1/72 inch) on a screen of 96 dots per inch
// times the page's factor `scale`, to the nearest pixel: 12 points are 16 pixels at the natural
// size, 32 at twice it.
inline constexpr int PointsToPixels(int points, int scale = 1) {
  return (points * 96 * scale + 36) / 72;
}

// A text control. Its caption is drawn over the canvas whenever the canvas is shown.
struct Label {
  std::string Name;
  Placement Place;
  std::string Caption;
  Pixel ForeColor = 0;
  Font Face;
};

// A picture control: a persistent image behind a device context, shown or hidden. A source
// control takes the size of the bitmap loaded into it; before that it holds no picture.
struct PictureBox {
  std::string Name;
  Placement Place;
  bool Visible = true;
  Pixel BackColor = 0;
  Surface Image;

  Surface& hDC() { return Image; }
  const Surface& hDC() const { return Image; }
};

// A page: a picture container with the standard sunken 2-pixel frame, covering the client area.
struct Page {
  std::string Name;
  Placement Place;
  bool Visible = true;
  Pixel BackColor = 0;
  bool Framed = true;
};

// A windowless outline figure drawn on the window itself.
struct Shape {
  std::string Name;
  Placement Place;
  Pixel BorderColor = 0;
};

}  // namespace ombrevale
