#include "platform/wayland/dbus_api.h"

#include "platform/posix/dl_symbol.h"

namespace rc {

namespace {

bool ResolveAll(void* lib, DBusApi& d) {
  return ResolveSymbol(lib, "dbus_bus_add_match", d.bus_add_match) &&
         ResolveSymbol(lib, "dbus_bus_get_private", d.bus_get_private) &&
         ResolveSymbol(lib, "dbus_bus_get_unique_name", d.bus_get_unique_name) &&
         ResolveSymbol(lib, "dbus_connection_close", d.connection_close) &&
         ResolveSymbol(lib, "dbus_connection_flush", d.connection_flush) &&
         ResolveSymbol(lib, "dbus_connection_pop_message", d.connection_pop_message) &&
         ResolveSymbol(lib, "dbus_connection_read_write", d.connection_read_write) &&
         ResolveSymbol(lib, "dbus_connection_send", d.connection_send) &&
         ResolveSymbol(lib, "dbus_connection_send_with_reply_and_block", d.connection_send_with_reply_and_block) &&
         ResolveSymbol(lib, "dbus_connection_set_exit_on_disconnect", d.connection_set_exit_on_disconnect) &&
         ResolveSymbol(lib, "dbus_connection_unref", d.connection_unref) &&
         ResolveSymbol(lib, "dbus_error_free", d.error_free) &&
         ResolveSymbol(lib, "dbus_error_has_name", d.error_has_name) &&
         ResolveSymbol(lib, "dbus_error_init", d.error_init) &&
         ResolveSymbol(lib, "dbus_error_is_set", d.error_is_set) &&
         ResolveSymbol(lib, "dbus_message_get_args", d.message_get_args) &&
         ResolveSymbol(lib, "dbus_message_get_path", d.message_get_path) &&
         ResolveSymbol(lib, "dbus_message_is_signal", d.message_is_signal) &&
         ResolveSymbol(lib, "dbus_message_iter_append_basic", d.message_iter_append_basic) &&
         ResolveSymbol(lib, "dbus_message_iter_close_container", d.message_iter_close_container) &&
         ResolveSymbol(lib, "dbus_message_iter_get_arg_type", d.message_iter_get_arg_type) &&
         ResolveSymbol(lib, "dbus_message_iter_get_basic", d.message_iter_get_basic) &&
         ResolveSymbol(lib, "dbus_message_iter_init", d.message_iter_init) &&
         ResolveSymbol(lib, "dbus_message_iter_init_append", d.message_iter_init_append) &&
         ResolveSymbol(lib, "dbus_message_iter_next", d.message_iter_next) &&
         ResolveSymbol(lib, "dbus_message_iter_open_container", d.message_iter_open_container) &&
         ResolveSymbol(lib, "dbus_message_iter_recurse", d.message_iter_recurse) &&
         ResolveSymbol(lib, "dbus_message_new_method_call", d.message_new_method_call) &&
         ResolveSymbol(lib, "dbus_message_set_no_reply", d.message_set_no_reply) &&
         ResolveSymbol(lib, "dbus_message_unref", d.message_unref);
}

const DBusApi* Load(std::string& error) {
  void* library = dlopen("libdbus-1.so.3", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    error = "libdbus is not installed (libdbus-1.so.3)";
    return nullptr;
  }
  static DBusApi api{};
  if (!ResolveAll(library, api)) {
    error = "the installed libdbus lacks a function the screenshot portal needs";
    return nullptr;
  }
  return &api;
}

}  // namespace

const DBusApi* LoadDBus(std::string& error) {
  static std::string loadError;
  static const DBusApi* api = Load(loadError);
  error = loadError;
  return api;
}

}  // namespace rc
