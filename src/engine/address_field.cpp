#include "engine/address_field.h"

#include "engine/accessible_walk.h"

namespace zk {

std::unique_ptr<AccessibleElement> findAddressField(std::unique_ptr<AccessibleElement> root) {
    if (!root) return nullptr;
    std::size_t left = kMostElements;
    Elements start;
    start.push_back(std::move(root));
    Walk outside(std::move(start), left);
    while (std::unique_ptr<AccessibleElement> toolBar =
               outside.next(ROLE_TOOLBAR, ROLE_PAGETABLIST)) {
        Walk inside(toolBar->children(left).value_or(Elements{}), left);
        while (std::unique_ptr<AccessibleElement> field =
                   inside.next(ROLE_TEXT, ROLE_PAGETABLIST)) {
            const std::optional<std::uint32_t> state = field->state();
            if (!state || (*state & STATE_READONLY) == 0) return field;
        }
    }
    return nullptr;
}

std::string_view shownForm(std::string_view entry) {
    for (std::string_view scheme : {"http://", "https://"}) {
        if (entry.starts_with(scheme)) {
            entry.remove_prefix(scheme.size());
            break;
        }
    }
    if (entry.starts_with("www.")) entry.remove_prefix(4);
    return entry;
}

} // namespace zk
