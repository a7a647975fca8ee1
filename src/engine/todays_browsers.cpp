#include "engine/todays_browsers.h"

#include <algorithm>
#include <cctype>
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
    const std::int64_t now = windows_.milliseconds();
    std::optional<std::string> latest;
    // Only the element found last is read, unless that fails: then the tree is walked again.
    post(
        window, &Reader::running,
        [&](Reader& reader) {
            latest = reader.address;
            return !reader.running && !(reader.fruitlessAt && reader.fruitlessTitle == title &&
                                        now - *reader.fruitlessAt < kWalkPauseMs);
        },
        [window, title, now, &accessibility = accessibility_](Reader& reader) {
            std::optional<std::string> value;
            bool fruitless = false;
            try {
                if (reader.field) value = reader.field->value();
                if (!value) {
                    reader.field = findAddressField(accessibility.client(window));
                    if (reader.field) value = reader.field->value();
                    fruitless = !value;
                }
            } catch (...) { // a read broken by what the browser answered fails like any other
                value.reset();
                fruitless = true;
            }
            if (fruitless) reader.field.reset();
            const std::lock_guard lock(reader.mutex);
            reader.address = std::move(value);
            reader.running = false;
            reader.fruitlessAt = fruitless ? std::optional(now) : std::nullopt;
            reader.fruitlessTitle = title;
            ++reader.reads;
        });
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
    // Completed under the reader's lock, before the job runs.
    const auto request = std::make_shared<TabRequest>(
        TabRequest{title, address, firefoxProgram(known(window).program), {}, {}});
    const std::int64_t now = windows_.milliseconds();
    bool handled = true;
    post(
        window, &Reader::tabJob,
        [&](Reader& reader) {
            if (reader.tabJob) return false;
            if (reader.tabTitle != title || reader.tabAddress != address) {
                reader.tabOutcome.reset(); // another page: what was done to the last is past
                reader.pressed.reset();
                reader.broughtToFront.reset();
            }
            const std::int64_t since = now - reader.tabAt;
            switch (reader.tabOutcome.value_or(TabClose::Moved)) {
            case TabClose::NoButton:
                handled = false;
                return false;
            case TabClose::Pressed:
                if (since < kTabGoneMs) return false;
                break;
            case TabClose::Asking:
            case TabClose::Unknown:
                if (since < kWalkPauseMs) return false;
                break;
            case TabClose::Retry:
                if (since < kTabRetryMs) return false;
                break;
            case TabClose::BroughtToFront:
                request->broughtToFront = reader.broughtToFront;
                break;
            case TabClose::Moved:
                break;
            }
            // A tab still there when its wait ended is not pressed again; a window not looked
            // at then (its page's dialog hid the address) is.
            if (since < kTabGoneMs + kTabRetryMs) request->pressed = reader.pressed;
            return true;
        },
        [this, window, request, &windows = windows_,
         &accessibility = accessibility_](Reader& reader) {
            TabResult result;
            try {
                result = closeTabInFront(
                    accessibility.client(window), reader.field,
                    [&] { return windows.windowText(window); }, *request);
            } catch (...) { // broken by what the browser answered: tried again later
                reader.field.reset();
                result = TabResult{};
            }
            const std::lock_guard lock(reader.mutex);
            reader.tabJob = false;
            if (result.shown) { // a read like any other
                reader.address = result.shown;
                reader.fruitlessAt.reset();
            }
            reader.tabOutcome = result.outcome;
            reader.tabAt = windows.milliseconds();
            reader.tabTitle = request->title;
            reader.tabAddress = request->address;
            if (result.outcome == TabClose::Pressed) {
                reader.pressed = result.spot;
                const std::lock_guard pressedLock(pressedMutex_);
                pressed_.push_back({window, request->title, request->address});
            }
            if (result.outcome == TabClose::BroughtToFront) reader.broughtToFront = result.spot;
        });
    return handled; // a job that could not be posted is tried again
}

std::vector<TodaysBrowsers::PressedTab> TodaysBrowsers::pressedTabs() {
    const std::lock_guard lock(pressedMutex_);
    return std::exchange(pressed_, {});
}

void TodaysBrowsers::readTabs(Hwnd window) {
    post(
        window, &Reader::tabJob, [](Reader& reader) { return !reader.tabJob; },
        [window, &accessibility = accessibility_](Reader& reader) {
            std::optional<int> tabs;
            try {
                tabs = countTabs(accessibility.client(window));
            } catch (...) {
                tabs.reset();
            }
            const std::lock_guard lock(reader.mutex);
            reader.tabJob = false;
            reader.tabs = tabs;
        });
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

bool TodaysBrowsers::post(Hwnd window, bool Reader::*busy,
                          const std::function<bool(Reader&)>& ready,
                          std::function<void(Reader&)> job) {
    Known& k = known(window);
    const std::shared_ptr<Reader> reader = k.reader;
    {
        const std::lock_guard lock(reader->mutex);
        if (!ready(*reader)) return false;
        (*reader).*busy = true;
    }
    k.read = true;
    if (workers_.post(window, [reader, job = std::move(job)] { job(*reader); })) return true;
    const std::lock_guard lock(reader->mutex);
    (*reader).*busy = false;
    return false;
}

// The element found in the window dies on the worker that found it.
void TodaysBrowsers::retire(Hwnd window, Known& k) {
    if (!k.read) return;
    workers_.post(window, [reader = std::move(k.reader)] { reader->field.reset(); });
    workers_.retire(window);
}

} // namespace zk
