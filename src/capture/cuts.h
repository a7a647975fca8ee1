#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zk {

// A window title without its last hyphen, the character before it and what follows;
// nothing when the title has no hyphen. With dashes, the en dash and the em dash of today's
// browsers' titles (0x96, 0x97 in code page 1252) count as hyphens too.
std::optional<std::string> titleEntry(std::string_view title, bool dashes = false);
// A browser's designation in a window title: the tail from the character before the last
// hyphen; nothing when the title has no hyphen.
std::optional<std::string> designationEntry(std::string_view title, bool dashes = false);
// A confirmed address without one trailing slash, when it is longer than 6 characters.
std::string urlEntry(std::string address);
// Whether the list file gives the entry back as it is: it holds no line break, and no
// double quote that only blanks separate from a comma.
bool storable(std::string_view entry);

} // namespace zk
