#pragma once

#include "platform/dde.h"

namespace zk {

// A DDEML client (to be filled in).
class Win32Dde final : public Dde {
public:
    std::optional<std::string> request(const std::string&, const std::string&, const std::string&,
                                       int) override {
        return std::nullopt;
    }
};

} // namespace zk
