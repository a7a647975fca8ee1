#include "platform/win32/win32_control.h"

namespace zk {

namespace {

constexpr const char* kSelfProperty = "ZuklapperComboBox";
constexpr const char* kEditProcProperty = "ZuklapperEditProc";
// Items the drop-down list shows without scrolling.
constexpr int kListedItems = 12;

// An edit field above a drop-down list (CBS_DROPDOWN). The portable box holds the items and
// the text; the user's choice arrives as CBN_SELCHANGE, edits by other keys as
// CBN_EDITCHANGE, and typed characters pass the portable key press in the edit field first.
class Win32ComboBox final : public Win32Control {
public:
    Win32ComboBox(ui::ComboBox& box, const Win32Display& display)
        : Win32Control(box, display), box_(box) {}

    void changed(ui::Change what) override {
        if (what != ui::Change::Value)
            Win32Control::changed(what);
        else if (!mirroring_)
            showText();
        if (what == ui::Change::Geometry) fitField();
    }
    void itemInserted(int index) override {
        send(CB_INSERTSTRING, static_cast<WPARAM>(index),
             reinterpret_cast<LPARAM>(box_.item(index).c_str()));
    }
    void itemRemoved(int index) override { send(CB_DELETESTRING, static_cast<WPARAM>(index)); }
    void itemsReset() override { fill(); }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam) override {
        if (message != WM_COMMAND) return std::nullopt;
        switch (HIWORD(wParam)) {
        case CBN_EDITCHANGE:
            if (!mirroring_) {
                mirroring_ = true; // the field shows the text already
                box_.setText(shownText());
                mirroring_ = false;
            }
            return 0;
        case CBN_SELCHANGE:
            // Sent before the field shows the item; the portable box takes it from the list.
            if (const int index = static_cast<int>(send(CB_GETCURSEL)); index >= 0)
                box_.choose(index);
            return 0;
        default:
            return std::nullopt;
        }
    }
    bool focusable() const override { return true; }

protected:
    Shape shape() const override {
        return {.className = "COMBOBOX",
                .style = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP};
    }

    // The window of a drop-down combo box holds its list too.
    int windowHeight(int pixels) const override {
        const int item =
            hwnd() ? static_cast<int>(send(CB_GETITEMHEIGHT, 0)) : display_.toPixelsY(240);
        return pixels + kListedItems * item + 2 * GetSystemMetrics(SM_CYBORDER);
    }

    void created() override {
        fill();
        place();
        // After placing: a new size makes the system work out the field's height afresh.
        fitField();
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(hwnd(), &info) && info.hwndItem) {
            SetPropA(info.hwndItem, kSelfProperty, this);
            SetPropA(info.hwndItem, kEditProcProperty,
                     reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                         info.hwndItem, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc))));
        }
    }

private:
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd(), message, wParam, lParam);
    }

    std::string shownText() const {
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd())) + 1, '\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextA(hwnd(), text.data(), static_cast<int>(text.size()))));
        return text;
    }

    // The height of the closed box, which the window's rectangle shows.
    int closedHeight() const {
        RECT closed{};
        GetWindowRect(hwnd(), &closed);
        return static_cast<int>(closed.bottom - closed.top);
    }

    // The closed box as high as the portable one, as far as the system lets the field shrink
    // or grow. Systems differ in what the field's height counts, so the first try is
    // corrected by what it gave.
    void fitField() const {
        const int wanted = display_.toPixels(box_.geometry()).height;
        if (closedHeight() == wanted) return;
        int field = static_cast<int>(send(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1))) + wanted -
                    closedHeight();
        for (int attempt = 0; attempt < 2 && field > 0; ++attempt) {
            send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
            field += wanted - closedHeight();
        }
    }

    // Shows the portable text: the chosen item selected in the list, or the text alone.
    void showText() {
        mirroring_ = true;
        const int index = box_.listIndex();
        if (static_cast<int>(send(CB_GETCURSEL)) != index)
            send(CB_SETCURSEL, static_cast<WPARAM>(index));
        if (shownText() != box_.text()) SetWindowTextA(hwnd(), box_.text().c_str());
        mirroring_ = false;
    }

    void fill() {
        mirroring_ = true;
        send(CB_RESETCONTENT);
        for (const std::string& item : box_.items())
            send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        mirroring_ = false;
        showText();
    }

    // A typed character reaches the field only as far as the portable key press lets it.
    // The field closes the open list on the characters of Escape and Enter; discarded, they
    // would leave it open, so the keys close it first.
    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
        const auto original = reinterpret_cast<WNDPROC>(GetPropA(edit, kEditProcProperty));
        auto* self = static_cast<Win32ComboBox*>(GetPropA(edit, kSelfProperty));
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            RemovePropA(edit, kSelfProperty);
            RemovePropA(edit, kEditProcProperty);
        } else if (message == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN) && self &&
                   self->send(CB_GETDROPPEDSTATE)) {
            self->send(WM_KEYDOWN, wParam);
            return 0;
        } else if (message == WM_CHAR && self) {
            const int reaching = self->box_.keyPress(static_cast<unsigned char>(wParam));
            if (reaching == 0) return 0;
            wParam = static_cast<unsigned char>(reaching);
        }
        return CallWindowProcA(original, edit, message, wParam, lParam);
    }

    ui::ComboBox& box_;
    bool mirroring_ = false;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32ComboBox(ui::ComboBox& box, const Win32Display& display) {
    return std::make_unique<Win32ComboBox>(box, display);
}

} // namespace zk
