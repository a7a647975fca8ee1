#pragma once

// Starts zuklapper.exe and the browser fixture as real processes and observes them.

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zkt {

constexpr DWORD kExpectMs = 3000;

// A path as Windows programs under Wine take it: "/a/b" becomes "Z:\a\b".
std::string windowsPath(const std::string& path);
std::string quotedLines(const std::vector<std::string>& entries);
std::optional<std::string> readFile(const std::string& path);
std::string windowText(HWND hwnd);
std::string className(HWND hwnd);
// The first descendant of the class (and caption, when given) in enumeration order.
HWND findDescendant(HWND parent, const std::string& cls, const std::string& text = "");
// Sends a message and returns its result, or -1 when it is not handled within 2 s.
LRESULT query(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Posts a key press, as the keyboard would deliver it to the focused window.
void pressKey(HWND hwnd, WPARAM key);
// Saves the window's rectangle as the screen shows it to a 24-bit PNG file, so whatever
// covers the window is in the picture; false when there is nothing to copy or the file
// cannot be written.
bool saveScreenshot(HWND window, const std::string& pngPath);
// The window's rectangle as the screen shows it, as RGB bytes row by row; "" when there
// is nothing to copy.
std::string captureWindow(HWND window, int& width, int& height);

// Polls until the condition holds or the time-out ends; returns the condition's last value.
template <class Condition>
bool waitUntil(Condition condition, DWORD timeoutMs = kExpectMs) {
    ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return condition();
        Sleep(20);
    }
}

// A child process that dies with the test process, however that ends.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { stop(); }

    bool start(const std::string& exe, const std::string& folder, STARTUPINFOA* startup,
               bool inheritHandles);
    void stop();
    HANDLE handle() const { return info_.hProcess; }
    DWORD id() const { return info_.dwProcessId; }
    bool running() const;

private:
    PROCESS_INFORMATION info_{};
};

struct WindowSpec {
    std::string id = {};
    std::string cls = "IEFrame";
    std::string title = {};
    std::vector<std::string> edits = {};
    std::string mode = "normal"; // normal, ignore, ask
    bool visible = true;
    bool border = true;
    bool topmost = false;
    bool nested = false;
};

struct Event {
    ULONGLONG ms = 0;
    std::string name, id, detail;
};

// One browser_fixture.exe, driven through its stdin and read through its stdout.
class Fixture {
public:
    Fixture();
    ~Fixture();

    void send(const std::string& line);
    // Opens a window and waits until it exists; 0 when it could not be opened.
    HWND open(const WindowSpec& spec);
    std::vector<Event> events(const std::string& id = "") const;
    int count(const std::string& name, const std::string& id) const;
    bool waitFor(const std::string& name, const std::string& id = "",
                 DWORD timeoutMs = kExpectMs) const;
    // The events as "ms name id detail" lines, for failure messages.
    std::string log(const std::string& id = "") const;

private:
    void readEvents();

    ChildProcess process_;
    HANDLE toChild_ = nullptr;
    HANDLE fromChild_ = nullptr;
    std::thread reader_;
    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    std::vector<Event> events_;
};

// zuklapper.exe copied into a fresh folder with the given list files, started there.
class Program {
public:
    // A list file and the settings file are written only when given.
    Program(std::optional<std::vector<std::string>> titles,
            std::optional<std::vector<std::string>> urls,
            std::optional<std::string> config = std::nullopt);

    std::string path(const std::string& fileName) const { return folder_ + "\\" + fileName; }
    // The top-level window captioned "Zuklapper 1.08" of the program's process.
    HWND mainWindow() const;
    // The hidden window that owns the notification icon, captioned "Form2".
    HWND hostWindow() const;
    // Shows the main window as a double-click on the notification icon does.
    void showMainWindow() const;
    // Waits until the process has ended.
    bool waitForEnd(DWORD timeoutMs = kExpectMs) const;
    // True when the program's message loop handles a key press in its list box within the
    // time; the list needs two entries. A program stuck in a call still answers sent
    // messages, so this takes posted input.
    bool handlesInput(DWORD timeoutMs = 1000) const;
    bool running() const { return process_.running(); }

private:
    std::string folder_;
    ChildProcess process_;
};

} // namespace zkt
