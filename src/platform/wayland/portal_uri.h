// The local path of a file:// URI as the screenshot portal returns it.
#pragma once

#include <optional>
#include <string>

namespace rc {

// "file:///tmp/a%20b.png" -> "/tmp/a b.png"; nothing for other schemes,
// other hosts, malformed escapes or an escaped NUL.
std::optional<std::string> LocalPathOfUri(const std::string& uri);

}  // namespace rc
