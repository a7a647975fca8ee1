#pragma once

#include "platform/window_system.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zk::sim {

inline constexpr std::uint32_t BROWSER_STYLE = WS_VISIBLE_BIT | WS_BORDER_BIT | 0x00CF0000;

// How a simulated window answers a close request.
enum class OnClose {
    Close,  // handles it at once and goes away
    Ignore, // handles it at once and stays
    Ask,    // shows a question of its own; the request stays unanswered until answer()
    Hang,   // has stopped responding: nothing is handled until resume()
};

struct SimWindow {
    Hwnd handle = 0;
    Hwnd parent = 0;
    std::string className;
    std::string text;
    std::uint32_t style = 0;
    OnClose onClose = OnClose::Close;
    int closeRequests = 0;      // requests received (sent), answered or not
    int unanswered = 0;         // requests not handled yet
    int closeMessagesHandled = 0; // WM_SYSCOMMAND/SC_CLOSE and WM_CLOSE handled
    Hwnd owner = 0;               // of a top-level window
};

struct SimNotifyIcon {
    Hwnd owner = 0;
    unsigned id = 0;
    unsigned callbackMessage = 0;
    std::string tip;
};

// The simulated desktop: top-level windows in z order with their descendants. Every close
// request is logged; windows can ignore requests, ask a question of their own, or hang.
class SimDesktop final : public WindowSystem {
public:
    // A new top-level window, placed on top of the z order.
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
    // The window in front, which gets the keyboard's input; 0 for none.
    Hwnd foreground() const { return foreground_; }
    void setForeground(Hwnd window) { foreground_ = exists(window) ? window : 0; }

    // The question a window asked on a close request is answered; closing or staying.
    void answer(Hwnd window, bool close);
    // A hung window handles what was sent to it meanwhile.
    void resume(Hwnd window);

    // Every close request as it was sent, in order.
    const std::vector<Hwnd>& closeLog() const { return closeLog_; }
    void clearLog() { closeLog_.clear(); }
    // How often the content of the windows' controls was read.
    int controlReads() const { return controlReads_; }

    // The icons in the notification area, in the order they were added.
    const std::vector<SimNotifyIcon>& notifyIcons() const { return notifyIcons_; }
    // The notification area is created anew, empty (as when the shell restarts).
    void clearNotifyIcons() { notifyIcons_.clear(); }

    std::vector<Hwnd> topLevelWindows() override;
    std::uint32_t style(Hwnd window) override;
    std::string windowText(Hwnd window) override;
    std::string className(Hwnd window) override;
    std::vector<Hwnd> descendants(Hwnd window) override;
    std::string controlText(Hwnd control) override;
    void requestClose(Hwnd window) override;
    bool closePending(Hwnd window) override;
    bool addNotifyIcon(Hwnd owner, unsigned id, unsigned callbackMessage,
                       const std::string& tip) override;
    bool deleteNotifyIcon(Hwnd owner, unsigned id) override;

private:
    SimWindow* find(Hwnd window);
    Hwnd topLevelOf(Hwnd window);
    void collect(Hwnd parent, std::vector<Hwnd>& out) const;
    void handleClose(SimWindow& w, bool close);

    std::map<Hwnd, SimWindow> windows_;
    std::map<Hwnd, std::vector<Hwnd>> children_;
    std::vector<Hwnd> zOrder_; // topmost first
    std::vector<Hwnd> closeLog_;
    std::vector<SimNotifyIcon> notifyIcons_;
    Hwnd foreground_ = 0;
    Hwnd nextHandle_ = 0x10010;
    int controlReads_ = 0;
};

} // namespace zk::sim
