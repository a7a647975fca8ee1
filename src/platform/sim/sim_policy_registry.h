#pragma once

#include "platform/policy_registry.h"

#include <utility>

namespace zk::sim {

// Policy values as a test sets them.
struct SimPolicyRegistry final : PolicyRegistry {
    std::map<std::pair<Scope, std::string>, Values> keys;

    static Value text(std::string value) { return {Value::Type::Text, std::move(value), 0}; }
    static Value number(std::uint32_t value) { return {Value::Type::Number, {}, value}; }
    Values values(Scope scope, const std::string& subkey) override {
        const auto found = keys.find({scope, subkey});
        return found == keys.end() ? Values{} : found->second;
    }
};

} // namespace zk::sim
