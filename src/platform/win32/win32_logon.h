#pragma once

#include "platform/logon.h"

namespace zk {

class Win32Logon final : public Logon {
public:
    std::optional<std::string> command(const std::string& name) override;
    bool setCommand(const std::string& name, const std::optional<std::string>& line) override;
};

} // namespace zk
