#pragma once

#include "platform/ui.h"
#include "platform/win32/win32_control.h"
#include "platform/win32/win32_display.h"

#include <memory>
#include <vector>

namespace zk {

// The real window of a portable form: its window procedure, size, focus and timers, and
// one real control per portable control.
class Win32WindowPeer final : public ui::WindowPeer {
public:
    static constexpr const char* kFormClass = "ZuklapperForm";
    // Registers the window classes of forms and panels.
    static bool registerClasses(HINSTANCE instance);

    Win32WindowPeer(ui::Window& window, const Win32Display& display);
    ~Win32WindowPeer() override;
    Win32WindowPeer(const Win32WindowPeer&) = delete;
    Win32WindowPeer& operator=(const Win32WindowPeer&) = delete;

    // Creates the window (hidden), its controls and its running timers.
    void create();
    // The window runs modally over this disabled owner, which it enables again before it
    // hides, so that the owner, not another program, comes to the front.
    void setModalOwner(HWND owner) { modalOwner_ = owner; }
    // Cuts the real window off from the portable one and hides it; the destructor destroys it.
    void retire();

    Hwnd handle() const override { return fromHwnd(hwnd_); }
    void changed(ui::Control& control, ui::Change what) override;
    void itemInserted(ui::Control& list, int index) override;
    void itemRemoved(ui::Control& list, int index) override;
    void itemsReset(ui::Control& list) override;
    void selectionChanged(ui::Control& list) override;
    void timerChanged(ui::Timer& timer) override;
    int clientWidth() const override;
    int clientHeight() const override;

private:
    static LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void onTimer(WPARAM id);
    void onSize(WPARAM kind);
    void onActivate(WPARAM state);
    LRESULT onGetDefId();

    void changedWindow(ui::Change what);
    void setWindowVisible(bool visible);
    void bringToFront();
    void resizeWindow();
    void centre();
    void makeTopmost();
    void arm(const ui::Timer& timer);

    DWORD windowStyle() const;
    DWORD windowExStyle() const;
    Win32Control* realControl(const ui::Control& control) const;
    Win32Control* realControl(HWND hwnd) const;
    HWND focusTarget() const;
    void restoreFocus();

    ui::Window& window_;
    const Win32Display& display_;
    HWND hwnd_ = nullptr;
    std::vector<std::unique_ptr<Win32Control>> controls_; // by control index
    HWND savedFocus_ = nullptr; // the control that had the focus when the window went inactive
    HWND modalOwner_ = nullptr;
    bool created_ = false;
    bool retired_ = false;
    bool shownOnce_ = false;
    bool sizeReported_ = false;
};

} // namespace zk
