#pragma once

#include "platform/dde.h"

namespace zk {

// A DDEML client, initialised on its first request in the calling thread.
class Win32Dde final : public Dde {
public:
    Win32Dde() = default;
    ~Win32Dde() override;
    Win32Dde(const Win32Dde&) = delete;
    Win32Dde& operator=(const Win32Dde&) = delete;

    std::optional<std::string> request(const std::string& service, const std::string& topic,
                                       const std::string& item, int timeoutMs) override;

private:
    unsigned long instance_ = 0; // the DDEML instance id; 0 before the first request
};

} // namespace zk
