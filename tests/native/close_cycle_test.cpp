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

constexpr int Tabs = 0x3C, ToolBar = 0x16, Client = 0x0A, Group = 0x14, Pane = 0x10,
              Application = 0x0E, ComboBox = 0x2E;

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
    open("Chrome_WidgetWin_1", "chrome.exe", "K", "harmlos.example");
    tick(2);
    const int calls = sim.desktop.accessibleCalls();
    tick();
    EXPECT_EQ(sim.desktop.accessibleCalls() - calls, 1) << "a kept field is read, not sought";

    sim.files.failWrites(ConfigDatei);
    expectMessages(1);
    choose("&Chrome, Edge und Firefox");
    EXPECT_FALSE(app->AktuelleBrowser || form().mAktuelleBrowser.checked());
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
}

// A browser window's tab strip as Chromium (Chrome, Edge) or Firefox builds it. Tabs by name
// (letters; the page N shows n.de), then marks: "*" in front, "+" selected with Ctrl, "=" so
// too but not shown, "^" pinned (its close button invisible), "!" pinned without one, "~"
// pinned with sound (a mute button only), "%" with sound, "." a focus ring after its close
// button, "@" untitled (named by its address), "#" fails its first call, "?" asks before it
// goes. A tab without a name is closing.
void tabbed(sim::SimWindow& window, const std::string& browser, const std::string& tabs) {
    const bool firefox = browser == "firefox";
    const std::string suffix = firefox             ? " \x97 Mozilla Firefox"
                               : browser == "edge" ? " - Profil 1 - Microsoft Edge"
                                                   : " - Google Chrome";
    window.program = firefox ? "firefox.exe" : browser == "edge" ? "msedge.exe" : "chrome.exe";
    SimAccessible strip{Pane}, field{ROLE_TEXT};
    field.addressField = true;
    std::istringstream words(tabs);
    for (std::string word; words >> word;) {
        auto has = [&](char c) { return word.find(c) != std::string::npos; };
        const std::string name = word.substr(
            0, word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        SimAccessible& tab = strip.children.emplace_back(SimAccessible{ROLE_PAGETAB});
        tab.address =
            name.empty() ? "" : static_cast<char>(std::tolower(name[0])) + name.substr(1) + ".de";
        tab.title = has('@') ? "Mozilla Firefox" : name + suffix;
        tab.name = has('@')   ? "https://" + tab.address + "/"
                   : has('%') ? name + " - Audio playing"
                              : name;
        tab.front = has('*');
        tab.ctrlSelected = has('+') || has('=');
        tab.state = (tab.front && !window.background) || has('+') ? STATE_SELECTED : 0;
        tab.failures = has('#') ? 1 : 0;
        tab.asks = has('?');
        if (has('%') || has('~')) tab.children.push_back({ROLE_PUSHBUTTON});
        if (!has('!') && !has('~'))
            tab.children.push_back({ROLE_PUSHBUTTON, {}, {}, has('^') ? STATE_INVISIBLE : 0u});
        if (!tab.children.empty()) tab.children.back().closes = !has('~');
        if (has('.')) tab.children.push_back({Pane});
        if (!tab.front) continue;
        field.value = tab.address;
        window.text = tab.title;
    }
    SimAccessible group{ROLE_PUSHBUTTON, {}, {}, 0, false, "Gruppe"};
    const SimAccessible tools = in(ToolBar, in(firefox ? ComboBox : Group, field));
    if (firefox) {
        strip.children.push_back(group);
        strip.role = Tabs;
        window.accessible = {
            Application, {}, {in(ToolBar, strip), tools, in(Group, {ROLE_DOCUMENT})}};
        return;
    }
    SimAccessible container = in(Pane, strip);
    container.children.insert(container.children.begin(), group);
    window.accessible =
        in(Client, in(Pane, {Pane,
                             {},
                             {{Tabs, {}, {container, {ROLE_PUSHBUTTON}, {ROLE_PUSHBUTTON}, {Pane}}},
                              tools,
                              {ROLE_DOCUMENT}}}));
}

// The tab that shows the listed page closes, by one press of its close button, and its window
// with the last tab; a pinned tab closes its window. The tab is told by its name, whatever is
// selected; where a press could close other selected tabs (in Firefox always) or several tabs
// show the page, the tab comes to the front alone first. No other tab is ever touched.
TEST_F(TodaysBrowsersTest, TheTabThatShowsTheListedPageClosesAndNoOther) {
    sim.files.put(ConfigDatei, "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
    start({"T"}, {"b.de"});
    const struct {
        const char *browser = "", *tabs = "", *events = ""; // events: SimDesktop::presses()
        bool windowCloses = false;                          // by SC_CLOSE
        bool background = false;
        const char* switchedTo = nullptr; // while the tab's job waits
    } cases[] = {
        {"chrome", "A B* C", "B"},
        {"chrome", "B*", "B"},
        {"chrome", "A T* C", "T"},
        {"edge", "A B*% C", "B - Audio playing"},
        {"chrome", "A B*. C", "B"},
        {"chrome", "+ B* C", "B"},
        {"chrome", "A B* C+", "B", false, true},
        {"chrome", "A+ B* C", "+BB"},
        {"chrome", "Bx+ B*", "+BB"},
        {"chrome", "B* B", "BB"},
        {"chrome", "B* B", "+BBB", false, true},
        {"firefox", "A B* C+", "+BB"},
        {"firefox", "A B* C=", "+BB"},
        {"firefox", "A B*@ C", "+https://b.de/https://b.de/"},
        {"chrome", "A B*^", "", true},
        {"firefox", "B*! A", "+B", true},
        {"chrome", "A B*~", "-", true},
        {"chrome", "A B*? C", "?B"},
        {"chrome", "A B*# C", "B"},
        {"chrome", "B* C", "", false, false, "B C*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.browser) + " " + c.tabs + (c.background ? " behind" : ""));
        sim.desktop.clearLog();
        const Hwnd window = sim.desktop.open("Chrome_WidgetWin_1", "");
        win(window).background = c.background;
        tabbed(win(window), c.browser, c.tabs);
        if (std::string(c.browser) == "firefox") win(window).className = "MozillaWindowClass";
        tick(); // read
        if (c.switchedTo) {
            win(window).accessibilityHangs = true;
            tick();
            tabbed(win(window), c.browser, c.switchedTo);
            win(window).accessibilityHangs = false;
        }
        tick(11); // the same page in the next tab waits 2 s
        const auto& presses = sim.desktop.presses();
        EXPECT_LE(std::count_if(presses.begin(), presses.end(),
                                [](const std::string& e) { return !e.starts_with('+'); }),
                  1);
        if (sim.desktop.exists(window) && win(window).pageDialog) { // the user stays: asked again
            win(window).pageDialog.reset();
            tick(50);
        }
        tick(20);
        EXPECT_EQ(std::accumulate(presses.begin(), presses.end(), std::string()), c.events);
        EXPECT_EQ(sim.desktop.closeLog(), c.windowCloses ? Log{window} : Log{});
        if (sim.desktop.exists(window)) sim.desktop.destroy(window);
    }
}

// A capture from one of today's browsers with the switch off asks once a run whether to switch
// it on; Yes switches it on and saves it, and the capture goes on with it.
TEST_F(TodaysBrowsersTest, ACaptureFromOneOfThemOffersTheSwitchOnceARun) {
    sim.files.put(ConfigDatei, "[Webbrowser]\r\nAktuelleBrowser=0\r\n");
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
