#include "platform/win32/win32_control.h"

namespace zk {

namespace {

// A static control showing an icon of the program's resources at the system's icon size.
class Win32Image final : public Win32Control {
public:
    Win32Image(ui::Image& image, const Win32Display& display)
        : Win32Control(image, display), image_(image) {}

    bool beneathOthers() const override { return true; }

protected:
    Shape shape() const override { return {.className = "STATIC", .style = SS_ICON}; }
    void created() override {
        // Shared: the system frees it with the module.
        const HANDLE icon = LoadImageA(display_.instance, MAKEINTRESOURCEA(image_.icon()),
                                       IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
        if (icon) SendMessageA(hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }

private:
    ui::Image& image_;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32Image(ui::Image& image, const Win32Display& display) {
    return std::make_unique<Win32Image>(image, display);
}

} // namespace zk
