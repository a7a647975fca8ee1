#include "platform/win32/win32_control.h"

namespace zk {

namespace {

constexpr const char* kPanelClass = "ZuklapperPanel";

// A panel only groups controls; what its controls report goes to the form.
LRESULT CALLBACK panelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto result = forwardToForm(hwnd, message, wParam, lParam)) return *result;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Win32Panel final : public Win32Control {
public:
    using Win32Control::Win32Control;

protected:
    Shape shape() const override {
        return {.className = kPanelClass, .style = WS_GROUP, .exStyle = WS_EX_CONTROLPARENT};
    }
};

} // namespace

bool registerWin32PanelClass(HINSTANCE instance) {
    WNDCLASSEXA panel{};
    panel.cbSize = sizeof panel;
    panel.lpfnWndProc = panelProc;
    panel.hInstance = instance;
    panel.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    panel.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    panel.lpszClassName = kPanelClass;
    return RegisterClassExA(&panel) != 0;
}

std::unique_ptr<Win32Control> makeWin32Panel(ui::Panel& panel, const Win32Display& display) {
    return std::make_unique<Win32Panel>(panel, display);
}

} // namespace zk
