// The save dialog as the program drives it: defaults kept on the object,
// a filter text of labels and patterns, and the rule that gives the chosen
// name the extension of the chosen filter.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace rc {

// Ask before replacing a file that exists (the dialog asks about the name
// as typed).
constexpr int kOfnOverwritePrompt = 2;

// Labels and patterns alternate, separated by vertical bars.
using FilterList = std::vector<std::pair<std::string, std::string>>;
FilterList ParseFilterText(const std::string& filter);

// The extension of the 1-based filter `index`: the piece after the
// index-th "|*", up to its next "|". ".*" and a missing piece give "".
std::string FilterExtension(const std::string& filter, int index);

struct ChosenFile {
  std::string path;
  std::string title;
};

// Gives the file the extension: a title without a dot gains it; a title
// with one keeps what comes before its first dot and gains it there. The
// directory part of the path is never touched. A dot that starts the
// title (".notes") belongs to the name, not to an extension.
ChosenFile ApplyExtension(const std::string& path, const std::string& title, const std::string& extension);

class FileDialog {
 public:
  void Reset() { *this = FileDialog{}; }

  void SetDefaultOwner(uintptr_t owner) { defaultOwner_ = owner; }
  uintptr_t DefaultOwner() const { return defaultOwner_; }
  void SetDefaultTitle(std::string title) { defaultTitle_ = std::move(title); }
  const std::string& DefaultTitle() const { return defaultTitle_; }
  void SetDefaultFilter(std::string filter) { defaultFilter_ = std::move(filter); }
  const std::string& DefaultFilter() const { return defaultFilter_; }
  void SetDefaultInitialDirectory(std::string dir) { defaultInitialDirectory_ = std::move(dir); }
  const std::string& DefaultInitialDirectory() const { return defaultInitialDirectory_; }
  void SetDialogFlags(int flags) { defaultFlags_ = flags; }
  int DialogFlags() const { return defaultFlags_; }
  void SetDefaultFileName(std::string name) { defaultFileName_ = std::move(name); }
  const std::string& DefaultFileName() const { return defaultFileName_; }

  // Shows the host's save dialog; absent or empty arguments come from the
  // defaults. Non-empty (the final file name) when the user confirmed a
  // name; empty after a cancel or a failure, with the last results kept.
  std::string ShowSaveDialog(uintptr_t owner = 0, const std::string& title = {}, const std::string& filter = {},
                             const std::string& initialDirectory = {}, int flags = 0);

  // Results of the last confirmed dialog.
  int FilterIndex() const { return filterIndex_; }
  const std::string& FileName() const { return fileName_; }
  const std::string& FileTitle() const { return fileTitle_; }
  // The path as the user confirmed it, before the extension was applied:
  // the name the dialog's own overwrite question was about.
  const std::string& ConfirmedPath() const { return confirmedPath_; }
  // Why the last show call could not show a dialog; empty after a cancel.
  const std::string& LastError() const { return lastError_; }

 private:
  uintptr_t defaultOwner_ = 0;
  std::string defaultTitle_;
  std::string defaultFilter_;
  int filterIndex_ = 0;
  std::string defaultInitialDirectory_;
  int defaultFlags_ = 0;
  std::string fileName_;
  std::string fileTitle_;
  std::string defaultFileName_;
  std::string confirmedPath_;
  std::string lastError_;
};

}  // namespace rc
