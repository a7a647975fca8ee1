#pragma once

// The portable window toolkit. Control objects hold the state the program reads; a backend
// (real Win32 controls, or the headless one of the tests) mirrors them through a WindowPeer
// and turns user actions into the same calls that code makes (click(), setValue(),
// setListIndex(), choose(), keyDown(), keyPress(), pressDefault(), pressCancel(),
// requestClose(), resized(), fire()), so the event rules here hold for both backends.

#include "platform/window_system.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zk::ui {

// Left, top, width, height in twips (1/1440 inch).
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Geometry&) const = default;
};

class Control;

// A font by name and size in points; no name: the system's message font.
struct Font {
    std::string name = {};
    double points = 0;
    bool bold = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

// A colour as red, green and blue.
struct Rgb {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
    bool operator==(const Rgb&) const = default;
};

// What a control is created with, by name:
//   Button cmdOK(window, {.in = &picButtons, .name = "cmdOK", .at = {...}, .caption = "OK"});
struct ControlArgs {
    Control* in = nullptr; // the panel the control sits in; nullptr: the window itself
    std::string name;
    Geometry at = {};
    std::string caption = {};
    Font font = {};
};

struct LabelArgs {
    Control* in = nullptr;
    std::string name;
    Geometry at = {};
    std::string caption = {};
    Font font = {};
    std::optional<Rgb> color = {}; // none: the system's text colour
    bool centred = false;
};

// Enter clicks the default button, Escape the cancel button, while their window is in front.
struct ButtonArgs {
    Control* in = nullptr;
    std::string name;
    Geometry at = {};
    std::string caption = {};
    Font font = {};
    bool isDefault = false;
    bool cancel = false;
};

// An icon of the program's resources, by id, at its own size.
struct ImageArgs {
    Control* in = nullptr;
    std::string name;
    Geometry at = {};
    int icon = 0;
};

// A horizontal or vertical line between two points (twips), width pixels wide.
struct LineArgs {
    Control* in = nullptr;
    std::string name;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int width = 1;
};

struct ListBoxArgs {
    Control* in = nullptr;
    std::string name;
    Geometry at = {};
    bool sorted = false;
};

struct TextBoxArgs {
    Control* in = nullptr;
    std::string name;
    Geometry at = {};
    std::string text = {};
};

struct ComboBoxArgs {
    Control* in = nullptr;
    std::string name;
    Geometry at = {};
    std::string text = {};
};

// Sizable: a resizable frame with minimise and maximise; FixedSingle: a thin fixed frame
// without them; FixedDialog: a dialog frame.
enum class BorderStyle { Sizable, FixedSingle, FixedDialog };
// Where a window appears when it is first shown.
enum class StartPosition { CentreScreen, CentreOwner };

struct WindowArgs {
    std::string name;
    std::string caption;
    int clientWidth = 0; // the design size of the inner area, in twips
    int clientHeight = 0;
    BorderStyle border = BorderStyle::Sizable;
    StartPosition start = StartPosition::CentreScreen;
};

struct TimerArgs {
    std::string name;
    int intervalMs = 0;
    bool enabled = false;
};

enum class Kind {
    Window,
    Panel,
    Frame,
    OptionButton,
    CheckBox,
    ListBox,
    ComboBox,
    Button,
    Label,
    TextBox,
    Image,
    Line,
    WeekGrid,
};

// What changed on a control, for its peer. Front: a visible window is shown again and comes
// to the front.
enum class Change { Geometry, Visible, Enabled, Caption, Value, Topmost, Front };

// Message box styles and answers, with the Windows values.
inline constexpr unsigned MB_OK_INFORMATION = 0x40;    // MB_OK | MB_ICONINFORMATION
inline constexpr unsigned MB_YESNO_INFORMATION = 0x44; // MB_YESNO | MB_ICONINFORMATION
inline constexpr int ID_OK = 1;
inline constexpr int ID_YES = 6;

inline constexpr int KEY_RETURN = 13;
inline constexpr int KEY_ESCAPE = 27;
inline constexpr int KEY_DELETE = 46;

class Window;
class Timer;
class Menu;

// The backend side of one window: it creates the real window and its controls when the
// window loads and keeps them in step with the portable objects.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    virtual Hwnd handle() const = 0;
    virtual void changed(Control& control, Change what) = 0;
    // Items of a list box or combo box: inserted at / removed from an index, or all replaced.
    virtual void itemInserted(Control& list, int index) = 0;
    virtual void itemRemoved(Control& list, int index) = 0;
    virtual void itemsReset(Control& list) = 0;
    virtual void selectionChanged(Control& list) = 0;
    virtual void timerChanged(Timer& timer) = 0;
    // The inner (client) size of the window, in twips.
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;
};

class Toolkit {
public:
    virtual ~Toolkit() = default;
    // Creates the backend of a window, with all its controls and timers, hidden.
    virtual std::unique_ptr<WindowPeer> createPeer(Window& window) = 0;
    // A modal message box owned by the window (nullptr: no owner); returns the answer.
    virtual int messageBox(Window* owner, const std::string& text, const std::string& caption,
                           unsigned style) = 0;
    // The system's text order for sorted lists (letter case ignored): <0, 0, >0.
    virtual int compareText(std::string_view a, std::string_view b) = 0;
    // The program's own texts are UTF-8 in the sources; this gives the system's ANSI text.
    virtual std::string ansi(std::string_view utf8) = 0;
    // Opens the menu as a popup at the mouse position and waits until it closes; a chosen
    // item is clicked afterwards.
    virtual void popupMenu(Window& owner, Menu& menu) = 0;
    // Shows the loaded window modally: its owner takes no input until the window is hidden
    // or unloaded; the timers of every window keep ticking meanwhile.
    virtual void runModal(Window& window) = 0;
    // Takes the backend of an unloaded window: its real window disappears at once, and
    // goes when no handler of it runs any more.
    virtual void discard(std::unique_ptr<WindowPeer> peer) = 0;
    // Ends the program's message loop.
    virtual void quit() = 0;
};

class Control {
public:
    Control(Window& owner, ControlArgs args);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    virtual Kind kind() const = 0;
    const std::string& name() const { return name_; }
    Window& owner() const { return owner_; }
    // The panel or window the control sits in; nullptr for a window.
    Control* container() const { return container_; }

    const Geometry& geometry() const { return geometry_; }
    void move(const Geometry& geometry);
    int left() const { return geometry_.left; }
    int top() const { return geometry_.top; }
    int width() const { return geometry_.width; }
    int height() const { return geometry_.height; }

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const Font& font() const { return font_; }

    // Index of the control among its owner's controls, for backends (e.g. a control id).
    int index() const { return index_; }

    // Whether key presses and clicks may reach the control: its window, its panels and the
    // control itself are visible and enabled. A hidden window takes no input.
    bool takesInput() const;

protected:
    void notify(Change what);
    // The state before the window's first load: kept then, and put back without events
    // when the window unloads.
    virtual void keepDesign();
    virtual void restoreDesign();

private:
    friend class Window;
    struct Design {
        Geometry geometry;
        bool visible = true;
        bool enabled = true;
        std::string caption;
    };
    Window& owner_;
    Control* container_;
    std::string name_;
    Geometry geometry_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    Font font_;
    int index_ = -1;
    Design design_;
};

class Panel final : public Control {
public:
    Panel(Window& owner, ControlArgs args) : Control(owner, std::move(args)) {}
    Kind kind() const override { return Kind::Panel; }
};

// A captioned frame that holds controls as a panel does.
class Frame final : public Control {
public:
    Frame(Window& owner, ControlArgs args) : Control(owner, std::move(args)) {}
    Kind kind() const override { return Kind::Frame; }
};

class Button final : public Control {
public:
    Button(Window& owner, ButtonArgs args);
    Kind kind() const override { return Kind::Button; }
    bool isDefault() const { return default_; }
    bool isCancel() const { return cancel_; }
    // A click by the user or by code.
    void click();
    std::function<void()> onClick;

private:
    bool default_;
    bool cancel_;
};

// A caption that the user cannot change.
class Label final : public Control {
public:
    Label(Window& owner, LabelArgs args);
    Kind kind() const override { return Kind::Label; }
    const std::optional<Rgb>& color() const { return color_; }
    bool centred() const { return centred_; }
    // A click by the user or by code.
    void click();
    std::function<void()> onClick;

private:
    std::optional<Rgb> color_;
    bool centred_;
};

// A picture: an icon of the program's resources.
class Image final : public Control {
public:
    Image(Window& owner, ImageArgs args)
        : Control(owner, {.in = args.in, .name = std::move(args.name), .at = args.at}),
          icon_(args.icon) {}
    Kind kind() const override { return Kind::Image; }
    int icon() const { return icon_; }

private:
    int icon_;
};

// A line; its geometry is the rectangle between its two points, one side of it 0.
class Line final : public Control {
public:
    Line(Window& owner, LineArgs args);
    Kind kind() const override { return Kind::Line; }
    int lineWidth() const { return width_; }

private:
    int width_;
};

// A one-line text field.
class TextBox final : public Control {
public:
    TextBox(Window& owner, TextBoxArgs args);
    Kind kind() const override { return Kind::TextBox; }
    const std::string& text() const { return text_; }
    // A new text, typed by the user or set by code, raises onChange.
    void setText(std::string text);
    std::function<void()> onChange;

protected:
    void keepDesign() override;
    void restoreDesign() override;

private:
    std::string text_;
    std::string designText_;
};

// Option buttons in the same container exclude each other.
class OptionButton final : public Control {
public:
    OptionButton(Window& owner, ControlArgs args) : Control(owner, std::move(args)) {}
    Kind kind() const override { return Kind::OptionButton; }
    bool value() const { return value_; }
    // Setting the button (by the user or by code) clears the others of its container and
    // raises onClick when it was not set before. Clearing raises nothing.
    void setValue(bool value);
    std::function<void()> onClick;

protected:
    void keepDesign() override;
    void restoreDesign() override;

private:
    bool value_ = false;
    bool designValue_ = false;
};

// A check box with a third, greyed state: 0 unticked, 1 ticked, 2 greyed.
class CheckBox final : public Control {
public:
    CheckBox(Window& owner, ControlArgs args) : Control(owner, std::move(args)) {}
    Kind kind() const override { return Kind::CheckBox; }
    int value() const { return value_; }
    // A new state, set by code or by the user, raises onClick. Other values are ignored.
    void setValue(int value);
    // The user's click ticks an unticked box and unticks a ticked or greyed one.
    void click() { setValue(value_ == 0 ? 1 : 0); }
    std::function<void()> onClick;

protected:
    void keepDesign() override;
    void restoreDesign() override;

private:
    int value_ = 0;
    int designValue_ = 0;
};

class ListBox final : public Control {
public:
    ListBox(Window& owner, ListBoxArgs args);
    Kind kind() const override { return Kind::ListBox; }

    bool sorted() const { return sorted_; }
    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& items() const { return items_; }
    // Selected index, -1 for none.
    int listIndex() const { return listIndex_; }

    // Adds an item at its sorted place (or at the end of an unsorted list); returns its index.
    int addItem(std::string text);
    // Replaces all items at once (sorted as addItem would place them one by one).
    void setItems(std::vector<std::string> texts);
    void removeItem(int index);
    void clear();
    // Selecting an item (by the user or by code) raises onClick when the index changes.
    // Out-of-range indexes are ignored.
    void setListIndex(int index);
    // Whole-text search ignoring letter case; -1 when no item matches.
    int findExact(std::string_view text) const;

    // A key pressed while the list has the focus: key code and shift state. Ignored while
    // the list takes no input.
    void keyDown(int keyCode, int shift);

    std::function<void()> onClick;
    std::function<void(int keyCode, int shift)> onKeyDown;

protected:
    void keepDesign() override;
    void restoreDesign() override;

private:
    int sortedPlace(std::string_view text) const;
    bool sorted_;
    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::vector<std::string> designItems_;
    int designListIndex_ = -1;
};

// An edit field above a drop-down list.
class ComboBox final : public Control {
public:
    ComboBox(Window& owner, ComboBoxArgs args);
    Kind kind() const override { return Kind::ComboBox; }

    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& items() const { return items_; }
    void addItem(std::string text);

    // The text of the edit field, and the item it shows: the one chosen last, or the one
    // that a text set afterwards equals exactly; -1 for none.
    const std::string& text() const { return text_; }
    int listIndex() const { return listIndex_; }
    // A new text, set by code or edited by the user, raises no event.
    void setText(std::string text);
    // The user chooses an item (by mouse or arrow keys): the field shows it and onClick
    // runs. Out-of-range indexes are ignored.
    void choose(int index);
    // A character typed into the edit field goes through onKeyPress, which may replace it
    // or discard it (0), before it reaches the field; returns what reaches it. Nothing
    // runs while the box takes no input.
    int keyPress(int keyAscii);

    std::function<void()> onClick;
    std::function<void(int& keyAscii)> onKeyPress;

protected:
    void keepDesign() override;
    void restoreDesign() override;

private:
    std::vector<std::string> items_;
    std::string text_;
    int listIndex_ = -1;
    std::vector<std::string> designItems_;
    std::string designText_;
    int designListIndex_ = -1;
};

class MenuItem {
public:
    MenuItem(std::string name, std::string caption)
        : name_(std::move(name)), caption_(std::move(caption)) {}
    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    // A check mark beside the caption.
    bool checked() const { return checked_; }
    void setChecked(bool checked) { checked_ = checked; }
    // A greyed item cannot be chosen.
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    void click() {
        if (onClick) onClick();
    }
    std::function<void()> onClick;

private:
    std::string name_;
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
};

// A menu that is never shown as a menu bar, only as a popup.
class Menu {
public:
    Menu(std::string name, std::vector<MenuItem*> items)
        : name_(std::move(name)), items_(std::move(items)) {}
    const std::string& name() const { return name_; }
    const std::vector<MenuItem*>& items() const { return items_; }

private:
    std::string name_;
    std::vector<MenuItem*> items_;
};

// A timer belongs to a window; it never ticks before the window's load has ended, and a
// tick that comes while the previous one still runs (inside a modal loop) is dropped.
class Timer {
public:
    Timer(Window& owner, TimerArgs args);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() = default;

    const std::string& name() const { return name_; }
    Window& owner() const { return owner_; }
    int interval() const { return interval_; }
    void setInterval(int ms);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int index() const { return index_; }

    // Called by the backend when the interval has elapsed.
    void fire();
    std::function<void()> onTimer;

private:
    friend class Window;
    Window& owner_;
    std::string name_;
    int interval_;
    bool enabled_;
    bool running_ = false;
    int index_ = -1;
    int designInterval_;
    bool designEnabled_;
};

class Window : public Control {
public:
    Window(Toolkit& toolkit, WindowArgs args);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() override;
    Kind kind() const override { return Kind::Window; }

    Toolkit& toolkit() const { return toolkit_; }
    BorderStyle borderStyle() const { return border_; }
    StartPosition startPosition() const { return start_; }
    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }

    bool loaded() const { return loaded_; }
    // A window owned by another has no button of its own in the task bar and stays
    // above its owner. Set before load.
    void setOwnerWindow(Window* owner) { ownerWindow_ = owner; }
    Window* ownerWindow() const { return ownerWindow_; }

    // Creates the window (once) and runs onLoad; the window stays hidden.
    void load();
    // Loads when needed, then makes the window visible (placed as its start position says
    // the first time) and raises onResize. A visible window comes to the front.
    void show();
    void hide();
    // Loads when needed, shows the window and returns once it is hidden or unloaded; its
    // owner takes no input meanwhile.
    void showModal();
    // Hides the window and gives up its real window. Its controls and timers go back to
    // the state they had before the first load, without events; the next load creates the
    // window afresh and runs onLoad again.
    void unload();

    // The window's handle on the desktop; 0 before load.
    Hwnd handle() const;
    int scaleWidth() const;  // inner width, twips
    int scaleHeight() const; // inner height, twips

    bool topmost() const { return topmost_; }
    void setTopmost();

    // The user (or code) asks the window to close: onQueryUnload may cancel it; otherwise
    // the window is unloaded.
    void requestClose();
    // The user presses Enter or Escape: the window's default or cancel button is clicked
    // when it takes input. False when the window has no such button.
    bool pressDefault();
    bool pressCancel();
    // The backend reports a new size.
    void resized();
    // The backend reports the mouse over the window (x in pixels), the end of the user's
    // session, and a new notification area.
    void mouseMoved(int x);
    void sessionEnding();
    void taskbarCreated();

    std::function<void()> onLoad;
    std::function<void(bool& cancel)> onQueryUnload;
    std::function<void()> onResize;
    std::function<void(int x)> onMouseMove;
    std::function<void()> onEndSession;
    std::function<void()> onTaskbarCreated;

    WindowPeer* peer() const { return peer_.get(); }

private:
    friend class Control;
    friend class Timer;
    void adopt(Control& control);
    void adopt(Timer& timer);

    Toolkit& toolkit_;
    BorderStyle border_;
    StartPosition start_;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    std::unique_ptr<WindowPeer> peer_;
    Window* ownerWindow_ = nullptr;
    bool loaded_ = false;
    bool designKept_ = false;
    bool topmost_ = false;
};

} // namespace zk::ui
