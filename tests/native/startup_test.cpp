#include "browsers/frm_web_browser.h"
#include "program_fixture.h"
#include "tray/frm_haupt.h"

#include <algorithm>

namespace zk {
namespace {

using Items = std::vector<std::string>;

class StartupTest : public ProgramTest {
protected:
    FrmHaupt& host() { return app->frmHaupt(); }
    void trayEvent(unsigned mouseMessage) {
        ASSERT_TRUE(sim.toolkit.notifyIconEvent(mouseMessage));
    }
    // Opens the tray's popup menu and chooses the item with the given caption.
    void choose(const std::string& caption) {
        sim.toolkit.expectPopupMenu([caption](const sim::PopupMenuCall& call) {
            const auto item = std::find(call.items.begin(), call.items.end(), caption);
            return item == call.items.end() ? -1 : static_cast<int>(item - call.items.begin());
        });
        trayEvent(517);
    }
    void expectLayout(ui::Geometry list, ui::Geometry buttons) {
        EXPECT_EQ(form().List1.geometry(), list);
        EXPECT_EQ(form().picButtons.geometry(), buttons);
    }
};

TEST_F(StartupTest, FirstStartInAnEmptyFolderRunsHiddenWithTheDefaults) {
    startAsIs();
    EXPECT_FALSE(form().window.visible());
    EXPECT_FALSE(host().window.visible());
    EXPECT_EQ(win(form().window.handle()).owner, host().window.handle());
    ASSERT_EQ(sim.desktop.notifyIcons().size(), 1u);
    const sim::SimNotifyIcon& icon = sim.desktop.notifyIcons()[0];
    EXPECT_EQ(icon.owner, host().window.handle());
    EXPECT_EQ(icon.callbackMessage, 512u);
    EXPECT_EQ(icon.tip, "Zuklapper");

    EXPECT_EQ(form().List1.listCount(), 0);
    EXPECT_EQ(form().Pfad, TitelDatei);
    EXPECT_EQ(form().Pfad_config, "C:\\Programme\\Zuklapper\\config.ini");
    EXPECT_TRUE(form().tmrHotkey.enabled());
    EXPECT_EQ(app->Hotkey, (HotkeyTable{119, 5, 119, 1}));
    EXPECT_EQ(app->WebbrowserBezeichnung, "");
    form().Command1_Click();          // nothing to delete
    EXPECT_EQ(sim.files.writes(), 0); // reading creates no file
}

TEST_F(StartupTest, SettingsFileValuesAndAProgramFolderAtADriveRoot) {
    const std::pair<const char*, bool> chkAddUrl[] = {{"1", true},   {" 1 ", true},  {"0", false},
                                                      {"2", false},  {"abc", false}, {"", false},
                                                      {"1.5", false}};
    for (const auto& [value, hotkeysOn] : chkAddUrl) {
        SCOPED_TRACE(value);
        sim::SimPlatform fresh;
        fresh.files.put("C:\\Programme\\Zuklapper\\config.ini",
                        std::string("[Hotkeys]\r\nChkAddUrl=") + value + "\r\n");
        Zuklapper program(fresh.platform);
        program.start();
        EXPECT_EQ(program.form1().tmrHotkey.enabled(), hotkeysOn);
    }

    sim.files.setProgramFolder("D:\\");
    sim.files.put("D:\\lstTitel.txt", "\"t\"\r\n");
    sim.files.put("D:\\config.ini", "[hotkeys]\r\n"
                                    "AddTitle=  F5  \r\n"
                                    "AddTitle2=\" Strg\"\r\n"
                                    "AddUrl=f9\r\n"
                                    "AddUrl2=\r\n"
                                    "[Webbrowser]\r\n"
                                    "Bezeichnung=\"\" - Mozilla \"Firefox\"\"\"\r\n");
    startAsIs();
    EXPECT_EQ(form().Pfad, "D:\\lstTitel.txt");
    EXPECT_EQ(form().UrlPfad, "D:\\lstUrl.txt");
    EXPECT_EQ(form().Pfad2, "D:\\Webbrowser.txt");
    EXPECT_EQ(form().Pfad_config, "D:\\config.ini");
    EXPECT_EQ(form().List1.items(), (Items{"t"}));
    // Unknown names ("f9", "") leave their slots at 0.
    EXPECT_EQ(app->Hotkey, (HotkeyTable{116, 2, 0, 0}));
    EXPECT_EQ(app->WebbrowserBezeichnung, " - Mozilla Firefox");
}

TEST_F(StartupTest, TrayIconShowsTheWindowAndOpensThePopupMenu) {
    start({"b", "a", "c"}, {"u"});
    for (unsigned ignored : {512u, 513u, 514u, 516u, 518u}) trayEvent(ignored);
    EXPECT_FALSE(form().window.visible());
    EXPECT_TRUE(sim.toolkit.popupMenus().empty());

    // Closing only hides; the window comes back as it was.
    trayEvent(515);
    form().List1.setListIndex(2);
    form().window.requestClose();
    EXPECT_FALSE(form().window.visible());
    EXPECT_FALSE(sim.toolkit.quitRequested());
    trayEvent(515);
    EXPECT_TRUE(form().window.visible());
    EXPECT_EQ(form().List1.items(), (Items{"a", "b", "c"}));
    EXPECT_EQ(form().List1.listIndex(), 2);

    form().window.hide();
    choose("&Url Verwaltung");
    EXPECT_TRUE(form().window.visible());
    ASSERT_EQ(sim.toolkit.popupMenus().size(), 1u);
    const std::string schliessen = "&schlie\xDF"
                                   "en";
    EXPECT_EQ(sim.toolkit.popupMenus()[0].items,
              (Items{"&Hilfe", "&INFO", "&Webbrowser ausw\xE4hlen", "&Url Verwaltung", "H&otkeys",
                     schliessen}));
}

TEST_F(StartupTest, KeysTypedAfterTheTrayMenuDoNotReachTheHiddenMainWindow) {
    start({"b", "a"});
    auto keysChangeNothing = [&] {
        sim.toolkit.pressKey(ui::KEY_DELETE);
        sim.toolkit.pressKey(ui::KEY_DELETE, 1);
        EXPECT_EQ(form().List1.items(), (Items{"a", "b"}));
        EXPECT_EQ(form().TitelEintraege.items(), (Items{"b", "a"}));
        EXPECT_EQ(sim.files.writes(), 0);
    };
    sim.toolkit.expectPopupMenu([](const sim::PopupMenuCall&) { return -1; }); // Escape
    trayEvent(517);
    keysChangeNothing();
    choose("&INFO");
    keysChangeNothing();

    // Shown, the window takes the keys; hidden again, it takes none.
    choose("&Url Verwaltung");
    sim.toolkit.pressKey(ui::KEY_DELETE);
    EXPECT_EQ(form().List1.items(), (Items{"b"}));
    form().window.requestClose();
    sim.toolkit.pressKey(ui::KEY_DELETE);
    EXPECT_EQ(form().List1.items(), (Items{"b"}));
    EXPECT_EQ(sim.files.get(TitelDatei), "\"b\"\r\n");
}

TEST_F(StartupTest, LayoutFollowsTheWindowSize) {
    startAsIs();
    trayEvent(515);
    expectLayout({100, 360, 5230, 3570}, {1790, 3930, 3540, 735});
    EXPECT_EQ(form().picliste.geometry(), (ui::Geometry{100, 0, 2145, 360}));

    sim.desktop.openBrowser("IEFrame", "oben", nullptr);
    sim.toolkit.userResize(form().window, 6430, 5665);
    expectLayout({100, 360, 6230, 4570}, {2790, 4930, 3540, 735});
    EXPECT_EQ(sim.desktop.topLevelWindows().front(), form().window.handle()); // topmost again

    // Too low for the list: it keeps its height while the buttons follow the bottom edge.
    sim.toolkit.userResize(form().window, 6430, 1000);
    expectLayout({100, 360, 6230, 4570}, {2790, 265, 3540, 735});

    // Minimised, the inner size is 0: the list keeps its size, the buttons move off.
    sim.toolkit.userResize(form().window, 5430, 4665);
    sim.toolkit.userResize(form().window, 0, 0);
    expectLayout({100, 360, 5230, 3570}, {-3640, -735, 3540, 735});
    sim.toolkit.userResize(form().window, 5430, 4665);
    expectLayout({100, 360, 5230, 3570}, {1790, 3930, 3540, 735});
}

TEST_F(StartupTest, TheProgramEndsThroughTheTrayOrTheSessionEnd) {
    start({"a"});
    sim.toolkit.restartShell(); // the icon comes back into a new notification area
    ASSERT_EQ(sim.desktop.notifyIcons().size(), 1u);
    EXPECT_EQ(sim.desktop.notifyIcons()[0].owner, host().window.handle());

    trayEvent(515);
    choose("&schlie\xDF"
           "en");
    EXPECT_TRUE(sim.desktop.notifyIcons().empty());
    EXPECT_TRUE(sim.toolkit.quitRequested());
    EXPECT_FALSE(form().window.visible());
    // No event runs any more.
    const Hwnd browser = sim.desktop.openBrowser("IEFrame", "a", nullptr);
    tick(3);
    EXPECT_TRUE(sim.desktop.exists(browser));

    sim::SimPlatform other;
    Zuklapper program(other.platform);
    program.start();
    other.toolkit.endSession();
    EXPECT_TRUE(other.desktop.notifyIcons().empty());
    EXPECT_TRUE(other.toolkit.quitRequested());
}

TEST_F(StartupTest, ASecondStartFromTheSameFolderShowsTheRunningCopyAndEnds) {
    start({"a"});
    sim::HeadlessToolkit secondToolkit(sim.desktop);
    Platform second{sim.desktop, sim.files, sim.profile, secondToolkit, sim.dde};
    Zuklapper copy(second);
    copy.start();
    EXPECT_TRUE(secondToolkit.quitRequested());
    EXPECT_FALSE(copy.form1().window.loaded()); // no list or setting read
    EXPECT_FALSE(copy.frmWebBrowser().window.loaded());
    EXPECT_EQ(sim.desktop.notifyIcons().size(), 1u);
    tick();
    EXPECT_TRUE(form().window.visible()); // as a double-click on its icon shows it

    // From another folder, a copy runs beside it.
    sim::SimFiles otherFiles("D:\\Zuklapper");
    sim::SimProfile otherProfile(otherFiles);
    sim::HeadlessToolkit otherToolkit(sim.desktop);
    Platform other{sim.desktop, otherFiles, otherProfile, otherToolkit, sim.dde};
    Zuklapper beside(other);
    beside.start();
    EXPECT_FALSE(otherToolkit.quitRequested());
    EXPECT_TRUE(beside.form1().window.loaded());
    EXPECT_EQ(sim.desktop.notifyIcons().size(), 2u);
}

} // namespace
} // namespace zk
