// Today's browsers, switched on through the menu: fixtures named chrome.exe, msedge.exe and
// firefox.exe with accessibility trees shaped as theirs, and a page never to be walked.

#include "harness.h"

#include <gtest/gtest.h>

#include <list>

using namespace zkt;

namespace {

constexpr const char* kChromium = "Chrome_WidgetWin_1";
constexpr const char* kFirefox = "MozillaWindowClass";

// A window of the program's name whose accessibility tree shows the address, if one is given.
FakeWindow today(const char* cls, const char* program, const std::string& title,
                 std::optional<std::string> address = std::nullopt, bool utf8Title = false) {
    return {.cls = cls,
            .title = title,
            .program = program,
            .utf8Title = utf8Title,
            .accessibleAddress = std::move(address)};
}

} // namespace

TEST(TodaysBrowsers, SwitchedOnTheyCloseByTheirShownAddressAndTitleAndNothingElseIsTouched) {
    // Edge's title holds a zero-width space, which the ANSI title shows as "?".
    Program program({{"B\xF6se Seite", "zwei"}}, {{"https://www.badsite.com", "haengt.example"}},
                    "[Webbrowser]\r\nBezeichnung=\"\" - Microsoft? Edge\"\"\r\n");
    const std::string edge = "B\xC3\xB6se Seite - Microsoft\xE2\x80\x8B Edge";
    std::list<FakeBrowser> closing, staying;
    for (const FakeWindow& window :
         {today(kChromium, "chrome.exe", "Nachrichten - Google Chrome", "badsite.com/x"),
          today(kChromium, "msedge.exe", edge, "example.org", true),
          today(kFirefox, "firefox.exe", "Seite \x97 Mozilla Firefox",
                "https://www.badsite.com/y")})
        closing.emplace_back(window);
    // Electron with Chromium's class, a browser with no tree, and one whose page would match.
    for (const FakeWindow& window : {today(kChromium, "code.exe", edge, "badsite.com", true),
                                     today(kChromium, "chrome.exe", "Ohne - Google Chrome")})
        staying.emplace_back(window);
    const FakeBrowser& harmless =
        staying.emplace_back(today(kChromium, "brave.exe", "Suche - Brave", "x.de"));
    FakeBrowser hung(today(kChromium, "chrome.exe", "H\xE4ngt - Google Chrome", "haengt.example"));
    hung.hang();
    Sleep(1000);
    for (const auto* browsers : {&closing, &staying})
        for (const FakeBrowser& browser : *browsers) EXPECT_TRUE(browser.untouched()) << "off";

    ASSERT_TRUE(program.chooseFromMenu('C'));
    EXPECT_TRUE(waitUntil([&] {
        return readFile(program.path("config.ini")).value_or("").find("AktuelleBrowser=1") !=
               std::string::npos;
    }));
    const HWND menu = program.openMenu(); // with its check mark
    ASSERT_TRUE(menu);
    EXPECT_TRUE(keepPicture(menu, "zuklapper-menue-aktuelle-browser.png"));
    typeKey(VK_ESCAPE);
    for (const FakeBrowser& browser : closing) EXPECT_TRUE(browser.closed());
    EXPECT_TRUE(program.pumpsMessages()) << "held up by the hung browser";
    Sleep(500);
    for (const FakeBrowser& browser : staying) EXPECT_TRUE(browser.untouched());
    EXPECT_EQ(harmless.count("pageWalk"), 0) << "the walk looked into the page";
    hung.resume();
    EXPECT_TRUE(hung.closed());
}

TEST(TodaysBrowsers, CaptureTakesTheShownAddressAndTheTitlesAsShownAndFensterListsTheWindows) {
    Program program(
        std::nullopt, std::nullopt,
        "[Webbrowser]\r\nAktuelleBrowser=1\r\nBezeichnung=\"\" - Microsoft? Edge\"\"\r\n");
    FakeBrowser firefox(
        today(kFirefox, "firefox.exe", "Artikel \x97 Mozilla Firefox", "https://seite.example/"));
    FakeBrowser chrome(today(kChromium, "chrome.exe", "Neu - Google Chrome", "neu.example/p"));
    FakeBrowser edge(
        today(kChromium, "msedge.exe", "Seite - Microsoft\xE2\x80\x8B Edge", "edge.example", true));
    Sleep(500); // the reads of all three have come in

    // /fenster, beside the running copy: the inventory, as the close cycle sees it.
    ChildProcess lister;
    ASSERT_EQ(lister.start(program.path("zuklapper.exe"), program.folder(), {"/fenster"}), 0u);
    EXPECT_TRUE(waitUntil([&] { return !lister.running(); }));
    const std::string listed = readFile(program.path("Fenster.txt")).value_or("");
    for (const char* line : {"\"Chrome_WidgetWin_1\",\"chrome.exe\",\"Neu - Google Chrome\","
                             "\"neu.example/p\"\r\n",
                             "\"MozillaWindowClass\",\"firefox.exe\",\"Artikel \x97 Mozilla "
                             "Firefox\",\"https://seite.example/\"\r\n"})
        EXPECT_NE(listed.find(line), std::string::npos) << listed;

    program.armAddressCapture();
    SetForegroundWindow(chrome.hwnd());
    const HWND dialog = program.shownWindow("Hinzuf\xFCgen");
    ASSERT_TRUE(dialog) << "no address dialog";
    EXPECT_EQ(controlText(findDescendant(dialog, "Edit")), "neu.example/p");
    PostMessageA(findDescendant(dialog, "Button", "&OK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(chrome.closed());
    EXPECT_EQ(readFile(program.path("lstUrl.txt")), quotedLines({"neu.example/p"}));

    // With Edge's zero-width space as "?", entry and designation give the title again.
    const HWND main = program.mainWindow();
    PostMessageA(findDescendant(main, "Button", "Titelliste"), BM_CLICK, 0, 0);
    PostMessageA(findDescendant(main, "Button", "&Hinzuf\xFCgen"), BM_CLICK, 0, 0);
    Sleep(300);
    SetForegroundWindow(edge.hwnd());
    EXPECT_TRUE(edge.closed());
    EXPECT_EQ(readFile(program.path("lstTitel.txt")), quotedLines({"Seite"}));

    // Firefox's title is cut at its em dash.
    PostMessageA(findDescendant(main, "Button", "&Hinzuf\xFCgen"), BM_CLICK, 0, 0);
    Sleep(300);
    SetForegroundWindow(firefox.hwnd());
    EXPECT_TRUE(waitUntil([&] {
        return readFile(program.path("lstTitel.txt")) == quotedLines({"Seite", "Artikel"});
    })) << *readFile(program.path("lstTitel.txt"));
}
