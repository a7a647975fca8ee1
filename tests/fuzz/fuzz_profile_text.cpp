// The simulated settings file that the native tests trust: any file reads within the buffer,
// and a value written under plain names reads back, cut to 999 characters.
#include "fuzz_check.h"
#include "platform/sim/profile_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

bool blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; }

// A name without line ends, brackets or equals signs, not empty, without blanks at its ends.
bool plainName(const std::string& name) {
    return !name.empty() && !blank(name.front()) && !blank(name.back()) &&
           name.find_first_of("\r\n[]=") == std::string::npos;
}

// A value without line ends or blanks at its ends, not enclosed in a pair of quotes.
bool plainValue(const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos) return false;
    if (value.empty()) return true;
    if (blank(value.front()) || blank(value.back())) return false;
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(1100);
    const std::size_t bufferSize = input.ConsumeIntegralInRange<std::size_t>(0, 1100);
    const bool exists = input.ConsumeBool();
    const std::optional<std::string> file =
        exists ? std::optional<std::string>(input.ConsumeRemainingBytesAsString()) : std::nullopt;

    const std::string read = zk::sim::profileRead(file, section, key, value, bufferSize);
    ZK_FUZZ_CHECK(read.size() < bufferSize || read.empty());
    ZK_FUZZ_CHECK(zk::sim::profileRead(file, section, key, value, 1000).size() <= 999);

    if (plainName(section) && plainName(key) && plainValue(value)) {
        const std::string written = zk::sim::profileWrite(file, section, key, value);
        ZK_FUZZ_CHECK(zk::sim::profileRead(written, section, key, "-", 1000) ==
                      value.substr(0, 999));
    }
    return 0;
}
