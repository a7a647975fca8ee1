#pragma once

#include "platform/policy_registry.h"

#include <optional>
#include <string>
#include <vector>

namespace zk {

// What the organisation set, the computer's values before the user's.
struct Policy {
    // Entries of both scopes, the computer's first, each once.
    std::vector<std::string> urls;
    std::vector<std::string> titles;
    std::optional<std::string> listFolder;
    std::optional<bool> todaysBrowsers;
    std::optional<std::string> blockTimes;
    std::optional<int> pausesPerDay;
    std::optional<bool> quitAllowed;
    std::optional<bool> startsWithWindows;
    // The values it could not use, said as "Name: why".
    std::vector<std::string> problems;

    bool operator==(const Policy&) const = default;
};

// Reads the policy: a value of the computer holds over the user's; a value of the wrong type
// is left out, said in `problems`, and the other scope's is used if it has one.
Policy readPolicy(PolicyRegistry& registry);

} // namespace zk
