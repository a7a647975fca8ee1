#include "policy/policy.h"

#include <algorithm>
#include <cstdlib>

namespace zk {

namespace {

using Scope = PolicyRegistry::Scope;
using Value = PolicyRegistry::Value;

constexpr Scope kScopes[] = {Scope::Computer, Scope::User};

const char* scopeName(Scope scope) { return scope == Scope::Computer ? "HKLM" : "HKCU"; }

// Numbered values in their order ("2" before "10"), others after them by name.
bool numberedBefore(const std::string& a, const std::string& b) {
    const auto number = [](const std::string& name) {
        const bool digits =
            !name.empty() && name.size() < 10 &&
            std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
        return digits ? std::strtoul(name.c_str(), nullptr, 10) : 0xFFFFFFFFul;
    };
    return std::pair(number(a), a) < std::pair(number(b), b);
}

void readList(PolicyRegistry& registry, const char* subkey, std::vector<std::string>& entries,
              std::vector<std::string>& problems) {
    for (const Scope scope : kScopes) {
        const PolicyRegistry::Values values = registry.values(scope, subkey);
        std::vector<std::string> names;
        for (const auto& [name, value] : values) names.push_back(name);
        std::sort(names.begin(), names.end(), numberedBefore);
        for (const std::string& name : names) {
            const Value& value = values.at(name);
            if (value.type != Value::Type::Text) {
                problems.push_back(std::string(scopeName(scope)) + " " + subkey + "\\" + name +
                                   ": kein Text (REG_SZ)");
            } else if (!value.text.empty() &&
                       std::find(entries.begin(), entries.end(), value.text) == entries.end()) {
                entries.push_back(value.text);
            }
        }
    }
}

} // namespace

Policy readPolicy(PolicyRegistry& registry) {
    Policy policy;
    readList(registry, "Urlliste", policy.urls, policy.problems);
    readList(registry, "Titelliste", policy.titles, policy.problems);
    const PolicyRegistry::Values values[] = {registry.values(Scope::Computer, ""),
                                             registry.values(Scope::User, "")};
    // The first usable value of the name, the computer's before the user's.
    const auto value = [&](const char* name, Value::Type type) -> const Value* {
        const Value* usable = nullptr;
        for (std::size_t i = 0; i < 2; ++i) {
            const auto found = values[i].find(name);
            if (found == values[i].end()) continue;
            if (found->second.type != type)
                policy.problems.push_back(std::string(scopeName(kScopes[i])) + " " + name +
                                          (type == Value::Type::Text ? ": kein Text (REG_SZ)"
                                                                     : ": keine Zahl (REG_DWORD)"));
            else if (!usable)
                usable = &found->second;
        }
        return usable;
    };
    if (const Value* v = value("Listenordner", Value::Type::Text)) policy.listFolder = v->text;
    if (const Value* v = value("Sperrzeiten", Value::Type::Text)) policy.blockTimes = v->text;
    if (const Value* v = value("AktuelleBrowser", Value::Type::Number))
        policy.todaysBrowsers = v->number != 0;
    if (const Value* v = value("PausenProTag", Value::Type::Number))
        policy.pausesPerDay = static_cast<int>(std::min<std::uint32_t>(v->number, 1000));
    if (const Value* v = value("BeendenErlaubt", Value::Type::Number))
        policy.quitAllowed = v->number != 0;
    if (const Value* v = value("Autostart", Value::Type::Number))
        policy.startsWithWindows = v->number != 0;
    return policy;
}

} // namespace zk
