#include "platform/win32/win32_control.h"

namespace zk {

namespace {

// The portable text box holds the text; what the user types reaches it through EN_CHANGE.
class Win32TextBox final : public Win32Control {
public:
    Win32TextBox(ui::TextBox& box, const Win32Display& display)
        : Win32Control(box, display), box_(box) {}

    void changed(ui::Change what) override {
        if (what != ui::Change::Value) {
            Win32Control::changed(what);
        } else if (shownText() != box_.text()) {
            mirroring_ = true;
            SetWindowTextA(hwnd(), box_.text().c_str());
            mirroring_ = false;
        }
    }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam) override {
        if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return std::nullopt;
        if (!mirroring_) box_.setText(shownText());
        return 0;
    }
    bool focusable() const override { return true; }

protected:
    Shape shape() const override {
        return {.className = "EDIT",
                .style = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP,
                .exStyle = WS_EX_CLIENTEDGE};
    }
    void created() override { changed(ui::Change::Value); }

private:
    std::string shownText() const {
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd())) + 1, '\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextA(hwnd(), text.data(), static_cast<int>(text.size()))));
        return text;
    }

    ui::TextBox& box_;
    bool mirroring_ = false;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32TextBox(ui::TextBox& box, const Win32Display& display) {
    return std::make_unique<Win32TextBox>(box, display);
}

} // namespace zk
