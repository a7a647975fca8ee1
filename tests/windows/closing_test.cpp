// zuklapper.exe against browser-like windows that match or not, hang or ask back. The first
// test is `scripts/run --demo`: it says what happens to each window, with pictures.

#include "harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <list>

using namespace zkt;

namespace {

const std::string kBadUrl = "http://www.badsite.com/x";

struct Shown {
    FakeWindow window;
    bool closes = false;
    const char* why = nullptr;
};

} // namespace

TEST(Closing, MatchingBrowserWindowsCloseAndEverythingElseStays) {
    const std::string entry = "Werbung satt", other = "Gewinnspiel",
                      designation = " - Mozilla Firefox";
    const std::string titled = entry + designation;
    const Shown shown[] = {
        {{.title = "Nachrichten", .edits = {kBadUrl}}, true, "its address holds \"badsite\""},
        {{.cls = "MozillaWindowClass", .title = "Egal", .edits = {kBadUrl}, .nested = true},
         true,
         "so does its address field, deeper in the window"},
        {{.cls = "MozillaWindowClass", .title = titled},
         true,
         "its title is the title entry with the designation"},
        {{.title = other + designation, .edits = {"http://shop.example/"}},
         true,
         "so is its title, of the other title entry"},
        {{.cls = "MozillaWindowClass",
          .title = "Wetter" + designation,
          .edits = {"http://wetter.example/"}},
         false,
         "neither its title nor its address matches"},
        {{.title = entry}, false, "its title lacks the designation"},
        {{.title = entry + " - Opera"}, false, "its title has another designation"},
        {{.cls = "MozillaWindowClass", .title = "werbung satt" + designation},
         false,
         "its title differs in letter case"},
        {{.title = "Gross", .edits = {"http://www.BADSITE.com/x"}},
         false,
         "its address differs in letter case"},
        {{.title = "Zweites Feld", .edits = {"about:blank", kBadUrl}},
         false,
         "only its second address field matches"},
        {{.cls = "Notepad", .title = "badsite - Notizen", .edits = {kBadUrl}},
         false,
         "it is no browser window"},
        {{.cls = "IEFrame2", .title = "Fast ein Browser", .edits = {kBadUrl}},
         false,
         "its class only begins like a browser's"},
        {{.title = "Versteckt", .edits = {kBadUrl}, .visible = false}, false, "it is hidden"},
        {{.title = "Randlos", .edits = {kBadUrl}, .border = false}, false, "it has no border"},
        // Ignores every request, so each message the program sends shows up.
        {{.title = "Stur", .edits = {"http://stur.example/"}, .mode = "ignore"},
         false,
         "its address holds \"stur\", but it ignores every request to close"},
    };
    std::list<FakeBrowser> browsers;
    for (const Shown& s : shown) browsers.emplace_back(s.window);
    const FakeBrowser& stubborn = browsers.back();
    int place = 0; // side by side, for the pictures
    for (const FakeBrowser& browser : browsers) {
        SetWindowPos(browser.hwnd(), nullptr, 4 + 318 * (place % 4), 4 + 160 * (place / 4), 310,
                     150, SWP_NOZORDER | SWP_NOACTIVATE);
        ++place;
    }
    keepPicture(GetDesktopWindow(), "zuklapper-demo-vorher.png");
    std::printf("Zuklapper starts with the title entries \"%s\" and \"%s\", the URL entries "
                "\"badsite\" and \"stur\" and the designation \"%s\".\n",
                entry.c_str(), other.c_str(), designation.c_str());
    Program program({{entry, other}}, {{"badsite", "stur"}},
                    "[Webbrowser]\r\nBezeichnung=\"\"" + designation + "\"\"\r\n");

    auto window = browsers.begin();
    for (const Shown& s : shown) {
        EXPECT_TRUE(!s.closes || window->closed()) << s.window.title << ": " << s.why;
        ++window;
    }
    Sleep(1000); // scans enough for any mistake
    window = browsers.begin();
    for (const Shown& s : shown) {
        const bool open = IsWindow(window->hwnd());
        EXPECT_EQ(open, !s.closes) << s.window.title << ": " << s.why;
        EXPECT_TRUE(s.closes || window->untouched() || &*window == &stubborn)
            << s.window.title << ": " << s.why;
        std::printf("  %s \"%s\": %s\n", open ? "stayed" : "closed", s.window.title.c_str(), s.why);
        ++window;
    }
    EXPECT_TRUE(waitUntil([&] { return stubborn.count("close") >= 2; }))
        << "a window that stays open is asked again on later scans";
    EXPECT_GE(stubborn.count("syscommand"), 2);
    keepPicture(GetDesktopWindow(), "zuklapper-demo-nachher.png");
}

// A window that stops responding, and one that asks back, hold up neither other windows nor
// the program; the one asking gets WM_CLOSE only after its question, and nothing meanwhile.
TEST(Robustness, HungOrAskingWindowsHoldUpNothingAndWmCloseWaitsForTheQuestion) {
    Program program({{"Andere Seite", "zwei"}}, {{"haengt", "badsite"}});
    // Topmost, so it is the first one the program turns to.
    FakeBrowser hung({.title = "H\xE4ngt",
                      .edits = {"http://haengt.example/"},
                      .mode = "ignore",
                      .topmost = true});
    ASSERT_TRUE(waitUntil([&] { return hung.count("syscommand") > 0; }));
    hung.hang();
    for (const char* title : {"first", "second"}) {
        const FakeBrowser browser({.title = title, .edits = {kBadUrl}});
        EXPECT_TRUE(browser.closed()) << title << " was not closed";
        EXPECT_TRUE(program.pumpsMessages()) << "the program does not respond";
    }

    FakeBrowser asking({.title = "Fragt", .edits = {kBadUrl}, .mode = "ask"});
    ASSERT_TRUE(waitUntil([&] { return asking.count("question") == 1; }));
    const FakeBrowser other({.cls = "MozillaWindowClass", .title = "Andere Seite"});
    EXPECT_TRUE(other.closed());
    EXPECT_TRUE(program.pumpsMessages());
    Sleep(1000);
    EXPECT_EQ(asking.count("syscommand"), 1);
    EXPECT_EQ(asking.count("close"), 0) << "WM_CLOSE before SC_CLOSE was handled";
    // The user stays on the page: then comes WM_CLOSE, which asks again; then the user leaves.
    asking.answer(false);
    ASSERT_TRUE(waitUntil([&] { return asking.count("question") == 2; }));
    EXPECT_EQ(asking.count("syscommand"), 1);
    EXPECT_EQ(asking.count("close"), 1);
    EXPECT_EQ(asking.count("overtaken"), 0);
    asking.answer(true);
    EXPECT_TRUE(asking.closed());
    hung.resume();
    EXPECT_TRUE(program.pumpsMessages());
}
