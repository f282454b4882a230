#include "platform/win32/win32_command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "platform/win32/win32_text_encoding.h"

namespace rc {

std::vector<std::string> CommandLineArgumentsUtf8() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> utf8;
  if (args == nullptr) return utf8;
  for (int i = 1; i < count; ++i) utf8.push_back(WideToUtf8(args[i]));
  LocalFree(args);
  return utf8;
}

namespace {

bool Leads(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE;
}

}  // namespace

// NOTE: streams redirected by the caller (a pipe, a file) are inherited and
// work already; only a caller's bare console has to be attached.
void ConnectStandardStreams() {
  if (Leads(STD_OUTPUT_HANDLE) && Leads(STD_ERROR_HANDLE)) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!Leads(STD_OUTPUT_HANDLE) || _fileno(stdout) < 0) std::freopen("CONOUT$", "w", stdout);
  if (!Leads(STD_ERROR_HANDLE) || _fileno(stderr) < 0) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace rc
