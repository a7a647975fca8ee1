#include "platform/win32/win32_control.h"

#include <algorithm>

namespace zk {

namespace {

// The portable check box owns its state; the real one (BS_3STATE, which never changes its
// own state) only shows it, and a click raises the portable rule.
class Win32CheckBox final : public Win32Control {
public:
    Win32CheckBox(ui::CheckBox& box, const Win32Display& display)
        : Win32Control(box, display), box_(box) {}

    void changed(ui::Change what) override {
        if (what == ui::Change::Value) {
            showCheck();
        } else {
            Win32Control::changed(what);
            if (what == ui::Change::Caption) place();
        }
    }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam) override {
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return std::nullopt;
        box_.click();
        return 0;
    }
    bool focusable() const override { return true; }

protected:
    Shape shape() const override {
        return {.className = "BUTTON", .style = BS_3STATE | WS_TABSTOP | WS_GROUP};
    }
    void created() override { showCheck(); }

    // The whole caption stays readable where the system's font is wider than the design's:
    // the box grows to the right as far as its text needs.
    int windowWidth(int pixels) const override {
        int needed = 0;
        if (HDC screen = GetDC(nullptr)) {
            const HGDIOBJ previous = SelectObject(screen, display_.font);
            SIZE text{};
            const std::string& caption = box_.caption();
            const int length = static_cast<int>(caption.size());
            // The check mark, the gap after it and the focus frame around the text.
            if (GetTextExtentPoint32A(screen, caption.c_str(), length, &text))
                needed = GetSystemMetrics(SM_CXMENUCHECK) + text.cx + 8;
            SelectObject(screen, previous);
            ReleaseDC(nullptr, screen);
        }
        return std::max(pixels, needed);
    }

private:
    void showCheck() {
        static constexpr WPARAM states[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
        SendMessageA(hwnd(), BM_SETCHECK, states[box_.value()], 0);
    }

    ui::CheckBox& box_;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32CheckBox(ui::CheckBox& box, const Win32Display& display) {
    return std::make_unique<Win32CheckBox>(box, display);
}

} // namespace zk
