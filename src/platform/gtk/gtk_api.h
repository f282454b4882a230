// GTK 3, loaded only when the user saves: start-up does not pay for it and
// the executable does not link it. The few functions the dialogs use are
// looked up by name.
#pragma once

#include <string>

namespace rc {

// GTK's objects stay opaque here; only pointers pass through.
struct GtkOpaque;
using GtkPtr = GtkOpaque*;

struct GtkApi {
  int (*init_check)(int*, char***);
  GtkPtr (*file_chooser_native_new)(const char*, GtkPtr, int, const char*, const char*);
  int (*native_dialog_run)(GtkPtr);
  void (*file_chooser_set_do_overwrite_confirmation)(GtkPtr, int);
  void (*file_chooser_set_current_name)(GtkPtr, const char*);
  int (*file_chooser_set_current_folder)(GtkPtr, const char*);
  GtkPtr (*file_filter_new)();
  void (*file_filter_set_name)(GtkPtr, const char*);
  void (*file_filter_add_pattern)(GtkPtr, const char*);
  void (*file_chooser_add_filter)(GtkPtr, GtkPtr);
  void (*file_chooser_set_filter)(GtkPtr, GtkPtr);
  GtkPtr (*file_chooser_get_filter)(GtkPtr);
  char* (*file_chooser_get_filename)(GtkPtr);
  GtkPtr (*message_dialog_new)(GtkPtr, int, int, int, const char*, ...);
  void (*window_set_title)(GtkPtr, const char*);
  void (*window_set_keep_above)(GtkPtr, int);
  int (*dialog_run)(GtkPtr);
  void (*widget_destroy)(GtkPtr);
  int (*events_pending)();
  int (*main_iteration)();
  void (*object_unref)(void*);
  void (*free)(void*);
};

// GTK's constants the dialogs need.
constexpr int kGtkFileChooserActionSave = 1;
constexpr int kGtkResponseAccept = -3;
constexpr int kGtkResponseYes = -8;
constexpr int kGtkDialogModal = 1;
constexpr int kGtkMessageQuestion = 2;
constexpr int kGtkButtonsYesNo = 4;

// Loads and initialises GTK on first use; later calls give the same
// answer. Null with `error` set when it is not installed or has no display.
const GtkApi* LoadGtk(std::string& error);

// Lets GTK finish what closing a dialog left pending, so the dialog is gone
// from the screen before the overlay takes the input back.
void FlushGtk(const GtkApi& gtk);

}  // namespace rc
