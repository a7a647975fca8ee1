#pragma once

#include "platform/sim/sim_desktop.h"
#include "platform/ui.h"
#include "platform/week_grid.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zk::sim {

struct MessageBoxCall {
    std::string owner; // the owner window's name, "" without one
    std::string text;
    std::string caption;
    unsigned style = 0;
};

struct PopupMenuCall {
    std::string owner;              // the owner window's name
    std::vector<std::string> items; // the captions, top to bottom
    std::vector<bool> checked;      // their check marks
    std::vector<bool> enabled;      // not greyed
};

struct ModalCall {
    std::string window; // the modal window's name
};

// What the test scripted for the next modal calls: each reaction answers one call, in turn;
// the last one also answers later calls, until the test scripts a new one.
template <class Call>
class Reactions {
public:
    void expect(std::function<int(const Call&)> reaction) {
        if (lastUsed_) queue_.clear();
        lastUsed_ = false;
        queue_.push_back(std::move(reaction));
    }
    bool empty() const { return queue_.empty(); }
    int answer(const Call& call) {
        auto reaction = queue_.front();
        if (queue_.size() > 1)
            queue_.erase(queue_.begin());
        else
            lastUsed_ = true;
        return reaction(call);
    }

private:
    std::vector<std::function<int(const Call&)>> queue_;
    bool lastUsed_ = false;
};

// The toolkit without a screen: controls live in memory, timers run on a virtual clock,
// and every window is a window of the simulated desktop. Message boxes are answered by a
// reaction the test scripted; one that nobody expected fails the test.
class HeadlessToolkit final : public ui::Toolkit {
public:
    explicit HeadlessToolkit(SimDesktop& desktop) : desktop_(desktop) {}

    // Advances the virtual clock, running every timer tick that falls due, in time order;
    // between them, as the message loop would, other programs' windows handle what was sent
    // to them and their answers come in.
    void advance(std::int64_t ms);
    std::int64_t now() const { return now_; }

    // How long the user takes to act in a modal window or a message box. Windows' modal loops
    // go on dispatching meanwhile, so the clock runs this long before each reaction.
    void setReactionTime(std::int64_t ms) { reactionMs_ = ms; }

    // The user types a key: it goes to the focused control of the window in front (a window
    // comes to the front when it is shown, and a popup menu's owner when the menu opens).
    // Enter clicks a focused button, else the default button; Escape clicks the cancel
    // button; other keys reach a focused list box.
    void pressKey(int keyCode, int shift = 0);
    // The user clicks the button, which takes the focus.
    void click(ui::Button& button);
    // The user puts the focus on the control, with the mouse or the Tab key.
    void focus(ui::Control& control);

    // The user types characters into the combo box's edit field, the caret at its end, as
    // far as its key-press event lets them through; Backspace (8) takes one back.
    void type(ui::ComboBox& box, std::string_view characters);

    // The user presses the mouse on one cell of the grid, drags it to another (the same one
    // for a click) and lets go.
    void drag(ui::WeekGrid& grid, int day, int slot, int toDay, int toSlot);

    // The user drags the window to a new inner size (twips).
    void userResize(ui::Window& window, int clientWidth, int clientHeight);

    // Answers the next message boxes (see Reactions).
    void expectMessageBox(std::function<int(const MessageBoxCall&)> reaction);
    const std::vector<MessageBoxCall>& messageBoxes() const { return messageBoxes_; }

    // Chooses from the next popup menus (see Reactions): the index of the item, or -1 to
    // dismiss the menu.
    void expectPopupMenu(std::function<int(const PopupMenuCall&)> reaction);
    const std::vector<PopupMenuCall>& popupMenus() const { return popupMenus_; }

    // The user's mouse over the program's notification icon: the mouse message reaches
    // the icon's owner as the icon asked for it. False when there is no icon.
    bool notifyIconEvent(unsigned mouseMessage);
    // The notification area is created anew (the shell restarted) and says so to every
    // window; the icons in it are gone.
    void restartShell();
    // The user's session ends: every window hears of it.
    void endSession();

    // Acts for the user in the next modal windows (see Reactions): the reaction closes the
    // window, through its controls, before it returns; what it returns does not count.
    void expectModal(std::function<int(const ModalCall&)> reaction);
    const std::vector<ModalCall>& modalWindows() const { return modalWindows_; }

    bool quitRequested() const { return quit_; }

    std::unique_ptr<ui::WindowPeer> createPeer(ui::Window& window) override;
    int messageBox(ui::Window* owner, const std::string& text, const std::string& caption,
                   unsigned style) override;
    int compareText(std::string_view a, std::string_view b) override;
    std::string ansi(std::string_view utf8) override;
    void popupMenu(ui::Window& owner, ui::Menu& menu) override;
    void runModal(ui::Window& window) override;
    void discard(std::unique_ptr<ui::WindowPeer> peer) override { peer.reset(); }
    void quit() override { quit_ = true; }

private:
    friend class HeadlessPeer;
    void arm(ui::Timer& timer);
    // What the message loop does between timer ticks; returns when the desktop has
    // something due next.
    std::optional<std::int64_t> pump();
    class HeadlessPeer* peerOf(const ui::Window& window) const;

    SimDesktop& desktop_;
    std::int64_t now_ = 0;
    std::map<ui::Timer*, std::int64_t> due_;
    std::map<ui::Window*, class HeadlessPeer*> peers_;
    Reactions<MessageBoxCall> reactions_;
    std::vector<MessageBoxCall> messageBoxes_;
    Reactions<PopupMenuCall> menuReactions_;
    Reactions<ModalCall> modalReactions_;
    std::vector<ModalCall> modalWindows_;
    std::vector<PopupMenuCall> popupMenus_;
    bool quit_ = false;
    std::int64_t reactionMs_ = 1000;
};

} // namespace zk::sim
