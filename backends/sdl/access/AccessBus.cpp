#include "backends/sdl/access/AccessBus.h"

#include <dbus/dbus.h>

namespace ombrevale {

bool AccessBusRuns(const char* (*env)(const char*), const char* sessionAddress) {
  const char* own = env("AT_SPI_BUS_ADDRESS");
  if (own != nullptr && *own != '\0') return true;
  if (sessionAddress == nullptr) return false;
  DBusError error;
  dbus_error_init(&error);
  // A connection of its own, closed again: never the shared one another part of the window uses.
  DBusConnection* bus = dbus_connection_open_private(sessionAddress, &error);
  bool runs = false;
  if (bus != nullptr) {
    // Asking whether a name has an owner never starts the service that would own it.
    if (dbus_bus_register(bus, &error))
      runs = dbus_bus_name_has_owner(bus, "org.a11y.Bus", &error) != FALSE;
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
  }
  dbus_error_free(&error);
  return runs;
}

}  // namespace ombrevale
