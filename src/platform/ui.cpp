#include "platform/ui.h"

#include <algorithm>
#include <cstdlib>

namespace zk::ui {

Control::Control(Window& owner, ControlArgs args)
    : owner_(owner), container_(args.in), name_(std::move(args.name)), geometry_(args.at),
      caption_(std::move(args.caption)), font_(std::move(args.font)) {
    if (this != &owner) owner.adopt(*this);
}

bool Control::takesInput() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->visible_ || !c->enabled_) return false;
    return owner_.visible_ && owner_.enabled_;
}

void Control::notify(Change what) {
    if (WindowPeer* peer = owner_.peer()) peer->changed(*this, what);
}

void Control::move(const Geometry& geometry) {
    if (geometry == geometry_) return;
    geometry_ = geometry;
    notify(Change::Geometry);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    notify(Change::Visible);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    notify(Change::Enabled);
}

void Control::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    notify(Change::Caption);
}

void Control::keepDesign() { design_ = {geometry_, visible_, enabled_, caption_}; }

void Control::restoreDesign() {
    geometry_ = design_.geometry;
    visible_ = design_.visible;
    enabled_ = design_.enabled;
    caption_ = design_.caption;
}

Button::Button(Window& owner, ButtonArgs args)
    : Control(owner, {.in = args.in,
                      .name = std::move(args.name),
                      .at = args.at,
                      .caption = std::move(args.caption),
                      .font = std::move(args.font)}),
      default_(args.isDefault), cancel_(args.cancel) {}

void Button::click() {
    if (onClick) onClick();
}

Label::Label(Window& owner, LabelArgs args)
    : Control(owner, {.in = args.in,
                      .name = std::move(args.name),
                      .at = args.at,
                      .caption = std::move(args.caption),
                      .font = std::move(args.font)}),
      color_(args.color), centred_(args.centred) {}

void Label::click() {
    if (onClick) onClick();
}

Line::Line(Window& owner, LineArgs args)
    : Control(owner, {.in = args.in,
                      .name = std::move(args.name),
                      .at = {std::min(args.x1, args.x2), std::min(args.y1, args.y2),
                             std::abs(args.x2 - args.x1), std::abs(args.y2 - args.y1)}}),
      width_(args.width) {}

void OptionButton::setValue(bool value) {
    if (value == value_) return;
    value_ = value;
    notify(Change::Value);
    if (!value) return;
    for (Control* other : owner().controls()) {
        if (other != this && other->kind() == Kind::OptionButton &&
            other->container() == container())
            static_cast<OptionButton*>(other)->setValue(false);
    }
    if (onClick) onClick();
}

void OptionButton::keepDesign() {
    Control::keepDesign();
    designValue_ = value_;
}

void OptionButton::restoreDesign() {
    Control::restoreDesign();
    value_ = designValue_;
}

void CheckBox::setValue(int value) {
    if (value < 0 || value > 2 || value == value_) return;
    value_ = value;
    notify(Change::Value);
    if (onClick) onClick();
}

void CheckBox::keepDesign() {
    Control::keepDesign();
    designValue_ = value_;
}

void CheckBox::restoreDesign() {
    Control::restoreDesign();
    value_ = designValue_;
}

TextBox::TextBox(Window& owner, TextBoxArgs args)
    : Control(owner, {.in = args.in, .name = std::move(args.name), .at = args.at}),
      text_(std::move(args.text)) {}

void TextBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    notify(Change::Value);
    if (onChange) onChange();
}

void TextBox::keepDesign() {
    Control::keepDesign();
    designText_ = text_;
}

void TextBox::restoreDesign() {
    Control::restoreDesign();
    text_ = designText_;
}

ListBox::ListBox(Window& owner, ListBoxArgs args)
    : Control(owner, {.in = args.in, .name = std::move(args.name), .at = args.at}),
      sorted_(args.sorted) {}

int ListBox::sortedPlace(std::string_view text) const {
    if (!sorted_) return listCount();
    Toolkit& toolkit = owner().toolkit();
    auto place = std::upper_bound(
        items_.begin(), items_.end(), text,
        [&](std::string_view a, const std::string& b) { return toolkit.compareText(a, b) < 0; });
    return static_cast<int>(place - items_.begin());
}

int ListBox::addItem(std::string text) {
    const int index = sortedPlace(text);
    items_.insert(items_.begin() + index, std::move(text));
    if (listIndex_ >= index) ++listIndex_;
    if (WindowPeer* peer = owner().peer()) peer->itemInserted(*this, index);
    return index;
}

void ListBox::setItems(std::vector<std::string> texts) {
    if (sorted_) {
        Toolkit& toolkit = owner().toolkit();
        std::stable_sort(texts.begin(), texts.end(),
                         [&](const std::string& a, const std::string& b) {
                             return toolkit.compareText(a, b) < 0;
                         });
    }
    items_ = std::move(texts);
    listIndex_ = -1;
    if (WindowPeer* peer = owner().peer()) peer->itemsReset(*this);
}

void ListBox::removeItem(int index) {
    if (index < 0 || index >= listCount()) return;
    items_.erase(items_.begin() + index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    if (WindowPeer* peer = owner().peer()) peer->itemRemoved(*this, index);
}

void ListBox::clear() {
    items_.clear();
    listIndex_ = -1;
    if (WindowPeer* peer = owner().peer()) peer->itemsReset(*this);
}

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= listCount() || index == listIndex_) return;
    listIndex_ = index;
    if (WindowPeer* peer = owner().peer()) peer->selectionChanged(*this);
    if (onClick) onClick();
}

int ListBox::findExact(std::string_view text) const {
    Toolkit& toolkit = owner().toolkit();
    for (int i = 0; i < listCount(); ++i)
        if (toolkit.compareText(items_[static_cast<std::size_t>(i)], text) == 0) return i;
    return -1;
}

void ListBox::keyDown(int keyCode, int shift) {
    if (takesInput() && onKeyDown) onKeyDown(keyCode, shift);
}

void ListBox::keepDesign() {
    Control::keepDesign();
    designItems_ = items_;
    designListIndex_ = listIndex_;
}

void ListBox::restoreDesign() {
    Control::restoreDesign();
    items_ = designItems_;
    listIndex_ = designListIndex_;
}

ComboBox::ComboBox(Window& owner, ComboBoxArgs args)
    : Control(owner, {.in = args.in, .name = std::move(args.name), .at = args.at}),
      text_(std::move(args.text)) {}

void ComboBox::addItem(std::string text) {
    items_.push_back(std::move(text));
    if (WindowPeer* peer = owner().peer()) peer->itemInserted(*this, listCount() - 1);
}

void ComboBox::setText(std::string text) {
    const auto shown = std::find(items_.begin(), items_.end(), text);
    const int index = shown == items_.end() ? -1 : static_cast<int>(shown - items_.begin());
    if (text == text_ && index == listIndex_) return;
    text_ = std::move(text);
    listIndex_ = index;
    notify(Change::Value);
}

void ComboBox::choose(int index) {
    if (index < 0 || index >= listCount()) return;
    text_ = item(index);
    listIndex_ = index;
    notify(Change::Value);
    if (onClick) onClick();
}

int ComboBox::keyPress(int keyAscii) {
    if (takesInput() && onKeyPress) onKeyPress(keyAscii);
    return keyAscii;
}

void ComboBox::keepDesign() {
    Control::keepDesign();
    designItems_ = items_;
    designText_ = text_;
    designListIndex_ = listIndex_;
}

void ComboBox::restoreDesign() {
    Control::restoreDesign();
    items_ = designItems_;
    text_ = designText_;
    listIndex_ = designListIndex_;
}

Timer::Timer(Window& owner, TimerArgs args)
    : owner_(owner), name_(std::move(args.name)), interval_(args.intervalMs),
      enabled_(args.enabled), designInterval_(interval_), designEnabled_(enabled_) {
    owner.adopt(*this);
}

void Timer::setInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (WindowPeer* peer = owner_.peer()) peer->timerChanged(*this);
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (WindowPeer* peer = owner_.peer()) peer->timerChanged(*this);
}

void Timer::fire() {
    if (!enabled_ || running_ || !owner_.loaded() || interval_ <= 0) return;
    running_ = true;
    if (onTimer) onTimer();
    running_ = false;
}

Window::Window(Toolkit& toolkit, WindowArgs args)
    : Control(*this, {.name = std::move(args.name),
                      .at = {0, 0, args.clientWidth, args.clientHeight},
                      .caption = std::move(args.caption)}),
      toolkit_(toolkit), border_(args.border), start_(args.start) {
    setVisible(false);
}

Window::~Window() = default;

void Window::adopt(Control& control) {
    control.index_ = static_cast<int>(controls_.size());
    controls_.push_back(&control);
}

void Window::adopt(Timer& timer) {
    timer.index_ = static_cast<int>(timers_.size());
    timers_.push_back(&timer);
}

void Window::load() {
    if (peer_) return;
    if (!designKept_) {
        designKept_ = true;
        for (Control* control : controls_) control->keepDesign();
        for (Timer* timer : timers_) {
            timer->designInterval_ = timer->interval_;
            timer->designEnabled_ = timer->enabled_;
        }
    }
    peer_ = toolkit_.createPeer(*this);
    if (onLoad) onLoad();
    loaded_ = true;
}

void Window::show() {
    load();
    if (visible())
        notify(Change::Front);
    else
        setVisible(true);
}

void Window::hide() { setVisible(false); }

void Window::showModal() {
    load();
    toolkit_.runModal(*this);
}

void Window::unload() {
    if (!peer_) return;
    setVisible(false);
    loaded_ = false;
    toolkit_.discard(std::move(peer_));
    for (Control* control : controls_) control->restoreDesign();
    for (Timer* timer : timers_) {
        timer->interval_ = timer->designInterval_;
        timer->enabled_ = timer->designEnabled_;
    }
}

Hwnd Window::handle() const { return peer_ ? peer_->handle() : 0; }

int Window::scaleWidth() const { return peer_ ? peer_->clientWidth() : width(); }

int Window::scaleHeight() const { return peer_ ? peer_->clientHeight() : height(); }

void Window::setTopmost() {
    topmost_ = true;
    notify(Change::Topmost);
}

void Window::requestClose() {
    bool cancel = false;
    if (onQueryUnload) onQueryUnload(cancel);
    if (!cancel) unload();
}

namespace {

// The window's first button that is its default (or cancel) button and takes input.
Button* keyButton(const Window& window, bool cancel) {
    for (Control* control : window.controls()) {
        if (control->kind() != Kind::Button) continue;
        auto* button = static_cast<Button*>(control);
        if ((cancel ? button->isCancel() : button->isDefault()) && button->takesInput())
            return button;
    }
    return nullptr;
}

} // namespace

bool Window::pressDefault() {
    Button* button = keyButton(*this, false);
    if (button) button->click();
    return button != nullptr;
}

bool Window::pressCancel() {
    Button* button = keyButton(*this, true);
    if (button) button->click();
    return button != nullptr;
}

void Window::resized() {
    if (onResize) onResize();
}

void Window::mouseMoved(int x) {
    if (onMouseMove) onMouseMove(x);
}

void Window::sessionEnding() {
    if (onEndSession) onEndSession();
}

void Window::taskbarCreated() {
    if (onTaskbarCreated) onTaskbarCreated();
}

} // namespace zk::ui
