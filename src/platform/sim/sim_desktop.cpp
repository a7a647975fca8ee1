#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <stdexcept>

namespace zk::sim {

Hwnd SimDesktop::open(std::string className, std::string title, std::uint32_t style,
                      OnClose onClose) {
    const Hwnd handle = nextHandle_;
    nextHandle_ += 4;
    windows_[handle] = SimWindow{handle, 0, std::move(className), std::move(title), style, onClose};
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
    const Hwnd handle = nextHandle_;
    nextHandle_ += 4;
    windows_[handle] = SimWindow{handle, parent, std::move(className), std::move(text),
                                 WS_VISIBLE_BIT | 0x40000000};
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

void SimDesktop::handleClose(SimWindow& w, bool close) {
    while (w.unanswered > 0) {
        --w.unanswered;
        w.closeMessagesHandled += 2;
    }
    if (close) destroy(w.handle);
}

void SimDesktop::answer(Hwnd window, bool close) {
    handleClose(this->window(window), close);
}

void SimDesktop::resume(Hwnd window) {
    SimWindow& w = this->window(window);
    w.onClose = OnClose::Close;
    handleClose(w, w.unanswered > 0);
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

void SimDesktop::requestClose(Hwnd window) {
    SimWindow* w = find(window);
    if (!w) return;
    closeLog_.push_back(window);
    ++w->closeRequests;
    ++w->unanswered;
    if (w->onClose == OnClose::Close || w->onClose == OnClose::Ignore)
        handleClose(*w, w->onClose == OnClose::Close);
}

bool SimDesktop::closePending(Hwnd window) {
    const SimWindow* w = find(window);
    return w && w->unanswered > 0;
}

} // namespace zk::sim
