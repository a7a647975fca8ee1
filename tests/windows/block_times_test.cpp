// Block times, the counted pause and the log of the real zuklapper.exe, on today's date.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

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
        Sleep(1500);
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
    Sleep(1500);
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
