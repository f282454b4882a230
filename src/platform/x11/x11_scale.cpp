#include "platform/x11/x11_scale.h"

#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/x11/x11_resources.h"

namespace rc {

float ReadX11UiScale(Display* dpy) {
  const char* variable = std::getenv(kScaleVariable);
  // The RESOURCE_MANAGER text as it was when the connection opened.
  const char* resources = XResourceManagerString(dpy);
  return ChooseX11UiScale(variable != nullptr ? std::optional<std::string_view>(variable) : std::nullopt,
                          resources != nullptr ? resources : "");
}

}  // namespace rc
