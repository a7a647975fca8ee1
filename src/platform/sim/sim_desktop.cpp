#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <cctype>
#include <set>
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
    notifyIcons_.push_back({owner, id, callbackMessage, tip, false, {}});
    return true;
}

bool SimDesktop::deleteNotifyIcon(Hwnd owner, unsigned id) {
    return std::erase_if(notifyIcons_, [&](const SimNotifyIcon& icon) {
               return icon.owner == owner && icon.id == id;
           }) > 0;
}

bool SimDesktop::modifyNotifyIcon(Hwnd owner, unsigned id, const std::string& tip, bool grey) {
    for (SimNotifyIcon& icon : notifyIcons_)
        if (icon.owner == owner && icon.id == id) {
            icon.tip = tip;
            icon.grey = grey;
            return true;
        }
    return false;
}

bool SimDesktop::showNotifyIconNote(Hwnd owner, unsigned id, const std::string&,
                                    const std::string& text) {
    for (SimNotifyIcon& icon : notifyIcons_)
        if (icon.owner == owner && icon.id == id) {
            icon.notes.push_back(text);
            return true;
        }
    return false;
}

// Days from civil dates and back, after Howard Hinnant's algorithms.
std::int64_t SimDesktop::secondsSinceEpoch(int year, int month, int day, int hour, int minute) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = std::int64_t{era} * 146097 + dayOfEra - 719468;
    return days * 86400 + std::int64_t{hour} * 3600 + std::int64_t{minute} * 60;
}

WindowSystem::LocalTime SimDesktop::localTime() {
    const std::int64_t seconds = clockStart + now_ / 1000;
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t rest = seconds - days * 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    LocalTime t;
    t.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0));
    t.weekday = static_cast<int>((days % 7 + 10) % 7); // 1970-01-01 was a Thursday
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
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
        for (const Message& message : inbox->second.messages) lostAnswers_.push_back(message.id);
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

// Handles the close messages in the inbox that are due, in order, as far as the window's way
// allows.
void SimDesktop::handleMessages(SimWindow& w) {
    Inbox& inbox = inboxes_[w.handle];
    while (!inbox.messages.empty() && !inbox.asking && inbox.messages.front().due <= now_) {
        switch (w.onClose) {
        case OnClose::Hang:
            return;
        case OnClose::Ask:
            inbox.asking = true;
            ++w.questions;
            return;
        case OnClose::Ignore:
            answers_.push_back(inbox.messages.front().id);
            inbox.messages.pop_front();
            break;
        case OnClose::Close:
        case OnClose::Slow:
            answers_.push_back(inbox.messages.front().id);
            inbox.messages.pop_front();
            destroy(w.handle);
            return;
        }
    }
}

void SimDesktop::answer(Hwnd window, bool close) {
    Inbox& inbox = inboxes_[window];
    if (!inbox.asking) throw std::logic_error("the window asks nothing");
    inbox.asking = false;
    answers_.push_back(inbox.messages.front().id);
    inbox.messages.pop_front();
    if (close) destroy(window);
}

void SimDesktop::resume(Hwnd window) { this->window(window).onClose = OnClose::Close; }

void SimDesktop::releaseLostAnswers() {
    answers_.insert(answers_.end(), lostAnswers_.begin(), lostAnswers_.end());
    lostAnswers_.clear();
}

std::optional<std::int64_t> SimDesktop::run(std::int64_t now) {
    now_ = std::max(now_, now);
    runJobs();
    // An answer may send the next message, which a quick window handles at once.
    for (bool answered = true; answered;) {
        std::vector<Hwnd> waiting;
        for (const auto& entry : inboxes_) waiting.push_back(entry.first);
        for (Hwnd handle : waiting)
            if (SimWindow* w = find(handle)) handleMessages(*w);
        answered = !answers_.empty();
        while (!answers_.empty()) {
            const std::uint32_t id = answers_.front();
            answers_.pop_front();
            if (answerHandler_) answerHandler_(id);
        }
    }
    std::optional<std::int64_t> next;
    for (const auto& [handle, inbox] : inboxes_) {
        const SimWindow* w = find(handle);
        if (!w || w->onClose == OnClose::Hang || inbox.messages.empty() || inbox.asking) continue;
        const std::int64_t due = inbox.messages.front().due;
        if (due > now_ && (!next || due < *next)) next = due;
    }
    return next;
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
    inbox.messages.push_back({id, now_ + (w->onClose == OnClose::Slow ? kSlowMs : 0)});
    return true;
}

std::string SimDesktop::folderKey(std::string folder) {
    std::transform(folder.begin(), folder.end(), folder.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folder;
}

WindowSystem::FolderClaim SimDesktop::claimProgramFolder(const std::string& folder, Hwnd host) {
    Hwnd& holder = folderClaims_[folderKey(folder)];
    if (holder == kOutOfReach) return {FolderClaim::CopyOutOfReach};
    if (holder != 0 && exists(holder)) return {FolderClaim::AnotherCopy, holder};
    holder = host; // a claim ends with its host window
    return {};
}

bool SimDesktop::sendNotifyIconEvent(Hwnd owner, unsigned callbackMessage, unsigned mouseMessage,
                                     unsigned) {
    if (!exists(owner)) return false;
    iconEvents_.push_back({owner, callbackMessage, mouseMessage});
    return windows_[owner].onClose != OnClose::Hang;
}

std::string SimDesktop::processName(Hwnd window) {
    const SimWindow* w = find(topLevelOf(window));
    return w ? w->program : std::string{};
}

// An element of a window's tree, found again by its path on every call, as the program of
// a real window would answer it: a window that has gone answers nothing.
class SimElement final : public AccessibleElement {
public:
    SimElement(SimDesktop& desktop, Hwnd window, std::vector<std::size_t> path)
        : desktop_(desktop), window_(window), path_(std::move(path)) {}
    int role() override {
        const SimAccessible* node = find();
        return node ? node->role : 0;
    }
    std::optional<std::uint32_t> state() override {
        const SimAccessible* node = find();
        return node ? std::optional(node->state) : std::nullopt;
    }
    std::optional<std::vector<std::unique_ptr<AccessibleElement>>>
    children(std::size_t most) override {
        const SimAccessible* node = find();
        if (!node) return std::nullopt;
        if (node->role == ROLE_DOCUMENT) ++desktop_.documentWalks_;
        std::vector<std::unique_ptr<AccessibleElement>> out;
        for (std::size_t i = 0; i < std::min(most, node->children.size()); ++i) {
            std::vector<std::size_t> path = path_;
            path.push_back(i);
            out.push_back(std::make_unique<SimElement>(desktop_, window_, std::move(path)));
        }
        return out;
    }
    std::optional<std::string> value() override {
        const SimAccessible* node = find();
        return node ? node->value : std::nullopt;
    }
    std::optional<std::string> name() override {
        const SimAccessible* node = find();
        return node ? node->name : std::nullopt;
    }
    bool doDefaultAction() override { return find() && desktop_.press(window_, path_); }

private:
    SimAccessible* find() {
        ++desktop_.accessibleCalls_;
        SimWindow* w = desktop_.find(window_);
        if (!w || !w->accessible) return nullptr;
        SimAccessible* node = w->pageDialog ? &*w->pageDialog : &*w->accessible;
        for (std::size_t i : path_) {
            if (i >= node->children.size()) return nullptr;
            node = &node->children[i];
        }
        if (node->breaks) throw std::runtime_error("broken read");
        if (node->failures > 0) {
            --node->failures;
            return nullptr;
        }
        return node;
    }
    SimDesktop& desktop_;
    Hwnd window_;
    std::vector<std::size_t> path_;
};

namespace {

constexpr int kClient = 0x0A; // ROLE_SYSTEM_CLIENT

SimAccessible* addressField(SimAccessible& node) {
    if (node.addressField) return &node;
    for (SimAccessible& child : node.children)
        if (SimAccessible* field = addressField(child)) return field;
    return nullptr;
}

// The tabs anywhere below the node, in order.
std::vector<SimAccessible*> tabsOf(SimAccessible& node) {
    std::vector<SimAccessible*> tabs;
    for (SimAccessible& child : node.children) {
        if (child.role == ROLE_PAGETAB) {
            tabs.push_back(&child);
        } else {
            const std::vector<SimAccessible*> below = tabsOf(child);
            tabs.insert(tabs.end(), below.begin(), below.end());
        }
    }
    return tabs;
}

void removeTabs(SimAccessible& node, const std::set<const SimAccessible*>& gone) {
    std::erase_if(node.children, [&](const SimAccessible& child) { return gone.contains(&child); });
    for (SimAccessible& child : node.children) removeTabs(child, gone);
}

// The window shows the tab's page.
void show(SimWindow& w, SimAccessible& tab) {
    tab.front = true;
    if (!w.background) tab.state |= STATE_SELECTED;
    w.text = tab.title;
    if (SimAccessible* field = addressField(*w.accessible)) field->value = tab.address;
}

} // namespace

// A tab comes to the front alone; a tab's close button closes it; other buttons do nothing.
bool SimDesktop::press(Hwnd window, const std::vector<std::size_t>& path) {
    SimWindow& w = this->window(window);
    std::vector<SimAccessible*> line{w.pageDialog ? &*w.pageDialog : &*w.accessible};
    for (std::size_t i : path) line.push_back(&line.back()->children[i]);
    SimAccessible& pressed = *line.back();
    const auto list = std::find_if(line.begin(), line.end(),
                                   [](auto* node) { return node->role == ROLE_PAGETABLIST; });
    SimAccessible* tab = line.size() >= 2 ? line[line.size() - 2] : nullptr;
    if (list != line.end() && pressed.role == ROLE_PAGETAB) {
        for (SimAccessible* other : tabsOf(**list)) {
            other->front = other->ctrlSelected = false;
            other->state &= ~STATE_SELECTED;
        }
        show(w, pressed);
        presses_.push_back("+" + pressed.name.value_or(""));
        return true;
    }
    if (pressed.role != ROLE_PUSHBUTTON) return false;
    if (list == line.end() || tab->role != ROLE_PAGETAB || !pressed.closes) {
        presses_.push_back("-");
    } else if (std::exchange(tab->asks, false)) {
        w.pageDialog = SimAccessible{kClient, {}, {{ROLE_DIALOG}}};
        presses_.push_back("?");
    } else {
        closeTabs(w, **list, *tab);
    }
    return true;
}

void SimDesktop::closeTabs(SimWindow& w, SimAccessible& list, SimAccessible& pressed) {
    const std::vector<SimAccessible*> tabs = tabsOf(list);
    std::set<const SimAccessible*> gone{&pressed};
    auto selected = [](const SimAccessible* tab) { return tab->front || tab->ctrlSelected; };
    const bool several = std::any_of(tabs.begin(), tabs.end(),
                                     [](const SimAccessible* tab) { return tab->ctrlSelected; });
    if (w.program == "firefox.exe" && several && selected(&pressed))
        for (const SimAccessible* tab : tabs)
            if (selected(tab)) gone.insert(tab);
    // The tab that comes to the front: the next that stays after the one in front, else the
    // last that stays; counted among those that stay.
    std::optional<std::size_t> next;
    std::size_t staying = 0;
    bool frontGone = false;
    for (const SimAccessible* tab : tabs) {
        if (gone.contains(tab)) {
            presses_.push_back(tab->name.value_or(""));
            frontGone = frontGone || tab->front;
        } else {
            if (frontGone && !next) next = staying;
            ++staying;
        }
    }
    removeTabs(list, gone);
    if (staying == 0) {
        destroy(w.handle);
    } else if (frontGone) {
        show(w, *tabsOf(list)[next.value_or(staying - 1)]);
    }
}

std::unique_ptr<AccessibleElement> SimDesktop::client(Hwnd window) {
    ++accessibleCalls_;
    const SimWindow* w = find(window);
    if (!w || !w->accessible) return nullptr;
    return std::make_unique<SimElement>(*this, window, std::vector<std::size_t>{});
}

// The workers' jobs, except those of a window whose accessibility hangs: they wait for it.
void SimDesktop::runJobs() {
    for (auto& [window, queue] : jobs_) {
        const SimWindow* w = find(window);
        while (!queue.empty() && !(w && w->accessibilityHangs)) {
            const std::function<void()> job = std::move(queue.front());
            queue.pop_front();
            job();
        }
    }
}

} // namespace zk::sim
