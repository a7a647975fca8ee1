#include "platform/win32/win32_control.h"

#include <commctrl.h>

namespace zk {

namespace {

// A group box is a button, which neither passes on what its children report nor paints
// its inside; the form, clipping its children, leaves the inside to it.
LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR) {
    if (const auto result = forwardToForm(hwnd, message, wParam, lParam)) return *result;
    if (message == WM_ERASEBKGND) {
        RECT inside{};
        GetClientRect(hwnd, &inside);
        FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, frameProc, id);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

class Win32Frame final : public Win32Control {
public:
    using Win32Control::Win32Control;

protected:
    Shape shape() const override {
        return {.className = "BUTTON",
                .style = BS_GROUPBOX | WS_GROUP | WS_CLIPCHILDREN,
                .exStyle = WS_EX_CONTROLPARENT};
    }
    void created() override { SetWindowSubclass(hwnd(), frameProc, 0, 0); }
};

} // namespace

std::unique_ptr<Win32Control> makeWin32Frame(ui::Frame& frame, const Win32Display& display) {
    return std::make_unique<Win32Frame>(frame, display);
}

} // namespace zk
