#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zk {

// A window handle as a plain value; 0 is no window.
using Hwnd = std::uintptr_t;

inline constexpr std::uint32_t WS_VISIBLE_BIT = 0x10000000;
inline constexpr std::uint32_t WS_BORDER_BIT = 0x00800000;

// The desktop as the program sees it. Calls never throw and never show anything:
// a window that has gone yields 0, empty texts and empty lists.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The state of a key (GetAsyncKeyState): the high bit while it is down, the low bit when
    // it was pressed since the program last asked. 0 for a code that is no key.
    virtual std::uint16_t keyState(int virtualKey) = 0;
    // The system's clock in milliseconds, from some start.
    virtual std::int64_t milliseconds() = 0;
    // The local date and time, as the user's clock shows it.
    struct LocalTime {
        int year = 0, month = 0, day = 0;
        int weekday = 0; // 0 Monday ... 6 Sunday
        int hour = 0, minute = 0, second = 0;
    };
    virtual LocalTime localTime() = 0;
    // The window the user works in (GetForegroundWindow); 0 for none.
    virtual Hwnd foregroundWindow() = 0;
    // The top-level windows in z order, topmost first, as one snapshot.
    virtual std::vector<Hwnd> topLevelWindows() = 0;
    // The window's style bits (GWL_STYLE).
    virtual std::uint32_t style(Hwnd window) = 0;
    // The window's caption as stored by the system; never waits for the window's owner.
    virtual std::string windowText(Hwnd window) = 0;
    // The window's class name as the system reports it, at most 99 characters.
    virtual std::string className(Hwnd window) = 0;
    // Every descendant (children, grandchildren, ...) in the system's enumeration order.
    virtual std::vector<Hwnd> descendants(Hwnd window) = 0;
    // The text of a control of another program (WM_GETTEXTLENGTH, WM_GETTEXT). The wait
    // for the answer is bounded; a control that does not answer in time gives "".
    virtual std::string controlText(Hwnd control) = 0;

    // The thread that owns the window; 0 when there is no such window. A handle value that
    // names a window of another thread than before names another window.
    virtual std::uint32_t windowThread(Hwnd window) = 0;
    // The file name of the program that owns the window ("chrome.exe"), without its folder;
    // "" when it cannot be told.
    virtual std::string processName(Hwnd window) = 0;

    // Sends a top-level window one of the two close messages without waiting for it to be
    // handled: WM_SYSCOMMAND with SC_CLOSE, or WM_CLOSE. When the window has handled it, the
    // answer handler gets the id, later, while the program waits for messages, never inside
    // this call. False when the message could not be sent (no such window): then no answer
    // comes. The answer of a window that goes away or stops meanwhile may never come.
    enum class CloseMessage { SysCommandClose, Close };
    virtual bool sendCloseMessage(Hwnd window, CloseMessage message, std::uint32_t id) = 0;
    virtual void onCloseAnswered(std::function<void(std::uint32_t id)> handler) = 0;

    // The program's icon in the notification area, identified by its owner window and id.
    // The area reports mouse events over the icon to the owner as callbackMessage, with
    // the mouse message in lParam. Both give whether the call succeeded.
    virtual bool addNotifyIcon(Hwnd owner, unsigned id, unsigned callbackMessage,
                               const std::string& tip) = 0;
    virtual bool deleteNotifyIcon(Hwnd owner, unsigned id) = 0;
    // Gives the icon a new tip, and draws it grey or in its colours.
    virtual bool modifyNotifyIcon(Hwnd owner, unsigned id, const std::string& tip, bool grey) = 0;
    // A note beside the icon, which goes by itself (a balloon): a warning that holds up
    // nothing.
    virtual bool showNotifyIconNote(Hwnd owner, unsigned id, const std::string& title,
                                    const std::string& text) = 0;

    // One running copy of the program per folder: the first copy that claims a folder holds
    // it, with its host window, until it ends. Another copy that holds it may be out of this
    // one's reach: another user's, one with administrator rights, or one of another session.
    struct FolderClaim {
        enum Holder { ThisCopy, AnotherCopy, CopyOutOfReach };
        Holder holder = ThisCopy;
        Hwnd host = 0; // another copy's host window; 0 when it has not told it
    };
    virtual FolderClaim claimProgramFolder(const std::string& folder, Hwnd host) = 0;
    // Hands another copy's icon owner a mouse event of its notification icon, as the
    // notification area does, lets that copy come to the front, and waits for it to be
    // handled. False when it was not handled within the time-out.
    virtual bool sendNotifyIconEvent(Hwnd owner, unsigned callbackMessage, unsigned mouseMessage,
                                     unsigned timeoutMs) = 0;

    // ShellExecuteA without parameters or folder: the file or address is opened with the
    // program the system has for it (operation "Open"), in the show state given (1:
    // SW_SHOWNORMAL). False when nothing could be opened.
    virtual bool shellExecute(Hwnd owner, const std::string& operation, const std::string& file,
                              int showCommand) = 0;
    // Starts a program from a command line, as WinExec does, with the window style given
    // (1: shown normally), and does not wait for it. False when it could not be started.
    virtual bool startProgram(const std::string& commandLine, int showCommand) = 0;
};

} // namespace zk
