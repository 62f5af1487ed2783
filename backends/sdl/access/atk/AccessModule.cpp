// The accessibility bridge as a module of its own (ombrevale-access.so): the window's parts as the
// accessibility toolkit's objects (AccessTree), published on the desktop's accessibility bus by the
// toolkit's bridge to it (atk-bridge), which the window's loop serves (GlibPump). The toolkit finds
// the application's root and hands over its listeners through the class functions of AtkUtil,
// which this module fills in, as a toolkit without GTK does.

#include <atk-bridge.h>
#include <atk/atk.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "backends/sdl/access/AccessBridge.h"
#include "backends/sdl/access/atk/AccessTree.h"
#include "backends/sdl/access/atk/GlibPump.h"
#include "platform/Complaint.h"

namespace ombrevale {
namespace {

// The toolkit's class functions carry no data of their own: the open bridge's root and the
// listeners the toolkit's bridge added are kept here, for the life of the process.
struct Listener {
  guint signal = 0;
  gulong hook = 0;
};
struct ToolkitState {
  AtkObject* root = nullptr;
  std::map<guint, Listener> listeners;
  guint lastListener = 0;
};
ToolkitState& Toolkit() {
  static ToolkitState state;
  return state;
}

AtkObject* Root() {
  return Toolkit().root;
}
const gchar* ToolkitName() {
  return "Ombrevale";
}
const gchar* ToolkitVersion() {
  return "1";
}

// "Toolkit:Type:signal", as the toolkit's bridge names what it listens to: an emission hook on
// that signal of that type. Other names ("window:activate") are answered with 0, and the bridge
// then listens to AtkWindow's own signals.
guint AddListener(GSignalEmissionHook hook, const gchar* name) {
  gchar** parts = g_strsplit(name, ":", 4);
  guint id = 0;
  if (parts[0] != nullptr && parts[1] != nullptr && parts[2] != nullptr) {
    const GType type = g_type_from_name(parts[1]);
    const guint signal = type != 0 ? g_signal_lookup(parts[2], type) : 0;
    if (signal != 0) {
      ToolkitState& state = Toolkit();
      id = ++state.lastListener;
      state.listeners[id] = {signal, g_signal_add_emission_hook(signal, 0, hook, nullptr, nullptr)};
    }
  }
  g_strfreev(parts);
  return id;
}

void RemoveListener(guint id) {
  ToolkitState& state = Toolkit();
  const auto listener = state.listeners.find(id);
  if (listener == state.listeners.end()) return;
  g_signal_remove_emission_hook(listener->second.signal, listener->second.hook);
  state.listeners.erase(listener);
}

void FillToolkitClass() {
  // Held for the life of the process, as the toolkit's classes are.
  auto* util = ATK_UTIL_CLASS(g_type_class_ref(ATK_TYPE_UTIL));
  util->get_root = Root;
  util->get_toolkit_name = ToolkitName;
  util->get_toolkit_version = ToolkitVersion;
  util->add_global_event_listener = AddListener;
  util->remove_global_event_listener = RemoveListener;
}

// What the libraries log. Where no bus answers, the bridge's own lines say so: the program runs
// without it and says nothing. Anything graver is said as the program says things.
GLogWriterOutput Writer(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer) {
  if ((level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR)) == 0) return G_LOG_WRITER_HANDLED;
  std::string message;
  for (gsize i = 0; i < count; ++i)
    if (std::string_view(fields[i].key) == "MESSAGE" && fields[i].length < 0)
      message = static_cast<const char*>(fields[i].value);
  Complain("the screen readers' bridge failed: " + message);
  return G_LOG_WRITER_HANDLED;
}

class AtkAccessBridge final : public AccessBridge {
 public:
  AtkAccessBridge(const char* application, void (*wake)(void*), void* context)
      : tree_(application) {
    Toolkit().root = tree_.Root();
    if (atk_bridge_adaptor_init(nullptr, nullptr) != 0) return;
    pump_.emplace(wake, context);
    pump_->Serve();
  }
  ~AtkAccessBridge() override {
    if (pump_) {
      pump_.reset();
      atk_bridge_adaptor_cleanup();
    }
    Toolkit().root = nullptr;
  }

  bool Opened() const { return pump_.has_value(); }

  void Show(const AccessView& view) override {
    // What the reader was told may wait for the bus's socket.
    if (tree_.Show(view)) pump_->Refresh();
  }

  std::vector<AccessRequest> Serve() override {
    pump_->Serve();
    return tree_.TakeRequests();
  }

 private:
  AccessTree tree_;
  std::optional<GlibPump> pump_;
};

}  // namespace
}  // namespace ombrevale

extern "C" __attribute__((visibility("default"))) ombrevale::AccessBridge* OmbrevaleOpenAccess(
    const char* application, void (*wake)(void*), void* context) {
  using namespace ombrevale;
  // Once for the process: the log's writer, the toolkit's class functions.
  static const bool prepared = [] {
    g_log_set_writer_func(Writer, nullptr, nullptr);
    FillToolkitClass();
    return true;
  }();
  (void)prepared;
  auto bridge = std::make_unique<AtkAccessBridge>(application, wake, context);
  return bridge->Opened() ? bridge.release() : nullptr;
}
