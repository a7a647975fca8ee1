#include "engine/todays_browsers.h"

#include "capture/cuts.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <utility>

namespace zk {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool oneOf(std::string_view program, std::initializer_list<std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](std::string_view name) { return sameIgnoringCase(program, name); });
}

// The walks of one window's tree visit this many elements at most in all: a browser's own
// user interface is far smaller.
constexpr std::size_t kMostElements = 2000;

using Elements = std::vector<std::unique_ptr<AccessibleElement>>;

// A breadth-first walk that never enters a web page (costly, and never the browser's own)
// nor the tabs, sharing what is left to visit with the other walks of the tree.
class Walk {
public:
    Walk(Elements start, std::size_t& left) : left_(left) {
        for (auto& element : start) queue_.push_back(std::move(element));
    }
    // The next element of the role, which the walk does not enter; null when none is left.
    std::unique_ptr<AccessibleElement> next(int wanted) {
        while (!queue_.empty() && left_ > 0) {
            std::unique_ptr<AccessibleElement> element = std::move(queue_.front());
            queue_.pop_front();
            --left_;
            const int role = element->role();
            if (role == wanted) return element;
            if (role == ROLE_DOCUMENT || role == ROLE_PAGETABLIST) continue;
            // Children that could never be visited are not asked for.
            const std::size_t room = left_ > queue_.size() ? left_ - queue_.size() : 0;
            for (auto& child : element->children(room)) queue_.push_back(std::move(child));
        }
        return nullptr;
    }

private:
    std::deque<std::unique_ptr<AccessibleElement>> queue_;
    std::size_t& left_;
};

// The tab list of the browser's own interface, and the root's children held a dialog.
std::unique_ptr<AccessibleElement> findTabList(AccessibleElement& root, std::size_t& left,
                                               bool* dialog = nullptr) {
    Elements top = root.children(left);
    for (auto& element : top)
        if (dialog && element->role() == ROLE_DIALOG) *dialog = true;
    return Walk(std::move(top), left).next(ROLE_PAGETABLIST);
}

// The page's part of a title: without the browser's name after the last dash.
std::string pagePart(const std::string& title) { return titleEntry(title, true).value_or(title); }

// The first selected tab whose name starts with the page's part of the title, else the only
// selected one: the tabs after it are not asked.
std::unique_ptr<AccessibleElement> tabInFront(Elements tabs, const std::string& title) {
    const std::string page = pagePart(title);
    std::unique_ptr<AccessibleElement> only;
    int selected = 0;
    for (auto& tab : tabs) {
        if (tab->role() != ROLE_PAGETAB || (tab->state().value_or(0) & STATE_SELECTED) == 0)
            continue;
        if (tab->name().value_or("").starts_with(page)) return std::move(tab);
        if (++selected == 1) only = std::move(tab);
    }
    return selected == 1 ? std::move(only) : nullptr;
}

// A tab's close button is its last child; without one (as Firefox's pinned tabs), the last
// is no push button, and the mute button before it is never taken.
std::unique_ptr<AccessibleElement> closeButton(AccessibleElement& tab, std::size_t left) {
    Elements children = tab.children(left);
    if (children.empty() || children.back()->role() != ROLE_PUSHBUTTON ||
        (children.back()->state().value_or(STATE_INVISIBLE) & STATE_INVISIBLE) != 0)
        return nullptr;
    return std::move(children.back());
}

// Chromium names a tab by its title and suffixes; Edge's title may add to the page's.
bool fits(const std::string& name, const std::string& title) {
    return name.starts_with(pagePart(title)) || title.starts_with(name);
}

} // namespace

TabClose closeTabInFront(std::unique_ptr<AccessibleElement> root,
                         std::unique_ptr<AccessibleElement>& field, const std::string& title,
                         const std::string& address, std::optional<std::string>& shown) {
    if (!root) return TabClose::NoButton;
    std::size_t left = kMostElements;
    bool dialog = false;
    const std::unique_ptr<AccessibleElement> tabList = findTabList(*root, left, &dialog);
    std::unique_ptr<AccessibleElement> tab =
        tabList ? tabInFront(tabList->children(left), title) : nullptr;
    const std::unique_ptr<AccessibleElement> button = tab ? closeButton(*tab, left) : nullptr;
    shown = field ? field->value() : std::nullopt;
    if (!shown) {
        field = findAddressField(std::move(root));
        if (field) shown = field->value();
    }
    if (!tabList && !field && dialog) return TabClose::Asking;
    if (shown.value_or("") != address) return TabClose::Moved;
    if (!button) return TabClose::NoButton;
    // Without an address to tell the page, the tab's name must fit the title. (Firefox names
    // an untitled page's tab by its address and its window "Mozilla Firefox".)
    if (shown.value_or("").empty() && !fits(tab->name().value_or(""), title))
        return TabClose::Moved;
    return button->doDefaultAction() ? TabClose::Pressed : TabClose::NoButton;
}

std::optional<int> countTabs(std::unique_ptr<AccessibleElement> root) {
    if (!root) return std::nullopt;
    std::size_t left = kMostElements;
    const std::unique_ptr<AccessibleElement> tabList = findTabList(*root, left);
    if (!tabList) return std::nullopt;
    const Elements tabs = tabList->children(left);
    return static_cast<int>(std::count_if(tabs.begin(), tabs.end(),
                                          [](auto& tab) { return tab->role() == ROLE_PAGETAB; }));
}

bool chromiumClass(std::string_view className) {
    constexpr std::string_view prefix = "Chrome_WidgetWin_";
    return className.size() > prefix.size() &&
           sameIgnoringCase(className.substr(0, prefix.size()), prefix);
}

bool chromiumProgram(std::string_view program) {
    return oneOf(program, {"chrome.exe", "msedge.exe", "brave.exe", "opera.exe", "vivaldi.exe",
                           "chromium.exe"});
}

bool firefoxProgram(std::string_view program) {
    return oneOf(program, {"firefox.exe", "librewolf.exe", "waterfox.exe"});
}

std::unique_ptr<AccessibleElement> findAddressField(std::unique_ptr<AccessibleElement> root) {
    if (!root) return nullptr;
    std::size_t left = kMostElements;
    Elements start;
    start.push_back(std::move(root));
    Walk outside(std::move(start), left);
    while (std::unique_ptr<AccessibleElement> toolBar = outside.next(ROLE_TOOLBAR)) {
        Walk inside(toolBar->children(left), left);
        while (std::unique_ptr<AccessibleElement> field = inside.next(ROLE_TEXT)) {
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

TodaysBrowsers::~TodaysBrowsers() {
    for (auto& [window, k] : known_) retire(window, k);
}

TodaysBrowsers::Known& TodaysBrowsers::known(Hwnd window) {
    const std::uint32_t thread = windows_.windowThread(window);
    auto found = known_.find(window);
    if (found != known_.end() && found->second.thread != thread) {
        retire(window, found->second); // the handle value names another window now
        known_.erase(found);
        found = known_.end();
    }
    if (found == known_.end()) {
        found = known_.emplace(window, Known{thread, {}, std::make_shared<Reader>(), false}).first;
        found->second.program = windows_.processName(window);
    }
    found->second.seen = true;
    return found->second;
}

std::string TodaysBrowsers::program(Hwnd window) { return known(window).program; }

std::optional<std::string> TodaysBrowsers::address(Hwnd window, const std::string& title) {
    Known& k = known(window);
    const std::shared_ptr<Reader> reader = k.reader;
    const std::int64_t now = windows_.milliseconds();
    std::optional<std::string> latest;
    {
        const std::lock_guard lock(reader->mutex);
        latest = reader->address;
        const bool resting = reader->fruitlessAt && reader->fruitlessTitle == title &&
                             now - *reader->fruitlessAt < kWalkPauseMs;
        if (reader->running || resting) return latest;
        reader->running = true;
    }
    k.read = true;
    // Only the element found last is read, unless that fails: then the tree is walked again.
    const bool posted =
        workers_.post(window, [reader, window, title, now, &accessibility = accessibility_] {
            std::optional<std::string> value;
            bool fruitless = false;
            try {
                if (reader->field) value = reader->field->value();
                if (!value) {
                    reader->field = findAddressField(accessibility.client(window));
                    if (reader->field) value = reader->field->value();
                    fruitless = !value;
                }
            } catch (...) { // a read broken by what the browser answered fails like any other
                value.reset();
                fruitless = true;
            }
            if (fruitless) reader->field.reset();
            const std::lock_guard lock(reader->mutex);
            reader->address = std::move(value);
            reader->running = false;
            reader->fruitlessAt = fruitless ? std::optional(now) : std::nullopt;
            reader->fruitlessTitle = title;
            ++reader->reads;
        });
    if (!posted) {
        const std::lock_guard lock(reader->mutex);
        reader->running = false;
    }
    return latest;
}

std::optional<std::string> TodaysBrowsers::freshAddress(Hwnd window, const std::string& title) {
    const std::shared_ptr<Reader> reader = known(window).reader;
    std::uint64_t wanted = 0;
    {
        const std::lock_guard lock(reader->mutex);
        // A read that runs now may have begun before.
        wanted = reader->reads + (reader->running ? 2 : 1);
    }
    const bool read = workers_.waitFor(
        [&] {
            {
                const std::lock_guard lock(reader->mutex);
                if (reader->reads >= wanted) return true;
                reader->fruitlessAt.reset(); // a capture walks whatever the pause
            }
            address(window, title); // the next read, once none runs
            return false;
        },
        kFreshReadMs);
    const std::lock_guard lock(reader->mutex);
    return read ? reader->address : std::nullopt;
}

bool TodaysBrowsers::closeTab(Hwnd window, const std::string& title, const std::string& address) {
    Known& k = known(window);
    const std::shared_ptr<Reader> reader = k.reader;
    {
        const std::lock_guard lock(reader->mutex);
        if (reader->tabJob) return true;
        if (reader->pressedAt) {
            if (windows_.milliseconds() - *reader->pressedAt < kTabGoneMs &&
                title == reader->pressedTitle &&
                reader->address.value_or("") == reader->pressedAddress)
                return true;
            reader->pressedAt.reset();
        }
        if (std::exchange(reader->noButton, false)) return false;
        reader->tabJob = true;
    }
    k.read = true;
    const bool posted = workers_.post(window, [reader, window, title, address, &windows = windows_,
                                               &accessibility = accessibility_] {
        TabClose result = TabClose::Moved;
        std::optional<std::string> shown;
        try {
            result =
                closeTabInFront(accessibility.client(window), reader->field, title, address, shown);
        } catch (...) { // broken by what the browser answered: tried again on the next tick
            reader->field.reset();
            shown.reset();
        }
        const std::lock_guard lock(reader->mutex);
        reader->tabJob = false;
        if (shown) { // a read like any other
            reader->address = shown;
            reader->fruitlessAt.reset();
        }
        reader->noButton = result == TabClose::NoButton;
        if (result == TabClose::Pressed) {
            reader->pressedAt = windows.milliseconds();
            reader->pressedTitle = title;
            reader->pressedAddress = address;
        }
    });
    if (posted) return true;
    const std::lock_guard lock(reader->mutex);
    reader->tabJob = false;
    return false;
}

void TodaysBrowsers::readTabs(Hwnd window) {
    Known& k = known(window);
    const std::shared_ptr<Reader> reader = k.reader;
    {
        const std::lock_guard lock(reader->mutex);
        if (reader->tabJob) return;
        reader->tabJob = true;
    }
    k.read = true;
    const bool posted = workers_.post(window, [reader, window, &accessibility = accessibility_] {
        std::optional<int> tabs;
        try {
            tabs = countTabs(accessibility.client(window));
        } catch (...) {
            tabs.reset();
        }
        const std::lock_guard lock(reader->mutex);
        reader->tabJob = false;
        reader->tabs = tabs;
    });
    if (posted) return;
    const std::lock_guard lock(reader->mutex);
    reader->tabJob = false;
}

std::optional<int> TodaysBrowsers::tabs(Hwnd window) {
    const std::shared_ptr<Reader> reader = known(window).reader;
    const std::lock_guard lock(reader->mutex);
    return reader->tabs;
}

void TodaysBrowsers::sweep() {
    for (auto k = known_.begin(); k != known_.end();) {
        if (k->second.seen) {
            (k++)->second.seen = false;
        } else {
            retire(k->first, k->second);
            k = known_.erase(k);
        }
    }
}

bool TodaysBrowsers::reading() {
    return std::any_of(known_.begin(), known_.end(), [](auto& k) {
        const std::lock_guard lock(k.second.reader->mutex);
        return k.second.reader->running || k.second.reader->tabJob;
    });
}

// The element found in the window dies on the worker that found it.
void TodaysBrowsers::retire(Hwnd window, Known& k) {
    if (!k.read) return;
    workers_.post(window, [reader = std::move(k.reader)] { reader->field.reset(); });
    workers_.retire(window);
}

} // namespace zk
