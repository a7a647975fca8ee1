// The dialog "Sperrzeiten" of the real zuklapper.exe, opened through the tray's popup menu.

#include "harness.h"
#include "schedule/block_times.h"

#include <gtest/gtest.h>

using namespace zkt;

// The mouse, dragged over the grid, rewrites the line, which "&OK" stores.
TEST(BlockTimesDialog, AMouseDragOverTheGridRewritesTheLineWhichOkStores) {
    Program program(std::nullopt, std::nullopt, "[Sperrzeiten]\r\nZeiten=Sa 10:00-12:00\r\n");
    const HWND dialog = program.chooseFromMenu('Z') ? program.shownWindow("Sperrzeiten") : nullptr;
    ASSERT_TRUE(dialog) << "no dialog \"Sperrzeiten\"";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow()) << "no task-bar button";
    EXPECT_FALSE(IsWindowEnabled(program.mainWindow())) << "not modal";
    const HWND grid = findDescendant(dialog, "ZuklapperWeekGrid");
    const HWND line = findDescendant(dialog, "Edit");
    ASSERT_TRUE(grid && line);
    EXPECT_EQ(controlText(line), "Sa 10:00-12:00");

    // The middle of a cell, at 96 DPI: right of the day names (420 twips, 28 pixels), below the
    // hour marks (255 twips, 17 pixels).
    RECT area{};
    GetClientRect(grid, &area);
    const auto at = [&](int day, int slot) {
        return MAKELPARAM(28 + (2 * slot + 1) * (area.right - 29) / 96,
                          17 + (2 * day + 1) * (area.bottom - 18) / 14);
    };
    PostMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, at(0, 16));
    PostMessageA(grid, WM_MOUSEMOVE, MK_LBUTTON, at(3, 25));
    PostMessageA(grid, WM_MOUSEMOVE, MK_LBUTTON, at(1, 19));
    PostMessageA(grid, WM_LBUTTONUP, 0, at(1, 19));
    zk::BlockWeek wanted = *zk::parseBlockTimes("Sa 10:00-12:00").week;
    for (const int day : {0, 1}) wanted.set(day * 1440 + 480, day * 1440 + 600, true);
    EXPECT_TRUE(waitUntil([&] { return zk::parseBlockTimes(controlText(line)).week == wanted; }))
        << controlText(line);

    const std::string shown = controlText(line);
    PostMessageA(findDescendant(dialog, "Button", "&OK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(dialog); }));
    EXPECT_EQ(readFile(program.path("config.ini")), "[Sperrzeiten]\r\nZeiten=" + shown + "\r\n");
}
