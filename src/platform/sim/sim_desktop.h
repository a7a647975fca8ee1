#pragma once

#include "platform/accessibility.h"
#include "platform/logon.h"
#include "platform/window_system.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zk::sim {

inline constexpr std::uint32_t BROWSER_STYLE = WS_VISIBLE_BIT | WS_BORDER_BIT | 0x00CF0000;

// How a simulated window handles a close message (SC_CLOSE or WM_CLOSE). As on Windows, a
// message sent to another program's window is handled after the call that sent it, when
// the desktop runs next (between two timer ticks at the latest).
enum class OnClose {
    Close,  // and goes away
    Slow,   // like Close, kSlowMs after the message came: a busy but responsive browser
    Ignore, // and stays
    Ask,    // asks a question of its own first; the message waits for answer()
    Hang,   // has stopped responding: nothing is handled until resume()
};
inline constexpr std::int64_t kSlowMs = 350;

// An element of a simulated accessibility tree.
struct SimAccessible {
    int role = 0;
    std::optional<std::string> value = {};
    std::vector<SimAccessible> children = {};
    std::uint32_t state = 0;
    bool breaks = false; // a read of it throws, as one broken by what a browser answered
    std::optional<std::string> name = {};
    int failures = 0; // its next calls that fail
    // Of a tab: the window's title and address while it is in front, whether it is (it is
    // SELECTED too unless its window is in the background), whether the user selected it with
    // Ctrl (whether its state shows it or not), and whether its page asks before it goes. Its
    // default action brings it to the front alone. A push button that `closes` closes its tab
    // (in Firefox all selected tabs, if it is one of them), the window with its last tab.
    std::string title = {};
    std::string address = {};
    bool front = false;
    bool ctrlSelected = false;
    bool asks = false;
    bool closes = false;
    bool addressField = false;
};

struct SimWindow {
    Hwnd handle = 0;
    Hwnd parent = 0;
    std::string className;
    std::string text;
    std::uint32_t style = 0;
    OnClose onClose = OnClose::Close;
    std::uint32_t thread = 0;             // one of its own per top-level window; children share it
    Hwnd owner = 0;                       // of a top-level window
    std::string program = "iexplore.exe"; // the file name of its program
    std::optional<SimAccessible> accessible = {}; // its client element; none: none answers
    bool accessibilityHangs = false;              // reads of it never come back
    bool background = false;                      // not the active window: its tab in front
                                                  // is not SELECTED
    std::optional<SimAccessible> pageDialog = {}; // a page's question: all its tree shows
    // What reached the window: WM_SYSCOMMAND/SC_CLOSE, WM_CLOSE, the questions it asked,
    // and the close messages that came while a question was open. A program must never
    // send those: they overtake the message the question is about.
    int closeRequests = 0;
    int closeMessages = 0;
    int questions = 0;
    int overtaken = 0;
};

struct SimNotifyIcon {
    Hwnd owner = 0;
    unsigned id = 0;
    unsigned callbackMessage = 0;
    std::string tip;
    bool grey = false;
    std::vector<std::string> notes;
};

// A request to open a file with the program the system has for it.
struct SimShellRequest {
    Hwnd owner = 0;
    std::string operation;
    std::string file;
    int showCommand = 0;
    bool operator==(const SimShellRequest&) const = default;
};

// A mouse event posted to a window as a notification icon's callback.
struct SimIconEvent {
    Hwnd owner = 0;
    unsigned callbackMessage = 0;
    unsigned mouseMessage = 0;
};

// A program started from a command line.
struct SimProgramStart {
    std::string commandLine;
    int showCommand = 0;
    bool operator==(const SimProgramStart&) const = default;
};

// The simulated desktop: top-level windows in z order with their descendants. Every close
// request is logged; windows can ignore requests, ask a question of their own, or hang.
// Their programs answer through accessibility trees; the jobs posted to its workers run
// when the desktop runs, except those for a window whose accessibility hangs.
class SimDesktop final : public WindowSystem, public Accessibility, public Workers, public Logon {
public:
    // A new top-level window, placed on top of the z order, with a thread of its own.
    Hwnd open(std::string className, std::string title, std::uint32_t style = BROWSER_STYLE,
              OnClose onClose = OnClose::Close);
    // A browser-like window with an Edit child holding the address (none when url is null).
    Hwnd openBrowser(std::string className, std::string title, const char* url,
                     OnClose onClose = OnClose::Close);
    Hwnd addChild(Hwnd parent, std::string className, std::string text = {});
    // A top-level window owned by another one.
    void setOwner(Hwnd window, Hwnd owner);
    void destroy(Hwnd window);
    bool exists(Hwnd window) const;
    SimWindow& window(Hwnd window);
    void bringToTop(Hwnd window);
    // The keyboard: a key goes down and comes up; a tap does both between two queries, which
    // see it only through the low bit of the key state.
    void keyDown(int virtualKey);
    void keyUp(int virtualKey);
    void tap(int virtualKey);
    void releaseKeys() { keys_.clear(); }

    // The window in front, which gets the keyboard's input; 0 for none.
    Hwnd foreground() const { return foreground_; }
    void setForeground(Hwnd window) { foreground_ = exists(window) ? window : 0; }

    // The question a window asked is answered: it closes, or it stays and goes on with
    // what else was sent to it.
    void answer(Hwnd window, bool close);
    // A hung window handles what was sent to it meanwhile.
    void resume(Hwnd window);
    // The next window opened gets this handle value, as the system may give a value again
    // once its window has gone.
    void reuseHandle(Hwnd handle) { reusedHandle_ = handle; }
    // Answers of windows that went away before they handled a message never come, unless
    // this hands them over after all, at the next pump.
    void releaseLostAnswers();
    // The windows handle what was sent to them up to this time (the virtual clock's), and
    // the answers go to the answer handler, as the program's message loop hands them over;
    // the toolkit runs it between timer ticks. Returns when the next message is due, if any.
    std::optional<std::int64_t> run(std::int64_t now);
    // The folder is held by a copy of the program out of this one's reach (another user's).
    void claimOutOfReach(const std::string& folder) {
        folderClaims_[folderKey(folder)] = kOutOfReach;
    }
    // The mouse events posted to icon owners since the last call, for the toolkit to hand
    // to its windows.
    std::vector<SimIconEvent> takeIconEvents() { return std::exchange(iconEvents_, {}); }

    // Every close request (SC_CLOSE) as it was sent, in order.
    const std::vector<Hwnd>& closeLog() const { return closeLog_; }
    void clearLog() {
        closeLog_.clear();
        presses_.clear();
    }
    // How often the content of the windows' controls was read; how many calls went to
    // accessibility trees, and how many of them asked for the children of a document.
    int controlReads() const { return controlReads_; }
    int accessibleCalls() const { return accessibleCalls_; }
    int documentWalks() const { return documentWalks_; }
    // What the default actions did: the name of each tab closed, "+" and the name of a tab
    // brought to the front, "?" for a page that asked, "-" for any other press.
    const std::vector<std::string>& presses() const { return presses_; }

    // The icons in the notification area, in the order they were added.
    const std::vector<SimNotifyIcon>& notifyIcons() const { return notifyIcons_; }
    // The notification area is created anew, empty (as when the shell restarts).
    void clearNotifyIcons() { notifyIcons_.clear(); }

    // What the program asked to open or start, in order; with failStarts, no program
    // starts (as when it cannot be found) and the request is still logged.
    const std::vector<SimShellRequest>& shellRequests() const { return shellRequests_; }
    const std::vector<SimProgramStart>& programStarts() const { return programStarts_; }
    bool failStarts = false;
    // No worker starts, as when the system has no thread left.
    bool failWorkers = false;

    // The user's programs started at logon, by name; with failLogonWrites none can be stored.
    std::map<std::string, std::string> logonCommands;
    bool failLogonWrites = false;
    std::optional<std::string> command(const std::string& name) override {
        const auto found = logonCommands.find(name);
        return found == logonCommands.end() ? std::nullopt : std::optional(found->second);
    }
    bool setCommand(const std::string& name, const std::optional<std::string>& line) override {
        if (failLogonWrites) return false;
        if (line)
            logonCommands[name] = *line;
        else
            logonCommands.erase(name);
        return true;
    }

    Hwnd foregroundWindow() override { return foreground_; }
    std::int64_t milliseconds() override { return now_; }
    // The local clock: clockStart (seconds since 1970-01-01 00:00, local time) when the
    // simulated clock stood at 0. By default Monday, 2026-12-07, 08:00.
    std::int64_t clockStart = secondsSinceEpoch(2026, 12, 7, 8, 0);
    static std::int64_t secondsSinceEpoch(int year, int month, int day, int hour, int minute);
    LocalTime localTime() override;
    std::uint16_t keyState(int virtualKey) override;
    std::vector<Hwnd> topLevelWindows() override;
    std::uint32_t style(Hwnd window) override;
    std::string windowText(Hwnd window) override;
    std::string className(Hwnd window) override;
    std::vector<Hwnd> descendants(Hwnd window) override;
    std::string controlText(Hwnd control) override;
    std::uint32_t windowThread(Hwnd window) override;
    std::string processName(Hwnd window) override;
    std::unique_ptr<AccessibleElement> client(Hwnd window) override;
    bool post(Hwnd window, std::function<void()> job) override {
        if (failWorkers) return false;
        jobs_[window].push_back(std::move(job));
        return true;
    }
    // Runs the jobs meanwhile; the clock does not move, as nothing else runs while it waits.
    bool waitFor(const std::function<bool()>& done, int) override {
        for (int round = 0; round < 3 && !done(); ++round) runJobs();
        return done();
    }
    void retire(Hwnd) override {}
    bool sendCloseMessage(Hwnd window, CloseMessage message, std::uint32_t id) override;
    void onCloseAnswered(std::function<void(std::uint32_t)> handler) override {
        answerHandler_ = std::move(handler);
    }
    bool addNotifyIcon(Hwnd owner, unsigned id, unsigned callbackMessage,
                       const std::string& tip) override;
    bool deleteNotifyIcon(Hwnd owner, unsigned id) override;
    bool modifyNotifyIcon(Hwnd owner, unsigned id, const std::string& tip, bool grey) override;
    bool showNotifyIconNote(Hwnd owner, unsigned id, const std::string& title,
                            const std::string& text) override;
    FolderClaim claimProgramFolder(const std::string& folder, Hwnd host) override;
    // A hung owner does not handle the event in time; it gets it all the same.
    bool sendNotifyIconEvent(Hwnd owner, unsigned callbackMessage, unsigned mouseMessage,
                             unsigned timeoutMs) override;
    bool shellExecute(Hwnd owner, const std::string& operation, const std::string& file,
                      int showCommand) override {
        shellRequests_.push_back({owner, operation, file, showCommand});
        return true;
    }
    bool startProgram(const std::string& commandLine, int showCommand) override {
        programStarts_.push_back({commandLine, showCommand});
        return !failStarts;
    }

private:
    friend class SimElement;
    SimWindow* find(Hwnd window);
    bool press(Hwnd window, const std::vector<std::size_t>& path);
    void closeTabs(SimWindow& w, SimAccessible& list, SimAccessible& pressed);
    void runJobs();
    Hwnd topLevelOf(Hwnd window);
    void collect(Hwnd parent, std::vector<Hwnd>& out) const;
    Hwnd newHandle();
    void handleMessages(SimWindow& w);
    static std::string folderKey(std::string folder);
    static constexpr Hwnd kOutOfReach = ~Hwnd{0};

    struct Message {
        std::uint32_t id;
        std::int64_t due; // when the window gets to it
    };
    struct Inbox {
        std::deque<Message> messages; // close messages not handled yet, oldest first
        bool asking = false;          // a question about the oldest one is open
    };

    std::map<Hwnd, SimWindow> windows_;
    std::map<Hwnd, std::vector<Hwnd>> children_;
    std::vector<Hwnd> zOrder_; // topmost first
    std::vector<Hwnd> closeLog_;
    std::vector<SimNotifyIcon> notifyIcons_;
    std::vector<SimShellRequest> shellRequests_;
    std::vector<SimProgramStart> programStarts_;
    std::vector<SimIconEvent> iconEvents_;
    std::map<std::string, Hwnd> folderClaims_; // by the folder in lower case
    struct Key {
        bool down = false;
        bool pressedSinceQuery = false;
    };
    std::map<int, Key> keys_;
    std::map<Hwnd, Inbox> inboxes_;
    std::deque<std::uint32_t> answers_;
    std::vector<std::uint32_t> lostAnswers_;
    std::function<void(std::uint32_t)> answerHandler_;
    Hwnd foreground_ = 0;
    std::int64_t now_ = 0;
    Hwnd nextHandle_ = 0x10010;
    Hwnd reusedHandle_ = 0;
    std::uint32_t nextThread_ = 100;
    int controlReads_ = 0;
    int accessibleCalls_ = 0;
    int documentWalks_ = 0;
    std::vector<std::string> presses_;
    std::map<Hwnd, std::deque<std::function<void()>>> jobs_;
};

} // namespace zk::sim
