#pragma once

#include "platform/win32/windows_api.h"

#include <optional>
#include <string>
#include <string_view>

namespace zk {

// Text from a code page (CP_ACP, CP_UTF8) to UTF-16; nothing for UTF-8 that is not valid.
std::optional<std::wstring> widen(std::string_view text, UINT codePage);
// UTF-16 text in a code page. Exact: nothing when a character has no place in it, where the
// system would put a similar one or a question mark instead.
std::optional<std::string> narrow(std::wstring_view text, UINT codePage, bool exact);

} // namespace zk
