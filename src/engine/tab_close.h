#pragma once

#include "platform/accessibility.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// A tab's place among the named tabs of its window, and how many there were.
struct TabSpot {
    std::size_t index = 0;
    std::size_t tabs = 0;
    bool operator==(const TabSpot&) const = default;
};

// What a tab's job is to close: the page a window showed when it matched, and what earlier
// jobs did while the window went on showing it.
struct TabRequest {
    std::string title;
    std::string address;                   // "" when none was read
    bool firefox = false;                  // whose press closes every selected tab
    std::optional<TabSpot> broughtToFront; // by the job before
    std::optional<TabSpot> pressed;        // by an earlier job, whose wait is over
};

enum class TabClose {
    Pressed,        // the close button of the page's tab
    BroughtToFront, // the page's tab, alone: a later job presses
    NoButton,       // the window closes whole: no tab strip, the page's tab pinned or its
                    // button hidden, or a press before left the tab there
    Asking,         // a page's dialog hides the tree
    Unknown,        // no tab shows the page
    Moved,          // the window no longer shows what matched
    Retry,          // a call failed or the walk was cut off
};

struct TabResult {
    TabClose outcome = TabClose::Retry;
    std::optional<std::string> shown; // what the address field showed, if read
    TabSpot spot;                     // of the tab pressed or brought to the front
};

// Closes the tab that shows the page, or brings it to the front alone first: in Firefox
// always, elsewhere when more than one tab is selected or the tab cannot be told apart.
// Nothing is done unless the window, asked just before, still has the title and the address
// field (kept in `field`, found again when it reads nothing) the address.
TabResult closeTabInFront(std::unique_ptr<AccessibleElement> root,
                          std::unique_ptr<AccessibleElement>& field,
                          const std::function<std::string()>& windowTitle,
                          const TabRequest& request);

// The tabs below the page tab list; nothing without one.
std::optional<int> countTabs(std::unique_ptr<AccessibleElement> root);

// How much of the window title the tab's name shows: the length of the longest part of the
// title, from its start to a separator (" - " or a dash between blanks) or its end, that the
// name holds whole: as all of it, before a separator (Chromium's suffixes) or after one (a
// shared group's prefix). 0 when none: "Google" shows nothing of "Google Maps - Chrome".
std::size_t pageFit(std::string_view name, std::string_view title);

} // namespace zk
