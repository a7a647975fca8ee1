#pragma once

#include "platform/ui.h"
#include "platform/week_grid.h"
#include "platform/win32/win32_display.h"

#include <memory>
#include <optional>

namespace zk {

// The real control of one portable control. Each kind lives in a file of its own: its
// window class and styles, how it mirrors the portable state, and the notifications it
// turns into events.
class Win32Control {
public:
    Win32Control(ui::Control& control, const Win32Display& display)
        : display_(display), control_(control) {}
    virtual ~Win32Control();
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    ui::Control& control() const { return control_; }
    HWND hwnd() const { return hwnd_; }

    // Creates the real control in the parent window, with the given id.
    bool create(HWND parent, int id);

    // Mirrors a change of the portable control.
    virtual void changed(ui::Change what);
    // Items of a list: inserted at / removed from an index, all replaced, selection moved.
    virtual void itemInserted(int) {}
    virtual void itemRemoved(int) {}
    virtual void itemsReset() {}
    virtual void selectionChanged() {}

    // A notification the control sent its parent (WM_COMMAND, WM_VKEYTOITEM, ...); the
    // result for the parent's window procedure, or nothing when the control ignores it.
    // The portable handlers run last: they may even destroy this object.
    virtual std::optional<LRESULT> notified(UINT, WPARAM) { return std::nullopt; }

    // Sets the colours of a static control's text before it paints (WM_CTLCOLORSTATIC).
    virtual void textColours(HDC) const {}

    // Labels, images and lines are painted on their container beneath every other control:
    // they lie at the bottom and never paint over a control they overlap. Among them, the
    // one that lies higher hides what it overlaps.
    virtual bool beneathOthers() const { return false; }
    // An option button that overlaps an earlier one of its container lies just above it, as a
    // later control lies over an earlier one on the form: for clicks and for drawing. Windows
    // puts each new child beneath the others. Other controls keep their order: where they
    // touch, it is a pixel of rounding at another DPI. True when it moved.
    bool moveAbove(const Win32Control& earlier) const;
    virtual bool optionButton() const { return false; }
    void moveBeneathOthers() const;

    // Whether the control can take the focus that a window starts with.
    virtual bool focusable() const { return false; }
    // Whether Enter clicks the control while it has the focus.
    virtual bool clicksOnEnter() const { return false; }

protected:
    struct Shape {
        const char* className = nullptr;
        DWORD style = 0;
        DWORD exStyle = 0;
    };
    // The window class and styles; WS_CHILD, WS_VISIBLE and WS_DISABLED are added.
    virtual Shape shape() const = 0;
    // Fills in the state that the creation did not carry.
    virtual void created() {}
    // Places the real control at the portable geometry, relative to its container.
    void place();
    // The size of the real window for the portable size, in pixels.
    virtual int windowWidth(int pixels) const { return pixels; }
    virtual int windowHeight(int pixels) const { return pixels; }

    const Win32Display& display_;

private:
    ui::Control& control_;
    HWND hwnd_ = nullptr;
    HFONT ownFont_ = nullptr; // the control's own font, when it names one
};

// One factory per kind, each in the kind's own file.
std::unique_ptr<Win32Control> makeWin32Panel(ui::Panel& panel, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32Frame(ui::Frame& frame, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32CheckBox(ui::CheckBox& box, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32ComboBox(ui::ComboBox& box, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32Button(ui::Button& button, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32OptionButton(ui::OptionButton& button,
                                                    const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32ListBox(ui::ListBox& list, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32Label(ui::Label& label, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32TextBox(ui::TextBox& box, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32Image(ui::Image& image, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32Line(ui::Line& line, const Win32Display& display);
std::unique_ptr<Win32Control> makeWin32WeekGrid(ui::WeekGrid& grid, const Win32Display& display);

// The real control of any portable control; nullptr for a window.
std::unique_ptr<Win32Control> makeWin32Control(ui::Control& control, const Win32Display& display);

// The window classes that panels and week grids are made of.
bool registerWin32PanelClass(HINSTANCE instance);
bool registerWin32WeekGridClass(HINSTANCE instance);

// What the controls inside a panel or frame report to their parent goes on to the form;
// nothing for other messages.
std::optional<LRESULT> forwardToForm(HWND container, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace zk
