#pragma once

#include "platform/accessibility.h"
#include "platform/window_system.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// Chromium's browsers by their window class ("Chrome_WidgetWin_" and a number) and program,
// Firefox and its kin by their program; file names in any letter case.
bool chromiumClass(std::string_view className);
bool chromiumProgram(std::string_view program);
bool firefoxProgram(std::string_view program);

// The address field of a browser's own user interface: the first editable text field inside
// a tool bar, breadth first, of the tool bar nearest the root that holds one; never looking
// into a document (a web page) or the tabs. Text fields outside tool bars (a find bar, a
// bubble, a dialog) are never taken.
std::unique_ptr<AccessibleElement> findAddressField(std::unique_ptr<AccessibleElement> root);

// What closing the tab in front came to: its close button pressed; none to press (no tab
// strip, no tab in front, a pinned tab or a hidden button); the window no longer shows what
// it showed (nothing pressed); or a page's own dialog hides the tree (nothing pressed).
enum class TabClose { Pressed, NoButton, Moved, Asking };

// Presses the close button of the tab in front, once, if the address field (kept in `field`,
// found again when it reads nothing) still shows `address` (what it shows is `shown`) and,
// when no address was read, the tab's name fits the title.
// The tab in front is the selected tab of the page tab list; of several selected (as by Ctrl),
// the one whose name starts with the page's part of the title. Its close button is its last
// push button, unless invisible.
TabClose closeTabInFront(std::unique_ptr<AccessibleElement> root,
                         std::unique_ptr<AccessibleElement>& field, const std::string& title,
                         const std::string& address, std::optional<std::string>& shown);
// The tabs of the page tab list; nothing without one.
std::optional<int> countTabs(std::unique_ptr<AccessibleElement> root);

// A URL entry as today's browsers show an address: without a leading "http://" or
// "https://", and then without a leading "www.".
std::string_view shownForm(std::string_view entry);

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
    // Closes the window's tab in front, away from this thread, for a window that matched with
    // this title and address: false when the window is to be closed as a whole instead (no
    // button to press). True while that runs, while the window waits for the tab to go after a
    // press (the title or address changes, or kTabGoneMs pass), and while a page's dialog is
    // open. A later call goes on with the tab then in front.
    bool closeTab(Hwnd window, const std::string& title, const std::string& address);
    static constexpr std::int64_t kTabGoneMs = 2000;
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
        // Of the tabs: whether a job runs, the last press and what the window showed then,
        // a press found nothing to press, and the count.
        bool tabJob = false;
        std::optional<std::int64_t> pressedAt;
        std::string pressedTitle;
        std::string pressedAddress;
        bool noButton = false;
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
    void retire(Hwnd window, Known& known);

    WindowSystem& windows_;
    Accessibility& accessibility_;
    Workers& workers_;
    std::map<Hwnd, Known> known_;
};

} // namespace zk
