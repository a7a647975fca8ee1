#include "platform/win32/win32_control.h"

namespace zk {

namespace {

class Win32Label final : public Win32Control {
public:
    using Win32Control::Win32Control;

protected:
    Shape shape() const override { return {.className = "STATIC", .style = SS_LEFT | WS_GROUP}; }
};

} // namespace

std::unique_ptr<Win32Control> makeWin32Label(ui::Label& label, const Win32Display& display) {
    return std::make_unique<Win32Label>(label, display);
}

} // namespace zk
