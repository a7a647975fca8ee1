#include "platform/sim/code_page.h"

#include "app/utf8.h"

#include <array>
#include <cstdint>

namespace zk::sim {

namespace {

// The characters of the bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromByte(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

std::optional<char> toByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

} // namespace

std::string utf8FromCp1252(std::string_view ansi) {
    std::string out;
    for (const char byte : ansi) appendUtf8(out, fromByte(static_cast<unsigned char>(byte)));
    return out;
}

std::optional<std::string> cp1252FromUtf8(std::string_view utf8) {
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> c = nextUtf8(utf8, at);
        if (!c) return std::nullopt;
        const std::optional<char> byte = toByte(*c);
        if (!byte) return std::nullopt;
        out += *byte;
    }
    return out;
}

} // namespace zk::sim
