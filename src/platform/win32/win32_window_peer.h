#pragma once

#include "platform/ui.h"
#include "platform/win32/windows_api.h"

#include <vector>

namespace zk {

// What every window of the program shares: the module, the message font and the
// display's resolution.
struct Win32Display {
    HINSTANCE instance = nullptr;
    HFONT font = nullptr;
    int dpiX = 96;
    int dpiY = 96;
};

// The real window of a portable form, with one real control per portable control.
class Win32WindowPeer final : public ui::WindowPeer {
public:
    static constexpr const char* kFormClass = "ZuklapperForm";
    static constexpr const char* kPanelClass = "ZuklapperPanel";
    // Registers the window classes of forms and panels.
    static bool registerClasses(HINSTANCE instance);

    Win32WindowPeer(ui::Window& window, const Win32Display& display);
    ~Win32WindowPeer() override;
    Win32WindowPeer(const Win32WindowPeer&) = delete;
    Win32WindowPeer& operator=(const Win32WindowPeer&) = delete;

    // Creates the window (hidden), its controls and its running timers.
    void create();

    Hwnd handle() const override { return fromHwnd(hwnd_); }
    void changed(ui::Control& control, ui::Change what) override;
    void itemInserted(ui::ListBox& list, int index) override;
    void itemRemoved(ui::ListBox& list, int index) override;
    void itemsReset(ui::ListBox& list) override;
    void selectionChanged(ui::ListBox& list) override;
    void timerChanged(ui::Timer& timer) override;
    int clientWidth() const override;
    int clientHeight() const override;

private:
    static LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK panelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void onCommand(int id, int code);
    LRESULT onVKeyToItem(int key, HWND list);
    void onTimer(WPARAM id);
    void onSize(WPARAM kind);
    void onActivate(WPARAM state);
    LRESULT onGetDefId();

    void createControl(ui::Control& control);
    bool startsOptionGroup(const ui::Control& control) const;
    void changedWindow(ui::Change what);
    void setWindowVisible(bool visible);
    void resizeWindow();
    void centre();
    void makeTopmost();
    void place(const ui::Control& control);
    void fillList(ui::ListBox& list);
    void arm(const ui::Timer& timer);

    DWORD windowStyle() const;
    DWORD windowExStyle() const;
    HWND hwndOf(const ui::Control& control) const;
    ui::Control* controlOf(int id) const;
    bool canTakeFocus(const ui::Control& control) const;
    HWND focusTarget() const;
    void restoreFocus();
    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;

    ui::Window& window_;
    const Win32Display& display_;
    HWND hwnd_ = nullptr;
    std::vector<HWND> controls_; // by control index
    HWND savedFocus_ = nullptr;  // the control that had the focus when the window went inactive
    bool created_ = false;
    bool shownOnce_ = false;
    bool sizeReported_ = false;
};

} // namespace zk
