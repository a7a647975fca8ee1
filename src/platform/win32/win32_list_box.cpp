#include "platform/win32/win32_control.h"

namespace zk {

namespace {

int shiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

// The real list has no sort flag: items arrive in the portable list's order, which places
// them by the system's text comparison.
class Win32ListBox final : public Win32Control {
public:
    Win32ListBox(ui::ListBox& list, const Win32Display& display)
        : Win32Control(list, display), list_(list) {}

    void itemInserted(int index) override {
        send(LB_INSERTSTRING, static_cast<WPARAM>(index),
             reinterpret_cast<LPARAM>(list_.item(index).c_str()));
        syncSelection();
    }
    void itemRemoved(int index) override {
        send(LB_DELETESTRING, static_cast<WPARAM>(index));
        syncSelection();
    }
    void itemsReset() override { fill(); }
    void selectionChanged() override { send(LB_SETCURSEL, static_cast<WPARAM>(list_.listIndex())); }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam) override {
        if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
            list_.setListIndex(static_cast<int>(send(LB_GETCURSEL)));
            return 0;
        }
        if (message == WM_VKEYTOITEM) {
            list_.keyDown(LOWORD(wParam), shiftState());
            return -1; // the list box goes on with its own handling of the key
        }
        return std::nullopt;
    }
    bool focusable() const override { return true; }

protected:
    Shape shape() const override {
        return {.className = "LISTBOX",
                .style = LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                         WS_BORDER | WS_TABSTOP | WS_GROUP};
    }
    void created() override { fill(); }

private:
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd(), message, wParam, lParam);
    }

    void syncSelection() const {
        if (static_cast<int>(send(LB_GETCURSEL)) != list_.listIndex())
            send(LB_SETCURSEL, static_cast<WPARAM>(list_.listIndex()));
    }

    void fill() const {
        std::size_t bytes = 0;
        for (const std::string& item : list_.items()) bytes += item.size() + 1;
        send(WM_SETREDRAW, FALSE);
        send(LB_RESETCONTENT);
        send(LB_INITSTORAGE, static_cast<WPARAM>(list_.listCount()), static_cast<LPARAM>(bytes));
        for (const std::string& item : list_.items())
            send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        send(LB_SETCURSEL, static_cast<WPARAM>(list_.listIndex()));
        send(WM_SETREDRAW, TRUE);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

    ui::ListBox& list_;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32ListBox(ui::ListBox& list, const Win32Display& display) {
    return std::make_unique<Win32ListBox>(list, display);
}

} // namespace zk
