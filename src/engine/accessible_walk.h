#pragma once

#include "platform/accessibility.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

namespace zk {

using Elements = std::vector<std::unique_ptr<AccessibleElement>>;

// The walks of one window's tree visit this many elements at most in all: a browser's own
// user interface is far smaller.
inline constexpr std::size_t kMostElements = 2000;

// A breadth-first walk of a window's tree that never enters a web page (costly, and never the
// browser's own), sharing what is left to visit with the other walks of the tree.
class Walk {
public:
    Walk(Elements start, std::size_t& left);
    // The next element of the role, which the walk does not enter, nor elements of the role
    // `closed`; null when none is left.
    std::unique_ptr<AccessibleElement> next(int wanted, int closed = 0);
    // No call failed and the limit left nothing unvisited.
    bool complete() const { return complete_; }

private:
    std::deque<std::unique_ptr<AccessibleElement>> queue_;
    std::size_t& left_;
    bool complete_ = true;
};

} // namespace zk
