#include "app/resident.h"

#include <cstdio>

#include "app/host.h"
#include "app/settings.h"
#include "toolbar/artwork.h"

namespace rc {

namespace {
// The characters the size label and the colour readout are made of.
constexpr const char* kWarmUpText = "0123456789 × RGB:(,)";
constexpr const char* kInterfaceFont = "微软雅黑";
constexpr float kInterfaceEmSize = 11.0f;
}  // namespace

void PrepareForCaptures() {
  ToolbarStripImage();
  MenuImage();
  MenuHoverImage();
  Host().ImageCodecs();
  Host().RenderText(kWarmUpText, FontRequest{kInterfaceFont, kInterfaceEmSize});
}

std::string HotkeySettingOf(const std::string& settingsText) {
  const Settings settings = Settings::Parse(settingsText);
  return settings.GetString("install.hotkey", settings.GetString("hotkey"));
}

bool ResidentHotkey(const std::string& setting, Hotkey& hotkey, std::string& error) {
  const HotkeyParse parsed = ParseHotkey(setting.empty() ? std::string(kDefaultHotkey) : setting);
  if (!parsed.ok) {
    error = "hotkey = " + setting + ": " + parsed.error;
    return false;
  }
  hotkey = parsed.hotkey;
  return true;
}

std::string ResidentReadyText(const Hotkey& hotkey) {
  return HotkeyText(hotkey) + " starts a capture; `regioncap --quit` ends the resident mode";
}

std::string ResidentAlreadyRunningText() {
  return "a resident regioncap already runs in this session (`regioncap --quit` ends it)";
}

std::string NoResidentText() { return "no resident regioncap runs in this session"; }

int RunResidentWithSettings(const std::optional<std::vector<uint8_t>>& settingsFile,
                            const std::function<int(const Hotkey&)>& runResident) {
  const std::string setting = settingsFile ? HotkeySettingOf(std::string(settingsFile->begin(), settingsFile->end())) : "";
  Hotkey hotkey;
  std::string error;
  if (!ResidentHotkey(setting, hotkey, error)) {
    std::fprintf(stderr, "regioncap: %s\n", error.c_str());
    return 1;
  }
  return runResident(hotkey);
}

int ReportNoGlobalShortcuts(const std::string& desktop) {
  std::fprintf(stderr,
               "regioncap: %s lets no program grab a shortcut for itself; bind a key to `regioncap` in the "
               "desktop's keyboard settings instead\n",
               desktop.c_str());
  return 1;
}

}  // namespace rc
