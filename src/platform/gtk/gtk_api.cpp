#include "platform/gtk/gtk_api.h"

#include <cstdlib>
#include <optional>

#include "platform/posix/dl_symbol.h"

namespace rc {

namespace {

bool ResolveAll(void* lib, GtkApi& g) {
  return ResolveSymbol(lib, "gtk_init_check", g.init_check) &&
         ResolveSymbol(lib, "gtk_file_chooser_native_new", g.file_chooser_native_new) &&
         ResolveSymbol(lib, "gtk_native_dialog_run", g.native_dialog_run) &&
         ResolveSymbol(lib, "gtk_file_chooser_set_do_overwrite_confirmation", g.file_chooser_set_do_overwrite_confirmation) &&
         ResolveSymbol(lib, "gtk_file_chooser_set_current_name", g.file_chooser_set_current_name) &&
         ResolveSymbol(lib, "gtk_file_chooser_set_current_folder", g.file_chooser_set_current_folder) &&
         ResolveSymbol(lib, "gtk_file_filter_new", g.file_filter_new) &&
         ResolveSymbol(lib, "gtk_file_filter_set_name", g.file_filter_set_name) &&
         ResolveSymbol(lib, "gtk_file_filter_add_pattern", g.file_filter_add_pattern) &&
         ResolveSymbol(lib, "gtk_file_chooser_add_filter", g.file_chooser_add_filter) &&
         ResolveSymbol(lib, "gtk_file_chooser_set_filter", g.file_chooser_set_filter) &&
         ResolveSymbol(lib, "gtk_file_chooser_get_filter", g.file_chooser_get_filter) &&
         ResolveSymbol(lib, "gtk_file_chooser_get_filename", g.file_chooser_get_filename) &&
         ResolveSymbol(lib, "gtk_message_dialog_new", g.message_dialog_new) &&
         ResolveSymbol(lib, "gtk_window_set_title", g.window_set_title) &&
         ResolveSymbol(lib, "gtk_window_set_keep_above", g.window_set_keep_above) &&
         ResolveSymbol(lib, "gtk_dialog_run", g.dialog_run) && ResolveSymbol(lib, "gtk_widget_destroy", g.widget_destroy) &&
         ResolveSymbol(lib, "gtk_events_pending", g.events_pending) &&
         ResolveSymbol(lib, "gtk_main_iteration", g.main_iteration) && ResolveSymbol(lib, "g_object_unref", g.object_unref) &&
         ResolveSymbol(lib, "g_free", g.free);
}

const GtkApi* Load(std::string& error) {
  // NOTE: GTK cannot be unloaded once initialised; the handle stays open.
  void* library = dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    error = "GTK 3 is not installed (libgtk-3.so.0)";
    return nullptr;
  }
  static GtkApi api{};
  if (!ResolveAll(library, api)) {
    error = "the installed GTK 3 lacks a function the save dialog needs";
    return nullptr;
  }
  // The accessibility bus is not needed for one dialog and can take
  // seconds to time out where none runs.
  setenv("NO_AT_BRIDGE", "1", 0);
  if (!api.init_check(nullptr, nullptr)) {
    error = "GTK cannot open the display";
    return nullptr;
  }
  return &api;
}

}  // namespace

const GtkApi* LoadGtk(std::string& error) {
  static std::string loadError;
  static const GtkApi* api = Load(loadError);
  error = loadError;
  return api;
}

void FlushGtk(const GtkApi& gtk) {
  while (gtk.events_pending()) gtk.main_iteration();
}

}  // namespace rc
