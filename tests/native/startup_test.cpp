#include "app/texte.h"
#include "browsers/frm_web_browser.h"
#include "program_fixture.h"
#include "tray/frm_haupt.h"
#include "tray/frm_info_box.h"

namespace zk {
namespace {

using StartupTest = ProgramTest;

// From a drive root: the settings, the menu after a shell restart, an end that stores only a
// typed designation.
TEST_F(StartupTest, ARunFromADriveRootWithTheShellRestartedMeanwhile) {
    sim.files.setProgramFolder("D:\\");
    sim.files.put("D:\\lstTitel.txt", "\"t\"\r\n");
    sim.files.put("D:\\config.ini",
                  "[hotkeys]\r\nAddTitle=  F5  \r\nAddTitle2=\" Strg\"\r\nAddUrl=\"F9 \"\r\n"
                  "AddUrl2=\r\n[Webbrowser]\r\nBezeichnung=\"\" - Mozilla \"Firefox\"\"\"\r\n");
    start();
    EXPECT_EQ(form().List1.items(), (Items{"t"}));
    // Blanks behind a name stay, so "F9 " and "" are unknown names: their slots stay 0.
    EXPECT_EQ(app->Hotkey, (HotkeyTable{116, 2, 0, 0}));
    EXPECT_EQ(app->WebbrowserBezeichnung, " - Mozilla Firefox");
    FrmWebBrowser& browsers = app->frmWebBrowser();
    EXPECT_TRUE(browsers.window.loaded() && !browsers.window.visible());
    EXPECT_EQ(browsers.Text2.text(), " - Mozilla Firefox");

    sim.toolkit.restartShell();
    ASSERT_EQ(sim.desktop.notifyIcons().size(), 1u);
    choose("&INFO");
    app->frmInfoBox().Label1.click(); // the help file, as the menu's item opens it
    choose("&Hilfe");
    EXPECT_EQ(sim.desktop.programStarts(),
              (std::vector<sim::SimProgramStart>(2, {"notepad D:\\Hilfe.txt", 1})));
    browsers.Text2.setText(" - B");
    app->WebbrowserBezeichnung.clear();
    app->frmHaupt().schliessen();
    EXPECT_FALSE(browsers.window.loaded());
    EXPECT_EQ(app->WebbrowserBezeichnung, " - B");
    EXPECT_EQ(sim.files.writes(), 1);
    EXPECT_NE(sim.files.get("D:\\config.ini")->find("Bezeichnung=\"\" - B\"\""), std::string::npos);
}

TEST_F(StartupTest, LayoutFollowsTheWindowSize) {
    const auto expectLayout = [this](ui::Geometry list, ui::Geometry buttons) {
        EXPECT_EQ(form().List1.geometry(), list);
        EXPECT_EQ(form().picButtons.geometry(), buttons);
    };
    start();
    ASSERT_TRUE(sim.toolkit.notifyIconEvent(515));
    expectLayout({100, 360, 5230, 3570}, {710, 3930, 4620, 735});
    EXPECT_EQ(form().picliste.geometry(), (ui::Geometry{100, 0, 2145, 360}));
    sim.toolkit.userResize(form().window, 6430, 5665);
    expectLayout({100, 360, 6230, 4570}, {1710, 4930, 4620, 735});

    // Too low for the list: it keeps its height while the buttons follow the bottom edge.
    sim.toolkit.userResize(form().window, 6430, 1000);
    expectLayout({100, 360, 6230, 4570}, {1710, 265, 4620, 735});
    // Minimised, the inner size is 0: the list keeps its size, the buttons move off.
    sim.toolkit.userResize(form().window, 5430, 4665);
    sim.toolkit.userResize(form().window, 0, 0);
    expectLayout({100, 360, 5230, 3570}, {-4720, -735, 4620, 735});
}

// UTF-8 lists are read in the code page, an ANSI field behind the mark as it is, and never
// rewritten holding more than it; a deletion keeps, and takes in, what another program added.
TEST_F(StartupTest, ListsSavedAsUtf8AreReadInTheCodePageAndLoseNothing) {
    const struct {
        std::string file;
        Items entries;  // in the code page, in file order
        bool deletable; // else the list holds less than the file, which stays as it is
    } cases[] = {
        {"\"Gr\303\266\303\237e\"\r\n", {"Gr\366\337e"}, true},
        {"\xEF\xBB\xBF\"\xE2\x82\xAC\"\r\n\"M\xFCller\"\r\n", {"\x80", "M\xFCller"}, true},
        {"\"\334bersicht\"\r\n\"\xC3\"\r\n", {"\334bersicht", "\xC3"}, true}, // ANSI
        {"\"\xE6\x97\xA5\"\r\n\"\303\234bersicht\"\r\n", {"\334bersicht"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.file));
        sim::SimPlatform fresh;
        fresh.files.put(TitelDatei, c.file);
        Zuklapper program(fresh.platform);
        program.start();
        Form1& form1 = program.form1();
        EXPECT_EQ(form1.TitelEintraege.items(), c.entries);
        fresh.files.put(TitelDatei, c.file + "\"Neu\"\r\n"); // by another program meanwhile
        fresh.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
        form1.Command1_Click();
        EXPECT_EQ(fresh.toolkit.messageBoxes().size(), c.deletable ? 0u : 1u);
        const Items& shown = form1.List1.items(); // one entry deleted, one taken in
        EXPECT_EQ(shown.size(), c.entries.size());
        EXPECT_EQ(std::count(shown.begin(), shown.end(), "Neu"), c.deletable ? 1 : 0);
        EXPECT_EQ(form1.TitelEintraege.items(), shown);
        EXPECT_EQ(fresh.files.get(TitelDatei),
                  c.deletable ? formatEntries(shown) : c.file + "\"Neu\"\r\n");
    }
}

// Started again while the running copy is out of reach (another user's, elevated), a copy says
// so and ends before it reads a file. One that does not answer is the Wine tray test's.
TEST_F(StartupTest, ASecondStartSaysWhenTheRunningCopyIsOutOfReach) {
    start();
    sim.desktop.claimOutOfReach("C:\\Programme\\Zuklapper");
    sim::HeadlessToolkit toolkit(sim.desktop);
    toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
    Platform second{sim.desktop, sim.files,   sim.profile, toolkit,     sim.dde,
                    sim.desktop, sim.desktop, sim.desktop, sim.policies};
    Zuklapper copy(second);
    copy.start();
    EXPECT_TRUE(toolkit.quitRequested() && !copy.form1().window.loaded());
    EXPECT_NE(toolkit.messageBoxes().at(0).text.find("anderen Benutzer"), std::string::npos);
}

// The check mark shows the Run value, set elsewhere, as the menu opens; a failure is said.
TEST_F(StartupTest, StartWithWindowsShowsTheRunValueAndSaysAFailure) {
    start();
    sim.desktop.logonCommands["Zuklapper"] = " c:\\programme\\zuklapper\\ZUKLAPPER.EXE ";
    sim.desktop.failLogonWrites = true;
    expectMessages(1);
    sim.toolkit.expectPopupMenu([&](const sim::PopupMenuCall& call) {
        EXPECT_TRUE(call.checked.at(4)) << call.items.at(4);
        return 4;
    });
    ASSERT_TRUE(sim.toolkit.notifyIconEvent(517));
    EXPECT_NE(message(0).find("CurrentVersion\\Run"), std::string::npos);
}

// A list file that another program changed is taken in within a second, unless it cannot be
// read whole; the list keeps its selection.
TEST_F(StartupTest, ListsChangedByAnotherProgramAreTakenInWithinASecond) {
    start({}, {"a", "b"});
    form().optListe1.setValue(true);
    form().List1.setListIndex(1);
    const Hwnd page = sim.desktop.openBrowser("IEFrame", "Neu", "http://neu.de/");
    const struct {
        const char* file;
        bool readable;
        Items shown;
    } edits[] = {{"\"a\"\r\n\"b\"\r\n\"neu\"\r\n", true, {"a", "b", "neu"}},
                 {"\"b\"\r\n", false, {"a", "b", "neu"}},
                 {nullptr, true, {"b"}}};
    for (const auto& e : edits) {
        if (e.file) sim.files.put(UrlDatei, e.file);
        if (e.readable)
            sim.files.heal();
        else
            sim.files.failReads(UrlDatei);
        tick(10);
        EXPECT_EQ(form().List1.items(), e.shown);
        EXPECT_EQ(form().List1.item(form().List1.listIndex()), "b");
        EXPECT_EQ(form().UrlEintraege.items(), e.shown);
    }
    EXPECT_FALSE(sim.desktop.exists(page));
}

} // namespace
} // namespace zk
