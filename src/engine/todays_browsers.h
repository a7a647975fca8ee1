#pragma once

#include "engine/address_field.h"
#include "engine/tab_close.h"
#include "platform/accessibility.h"
#include "platform/window_system.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// Chromium's browsers by their window class ("Chrome_WidgetWin_" and a number) and program,
// Firefox and its kin by their program; file names in any letter case.
bool chromiumClass(std::string_view className);
bool chromiumProgram(std::string_view program);
bool firefoxProgram(std::string_view program);

// What the program knows of today's browsers' windows: the program of each, and the address
// its accessibility interface showed when last read. The reads run on the workers, so a
// browser that hangs holds up nothing but its own next read.
class TodaysBrowsers {
public:
    static constexpr std::int64_t kWalkPauseMs = 5000;

    TodaysBrowsers(WindowSystem& windows, Accessibility& accessibility, Workers& workers)
        : windows_(windows), accessibility_(accessibility), workers_(workers) {}
    TodaysBrowsers(const TodaysBrowsers&) = delete;
    TodaysBrowsers& operator=(const TodaysBrowsers&) = delete;
    ~TodaysBrowsers();

    // The program file name of the window's process, asked once per window and its thread.
    std::string program(Hwnd window);
    // The address read last, nothing before the first read; asks for the next read unless
    // one is still running. A window where no field was found is walked again only when its
    // title has changed or kWalkPauseMs have passed.
    std::optional<std::string> address(Hwnd window, const std::string& title);
    // An address read after this call began, waiting up to kFreshReadMs for it; nothing when
    // none came in time. The tree is walked, if need be, whatever the pause.
    std::optional<std::string> freshAddress(Hwnd window, const std::string& title);
    static constexpr int kFreshReadMs = 2000;
    // Closes the tab that shows the page, away from this thread, for a window that matched
    // with this title and address: false when the window is to be closed as a whole instead
    // (the last job found no button to press while the window showed the same). True while a
    // job runs and while the window rests after one, as long as it shows the same: after a
    // press until the tab has gone (kTabGoneMs), after a page's dialog or when no tab showed
    // the page (kWalkPauseMs), after a failed call (kTabRetryMs). A later call goes on with the
    // tab then in front.
    bool closeTab(Hwnd window, const std::string& title, const std::string& address);
    static constexpr std::int64_t kTabGoneMs = 2000;
    static constexpr std::int64_t kTabRetryMs = 1000;
    // The tabs pressed since the last call, once each, with the title and address their
    // window showed.
    struct PressedTab {
        Hwnd window = 0;
        std::string title;
        std::string address;
    };
    std::vector<PressedTab> pressedTabs();
    // Counts the window's tabs away from this thread; tabs() has the count once read.
    void readTabs(Hwnd window);
    std::optional<int> tabs(Hwnd window);
    // Forgets the windows not looked at since the last call.
    void sweep();
    // Whether a read or a tab's job is still running.
    bool reading();

private:
    struct Reader {
        std::mutex mutex;
        // Guarded by the mutex: the address, whether a read runs, and when and under which
        // title the last walk found no field.
        std::optional<std::string> address;
        bool running = false;
        std::optional<std::int64_t> fruitlessAt;
        std::uint64_t reads = 0; // finished
        std::string fruitlessTitle;
        std::unique_ptr<AccessibleElement> field; // the worker's alone
        // Of the tabs: whether a job runs; what the last one came to, when, and for which
        // title and address; while the window shows those, the tab pressed and the one brought
        // to the front; the count.
        bool tabJob = false;
        std::optional<TabClose> tabOutcome;
        std::int64_t tabAt = 0;
        std::string tabTitle;
        std::string tabAddress;
        std::optional<TabSpot> pressed;
        std::optional<TabSpot> broughtToFront;
        std::optional<int> tabs;
    };
    struct Known {
        std::uint32_t thread = 0;
        std::string program;
        std::shared_ptr<Reader> reader;
        bool seen = false;
        bool read = false; // a read was posted: the window has a worker
    };
    Known& known(Hwnd window);
    // Runs the job on the window's worker when `ready`, asked under the reader's lock, says so;
    // `busy` stays set until the job clears it. False when nothing was posted.
    bool post(Hwnd window, bool Reader::*busy, const std::function<bool(Reader&)>& ready,
              std::function<void(Reader&)> job);
    void retire(Hwnd window, Known& known);

    WindowSystem& windows_;
    Accessibility& accessibility_;
    Workers& workers_;
    std::map<Hwnd, Known> known_;
    // The presses the jobs made, also of windows gone meanwhile.
    std::mutex pressedMutex_;
    std::vector<PressedTab> pressed_;
};

} // namespace zk
