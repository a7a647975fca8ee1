#pragma once

#include <optional>
#include <string>

namespace zk {

// The programs Windows starts when the user logs on: the values of the user's key
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, by name.
class Logon {
public:
    virtual ~Logon() = default;
    // The command line stored under the name; nothing when there is none or it cannot be read.
    virtual std::optional<std::string> command(const std::string& name) = 0;
    // Stores the command line under the name, or deletes the value (nothing). False on failure.
    virtual bool setCommand(const std::string& name, const std::optional<std::string>& line) = 0;
};

} // namespace zk
