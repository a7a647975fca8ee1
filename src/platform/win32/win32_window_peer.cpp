#include "platform/win32/win32_window_peer.h"

#include <algorithm>
#include <utility>

#include <windowsx.h>

namespace zk {

namespace {

// Control ids start above the dialog manager's IDOK and IDCANCEL, so Enter and Escape
// never reach a control by accident.
constexpr int kFirstControlId = 100;

// Sent to every top-level window when the notification area has been created anew.
UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

} // namespace

bool Win32WindowPeer::registerClasses(HINSTANCE instance) {
    WNDCLASSEXA form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (!form.hIcon) form.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
    form.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));              // IDC_ARROW
    form.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    form.lpszClassName = kFormClass;

    return RegisterClassExA(&form) != 0 && registerWin32PanelClass(instance) &&
           registerWin32WeekGridClass(instance);
}

Win32WindowPeer::Win32WindowPeer(ui::Window& window, const Win32Display& display)
    : window_(window), display_(display) {}

Win32WindowPeer::~Win32WindowPeer() {
    retire();
    if (hwnd_) DestroyWindow(hwnd_);
}

// Touches the portable window only the first time: a retired peer may outlive it.
void Win32WindowPeer::retire() {
    if (!hwnd_ || retired_) return;
    retired_ = true;
    // The portable controls may be gone already: no message may reach them any more.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    for (std::size_t id = 1; id <= window_.timers().size(); ++id) KillTimer(hwnd_, id);
    if (modalOwner_) EnableWindow(std::exchange(modalOwner_, nullptr), TRUE);
    ShowWindow(hwnd_, SW_HIDE);
}

// Creation

DWORD Win32WindowPeer::windowStyle() const {
    switch (window_.borderStyle()) {
    case ui::BorderStyle::Sizable:
        return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    case ui::BorderStyle::FixedSingle:
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case ui::BorderStyle::FixedDialog:
        break;
    }
    return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD Win32WindowPeer::windowExStyle() const {
    DWORD style = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
    if (window_.borderStyle() == ui::BorderStyle::FixedDialog) style |= WS_EX_DLGMODALFRAME;
    return style;
}

void Win32WindowPeer::create() {
    RECT frame{0, 0, display_.toPixelsX(window_.width()), display_.toPixelsY(window_.height())};
    AdjustWindowRectEx(&frame, windowStyle(), FALSE, windowExStyle());
    const ui::Window* owner = window_.ownerWindow();
    CreateWindowExA(windowExStyle(), kFormClass, window_.caption().c_str(), windowStyle(), 0, 0,
                    frame.right - frame.left, frame.bottom - frame.top,
                    owner ? toHwnd(owner->handle()) : nullptr, nullptr, display_.instance, this);
    if (!hwnd_) return;

    // Controls come in the portable order, so containers exist before what they hold.
    controls_.resize(window_.controls().size());
    for (ui::Control* control : window_.controls()) {
        auto real = makeWin32Control(*control, display_);
        if (!real) continue;
        const ui::Control* container = control->container();
        const Win32Control* parent = container ? realControl(*container) : nullptr;
        if (real->create(parent ? parent->hwnd() : hwnd_, kFirstControlId + control->index()))
            controls_[static_cast<std::size_t>(control->index())] = std::move(real);
    }
    // Among themselves, the later lies over the earlier.
    for (auto real = controls_.rbegin(); real != controls_.rend(); ++real)
        if (*real && (*real)->beneathOthers()) (*real)->moveBeneathOthers();
    for (std::size_t later = 0; later < controls_.size(); ++later)
        for (std::size_t earlier = 0; earlier < later; ++earlier)
            if (controls_[later] && controls_[earlier] &&
                controls_[later]->moveAbove(*controls_[earlier]))
                break;
    for (ui::Timer* timer : window_.timers()) arm(*timer);
    if (window_.topmost()) makeTopmost();
    created_ = true;
}

// Changes of the portable objects

void Win32WindowPeer::changed(ui::Control& control, ui::Change what) {
    if (&control == &window_)
        changedWindow(what);
    else if (Win32Control* real = realControl(control))
        real->changed(what);
}

void Win32WindowPeer::changedWindow(ui::Change what) {
    if (!hwnd_) return;
    switch (what) {
    case ui::Change::Geometry:
        resizeWindow();
        break;
    case ui::Change::Visible:
        setWindowVisible(window_.visible());
        break;
    case ui::Change::Enabled:
        EnableWindow(hwnd_, window_.enabled());
        break;
    case ui::Change::Caption:
        SetWindowTextA(hwnd_, window_.caption().c_str());
        break;
    case ui::Change::Value:
        break;
    case ui::Change::Topmost:
        makeTopmost();
        break;
    case ui::Change::Front:
        bringToFront();
        break;
    }
}

void Win32WindowPeer::bringToFront() {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
}

// A hidden window keeps no keyboard focus: keys typed afterwards are meant for another
// program, and must not reach a control that the user cannot see.
void Win32WindowPeer::setWindowVisible(bool visible) {
    if (!visible) {
        const HWND focus = GetFocus();
        if (modalOwner_) EnableWindow(std::exchange(modalOwner_, nullptr), TRUE);
        ShowWindow(hwnd_, SW_HIDE);
        if (focus && (focus == hwnd_ || IsChild(hwnd_, focus))) SetFocus(nullptr);
        savedFocus_ = nullptr;
        return;
    }
    const bool first = !shownOnce_;
    if (first) centre();
    shownOnce_ = true;
    sizeReported_ = false;
    ShowWindow(hwnd_, SW_SHOW);
    if (first && !sizeReported_) window_.resized();
}

// The portable size is the inner size; the frame comes on top.
void Win32WindowPeer::resizeWindow() {
    RECT frame{0, 0, display_.toPixelsX(window_.width()), display_.toPixelsY(window_.height())};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// On the screen, or on the owner while the owner is visible; never off the screen.
void Win32WindowPeer::centre() {
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const ui::Window* owner = window_.ownerWindow();
    const HWND ownerHwnd = owner ? toHwnd(owner->handle()) : nullptr;
    if (window_.startPosition() == ui::StartPosition::CentreOwner && ownerHwnd &&
        IsWindowVisible(ownerHwnd))
        GetWindowRect(ownerHwnd, &area);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = std::clamp(static_cast<int>(area.left + (area.right - area.left - width) / 2),
                                0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - width));
    const int top = std::clamp(static_cast<int>(area.top + (area.bottom - area.top - height) / 2),
                               0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - height));
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowPeer::makeTopmost() {
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void Win32WindowPeer::itemInserted(ui::Control& list, int index) {
    if (Win32Control* real = realControl(list)) real->itemInserted(index);
}

void Win32WindowPeer::itemRemoved(ui::Control& list, int index) {
    if (Win32Control* real = realControl(list)) real->itemRemoved(index);
}

void Win32WindowPeer::itemsReset(ui::Control& list) {
    if (Win32Control* real = realControl(list)) real->itemsReset();
}

void Win32WindowPeer::selectionChanged(ui::Control& list) {
    if (Win32Control* real = realControl(list)) real->selectionChanged();
}

void Win32WindowPeer::timerChanged(ui::Timer& timer) { arm(timer); }

void Win32WindowPeer::arm(const ui::Timer& timer) {
    if (!hwnd_) return;
    const UINT_PTR id = static_cast<UINT_PTR>(timer.index()) + 1;
    if (timer.enabled() && timer.interval() > 0)
        SetTimer(hwnd_, id, static_cast<UINT>(timer.interval()), nullptr);
    else
        KillTimer(hwnd_, id);
}

int Win32WindowPeer::clientWidth() const {
    RECT client{};
    if (!hwnd_ || !GetClientRect(hwnd_, &client)) return window_.width();
    return display_.toTwipsX(client.right);
}

int Win32WindowPeer::clientHeight() const {
    RECT client{};
    if (!hwnd_ || !GetClientRect(hwnd_, &client)) return window_.height();
    return display_.toTwipsY(client.bottom);
}

// Messages. A handler that calls into the portable objects does so last: the portable
// side may even destroy this peer.

LRESULT CALLBACK Win32WindowPeer::formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* peer =
            static_cast<Win32WindowPeer*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        peer->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    }
    auto* peer = reinterpret_cast<Win32WindowPeer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return peer ? peer->onMessage(message, wParam, lParam)
                : DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT Win32WindowPeer::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        // Notifications of a control name it in lParam.
        if (Win32Control* real = realControl(reinterpret_cast<HWND>(lParam)))
            if (const auto result = real->notified(message, wParam)) return *result;
        // Escape, from the dialog manager.
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && lParam == 0) {
            window_.pressCancel();
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        const LRESULT brush = DefWindowProcA(hwnd_, message, wParam, lParam);
        if (const Win32Control* real = realControl(reinterpret_cast<HWND>(lParam)))
            real->textColours(reinterpret_cast<HDC>(wParam));
        return brush;
    }
    case WM_TIMER:
        onTimer(wParam);
        return 0;
    case WM_SIZE:
        onSize(wParam);
        return 0;
    case WM_ACTIVATE:
        onActivate(wParam);
        break;
    case WM_SETFOCUS:
        if (!IsIconic(hwnd_)) restoreFocus();
        return 0;
    case DM_GETDEFID:
        return onGetDefId();
    case WM_CLOSE:
        // The portable window decides whether it goes.
        window_.requestClose();
        return 0;
    case WM_MOUSEMOVE:
        window_.mouseMoved(GET_X_LPARAM(lParam));
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) window_.sessionEnding();
        return 0;
    default:
        if (message == taskbarCreatedMessage() && message != 0) {
            window_.taskbarCreated();
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void Win32WindowPeer::onTimer(WPARAM id) {
    const auto& timers = window_.timers();
    if (id >= 1 && id <= timers.size()) timers[id - 1]->fire();
}

void Win32WindowPeer::onSize(WPARAM kind) {
    sizeReported_ = true;
    if (kind != SIZE_MINIMIZED && GetFocus() == hwnd_) restoreFocus();
    if (created_) window_.resized();
}

void Win32WindowPeer::onActivate(WPARAM state) {
    if (LOWORD(state) != WA_INACTIVE) return;
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
}

// Enter clicks the push button that has the focus, else the window's default button.
LRESULT Win32WindowPeer::onGetDefId() {
    const HWND focus = GetFocus();
    const Win32Control* real = focus ? realControl(focus) : nullptr;
    if (real && real->clicksOnEnter()) return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
    for (const auto& control : controls_) {
        if (!control || control->control().kind() != ui::Kind::Button) continue;
        const auto& button = static_cast<const ui::Button&>(control->control());
        if (button.isDefault() && button.takesInput())
            return MAKELRESULT(GetDlgCtrlID(control->hwnd()), DC_HASDEFID);
    }
    return 0;
}

// Focus: back to the control that had it, else to the first list or button that takes
// input. Never into a hidden window.

HWND Win32WindowPeer::focusTarget() const {
    if (savedFocus_ && IsChild(hwnd_, savedFocus_) && IsWindowVisible(savedFocus_) &&
        IsWindowEnabled(savedFocus_))
        return savedFocus_;
    for (const auto& real : controls_)
        if (real && real->focusable() && real->control().takesInput()) return real->hwnd();
    return nullptr;
}

void Win32WindowPeer::restoreFocus() {
    if (!IsWindowVisible(hwnd_)) return;
    if (const HWND target = focusTarget()) SetFocus(target);
}

// Lookups

Win32Control* Win32WindowPeer::realControl(const ui::Control& control) const {
    const auto index = static_cast<std::size_t>(control.index());
    return &control != &window_ && index < controls_.size() ? controls_[index].get() : nullptr;
}

Win32Control* Win32WindowPeer::realControl(HWND hwnd) const {
    if (!hwnd || !IsChild(hwnd_, hwnd)) return nullptr;
    const auto index = static_cast<std::size_t>(GetDlgCtrlID(hwnd) - kFirstControlId);
    if (index >= controls_.size() || !controls_[index] || controls_[index]->hwnd() != hwnd)
        return nullptr;
    return controls_[index].get();
}

} // namespace zk
