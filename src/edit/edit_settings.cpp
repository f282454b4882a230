#include "edit/edit_settings.h"

#include <algorithm>

#include "app/settings.h"

namespace rc {

namespace {

// A choice read back from the file, kept inside the range the bar offers.
int32_t Choice(const Settings& s, const char* key, int32_t fallback, int32_t count) {
  const int64_t v = s.GetInt(key, fallback);
  return v >= 0 && v < count ? static_cast<int32_t>(v) : fallback;
}

}  // namespace

EditOptions LoadEditOptions() {
  const Settings s = LoadSettings();
  EditOptions o;
  o.widthChoice = Choice(s, "tools.width", o.widthChoice, 3);
  o.sizeChoice = Choice(s, "tools.text_size", o.sizeChoice, 3);
  o.colourChoice = Choice(s, "tools.colour", o.colourChoice, static_cast<int32_t>(kPalette.size()));
  o.mosaic = s.GetBool("tools.mosaic", o.mosaic);
  return o;
}

// The rest of the file (the hotkey, window snapping, comments) is kept.
void SaveEditOptions(const EditOptions& options) {
  if (SettingsFilePath().empty()) return;
  Settings s = LoadSettings();
  s.SetInt("tools.width", options.widthChoice);
  s.SetInt("tools.text_size", options.sizeChoice);
  s.SetInt("tools.colour", options.colourChoice);
  s.SetBool("tools.mosaic", options.mosaic);
  SaveSettings(s);
}

}  // namespace rc
