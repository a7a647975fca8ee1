#include "engine/todays_browsers.h"

#include <algorithm>
#include <cctype>
#include <deque>

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

// An element tree is walked this far at most: a browser's own user interface is far smaller.
constexpr std::size_t kMostElements = 2000;

} // namespace

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
    std::deque<std::unique_ptr<AccessibleElement>> queue;
    if (root) queue.push_back(std::move(root));
    for (std::size_t visited = 0; !queue.empty() && visited < kMostElements; ++visited) {
        std::unique_ptr<AccessibleElement> element = std::move(queue.front());
        queue.pop_front();
        const int role = element->role();
        if (role == ROLE_TEXT) return element;
        if (role == ROLE_DOCUMENT) continue; // web content: costly, and never the browser's own
        for (auto& child : element->children()) queue.push_back(std::move(child));
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

std::optional<std::string> TodaysBrowsers::address(Hwnd window) {
    Known& k = known(window);
    const std::shared_ptr<Reader> reader = k.reader;
    std::optional<std::string> latest;
    {
        const std::lock_guard lock(reader->mutex);
        latest = reader->address;
        if (reader->running) return latest;
        reader->running = true;
    }
    k.read = true;
    // Only the element found last is read, unless that fails: then the tree is walked again.
    workers_.post(window, [reader, window, &accessibility = accessibility_] {
        std::optional<std::string> value;
        if (reader->field) value = reader->field->value();
        if (!value) {
            reader->field = findAddressField(accessibility.client(window));
            if (reader->field) value = reader->field->value();
        }
        const std::lock_guard lock(reader->mutex);
        reader->address = std::move(value);
        reader->running = false;
    });
    return latest;
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
        return k.second.reader->running;
    });
}

// The element found in the window dies on the worker that found it.
void TodaysBrowsers::retire(Hwnd window, Known& k) {
    if (!k.read) return;
    workers_.post(window, [reader = std::move(k.reader)] { reader->field.reset(); });
    workers_.retire(window);
}

} // namespace zk
