#pragma once

#include "platform/window_system.h"

namespace zk {

// The desktop through user32.
class Win32WindowSystem final : public WindowSystem {
public:
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

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

    // Close requests still waiting for their answer. Answers come through callbacks while
    // the thread pumps messages, possibly after this object is gone, so the table lives on
    // until the last answer.
    struct CloseRequests;

private:
    CloseRequests* requests_;
};

} // namespace zk
