#include "engine/scan.h"
#include "platform/sim/sim_desktop.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

using sim::BROWSER_STYLE;
using sim::SimDesktop;

std::vector<BrowserWindow> scan(SimDesktop& desktop, Hwnd mainWindow = 0) {
    std::vector<BrowserWindow> rows{{"stale", "stale", 99}};
    Browserfenster_suchen(desktop, mainWindow, rows);
    return rows;
}

TEST(Scan, RecordsVisibleBorderedBrowserWindowsInZOrder) {
    SimDesktop desktop;
    const Hwnd ie1 = desktop.openBrowser("IEFrame", "Eins", "http://eins/");
    desktop.open("Notepad", "Editor");
    const Hwnd moz = desktop.openBrowser("MozillaWindowClass", "Zwei", "http://zwei/");
    const Hwnd ie2 = desktop.openBrowser("IEFRAME", "Drei", nullptr);

    const auto rows = scan(desktop);
    ASSERT_EQ(rows.size(), 3u); // no blank slot at either end
    EXPECT_EQ(rows[0].hWnd, ie2);
    EXPECT_EQ(rows[0].Url, ""); // no EDIT descendant
    EXPECT_EQ(rows[1].hWnd, moz);
    EXPECT_EQ(rows[1].Title, "Zwei");
    EXPECT_EQ(rows[1].Url, "http://zwei/");
    EXPECT_EQ(rows[2].hWnd, ie1);

    desktop.bringToTop(ie1);
    EXPECT_EQ(scan(desktop)[0].hWnd, ie1);
}

TEST(Scan, LeavesOutWhatIsNotAVisibleBorderedTitledBrowserWindow) {
    SimDesktop desktop;
    desktop.open("IEFrame", "versteckt", BROWSER_STYLE & ~WS_VISIBLE_BIT);
    desktop.open("IEFrame", "randlos", BROWSER_STYLE & ~WS_BORDER_BIT);
    desktop.open("IEFrame", "");
    desktop.open("IEFrame2", "andere Klasse");
    desktop.open("XIEFrame", "andere Klasse");
    desktop.open("MozillaWindowClassX", "andere Klasse");
    const Hwnd own = desktop.open("IEFrame", "eigenes Fenster");
    EXPECT_TRUE(scan(desktop, own).empty());

    desktop.open("iefRAME", "Treffer");
    EXPECT_EQ(scan(desktop, own).size(), 1u);
}

TEST(Scan, ReadsTheFirstEditDescendantInEnumerationOrderWithoutWaiting) {
    SimDesktop desktop;
    const Hwnd browser = desktop.open("MozillaWindowClass", "Seite");
    const Hwnd bar = desktop.addChild(browser, "ToolbarWindow32");
    desktop.addChild(bar, "Static", "kein Edit");
    desktop.addChild(desktop.addChild(bar, "ComboBox"), "edit", "erstes");
    desktop.addChild(browser, "EDIT", "zweites");
    desktop.addChild(browser, "RichEdit20A", "kein Edit");
    EXPECT_EQ(Adresse_lesen(desktop, browser), "erstes");
    EXPECT_EQ(scan(desktop).at(0).Url, "erstes");

    // A hung browser gives an empty address but stays listed.
    desktop.openBrowser("IEFrame", "Haengt", "http://haengt/", sim::OnClose::Hang);
    const auto rows = scan(desktop);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Title, "Haengt");
    EXPECT_EQ(rows[0].Url, "");
}

} // namespace
} // namespace zk
