#include "platform/win32/win32_window_peer.h"

#include <algorithm>

#include <windowsx.h>

namespace zk {

namespace {

// Control ids start above the dialog manager's IDOK and IDCANCEL, so Enter and Escape
// never reach a control by accident.
constexpr int kFirstControlId = 100;

constexpr int kTwipsPerInch = 1440;

// Sent to every top-level window when the notification area has been created anew.
UINT taskbarCreatedMessage = 0;

HMENU controlIdHandle(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(window, message, wParam, lParam);
}

LPARAM textParam(const std::string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

int shiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

// The option button owns its state; the real one only shows it. The checked button of a
// group is its tab stop.
void showCheck(HWND button, bool checked) {
    send(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    SetWindowLongPtrA(button, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP});
}

void syncSelection(HWND list, int index) {
    if (static_cast<int>(send(list, LB_GETCURSEL)) != index)
        send(list, LB_SETCURSEL, static_cast<WPARAM>(index));
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

    WNDCLASSEXA panel = form;
    panel.lpfnWndProc = panelProc;
    panel.hIcon = nullptr;
    panel.lpszClassName = kPanelClass;

    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    return RegisterClassExA(&form) != 0 && RegisterClassExA(&panel) != 0;
}

Win32WindowPeer::Win32WindowPeer(ui::Window& window, const Win32Display& display)
    : window_(window), display_(display) {}

Win32WindowPeer::~Win32WindowPeer() {
    if (!hwnd_) return;
    // The portable controls may be gone already: no message may reach them any more.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

// Creation

DWORD Win32WindowPeer::windowStyle() const {
    if (window_.borderStyle() == ui::BorderStyle::Sizable) return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD Win32WindowPeer::windowExStyle() const {
    DWORD style = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
    if (window_.borderStyle() == ui::BorderStyle::FixedDialog) style |= WS_EX_DLGMODALFRAME;
    return style;
}

void Win32WindowPeer::create() {
    RECT frame{0, 0, toPixelsX(window_.width()), toPixelsY(window_.height())};
    AdjustWindowRectEx(&frame, windowStyle(), FALSE, windowExStyle());
    const ui::Window* owner = window_.ownerWindow();
    CreateWindowExA(windowExStyle(), kFormClass, window_.caption().c_str(), windowStyle(), 0, 0,
                    frame.right - frame.left, frame.bottom - frame.top,
                    owner ? toHwnd(owner->handle()) : nullptr, nullptr, display_.instance, this);
    if (!hwnd_) return;

    controls_.assign(window_.controls().size(), nullptr);
    for (ui::Control* control : window_.controls()) createControl(*control);
    for (ui::Timer* timer : window_.timers()) arm(*timer);
    if (window_.topmost()) makeTopmost();
    created_ = true;
}

void Win32WindowPeer::createControl(ui::Control& control) {
    const char* className = "BUTTON";
    DWORD style = WS_CHILD | WS_GROUP;
    DWORD exStyle = 0;
    switch (control.kind()) {
    case ui::Kind::Panel:
        className = kPanelClass;
        exStyle = WS_EX_CONTROLPARENT;
        break;
    case ui::Kind::Button:
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case ui::Kind::OptionButton:
        style = WS_CHILD | BS_RADIOBUTTON;
        if (startsOptionGroup(control)) style |= WS_GROUP;
        break;
    case ui::Kind::ListBox:
        className = "LISTBOX";
        style |= LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER |
                 WS_TABSTOP;
        break;
    case ui::Kind::Window:
        return;
    }
    if (control.visible()) style |= WS_VISIBLE;
    if (!control.enabled()) style |= WS_DISABLED;

    const ui::Control* container = control.container();
    const HWND parent = container && container->kind() == ui::Kind::Panel ? hwndOf(*container) : hwnd_;
    const ui::Geometry& g = control.geometry();
    const HWND hwnd = CreateWindowExA(
        exStyle, className, control.caption().c_str(), style, toPixelsX(g.left), toPixelsY(g.top),
        std::max(0, toPixelsX(g.width)), std::max(0, toPixelsY(g.height)), parent,
        controlIdHandle(kFirstControlId + control.index()), display_.instance, nullptr);
    if (!hwnd) return;
    controls_[static_cast<std::size_t>(control.index())] = hwnd;
    send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(display_.font), FALSE);

    if (control.kind() == ui::Kind::OptionButton)
        showCheck(hwnd, static_cast<ui::OptionButton&>(control).value());
    if (control.kind() == ui::Kind::ListBox) fillList(static_cast<ui::ListBox&>(control));
}

// A run of option buttons in one container is one group.
bool Win32WindowPeer::startsOptionGroup(const ui::Control& control) const {
    const auto& all = window_.controls();
    for (int i = control.index() - 1; i >= 0; --i) {
        const ui::Control& other = *all[static_cast<std::size_t>(i)];
        if (other.container() == control.container()) return other.kind() != ui::Kind::OptionButton;
    }
    return true;
}

// Changes of the portable objects

void Win32WindowPeer::changed(ui::Control& control, ui::Change what) {
    if (&control == &window_) {
        changedWindow(what);
        return;
    }
    const HWND hwnd = hwndOf(control);
    if (!hwnd) return;
    switch (what) {
    case ui::Change::Geometry:
        place(control);
        break;
    case ui::Change::Visible:
        ShowWindow(hwnd, control.visible() ? SW_SHOW : SW_HIDE);
        break;
    case ui::Change::Enabled:
        EnableWindow(hwnd, control.enabled());
        break;
    case ui::Change::Caption:
        SetWindowTextA(hwnd, control.caption().c_str());
        break;
    case ui::Change::Value:
        if (control.kind() == ui::Kind::OptionButton)
            showCheck(hwnd, static_cast<ui::OptionButton&>(control).value());
        break;
    case ui::Change::Topmost:
        break;
    }
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
    }
}

void Win32WindowPeer::setWindowVisible(bool visible) {
    if (!visible) {
        ShowWindow(hwnd_, SW_HIDE);
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
    RECT frame{0, 0, toPixelsX(window_.width()), toPixelsY(window_.height())};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowPeer::centre() {
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowPeer::makeTopmost() {
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

// Positions are relative to the control's container, as in the portable geometry.
void Win32WindowPeer::place(const ui::Control& control) {
    const ui::Geometry& g = control.geometry();
    MoveWindow(hwndOf(control), toPixelsX(g.left), toPixelsY(g.top), std::max(0, toPixelsX(g.width)),
               std::max(0, toPixelsY(g.height)), TRUE);
}

void Win32WindowPeer::itemInserted(ui::ListBox& list, int index) {
    const HWND hwnd = hwndOf(list);
    if (!hwnd) return;
    send(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index), textParam(list.item(index)));
    syncSelection(hwnd, list.listIndex());
}

void Win32WindowPeer::itemRemoved(ui::ListBox& list, int index) {
    const HWND hwnd = hwndOf(list);
    if (!hwnd) return;
    send(hwnd, LB_DELETESTRING, static_cast<WPARAM>(index));
    syncSelection(hwnd, list.listIndex());
}

void Win32WindowPeer::itemsReset(ui::ListBox& list) {
    if (hwndOf(list)) fillList(list);
}

void Win32WindowPeer::selectionChanged(ui::ListBox& list) {
    if (const HWND hwnd = hwndOf(list)) send(hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.listIndex()));
}

// The real list has no sort flag: items arrive in the portable object's order.
void Win32WindowPeer::fillList(ui::ListBox& list) {
    const HWND hwnd = hwndOf(list);
    std::size_t bytes = 0;
    for (const std::string& item : list.items()) bytes += item.size() + 1;

    send(hwnd, WM_SETREDRAW, FALSE);
    send(hwnd, LB_RESETCONTENT);
    send(hwnd, LB_INITSTORAGE, static_cast<WPARAM>(list.listCount()), static_cast<LPARAM>(bytes));
    for (const std::string& item : list.items()) send(hwnd, LB_ADDSTRING, 0, textParam(item));
    send(hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.listIndex()));
    send(hwnd, WM_SETREDRAW, TRUE);
    InvalidateRect(hwnd, nullptr, TRUE);
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
    return MulDiv(client.right, kTwipsPerInch, display_.dpiX);
}

int Win32WindowPeer::clientHeight() const {
    RECT client{};
    if (!hwnd_ || !GetClientRect(hwnd_, &client)) return window_.height();
    return MulDiv(client.bottom, kTwipsPerInch, display_.dpiY);
}

// Messages. A handler that calls into the portable objects does so last: the portable
// side may even destroy this peer.

LRESULT CALLBACK Win32WindowPeer::formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* peer = static_cast<Win32WindowPeer*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        peer->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    }
    auto* peer = reinterpret_cast<Win32WindowPeer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return peer ? peer->handle(message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam);
}

// A panel only groups controls; what its controls report goes to the form.
LRESULT CALLBACK Win32WindowPeer::panelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSCROLLBAR:
        if (const HWND form = GetAncestor(hwnd, GA_ROOT); form && form != hwnd)
            return SendMessageA(form, message, wParam, lParam);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT Win32WindowPeer::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_VKEYTOITEM:
        return onVKeyToItem(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
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
        if (message == taskbarCreatedMessage && message != 0) {
            window_.taskbarCreated();
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void Win32WindowPeer::onCommand(int id, int code) {
    ui::Control* control = controlOf(id);
    if (!control) return;
    switch (control->kind()) {
    case ui::Kind::Button:
        if (code == BN_CLICKED) static_cast<ui::Button*>(control)->click();
        break;
    case ui::Kind::OptionButton:
        if (code == BN_CLICKED) static_cast<ui::OptionButton*>(control)->setValue(true);
        break;
    case ui::Kind::ListBox:
        if (code == LBN_SELCHANGE) {
            const int selected = static_cast<int>(send(hwndOf(*control), LB_GETCURSEL));
            static_cast<ui::ListBox*>(control)->setListIndex(selected);
        }
        break;
    case ui::Kind::Panel:
    case ui::Kind::Window:
        break;
    }
}

LRESULT Win32WindowPeer::onVKeyToItem(int key, HWND list) {
    ui::Control* control = controlOf(GetDlgCtrlID(list));
    if (control && control->kind() == ui::Kind::ListBox && hwndOf(*control) == list)
        static_cast<ui::ListBox*>(control)->keyDown(key, shiftState());
    return -1; // the list box goes on with its own handling of the key
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

// Enter clicks the push button that has the focus.
LRESULT Win32WindowPeer::onGetDefId() {
    const HWND focus = GetFocus();
    const int id = focus ? GetDlgCtrlID(focus) : 0;
    const ui::Control* control = controlOf(id);
    if (!control || control->kind() != ui::Kind::Button || hwndOf(*control) != focus) return 0;
    return MAKELRESULT(id, DC_HASDEFID);
}

// Focus

// Option groups are reached with Tab; the focus a window starts with goes to the first
// list or button.
bool Win32WindowPeer::canTakeFocus(const ui::Control& control) const {
    if (control.kind() != ui::Kind::ListBox && control.kind() != ui::Kind::Button) return false;
    for (const ui::Control* c = &control; c && c != &window_; c = c->container())
        if (!c->visible() || !c->enabled()) return false;
    return hwndOf(control) != nullptr;
}

HWND Win32WindowPeer::focusTarget() const {
    if (savedFocus_ && IsChild(hwnd_, savedFocus_) && IsWindowVisible(savedFocus_) &&
        IsWindowEnabled(savedFocus_))
        return savedFocus_;
    for (const ui::Control* control : window_.controls())
        if (canTakeFocus(*control)) return hwndOf(*control);
    return nullptr;
}

void Win32WindowPeer::restoreFocus() {
    if (const HWND target = focusTarget()) SetFocus(target);
}

// Lookups and units

HWND Win32WindowPeer::hwndOf(const ui::Control& control) const {
    if (&control == &window_) return hwnd_;
    const auto index = static_cast<std::size_t>(control.index());
    return index < controls_.size() ? controls_[index] : nullptr;
}

ui::Control* Win32WindowPeer::controlOf(int id) const {
    const int index = id - kFirstControlId;
    const auto& all = window_.controls();
    if (index < 0 || index >= static_cast<int>(all.size())) return nullptr;
    return all[static_cast<std::size_t>(index)];
}

int Win32WindowPeer::toPixelsX(int twips) const { return MulDiv(twips, display_.dpiX, kTwipsPerInch); }

int Win32WindowPeer::toPixelsY(int twips) const { return MulDiv(twips, display_.dpiY, kTwipsPerInch); }

} // namespace zk
