#include "app/runtime_error.h"

#include <cstdlib>

#include "app/host.h"

namespace rc {

std::string RuntimeErrorText(std::optional<int> number, const std::string& message) {
  std::string text = "运行时出错!\r\n\r\n";
  if (number) text += "错误代码：" + std::to_string(*number) + "\r\n\r\n";
  text += "错误信息：" + message + "\r\n";
  return text;
}

void RaiseRuntimeError(std::optional<int> number, const std::string& message) {
  Host().ShowErrorText(RuntimeErrorText(number, message));
  Host().EndProgram(-1);
  std::abort();  // EndProgram never returns; this keeps the promise visible
}

void RaiseCaptureError(const std::string& message) {
  Host().ShowErrorText(RuntimeErrorText(std::nullopt, message));
  Host().EndProgram(1);
  std::abort();
}

}  // namespace rc
