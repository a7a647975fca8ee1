#pragma once

#include "platform/ui.h"

#include <array>
#include <bitset>
#include <string>

namespace zk::ui {

inline constexpr int kGridDays = 7;
inline constexpr int kGridSlots = 48; // half hours of a day

struct WeekGridArgs {
    Control* in = nullptr;
    std::string name;
    Geometry at = {};
    // The rows' names at their left, Monday first.
    std::array<std::string, kGridDays> days = {};
};

// A week of half hours: seven rows of 48 cells, each set or clear, under marks of the hours.
// A click turns a cell over. A drag gives every cell of the rectangle between the cell where it
// began and the cell under the mouse the opposite of that first cell's state; a cell that the
// rectangle leaves again gets back its state from before the drag.
class WeekGrid final : public Control {
public:
    using Cells = std::bitset<static_cast<std::size_t>(kGridDays) * kGridSlots>;
    static constexpr std::size_t index(int day, int slot) {
        return static_cast<std::size_t>(day) * kGridSlots + static_cast<std::size_t>(slot);
    }

    WeekGrid(Window& owner, WeekGridArgs args);
    Kind kind() const override { return Kind::WeekGrid; }
    const std::array<std::string, kGridDays>& days() const { return days_; }

    const Cells& cells() const { return cells_; }
    bool cell(int day, int slot) const { return cells_.test(index(day, slot)); }
    // Set by code: no event.
    void setCells(const Cells& cells);

    // The user presses the mouse button on a cell, moves it to other cells (beyond the grid:
    // to the nearest) and lets go. Each change of the cells raises onChange. A press while
    // the grid takes no input, or outside the cells, starts nothing.
    void press(int day, int slot);
    void dragTo(int day, int slot);
    void release() { dragging_ = false; }
    std::function<void()> onChange;

protected:
    void keepDesign() override;
    void restoreDesign() override;

private:
    std::array<std::string, kGridDays> days_;
    Cells cells_;
    Cells designCells_;
    Cells beforeDrag_;
    bool dragging_ = false;
    bool painting_ = false; // the state the drag gives
    int startDay_ = 0;
    int startSlot_ = 0;
};

} // namespace zk::ui
