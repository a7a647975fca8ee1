#include "app/utf8.h"

namespace zk {

namespace {

// The lead byte's marks of a sequence of two, three or four bytes, with the smallest value
// such a sequence may hold: a smaller one is overlong.
struct Form {
    unsigned char mask;
    unsigned char marks;
    std::size_t length;
    char32_t least;
};
constexpr Form kForms[] = {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};

} // namespace

std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    for (const Form& form : kForms) {
        if ((lead & form.mask) != form.marks) continue;
        if (text.size() - at < form.length) return std::nullopt;
        char32_t c = lead & static_cast<unsigned char>(~form.mask);
        for (std::size_t i = 1; i < form.length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = c << 6 | (next & 0x3Fu);
        }
        if (c < form.least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
        at += form.length;
        return c;
    }
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t c) {
    auto byte = [&](char32_t b) { out += static_cast<char>(b); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | c >> 6);
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | c >> 12);
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | c >> 18);
        byte(0x80 | (c >> 12 & 0x3F));
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

bool validUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();)
        if (!nextUtf8(text, at)) return false;
    return true;
}

bool utf8BeyondAscii(std::string_view text) {
    bool beyond = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> c = nextUtf8(text, at);
        if (!c) return false;
        beyond = beyond || *c >= 0x80;
    }
    return beyond;
}

} // namespace zk
