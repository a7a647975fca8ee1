#include "engine/close_requests.h"

#include <algorithm>

namespace zk {

using CloseMessage = WindowSystem::CloseMessage;

CloseRequests::CloseRequests(WindowSystem& windows) : windows_(windows) {
    windows_.onCloseAnswered([this](std::uint32_t id) { answered(id); });
}

CloseRequests::~CloseRequests() { windows_.onCloseAnswered(nullptr); }

bool CloseRequests::gone(const Request& request) {
    return windows_.windowThread(request.window) != request.thread;
}

CloseRequests::Request* CloseRequests::find(std::uint32_t id) {
    const auto found = std::find_if(requests_.begin(), requests_.end(),
                                    [id](const Request& r) { return r.id == id; });
    return found == requests_.end() ? nullptr : &*found;
}

void CloseRequests::erase(std::uint32_t id) {
    std::erase_if(requests_, [id](const Request& r) { return r.id == id; });
}

bool CloseRequests::pending(Hwnd window) {
    for (std::size_t i = 0; i < requests_.size(); ++i) {
        if (requests_[i].window != window) continue;
        if (!gone(requests_[i])) return true;
        requests_.erase(requests_.begin() + static_cast<std::ptrdiff_t>(i--));
    }
    return false;
}

void CloseRequests::forgetGone() {
    std::erase_if(requests_, [this](const Request& r) { return gone(r); });
}

bool CloseRequests::request(Hwnd window) {
    if (pending(window)) return false;
    const std::uint32_t thread = windows_.windowThread(window);
    if (thread == 0) return false;
    const std::uint32_t id = ++lastId_;
    requests_.push_back({id, window, thread, false});
    if (windows_.sendCloseMessage(window, CloseMessage::SysCommandClose, id)) return true;
    erase(id);
    return false;
}

// The window has handled one message of the request: after SC_CLOSE comes WM_CLOSE, unless
// the window has gone meanwhile; after WM_CLOSE the request has ended.
void CloseRequests::answered(std::uint32_t id) {
    Request* request = find(id);
    if (!request) return; // forgotten, or of an earlier run
    if (request->closeSent || gone(*request)) {
        erase(id);
        return;
    }
    request->closeSent = true;
    if (!windows_.sendCloseMessage(request->window, CloseMessage::Close, id)) erase(id);
}

} // namespace zk
