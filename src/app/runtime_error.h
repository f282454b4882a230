// The runtime-error path: the error text is shown, then the program ends
// with exit code -1 (the exit routine still runs).
#pragma once

#include <optional>
#include <string>

namespace rc {

// Builds the error text shown to the user: the heading, the number when
// there is one, then the message.
std::string RuntimeErrorText(std::optional<int> number, const std::string& message);

[[noreturn]] void RaiseRuntimeError(std::optional<int> number, const std::string& message);

// A capture that cannot begin (the screen cannot be read): the error text
// is shown and the program ends with exit code 1.
[[noreturn]] void RaiseCaptureError(const std::string& message);

}  // namespace rc
