// Block times of the real zuklapper.exe: its dialog, opened through the tray's popup menu, and
// the block, the counted pause and the log on today's date.

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

namespace {

const char* const kDays[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};

std::string blockedOn(int fromDay, int toDay) {
    return std::string("[Sperrzeiten]\r\nZeiten=") + kDays[fromDay % 7] + "-" + kDays[toDay % 7] +
           " 00:00-24:00\r\n";
}

} // namespace

TEST(BlockTimes, AListedWindowClosesOnlyWithinThemAndAfterAPauseEachCloseLogged) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int today = (now.wDayOfWeek + 6) % 7; // Monday first
    const FakeWindow listed{.title = "Gesperrt", .edits = {"http://sperre.example/"}};
    {
        Program free(std::nullopt, {{"sperre.example"}}, blockedOn(today + 1, today + 6));
        ASSERT_TRUE(free.mainWindow());
        FakeBrowser page(listed);
        Sleep(1000);
        EXPECT_TRUE(page.untouched()) << "closed outside its block times";
        ASSERT_TRUE(free.chooseFromMenu('S') && free.waitForEnd());
    }
    // Today and tomorrow, should the test run at midnight.
    Program blocked(std::nullopt, {{"sperre.example"}}, blockedOn(today, today + 1));
    FakeBrowser first(listed);
    EXPECT_TRUE(first.closed(kStartMs));

    // In a pause the icon is grey.
    const int coloured = trayIconPixels();
    ASSERT_TRUE(blocked.chooseFromMenu('P'));
    EXPECT_TRUE(waitUntil([&] { return trayIconPixels() < coloured; })) << coloured;
    keepPicture(FindWindowA("__winex11_standalone_tray", nullptr), "zuklapper-symbol-pause.png");
    FakeBrowser second(listed);
    Sleep(1000);
    EXPECT_TRUE(second.untouched()) << "closed in a pause";
    char date[16];
    wsprintfA(date, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    EXPECT_NE(readFile(blocked.path("config.ini"))
                  .value_or("")
                  .find(std::string("PausenGenommen=") + date + " 1"),
              std::string::npos);
    ASSERT_TRUE(blocked.chooseFromMenu('B')); // "Pause &beenden"
    EXPECT_TRUE(second.closed());

    const std::string log = readFile(blocked.path("Protokoll.txt")).value_or("");
    const std::string line = "\tFenster\tUrl\tsperre.example\tbrowser_fixture.exe\tGesperrt\t"
                             "http://sperre.example/\r\n";
    ASSERT_TRUE(log.starts_with("\xEF\xBB\xBF")) << log;
    EXPECT_EQ(log.size(), 3 + 2 * (19 + line.size())) << log;
    EXPECT_NE(log.find(std::string(date) + " "), std::string::npos) << log;
    EXPECT_NE(log.find(line), log.rfind(line)) << log;
}
