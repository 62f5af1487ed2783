/* A desktop portal of a test's own on the session bus: it answers the settings interface
 * (org.freedesktop.portal.Settings, ReadOne and the older Read) with the one boolean setting given
 * on its command line, and "not found" for every other, until it is killed.
 *
 *   fake_portal NAMESPACE KEY true|false      (with DBUS_SESSION_BUS_ADDRESS set)
 */
#include <dbus/dbus.h>
#include <stdio.h>
#include <string.h>

static DBusMessage* Answer(DBusMessage* call, const char* wantedGroup, const char* wantedKey,
                           dbus_bool_t value, int twice) {
  const char *group = NULL, *key = NULL;
  if (!dbus_message_get_args(call, NULL, DBUS_TYPE_STRING, &group, DBUS_TYPE_STRING, &key,
                             DBUS_TYPE_INVALID)) {
    return dbus_message_new_error(call, DBUS_ERROR_INVALID_ARGS, "two strings, please");
  }
  if (strcmp(group, wantedGroup) != 0 || strcmp(key, wantedKey) != 0)
    return dbus_message_new_error(call, "org.freedesktop.portal.Error.NotFound", "no such setting");
  DBusMessage* reply = dbus_message_new_method_return(call);
  DBusMessageIter it, outer, inner;
  dbus_message_iter_init_append(reply, &it);
  /* ReadOne answers a variant; Read, a variant holding a variant. */
  dbus_message_iter_open_container(&it, DBUS_TYPE_VARIANT, twice ? "v" : "b", &outer);
  if (twice) {
    dbus_message_iter_open_container(&outer, DBUS_TYPE_VARIANT, "b", &inner);
    dbus_message_iter_append_basic(&inner, DBUS_TYPE_BOOLEAN, &value);
    dbus_message_iter_close_container(&outer, &inner);
  } else {
    dbus_message_iter_append_basic(&outer, DBUS_TYPE_BOOLEAN, &value);
  }
  dbus_message_iter_close_container(&it, &outer);
  return reply;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: fake_portal NAMESPACE KEY true|false\n");
    return 2;
  }
  const dbus_bool_t value = strcmp(argv[3], "true") == 0;
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* bus = dbus_bus_get(DBUS_BUS_SESSION, &error);
  if (bus == NULL) {
    fprintf(stderr, "fake_portal: no session bus: %s\n", error.message);
    return 1;
  }
  if (dbus_bus_request_name(bus, "org.freedesktop.portal.Desktop", DBUS_NAME_FLAG_DO_NOT_QUEUE,
                            &error) != DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) {
    fprintf(stderr, "fake_portal: the portal's name is taken\n");
    return 1;
  }
  printf("ready\n");
  fflush(stdout);
  while (dbus_connection_read_write(bus, -1)) {
    DBusMessage* call;
    while ((call = dbus_connection_pop_message(bus)) != NULL) {
      const char* iface = "org.freedesktop.portal.Settings";
      DBusMessage* reply = NULL;
      if (dbus_message_is_method_call(call, iface, "ReadOne"))
        reply = Answer(call, argv[1], argv[2], value, 0);
      else if (dbus_message_is_method_call(call, iface, "Read"))
        reply = Answer(call, argv[1], argv[2], value, 1);
      else if (dbus_message_get_type(call) == DBUS_MESSAGE_TYPE_METHOD_CALL)
        reply = dbus_message_new_error(call, DBUS_ERROR_UNKNOWN_METHOD, "not here");
      if (reply != NULL) {
        dbus_connection_send(bus, reply, NULL);
        dbus_message_unref(reply);
      }
      dbus_message_unref(call);
    }
  }
  return 0;
}
