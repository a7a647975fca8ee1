#include "engine/accessible_walk.h"

namespace zk {

Walk::Walk(Elements start, std::size_t& left) : left_(left) {
    for (auto& element : start) queue_.push_back(std::move(element));
}

std::unique_ptr<AccessibleElement> Walk::next(int wanted, int closed) {
    while (!queue_.empty()) {
        if (left_ == 0) {
            complete_ = false;
            return nullptr;
        }
        std::unique_ptr<AccessibleElement> element = std::move(queue_.front());
        queue_.pop_front();
        --left_;
        const int role = element->role();
        if (role == 0) complete_ = false;
        if (role == wanted) return element;
        if (role == 0 || role == ROLE_DOCUMENT || role == closed) continue;
        // Children that could never be visited are not asked for.
        const std::size_t room = left_ > queue_.size() ? left_ - queue_.size() : 0;
        std::optional<Elements> children = element->children(room);
        if (!children || children->size() >= room) complete_ = false;
        if (children)
            for (auto& child : *children) queue_.push_back(std::move(child));
    }
    return nullptr;
}

} // namespace zk
