#pragma once

#include "platform/profile.h"

namespace zk {

// Private profile files through kernel32.
class Win32Profile final : public Profile {
public:
    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& fallback,
                           std::size_t bufferSize) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

} // namespace zk
