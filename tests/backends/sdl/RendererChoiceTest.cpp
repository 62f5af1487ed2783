// Where the window draws: the graphics card only where OpenGL runs on one.

#include <gtest/gtest.h>

#include "backends/sdl/present/RendererChoice.h"
#include "tests/backends/sdl/SdlDesktopKit.h"

namespace ombrevale {
namespace {

TEST(RendererChoiceTest, TheCardOnlyWhereOpenGlRunsOnIt) {
  EXPECT_TRUE(IsSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(IsSoftwareRasteriser("softpipe"));
  EXPECT_TRUE(IsSoftwareRasteriser("Mesa X11 swrast"));
  EXPECT_TRUE(IsSoftwareRasteriser("Software Rasterizer"));
  EXPECT_FALSE(IsSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  EXPECT_FALSE(IsSoftwareRasteriser("NVIDIA GeForce RTX 3060/PCIe/SSE2"));
  EXPECT_FALSE(IsSoftwareRasteriser("AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)"));

  using enum Drawing;
  EXPECT_EQ(ChooseDrawing({"software", true, true}), Software) << "the user's choice wins";
  EXPECT_EQ(ChooseDrawing({"opengl", false, false}), Accelerated);
  EXPECT_EQ(ChooseDrawing({std::nullopt, true, true}), AskOpenGl);
  EXPECT_EQ(ChooseDrawing({std::nullopt, true, false}), Software) << "no device: no GL loaded";
  EXPECT_EQ(ChooseDrawing({std::nullopt, false, true}), Software) << "SDL's dummy driver";
  // Wayland: OpenGL whatever runs it, as SDL's own window memory would go through it too.
  EXPECT_EQ(ChooseDrawing({std::nullopt, true, false, true}), Accelerated);
  EXPECT_EQ(ChooseDrawing({"software", true, false, true}), Software);
}

TEST_F(SdlDesktopTest, DrawsInSoftwareWhereThereIsNoCard) {
  EXPECT_EQ(desktop_.DrawingName(), "software");
}

}  // namespace
}  // namespace ombrevale
