#pragma once

#include "platform/policy_registry.h"

namespace zk {

class Win32PolicyRegistry final : public PolicyRegistry {
public:
    Values values(Scope scope, const std::string& subkey) override;
};

} // namespace zk
