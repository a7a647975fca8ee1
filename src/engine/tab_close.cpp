#include "engine/tab_close.h"

#include "engine/accessible_walk.h"
#include "engine/address_field.h"

#include <algorithm>

namespace zk {

namespace {

// The length of a title's separator at i: " - ", or an en or em dash between blanks (0x96,
// 0x97 in code page 1252); 0 for none.
std::size_t separatorAt(std::string_view text, std::size_t i) {
    if (i + 3 > text.size() || text[i] != ' ' || text[i + 2] != ' ') return 0;
    const char dash = text[i + 1];
    return dash == '-' || dash == '\x96' || dash == '\x97' ? 3 : 0;
}

// An address as Firefox names an untitled page's tab, and as its field shows it: compared
// without the scheme, "www." and a closing slash.
std::string_view bare(std::string_view address) {
    address = shownForm(address);
    if (address.ends_with('/')) address.remove_suffix(1);
    return address;
}

// The tab list of the browser's own interface, below the root's children; with whether those
// held a dialog and whether the walk was complete.
struct TabStrip {
    std::unique_ptr<AccessibleElement> list;
    bool dialog = false;
    bool complete = false;
};

TabStrip findTabStrip(AccessibleElement& root, std::size_t& left) {
    TabStrip strip;
    std::optional<Elements> top = root.children(left);
    if (!top) return strip;
    strip.dialog = std::any_of(top->begin(), top->end(),
                               [](auto& element) { return element->role() == ROLE_DIALOG; });
    Walk walk(std::move(*top), left);
    strip.list = walk.next(ROLE_PAGETABLIST);
    strip.complete = walk.complete();
    return strip;
}

// The tabs anywhere below the tab list, through panes, groups and nested tab lists; nothing
// when the walk could not see them all.
std::optional<Elements> tabsBelow(std::unique_ptr<AccessibleElement> list, std::size_t& left) {
    Elements start;
    start.push_back(std::move(list));
    Walk walk(std::move(start), left);
    Elements tabs;
    while (std::unique_ptr<AccessibleElement> tab = walk.next(ROLE_PAGETAB))
        tabs.push_back(std::move(tab));
    if (!walk.complete()) return std::nullopt;
    return tabs;
}

struct Tab {
    std::unique_ptr<AccessibleElement> element;
    std::size_t fit = 0;
    bool selected = false;
};

// The named tabs (a closing tab has lost its name) and how well each shows the page; nothing
// when a call failed.
std::optional<std::vector<Tab>> namedTabs(Elements found, const TabRequest& request) {
    std::vector<Tab> tabs;
    for (auto& element : found) {
        const std::optional<std::string> name = element->name();
        const std::optional<std::uint32_t> state = element->state();
        if (!name || !state) return std::nullopt;
        if (name->empty()) continue;
        std::size_t fit = pageFit(*name, request.title);
        if (!request.address.empty() && bare(*name) == bare(request.address))
            fit = std::max(fit, name->size()); // Firefox's untitled page
        tabs.push_back({std::move(element), fit, (*state & STATE_SELECTED) != 0});
    }
    return tabs;
}

// The last push button among the tab's children that is not invisible: the close button (a
// focus ring may follow it). Null without one; nothing when a call failed.
std::optional<std::unique_ptr<AccessibleElement>> closeButton(AccessibleElement& tab,
                                                              std::size_t left) {
    std::optional<Elements> children = tab.children(left);
    if (!children) return std::nullopt;
    for (auto child = children->rbegin(); child != children->rend(); ++child) {
        const int role = (*child)->role();
        if (role == 0) return std::nullopt;
        if (role != ROLE_PUSHBUTTON) continue;
        const std::optional<std::uint32_t> state = (*child)->state();
        if (!state) return std::nullopt;
        if ((*state & STATE_INVISIBLE) == 0) return std::move(*child);
    }
    return nullptr;
}

} // namespace

std::size_t pageFit(std::string_view name, std::string_view title) {
    std::size_t best = 0;
    for (std::size_t end = 1; end <= title.size(); ++end) {
        if (end < title.size() && separatorAt(title, end) == 0) continue;
        const std::string_view page = title.substr(0, end);
        for (std::size_t at = name.find(page); at != std::string_view::npos;
             at = name.find(page, at + 1)) {
            const std::size_t after = at + page.size();
            if ((at == 0 || (at >= 3 && separatorAt(name, at - 3) != 0)) &&
                (after == name.size() || separatorAt(name, after) != 0))
                best = page.size();
        }
    }
    return best;
}

TabResult closeTabInFront(std::unique_ptr<AccessibleElement> root,
                          std::unique_ptr<AccessibleElement>& field,
                          const std::function<std::string()>& windowTitle,
                          const TabRequest& request) {
    TabResult result; // Retry until known better
    if (!root) return result;
    std::size_t left = kMostElements;
    TabStrip strip = findTabStrip(*root, left);
    if (!strip.list && strip.dialog) {
        result.outcome = TabClose::Asking;
        return result;
    }
    if (!strip.list && !strip.complete) return result;
    // A tab list without tabs is no tab strip either.
    std::optional<std::vector<Tab>> tabs;
    if (strip.list) {
        std::optional<Elements> found = tabsBelow(std::move(strip.list), left);
        if (!found) return result;
        if (!found->empty() && !(tabs = namedTabs(std::move(*found), request))) return result;
    }

    // The window must still show what matched.
    result.shown = field ? field->value() : std::nullopt;
    if (!result.shown) {
        field = findAddressField(std::move(root));
        if (field) result.shown = field->value();
    }
    if (windowTitle() != request.title || result.shown.value_or("") != request.address) {
        result.outcome = TabClose::Moved;
        return result;
    }
    if (!tabs) {
        result.outcome = TabClose::NoButton;
        return result;
    }

    std::size_t best = 0;
    for (const Tab& tab : *tabs) best = std::max(best, tab.fit);
    std::vector<std::size_t> fitting, selectedFitting;
    std::size_t selected = 0;
    for (std::size_t i = 0; i < tabs->size(); ++i) {
        const Tab& tab = (*tabs)[i];
        selected += tab.selected ? 1 : 0;
        if (best == 0 || tab.fit != best) continue;
        fitting.push_back(i);
        if (tab.selected) selectedFitting.push_back(i);
    }
    if (fitting.empty()) {
        result.outcome = TabClose::Unknown;
        return result;
    }
    auto spot = [&](std::size_t i) { return TabSpot{i, tabs->size()}; };
    const std::optional<TabSpot>& brought = request.broughtToFront;
    std::optional<std::size_t> page;
    if (brought && std::count(fitting.begin(), fitting.end(), brought->index) != 0 &&
        *brought == spot(brought->index))
        page = brought->index;
    else if (fitting.size() == 1)
        page = fitting.front();
    else if (selectedFitting.size() == 1)
        page = selectedFitting.front();

    // A press among several selected tabs may close them all: the page's tab comes to the
    // front alone first, which also picks one of tabs that cannot be told apart.
    const bool alone = brought && page == brought->index;
    if (!alone && (!page || request.firefox || selected > 1)) {
        const std::size_t i = page.value_or(fitting.front());
        result.spot = spot(i);
        if ((*tabs)[i].element->doDefaultAction()) result.outcome = TabClose::BroughtToFront;
        return result;
    }
    if (selected > 1) return result; // its selection did not end

    std::optional<std::unique_ptr<AccessibleElement>> button =
        closeButton(*(*tabs)[*page].element, left);
    if (!button) return result;
    result.spot = spot(*page);
    if (!*button || request.pressed == result.spot) {
        result.outcome = TabClose::NoButton;
        return result;
    }
    if ((*button)->doDefaultAction()) result.outcome = TabClose::Pressed;
    return result;
}

std::optional<int> countTabs(std::unique_ptr<AccessibleElement> root) {
    if (!root) return std::nullopt;
    std::size_t left = kMostElements;
    TabStrip strip = findTabStrip(*root, left);
    if (!strip.list) return std::nullopt;
    const std::optional<Elements> tabs = tabsBelow(std::move(strip.list), left);
    if (!tabs) return std::nullopt;
    return static_cast<int>(tabs->size());
}

} // namespace zk
