#include "platform/week_grid.h"

#include <algorithm>

namespace zk::ui {

WeekGrid::WeekGrid(Window& owner, WeekGridArgs args)
    : Control(owner, {.in = args.in, .name = std::move(args.name), .at = args.at}),
      days_(std::move(args.days)) {}

void WeekGrid::setCells(const Cells& cells) {
    if (cells == cells_) return;
    cells_ = cells;
    notify(Change::Value);
}

void WeekGrid::press(int day, int slot) {
    if (!takesInput() || day < 0 || day >= kGridDays || slot < 0 || slot >= kGridSlots) return;
    dragging_ = true;
    beforeDrag_ = cells_;
    painting_ = !cell(day, slot);
    startDay_ = day;
    startSlot_ = slot;
    dragTo(day, slot);
}

void WeekGrid::dragTo(int day, int slot) {
    if (!dragging_) return;
    day = std::clamp(day, 0, kGridDays - 1);
    slot = std::clamp(slot, 0, kGridSlots - 1);
    Cells next = beforeDrag_;
    for (int d = std::min(day, startDay_); d <= std::max(day, startDay_); ++d)
        for (int s = std::min(slot, startSlot_); s <= std::max(slot, startSlot_); ++s)
            next.set(index(d, s), painting_);
    if (next == cells_) return;
    cells_ = next;
    notify(Change::Value);
    if (onChange) onChange();
}

void WeekGrid::keepDesign() {
    Control::keepDesign();
    designCells_ = cells_;
}

void WeekGrid::restoreDesign() {
    Control::restoreDesign();
    cells_ = designCells_;
    dragging_ = false;
}

} // namespace zk::ui
