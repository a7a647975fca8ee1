#include "program_fixture.h"

#include "browsers/frm_web_browser.h"
#include "hotkeys/frmconfig.h"
#include "schedule/frm_sperrzeiten.h"

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

// The week a line means; nothing for a line that cannot be read.
std::optional<BlockWeek> weekOf(const std::string& line) { return parseBlockTimes(line).week; }

class BlockTimesDialog : public ProgramTest {
protected:
    // Opens the dialog from the menu; the user acts in it and leaves it through its controls.
    void inDialog(const std::function<void(FrmSperrzeiten&)>& act) {
        sim.toolkit.expectModal([this, act](const sim::ModalCall&) {
            act(app->frmSperrzeiten());
            return 0;
        });
        choose("Sperr&zeiten \x85");
    }
};

// The grid and the line follow each other; "&OK" stores the line and puts its week in force
// only when it can be read, blocks something and fits config.ini; leaving otherwise keeps all.
TEST_F(BlockTimesDialog, GridAndLineFollowEachOtherAndOnlyOkStoresAReadableLine) {
    sim.files.put(ConfigDatei, "[Sperrzeiten]\r\nZeiten=Mo-Fr 08:00-12:00\r\n");
    start();
    expectMessages(4);
    BlockWeek wanted = *weekOf("Mo-Fr 08:00-12:00");
    inDialog([&](FrmSperrzeiten& d) {
        EXPECT_EQ(d.txtZeile.text(), "Mo-Fr 08:00-12:00");
        EXPECT_TRUE(d.grdWoche.cell(4, 16) && d.grdWoche.cell(0, 23));
        EXPECT_FALSE(d.grdWoche.cell(0, 15) || d.grdWoche.cell(0, 24) || d.grdWoche.cell(5, 16));

        // A drag paints the rectangle with the opposite of its first cell; cells it leaves
        // again are as before.
        d.grdWoche.press(5, 20);
        d.grdWoche.dragTo(6, 30);
        d.grdWoche.dragTo(5, 23);
        d.grdWoche.release();
        wanted.set(5 * kMinutesPerDay + 600, 5 * kMinutesPerDay + 720, true);
        EXPECT_EQ(weekOf(d.txtZeile.text()), wanted) << d.txtZeile.text();
        sim.toolkit.drag(d.grdWoche, 1, 16, 0, 17); // Mo-Di 08:00-09:00 blocked: freed
        wanted.set(480, 540, false);
        wanted.set(kMinutesPerDay + 480, kMinutesPerDay + 540, false);
        EXPECT_EQ(weekOf(d.txtZeile.text()), wanted) << d.txtZeile.text();

        // A half hour blocked in part shows free and keeps its minutes, even when a drag
        // passes over it and back.
        d.txtZeile.setText("Mo 08:15-09:00");
        EXPECT_FALSE(d.grdWoche.cell(0, 16) || d.grdWoche.cell(4, 16));
        EXPECT_TRUE(d.grdWoche.cell(0, 17));
        d.grdWoche.press(0, 20);
        d.grdWoche.dragTo(0, 16);
        d.grdWoche.dragTo(0, 20);
        d.grdWoche.release();
        EXPECT_EQ(weekOf(d.txtZeile.text()), weekOf("Mo 08:15-09:00 10:00-10:30"));

        // Refused: a line that cannot be read (the grid stays), an empty grid (an empty line),
        // a line too long for config.ini. The dialog stays open each time.
        const struct {
            std::function<void()> edit;
            const char* said;
        } refusals[] = {
            {[&] {
                 d.txtZeile.setText("Mo 08:00-25:00");
                 EXPECT_TRUE(d.grdWoche.cell(0, 20));
             },
             "25:00"},
            {[&] {
                 d.txtZeile.setText("");
                 sim.toolkit.drag(d.grdWoche, 0, 0, 6, 47);
                 EXPECT_EQ(d.txtZeile.text(), "");
             },
             "keine Seite"},
            {[&] {
                 std::string line = "Mo 08:00-09:00";
                 while (line.size() <= 999) line += "; Mo 08:00-09:00";
                 d.txtZeile.setText(line);
             },
             "999"},
        };
        for (std::size_t i = 0; i < std::size(refusals); ++i) {
            refusals[i].edit();
            d.cmdOK.click();
            EXPECT_NE(message(i).find(refusals[i].said), std::string::npos) << message(i);
            EXPECT_TRUE(d.window.visible());
        }

        // config.ini cannot take the line: said, and the week holds until the program ends.
        d.txtZeile.setText("Sa 10:00-12:00");
        sim.files.failWrites(ConfigDatei);
        sim.toolkit.pressKey(ui::KEY_RETURN);
        sim.files.heal();
    });
    EXPECT_NE(message(3).find(ConfigDatei), std::string::npos);
    EXPECT_EQ(app->Sperrwoche, weekOf("Sa 10:00-12:00"));

    // Opened again, it shows the line in force; Escape leaves all as it was, and so does the
    // close box; "&OK" stores the line.
    for (const bool escape : {true, false}) {
        inDialog([&](FrmSperrzeiten& d) {
            EXPECT_EQ(d.txtZeile.text(), "Sa 10:00-12:00");
            sim.toolkit.drag(d.grdWoche, 0, 0, 0, 0);
            escape ? sim.toolkit.pressKey(ui::KEY_ESCAPE) : d.window.requestClose();
        });
    }
    EXPECT_EQ(app->Sperrwoche, weekOf("Sa 10:00-12:00"));
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Sperrzeiten]\r\nZeiten=Mo-Fr 08:00-12:00\r\n");
    inDialog([&](FrmSperrzeiten& d) { d.cmdOK.click(); });
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Sperrzeiten]\r\nZeiten=Sa 10:00-12:00\r\n");
}

} // namespace
} // namespace zk
