#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zk {

// The character whose UTF-8 sequence starts at `at`, which then moves past it. Nothing, and
// `at` unchanged, when no valid sequence starts there: a stray continuation byte, a sequence
// cut short, an overlong form, a surrogate or a value beyond U+10FFFF.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& at);
void appendUtf8(std::string& out, char32_t c);

// Whether the text is valid UTF-8; and whether it is and holds a character beyond ASCII.
bool validUtf8(std::string_view text);
bool utf8BeyondAscii(std::string_view text);

} // namespace zk
