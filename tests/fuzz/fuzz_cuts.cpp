// The cuts of a captured window title: the title entry is its head, the browser designation
// its tail, and the two together give the title back; an address loses at most one slash.
#include "capture/cuts.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view title(reinterpret_cast<const char*>(bytes), size);
    const std::optional<std::string> head = zk::titleEntry(title);
    const std::optional<std::string> tail = zk::designationEntry(title);
    const bool hyphen = title.find('-') != std::string_view::npos;
    check(head.has_value() == hyphen && tail.has_value() == hyphen);
    // The tail holds the last hyphen, at its start or after one character.
    if (hyphen) check(*head + *tail == title && tail->find('-') <= 1);
    const std::string address = zk::urlEntry(std::string(title));
    check(title.starts_with(address) && title.size() - address.size() <= 1);
    return 0;
}
