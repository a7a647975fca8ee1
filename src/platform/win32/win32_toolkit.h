#pragma once

#include "platform/ui.h"
#include "platform/win32/win32_window_peer.h"

#include <memory>
#include <vector>

namespace zk {

// Real windows and controls, the message font and the system's text functions.
class Win32Toolkit final : public ui::Toolkit {
public:
    Win32Toolkit();
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    std::unique_ptr<ui::WindowPeer> createPeer(ui::Window& window) override;
    int messageBox(ui::Window* owner, const std::string& text, const std::string& caption,
                   unsigned style) override;
    int compareText(std::string_view a, std::string_view b) override;
    std::string ansi(std::string_view utf8) override;
    void popupMenu(ui::Window& owner, ui::Menu& menu) override;
    void runModal(ui::Window& window) override;
    void discard(std::unique_ptr<ui::WindowPeer> peer) override;
    void quit() override;

    // The message loop; returns the code given to the quit message.
    int run();

private:
    void dispatch(MSG& message);

    Win32Display display_;
    bool ownFont_ = false;
    // Windows unloaded while a handler of theirs may still run; destroyed by the main loop.
    std::vector<std::unique_ptr<ui::WindowPeer>> discarded_;
};

} // namespace zk
