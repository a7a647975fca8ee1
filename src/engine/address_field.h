#pragma once

#include "platform/accessibility.h"

#include <memory>
#include <string_view>

namespace zk {

// The address field of a browser's own user interface: the first editable text field inside
// a tool bar, breadth first, of the tool bar nearest the root that holds one; never looking
// into a document (a web page) or the tabs. Text fields outside tool bars (a find bar, a
// bubble, a dialog) are never taken.
std::unique_ptr<AccessibleElement> findAddressField(std::unique_ptr<AccessibleElement> root);

// A URL entry as today's browsers show an address: without a leading "http://" or
// "https://", and then without a leading "www.".
std::string_view shownForm(std::string_view entry);

} // namespace zk
