#include "capture/cuts.h"

namespace zk {

namespace {

std::size_t lastHyphen(std::string_view title, bool dashes) {
    return title.find_last_of(dashes ? std::string_view("-\x96\x97") : std::string_view("-"));
}

} // namespace

std::optional<std::string> titleEntry(std::string_view title, bool dashes) {
    const std::size_t hyphen = lastHyphen(title, dashes);
    if (hyphen == std::string_view::npos) return std::nullopt;
    // Up to the character before the one before the hyphen ("abc-def" gives "ab").
    return std::string(title.substr(0, hyphen > 0 ? hyphen - 1 : 0));
}

std::optional<std::string> designationEntry(std::string_view title, bool dashes) {
    const std::size_t hyphen = lastHyphen(title, dashes);
    if (hyphen == std::string_view::npos) return std::nullopt;
    // From the character before the hyphen ("abc-def" gives "c-def").
    return std::string(title.substr(hyphen > 0 ? hyphen - 1 : 0));
}

std::string urlEntry(std::string address) {
    if (address.size() > 6 && address.back() == '/') address.pop_back();
    return address;
}

bool storable(std::string_view entry) {
    if (entry.find_first_of("\r\n") != std::string_view::npos) return false;
    for (std::size_t quote = entry.find('"'); quote != std::string_view::npos;
         quote = entry.find('"', quote + 1)) {
        const std::size_t next = entry.find_first_not_of(" \t", quote + 1);
        if (next != std::string_view::npos && entry[next] == ',') return false;
    }
    return true;
}

} // namespace zk
