#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace zk::sim {

Hwnd SimDesktop::newHandle() {
    if (reusedHandle_ && !exists(reusedHandle_)) return std::exchange(reusedHandle_, 0);
    const Hwnd handle = nextHandle_;
    nextHandle_ += 4;
    return handle;
}

Hwnd SimDesktop::open(std::string className, std::string title, std::uint32_t style,
                      OnClose onClose) {
    const Hwnd handle = newHandle();
    windows_[handle] = SimWindow{.handle = handle,
                                 .className = std::move(className),
                                 .text = std::move(title),
                                 .style = style,
                                 .onClose = onClose,
                                 .thread = ++nextThread_};
    zOrder_.insert(zOrder_.begin(), handle);
    return handle;
}

Hwnd SimDesktop::openBrowser(std::string className, std::string title, const char* url,
                             OnClose onClose) {
    const Hwnd window = open(std::move(className), std::move(title), BROWSER_STYLE, onClose);
    if (url) addChild(addChild(window, "ReBarWindow32"), "Edit", url);
    return window;
}

Hwnd SimDesktop::addChild(Hwnd parent, std::string className, std::string text) {
    const Hwnd handle = newHandle();
    windows_[handle] = SimWindow{.handle = handle,
                                 .parent = parent,
                                 .className = std::move(className),
                                 .text = std::move(text),
                                 .style = WS_VISIBLE_BIT | 0x40000000,
                                 .thread = window(parent).thread};
    children_[parent].push_back(handle);
    return handle;
}

void SimDesktop::setOwner(Hwnd window, Hwnd owner) {
    if (SimWindow* w = find(window); w && w->parent == 0 && exists(owner)) w->owner = owner;
}

bool SimDesktop::addNotifyIcon(Hwnd owner, unsigned id, unsigned callbackMessage,
                               const std::string& tip) {
    for (const SimNotifyIcon& icon : notifyIcons_)
        if (icon.owner == owner && icon.id == id) return false;
    if (!exists(owner)) return false;
    notifyIcons_.push_back({owner, id, callbackMessage, tip});
    return true;
}

bool SimDesktop::deleteNotifyIcon(Hwnd owner, unsigned id) {
    return std::erase_if(notifyIcons_, [&](const SimNotifyIcon& icon) {
               return icon.owner == owner && icon.id == id;
           }) > 0;
}

void SimDesktop::destroy(Hwnd window) {
    if (!exists(window)) return;
    for (Hwnd child : std::vector<Hwnd>(children_[window])) destroy(child);
    children_.erase(window);
    const Hwnd parent = windows_[window].parent;
    if (parent) std::erase(children_[parent], window);
    std::erase(zOrder_, window);
    windows_.erase(window);
    if (auto inbox = inboxes_.find(window); inbox != inboxes_.end()) {
        lostAnswers_.insert(lostAnswers_.end(), inbox->second.ids.begin(), inbox->second.ids.end());
        inboxes_.erase(inbox);
    }
    if (foreground_ == window) foreground_ = 0;
}

bool SimDesktop::exists(Hwnd window) const { return windows_.count(window) != 0; }

SimWindow* SimDesktop::find(Hwnd window) {
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : &found->second;
}

SimWindow& SimDesktop::window(Hwnd window) {
    SimWindow* w = find(window);
    if (!w) throw std::out_of_range("no such simulated window");
    return *w;
}

void SimDesktop::bringToTop(Hwnd window) {
    if (std::erase(zOrder_, window)) zOrder_.insert(zOrder_.begin(), window);
}

Hwnd SimDesktop::topLevelOf(Hwnd window) {
    SimWindow* w = find(window);
    while (w && w->parent) w = find(w->parent);
    return w ? w->handle : 0;
}

// Handles the close messages in the inbox in order, as far as the window's way allows.
void SimDesktop::handleMessages(SimWindow& w) {
    Inbox& inbox = inboxes_[w.handle];
    while (!inbox.ids.empty() && !inbox.asking) {
        switch (w.onClose) {
        case OnClose::Hang:
            return;
        case OnClose::Ask:
            inbox.asking = true;
            ++w.questions;
            return;
        case OnClose::Ignore:
            answers_.push_back(inbox.ids.front());
            inbox.ids.pop_front();
            break;
        case OnClose::Close:
            answers_.push_back(inbox.ids.front());
            inbox.ids.pop_front();
            destroy(w.handle);
            return;
        }
    }
}

void SimDesktop::answer(Hwnd window, bool close) {
    SimWindow& w = this->window(window);
    Inbox& inbox = inboxes_[window];
    if (!inbox.asking) throw std::logic_error("the window asks nothing");
    inbox.asking = false;
    answers_.push_back(inbox.ids.front());
    inbox.ids.pop_front();
    if (close)
        destroy(window);
    else
        handleMessages(w);
}

void SimDesktop::resume(Hwnd window) {
    SimWindow& w = this->window(window);
    w.onClose = OnClose::Close;
    handleMessages(w);
}

void SimDesktop::releaseLostAnswers() {
    answers_.insert(answers_.end(), lostAnswers_.begin(), lostAnswers_.end());
    lostAnswers_.clear();
}

void SimDesktop::deliverAnswers() {
    while (!answers_.empty()) {
        const std::uint32_t id = answers_.front();
        answers_.pop_front();
        if (answerHandler_) answerHandler_(id);
    }
}

void SimDesktop::keyDown(int virtualKey) {
    Key& key = keys_[virtualKey];
    key.down = true;
    key.pressedSinceQuery = true;
}

void SimDesktop::keyUp(int virtualKey) { keys_[virtualKey].down = false; }

void SimDesktop::tap(int virtualKey) {
    keyDown(virtualKey);
    keyUp(virtualKey);
}

std::uint16_t SimDesktop::keyState(int virtualKey) {
    auto found = keys_.find(virtualKey);
    if (found == keys_.end()) return 0;
    Key& key = found->second;
    const std::uint16_t state = (key.down ? 0x8000 : 0) | (key.pressedSinceQuery ? 1 : 0);
    key.pressedSinceQuery = false;
    return state;
}

std::vector<Hwnd> SimDesktop::topLevelWindows() { return zOrder_; }

std::uint32_t SimDesktop::style(Hwnd window) {
    const SimWindow* w = find(window);
    return w ? w->style : 0;
}

std::string SimDesktop::windowText(Hwnd window) {
    const SimWindow* w = find(window);
    return w ? w->text : std::string{};
}

std::string SimDesktop::className(Hwnd window) {
    const SimWindow* w = find(window);
    return w ? w->className.substr(0, 99) : std::string{};
}

void SimDesktop::collect(Hwnd parent, std::vector<Hwnd>& out) const {
    auto found = children_.find(parent);
    if (found == children_.end()) return;
    for (Hwnd child : found->second) {
        out.push_back(child);
        collect(child, out);
    }
}

std::vector<Hwnd> SimDesktop::descendants(Hwnd window) {
    std::vector<Hwnd> out;
    collect(window, out);
    return out;
}

std::string SimDesktop::controlText(Hwnd control) {
    ++controlReads_;
    const SimWindow* w = find(control);
    if (!w) return {};
    const SimWindow* top = find(topLevelOf(control));
    if (top && top->onClose == OnClose::Hang) return {}; // the bounded wait runs out
    return w->text;
}

std::uint32_t SimDesktop::windowThread(Hwnd window) {
    const SimWindow* w = find(window);
    return w ? w->thread : 0;
}

bool SimDesktop::sendCloseMessage(Hwnd window, CloseMessage message, std::uint32_t id) {
    SimWindow* w = find(window);
    if (!w) return false;
    if (message == CloseMessage::SysCommandClose) {
        closeLog_.push_back(window);
        ++w->closeRequests;
    } else {
        ++w->closeMessages;
    }
    Inbox& inbox = inboxes_[window];
    if (inbox.asking) ++w->overtaken;
    inbox.ids.push_back(id);
    handleMessages(*w);
    return true;
}

} // namespace zk::sim
