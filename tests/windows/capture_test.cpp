// Capturing entries from the window in front with the real zuklapper.exe.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

// The buttons, then the hotkeys while the program is hidden: a press of F8 takes the title
// once, Shift+F8 the address, Ctrl+F8 nothing. In the address dialog Enter confirms.
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

    // Typed in through "&Eingeben" and confirmed with Enter, an entry closes its window.
    PostMessageA(findDescendant(main, "Button", "&Eingeben"), BM_CLICK, 0, 0);
    const HWND typing = program.shownWindow("Hinzuf\xFCgen");
    ASSERT_TRUE(typing && findDescendant(typing, "Static", "Titel:"));
    const HWND field = findDescendant(typing, "Edit");
    EXPECT_EQ(controlText(field), "");
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Getippt"));
    EXPECT_TRUE(keepPicture(typing, "zuklapper-hinzufuegen-titel.png"));
    ASSERT_TRUE(bringToFront(typing));
    typeKey(VK_RETURN);
    added += "\"Getippt\"\r\n";
    EXPECT_TRUE(waitUntil([&] { return titles() == added; })) << titles();
    EXPECT_TRUE(
        FakeBrowser({.cls = "MozillaWindowClass", .title = "Getippt - Testbrowser"}).closed());
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
    ASSERT_TRUE(bringToFront(dialog));
    typeKey(VK_RETURN);
    const auto urls = [&] { return readFile(program.path("lstUrl.txt")).value_or(""); };
    EXPECT_TRUE(waitUntil([&] { return urls() == quotedLines({"http://seite.example"}); }));
    EXPECT_TRUE(seite.closed());

    // Over a window whose title names no browser, no browser is asked, not even one that
    // would answer: the field starts empty. Escape leaves it.
    FakeBrowser other({.cls = "MozillaWindowClass",
                       .title = "Andere - Mozilla Firefox",
                       .ddeService = "mozilla",
                       .ddeReply = "\"http://andere.example/\",\"Andere\""});
    FakeBrowser notes({.cls = "Notepad", .title = "Notizen - Editor"});
    ASSERT_TRUE(bringToFront(notes.hwnd()));
    typeKey(VK_F8, {VK_SHIFT});
    const HWND empty = program.shownWindow("Hinzuf\xFCgen");
    ASSERT_TRUE(empty) << "Shift+F8 opened no address dialog";
    EXPECT_EQ(controlText(findDescendant(empty, "Edit")), "");
    EXPECT_EQ(other.count("ddeRequest"), 0);
    ASSERT_TRUE(bringToFront(empty));
    typeKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(empty); }));
    EXPECT_EQ(urls(), quotedLines({"http://seite.example"}));

    // Held over several polls, F8 takes the title once and says nothing.
    FakeBrowser second({.cls = "MozillaWindowClass", .title = "Zweite - Anderer Browser"});
    ASSERT_TRUE(bringToFront(second.hwnd()));
    typeKey(VK_F8, {}, 250);
    added += "\"Zweite\"\r\n";
    EXPECT_TRUE(waitUntil([&] { return titles() == added; })) << titles();
    EXPECT_FALSE(program.shownWindow("Zuklapper", 500)) << "a message after one press";
    EXPECT_FALSE(IsWindowVisible(main));
}
