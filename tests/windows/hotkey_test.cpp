// The hotkeys of the real zuklapper.exe, pressed on the keyboard while another window is in
// front and the program is hidden.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

namespace {

// Wine takes the keyboard state from the X server a moment after the focus changes, which
// would undo modifiers pressed before that: the keys wait for it.
bool bringToFront(HWND window) {
    SetForegroundWindow(window);
    const bool front = waitUntil([&] { return GetForegroundWindow() == window; });
    Sleep(500);
    return front;
}

} // namespace

TEST(Hotkeys, F8TakesTheTitleShiftF8TheAddressAndCtrlF8Nothing) {
    Program program(std::nullopt, std::nullopt,
                    "[Webbrowser]\r\nBezeichnung=\"\" - Mozilla Firefox\"\"\r\n");
    const auto titles = [&] { return readFile(program.path("lstTitel.txt")); };
    const auto urls = [&] { return readFile(program.path("lstUrl.txt")); };
    FakeBrowser page({.cls = "MozillaWindowClass",
                      .title = "Seite - Mozilla Firefox",
                      .edits = {"http://seite.example/x"},
                      .ddeService = "mozilla",
                      .ddeReply = "\"http://seite.example/\",\"Seite\""});
    ASSERT_TRUE(bringToFront(page.hwnd()));
    typeKey(VK_F8, {VK_LCONTROL});
    Sleep(500);
    EXPECT_FALSE(titles());
    EXPECT_FALSE(program.shownWindow("Hinzuf\xFCgen", 0));

    typeKey(VK_F8, {VK_SHIFT});
    const HWND dialog = program.shownWindow("Hinzuf\xFCgen");
    ASSERT_TRUE(dialog) << "Shift+F8 opened no address dialog";
    EXPECT_EQ(controlText(findDescendant(dialog, "Edit")), "http://seite.example/");
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Enter and Escape in the field press no button.
    ASSERT_TRUE(bringToFront(dialog));
    typeKey(VK_RETURN);
    typeKey(VK_ESCAPE);
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(dialog));
    PostMessageA(findDescendant(dialog, "Button", "&OK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return urls() == quotedLines({"http://seite.example"}); }));
    EXPECT_TRUE(page.closed());

    FakeBrowser second({.cls = "MozillaWindowClass", .title = "Zweite - Mozilla Firefox"});
    ASSERT_TRUE(bringToFront(second.hwnd()));
    typeKey(VK_F8);
    EXPECT_TRUE(waitUntil([&] { return titles() == quotedLines({"Zweite"}); }));
    EXPECT_TRUE(second.closed());
    EXPECT_FALSE(IsWindowVisible(program.mainWindow()));
}
