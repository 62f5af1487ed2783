#include "backends/sdl/settings/PortalSettings.h"

#include <dbus/dbus.h>

#include <memory>

namespace ombrevale {
namespace {

constexpr int kTimeoutMs = 250;
constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kSettings = "org.freedesktop.portal.Settings";

struct ConnectionCloser {
  void operator()(DBusConnection* c) const {
    dbus_connection_close(c);
    dbus_connection_unref(c);
  }
};
struct MessageUnref {
  void operator()(DBusMessage* m) const { dbus_message_unref(m); }
};
using MessagePtr = std::unique_ptr<DBusMessage, MessageUnref>;

// A setting's value: a boolean or a number, inside the variant the portal wraps it in (twice, in
// the older Read method).
struct Value {
  std::optional<bool> flag;
  std::optional<double> number;
};

Value ValueOf(DBusMessageIter* it) {
  Value value;
  for (int depth = 0; depth < 3; ++depth) {
    const int type = dbus_message_iter_get_arg_type(it);
    if (type == DBUS_TYPE_VARIANT) {
      DBusMessageIter inner;
      dbus_message_iter_recurse(it, &inner);
      *it = inner;
      continue;
    }
    if (type == DBUS_TYPE_BOOLEAN) {
      dbus_bool_t b = FALSE;
      dbus_message_iter_get_basic(it, &b);
      value.flag = b != FALSE;
    } else if (type == DBUS_TYPE_DOUBLE) {
      double d = 0;
      dbus_message_iter_get_basic(it, &d);
      value.number = d;
    }
    break;
  }
  return value;
}

// One setting, asked of the portal with ReadOne, or with the older Read where ReadOne is unknown.
std::optional<Value> Ask(DBusConnection* bus, const char* group, const char* key) {
  for (const char* method : {"ReadOne", "Read"}) {
    MessagePtr call(dbus_message_new_method_call(kPortal, kPortalPath, kSettings, method));
    if (!call || !dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &group, DBUS_TYPE_STRING,
                                           &key, DBUS_TYPE_INVALID)) {
      return std::nullopt;
    }
    DBusError error;
    dbus_error_init(&error);
    MessagePtr reply(
        dbus_connection_send_with_reply_and_block(bus, call.get(), kTimeoutMs, &error));
    if (!reply) {
      const bool unknownMethod = dbus_error_has_name(&error, DBUS_ERROR_UNKNOWN_METHOD);
      dbus_error_free(&error);
      if (unknownMethod) continue;
      return std::nullopt;  // no portal, no such setting, or no answer in time
    }
    DBusMessageIter it;
    if (!dbus_message_iter_init(reply.get(), &it)) return std::nullopt;
    return ValueOf(&it);
  }
  return std::nullopt;
}

}  // namespace

double PortalSettings::Scale() {
  lastScale_ = WindowPixelRatio(window_);
  return lastScale_;
}

bool PortalSettings::Changed() {
  return WindowPixelRatio(window_) != lastScale_;
}

std::optional<bool> PortalSettings::AnimationsEnabled() {
  DBusError error;
  dbus_error_init(&error);
  // A connection of our own, closed again: the program has no other use for the bus.
  std::unique_ptr<DBusConnection, ConnectionCloser> bus(
      dbus_bus_get_private(DBUS_BUS_SESSION, &error));
  dbus_error_free(&error);
  if (!bus) return std::nullopt;
  dbus_connection_set_exit_on_disconnect(bus.get(), FALSE);
  if (const auto gnome = Ask(bus.get(), "org.gnome.desktop.interface", "enable-animations");
      gnome && gnome->flag) {
    return gnome->flag;
  }
  if (const auto kde = Ask(bus.get(), "org.kde.kdeglobals.KDE", "AnimationDurationFactor");
      kde && kde->number) {
    return *kde->number > 0;
  }
  return std::nullopt;
}

}  // namespace ombrevale
