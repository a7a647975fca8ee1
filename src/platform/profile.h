#pragma once

#include <cstddef>
#include <string>

namespace zk {

// Private profile (INI) files as the system reads and writes them.
class Profile {
public:
    virtual ~Profile() = default;
    // GetPrivateProfileStringA: what the call places in a buffer of bufferSize characters,
    // up to its terminating NUL. A missing file, section or key gives the default.
    virtual std::string readString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& fallback,
                                   std::size_t bufferSize) = 0;
    // WritePrivateProfileStringA: creates the file and the section when missing.
    virtual bool writeString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

} // namespace zk
