#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace zk {

// What an administrator set for the program under Software\Policies\Zuklapper, through Group
// Policy or by hand: the computer's values (HKEY_LOCAL_MACHINE) and the user's
// (HKEY_CURRENT_USER).
class PolicyRegistry {
public:
    enum class Scope { Computer, User };
    struct Value {
        enum class Type { Text, Number, Other };
        Type type = Type::Other;
        std::string text;         // REG_SZ and REG_EXPAND_SZ, in the system's code page
        std::uint32_t number = 0; // REG_DWORD
        bool operator==(const Value&) const = default;
    };
    using Values = std::map<std::string, Value>;

    virtual ~PolicyRegistry() = default;
    // The values of the key, or of a subkey of it ("Urlliste"), by name; none when the key is
    // missing or cannot be read.
    virtual Values values(Scope scope, const std::string& subkey) = 0;
};

} // namespace zk
