#include "platform/ui.h"

#include <algorithm>

namespace zk::ui {

Control::Control(Window& owner, Control* container, std::string name, Geometry geometry,
                 std::string caption)
    : owner_(owner), container_(container), name_(std::move(name)), geometry_(geometry),
      caption_(std::move(caption)) {
    if (this != &owner) owner.adopt(*this);
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

Button::Button(Window& owner, Control* container, std::string name, Geometry geometry,
               std::string caption)
    : Control(owner, container, std::move(name), geometry, std::move(caption)) {}

void Button::click() {
    if (onClick) onClick();
}

OptionButton::OptionButton(Window& owner, Control* container, std::string name,
                           Geometry geometry, std::string caption)
    : Control(owner, container, std::move(name), geometry, std::move(caption)) {}

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

ListBox::ListBox(Window& owner, Control* container, std::string name, Geometry geometry,
                 bool sorted)
    : Control(owner, container, std::move(name), geometry), sorted_(sorted) {}

int ListBox::sortedPlace(std::string_view text) const {
    if (!sorted_) return listCount();
    Toolkit& toolkit = owner().toolkit();
    auto place = std::upper_bound(items_.begin(), items_.end(), text,
                                  [&](std::string_view a, const std::string& b) {
                                      return toolkit.compareText(a, b) < 0;
                                  });
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
        std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
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
    if (onKeyDown) onKeyDown(keyCode, shift);
}

Timer::Timer(Window& owner, std::string name, int intervalMs, bool enabled)
    : owner_(owner), name_(std::move(name)), interval_(intervalMs), enabled_(enabled) {
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

Window::Window(Toolkit& toolkit, std::string name, std::string caption, int clientWidth,
               int clientHeight, BorderStyle border)
    : Control(*this, nullptr, std::move(name), Geometry{0, 0, clientWidth, clientHeight},
              std::move(caption)),
      toolkit_(toolkit), border_(border) {
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
    peer_ = toolkit_.createPeer(*this);
    if (onLoad) onLoad();
    loaded_ = true;
}

void Window::show() {
    load();
    setVisible(true);
}

void Window::hide() { setVisible(false); }

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
    if (!cancel) hide();
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
