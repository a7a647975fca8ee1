#include "platform/sim/sim_dde.h"

#include <algorithm>
#include <cctype>

namespace zk::sim {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

} // namespace

SimDde::Server* SimDde::find(const std::string& service, const std::string& topic) {
    for (Server& server : servers_) {
        if (sameName(server.topic, topic) && (service.empty() || sameName(server.service, service)))
            return &server;
    }
    return nullptr;
}

void SimDde::serve(const std::string& service, const std::string& topic, std::string reply,
                   int delayMs) {
    stop(service, topic);
    servers_.push_back({service, topic, std::move(reply), delayMs});
}

void SimDde::serveNoAnswer(const std::string& service, const std::string& topic) {
    stop(service, topic);
    servers_.push_back({service, topic, std::nullopt, 0});
}

void SimDde::stop(const std::string& service, const std::string& topic) {
    std::erase_if(servers_, [&](const Server& server) {
        return sameName(server.service, service) && sameName(server.topic, topic);
    });
}

void SimDde::wait(std::int64_t ms) {
    if (wait_ && ms > 0) wait_(ms);
}

std::optional<std::string> SimDde::request(const std::string& service, const std::string& topic,
                                           const std::string& item, int timeoutMs) {
    requests_.push_back({service, topic, item, timeoutMs});
    const Server* server = find(service, topic);
    if (!server || topic.empty() || item.empty()) return std::nullopt;
    // Copied: the server may be stopped by a timer while the request waits.
    const Server answering = *server;
    const int timeout = std::max(timeoutMs, 0);
    if (!answering.reply || answering.delayMs > timeout) {
        wait(timeout);
        return std::nullopt;
    }
    wait(answering.delayMs);
    std::string reply = *answering.reply;
    reply.resize(std::min(reply.size(), reply.find('\0')));
    return reply;
}

} // namespace zk::sim
