// Which interaction style to ask the input method for: over-the-spot,
// whose windows sit where the program says the caret is, when the input
// method offers it; otherwise the root-window style, which every input
// method and the built-in one take.
#pragma once

#include <X11/Xlib.h>

#include <algorithm>
#include <span>

namespace rc {

inline constexpr XIMStyle kRootWindowStyle = XIMPreeditNothing | XIMStatusNothing;

inline XIMStyle PreferredInputStyle(std::span<const XIMStyle> offered) {
  for (const XIMStyle wanted : {XIMPreeditPosition | XIMStatusNothing, XIMPreeditPosition | XIMStatusNone}) {
    if (std::find(offered.begin(), offered.end(), wanted) != offered.end()) return wanted;
  }
  return kRootWindowStyle;
}

inline bool IsOverTheSpot(XIMStyle style) { return (style & XIMPreeditPosition) != 0; }

}  // namespace rc
