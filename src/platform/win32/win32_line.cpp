#include "platform/win32/win32_control.h"

namespace zk {

namespace {

// A filled static rectangle as wide as the line, reaching past its end by the width, so
// that lines meeting at a corner close it.
class Win32Line final : public Win32Control {
public:
    Win32Line(ui::Line& line, const Win32Display& display)
        : Win32Control(line, display), line_(line) {}

    bool beneathOthers() const override { return true; }

protected:
    Shape shape() const override { return {.className = "STATIC", .style = SS_BLACKRECT}; }
    int windowWidth(int pixels) const override { return pixels + line_.lineWidth(); }
    int windowHeight(int pixels) const override { return pixels + line_.lineWidth(); }

private:
    ui::Line& line_;
};

} // namespace

std::unique_ptr<Win32Control> makeWin32Line(ui::Line& line, const Win32Display& display) {
    return std::make_unique<Win32Line>(line, display);
}

} // namespace zk
