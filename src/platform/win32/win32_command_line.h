// The command line of the Windows host: wide arguments as UTF-8, and the
// console of the caller for --help and error messages.
#pragma once

#include <string>
#include <vector>

namespace rc {

// The arguments after the program's name, split as the system splits
// them (CommandLineToArgvW), in UTF-8.
std::vector<std::string> CommandLineArgumentsUtf8();

// A GUI program starts without standard streams: when stdout and stderr
// lead nowhere, they are joined to the console of the calling program.
void ConnectStandardStreams();

}  // namespace rc
