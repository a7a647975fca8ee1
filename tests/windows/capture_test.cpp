// Capturing entries from the window in front with the real zuklapper.exe.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

// The button, then the hotkeys while the program is hidden: F8 takes the title, Shift+F8 the
// address, Ctrl+F8 nothing.
TEST(Capture, TheButtonAndTheHotkeysTakeTheWindowInFront) {
    // Saved by Notepad as UTF-8 with a byte-order mark, and no line end after the last line.
    const std::string bom = "\xEF\xBB\xBF", groesse = "\"Gr\xC3\xB6\xC3\x9F"
                                                      "e\"";
    Program program(std::nullopt, std::nullopt,
                    "[Webbrowser]\r\nBezeichnung=\"\" - Testbrowser\"\"\r\n", bom + groesse);
    const auto titles = [&] { return readFile(program.path("lstTitel.txt")).value_or(""); };
    program.showMainWindow();
    const HWND main = program.mainWindow();
    const HWND button = findDescendant(main, "Button", "&Hinzuf\xFCgen");
    ASSERT_TRUE(button);
    PostMessageA(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return windowText(button) == "&Abbrechen"; }));
    Sleep(700); // armed, the capture waits while the main window is in front
    EXPECT_EQ(titles(), bom + groesse);
    EXPECT_TRUE(keepPicture(main, "zuklapper-hauptfenster-hinzufuegen.png"));

    // The new entry on a line of its own, in the file's encoding.
    FakeBrowser page({.cls = "MozillaWindowClass",
                      .title = "\xDC"
                               "bersicht - Testbrowser"});
    SetForegroundWindow(page.hwnd());
    std::string added = bom + groesse +
                        "\r\n\"\xC3\x9C"
                        "bersicht\"\r\n";
    EXPECT_TRUE(waitUntil([&] { return titles() == added; })) << titles();
    EXPECT_TRUE(page.closed()) << "the next close cycle uses the new entry";
    EXPECT_TRUE(waitUntil([&] { return windowText(button) == "&Hinzuf\xFCgen"; }));
    PostMessageA(main, WM_CLOSE, 0, 0);

    FakeBrowser seite({.cls = "MozillaWindowClass",
                       .title = "Seite - Mozilla Firefox",
                       .edits = {"http://seite.example/x"},
                       .ddeService = "mozilla",
                       .ddeReply = "\"http://seite.example/\",\"Seite\""});
    ASSERT_TRUE(bringToFront(seite.hwnd()));
    typeKey(VK_F8, {VK_LCONTROL});
    Sleep(500);
    EXPECT_EQ(titles(), added);
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
    EXPECT_TRUE(waitUntil([&] {
        return readFile(program.path("lstUrl.txt")) == quotedLines({"http://seite.example"});
    }));
    EXPECT_TRUE(seite.closed());

    FakeBrowser second({.cls = "MozillaWindowClass", .title = "Zweite - Testbrowser"});
    ASSERT_TRUE(bringToFront(second.hwnd()));
    typeKey(VK_F8);
    added += "\"Zweite\"\r\n";
    EXPECT_TRUE(waitUntil([&] { return titles() == added; })) << titles();
    EXPECT_TRUE(second.closed());
    EXPECT_FALSE(IsWindowVisible(main));
}
