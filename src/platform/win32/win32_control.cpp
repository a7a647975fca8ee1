#include "platform/win32/win32_control.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zk {

namespace {

HFONT createFont(const ui::Font& font, int dpiY) {
    LOGFONTA logical{};
    logical.lfHeight = -static_cast<LONG>(std::lround(font.points * dpiY / 72.0));
    logical.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logical.lfUnderline = font.underline ? TRUE : FALSE;
    logical.lfCharSet = DEFAULT_CHARSET;
    logical.lfQuality = DEFAULT_QUALITY;
    std::strncpy(logical.lfFaceName, font.name.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectA(&logical);
}

} // namespace

Win32Control::~Win32Control() {
    if (ownFont_) DeleteObject(ownFont_);
}

bool Win32Control::create(HWND parent, int id) {
    const Shape s = shape();
    DWORD style = s.style | WS_CHILD;
    style |= WS_CLIPSIBLINGS; // no sibling above it is painted over
    if (control_.visible()) style |= WS_VISIBLE;
    if (!control_.enabled()) style |= WS_DISABLED;
    const ui::Geometry at = display_.toPixels(control_.geometry());
    hwnd_ = CreateWindowExA(
        s.exStyle, s.className, control_.caption().c_str(), style, at.left, at.top,
        windowWidth(std::max(0, at.width)), windowHeight(std::max(0, at.height)), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), display_.instance, nullptr);
    if (!hwnd_) return false;
    if (!control_.font().name.empty()) ownFont_ = createFont(control_.font(), display_.dpiY);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_ ? ownFont_ : display_.font),
                 FALSE);
    created();
    return true;
}

void Win32Control::changed(ui::Change what) {
    switch (what) {
    case ui::Change::Geometry:
        place();
        break;
    case ui::Change::Visible:
        ShowWindow(hwnd_, control_.visible() ? SW_SHOW : SW_HIDE);
        break;
    case ui::Change::Enabled:
        EnableWindow(hwnd_, control_.enabled());
        break;
    case ui::Change::Caption:
        SetWindowTextA(hwnd_, control_.caption().c_str());
        break;
    case ui::Change::Value:
    case ui::Change::Topmost:
    case ui::Change::Front:
        break;
    }
}

void Win32Control::moveBeneathOthers() const {
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32Control::moveAbove(const Win32Control& earlier) const {
    RECT mine{}, theirs{}, common{};
    if (!optionButton() || !earlier.optionButton() ||
        GetParent(hwnd_) != GetParent(earlier.hwnd_) || !GetWindowRect(hwnd_, &mine) ||
        !GetWindowRect(earlier.hwnd_, &theirs) || !IntersectRect(&common, &mine, &theirs))
        return false;
    const HWND above = GetWindow(earlier.hwnd_, GW_HWNDPREV);
    SetWindowPos(hwnd_, above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // A group of the dialog manager that began with the earlier one begins with this one.
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    const LONG_PTR earlierStyle = GetWindowLongPtrA(earlier.hwnd_, GWL_STYLE);
    if ((earlierStyle & WS_GROUP) && !(style & WS_GROUP)) {
        SetWindowLongPtrA(hwnd_, GWL_STYLE, style | WS_GROUP);
        SetWindowLongPtrA(earlier.hwnd_, GWL_STYLE, earlierStyle & ~LONG_PTR{WS_GROUP});
    }
    return true;
}

void Win32Control::place() {
    const ui::Geometry at = display_.toPixels(control_.geometry());
    MoveWindow(hwnd_, at.left, at.top, windowWidth(std::max(0, at.width)),
               windowHeight(std::max(0, at.height)), TRUE);
}

std::optional<LRESULT> forwardToForm(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSCROLLBAR:
        if (const HWND form = GetAncestor(container, GA_ROOT); form && form != container)
            return SendMessageA(form, message, wParam, lParam);
        break;
    default:
        break;
    }
    return std::nullopt;
}

std::unique_ptr<Win32Control> makeWin32Control(ui::Control& control, const Win32Display& display) {
    switch (control.kind()) {
    case ui::Kind::Panel:
        return makeWin32Panel(static_cast<ui::Panel&>(control), display);
    case ui::Kind::Frame:
        return makeWin32Frame(static_cast<ui::Frame&>(control), display);
    case ui::Kind::CheckBox:
        return makeWin32CheckBox(static_cast<ui::CheckBox&>(control), display);
    case ui::Kind::ComboBox:
        return makeWin32ComboBox(static_cast<ui::ComboBox&>(control), display);
    case ui::Kind::Button:
        return makeWin32Button(static_cast<ui::Button&>(control), display);
    case ui::Kind::OptionButton:
        return makeWin32OptionButton(static_cast<ui::OptionButton&>(control), display);
    case ui::Kind::ListBox:
        return makeWin32ListBox(static_cast<ui::ListBox&>(control), display);
    case ui::Kind::Label:
        return makeWin32Label(static_cast<ui::Label&>(control), display);
    case ui::Kind::TextBox:
        return makeWin32TextBox(static_cast<ui::TextBox&>(control), display);
    case ui::Kind::Image:
        return makeWin32Image(static_cast<ui::Image&>(control), display);
    case ui::Kind::Line:
        return makeWin32Line(static_cast<ui::Line&>(control), display);
    case ui::Kind::WeekGrid:
        return makeWin32WeekGrid(static_cast<ui::WeekGrid&>(control), display);
    case ui::Kind::Window:
        break;
    }
    return nullptr;
}

} // namespace zk
