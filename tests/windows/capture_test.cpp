// Capturing entries from the window in front with the real zuklapper.exe.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

TEST(Capture, TheButtonTakesTheTitleOfTheWindowBroughtToTheFront) {
    Program program({{"alt"}}, std::nullopt, "[Webbrowser]\r\nBezeichnung=\"\" - Testbrowser\"\"\r\n");
    program.showMainWindow();
    const HWND main = program.mainWindow();
    const HWND button = findDescendant(main, "Button", "&Hinzuf\xFCgen");
    ASSERT_TRUE(button);
    PostMessageA(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return windowText(button) == "&Abbrechen"; }));
    Sleep(700); // armed, the capture waits while the main window is in front
    EXPECT_EQ(readFile(program.path("lstTitel.txt")), quotedLines({"alt"}));
    EXPECT_TRUE(Screenshot(main).keep("zuklapper-hauptfenster-hinzufuegen.png"));

    FakeBrowser page({.cls = "MozillaWindowClass", .title = "Neue Seite - Testbrowser"});
    SetForegroundWindow(page.hwnd());
    EXPECT_TRUE(waitUntil([&] {
        return readFile(program.path("lstTitel.txt")) == quotedLines({"alt", "Neue Seite"});
    })) << *readFile(program.path("lstTitel.txt"));
    EXPECT_TRUE(page.closed()) << "the next close cycle uses the new entry";
    EXPECT_TRUE(waitUntil([&] { return windowText(button) == "&Hinzuf\xFCgen"; }));
}
