// What every host's resident mode (regioncap --daemon) shares: the work done
// once before the first capture, and the words it uses with the user.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/hotkey.h"

namespace rc {

// Decodes the artwork and loads the interface's font through the installed
// host, so that a capture started later finds them ready.
void PrepareForCaptures();

// The `hotkey` line of a settings file's text (under [install] or at the
// top); empty when there is none.
std::string HotkeySettingOf(const std::string& settingsText);

// The shortcut the settings name, or the default; false with `error` set
// when the settings name something that is not a shortcut.
bool ResidentHotkey(const std::string& setting, Hotkey& hotkey, std::string& error);

// Runs the host's resident mode with the shortcut the settings file names
// (nullopt: no file, so the default). A line that names no shortcut is
// reported on stderr and gives exit code 1 before anything is grabbed.
int RunResidentWithSettings(const std::optional<std::vector<uint8_t>>& settingsFile,
                            const std::function<int(const Hotkey&)>& runResident);

// The line a resident regioncap prints once it listens for its shortcut.
std::string ResidentReadyText(const Hotkey& hotkey);
// The line a second `--daemon` prints before it exits with 1.
std::string ResidentAlreadyRunningText();
// The line `--quit` prints when no resident regioncap runs.
std::string NoResidentText();

// For a desktop where no program may grab a shortcut for itself (Wayland
// without the global-shortcuts portal): prints how to bind `regioncap` in
// the desktop's own settings and returns the exit code, 1.
int ReportNoGlobalShortcuts(const std::string& desktop);

}  // namespace rc
