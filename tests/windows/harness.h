#pragma once

// Starts zuklapper.exe and the browser fixture as real processes and observes them.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace zkt {

// Generous time-outs: they only run out when a test fails, and CI machines may be busy.
constexpr DWORD kExpectMs = 30000;
// For a process to start and open its first window (a fresh Wine prefix is slow).
constexpr DWORD kStartMs = 30000;

// A path as Windows programs under Wine take it: "/a/b" becomes "Z:\a\b".
std::string windowsPath(const std::string& path);
// A folder of its own for the running test, emptied of what an earlier run left.
std::string freshFolder();
std::string quotedLines(const std::vector<std::string>& entries);
std::optional<std::string> readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& data);
// The caption the system keeps; controlText asks a control of another program for its own,
// or for another text (LB_GETTEXT and an index), in UTF-16, turned into the ANSI code page.
std::string windowText(HWND hwnd);
std::string controlText(HWND control, UINT message = WM_GETTEXT, WPARAM wParam = 1024);
std::string className(HWND hwnd);
// The first top-level window (parent nullptr) or descendant that matches.
HWND findWindow(HWND parent, const std::function<bool(HWND)>& match);
HWND findDescendant(HWND parent, const std::string& cls, const std::string& text = "");
// Sends a message and returns its result, or -1 when it is not handled in time.
LRESULT query(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Posts a key press, as the keyboard would deliver it to the focused window.
void pressKey(HWND hwnd, WPARAM key);
// Brings the window to the front, then waits for Wine to take the keyboard state from X.
bool bringToFront(HWND window);
// A key typed for the window in front, held down for holdMs, with modifiers held long enough
// for a polling program.
void typeKey(WORD key, std::initializer_list<WORD> modifiers = {}, DWORD holdMs = 0);

// Of the window's rectangle as the screen shows it, whatever covers it: how many pixels have
// exactly this colour, and a PNG picture in the build folder once it has had time to draw.
int countPixels(HWND window, COLORREF color);
bool keepPicture(HWND window, const std::string& name);
// How many pixels of the program icon's dark blue the notification area shows. Wine on a
// display without a notification area of its own shows the icons in a window of this class.
inline int trayIconPixels() {
    const HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    return tray && IsWindowVisible(tray) ? countPixels(tray, RGB(0, 0, 0x80)) : 0;
}

// Polls until the condition holds or the time-out ends; returns the condition's last value.
template <class Condition>
bool waitUntil(Condition condition, DWORD timeoutMs = kExpectMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= end) return condition();
        Sleep(20);
    }
    return true;
}

// A child process that dies with the test process, however that ends.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Starts the program in the folder ("" for this one); 0 or the last attempt's error.
    DWORD start(const std::string& exe, const std::string& folder,
                const std::vector<std::string>& arguments = {});
    HANDLE handle() const { return info_.hProcess; }
    // The process's first top-level window that matches.
    HWND window(const std::function<bool(HWND)>& match) const;
    bool running() const;
    // Closes the process's next message box with the button, after a picture if named; what
    // it said, "" if none came.
    std::string answerMessage(const std::string& picture = "", int button = IDOK) const;

private:
    PROCESS_INFORMATION info_{};
};

// The shape of a browser-like window of browser_fixture.exe.
struct FakeWindow {
    std::string cls = "IEFrame";
    std::string title = {};
    std::vector<std::string> edits = {};
    std::string mode = "normal"; // normal, ignore, ask
    bool visible = true;
    bool border = true;
    bool topmost = false;
    bool nested = false;
    // A DDE server of this service answering the address query with ddeReply, or never.
    std::string ddeService = {};
    std::string ddeReply = {};
    bool ddeHang = false;
    // The fixture copied under this name, today's browsers' tree, and more of its flags.
    std::string program = {};
    std::optional<std::string> accessibleAddress = {};
    std::string flags = {};
};

// One browser_fixture.exe with its window, which counts what it receives.
class FakeBrowser {
public:
    explicit FakeBrowser(const FakeWindow& window);
    ~FakeBrowser() {
        if (resume_) resume();
    }
    FakeBrowser(const FakeBrowser&) = delete;
    FakeBrowser& operator=(const FakeBrowser&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool closed(DWORD timeoutMs = kExpectMs) const;
    // The window is there and has had no close request.
    bool untouched() const { return IsWindow(hwnd_) && count("syscommand") + count("close") == 0; }
    // A count of browser_fixture.cpp ("syscommand", "close", "question", ...); 0 once gone.
    int count(const char* what) const;
    // The page in front changes: its address becomes the title.
    void navigate() const { query(hwnd_, WM_APP + 2); }
    // The window stops responding until resume().
    void hang();
    void resume();
    void answer(bool yes) const;

private:
    ChildProcess process_;
    HWND hwnd_ = nullptr;
    HANDLE resume_ = nullptr;
};

// zuklapper.exe copied into a fresh folder with the given list files, started there.
class Program {
public:
    // Only the files given are written; titleFile is the title list's bytes.
    Program(std::optional<std::vector<std::string>> titles,
            std::optional<std::vector<std::string>> urls,
            std::optional<std::string> config = std::nullopt,
            std::optional<std::string> titleFile = std::nullopt);

    const std::string& folder() const { return folder_; }
    std::string path(const std::string& fileName) const { return folder_ + "\\" + fileName; }
    std::vector<std::string> files() const; // the names in the program's folder
    // The main window and the hidden host of the notification icon.
    HWND mainWindow() const;
    HWND hostWindow() const;
    // Once there: the program's visible window of this caption, its about box.
    HWND shownWindow(const std::string& caption, DWORD timeoutMs = kExpectMs) const;
    std::string answerMessage(const std::string& picture = "", int button = IDOK) const;
    // Shows the main window as a double-click on the notification icon does.
    void showMainWindow() const;
    // Shows the main window with the URL list and arms the capture.
    void armAddressCapture() const;
    // Opens the notification icon's popup menu: its window, or nullptr when it does not open.
    HWND openMenu() const;
    // Opens the menu and chooses the item of this mnemonic.
    bool chooseFromMenu(WORD mnemonic) const;
    HWND aboutBox(DWORD timeoutMs = kExpectMs) const;
    bool waitForEnd(DWORD timeoutMs = kExpectMs) const;
    // A message posted to the list box (two entries or more) is handled: the loop runs.
    bool pumpsMessages(DWORD timeoutMs = kExpectMs) const;
    bool running() const { return process_.running(); }

private:
    HWND awaitWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const;

    std::string folder_;
    ChildProcess process_;
};

} // namespace zkt
