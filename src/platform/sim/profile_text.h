#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zk::sim {

// A portable private-profile reader and writer with the system's rules: section and key
// names match whatever their letter case and surrounding blanks; values lose surrounding
// blanks and one pair of enclosing quotes; the result is cut to bufferSize - 1 characters.
std::string profileRead(const std::optional<std::string>& file, std::string_view section,
                        std::string_view key, std::string_view fallback, std::size_t bufferSize);

// The file after writing key=value: the key's line becomes key=value in place, in the file's
// spelling of the key; a new key goes to the end of its section, a new section to the end
// of the file.
std::string profileWrite(const std::optional<std::string>& file, std::string_view section,
                         std::string_view key, std::string_view value);

} // namespace zk::sim
