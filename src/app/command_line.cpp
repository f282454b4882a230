#include "app/command_line.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <string_view>
#include <type_traits>
#include <utility>

#include "app/ascii_case.h"

#ifndef REGIONCAP_VERSION
#define REGIONCAP_VERSION "0.0.0"
#endif

namespace rc {

namespace {

// A day is far longer than any script means to wait.
constexpr double kMaxDelaySeconds = 24 * 60 * 60;

std::string Quoted(std::string_view s) {
  std::string quoted(1, '\'');
  return quoted.append(s).append(1, '\'');
}

template <typename T>
std::optional<T> Number(std::string_view text) {
  T value{};
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || (text.front() == '-' && std::is_floating_point_v<T>)) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "X,Y,W,H" with a positive width and height; X and Y may be negative
// (the desktop's origin may be).
std::optional<Box> RegionValue(std::string_view text) {
  std::vector<int32_t> parts;
  for (;;) {
    const size_t comma = text.find(',');
    const auto n = Number<int32_t>(text.substr(0, comma));
    if (!n || parts.size() == 4) return std::nullopt;
    parts.push_back(*n);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (parts.size() != 4 || parts[2] <= 0 || parts[3] <= 0) return std::nullopt;
  const int64_t right = int64_t{parts[0]} + parts[2], bottom = int64_t{parts[1]} + parts[3];
  if (right > std::numeric_limits<int32_t>::max() || bottom > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return Box{parts[0], parts[1], parts[2], parts[3]};
}

std::optional<std::string> FormatValue(std::string_view text) {
  const std::string word = AsciiLower(text);
  if (word == "png" || word == "bmp" || word == "gif" || word == "jpg") return word;
  if (word == "jpeg") return std::string("jpg");
  return std::nullopt;
}

using ValueSetter = std::function<std::string(CommandLineOptions&, std::string_view)>;

// Each option that takes a value: how it is read, and the complaint when it cannot be.
const std::vector<std::pair<std::string_view, ValueSetter>>& ValueOptions() {
  static const std::vector<std::pair<std::string_view, ValueSetter>> options = {
      {"--delay",
       [](CommandLineOptions& o, std::string_view v) -> std::string {
         const auto seconds = Number<double>(v);
         if (!seconds || !std::isfinite(*seconds) || *seconds > kMaxDelaySeconds) {
           return "--delay wants a number of seconds from 0 to 86400, not " + Quoted(v);
         }
         o.delaySeconds = *seconds;
         return {};
       }},
      {"--output",
       [](CommandLineOptions& o, std::string_view v) -> std::string {
         if (v.empty()) return "--output wants a file or folder name";
         o.outputPath = std::string(v);
         return {};
       }},
      {"--format",
       [](CommandLineOptions& o, std::string_view v) -> std::string {
         const auto format = FormatValue(v);
         if (!format) return "--format wants png, jpg, bmp or gif, not " + Quoted(v);
         o.format = *format;
         return {};
       }},
      {"--region",
       [](CommandLineOptions& o, std::string_view v) -> std::string {
         o.region = RegionValue(v);
         if (!o.region) return "--region wants X,Y,W,H with a positive width and height, not " + Quoted(v);
         return {};
       }},
  };
  return options;
}

bool* FlagOption(CommandLineOptions& o, std::string_view name) {
  if (name == "--print-geometry") return &o.printGeometry;
  if (name == "--no-window-snap") return &o.noWindowSnap;
  if (name == "--help" || name == "-h") return &o.help;
  if (name == "--version") return &o.version;
  if (name == "--daemon") return &o.daemon;
  if (name == "--quit") return &o.quit;
  return nullptr;
}

const ValueSetter* ValueOption(std::string_view name) {
  for (const auto& [option, setter] : ValueOptions()) {
    if (option == name) return &setter;
  }
  return nullptr;
}

// One argument, and the next one when it is the value; returns the complaint.
std::string TakeArgument(CommandLineOptions& o, const std::vector<std::string>& args, size_t& i) {
  const std::string_view arg = args[i];
  const size_t equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
  const std::string_view name = arg.substr(0, equals);
  if (bool* flag = FlagOption(o, name)) {
    if (equals != std::string_view::npos) return std::string(name) + " takes no value";
    *flag = true;
    return {};
  }
  const ValueSetter* setter = ValueOption(name);
  if (setter == nullptr) {
    return arg.starts_with("-") ? "unknown option " + Quoted(name) : "unexpected argument " + Quoted(arg);
  }
  if (equals != std::string_view::npos) return (*setter)(o, arg.substr(equals + 1));
  if (i + 1 >= args.size()) return std::string(name) + " needs a value";
  return (*setter)(o, args[++i]);
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  for (size_t i = 0; i < args.size() && parsed.Ok(); ++i) parsed.error = TakeArgument(parsed.options, args, i);
  const CommandLineOptions& o = parsed.options;
  if (parsed.Ok() && o.daemon && o.quit) parsed.error = "--daemon and --quit cannot go together";
  return parsed;
}

std::string HelpText() {
  return "Usage: regioncap [options]\n"
         "Freezes the screen and lets you select a region of it, then copies it to the\n"
         "clipboard (double-click, Return, Ctrl+C) or saves it (Ctrl+S).\n"
         "\n"
         "Options:\n"
         "  --delay SECONDS     wait this long before taking the snapshot\n"
         "  --output PATH       finishing also writes the picture to PATH; a folder gets\n"
         "                      截图<date and time>.<format>\n"
         "  --format FORMAT     png, jpg, bmp or gif, for a PATH without an extension\n"
         "                      (default png)\n"
         "  --region X,Y,W,H    capture this rectangle of the desktop at once, without\n"
         "                      the overlay, to --output, else to the clipboard\n"
         "  --print-geometry    print the captured rectangle as WxH+X+Y on stdout\n"
         "  --no-window-snap    a click without a drag does not select the window under it\n"
         "                      (also: window_snap = false in the settings file)\n"
         "  --daemon            stay resident and capture on the hotkey\n"
         "  --quit              end a resident regioncap\n"
         "  --version           print the version and exit\n"
         "  --help              print this help and exit\n"
         "\n"
         "Exit status:\n"
         "  0  the capture ended: output written, or abandoned with Escape\n"
         "  1  nothing could be captured or written (no display, unwritable file, ...)\n"
         "  2  bad command line\n"
         "  255  runtime error\n";
}

std::string VersionText() { return std::string("regioncap ") + REGIONCAP_VERSION + "\n"; }

}  // namespace rc
