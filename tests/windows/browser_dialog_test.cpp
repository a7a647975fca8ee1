// The dialog "Zuklapper Webbrowserauswahl" of the real zuklapper.exe.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

TEST(BrowserDialog, ACapturedDesignationIsStoredChosenByAClickAndCompletesTitleEntries) {
    Program program({{"Seite"}}, std::nullopt);
    program.showMainWindow();
    const HWND main = program.mainWindow();
    PostMessageA(findDescendant(main, "Button", "&Webbrowser"), BM_CLICK, 0, 0);
    const HWND dialog = program.shownWindow("Zuklapper Webbrowserauswahl");
    ASSERT_TRUE(dialog) << "no browser list dialog";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowEnabled(main)) << "modal";

    const HWND button = findDescendant(dialog, "Button", "&Hinzuf\xFCgen");
    const HWND list = findDescendant(dialog, "ListBox");
    ASSERT_TRUE(button && list);
    PostMessageA(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return windowText(button) == "&Abbrechen"; }));

    FakeBrowser page({.cls = "MozillaWindowClass", .title = "Neue Seite - Testbrowser"});
    ASSERT_TRUE(bringToFront(page.hwnd()));
    const auto designations = [&] { return readFile(program.path("Webbrowser.txt")).value_or(""); };
    EXPECT_TRUE(waitUntil([&] { return designations() == quotedLines({" - Testbrowser"}); }))
        << designations();
    ASSERT_EQ(query(list, LB_GETCOUNT), 1);

    // A click on the row chooses it.
    RECT row{};
    query(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    const auto config = [&] { return readFile(program.path("config.ini")).value_or(""); };
    EXPECT_TRUE(waitUntil([&] {
        return config() == // today's browsers on in a new folder
               "[Webbrowser]\r\nAktuelleBrowser=1\r\nBezeichnung=\"\" - Testbrowser\"\"\r\n";
    })) << config();
    EXPECT_TRUE(keepPicture(dialog, "zuklapper-webbrowser.png"));

    FakeBrowser titled({.title = "Seite - Testbrowser"});
    EXPECT_TRUE(titled.closed()) << "the title entry with the designation";
    EXPECT_TRUE(page.untouched());

    // A typed designation is stored as the dialog closes, and shown when it opens again.
    SendMessageA(findDescendant(dialog, "Edit"), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(" - Getippt"));
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(dialog) && IsWindowEnabled(main); }));
    EXPECT_NE(config().find("Bezeichnung=\"\" - Getippt\"\""), std::string::npos) << config();
    PostMessageA(findDescendant(main, "Button", "&Webbrowser"), BM_CLICK, 0, 0);
    const HWND again = program.shownWindow("Zuklapper Webbrowserauswahl");
    EXPECT_EQ(controlText(findDescendant(again, "Edit")), " - Getippt");
    PostMessageA(again, WM_CLOSE, 0, 0);
    // It is in force after a restart.
    ASSERT_TRUE(program.chooseFromMenu('S') && program.waitForEnd());
    ChildProcess restarted;
    ASSERT_EQ(restarted.start(program.path("zuklapper.exe"), program.folder()), 0u);
    FakeBrowser typed({.title = "Seite - Getippt"});
    EXPECT_TRUE(typed.closed(kStartMs));
}
