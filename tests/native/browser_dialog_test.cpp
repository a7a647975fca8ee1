#include "program_fixture.h"

#include "browsers/frm_web_browser.h"
#include "tray/frm_haupt.h"

namespace zk {
namespace {

using Items = std::vector<std::string>;

constexpr const char* WebDatei = "C:\\Programme\\Zuklapper\\Webbrowser.txt";
constexpr const char* ConfigDatei = "C:\\Programme\\Zuklapper\\config.ini";

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
    void expectMessages(std::size_t count) {
        sim.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
        expectedMessages_ = count;
    }
    const std::string& message(std::size_t i) { return sim.toolkit.messageBoxes().at(i).text; }
    void TearDown() override { EXPECT_EQ(sim.toolkit.messageBoxes().size(), expectedMessages_); }

    std::size_t expectedMessages_ = 0;
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
        capture("-Strich vorn");
        capture("Strich hinten-");
        capture("ohne Strich");
        EXPECT_EQ(message(0), "Ung\xFCltiges Webbrowser-Fenster");
        capture("Seite - MOZILLA Firefox");
        EXPECT_EQ(message(1), "Dieser Webbrowser befindet sich bereits in der Liste");
        EXPECT_EQ(sim.toolkit.messageBoxes()[1].caption, "Zuklapper");
        EXPECT_EQ(sim.toolkit.messageBoxes()[1].style, ui::MB_OK_INFORMATION);
        // The system's word order passes over hyphens.
        EXPECT_EQ(d.List1.items(), (Items{" - Microsoft Internet Explorer", " - Mozilla Firefox",
                                          "n-", "-Strich vorn"}));
    });
    EXPECT_EQ(sim.files.get(WebDatei),
              formatEntries(
                  {" - Mozilla Firefox", " - Microsoft Internet Explorer", "-Strich vorn", "n-"}));
    EXPECT_FALSE(sim.files.exists(ConfigDatei)); // a capture chooses nothing
}

TEST_F(BrowserDialog, DeletingRewritesTheFileAndChoosesTheFirstRemainingRow) {
    startWith({" - B", " - A", " - C"}, "\"\" - B\"\"");
    inDialog([&](FrmWebBrowser& d) {
        d.Command1.click(); // no row selected: nothing happens
        EXPECT_EQ(d.List1.listCount(), 3);
        EXPECT_EQ(sim.files.writes(), 0);
        d.List1.setListIndex(1);
        d.Command1.click();
        EXPECT_EQ(d.List1.items(), (Items{" - A", " - C"}));
        EXPECT_EQ(d.List1.listIndex(), 0);
        EXPECT_EQ(d.Text2.text(), " - A");
    });
    EXPECT_EQ(sim.files.get(WebDatei), formatEntries({" - A", " - C"}));
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nBezeichnung=\"\" - A\"\"\r\n");
    EXPECT_EQ(app->WebbrowserBezeichnung, " - A");

    sim.files.put(WebDatei, formatEntries({" - Einzig"}));
    inDialog([&](FrmWebBrowser& d) {
        d.List1.setListIndex(0);
        d.Text2.setText(" - getippt");
        d.Command1.click();
        EXPECT_EQ(d.List1.listCount(), 0);
        d.Command1.click(); // an empty list: nothing happens
        EXPECT_EQ(app->WebbrowserBezeichnung, " - getippt");
    });
    EXPECT_EQ(sim.files.get(WebDatei), "");
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nBezeichnung=\"\" - Einzig\"\"\r\n");
}

TEST_F(BrowserDialog, AChoiceIsStoredWithItsLeadingBlankAndATypedOneWorksOnlyUntilTheNextLoad) {
    startWith({" - Testbrowser", " - Firefox"});
    const Hwnd page = sim.desktop.openBrowser("IEFrame", "Seite - Neu", nullptr);
    inDialog([&](FrmWebBrowser& d) {
        d.List1.setListIndex(0);
        EXPECT_EQ(app->WebbrowserBezeichnung, " - Firefox");
        EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nBezeichnung=\"\" - Firefox\"\"\r\n");
        tick();
        EXPECT_TRUE(sim.desktop.exists(page));
        d.Text2.setText(" - Neu");
        tick();
        EXPECT_FALSE(sim.desktop.exists(page)) << "the typed designation works at once";
    });
    EXPECT_EQ(app->WebbrowserBezeichnung, " - Neu");
    EXPECT_EQ(sim.files.get(ConfigDatei), "[Webbrowser]\r\nBezeichnung=\"\" - Firefox\"\"\r\n");
    inDialog([&](FrmWebBrowser& d) { EXPECT_EQ(d.Text2.text(), " - Firefox"); });
    EXPECT_EQ(app->WebbrowserBezeichnung, " - Firefox");
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
