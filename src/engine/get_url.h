#pragma once

#include "platform/dde.h"

#include <string>
#include <string_view>

namespace zk {

// The address in a reply to WWW_GetWindowInfo: the reply is read up to its first NUL.
// A quoted first field ends at the first quote followed by a comma or by the end, so commas
// inside the address stay. Otherwise the reply's text before its first comma, or the whole
// reply when it has none.
std::string addressFromReply(std::string_view reply);

// Asks the browser named in the window title (Internet Explorer, Mozilla, Netscape, Opera,
// looked for in this order, letter case ignored) for the address it shows, by DDE. "" when
// the title names none of them (nothing is asked) or no answer comes in time.
std::string GetURL(Dde& dde, const std::string& sWindowTitle);

} // namespace zk
