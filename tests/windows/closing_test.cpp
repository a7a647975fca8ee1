// zuklapper.exe against browser-like windows: which ones it closes, which it leaves
// alone, and how it copes with windows that hang or ask back.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

namespace {

const std::string kBadUrl = "http://www.badsite.com/x";
const std::string kBadTitle = "B\xF6se Seite"; // "Böse Seite" in the ANSI code page

// The close requests a window received, in order, as "syscommand:ext" or "close:own".
std::vector<std::string> closeRequests(const Fixture& fixture, const std::string& id) {
    std::vector<std::string> out;
    for (const Event& e : fixture.events(id))
        if (e.name == "syscommand" || e.name == "close") out.push_back(e.name + ":" + e.detail);
    return out;
}

int requestsFromProgram(const Fixture& fixture, const std::string& id) {
    int n = 0;
    for (const std::string& r : closeRequests(fixture, id)) n += r.ends_with(":ext");
    return n;
}

} // namespace

TEST(Closing, MatchingWindowsOfBothBrowsersAreAskedToCloseAndClose) {
    Program program({{kBadTitle}}, {{"badsite", "stur"}});
    Fixture fixture;
    fixture.open({.id = "url-ie", .title = "Irgendwas", .edits = {kBadUrl}});
    fixture.open({.id = "url-moz-nested", .cls = "MozillaWindowClass", .title = "Egal",
                  .edits = {"https://badsite.org/"}, .nested = true});
    fixture.open({.id = "title-moz", .cls = "MozillaWindowClass", .title = kBadTitle});
    fixture.open({.id = "title-ie", .title = kBadTitle, .edits = {"http://harmlos.de/"}});
    // Ignores every request, so each message the program sends shows up.
    fixture.open({.id = "stubborn", .title = "Stur", .edits = {"http://stur.example/"},
                  .mode = "ignore"});

    for (const char* id : {"url-ie", "url-moz-nested", "title-moz", "title-ie"}) {
        EXPECT_TRUE(fixture.waitFor("destroyed", id)) << id << " was not closed";
        auto requests = closeRequests(fixture, id);
        ASSERT_FALSE(requests.empty()) << id;
        EXPECT_EQ(requests[0], "syscommand:ext") << id;
    }
    ASSERT_TRUE(waitUntil([&] { return requestsFromProgram(fixture, "stubborn") >= 4; }))
        << "a window that stays open is asked again on later scans";
    auto requests = closeRequests(fixture, "stubborn");
    EXPECT_EQ(std::vector<std::string>(requests.begin(), requests.begin() + 4),
              (std::vector<std::string>{"syscommand:ext", "close:ext", "syscommand:ext",
                                        "close:ext"}));
    EXPECT_TRUE(program.running());
}

TEST(LeftAlone, WindowsOutsideTheScanOrNotMatchingExactly) {
    Program program({{kBadTitle}}, {{"badsite"}});
    Fixture fixture;
    const std::vector<WindowSpec> spared = {
        {.id = "untitled", .edits = {kBadUrl}},
        {.id = "hidden", .title = "Versteckt", .edits = {kBadUrl}, .visible = false},
        {.id = "borderless", .title = "Randlos", .edits = {kBadUrl}, .border = false},
        {.id = "other-class", .cls = "IEFrame2", .title = kBadTitle, .edits = {kBadUrl}},
        {.id = "notepad", .cls = "Notepad", .title = kBadTitle, .edits = {kBadUrl}},
        {.id = "url-case", .title = "Gross", .edits = {"http://www.BADSITE.com/x"}},
        {.id = "title-case", .cls = "MozillaWindowClass", .title = "b\xF6se Seite"},
        {.id = "title-longer", .cls = "MozillaWindowClass", .title = kBadTitle + " "},
        {.id = "url-in-title", .title = "badsite"},
        {.id = "url-in-second-edit", .title = "Zweites Feld", .edits = {"about:blank", kBadUrl}},
    };
    for (const WindowSpec& spec : spared) ASSERT_TRUE(fixture.open(spec)) << spec.id;

    // A matching window shows that the program is scanning; then watch for a second.
    fixture.open({.id = "canary", .title = "Kanarienvogel", .edits = {kBadUrl}});
    ASSERT_TRUE(fixture.waitFor("destroyed", "canary"));
    Sleep(1000);
    for (const WindowSpec& spec : spared)
        EXPECT_EQ(closeRequests(fixture, spec.id), std::vector<std::string>{}) << spec.id;
}

TEST(Robustness, HungWindowHoldsUpNeitherOtherWindowsNorTheProgram) {
    Program program({{"eins", "zwei"}}, {{"haengt", "badsite"}});
    Fixture hanging;
    // Topmost and first in the list, so it is the first one the program turns to.
    hanging.open({.id = "hung", .title = "H\xE4ngt", .edits = {"http://haengt.example/"},
                  .mode = "ignore", .topmost = true});
    ASSERT_TRUE(hanging.waitFor("syscommand", "hung"));
    hanging.send("hang 0");
    ASSERT_TRUE(hanging.waitFor("hung"));

    Fixture responsive;
    for (const char* id : {"first", "second"}) {
        responsive.open({.id = id, .title = id, .edits = {kBadUrl}});
        EXPECT_TRUE(responsive.waitFor("destroyed", id))
            << id << " was not closed:" << responsive.log() << hanging.log();
        EXPECT_TRUE(program.handlesInput()) << "the program does not respond";
    }
    hanging.send("resume");
    ASSERT_TRUE(hanging.waitFor("resumed"));
    EXPECT_TRUE(program.handlesInput());
}

TEST(Robustness, WindowAskingBackIsNotAskedAgainWhileItsQuestionIsOpen) {
    Program program({{"Andere Seite", "zwei"}}, {{"badsite"}});
    Fixture fixture;
    fixture.open({.id = "asking", .title = "Fragt", .edits = {kBadUrl}, .mode = "ask"});
    ASSERT_TRUE(fixture.waitFor("question", "asking"));

    // The open question holds up neither the program nor the closing of other windows.
    fixture.open({.id = "other", .cls = "MozillaWindowClass", .title = "Andere Seite"});
    EXPECT_TRUE(fixture.waitFor("destroyed", "other"));
    EXPECT_TRUE(program.handlesInput());
    Sleep(1000);
    EXPECT_EQ(fixture.count("syscommand", "asking"), 1);
    EXPECT_LE(requestsFromProgram(fixture, "asking"), 2);

    // The user stays on the page: the window is asked again. Then the user leaves it.
    fixture.send("answer asking no");
    ASSERT_TRUE(waitUntil([&] { return fixture.count("question", "asking") == 2; }));
    fixture.send("answer asking yes");
    EXPECT_TRUE(fixture.waitFor("destroyed", "asking"));
}
