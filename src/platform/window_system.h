#pragma once

#include <cstdint>
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

    // Asks a top-level window to close: WM_SYSCOMMAND with SC_CLOSE, then WM_CLOSE.
    // Does not wait for the window to handle them.
    virtual void requestClose(Hwnd window) = 0;
    // True while a close request sent earlier has not been handled by the window.
    virtual bool closePending(Hwnd window) = 0;

    // The program's icon in the notification area, identified by its owner window and id.
    // The area reports mouse events over the icon to the owner as callbackMessage, with
    // the mouse message in lParam. Both give whether the call succeeded.
    virtual bool addNotifyIcon(Hwnd owner, unsigned id, unsigned callbackMessage,
                               const std::string& tip) = 0;
    virtual bool deleteNotifyIcon(Hwnd owner, unsigned id) = 0;
};

} // namespace zk
