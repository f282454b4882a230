#include "app/settings.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "app/ascii_case.h"

namespace rc {

namespace {

// A settings file is a few hundred bytes; anything far larger is not one.
constexpr size_t kMaxSettingsBytes = 1 << 20;
constexpr std::string_view kFileName = "settings.ini";

std::string_view Trim(std::string_view s) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

// "section.key" to its two halves; a key without a dot lies above the first header.
std::pair<std::string_view, std::string_view> SplitKey(std::string_view key) {
  const size_t dot = key.find('.');
  if (dot == std::string_view::npos) return {{}, key};
  return {key.substr(0, dot), key.substr(dot + 1)};
}

std::string OneLine(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c != '\n' && c != '\r') out += c;
  }
  return std::string(Trim(out));
}

bool IsComment(std::string_view line) { return !line.empty() && (line[0] == '#' || line[0] == ';'); }

// "[name]" gives the section's name; anything else nothing.
std::optional<std::string> SectionHeader(std::string_view line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return std::string(Trim(line.substr(1, line.size() - 2)));
}

}  // namespace

Settings Settings::Parse(std::string_view text) {
  Settings settings;
  if (text.size() > kMaxSettingsBytes) return settings;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::string section;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (raw.ends_with('\r')) raw.remove_suffix(1);
    Line line{std::string(raw), section, {}, {}};
    const std::string_view body = Trim(raw);
    const size_t equals = body.find('=');
    if (const auto header = SectionHeader(body)) {
      section = line.section = *header;
    } else if (!IsComment(body) && equals != std::string_view::npos && !Trim(body.substr(0, equals)).empty()) {
      line.key = std::string(Trim(body.substr(0, equals)));
      line.value = std::string(Trim(body.substr(equals + 1)));
    }
    settings.lines_.push_back(std::move(line));
  }
  return settings;
}

std::string Settings::Format() const {
  std::string text;
  for (const Line& line : lines_) text += line.raw + "\n";
  return text;
}

// The last of several equal keys wins, as it would for a reader going down the file.
std::optional<size_t> Settings::IndexOf(std::string_view section, std::string_view key) const {
  for (size_t i = lines_.size(); i-- > 0;) {
    const Line& line = lines_[i];
    if (!line.key.empty() && line.section == section && line.key == key) return i;
  }
  return std::nullopt;
}

std::optional<std::string> Settings::Find(std::string_view key) const {
  const auto [section, name] = SplitKey(key);
  const auto index = IndexOf(section, name);
  if (!index) return std::nullopt;
  return lines_[*index].value;
}

std::string Settings::GetString(std::string_view key, std::string_view fallback) const {
  return Find(key).value_or(std::string(fallback));
}

int64_t Settings::GetInt(std::string_view key, int64_t fallback) const {
  const auto text = Find(key);
  if (!text || text->empty()) return fallback;
  const char* first = text->data() + (text->front() == '+' ? 1 : 0);
  int64_t value = 0;
  const auto [end, error] = std::from_chars(first, text->data() + text->size(), value);
  if (error != std::errc{} || end != text->data() + text->size()) return fallback;
  return value;
}

bool Settings::GetBool(std::string_view key, bool fallback) const {
  const auto text = Find(key);
  if (!text) return fallback;
  const std::string word = AsciiLower(*text);
  if (word == "true" || word == "yes" || word == "on" || word == "1") return true;
  if (word == "false" || word == "no" || word == "off" || word == "0") return false;
  return fallback;
}

// After the last line of the section, or at the end with a new header.
size_t Settings::InsertionPoint(std::string_view section) {
  size_t last = lines_.size();
  bool seen = section.empty();
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].section != section) continue;
    seen = true;
    if (!Trim(lines_[i].raw).empty()) last = i + 1;
  }
  if (section.empty() && last == lines_.size()) {
    last = 0;
    while (last < lines_.size() && lines_[last].section.empty()) ++last;
  }
  if (seen) return last;
  std::string header(1, '[');
  header.append(section).append(1, ']');
  lines_.push_back({header, std::string(section), {}, {}});
  return lines_.size();
}

void Settings::SetString(std::string_view key, std::string_view value) {
  const auto [section, name] = SplitKey(key);
  const std::string clean = OneLine(value);
  const std::string raw = std::string(name) + " = " + clean;
  if (const auto index = IndexOf(section, name)) {
    lines_[*index].raw = raw;
    lines_[*index].value = clean;
    return;
  }
  const size_t at = InsertionPoint(section);
  lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(at), Line{raw, std::string(section), std::string(name), clean});
}

void Settings::SetInt(std::string_view key, int64_t value) { SetString(key, std::to_string(value)); }

void Settings::SetBool(std::string_view key, bool value) { SetString(key, value ? "true" : "false"); }

void Settings::Remove(std::string_view key) {
  const auto [section, name] = SplitKey(key);
  std::erase_if(lines_, [&](const Line& l) { return !l.key.empty() && l.section == section && l.key == name; });
}

std::string SettingsFilePath() {
  const std::string folder = Host().SettingsDirectory();
  if (folder.empty()) return {};
  const char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
  return folder.back() == separator ? folder + std::string(kFileName) : folder + separator + std::string(kFileName);
}

Settings LoadSettings() {
  const std::string path = SettingsFilePath();
  if (path.empty()) return {};
  const auto bytes = Host().ReadSmallFile(path, kMaxSettingsBytes);
  if (!bytes) return {};
  return Settings::Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

HostResult SaveSettings(const Settings& settings) {
  const std::string path = SettingsFilePath();
  if (path.empty()) return HostResult::Fail("no folder for settings on this system");
  if (HostResult made = Host().MakeDirectories(Host().SettingsDirectory()); !made) return made;
  const std::string text = settings.Format();
  return Host().WriteFileAtomic(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace rc
