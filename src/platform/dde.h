#pragma once

#include <optional>
#include <string>

namespace zk {

// A DDE client: one request for an item in text format over a conversation opened for it
// and closed afterwards. Never throws and shows nothing.
class Dde {
public:
    virtual ~Dde() = default;

    // The reply text up to its terminating NUL, or nothing when no server of the service
    // (any server of the topic when the service is empty) takes the conversation, or the
    // request fails or is not answered within the time. Messages of the program's own
    // windows are handled while it waits.
    virtual std::optional<std::string> request(const std::string& service, const std::string& topic,
                                               const std::string& item, int timeoutMs) = 0;
};

} // namespace zk
