#include "platform/win32/win32_control.h"

namespace zk {

namespace {

// The portable option button owns its state; the real one only shows it, so that a
// click raises the portable rule (the others of the container cleared, onClick once).
class Win32OptionButton final : public Win32Control {
public:
    Win32OptionButton(ui::OptionButton& button, const Win32Display& display)
        : Win32Control(button, display), button_(button) {}

    void changed(ui::Change what) override {
        if (what == ui::Change::Value)
            showCheck();
        else
            Win32Control::changed(what);
    }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam) override {
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return std::nullopt;
        button_.setValue(true);
        return 0;
    }

protected:
    Shape shape() const override {
        return {.className = "BUTTON", .style = BS_RADIOBUTTON | (startsGroup() ? WS_GROUP : 0u)};
    }
    void created() override { showCheck(); }
    bool optionButton() const override { return true; }

private:
    // A run of option buttons in one container is one group.
    bool startsGroup() const {
        const auto& all = button_.owner().controls();
        for (int i = button_.index() - 1; i >= 0; --i) {
            const ui::Control& other = *all[static_cast<std::size_t>(i)];
            if (other.container() == button_.container())
                return other.kind() != ui::Kind::OptionButton;
        }
        return true;
    }

    // The checked button of a group is its tab stop.
    void showCheck() {
        const bool checked = button_.value();
        SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
        SetWindowLongPtrA(hwnd(), GWL_STYLE,
                          checked ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP});
    }

    ui::OptionButton& button_;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32OptionButton(ui::OptionButton& button,
                                                    const Win32Display& display) {
    return std::make_unique<Win32OptionButton>(button, display);
}

} // namespace zk
