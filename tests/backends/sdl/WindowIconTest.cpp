#include "backends/sdl/window/WindowIcon.h"

#include <gtest/gtest.h>

#include <set>

namespace ombrevale {
namespace {

TEST(WindowIcon, IsTheDrawnEyeAt32By32WithRoundedCorners) {
  const SurfacePtr icon = MakeWindowIcon();
  ASSERT_EQ(icon->w, 32);
  ASSERT_EQ(icon->h, 32);
  auto pixel = [&](int x, int y) {
    Uint8 r, g, b, a;
    const auto* row = static_cast<const Uint8*>(icon->pixels) + y * icon->pitch;
    SDL_GetRGBA(*reinterpret_cast<const Uint32*>(row + x * 4), icon->format, &r, &g, &b, &a);
    return SDL_Color{r, g, b, a};
  };
  // The corners are cut round; the middle edge of each side is the page's blue, opaque.
  for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) EXPECT_EQ(pixel(x, y).a, 0);
  const SDL_Color edge = pixel(16, 0);
  EXPECT_EQ(edge.a, 255);
  EXPECT_EQ(edge.r, 0);
  EXPECT_EQ(edge.b, 64);
  // An eye, not a blank square: many colours inside.
  std::set<Uint32> colours;
  for (int y = 4; y < 28; ++y)
    for (int x = 4; x < 28; ++x) {
      const SDL_Color c = pixel(x, y);
      colours.insert(Uint32{c.r} << 16 | Uint32{c.g} << 8 | c.b);
    }
  EXPECT_GT(colours.size(), 20u);
}

}  // namespace
}  // namespace ombrevale
