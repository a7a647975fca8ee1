#include "platform/win32/win32_control.h"

namespace zk {

namespace {

// A static text; it reports clicks, and draws in its own colour when it has one.
class Win32Label final : public Win32Control {
public:
    Win32Label(ui::Label& label, const Win32Display& display)
        : Win32Control(label, display), label_(label) {}

    std::optional<LRESULT> notified(UINT message, WPARAM wParam) override {
        if (message != WM_COMMAND || HIWORD(wParam) != STN_CLICKED) return std::nullopt;
        label_.click();
        return 0;
    }
    void textColours(HDC dc) const override {
        if (const auto& c = label_.color()) SetTextColor(dc, RGB(c->red, c->green, c->blue));
    }

    bool beneathOthers() const override { return true; }

protected:
    Shape shape() const override {
        return {.className = "STATIC",
                .style = static_cast<DWORD>((label_.centred() ? SS_CENTER : SS_LEFT) | SS_NOTIFY |
                                            WS_GROUP)};
    }

private:
    ui::Label& label_;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32Label(ui::Label& label, const Win32Display& display) {
    return std::make_unique<Win32Label>(label, display);
}

} // namespace zk
