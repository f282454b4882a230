// libdbus, loaded only when the screenshot portal is asked: every other
// capture, on X11 or Wayland, starts without loading it and the seven
// libraries it brings. The functions the portal uses are looked up by name.
#pragma once

#include <dbus/dbus.h>

#include <string>

namespace rc {

struct DBusApi {
  decltype(&::dbus_bus_add_match) bus_add_match;
  decltype(&::dbus_bus_get_private) bus_get_private;
  decltype(&::dbus_bus_get_unique_name) bus_get_unique_name;
  decltype(&::dbus_connection_close) connection_close;
  decltype(&::dbus_connection_flush) connection_flush;
  decltype(&::dbus_connection_pop_message) connection_pop_message;
  decltype(&::dbus_connection_read_write) connection_read_write;
  decltype(&::dbus_connection_send) connection_send;
  decltype(&::dbus_connection_send_with_reply_and_block) connection_send_with_reply_and_block;
  decltype(&::dbus_connection_set_exit_on_disconnect) connection_set_exit_on_disconnect;
  decltype(&::dbus_connection_unref) connection_unref;
  decltype(&::dbus_error_free) error_free;
  decltype(&::dbus_error_has_name) error_has_name;
  decltype(&::dbus_error_init) error_init;
  decltype(&::dbus_error_is_set) error_is_set;
  decltype(&::dbus_message_get_args) message_get_args;
  decltype(&::dbus_message_get_path) message_get_path;
  decltype(&::dbus_message_is_signal) message_is_signal;
  decltype(&::dbus_message_iter_append_basic) message_iter_append_basic;
  decltype(&::dbus_message_iter_close_container) message_iter_close_container;
  decltype(&::dbus_message_iter_get_arg_type) message_iter_get_arg_type;
  decltype(&::dbus_message_iter_get_basic) message_iter_get_basic;
  decltype(&::dbus_message_iter_init) message_iter_init;
  decltype(&::dbus_message_iter_init_append) message_iter_init_append;
  decltype(&::dbus_message_iter_next) message_iter_next;
  decltype(&::dbus_message_iter_open_container) message_iter_open_container;
  decltype(&::dbus_message_iter_recurse) message_iter_recurse;
  decltype(&::dbus_message_new_method_call) message_new_method_call;
  decltype(&::dbus_message_set_no_reply) message_set_no_reply;
  decltype(&::dbus_message_unref) message_unref;
};

// Loads libdbus on first use; later calls give the same answer. Null with
// `error` set when it is not installed.
const DBusApi* LoadDBus(std::string& error);

}  // namespace rc
