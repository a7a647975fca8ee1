#pragma once

#include "platform/dde.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zk::sim {

// DDE servers as the test scripts them (to be filled in).
class SimDde final : public Dde {
public:
    std::optional<std::string> request(const std::string&, const std::string&, const std::string&,
                                       int) override {
        return std::nullopt;
    }
};

} // namespace zk::sim
