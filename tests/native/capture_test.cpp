#include "program_fixture.h"

#include "capture/frm_hinzufuegen.h"

namespace zk {
namespace {

using Items = std::vector<std::string>;

class Capture : public ProgramTest {
protected:
    // A browser window the user brings to the front.
    Hwnd front(const std::string& title, const char* url = nullptr) {
        const Hwnd window = sim.desktop.openBrowser("IEFrame", title, url);
        sim.desktop.setForeground(window);
        return window;
    }
    FrmHinzufuegen& dialog() { return app->frmHinzufuegen(); }
    // The user's part in the next address dialogs.
    void inDialog(std::function<void(FrmHinzufuegen&)> act) {
        sim.toolkit.expectModal([this, act = std::move(act)](const sim::ModalCall&) {
            act(dialog());
            return 0;
        });
    }
    std::string caption() { return form().cmdHinzufuegen.caption(); }
    void expectMessages(std::size_t count) {
        sim.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
        expectedMessages_ = count;
    }
    void TearDown() override { EXPECT_EQ(sim.toolkit.messageBoxes().size(), expectedMessages_); }

    std::size_t expectedMessages_ = 0;
};

TEST_F(Capture, TheButtonWaitsForAnotherWindowThenTakesItsTitleOnce) {
    start({"alt"});
    form().window.show(); // the main window is in front
    form().cmdHinzufuegen.click();
    EXPECT_EQ(caption(), "&Abbrechen");
    sim.advance(1500);
    EXPECT_TRUE(form().tmrneuerEintrag.enabled());
    form().cmdHinzufuegen.click(); // cancelled before switching
    EXPECT_EQ(caption(), "&Hinzuf\xFCgen");
    EXPECT_FALSE(form().tmrneuerEintrag.enabled());

    form().cmdHinzufuegen.click();
    const Hwnd page = front("Seite - Microsoft Internet Explorer");
    sim.advance(500);
    EXPECT_EQ(caption(), "&Hinzuf\xFCgen");
    EXPECT_FALSE(form().tmrneuerEintrag.enabled());
    EXPECT_EQ(form().List1.items(), (Items{"alt", "Seite"}));
    EXPECT_EQ(form().List1.listIndex(), 0);
    EXPECT_EQ(sim.files.get(TitelDatei), "\"alt\"\r\n\"Seite\"\r\n");

    // The next close cycle uses it, with the designation in force.
    app->WebbrowserBezeichnung = " - Microsoft Internet Explorer";
    tick();
    EXPECT_FALSE(sim.desktop.exists(page));
}

TEST_F(Capture, TitlesAreCutBeforeTheCharacterThatPrecedesTheirLastHyphen) {
    start({"m"});
    const std::string xs(250, 'x');
    // Titles are read as their first 255 characters: the last hyphen is the one of " - Se".
    const std::pair<std::string, const char*> titles[] = {
        {"abc-def", "ab"}, {"a-b - Mozilla", "a-b"}, {"ohne Strich", nullptr},
        {"-abc", nullptr}, {"a-bc", nullptr},        {xs + " - Seite - Browser", xs.c_str()},
    };
    for (const auto& [title, entry] : titles) {
        front(title);
        form().List1.setListIndex(-1);
        EXPECT_FALSE(form().Eintrag_erfassen(form().Pfad)) << title;
        // Only a title without any hyphen still selects the first item.
        EXPECT_EQ(form().List1.listIndex(), entry || title == "ohne Strich" ? 0 : -1) << title;
    }
    EXPECT_EQ(form().List1.items(), (Items{"ab", "a-b", "m", xs}));
    EXPECT_EQ(form().TitelEintraege.items(), (Items{"m", "ab", "a-b", xs}));
}

TEST_F(Capture, DuplicatesUnstorableEntriesAndFailedAppendsAreSaid) {
    start({"Seite"});
    expectMessages(3);
    front("SEITE - Browser"); // letter case ignored
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_EQ(sim.toolkit.messageBoxes()[0].text,
              "Die Webseite befindet sich bereits in der Liste");
    EXPECT_EQ(sim.toolkit.messageBoxes()[0].style, ui::MB_OK_INFORMATION);

    front("Er sagte \"ja\", dann - Browser"); // would come back as two entries
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_NE(sim.toolkit.messageBoxes()[1].text.find("Er sagte \"ja\", dann"), std::string::npos);
    EXPECT_EQ(sim.files.get(TitelDatei), "\"Seite\"\r\n");

    sim.files.failAppends(TitelDatei);
    const Hwnd page = front("Neu - Browser");
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_NE(sim.toolkit.messageBoxes()[2].text.find(TitelDatei), std::string::npos);
    EXPECT_EQ(sim.files.get(TitelDatei), "\"Seite\"\r\n");
    EXPECT_EQ(form().List1.items(), (Items{"Neu", "Seite"})); // works until the program ends
    app->WebbrowserBezeichnung = " - Browser";
    tick();
    EXPECT_FALSE(sim.desktop.exists(page));
}

TEST_F(Capture, TheAddressDialogShowsWhatTheBrowserReportedAndAddsWhatTheUserConfirms) {
    start({"t"}, {"http://alt/"});
    sim.dde.serve("iexplore", "WWW_GetWindowInfo", "\"http://neu.example/p/\",\"Neu\",\"\"");
    std::string shown;
    inDialog([&](FrmHinzufuegen& d) {
        shown = d.Text1.text();
        EXPECT_TRUE(d.window.topmost());
        d.Command1.click();
    });
    // Armed while the title list was shown: the address goes to the URL list all the same.
    form().cmdHinzufuegen.click();
    form().optListe1.setValue(true);
    const Hwnd page = front("Neu - Microsoft Internet Explorer", "http://neu.example/p/x");
    sim.advance(500);
    EXPECT_EQ(shown, "http://neu.example/p/");
    EXPECT_EQ(sim.files.get(UrlDatei), "\"http://alt/\"\r\n\"http://neu.example/p\"\r\n");
    EXPECT_EQ(sim.files.get(TitelDatei), "\"t\"\r\n");
    EXPECT_EQ(form().List1.items(), (Items{"http://alt/", "http://neu.example/p"}));
    EXPECT_EQ(caption(), "&Hinzuf\xFCgen");
    tick();
    EXPECT_FALSE(sim.desktop.exists(page));
}

TEST_F(Capture, WhatLeavesTheAddressDialogBecomesAnEntryByTheSlashRule) {
    start({}, {"m"});
    form().optListe1.setValue(true);
    enum class Leave { Ok, Cancel, CloseBox };
    const struct {
        const char* typed;
        Leave leave;
        const char* entry; // nullptr: nothing added
    } cases[] = {
        {"http://a.b//", Leave::Ok, "http://a.b/"},
        {"abcde/", Leave::Ok, "abcde/"},
        {"abcdef/", Leave::Ok, "abcdef"},
        {"  mit Blanks ", Leave::Ok, "  mit Blanks "},
        {"geschlossen", Leave::CloseBox, nullptr}, // never the address of the OK before
        {"", Leave::Ok, nullptr},
        {"abgebrochen", Leave::Cancel, nullptr},
    };
    std::vector<std::string> expected = {"m"};
    for (const auto& c : cases) {
        inDialog([&](FrmHinzufuegen& d) {
            EXPECT_EQ(d.Text1.text(), ""); // no browser answers
            d.Text1.setText(c.typed);
            if (c.leave == Leave::Ok) d.Command1.click();
            if (c.leave == Leave::Cancel) d.Command2.click();
            if (c.leave == Leave::CloseBox) d.window.requestClose();
        });
        front("Seite");
        EXPECT_FALSE(form().Eintrag_erfassen(form().UrlPfad)) << c.typed;
        if (c.entry) expected.push_back(c.entry);
        EXPECT_EQ(form().UrlEintraege.items(), expected) << c.typed;
    }
    EXPECT_EQ(sim.toolkit.modalWindows().size(), std::size(cases));
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

TEST_F(Capture, AnEntryGoesToTheListShownWhenItsCaptureBeganOnALineOfItsOwn) {
    sim.files.put(UrlDatei, "\"alt.example\""); // saved by hand, no line end after the last
    start({"t"});
    form().optListe1.setValue(true);
    sim.dde.serve("iexplore", "WWW_GetWindowInfo", "\"http://neu.example/\",\"Neu\"");
    inDialog([&](FrmHinzufuegen& d) {
        form().optListe0.setValue(true); // the user looks at the title list meanwhile
        d.Command1.click();
    });
    form().cmdHinzufuegen.click();
    front("Neu - Microsoft Internet Explorer");
    sim.advance(500);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"alt.example\"\r\n\"http://neu.example\"\r\n");
    EXPECT_EQ(sim.files.get(TitelDatei), "\"t\"\r\n");
    EXPECT_EQ(form().List1.items(), Items{"t"});
    form().optListe1.setValue(true);
    EXPECT_EQ(form().List1.items(), (Items{"alt.example", "http://neu.example"}));
}

} // namespace
} // namespace zk
