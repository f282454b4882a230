// Functions of a library opened at run time with dlopen: the program loads
// GTK and libdbus only when a save dialog or the screenshot portal needs
// them, so that every other capture starts without them.
#pragma once

#include <dlfcn.h>

namespace rc {

// Points `function` at `name` in `library`; false when the library lacks it.
template <typename F>
bool ResolveSymbol(void* library, const char* name, F& function) {
  function = reinterpret_cast<F>(dlsym(library, name));
  return function != nullptr;
}

}  // namespace rc
