#pragma once

#include "platform/files.h"
#include "platform/profile.h"

namespace zk::sim {

// Profile files kept in the simulated files, read and written by the portable rules.
class SimProfile final : public Profile {
public:
    explicit SimProfile(Files& files) : files_(files) {}

    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& fallback,
                           std::size_t bufferSize) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    Files& files_;
};

} // namespace zk::sim
