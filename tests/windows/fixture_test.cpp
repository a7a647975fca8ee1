// The fixture itself: the windows it opens and the events it reports are what the
// program's tests rely on.

#include "harness.h"

#include <gtest/gtest.h>

using namespace zkt;

namespace {

std::string controlText(HWND control) {
    char text[256] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 1000, &copied);
    return text;
}

void askToClose(HWND hwnd) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, 1000, &result);
    SendMessageTimeoutA(hwnd, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
}

std::vector<std::string> names(const std::vector<Event>& events) {
    std::vector<std::string> out;
    for (const Event& e : events) out.push_back(e.name + (e.detail.empty() ? "" : ":" + e.detail));
    return out;
}

} // namespace

TEST(FixtureSelfCheck, OpensWindowsOfTheRequestedShape) {
    Fixture fixture;
    HWND plain = fixture.open({.id = "plain", .title = "B\xF6se Seite",
                               .edits = {"http://a/"}});
    HWND hidden = fixture.open({.id = "hidden", .cls = "MozillaWindowClass", .visible = false});
    HWND borderless = fixture.open({.id = "borderless", .cls = "Notepad", .border = false});
    HWND nested = fixture.open({.id = "nested", .edits = {"first", "second"}, .nested = true});
    ASSERT_TRUE(plain && hidden && borderless && nested);

    EXPECT_EQ(className(plain), "IEFrame");
    EXPECT_EQ(windowText(plain), "B\xF6se Seite");
    EXPECT_EQ(className(hidden), "MozillaWindowClass");
    EXPECT_EQ(className(borderless), "Notepad");
    auto style = [](HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); };
    EXPECT_EQ(style(plain) & (WS_VISIBLE | WS_BORDER), DWORD(WS_VISIBLE | WS_BORDER));
    EXPECT_EQ(style(hidden) & WS_VISIBLE, 0u);
    EXPECT_EQ(style(borderless) & (WS_VISIBLE | WS_BORDER), DWORD(WS_VISIBLE));

    EXPECT_EQ(controlText(FindWindowExA(plain, nullptr, "Edit", nullptr)), "http://a/");
    HWND pane = GetWindow(nested, GW_CHILD);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(FindWindowExA(nested, nullptr, "Edit", nullptr), nullptr);
    HWND first = FindWindowExA(pane, nullptr, "Edit", nullptr);
    EXPECT_EQ(controlText(first), "first");
    EXPECT_EQ(controlText(FindWindowExA(pane, first, "Edit", nullptr)), "second");
}

TEST(FixtureSelfCheck, ReportsCloseRequestsPerMode) {
    Fixture fixture;
    HWND normal = fixture.open({.id = "normal"});
    HWND ignoring = fixture.open({.id = "ignoring", .mode = "ignore"});
    ASSERT_TRUE(normal && ignoring);

    askToClose(normal);
    askToClose(ignoring);
    ASSERT_TRUE(fixture.waitFor("destroyed", "normal"));
    EXPECT_EQ(names(fixture.events("normal")),
              (std::vector<std::string>{"opened:" + fixture.events("normal")[0].detail,
                                        "syscommand:ext", "close:own", "destroyed"}));
    ASSERT_TRUE(fixture.waitFor("close", "ignoring"));
    EXPECT_EQ(fixture.count("syscommand", "ignoring"), 1);
    EXPECT_EQ(fixture.count("destroyed", "ignoring"), 0);
    EXPECT_TRUE(IsWindow(ignoring));
    EXPECT_EQ(fixture.events("ignoring").back().detail, "ext");
}

TEST(FixtureSelfCheck, HangsUntilResumedAndAsksBeforeClosing) {
    Fixture fixture;
    HWND asking = fixture.open({.id = "asking", .mode = "ask"});
    ASSERT_TRUE(asking);
    DWORD_PTR result = 0;

    fixture.send("hang 0");
    ASSERT_TRUE(fixture.waitFor("hung"));
    EXPECT_FALSE(SendMessageTimeoutA(asking, WM_NULL, 0, 0, SMTO_NORMAL, 300, &result));
    fixture.send("resume");
    ASSERT_TRUE(fixture.waitFor("resumed"));
    EXPECT_TRUE(SendMessageTimeoutA(asking, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result));

    PostMessageA(asking, WM_CLOSE, 0, 0);
    ASSERT_TRUE(fixture.waitFor("question", "asking"));
    // While the question is open the window still handles messages, and another close
    // request does not stack a second question.
    PostMessageA(asking, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return fixture.count("close", "asking") == 2; }));
    EXPECT_EQ(fixture.count("question", "asking"), 1);
    fixture.send("answer asking no");
    ASSERT_TRUE(fixture.waitFor("answered", "asking"));
    EXPECT_TRUE(IsWindow(asking));

    PostMessageA(asking, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return fixture.count("question", "asking") == 2; }));
    fixture.send("answer asking yes");
    EXPECT_TRUE(fixture.waitFor("destroyed", "asking"));
}
