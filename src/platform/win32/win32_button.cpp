#include "platform/win32/win32_control.h"

namespace zk {

namespace {

class Win32Button final : public Win32Control {
public:
    Win32Button(ui::Button& button, const Win32Display& display)
        : Win32Control(button, display), button_(button) {}

    std::optional<LRESULT> notified(UINT message, WPARAM wParam) override {
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return std::nullopt;
        button_.click();
        return 0;
    }
    bool focusable() const override { return true; }
    bool clicksOnEnter() const override { return true; }

protected:
    Shape shape() const override {
        return {.className = "BUTTON",
                .style =
                    static_cast<DWORD>((button_.isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                                       WS_TABSTOP | WS_GROUP)};
    }

private:
    ui::Button& button_;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32Button(ui::Button& button, const Win32Display& display) {
    return std::make_unique<Win32Button>(button, display);
}

} // namespace zk
