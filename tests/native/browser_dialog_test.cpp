#include "program_fixture.h"

#include "browsers/frm_web_browser.h"
#include "tray/frm_haupt.h"

namespace zk {
namespace {

class BrowserDialog : public ProgramTest {
protected:
    void startWith(const Items& designations, const char* stored = nullptr) {
        if (!designations.empty()) sim.files.put(WebDatei, formatEntries(designations));
        if (stored)
            sim.files.put(ConfigDatei,
                          std::string("[Webbrowser]\r\nBezeichnung=") + stored + "\r\n");
        start({"Seite"});
    }
    FrmWebBrowser& dialog() { return app->frmWebBrowser(); }
    // Opens the dialog with Form1's button; the user acts in it, then closes it with the
    // close box unless the act did.
    void inDialog(const std::function<void(FrmWebBrowser&)>& act) {
        sim.toolkit.expectModal([this, act](const sim::ModalCall& call) {
            EXPECT_EQ(call.window, "frmWebBrowser");
            act(dialog());
            if (dialog().window.loaded()) dialog().window.requestClose();
            return 0;
        });
        form().Command2.click();
    }
    // Arms the capture and brings a window with the title to the front for one tick.
    void capture(const std::string& title) {
        dialog().cmdHinzufuegen.click();
        sim.desktop.setForeground(sim.desktop.openBrowser("IEFrame", title, nullptr));
        tick();
        EXPECT_EQ(dialog().cmdHinzufuegen.caption(), "&Hinzuf\xFCgen") << title;
        EXPECT_FALSE(dialog().Timer1.enabled()) << title;
    }
};

TEST_F(BrowserDialog, IsLoadedHiddenAtStartAndClosedAtTheEndWithItsTextInForce) {
    startWith({" - B", " - A"}, "\"\" - A\"\"");
    EXPECT_TRUE(dialog().window.loaded());
    EXPECT_FALSE(dialog().window.visible());
    EXPECT_TRUE(dialog().window.topmost());
    EXPECT_EQ(win(dialog().window.handle()).owner, form().window.handle());
    EXPECT_EQ(dialog().List1.items(), (Items{" - A", " - B"}));
    EXPECT_EQ(dialog().Text2.text(), " - A");
    EXPECT_EQ(app->WebbrowserBezeichnung, " - A");

    // The popup item opens the same dialog.
    sim.toolkit.expectModal([this](const sim::ModalCall& call) {
        EXPECT_EQ(call.window, "frmWebBrowser");
        EXPECT_EQ(dialog().window.caption(), "Zuklapper Webbrowserauswahl");
        dialog().window.hide();
        return 0;
    });
    form().mweb.click();
    EXPECT_EQ(sim.toolkit.modalWindows().size(), 1u);

    dialog().Text2.setText(" - B");
    app->WebbrowserBezeichnung.clear();
    app->frmHaupt().schliessen();
    EXPECT_FALSE(dialog().window.loaded());
    EXPECT_EQ(app->WebbrowserBezeichnung, " - B");
    EXPECT_EQ(sim.files.writes(), 0);
}

TEST_F(BrowserDialog, CapturesFromTheCharacterBeforeTheLastHyphenOfTheWindowInFront) {
    sim.files.put(WebDatei, "\" - Mozilla Firefox\""); // no line end after the last line
    startWith({});
    expectMessages(2);
    inDialog([&](FrmWebBrowser& d) {
        // While the dialog stays in front the capture waits; cancelling reads nothing.
        d.cmdHinzufuegen.click();
        sim.advance(1000);
        EXPECT_EQ(d.cmdHinzufuegen.caption(), "&Abbrechen");
        d.cmdHinzufuegen.click();
        EXPECT_FALSE(d.Timer1.enabled());
        EXPECT_EQ(d.cmdHinzufuegen.caption(), "&Hinzuf\xFCgen");
        sim.desktop.setForeground(sim.desktop.openBrowser("IEFrame", "X - Y", nullptr));
        sim.advance(1000);
        EXPECT_EQ(d.List1.listCount(), 1);

        capture("Seite - Microsoft Internet Explorer");
        capture("ohne Strich");
        EXPECT_EQ(message(0), "Ung\xFCltiges Webbrowser-Fenster");
        capture("Seite - MOZILLA Firefox");
        EXPECT_EQ(message(1), "Dieser Webbrowser befindet sich bereits in der Liste");
        EXPECT_EQ(sim.toolkit.messageBoxes()[1].caption, "Zuklapper");
        EXPECT_EQ(d.List1.items(), (Items{" - Microsoft Internet Explorer", " - Mozilla Firefox"}));
    });
    EXPECT_EQ(sim.files.get(WebDatei),
              formatEntries({" - Mozilla Firefox", " - Microsoft Internet Explorer"}));
    EXPECT_FALSE(sim.files.exists(ConfigDatei)); // a capture chooses nothing
}

// A click chooses a designation and stores it with its blanks; a typed one works at once
// until the next load. Deleting rewrites the file and chooses the first remaining row.
TEST_F(BrowserDialog, ChoosingStoresTheDesignationAndDeletingChoosesTheFirstRow) {
    startWith({" - B", " - Neu", " - A"});
    const Hwnd page = sim.desktop.openBrowser("IEFrame", "Seite - Typed", nullptr);
    inDialog([&](FrmWebBrowser& d) {
        d.Command1.click(); // no row selected: nothing happens
        EXPECT_EQ(sim.files.writes(), 0);
        d.List1.setListIndex(2);
        EXPECT_EQ(app->WebbrowserBezeichnung, " - Neu");
        d.Text2.setText(" - Typed");
        tick();
        EXPECT_FALSE(sim.desktop.exists(page)) << "the typed designation works at once";
        d.Command1.click();
        EXPECT_EQ(d.List1.items(), (Items{" - A", " - B"}));
        EXPECT_EQ(d.Text2.text(), " - A");
    });
    EXPECT_EQ(sim.files.get(WebDatei), formatEntries({" - A", " - B"}));
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nBezeichnung=\"\" - A\"\"\r\n");

    sim.files.put(WebDatei, formatEntries({" - Einzig"}));
    inDialog([&](FrmWebBrowser& d) {
        EXPECT_EQ(d.Text2.text(), " - A");
        d.List1.setListIndex(0);
        d.Text2.setText(" - getippt");
        d.Command1.click();
        d.Command1.click(); // an empty list: nothing happens
    });
    EXPECT_EQ(app->WebbrowserBezeichnung, " - getippt");
    EXPECT_EQ(sim.files.get(WebDatei), "");
    inDialog([&](FrmWebBrowser& d) { EXPECT_EQ(d.Text2.text(), " - Einzig"); });
    EXPECT_EQ(app->WebbrowserBezeichnung, " - Einzig");
}

TEST_F(BrowserDialog, FileFaultsAndUnstorableDesignationsAreSaidAndLoseNothing) {
    startWith({" - A", " - B"}, "\"\" - B\"\"");
    expectMessages(5);
    inDialog([&](FrmWebBrowser& d) {
        sim.files.failWrites(ConfigDatei); // a choice that cannot be saved holds for this run
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
        EXPECT_EQ(d.List1.listCount(), 3);
    });
    EXPECT_EQ(sim.files.get(WebDatei), formatEntries({" - A", " - B"}));

    // A file that exists but cannot be read gives an empty list, which is never rewritten.
    sim.files.heal();
    sim.files.failReads(WebDatei);
    inDialog([&](FrmWebBrowser& d) {
        EXPECT_EQ(d.List1.listCount(), 0);
        capture("Seite - D");
        d.List1.setListIndex(0);
        d.Command1.click();
        EXPECT_NE(message(4).find(WebDatei), std::string::npos);
        EXPECT_EQ(d.List1.items(), (Items{" - D"}));
    });
    sim.files.heal();
    EXPECT_EQ(sim.files.get(WebDatei), formatEntries({" - A", " - B", " - D"}));
}

} // namespace
} // namespace zk
