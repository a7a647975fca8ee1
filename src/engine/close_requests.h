#pragma once

#include "platform/window_system.h"

#include <cstdint>
#include <vector>

namespace zk {

// The close requests to browser windows: WM_SYSCOMMAND with SC_CLOSE, and WM_CLOSE once the
// window has handled the first, so a question the browser asks while it handles SC_CLOSE is
// never overtaken. Nothing waits for a window, and a window with a request still
// unanswered gets nothing more. Each request is known by an id of its own: a late answer
// never counts for another request, and a request whose window has gone (or whose handle
// value now names a window of another thread) is forgotten.
class CloseRequests {
public:
    explicit CloseRequests(WindowSystem& windows);
    ~CloseRequests();
    CloseRequests(const CloseRequests&) = delete;
    CloseRequests& operator=(const CloseRequests&) = delete;

    // Asks the window to close, unless a request to it is still unanswered: whether a
    // request went out.
    bool request(Hwnd window);
    // Whether a request to the window is still unanswered.
    bool pending(Hwnd window);
    // Forgets the requests whose windows have gone.
    void forgetGone();

private:
    struct Request {
        std::uint32_t id;
        Hwnd window;
        std::uint32_t thread;
        bool closeSent; // WM_CLOSE is out: the next answer ends the request
    };
    void answered(std::uint32_t id);
    bool gone(const Request& request);
    void erase(std::uint32_t id);
    Request* find(std::uint32_t id);

    WindowSystem& windows_;
    std::vector<Request> requests_; // few: one per window that asks back or hangs
    std::uint32_t lastId_ = 0;
};

} // namespace zk
