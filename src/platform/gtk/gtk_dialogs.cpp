#include "platform/gtk/gtk_dialogs.h"

#include <vector>

#include "platform/gtk/gtk_api.h"

namespace rc {

namespace {

constexpr const char* kDefaultTitle = "保存截图";

std::vector<GtkPtr> AddFilters(const GtkApi& gtk, GtkPtr chooser, const SaveDialogRequest& request) {
  std::vector<GtkPtr> filters;
  for (const auto& [label, pattern] : request.filters) {
    GtkPtr filter = gtk.file_filter_new();
    gtk.file_filter_set_name(filter, label.c_str());
    gtk.file_filter_add_pattern(filter, pattern.c_str());
    gtk.file_chooser_add_filter(chooser, filter);
    filters.push_back(filter);
  }
  if (!filters.empty()) gtk.file_chooser_set_filter(chooser, filters.front());
  return filters;
}

std::string LastComponent(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

SaveDialogResult ReadChoice(const GtkApi& gtk, GtkPtr chooser, const std::vector<GtkPtr>& filters) {
  SaveDialogResult result;
  char* name = gtk.file_chooser_get_filename(chooser);
  if (name == nullptr) return result;
  result.path = name;
  gtk.free(name);
  result.fileTitle = LastComponent(result.path);
  const GtkPtr chosen = gtk.file_chooser_get_filter(chooser);
  for (size_t i = 0; i < filters.size(); ++i)
    if (filters[i] == chosen) result.filterIndex = static_cast<int>(i) + 1;
  result.confirmed = true;
  return result;
}

}  // namespace

SaveDialogResult ShowGtkSaveDialog(const SaveDialogRequest& request) {
  SaveDialogResult result;
  const GtkApi* gtk = LoadGtk(result.error);
  if (gtk == nullptr) return result;
  const char* title = request.title.empty() ? kDefaultTitle : request.title.c_str();
  GtkPtr chooser = gtk->file_chooser_native_new(title, nullptr, kGtkFileChooserActionSave, nullptr, nullptr);
  if (chooser == nullptr) {
    result.error = "GTK could not make a file chooser";
    return result;
  }
  gtk->file_chooser_set_do_overwrite_confirmation(chooser, request.overwritePrompt ? 1 : 0);
  if (!request.initialDirectory.empty()) gtk->file_chooser_set_current_folder(chooser, request.initialDirectory.c_str());
  const std::vector<GtkPtr> filters = AddFilters(*gtk, chooser, request);
  if (!request.defaultName.empty()) gtk->file_chooser_set_current_name(chooser, request.defaultName.c_str());
  if (gtk->native_dialog_run(chooser) == kGtkResponseAccept) result = ReadChoice(*gtk, chooser, filters);
  gtk->object_unref(chooser);
  FlushGtk(*gtk);
  return result;
}

bool AskGtkYesNo(const std::string& title, const std::string& question) {
  std::string error;
  const GtkApi* gtk = LoadGtk(error);
  if (gtk == nullptr) return false;
  GtkPtr dialog = gtk->message_dialog_new(nullptr, kGtkDialogModal, kGtkMessageQuestion, kGtkButtonsYesNo, "%s",
                                          question.c_str());
  if (dialog == nullptr) return false;
  gtk->window_set_title(dialog, title.c_str());
  gtk->window_set_keep_above(dialog, 1);
  const bool yes = gtk->dialog_run(dialog) == kGtkResponseYes;
  gtk->widget_destroy(dialog);
  FlushGtk(*gtk);
  return yes;
}

}  // namespace rc
