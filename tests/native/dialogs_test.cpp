#include "program_fixture.h"

#include "browsers/frm_web_browser.h"
#include "hotkeys/frmconfig.h"

namespace zk {
namespace {

class BrowserDialog : public ProgramTest {
protected:
    FrmWebBrowser& dialog() { return app->frmWebBrowser(); }
    // Opens the dialog with Form1's button; the user acts in it, then closes it.
    void inDialog(const std::function<void(FrmWebBrowser&)>& act) {
        sim.toolkit.expectModal([this, act](const sim::ModalCall&) {
            act(dialog());
            dialog().window.requestClose();
            return 0;
        });
        form().Command2.click();
    }
    // Arms the capture and brings a window with the title to the front for one tick.
    void capture(const std::string& title) {
        dialog().cmdHinzufuegen.click();
        sim.desktop.setForeground(sim.desktop.openBrowser("IEFrame", title, nullptr));
        tick();
        EXPECT_FALSE(dialog().Timer1.enabled()) << title;
    }
};

// A typed designation works at once; a choice that cannot be saved holds for this run. What
// cannot be stored or saved is said; deleting rewrites the file as it is now and chooses the
// first row.
TEST_F(BrowserDialog, ChoosingCapturingAndDeletingSayWhatFailsAndLoseNothing) {
    sim.files.put(WebDatei, formatEntries({" - A", " - B"}));
    start({"Seite"});
    const Hwnd page = sim.desktop.openBrowser("IEFrame", "Seite - Typed", nullptr);
    expectMessages(6);
    inDialog([&](FrmWebBrowser& d) {
        d.Command1.click(); // no row selected: nothing happens
        d.Text2.setText(" - Typed");
        tick();
        EXPECT_FALSE(sim.desktop.exists(page));
        sim.files.failWrites(ConfigDatei);
        d.List1.setListIndex(0);
        EXPECT_NE(message(0).find(ConfigDatei), std::string::npos);
        EXPECT_EQ(app->WebbrowserBezeichnung, " - A");
        sim.files.heal();

        capture("Er sagte - \"ja\"");
        EXPECT_NE(message(1).find("Anf\xFChrungszeichen"), std::string::npos);
        EXPECT_EQ(d.List1.listCount(), 2);

        sim.files.failWrites(WebDatei);
        d.List1.setListIndex(1);
        d.Command1.click();
        EXPECT_NE(message(2).find(WebDatei), std::string::npos);
        EXPECT_EQ(d.List1.items(), (Items{" - A", " - B"}));
        EXPECT_EQ(app->WebbrowserBezeichnung, " - B"); // the choice stays

        sim.files.failAppends(WebDatei);
        capture("Seite - C");
        EXPECT_NE(message(3).find(WebDatei), std::string::npos);
        sim.files.heal();
        sim.files.put(WebDatei, *sim.files.get(WebDatei) + "\" - X\"\r\n"); // by another program
        d.List1.setListIndex(1);
        d.Command1.click();
        EXPECT_EQ(d.Text2.text(), " - A");
        EXPECT_EQ(d.List1.items(), (Items{" - A", " - C", " - X"})); // " - C" for this run
    });
    EXPECT_EQ(sim.files.get(WebDatei), formatEntries({" - A", " - X"}));
    EXPECT_EQ(sim.files.get(ConfigDatei), // on in a new folder
              "[Webbrowser]\r\nAktuelleBrowser=1\r\nBezeichnung=\"\" - A\"\"\r\n");

    // A file that exists but cannot be read gives a list of this run's entries alone, which is
    // never written.
    sim.files.failReads(WebDatei);
    inDialog([&](FrmWebBrowser& d) {
        EXPECT_EQ(d.List1.items(), (Items{" - C"}));
        capture("Seite - D");
        d.List1.setListIndex(1);
        d.Command1.click();
        EXPECT_NE(message(4).find(WebDatei), std::string::npos);
        EXPECT_EQ(d.List1.items(), (Items{" - C", " - D"}));
    });
    sim.files.heal();
    EXPECT_EQ(sim.files.get(WebDatei), formatEntries({" - A", " - X", " - D"}));

    // A typed designation is stored as the dialog closes, unless unchanged; a failure is said.
    const struct {
        const char* typed;
        bool fails;
        int writes;
    } typings[] = {{" - Getippt", false, 1}, {" - Getippt", false, 0}, {" - Nicht", true, 1}};
    for (const auto& t : typings) {
        if (t.fails) sim.files.failWrites(ConfigDatei);
        const int writes = sim.files.writes();
        inDialog([&](FrmWebBrowser& d) { d.Text2.setText(t.typed); });
        EXPECT_EQ(sim.files.writes() - writes, t.writes) << t.typed;
    }
    EXPECT_NE(message(5).find(ConfigDatei), std::string::npos);
    EXPECT_NE(sim.files.get(ConfigDatei)->find("Bezeichnung=\"\" - Getippt\"\""),
              std::string::npos);
}

// Only 1 switches on; the hotkey box takes 0, 1 and 2, and its load-time click writes it back.
TEST(StoredSwitches, OnlyA1SwitchesOnAndTheHotkeyBoxShowsWhatWasRead) {
    const std::tuple<const char*, bool, int> cases[] = {
        {"1", true, 1},   {" 1 ", true, 1},  {"0", false, 0}, {"2", false, 2},  {"7", false, 0},
        {"-1", false, 0}, {"abc", false, 0}, {"", false, 0},  {"1.5", false, 0}};
    for (const auto& [stored, on, box] : cases) {
        SCOPED_TRACE(stored);
        sim::SimPlatform fresh;
        fresh.files.put("C:\\Programme\\Zuklapper\\config.ini",
                        std::string("[Webbrowser]\r\nAktuelleBrowser=") + stored +
                            "\r\n[Hotkeys]\r\nAddTitle=F13\r\nAddUrl=f9\r\nChkAddUrl=" + stored);
        Zuklapper program(fresh.platform);
        program.start();
        EXPECT_EQ(program.AktuelleBrowser, on);
        EXPECT_EQ(program.form1().mAktuelleBrowser.checked(), on);
        EXPECT_EQ(program.form1().tmrHotkey.enabled(), on);
        EXPECT_EQ(program.Hotkey, (HotkeyTable{0, 5, 0, 1})); // F13 and f9 name no key
        program.frmconfig().window.show();
        EXPECT_EQ(program.frmconfig().Check1.value(), box);
        EXPECT_EQ(fresh.files.writes(), box == 0 ? 0 : 1);
        EXPECT_EQ(program.form1().tmrHotkey.enabled(), on);
    }
}

// The load-time write fails silently; opened again, the dialog comes to the front or loads.
using HotkeyDialog = ProgramTest;

TEST_F(HotkeyDialog, ComesToTheFrontWhenOpenAndLoadsAfreshWhenOpenedAgain) {
    start();
    Frmconfig& dialog = app->frmconfig();
    sim.files.failWrites(ConfigDatei);
    choose("H&otkeys");
    sim.files.heal();
    dialog.cbTitel1.choose(4);
    dialog.cbTitel1.setText("F");
    sim.desktop.setForeground(sim.desktop.openBrowser("IEFrame", "Seite", nullptr));
    const Hwnd shown = dialog.window.handle();
    choose("H&otkeys");
    EXPECT_EQ(sim.desktop.foreground(), shown);
    EXPECT_EQ(dialog.cbTitel1.text(), "F");
    dialog.window.requestClose();
    choose("H&otkeys");
    EXPECT_EQ(dialog.cbTitel1.listCount(), 12);
    EXPECT_EQ(dialog.cbTitel1.text(), "F5");
}

} // namespace
} // namespace zk
