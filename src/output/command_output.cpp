#include "output/command_output.h"

#include <cstdio>

#include "app/state.h"
#include "gfx/image_format.h"
#include "output/capture_piece.h"
#include "output/timestamp.h"

namespace rc {

namespace {

struct FormatName {
  std::string_view extension;
  std::string_view formatId;
};

constexpr FormatName kFormats[] = {
    {"png", kImageFormatPng}, {"jpg", kImageFormatJpeg}, {"jpeg", kImageFormatJpeg},
    {"bmp", kImageFormatBmp}, {"gif", kImageFormatGif},
};

const FormatName* FormatByExtension(std::string_view extension) {
  std::string lower(extension);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  for (const FormatName& f : kFormats) {
    if (f.extension == lower) return &f;
  }
  return nullptr;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The extension of the path's last component; a leading dot is no extension.
std::string_view ExtensionOf(std::string_view path) {
  size_t start = path.size();
  while (start > 0 && !IsSeparator(path[start - 1])) --start;
  const std::string_view name = path.substr(start);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return name.substr(dot + 1);
}

const FormatName& AskedFormat(const CaptureOptions& options) {
  const FormatName* f = FormatByExtension(options.format);
  return f != nullptr ? *f : kFormats[0];
}

}  // namespace

OutputTarget ResolveOutputTarget(const CaptureOptions& options, const HostRuntime::LocalTime& now) {
  const std::string& path = options.outputPath;
  const bool folder = IsSeparator(path.back()) || Host().DirectoryExists(path);
  if (folder) {
    const FormatName& f = AskedFormat(options);
    const char separator = path.find('\\') != std::string::npos && path.find('/') == std::string::npos ? '\\' : '/';
    const std::string dir = IsSeparator(path.back()) ? path : path + separator;
    return {dir + "截图" + TimestampText(now) + "." + std::string(f.extension), f.formatId};
  }
  const FormatName* byExtension = FormatByExtension(ExtensionOf(path));
  return {path, byExtension != nullptr ? byExtension->formatId : AskedFormat(options).formatId};
}

HostResult WriteOutputFile(const Canvas& picture, const CaptureOptions& options) {
  const OutputTarget target = ResolveOutputTarget(options, Host().Now());
  const std::vector<uint8_t> bytes = EncodePicture(picture, target.formatId);
  if (bytes.empty()) return HostResult::Fail("cannot encode the picture for " + target.path);
  return Host().WriteFileAtomic(target.path, bytes);
}

std::string GeometryText(const Box& rect) {
  return std::to_string(rect.width) + "x" + std::to_string(rect.height) + "+" + std::to_string(rect.x) + "+" +
         std::to_string(rect.y);
}

void PrintGeometryIfAsked(const CaptureOptions& options, const Box& rect) {
  if (!options.printGeometry) return;
  std::fputs((GeometryText(rect) + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void PrintGeometryIfAsked(const IntRect& selection) {
  const CaptureState& s = State();
  PrintGeometryIfAsked(s.Options, {selection.left + s.Desktop.x, selection.top + s.Desktop.y, selection.Width(),
                                   selection.Height()});
}

}  // namespace rc
