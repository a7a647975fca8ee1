#include "browsers/frm_web_browser.h"
#include "program_fixture.h"
#include "tray/frm_haupt.h"

namespace zk {
namespace {

class StartupTest : public ProgramTest {
protected:
    FrmHaupt& host() { return app->frmHaupt(); }
    void trayEvent(unsigned mouseMessage) {
        ASSERT_TRUE(sim.toolkit.notifyIconEvent(mouseMessage));
    }
    void expectLayout(ui::Geometry list, ui::Geometry buttons) {
        EXPECT_EQ(form().List1.geometry(), list);
        EXPECT_EQ(form().picButtons.geometry(), buttons);
    }
};

TEST_F(StartupTest, SettingsFileValuesAndAProgramFolderAtADriveRoot) {
    sim.files.setProgramFolder("D:\\");
    sim.files.put("D:\\lstTitel.txt", "\"t\"\r\n");
    sim.files.put("D:\\config.ini", "[hotkeys]\r\n"
                                    "AddTitle=  F5  \r\n"
                                    "AddTitle2=\" Strg\"\r\n"
                                    "AddUrl=\"F9 \"\r\n"
                                    "AddUrl2=\r\n"
                                    "[Webbrowser]\r\n"
                                    "Bezeichnung=\"\" - Mozilla \"Firefox\"\"\"\r\n");
    startAsIs();
    EXPECT_EQ(form().Pfad, "D:\\lstTitel.txt");
    EXPECT_EQ(form().UrlPfad, "D:\\lstUrl.txt");
    EXPECT_EQ(form().Pfad2, "D:\\Webbrowser.txt");
    EXPECT_EQ(form().Pfad_config, "D:\\config.ini");
    EXPECT_EQ(form().List1.items(), (Items{"t"}));
    // Blanks behind a name stay, so "F9 " and "" are unknown names: their slots stay 0.
    EXPECT_EQ(app->Hotkey, (HotkeyTable{116, 2, 0, 0}));
    EXPECT_EQ(app->WebbrowserBezeichnung, " - Mozilla Firefox");
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

TEST_F(StartupTest, TheIconComesBackIntoANewNotificationAreaAndTheMenuEndsTheProgram) {
    start({"a"});
    sim.toolkit.restartShell(); // the icon comes back into a new notification area
    ASSERT_EQ(sim.desktop.notifyIcons().size(), 1u);
    EXPECT_EQ(sim.desktop.notifyIcons()[0].owner, host().window.handle());
    EXPECT_EQ(sim.desktop.notifyIcons()[0].tip, "Zuklapper");

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
}

TEST_F(StartupTest, ASecondStartFromTheSameFolderShowsTheRunningCopyAndEnds) {
    start({"a"});
    sim::HeadlessToolkit secondToolkit(sim.desktop);
    Platform second{sim.desktop, sim.files,   sim.profile, secondToolkit,
                    sim.dde,     sim.desktop, sim.desktop};
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
    Platform other{sim.desktop, otherFiles,  otherProfile, otherToolkit,
                   sim.dde,     sim.desktop, sim.desktop};
    Zuklapper beside(other);
    beside.start();
    EXPECT_FALSE(otherToolkit.quitRequested());
    EXPECT_TRUE(beside.form1().window.loaded());
    EXPECT_EQ(sim.desktop.notifyIcons().size(), 2u);
}

} // namespace
} // namespace zk
