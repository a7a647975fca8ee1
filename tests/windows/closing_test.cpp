// zuklapper.exe against browser-like windows: which ones it closes, which it leaves
// alone, and how it copes with windows that hang or ask back.

#include "harness.h"

#include <gtest/gtest.h>

#include <list>

using namespace zkt;

namespace {

const std::string kBadUrl = "http://www.badsite.com/x";
const std::string kBadTitle = "B\xF6se Seite"; // "Böse Seite" in the ANSI code page

} // namespace

TEST(Closing, MatchingWindowsOfBothBrowsersAreAskedToCloseAndClose) {
    // Title entries match with the browser designation from config.ini.
    Program program({{kBadTitle}}, {{"badsite", "stur"}},
                    "[Webbrowser]\r\nBezeichnung=\"\" - Opera\"\"\r\n");
    const std::string designated = kBadTitle + " - Opera";
    std::list<FakeBrowser> closing;
    closing.emplace_back(FakeWindow{.id = "url-ie", .title = "Irgendwas", .edits = {kBadUrl}});
    closing.emplace_back(FakeWindow{.id = "url-moz-nested",
                                    .cls = "MozillaWindowClass",
                                    .title = "Egal",
                                    .edits = {"https://badsite.org/"},
                                    .nested = true});
    closing.emplace_back(
        FakeWindow{.id = "title-moz", .cls = "MozillaWindowClass", .title = designated});
    closing.emplace_back(
        FakeWindow{.id = "title-ie", .title = designated, .edits = {"http://harmlos.de/"}});
    FakeBrowser bare({.title = kBadTitle});
    FakeBrowser otherBrowser({.title = kBadTitle + " - Mozilla"});
    // Ignores every request, so each message the program sends shows up.
    FakeBrowser stubborn({.title = "Stur", .edits = {"http://stur.example/"}, .mode = "ignore"});

    for (const FakeBrowser& browser : closing)
        EXPECT_TRUE(browser.closed()) << windowText(browser.hwnd()) << " was not closed";
    EXPECT_TRUE(waitUntil([&] { return stubborn.count("close") >= 2; }))
        << "a window that stays open is asked again on later scans";
    EXPECT_GE(stubborn.count("syscommand"), 2);
    EXPECT_TRUE(bare.untouched()) << "a title without the designation";
    EXPECT_TRUE(otherBrowser.untouched()) << "a title with another designation";
    EXPECT_TRUE(program.running());
}

TEST(LeftAlone, WindowsOutsideTheScanOrNotMatchingExactly) {
    Program program({{kBadTitle}}, {{"badsite"}});
    const FakeWindow spared[] = {
        {.id = "hidden", .title = "Versteckt", .edits = {kBadUrl}, .visible = false},
        {.id = "borderless", .title = "Randlos", .edits = {kBadUrl}, .border = false},
        {.id = "other-class", .cls = "IEFrame2", .title = kBadTitle, .edits = {kBadUrl}},
        {.id = "url-case", .title = "Gross", .edits = {"http://www.BADSITE.com/x"}},
        {.id = "title-case", .cls = "MozillaWindowClass", .title = "b\xF6se Seite"},
        {.id = "title-longer", .cls = "MozillaWindowClass", .title = kBadTitle + " "},
        {.id = "url-in-second-edit", .title = "Zweites Feld", .edits = {"about:blank", kBadUrl}},
    };
    std::list<FakeBrowser> browsers;
    for (const FakeWindow& window : spared) browsers.emplace_back(window);

    // A matching window shows that the program is scanning; then watch for a second.
    FakeBrowser canary({.title = "Kanarienvogel", .edits = {kBadUrl}});
    ASSERT_TRUE(canary.closed());
    Sleep(1000);
    auto window = std::begin(spared);
    for (const FakeBrowser& browser : browsers) {
        EXPECT_TRUE(browser.untouched()) << window->id;
        ++window;
    }
}

TEST(Robustness, HungWindowHoldsUpNeitherOtherWindowsNorTheProgram) {
    Program program({{"eins", "zwei"}}, {{"haengt", "badsite"}});
    // Topmost, so it is the first one the program turns to.
    FakeBrowser hung({.title = "H\xE4ngt",
                      .edits = {"http://haengt.example/"},
                      .mode = "ignore",
                      .topmost = true});
    ASSERT_TRUE(waitUntil([&] { return hung.count("syscommand") > 0; }));
    hung.hang();

    for (const char* title : {"first", "second"}) {
        FakeBrowser browser({.title = title, .edits = {kBadUrl}});
        EXPECT_TRUE(browser.closed()) << title << " was not closed";
        EXPECT_TRUE(program.pumpsMessages()) << "the program does not respond";
    }
    hung.resume();
    EXPECT_TRUE(program.pumpsMessages());
}

TEST(Robustness, WindowAskingBackGetsWmCloseOnlyAfterItsQuestionAndNothingMeanwhile) {
    Program program({{"Andere Seite", "zwei"}}, {{"badsite"}});
    FakeBrowser asking({.title = "Fragt", .edits = {kBadUrl}, .mode = "ask"});
    ASSERT_TRUE(waitUntil([&] { return asking.count("question") == 1; }));

    // The open question holds up neither the program nor the closing of other windows.
    FakeBrowser other({.cls = "MozillaWindowClass", .title = "Andere Seite"});
    EXPECT_TRUE(other.closed());
    EXPECT_TRUE(program.pumpsMessages());
    Sleep(1000);
    EXPECT_EQ(asking.count("syscommand"), 1);
    EXPECT_EQ(asking.count("close"), 0) << "WM_CLOSE before SC_CLOSE was handled";

    // The user stays on the page: then comes WM_CLOSE, which asks again. Then the user
    // leaves the page.
    asking.answer(false);
    ASSERT_TRUE(waitUntil([&] { return asking.count("question") == 2; }));
    EXPECT_EQ(asking.count("syscommand"), 1);
    EXPECT_EQ(asking.count("close"), 1);
    EXPECT_EQ(asking.count("overtaken"), 0);
    asking.answer(true);
    EXPECT_TRUE(asking.closed());
}
