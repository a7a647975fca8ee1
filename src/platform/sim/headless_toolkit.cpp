#include "platform/sim/headless_toolkit.h"

#include "platform/sim/code_page.h"
#include "platform/sim/text_order.h"

#include <algorithm>
#include <stdexcept>

namespace zk::sim {

namespace {

constexpr unsigned kMouseMove = 0x0200; // WM_MOUSEMOVE

} // namespace

class HeadlessPeer final : public ui::WindowPeer {
public:
    HeadlessPeer(HeadlessToolkit& toolkit, ui::Window& window)
        : toolkit_(toolkit), window_(window), clientWidth_(window.width()),
          clientHeight_(window.height()) {
        handle_ = toolkit.desktop_.open("ZuklapperForm", window.caption(), WS_BORDER_BIT);
        if (const ui::Window* owner = window.ownerWindow())
            toolkit.desktop_.setOwner(handle_, owner->handle());
        toolkit.peers_[&window] = this;
        for (ui::Timer* timer : window.timers()) toolkit.arm(*timer);
    }
    HeadlessPeer(const HeadlessPeer&) = delete;
    HeadlessPeer& operator=(const HeadlessPeer&) = delete;
    ~HeadlessPeer() override {
        toolkit_.peers_.erase(&window_);
        for (ui::Timer* timer : window_.timers()) toolkit_.due_.erase(timer);
        toolkit_.desktop_.destroy(handle_);
    }

    Hwnd handle() const override { return handle_; }

    void changed(ui::Control& control, ui::Change what) override {
        if (&control != &window_) return;
        SimWindow& w = toolkit_.desktop_.window(handle_);
        if (what == ui::Change::Caption) w.text = window_.caption();
        if (what == ui::Change::Topmost) toolkit_.desktop_.bringToTop(handle_);
        if (what == ui::Change::Front) {
            toolkit_.desktop_.bringToTop(handle_);
            toolkit_.desktop_.setForeground(handle_);
        }
        if (what == ui::Change::Visible) {
            w.style = window_.visible() ? w.style | WS_VISIBLE_BIT : w.style & ~WS_VISIBLE_BIT;
            if (!window_.visible()) focus_ = nullptr; // a hidden window keeps no focus
            if (window_.visible()) toolkit_.desktop_.setForeground(handle_);
            if (window_.visible() && !shown_) {
                shown_ = true;
                window_.resized();
            }
        }
    }
    void itemInserted(ui::Control&, int) override {}
    void itemRemoved(ui::Control&, int) override {}
    void itemsReset(ui::Control&) override {}
    void selectionChanged(ui::Control&) override {}
    void timerChanged(ui::Timer& timer) override { toolkit_.arm(timer); }
    int clientWidth() const override { return clientWidth_; }
    int clientHeight() const override { return clientHeight_; }

    void resize(int width, int height) {
        clientWidth_ = width;
        clientHeight_ = height;
        window_.resized();
    }

    // The control that keys reach: the one focused last while it takes input, else the
    // first that can take the focus, as the Win32 backend chooses.
    ui::Control* focused() const {
        if (focus_ && focus_->takesInput()) return focus_;
        for (ui::Control* control : window_.controls())
            if (focusable(*control) && control->takesInput()) return control;
        return nullptr;
    }
    void setFocus(ui::Control& control) {
        if (focusable(control) && control.takesInput()) focus_ = &control;
    }
    static bool focusable(const ui::Control& control) {
        switch (control.kind()) {
        case ui::Kind::Button:
        case ui::Kind::CheckBox:
        case ui::Kind::ComboBox:
        case ui::Kind::ListBox:
        case ui::Kind::TextBox:
            return true;
        default:
            return false;
        }
    }

private:
    HeadlessToolkit& toolkit_;
    ui::Window& window_;
    Hwnd handle_ = 0;
    int clientWidth_;
    int clientHeight_;
    bool shown_ = false;
    ui::Control* focus_ = nullptr;
};

HeadlessPeer* HeadlessToolkit::peerOf(const ui::Window& window) const {
    for (const auto& [loaded, peer] : peers_)
        if (loaded == &window) return peer;
    return nullptr;
}

std::unique_ptr<ui::WindowPeer> HeadlessToolkit::createPeer(ui::Window& window) {
    return std::make_unique<HeadlessPeer>(*this, window);
}

void HeadlessToolkit::arm(ui::Timer& timer) {
    if (timer.enabled() && timer.interval() > 0)
        due_[&timer] = now_ + timer.interval();
    else
        due_.erase(&timer);
}

std::optional<std::int64_t> HeadlessToolkit::pump() {
    const std::optional<std::int64_t> next = desktop_.run(now_);
    for (const SimIconEvent& event : desktop_.takeIconEvents()) {
        for (const auto& [window, peer] : peers_) {
            if (window->handle() != event.owner || event.callbackMessage != kMouseMove) continue;
            window->mouseMoved(static_cast<int>(event.mouseMessage));
            break;
        }
    }
    return next;
}

void HeadlessToolkit::advance(std::int64_t ms) {
    const std::int64_t end = now_ + ms;
    std::optional<std::int64_t> desktopDue = pump();
    // After the end of the program no timer ticks any more.
    while (!quit_) {
        ui::Timer* next = nullptr;
        std::int64_t when = end + 1;
        for (auto [timer, due] : due_) {
            if (due < when) {
                when = due;
                next = timer;
            }
        }
        if (desktopDue && *desktopDue < when) {
            now_ = *desktopDue;
            desktopDue = pump();
            continue;
        }
        if (!next) break;
        now_ = when;
        pump();
        if (quit_) break;
        due_[next] = when + next->interval();
        next->fire();
        desktopDue = pump();
    }
    // A modal wait inside a tick may have run the clock past the end already.
    now_ = std::max(now_, end);
}

void HeadlessToolkit::pressKey(int keyCode, int shift) {
    for (const auto& [window, peer] : peers_) {
        if (window->handle() != desktop_.foreground()) continue;
        ui::Control* target = peer->focused();
        if (keyCode == ui::KEY_RETURN) {
            if (target && target->kind() == ui::Kind::Button)
                static_cast<ui::Button*>(target)->click();
            else
                window->pressDefault();
        } else if (keyCode == ui::KEY_ESCAPE) {
            window->pressCancel();
        } else if (target && target->kind() == ui::Kind::ListBox) {
            static_cast<ui::ListBox*>(target)->keyDown(keyCode, shift);
        }
        return;
    }
}

void HeadlessToolkit::click(ui::Button& button) {
    if (!button.takesInput()) return;
    focus(button);
    button.click();
}

void HeadlessToolkit::focus(ui::Control& control) {
    if (HeadlessPeer* peer = peerOf(control.owner())) peer->setFocus(control);
}

void HeadlessToolkit::type(ui::ComboBox& box, std::string_view characters) {
    constexpr int backspace = 8;
    for (const char typed : characters) {
        if (!box.takesInput()) return;
        const int reaching = box.keyPress(static_cast<unsigned char>(typed));
        std::string text = box.text();
        if (reaching == backspace) {
            if (!text.empty()) text.pop_back();
        } else if (reaching != 0) {
            text += static_cast<char>(reaching);
        }
        box.setText(std::move(text));
    }
}

void HeadlessToolkit::drag(ui::WeekGrid& grid, int day, int slot, int toDay, int toSlot) {
    grid.press(day, slot);
    grid.dragTo(toDay, toSlot);
    grid.release();
}

void HeadlessToolkit::userResize(ui::Window& window, int clientWidth, int clientHeight) {
    auto found = peers_.find(&window);
    if (found == peers_.end()) throw std::logic_error("window not loaded: " + window.name());
    found->second->resize(clientWidth, clientHeight);
}

void HeadlessToolkit::expectMessageBox(std::function<int(const MessageBoxCall&)> reaction) {
    reactions_.expect(std::move(reaction));
}

int HeadlessToolkit::messageBox(ui::Window* owner, const std::string& text,
                                const std::string& caption, unsigned style) {
    MessageBoxCall call{owner ? owner->name() : std::string{}, text, caption, style};
    messageBoxes_.push_back(call);
    if (reactions_.empty())
        throw std::logic_error("unexpected message box \"" + caption + "\": " + text);
    advance(reactionMs_);
    return reactions_.answer(call);
}

void HeadlessToolkit::expectPopupMenu(std::function<int(const PopupMenuCall&)> reaction) {
    menuReactions_.expect(std::move(reaction));
}

void HeadlessToolkit::popupMenu(ui::Window& owner, ui::Menu& menu) {
    PopupMenuCall call{owner.name(), {}, {}, {}};
    for (const ui::MenuItem* item : menu.items()) {
        call.items.push_back(item->caption());
        call.checked.push_back(item->checked());
        call.enabled.push_back(item->enabled());
    }
    popupMenus_.push_back(call);
    desktop_.setForeground(owner.handle()); // as the real menu needs it
    if (menuReactions_.empty()) throw std::logic_error("unexpected popup menu " + menu.name());
    const int chosen = menuReactions_.answer(call);
    if (chosen >= 0 && chosen < static_cast<int>(menu.items().size()) &&
        menu.items()[static_cast<std::size_t>(chosen)]->enabled())
        menu.items()[static_cast<std::size_t>(chosen)]->click();
}

void HeadlessToolkit::expectModal(std::function<int(const ModalCall&)> reaction) {
    modalReactions_.expect(std::move(reaction));
}

void HeadlessToolkit::runModal(ui::Window& window) {
    const ModalCall call{window.name()};
    modalWindows_.push_back(call);
    if (modalReactions_.empty()) throw std::logic_error("unexpected modal window " + call.window);
    window.show();
    advance(reactionMs_);
    if (!window.loaded() || !window.visible()) return; // closed meanwhile, by the program
    modalReactions_.answer(call);
    if (window.loaded() && window.visible())
        throw std::logic_error("the modal window " + call.window + " is still open");
}

namespace {

// The loaded windows, for events that reach several of them; a handler may end others.
std::vector<ui::Window*> windowsOf(const std::map<ui::Window*, HeadlessPeer*>& peers) {
    std::vector<ui::Window*> windows;
    windows.reserve(peers.size());
    for (const auto& entry : peers) windows.push_back(entry.first);
    return windows;
}

} // namespace

bool HeadlessToolkit::notifyIconEvent(unsigned mouseMessage) {
    if (desktop_.notifyIcons().empty()) return false;
    const SimNotifyIcon icon = desktop_.notifyIcons().front();
    for (const auto& [window, peer] : peers_) {
        if (window->handle() != icon.owner) continue;
        if (icon.callbackMessage == kMouseMove) window->mouseMoved(static_cast<int>(mouseMessage));
        return true;
    }
    return false;
}

void HeadlessToolkit::restartShell() {
    desktop_.clearNotifyIcons();
    for (ui::Window* window : windowsOf(peers_))
        if (peers_.count(window)) window->taskbarCreated();
}

void HeadlessToolkit::endSession() {
    for (ui::Window* window : windowsOf(peers_))
        if (peers_.count(window)) window->sessionEnding();
}

int HeadlessToolkit::compareText(std::string_view a, std::string_view b) {
    return compareTextLikeWindows(a, b);
}

// The simulated system runs with code page 1252, which holds every text of the program.
std::string HeadlessToolkit::ansi(std::string_view utf8) {
    return cp1252FromUtf8(utf8).value_or("?");
}

} // namespace zk::sim
