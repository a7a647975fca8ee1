#include "program_fixture.h"

#include "engine/todays_browsers.h"

namespace zk {
namespace {

using sim::OnClose;
using sim::SimAccessible;
using Log = std::vector<Hwnd>;

class CloseCycle : public ProgramTest {
protected:
    Hwnd open(const std::string& title, const char* url, OnClose onClose = OnClose::Close) {
        return sim.desktop.openBrowser("IEFrame", title, url, onClose);
    }
};

TEST_F(CloseCycle, EachUrlEntryClosesTheFirstWindowWhoseAddressHoldsIt) {
    start({}, {"werbung", "/pfad/x", ""});
    const Hwnd path = open("A", "https://ok.de/pfad/x/y");
    const Hwnd lower = open("D", "http://werbung.de/a");
    const Hwnd slow = open("E", "http://werbung.de/b", OnClose::Slow);
    tick(4); // the slow one is asked once, and its entry waits for it
    EXPECT_EQ(sim.desktop.closeLog(), (Log{slow, path}));
    tick(2);
    EXPECT_EQ(sim.desktop.closeLog(), (Log{slow, path, lower}));
}

TEST_F(CloseCycle, UrlPassComesFirstAndAWindowIsAskedOncePerCycleNeverTheMainWindow) {
    start({"Titel", "Zuklapper 1.08"}, {"zwei", "eins"});
    win(form().window.handle()).className = "IEFrame";
    form().window.show();
    const Hwnd both = open("Titel", "http://eins.zwei/", OnClose::Ignore);
    const Hwnd one = open("X", "http://eins/", OnClose::Ignore);
    tick();
    // "zwei" finds `both`; "eins" finds `one` first (it is on top); the title entry finds
    // `both` again, whose request is still out.
    EXPECT_EQ(sim.desktop.closeLog(), (Log{both, one}));
    EXPECT_EQ(win(both).closeMessages, 1); // WM_CLOSE once SC_CLOSE was handled
    tick();
    EXPECT_EQ(sim.desktop.closeLog(), (Log{both, one, both, one}));
}

// A window goes while its request is out and its handle value names a new window before the
// lost answer comes: the answer is for the request, never for the new window.
TEST_F(CloseCycle, ALateAnswerForAReusedHandleValueNeverReachesTheNewWindow) {
    start({"Seite"});
    for (const char* title : {"Andere", "Seite"}) {
        SCOPED_TRACE(title);
        const Hwnd old = open("Seite", nullptr, OnClose::Ask);
        tick();
        sim.desktop.destroy(old); // ended while it asked: its answer does not come
        sim.desktop.reuseHandle(old);
        const Hwnd reused = open(title, nullptr, OnClose::Ask);
        ASSERT_EQ(reused, old);
        const bool matches = title == std::string("Seite");
        if (matches) tick(); // asked for itself
        sim.desktop.releaseLostAnswers();
        sim.advance(matches ? 300 : 50);
        EXPECT_EQ(win(reused).closeRequests, matches ? 1 : 0);
        EXPECT_EQ(win(reused).closeMessages, 0);
        sim.desktop.destroy(reused);
    }
}

constexpr int Tabs = 0x3C, Tab = 0x25, ToolBar = 0x16, Button = 0x2B, Client = 0x0A;

// Chromium's tree: tabs, the tool bar with the address field, and a page never to be walked.
SimAccessible browserTree(const std::string& address) {
    return {Client,
            {},
            {{Tabs, {}, {{Tab}, {Tab}}},
             {ToolBar, {}, {{Button}, {ROLE_TEXT, address}}},
             {ROLE_DOCUMENT, {}, {{ROLE_TEXT, "Suche"}}}}};
}

class TodaysBrowsersTest : public ProgramTest {
protected:
    Hwnd open(const char* cls, const char* program, const std::string& title,
              std::optional<std::string> address) {
        const Hwnd window = sim.desktop.open(cls, title);
        win(window).program = program;
        if (address) win(window).accessible = browserTree(*address);
        return window;
    }
};

// Switched on, one window per URL entry and tick closes; switched off, a failed save is said.
TEST_F(TodaysBrowsersTest, TheSwitchIsSavedAndEachUrlEntryClosesOneWindowPerTick) {
    start({"B\xF6se Seite"}, {"https://www.badsite.com"});
    app->WebbrowserBezeichnung = " - Google Chrome";
    const Hwnd chrome =
        open("Chrome_WidgetWin_1", "chrome.exe", "A - Google Chrome", "badsite.com/x");
    const Hwnd edge =
        open("Chrome_WidgetWin_2", "MSEDGE.EXE", "B\xF6se Seite - Google Chrome", std::nullopt);
    const Hwnd firefox = open("MozillaWindowClass", "firefox.exe", "C", "https://badsite.com/");
    const Hwnd thunderbird = open("MozillaWindowClass", "thunderbird.exe", "D", "badsite.com");
    choose("&Chrome, Edge und Firefox");
    EXPECT_TRUE(form().mAktuelleBrowser.checked());
    tick(2); // the first scan starts the reads, the next one closes
    EXPECT_EQ(sim.desktop.closeLog(), (Log{edge, firefox}));
    tick(2);
    EXPECT_FALSE(sim.desktop.exists(chrome));
    EXPECT_EQ(win(thunderbird).closeRequests, 0);
    EXPECT_EQ(sim.desktop.documentWalks(), 0);

    sim.files.failWrites(ConfigDatei);
    expectMessages(1);
    choose("&Chrome, Edge und Firefox");
    EXPECT_FALSE(app->AktuelleBrowser || form().mAktuelleBrowser.checked());
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
}

// A found field is read again alone; the tree is walked anew only when it reads nothing.
TEST_F(TodaysBrowsersTest, AFoundFieldIsReadAgainAndTheTreeWalkedAnewWhenItReadsNothing) {
    sim.files.put(ConfigDatei, "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
    start({}, {"weg.example"});
    const Hwnd page = open("Chrome_WidgetWin_1", "brave.exe", "P", "harmlos.example");
    const Hwnd moved = open("MozillaWindowClass", "waterfox.exe", "M", "harmlos.example");
    tick(2);
    const int calls = sim.desktop.accessibleCalls();
    tick();
    EXPECT_EQ(sim.desktop.accessibleCalls(), calls + 2); // one value read each
    win(page).accessible->children[1].children[1].value = "weg.example/neu";
    win(moved).accessible = SimAccessible{Client, {}, {{ROLE_TEXT, "weg.example"}}};
    tick(3);
    EXPECT_FALSE(sim.desktop.exists(page));
    EXPECT_FALSE(sim.desktop.exists(moved));
}

} // namespace
} // namespace zk
