#include "backends/sdl/present/RendererChoice.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "backends/sdl/present/GpuPresenter.h"
#include "backends/sdl/SdlHandles.h"
#include "backends/sdl/present/SoftwarePresenter.h"
#include "backends/sdl/present/X11Presenter.h"

namespace ombrevale {
namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// What OpenGL says it draws with, asked through a hidden window of its own, so that the real
// window is made an OpenGL one only when it will draw through the card. Empty without OpenGL.
std::string AskOpenGlRenderer() {
  WindowPtr probe(SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL));
  if (!probe) return {};
  SDL_GLContext context = SDL_GL_CreateContext(probe.get());
  if (context == nullptr) return {};
  using GetString = const unsigned char* (*)(unsigned);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
  std::string renderer = name != nullptr ? reinterpret_cast<const char*>(name) : "";
  SDL_GL_DeleteContext(context);
  return renderer;
}

std::unique_ptr<Presenter> Accelerated(SDL_Window* window) {
  // No waiting for the display's refresh: the loop keeps its own time.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  RendererPtr renderer(SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED));
  if (!renderer) return nullptr;
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer.get(), &info) != 0 || info.name == nullptr ||
      std::strcmp(info.name, "software") == 0) {
    return nullptr;
  }
  return std::make_unique<GpuPresenter>(window, std::move(renderer));
}

}  // namespace

bool IsSoftwareRasteriser(std::string_view glRenderer) {
  for (std::string_view name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
    if (glRenderer.find(name) != std::string_view::npos) return true;
  }
  return false;
}

bool HasGraphicsDevice() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("renderD") || name.starts_with("card")) return true;
  }
  return std::filesystem::exists("/dev/nvidiactl", error);
}

Drawing ChooseDrawing(const RendererFacts& facts) {
  if (facts.userDriver)
    return *facts.userDriver == "software" ? Drawing::Software : Drawing::Accelerated;
  if (facts.wayland) return Drawing::Accelerated;
  if (facts.windowingSystem && facts.graphicsDevice) return Drawing::AskOpenGl;
  return Drawing::Software;
}

std::unique_ptr<Presenter> MakePresenter(SDL_Window* window) {
  RendererFacts facts;
  if (const char* driver = std::getenv("SDL_RENDER_DRIVER"); driver != nullptr && *driver != '\0')
    facts.userDriver = driver;
  const char* video = SDL_GetCurrentVideoDriver();
  facts.wayland = video != nullptr && std::strcmp(video, "wayland") == 0;
  facts.windowingSystem = facts.wayland || (video != nullptr && std::strcmp(video, "x11") == 0);
  facts.graphicsDevice = facts.windowingSystem && HasGraphicsDevice();

  std::unique_ptr<Presenter> presenter;
  switch (ChooseDrawing(facts)) {
    case Drawing::Accelerated:
      presenter = Accelerated(window);  // SDL itself honours the driver the user named
      break;
    case Drawing::AskOpenGl:
      if (const std::string gl = AskOpenGlRenderer(); !gl.empty() && !IsSoftwareRasteriser(gl))
        presenter = Accelerated(window);
      break;
    case Drawing::Software:
      break;
  }
  // In software: on X11 straight to the server in small bands, elsewhere through SDL's window
  // memory.
  if (!presenter) presenter = X11Presenter::Create(window);
  if (!presenter) presenter = std::make_unique<SoftwarePresenter>(window);
  return presenter;
}

}  // namespace ombrevale
