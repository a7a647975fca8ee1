#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zk::sim {

// The simulated system's ANSI code page, Windows-1252, as Windows converts it: the five
// bytes the code page leaves undefined stand for the control characters of the same value.
std::string utf8FromCp1252(std::string_view ansi);
// Nothing when the text is no valid UTF-8 or holds a character the code page cannot hold.
std::optional<std::string> cp1252FromUtf8(std::string_view utf8);

} // namespace zk::sim
