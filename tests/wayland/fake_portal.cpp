// A stand-in for the screenshot portal on a test's session bus, so that the
// answers no real portal gives on demand can be tested: it owns
// org.freedesktop.portal.Desktop, answers every Screenshot call with a
// request whose path does not follow the handle_token (as portals older
// than handle_token do), then sends Response with the code and URI given.
// Prints "ready" once it owns the name.
// Usage: fake_portal RESPONSE [URI]
#include <dbus/dbus.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kRequestPath = "/org/freedesktop/portal/desktop/request/fake/1";

void AddUri(DBusMessageIter& args, const char* uri) {
  DBusMessageIter dict, entry, variant;
  dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sv}", &dict);
  if (uri != nullptr) {
    const char* key = "uri";
    dbus_message_iter_open_container(&dict, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, "s", &variant);
    dbus_message_iter_append_basic(&variant, DBUS_TYPE_STRING, &uri);
    dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(&dict, &entry);
  }
  dbus_message_iter_close_container(&args, &dict);
}

void Answer(DBusConnection* c, DBusMessage* call, dbus_uint32_t response, const char* uri) {
  DBusMessage* reply = dbus_message_new_method_return(call);
  const char* path = kRequestPath;
  dbus_message_append_args(reply, DBUS_TYPE_OBJECT_PATH, &path, DBUS_TYPE_INVALID);
  dbus_connection_send(c, reply, nullptr);
  dbus_message_unref(reply);
  DBusMessage* signal = dbus_message_new_signal(kRequestPath, "org.freedesktop.portal.Request", "Response");
  dbus_message_set_destination(signal, dbus_message_get_sender(call));
  DBusMessageIter args;
  dbus_message_iter_init_append(signal, &args);
  dbus_message_iter_append_basic(&args, DBUS_TYPE_UINT32, &response);
  AddUri(args, uri);
  dbus_connection_send(c, signal, nullptr);
  dbus_message_unref(signal);
  dbus_connection_flush(c);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fake_portal RESPONSE [URI]\n");
    return 2;
  }
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* c = dbus_bus_get(DBUS_BUS_SESSION, &error);
  if (c == nullptr || dbus_bus_request_name(c, "org.freedesktop.portal.Desktop", DBUS_NAME_FLAG_DO_NOT_QUEUE, &error) !=
                          DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) {
    std::fprintf(stderr, "fake_portal: %s\n", dbus_error_is_set(&error) ? error.message : "cannot own the name");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  const auto response = static_cast<dbus_uint32_t>(std::strtoul(argv[1], nullptr, 10));
  while (dbus_connection_read_write(c, -1)) {
    while (DBusMessage* m = dbus_connection_pop_message(c)) {
      if (dbus_message_is_method_call(m, "org.freedesktop.portal.Screenshot", "Screenshot"))
        Answer(c, m, response, argc > 2 ? argv[2] : nullptr);
      dbus_message_unref(m);
    }
  }
  return 0;
}
