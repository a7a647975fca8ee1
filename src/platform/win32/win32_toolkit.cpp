#include "platform/win32/win32_toolkit.h"

#include "platform/win32/win32_code_page.h"

#include <commctrl.h>

namespace zk {

namespace {

HFONT messageFont(bool& own) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        if (HFONT font = CreateFontIndirectA(&metrics.lfMessageFont)) {
            own = true;
            return font;
        }
    }
    own = false;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int length(std::string_view text) { return static_cast<int>(text.size()); }

// Keys go to the window in front. After a popup menu or a hide, that may be a hidden window
// of the program: keys meant for another program then reach nobody here.
bool keyForHiddenWindow(const MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    return !root || !IsWindowVisible(root);
}

// CompareStringA refuses a null pointer even for an empty text.
const char* nonNull(std::string_view text) { return text.empty() ? "" : text.data(); }

} // namespace

Win32Toolkit::Win32Toolkit() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    display_.instance = GetModuleHandleA(nullptr);
    Win32WindowPeer::registerClasses(display_.instance);
    display_.font = messageFont(ownFont_);
    if (HDC screen = GetDC(nullptr)) {
        display_.dpiX = GetDeviceCaps(screen, LOGPIXELSX);
        display_.dpiY = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
}

Win32Toolkit::~Win32Toolkit() {
    if (ownFont_) DeleteObject(display_.font);
}

std::unique_ptr<ui::WindowPeer> Win32Toolkit::createPeer(ui::Window& window) {
    auto peer = std::make_unique<Win32WindowPeer>(window, display_);
    peer->create();
    return peer;
}

int Win32Toolkit::messageBox(ui::Window* owner, const std::string& text, const std::string& caption,
                             unsigned style) {
    const HWND ownerHwnd = owner ? toHwnd(owner->handle()) : nullptr;
    return MessageBoxA(ownerHwnd, text.c_str(), caption.c_str(), style);
}

int Win32Toolkit::compareText(std::string_view a, std::string_view b) {
    const int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, nonNull(a), length(a),
                                      nonNull(b), length(b));
    if (result == 0) return a.compare(b);
    return result - CSTR_EQUAL;
}

std::string Win32Toolkit::ansi(std::string_view utf8) {
    const std::optional<std::wstring> wide = widen(utf8, CP_UTF8);
    return wide ? narrow(*wide, CP_ACP, false).value_or("") : std::string{};
}

void Win32Toolkit::popupMenu(ui::Window& owner, ui::Menu& menu) {
    const HWND hwnd = toHwnd(owner.handle());
    const HMENU popup = CreatePopupMenu();
    if (!hwnd || !popup) return;
    UINT id = 0;
    for (const ui::MenuItem* item : menu.items())
        AppendMenuA(popup,
                    MF_STRING | (item->checked() ? MF_CHECKED : MF_UNCHECKED) |
                        (item->enabled() ? MF_ENABLED : MF_GRAYED),
                    ++id, item->caption().c_str());
    POINT at{};
    GetCursorPos(&at);
    // A popup of a window in the background closes on a click elsewhere only when its
    // owner is in front, and only after the owner has had a message afterwards.
    SetForegroundWindow(hwnd);
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, hwnd, nullptr));
    PostMessageA(hwnd, WM_NULL, 0, 0);
    DestroyMenu(popup);
    if (chosen >= 1 && chosen <= menu.items().size()) menu.items()[chosen - 1]->click();
}

void Win32Toolkit::quit() { PostQuitMessage(0); }

void Win32Toolkit::dispatch(MSG& message) {
    if (keyForHiddenWindow(message)) return;
    // Tab, arrows, Enter and mnemonics work in every window as in a dialog.
    const HWND active = GetActiveWindow();
    if (active && IsDialogMessageA(active, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int Win32Toolkit::run() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return -1;
        dispatch(message);
        discarded_.clear();
    }
}

void Win32Toolkit::runModal(ui::Window& window) {
    auto* peer = static_cast<Win32WindowPeer*>(window.peer());
    const ui::Window* owner = window.ownerWindow();
    const HWND ownerHwnd = owner ? toHwnd(owner->handle()) : nullptr;
    const bool disablesOwner = peer && ownerHwnd && IsWindowEnabled(ownerHwnd);
    if (disablesOwner) {
        EnableWindow(ownerHwnd, FALSE);
        peer->setModalOwner(ownerHwnd);
    }
    window.show();
    MSG message{};
    while (window.loaded() && window.visible()) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam)); // for the loop outside
            break;
        }
        if (got == -1) break;
        dispatch(message);
    }
    // Left by the end of the program rather than a hide: the owner takes input again too.
    if (disablesOwner && !IsWindowEnabled(ownerHwnd)) EnableWindow(ownerHwnd, TRUE);
}

void Win32Toolkit::discard(std::unique_ptr<ui::WindowPeer> peer) {
    static_cast<Win32WindowPeer&>(*peer).retire();
    discarded_.push_back(std::move(peer));
}

} // namespace zk
