#pragma once

#include "platform/dde.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zk::sim {

struct DdeRequest {
    std::string service;
    std::string topic;
    std::string item;
    int timeoutMs = 0;
    bool operator==(const DdeRequest&) const = default;
};

// DDE servers as the test scripts them, each for a service and topic (letter case ignored,
// as the system's string handles do). A request with an empty service reaches the first
// server scripted for the topic. While a request waits, the simulated time passes through
// the wait function (the platform's clock), so timers tick meanwhile.
class SimDde final : public Dde {
public:
    explicit SimDde(std::function<void(std::int64_t ms)> wait = {}) : wait_(std::move(wait)) {}

    // A server that replies with the text to any item, at once or after a delay; the reply
    // only comes when the delay is within the request's time.
    void serve(const std::string& service, const std::string& topic, std::string reply,
               int delayMs = 0);
    // A server that takes the conversation but never answers: the request runs out its time.
    void serveNoAnswer(const std::string& service, const std::string& topic);
    // The server goes away.
    void stop(const std::string& service, const std::string& topic);

    // Every request made, in order.
    const std::vector<DdeRequest>& requests() const { return requests_; }

    std::optional<std::string> request(const std::string& service, const std::string& topic,
                                       const std::string& item, int timeoutMs) override;

private:
    struct Server {
        std::string service;
        std::string topic;
        std::optional<std::string> reply; // none: never answers
        int delayMs = 0;
    };
    Server* find(const std::string& service, const std::string& topic);
    void wait(std::int64_t ms);

    std::function<void(std::int64_t ms)> wait_;
    std::vector<Server> servers_;
    std::vector<DdeRequest> requests_;
};

} // namespace zk::sim
