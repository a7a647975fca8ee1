#include "engine/get_url.h"

#include <algorithm>
#include <cctype>

namespace zk {

namespace {

// The first row whose name is in the title wins.
struct DdeBrowser {
    const char* titlePart;
    const char* service;
};
constexpr DdeBrowser kBrowsers[] = {
    {"Microsoft Internet Explorer", "iexplore"},
    {"Mozilla", "mozilla"},
    {"Netscape", "netscape"},
    {"Opera", "opera"},
};

constexpr const char* kTopic = "WWW_GetWindowInfo";
constexpr const char* kCurrentWindow = "-1";
constexpr int kTimeoutMs = 5000;

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    const auto found = std::search(
        text.begin(), text.end(), part.begin(), part.end(),
        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
    return found != text.end();
}

std::string browserService(std::string_view title) {
    for (const DdeBrowser& browser : kBrowsers)
        if (containsIgnoringCase(title, browser.titlePart)) return browser.service;
    return {};
}

} // namespace

std::string addressFromReply(std::string_view reply) {
    reply = reply.substr(0, reply.find('\0'));
    if (reply.starts_with('"')) {
        for (std::size_t quote = reply.find('"', 1); quote != std::string_view::npos;
             quote = reply.find('"', quote + 1)) {
            if (quote + 1 == reply.size() || reply[quote + 1] == ',')
                return std::string(reply.substr(1, quote - 1));
        }
    }
    return std::string(reply.substr(0, reply.find(',')));
}

std::string GetURL(Dde& dde, const std::string& sWindowTitle) {
    // Without a service named, any server of the topic would answer, about another window.
    const std::string service = browserService(sWindowTitle);
    if (service.empty()) return {};
    const std::optional<std::string> reply =
        dde.request(service, kTopic, kCurrentWindow, kTimeoutMs);
    return reply ? addressFromReply(*reply) : std::string{};
}

} // namespace zk
