#include "backends/sdl/access/WindowAccess.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "backends/sdl/access/AccessBus.h"

namespace ombrevale {
namespace {

const char* Env(const char* name) {
  return std::getenv(name);
}
bool Exists(const char* path) {
  return access(path, F_OK) == 0;
}

// The bridge's entry, from the module beside the file this code was loaded from (the SDL half, in
// the build tree or where an install puts it); null when it is not there or will not load.
OmbrevaleOpenAccessCall LoadBridgeModule() {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&LoadBridgeModule), &self) == 0 || self.dli_fname == nullptr)
    return nullptr;
  std::string path = self.dli_fname;
  path.erase(path.find_last_of('/') + 1);
  path += OMBREVALE_ACCESS_MODULE;
  // Never unloaded: the bridge registers types with GLib that live as long as the process.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<OmbrevaleOpenAccessCall>(dlsym(module, OMBREVALE_OPEN_ACCESS));
}

// Called on the bridge's thread: an event wakes the window's wait.
void Wake(void* context) {
  SDL_Event event{};
  event.type = *static_cast<const uint32_t*>(context);
  SDL_PushEvent(&event);
}

AccessView::Text TextOf(std::string text, const Rect& box) {
  return {std::move(text), box};
}

// The session bus's address: the one given, or its usual socket's.
std::string SessionBusAddress() {
  const char* given = Env("DBUS_SESSION_BUS_ADDRESS");
  if (given != nullptr && *given != '\0') return given;
  const char* runtime = Env("XDG_RUNTIME_DIR");
  return runtime != nullptr ? std::string("unix:path=") + runtime + "/bus" : std::string();
}

}  // namespace

bool AccessBusMayRun(const char* (*env)(const char*), bool (*exists)(const char*)) {
  const auto set = [env](const char* name) {
    const char* value = env(name);
    return value != nullptr && *value != '\0';
  };
  const char* off = env("NO_AT_BRIDGE");
  if (off != nullptr && std::string_view(off) == "1") return false;
  if (set("AT_SPI_BUS_ADDRESS") || set("DBUS_SESSION_BUS_ADDRESS")) return true;
  // Where no address is set, the session bus is found at its usual socket, or not at all: never
  // launched for us.
  return set("XDG_RUNTIME_DIR") && exists((std::string(env("XDG_RUNTIME_DIR")) + "/bus").c_str());
}

WindowAccess::~WindowAccess() = default;

void WindowAccess::Open(std::string_view application) {
  if (bridge_ || !AccessBusMayRun(Env, Exists)) return;
  const std::string session = SessionBusAddress();
  if (!AccessBusRuns(Env, session.empty() ? nullptr : session.c_str())) return;
  const OmbrevaleOpenAccessCall open = LoadBridgeModule();
  if (open == nullptr) return;
  wakeEvent_ = SDL_RegisterEvents(1);
  if (wakeEvent_ == static_cast<uint32_t>(-1)) return;
  bridge_.reset(open(std::string(application).c_str(), Wake, &wakeEvent_));
}

void WindowAccess::TakeScene(const Scene& scene, const Rect& canvas) {
  if (!bridge_) return;
  page_.vision.reset();
  if (scene.canvas != nullptr && !scene.canvasName.empty())
    page_.vision = TextOf(std::string(scene.canvasName), canvas);
  page_.labels.clear();
  for (const LabelView& label : scene.labels) {
    if (label.label == nullptr) continue;
    // Client pixels: the label's box lies in the page area, under the menu strip.
    page_.labels.push_back(TextOf(label.label->Caption, label.box.Offset(0, kMenuHeight)));
  }
  prompt_.reset();
  if (scene.prompt != nullptr) prompt_ = *scene.prompt;
}

void WindowAccess::Show(SDL_Window* window, const WholeFactorFit& fit, SDL_Point drawn,
                        const MenuBar& menu, const PromptView& prompt, const ModalBox& box) {
  if (!bridge_) return;
  AccessView view = page_;
  const char* title = SDL_GetWindowTitle(window);
  view.caption = title != nullptr ? title : "";
  view.active = (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
  for (int i = 0; i < menu.Count(); ++i) view.menu.push_back(TextOf(menu.Caption(i), menu.Box(i)));
  view.menuPressed = menu.Pressed();
  if (prompt_ && prompt.Shown())
    view.prompt = AccessView::Button{prompt_->caption, prompt_->note, prompt.Button()};
  if (box.IsOpen())
    view.box = AccessView::Box{box.Title(), box.Lines(), {"OK", "", box.Button()}, box.Bounds()};
  // The client area's pixels on the screen: the window's place, then the presenter's pixels in the
  // window's units.
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(window, &x, &y);
  SDL_GetWindowSize(window, &w, &h);
  const double unitsPerDrawn = drawn.x > 0 ? static_cast<double>(w) / drawn.x : 1;
  view.originX = x + static_cast<int>(fit.area.x * unitsPerDrawn);
  view.originY = y + static_cast<int>(fit.area.y * unitsPerDrawn);
  view.unitsPerPixel = fit.factor * unitsPerDrawn;
  bridge_->Show(view);
}

std::vector<AccessRequest> WindowAccess::Serve() {
  if (!bridge_) return {};
  return bridge_->Serve();
}

}  // namespace ombrevale
