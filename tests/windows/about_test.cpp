// The about box of the real zuklapper.exe, chosen in the tray's popup menu.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

TEST(About, InfoShowsTheBoxNotModalAndEscapeOrEnterCloseIt) {
    Program program(std::nullopt, std::nullopt);
    for (const WORD key : {WORD{VK_ESCAPE}, WORD{VK_RETURN}}) {
        const HWND box = program.chooseFromMenu('I') ? program.aboutBox() : nullptr;
        ASSERT_TRUE(box) << "no about box";
        EXPECT_TRUE(findDescendant(box, "Static", "Version: 1.08"));
        EXPECT_TRUE(findDescendant(box, "Static", "Hilfe.txt")) << "its link names the help file";
        EXPECT_EQ(GetWindow(box, GW_OWNER), program.mainWindow()) << "no task-bar button";
        EXPECT_TRUE(IsWindowEnabled(program.mainWindow())) << "not modal";
        EXPECT_TRUE(keepPicture(box, "zuklapper-info.png"));
        EXPECT_GT(countPixels(box, RGB(0, 0, 0x80)), 2 * 400) << "the two information symbols";
        EXPECT_GT(countPixels(box, RGB(0, 0, 0xFF)), 30) << "the blue link";
        SetForegroundWindow(box);
        waitUntil([&] { return GetForegroundWindow() == box; });
        typeKey(key);
        EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(box); }));
    }

    EXPECT_TRUE(program.running());
}
