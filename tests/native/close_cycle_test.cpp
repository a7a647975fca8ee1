#include "program_fixture.h"

#include "engine/todays_browsers.h"

#include <numeric>
#include <sstream>

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

constexpr int Tabs = 0x3C, ToolBar = 0x16, Client = 0x0A, Group = 0x14, Pane = 0x10, Label = 0x29;

SimAccessible in(int role, SimAccessible child) { return {role, {}, {std::move(child)}}; }

class TodaysBrowsersTest : public ProgramTest {
protected:
    Hwnd open(const char* cls, const char* program, const std::string& title,
              std::optional<std::string> address) {
        const Hwnd window = sim.desktop.open(cls, title);
        win(window).program = program;
        if (address) win(window).accessible = in(Client, in(ToolBar, {ROLE_TEXT, *address}));
        return window;
    }
};

// The address field: an editable text field in the tool bar nearest the root, not in a find
// bar, tabs or page; sought again at once when a kept one reads nothing, else (or after a read
// broke) on a new title or 5 s later. A read without a worker is tried again. One window per URL
// entry and tick closes; a switch that cannot be saved is said and undone.
TEST_F(TodaysBrowsersTest, FieldsAreReadOnEachTickAndTreesWithoutOneWalkedRarely) {
    sim.files.put(ConfigDatei, "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
    sim.desktop.failWorkers = true;
    start({}, {"weg.example"});
    const Hwnd page = open("Chrome_WidgetWin_1", "brave.exe", "P", "harmlos.example");
    const Hwnd renamed = open("Chrome_WidgetWin_1", "chrome.exe", "App", std::nullopt);
    const Hwnd later = open("MozillaWindowClass", "firefox.exe", "M", "weg.example");
    const Hwnd first = open("MozillaWindowClass", "waterfox.exe", "W", "weg.example/w");
    const Hwnd second = open("MozillaWindowClass", "waterfox.exe", "V", "weg.example/v");
    win(renamed).accessible = SimAccessible{Client, {}, {{ROLE_DOCUMENT}}};
    win(later).accessible->breaks = true;
    tick(2);
    sim.desktop.failWorkers = false;
    tick(3); // no tab strip: the window closes after its tab's job found no button
    EXPECT_EQ(sim.desktop.closeLog(), (Log{second}));
    const SimAccessible tabs{Tabs, {}, std::vector(1500, SimAccessible{ROLE_TEXT, "Tab"})};
    const SimAccessible fixed{ROLE_TEXT, "fest", {}, STATE_READONLY};
    win(page).accessible = {
        Client,
        {},
        {{ROLE_DOCUMENT},
         in(Group, {ROLE_TEXT, "Suche"}),
         in(Pane, in(ToolBar, {ROLE_TEXT, "x"})),
         {ToolBar, {}, {tabs, fixed, in(Group, in(Group, {ROLE_TEXT, "weg.example/neu"}))}}}};
    win(renamed).accessible = in(Client, in(ToolBar, {ROLE_TEXT, "weg.example"}));
    win(later).accessible->breaks = false;
    tick(4);
    EXPECT_EQ(sim.desktop.closeLog(), (Log{second, first, page}));
    win(renamed).text = "App - Seite";
    tick(25);
    EXPECT_FALSE(sim.desktop.exists(renamed));
    EXPECT_TRUE(sim.desktop.exists(later));
    tick(25);
    EXPECT_FALSE(sim.desktop.exists(later));
    EXPECT_EQ(sim.desktop.documentWalks(), 0);

    sim.files.failWrites(ConfigDatei);
    expectMessages(1);
    choose("&Chrome, Edge und Firefox");
    EXPECT_FALSE(app->AktuelleBrowser || form().mAktuelleBrowser.checked());
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
}

// Tabs by letter, each a mute button, a label and a close button: "B*" is B showing b.de, in
// front; "p" pins it (its button hidden), "f" too (none, as Firefox).
void tabbed(sim::SimWindow& window, const std::string& tabs) {
    SimAccessible list{Tabs}, field{ROLE_TEXT};
    std::istringstream words(tabs);
    for (std::string tab; words >> tab;) {
        auto has = [&](char c) { return tab.find(c) != std::string::npos; };
        SimAccessible& t = list.children.emplace_back(
            SimAccessible{ROLE_PAGETAB, {}, {{ROLE_PUSHBUTTON}, {Label}}});
        if (!has('f'))
            t.children.push_back({ROLE_PUSHBUTTON, {}, {}, has('p') ? STATE_INVISIBLE : 0});
        t.name = tab.substr(0, 1);
        t.title = *t.name + " - Google Chrome";
        t.address = static_cast<char>(std::tolower(tab[0])) + std::string(".de");
        if (!has('*')) continue;
        t.state = STATE_SELECTED;
        field.value = t.address;
        window.text = has('u') ? "Mozilla Firefox" : t.title; // "u": an untitled page
    }
    field.addressField = true;
    window.accessible = {
        Client, {}, {{Pane, {}, {list, in(ToolBar, in(Group, field)), {ROLE_DOCUMENT}}}}};
}

// The listed tab in front closes, with one press of its close button, and its window with the
// last tab; a pinned tab (a hidden button, or none) closes its window. Of several selected
// tabs, the one the title names; the same page in the next tab waits for the first to go. A
// tab switched before the press gets nothing.
TEST_F(TodaysBrowsersTest, TheListedTabInFrontClosesAndItsWindowOnlyWithoutAButton) {
    sim.files.put(ConfigDatei, "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
    start({"T"}, {"b.de"});
    const struct {
        const char *tabs = nullptr, *presses = nullptr;
        bool windowCloses = false;        // by SC_CLOSE
        const char* switchedTo = nullptr; // while the tab's job waits
    } cases[] = {{"A B* C", "B"},  {"B*", "B"},    {"A Bp*", "", true},         {"Bf* A", "", true},
                 {"A* T* A", "T"}, {"B* B", "BB"}, {"B* C", "", false, "B C*"}, {"A Bu* C", "B"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tabs);
        sim.desktop.clearLog();
        const Hwnd window = open("Chrome_WidgetWin_1", "chrome.exe", "", std::nullopt);
        tabbed(win(window), c.tabs);
        tick(); // read
        if (c.switchedTo) {
            win(window).accessibilityHangs = true;
            tick();
            tabbed(win(window), c.switchedTo);
            win(window).accessibilityHangs = false;
        }
        tick(11); // the same page in the next tab waits 2 s
        EXPECT_EQ(sim.desktop.presses().size(), *c.presses ? 1u : 0u);
        tick(20);
        const auto& presses = sim.desktop.presses();
        EXPECT_EQ(std::accumulate(presses.begin(), presses.end(), std::string()), c.presses);
        EXPECT_EQ(sim.desktop.closeLog(), c.windowCloses ? Log{window} : Log{});
        if (sim.desktop.exists(window)) sim.desktop.destroy(window);
    }
}

// A capture from one of today's browsers with the switch off asks once a run whether to switch
// it on; Yes switches it on and saves it, and the capture goes on with it.
TEST_F(TodaysBrowsersTest, ACaptureFromOneOfThemOffersTheSwitchOnceARun) {
    start();
    sim.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_YES; });
    expectedMessages_ = 1;
    for (const char* title : {"Seite \x97 Google Chrome", "Zwei - Google Chrome"}) {
        sim.desktop.setForeground(open("Chrome_WidgetWin_1", "chrome.exe", title, "s.de"));
        form().Eintrag_erfassen(form().Pfad);
        if (app->AktuelleBrowser) choose("&Chrome, Edge und Firefox"); // off again: no question
    }
    EXPECT_EQ(form().TitelEintraege.items(), (Items{"Seite", "Zwei"}));
}

} // namespace
} // namespace zk
