#include "program_fixture.h"

#include "capture/cuts.h"
#include "capture/frm_hinzufuegen.h"
#include "engine/todays_browsers.h"

namespace zk {
namespace {

using sim::OnClose;
using sim::SimAccessible;
using Log = std::vector<Hwnd>;
constexpr int Tabs = 0x3C, Tab = 0x25, ToolBar = 0x16, Button = 0x2B, Client = 0x0A;

// A browser's tree as Chromium's is: tabs before the tool bar with the address field, and a
// page whose own text fields the walk must never reach.
SimAccessible browserTree(const std::string& address) {
    SimAccessible page{ROLE_DOCUMENT};
    for (int i = 0; i < 50; ++i) page.children.push_back({ROLE_TEXT, "Suche"});
    return {Client,
            {},
            {{Tabs, {}, {{Tab}, {Tab}}},
             {ToolBar, {}, {{Button}, {ROLE_TEXT, address}}},
             std::move(page)}};
}

class TodaysBrowsersTest : public ProgramTest {
protected:
    Hwnd open(const char* cls, const char* program, const std::string& title,
              std::optional<std::string> address, OnClose onClose = OnClose::Close) {
        const Hwnd window = sim.desktop.open(cls, title, sim::BROWSER_STYLE, onClose);
        win(window).program = program;
        if (address) win(window).accessible = browserTree(*address);
        return window;
    }
    void switchOn() {
        choose("&Chrome, Edge und Firefox");
        tick(2); // the first scan starts the reads, the next one closes
    }
};

TEST_F(TodaysBrowsersTest, OffByDefaultOnTheyCloseByTheAddressTheyShowAndByTitle) {
    start({"B\xF6se Seite"}, {"https://www.badsite.com", "http://klein"});
    app->WebbrowserBezeichnung = " - Google Chrome";
    const Hwnd chrome =
        open("Chrome_WidgetWin_1", "chrome.exe", "A - Google Chrome", "badsite.com/x");
    const Hwnd edge =
        open("Chrome_WidgetWin_2", "MSEDGE.EXE", "B\xF6se Seite - Google Chrome", std::nullopt);
    const Hwnd firefox = open("MozillaWindowClass", "firefox.exe", "C", "https://badsite.com/");
    const Hwnd electron =
        open("Chrome_WidgetWin_1", "code.exe", "B\xF6se Seite - Google Chrome", "badsite.com");
    const Hwnd thunderbird = open("MozillaWindowClass", "thunderbird.exe", "D", "badsite.com");
    const Hwnd upper = open("Chrome_WidgetWin_1", "chrome.exe", "E", "KLEIN.de");
    tick(5);
    EXPECT_TRUE(sim.desktop.closeLog().empty()); // off: nothing but the documents' browsers
    EXPECT_EQ(sim.desktop.accessibleCalls(), 0);

    switchOn(); // titles at once, addresses once read; one window per URL entry and tick
    EXPECT_EQ(sim.desktop.closeLog(), (Log{edge, firefox}));
    tick(2);
    EXPECT_FALSE(sim.desktop.exists(chrome));
    for (Hwnd stays : {electron, thunderbird, upper}) EXPECT_EQ(win(stays).closeRequests, 0);
    EXPECT_EQ(sim.desktop.documentWalks(), 0);
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
}

// The field found is kept: later ticks read its value alone, and walk again only when that
// fails. A browser whose reads hang holds up neither the close cycle nor the other reads.
TEST_F(TodaysBrowsersTest, AFoundFieldIsReadAgainAndAHungBrowserHoldsUpNothing) {
    sim.files.put(ConfigDatei, "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
    start({}, {"weg.example"});
    const Hwnd hung = open("Chrome_WidgetWin_1", "chrome.exe", "H", "harmlos.example");
    const Hwnd page = open("Chrome_WidgetWin_1", "brave.exe", "P", "harmlos.example");
    tick(2);
    const int calls = sim.desktop.accessibleCalls();
    tick();
    EXPECT_EQ(sim.desktop.accessibleCalls(), calls + 2); // one value read each
    win(hung).accessibilityHangs = true;
    win(hung).accessible = browserTree("weg.example");
    win(page).accessible->children[1].children[1].value = "weg.example/neu";
    const Hwnd later = open("IEFrame", "iexplore.exe", "L", std::nullopt);
    sim.desktop.addChild(later, "Edit", "http://weg.example/");
    tick(3);
    EXPECT_FALSE(sim.desktop.exists(page));
    EXPECT_FALSE(sim.desktop.exists(later));
    EXPECT_TRUE(sim.desktop.exists(hung));
    win(hung).accessibilityHangs = false;
    tick(2);
    EXPECT_FALSE(sim.desktop.exists(hung));

    // Another tree: the kept field reads nothing, so the tree is walked anew.
    const Hwnd moved = open("MozillaWindowClass", "waterfox.exe", "M", "harmlos.example");
    tick(2);
    win(moved).accessible = SimAccessible{Client, {}, {{ROLE_TEXT, "weg.example"}}};
    tick(3);
    EXPECT_FALSE(sim.desktop.exists(moved));
}

TEST(TodaysCuts, DashesOfTodaysTitlesCountAsHyphensWhenSwitchedOn) {
    const std::string emDash = "Seite \x97 Mozilla Firefox", enDash = "a-b \x96 Opera";
    EXPECT_EQ(titleEntry(emDash), std::nullopt);
    EXPECT_EQ(titleEntry(emDash, true), "Seite");
    EXPECT_EQ(designationEntry(emDash, true), " \x97 Mozilla Firefox");
    EXPECT_EQ(titleEntry(enDash, true), "a-b");
    EXPECT_EQ(designationEntry("Seite - Microsoft? Edge", true), " - Microsoft? Edge");
    EXPECT_EQ(shownForm("https://www.example.org/"), "example.org/");
    EXPECT_EQ(shownForm("www.http://x"), "http://x");
}

TEST_F(TodaysBrowsersTest, CaptureTakesTheShownAddressWithoutDdeAndCutsAtTheDash) {
    sim.files.put(ConfigDatei, "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
    start();
    sim.dde.serve("", "WWW_GetWindowInfo", "\"http://dde/\"");
    const Hwnd chrome =
        open("Chrome_WidgetWin_1", "chrome.exe", "Neu \x97 Google Chrome", "neu.example/p");
    tick(2);
    sim.desktop.setForeground(chrome);
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_EQ(form().TitelEintraege.items(), Items{"Neu"});

    sim.toolkit.expectModal([&](const sim::ModalCall&) {
        EXPECT_EQ(app->frmHinzufuegen().Text1.text(), "neu.example/p");
        app->frmHinzufuegen().Command1.click();
        return 0;
    });
    form().optListe1.setValue(true);
    form().Eintrag_erfassen(form().UrlPfad);
    EXPECT_EQ(form().UrlEintraege.items(), Items{"neu.example/p"});
    EXPECT_TRUE(sim.dde.requests().empty());
}

TEST_F(TodaysBrowsersTest, TheSwitchIsSavedAndAFailedSaveIsSaid) {
    for (const char* stored : {"0", "2", "ja", ""}) {
        sim::SimPlatform fresh;
        fresh.files.put(ConfigDatei, std::string("[Webbrowser]\r\nAktuelleBrowser=") + stored);
        Zuklapper program(fresh.platform);
        program.start();
        EXPECT_FALSE(program.AktuelleBrowser) << stored;
        EXPECT_FALSE(program.form1().mAktuelleBrowser.checked());
    }
    start();
    choose("&Chrome, Edge und Firefox");
    EXPECT_TRUE(form().mAktuelleBrowser.checked());
    EXPECT_EQ(sim.toolkit.popupMenus()[0].items[3], "&Chrome, Edge und Firefox");
    sim.files.failWrites(ConfigDatei);
    expectMessages(1);
    choose("&Chrome, Edge und Firefox");
    EXPECT_FALSE(app->AktuelleBrowser);
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nAktuelleBrowser=1\r\n");
}

} // namespace
} // namespace zk
