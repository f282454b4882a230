#include "output/file_dialog.h"

#include "app/host.h"

namespace rc {

namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

// Without ASCII and full-width spaces at either end.
std::string_view TrimSpaces(std::string_view text) {
  for (;;) {
    if (text.starts_with(' ')) text.remove_prefix(1);
    else if (text.starts_with(kFullWidthSpace)) text.remove_prefix(kFullWidthSpace.size());
    else if (text.ends_with(' ')) text.remove_suffix(1);
    else if (text.ends_with(kFullWidthSpace)) text.remove_suffix(kFullWidthSpace.size());
    else return text;
  }
}

std::vector<std::string> SplitAt(const std::string& text, std::string_view separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
    pieces.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

// The directory part of `path` including its separator: `path` without its
// last component. Both separators count, so Windows paths work too.
std::string DirectoryOf(const std::string& path, const std::string& title) {
  if (!title.empty() && path.size() >= title.size() && path.ends_with(title))
    return path.substr(0, path.size() - title.size());
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// UTF-8 continuation bytes are never '.', so a byte search never splits a
// character.
size_t ExtensionDot(const std::string& title) { return title.empty() ? std::string::npos : title.find('.', 1); }

}  // namespace

FilterList ParseFilterText(const std::string& filter) {
  FilterList list;
  if (filter.empty()) return list;
  const std::vector<std::string> parts = SplitAt(filter, "|");
  for (size_t i = 0; i + 1 < parts.size(); i += 2) list.emplace_back(parts[i], parts[i + 1]);
  return list;
}

std::string FilterExtension(const std::string& filter, int index) {
  if (filter.empty() || index < 1) return {};
  const std::vector<std::string> pieces = SplitAt(filter, "|*");
  if (static_cast<size_t>(index) >= pieces.size()) return {};
  const std::string& piece = pieces[static_cast<size_t>(index)];
  const std::string extension = piece.substr(0, piece.find('|'));
  return extension == ".*" ? std::string() : extension;
}

ChosenFile ApplyExtension(const std::string& path, const std::string& title, const std::string& extension) {
  const std::string name = title.empty() ? path.substr(DirectoryOf(path, {}).size()) : title;
  const size_t dot = ExtensionDot(name);
  if (dot == std::string::npos) return {path + extension, name + extension};
  const std::string newTitle = name.substr(0, dot) + extension;
  return {DirectoryOf(path, name) + newTitle, newTitle};
}

std::string FileDialog::ShowSaveDialog(uintptr_t owner, const std::string& title, const std::string& filter,
                                       const std::string& initialDirectory, int flags) {
  // The host's dialog always sits above the overlay, the one window there is.
  static_cast<void>(owner);
  const std::string& useFilter = filter.empty() ? defaultFilter_ : filter;
  SaveDialogRequest request;
  request.filters = ParseFilterText(useFilter);
  if (!TrimSpaces(defaultFileName_).empty()) request.defaultName = defaultFileName_;
  request.initialDirectory = initialDirectory.empty() ? defaultInitialDirectory_ : initialDirectory;
  request.title = title.empty() ? defaultTitle_ : title;
  request.overwritePrompt = ((flags == 0 ? defaultFlags_ : flags) & kOfnOverwritePrompt) != 0;
  Host().ProcessPendingMessages();
  const SaveDialogResult result = Host().ShowSaveDialog(request);
  lastError_ = result.error;
  if (!result.confirmed || result.path.empty()) return {};
  filterIndex_ = result.filterIndex;
  const ChosenFile chosen = ApplyExtension(result.path, result.fileTitle, FilterExtension(useFilter, filterIndex_));
  confirmedPath_ = result.path;
  fileName_ = chosen.path;
  fileTitle_ = chosen.title;
  return fileName_;
}

}  // namespace rc
