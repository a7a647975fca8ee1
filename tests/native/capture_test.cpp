#include "program_fixture.h"

#include "capture/cuts.h"
#include "capture/frm_hinzufuegen.h"

namespace zk {
namespace {

class Capture : public ProgramTest {
protected:
    FrmHinzufuegen& dialog() { return app->frmHinzufuegen(); }
    // The user's part in the next address dialogs.
    void inDialog(std::function<void(FrmHinzufuegen&)> act) {
        sim.toolkit.expectModal([this, act = std::move(act)](const sim::ModalCall&) {
            act(dialog());
            return 0;
        });
    }
    std::string caption() { return form().cmdHinzufuegen.caption(); }
};

TEST_F(Capture, TheButtonWaitsForAnotherWindowAndASecondClickCancels) {
    start({"alt"});
    form().window.show(); // the main window is in front
    form().cmdHinzufuegen.click();
    sim.advance(1500);
    EXPECT_EQ(caption(), "&Abbrechen");
    form().cmdHinzufuegen.click();
    EXPECT_EQ(caption(), "&Hinzuf\xFCgen");
    EXPECT_FALSE(form().tmrneuerEintrag.enabled());
    front("Seite - Microsoft Internet Explorer");
    sim.advance(500);
    EXPECT_EQ(form().List1.items(), Items{"alt"});
}

// The title entry is the title's head, the browser designation its tail: they meet at the
// character before the last hyphen.
TEST(TitleCuts, TheEntryIsTheHeadAndTheDesignationTheTailOfTheTitle) {
    const std::optional<std::string> none;
    const struct {
        const char* title = nullptr;
        std::optional<std::string> entry;
        std::optional<std::string> designation;
    } cases[] = {
        {"Seite - Microsoft Internet Explorer", "Seite", " - Microsoft Internet Explorer"},
        {"a-b - Mozilla", "a-b", " - Mozilla"},
        {"abc-def", "ab", "c-def"},
        {"-abc", "", "-abc"},
        {"a-bc", "", "a-bc"},
        {"Strich hinten-", "Strich hinte", "n-"},
        {"ohne Strich", none, none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(titleEntry(c.title), c.entry) << c.title;
        EXPECT_EQ(designationEntry(c.title), c.designation) << c.title;
    }
}

TEST_F(Capture, DuplicatesUnstorableEntriesAndFailedAppendsAreSaid) {
    start({"Seite"});
    expectMessages(3);
    front("SEITE - Browser"); // letter case ignored
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_EQ(message(0), "Die Webseite befindet sich bereits in der Liste");
    EXPECT_EQ(sim.toolkit.messageBoxes()[0].style, ui::MB_OK_INFORMATION);
    front("Er sagte \"ja\", dann - Browser"); // would come back as two entries
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_NE(message(1).find("Er sagte \"ja\", dann"), std::string::npos);

    sim.files.failAppends(TitelDatei, 4); // breaks off after its first four characters
    const Hwnd page = front("Neu - Browser");
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_NE(message(2).find(TitelDatei), std::string::npos);
    app->WebbrowserBezeichnung = " - Browser";
    tick(); // the entry works until the program ends
    EXPECT_FALSE(sim.desktop.exists(page));
    sim.files.heal();
    front("Danach - Browser");
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_EQ(sim.files.get(TitelDatei), "\"Seite\"\r\n\"Neu\r\n\"Danach\"\r\n");
}

TEST_F(Capture, WhatLeavesTheAddressDialogBecomesAnEntryByTheSlashRule) {
    start({}, {"m"});
    form().optListe1.setValue(true);
    // How the user leaves the dialog: OK, "&Abbrechen" or the close box, which never hands
    // back an address confirmed before; the entry, if any.
    const struct {
        const char* typed = nullptr;
        char leave = 'o';
        const char* entry = nullptr;
    } cases[] = {
        {"http://a.b//", 'o', "http://a.b/"}, {"abcde/", 'o', "abcde/"},
        {"abcdef/", 'o', "abcdef"},           {"  mit Blanks ", 'o', "  mit Blanks "},
        {"geschlossen", 'x', nullptr},        {"", 'o', nullptr},
        {"abgebrochen", 'a', nullptr},
    };
    Items expected = {"m"};
    for (const auto& c : cases) {
        inDialog([&](FrmHinzufuegen& d) {
            EXPECT_EQ(d.Text1.text(), ""); // no browser answers
            d.Text1.setText(c.typed);
            if (c.leave == 'o') d.Command1.click();
            if (c.leave == 'a') d.Command2.click();
            if (c.leave == 'x') d.window.requestClose();
        });
        front("Seite");
        EXPECT_FALSE(form().Eintrag_erfassen(form().UrlPfad)) << c.typed;
        if (c.entry) expected.push_back(c.entry);
        EXPECT_EQ(form().UrlEintraege.items(), expected) << c.typed;
    }
}

TEST_F(Capture, AnAddressGoesToTheListShownWhenItsCaptureBeganOnALineOfItsOwn) {
    sim.files.put(UrlDatei, "\"alt.example\""); // saved by hand, no line end after the last
    start({"t"});
    sim.dde.serve("iexplore", "WWW_GetWindowInfo", "\"http://neu.example/p/\",\"Neu\"");
    inDialog([&](FrmHinzufuegen& d) {
        EXPECT_EQ(d.Text1.text(), "http://neu.example/p/");
        EXPECT_TRUE(d.window.topmost());
        form().optListe0.setValue(true); // the user looks at the title list meanwhile
        d.Command1.click();
    });
    form().cmdHinzufuegen.click(); // armed while the title list is shown
    form().optListe1.setValue(true);
    const Hwnd page = front("Neu - Microsoft Internet Explorer", "http://neu.example/p/x");
    sim.advance(500);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"alt.example\"\r\n\"http://neu.example/p\"\r\n");
    EXPECT_EQ(sim.files.get(TitelDatei), "\"t\"\r\n");
    EXPECT_EQ(form().List1.items(), Items{"t"});
    EXPECT_EQ(caption(), "&Hinzuf\xFCgen");
    form().optListe1.setValue(true);
    EXPECT_EQ(form().List1.items(), (Items{"alt.example", "http://neu.example/p"}));
    tick();
    EXPECT_FALSE(sim.desktop.exists(page));
}

TEST_F(Capture, WhileTheUserConfirmsTheCloseCycleGoesOnAndNoSecondCaptureStarts) {
    start({}, {"weg"});
    form().optListe1.setValue(true);
    sim.dde.serve("mozilla", "WWW_GetWindowInfo", "\"http://eins/\",\"Seite\"");
    Hwnd unwanted = 0;
    inDialog([&](FrmHinzufuegen& d) {
        // The user took a second: the close cycle and the armed timer ticked meanwhile.
        EXPECT_FALSE(sim.desktop.exists(unwanted));
        EXPECT_TRUE(form().tmrneuerEintrag.enabled());
        d.Command1.click();
    });
    form().cmdHinzufuegen.click();
    front("Seite - Mozilla Firefox");
    sim.advance(450);
    unwanted = sim.desktop.openBrowser("IEFrame", "U", "http://weg/", sim::OnClose::Slow);
    sim.advance(50); // the close cycle asks it to close, then the capture opens the dialog
    EXPECT_EQ(sim.toolkit.modalWindows().size(), 1u);
    EXPECT_EQ(form().UrlEintraege.items(), (Items{"weg", "http://eins"}));
    EXPECT_EQ(sim.dde.requests().size(), 1u);
}

} // namespace
} // namespace zk
