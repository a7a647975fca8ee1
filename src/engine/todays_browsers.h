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
    // Forgets the windows not looked at since the last call.
    void sweep();
    // Whether a read is still running.
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
