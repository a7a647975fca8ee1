#include "program_fixture.h"

#include "capture/frm_hinzufuegen.h"
#include "hotkeys/frmconfig.h"

namespace zk {
namespace {

constexpr int Shift = 16, Ctrl = 17, LeftCtrl = 162, F8 = 119;

class Capture : public ProgramTest {
protected:
    // The user's part in the next address dialogs.
    void inDialog(std::function<void(FrmHinzufuegen&)> act) {
        sim.toolkit.expectModal([this, act = std::move(act)](const sim::ModalCall&) {
            act(app->frmHinzufuegen());
            return 0;
        });
    }
    const Items& titles() { return form().TitelEintraege.items(); }
};

// One press, one capture: held for a tick or three, or tapped between two ticks, F8 takes the
// window in front once, the title binding before the same URL binding. Refused entries are
// said; so is a failed append, which is cut off again, and the entry works for this run.
TEST_F(Capture, OnePressTakesOnceTheTitleFirstAndRefusalsAndFailedAppendsAreSaid) {
    start();
    expectMessages(3);
    app->Hotkey = {F8, 5, F8, 5};
    const std::pair<const char*, int> presses[] = {
        {"Seite - Browser", 1},
        {"Zweite - Browser", 3},
        {"Dritte - Browser", 0},
        {"SEITE - Browser", 3},                 // letter case ignored: refused once
        {"Er sagte \"ja\", dann - Browser", 1}, // would come back as two entries
    };
    for (const auto& [title, ticks] : presses) {
        front(title);
        ticks > 0 ? sim.desktop.keyDown(F8) : sim.desktop.tap(F8);
        tick(std::max(ticks, 1));
        sim.desktop.keyUp(F8);
        tick();
    }
    EXPECT_EQ(titles(), (Items{"Seite", "Zweite", "Dritte"}));
    EXPECT_EQ(message(0), "Die Webseite befindet sich bereits in der Liste");
    EXPECT_EQ(sim.toolkit.messageBoxes()[0].style, ui::MB_OK_INFORMATION);
    EXPECT_NE(message(1).find("Er sagte \"ja\", dann"), std::string::npos);

    sim.files.failAppends(TitelDatei, 4); // breaks off after its first four characters
    const Hwnd page = front("Neu - Browser");
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_NE(message(2).find(TitelDatei), std::string::npos);
    app->WebbrowserBezeichnung = " - Browser";
    tick();
    EXPECT_FALSE(sim.desktop.exists(page));
    sim.files.heal();
    front("Danach - Browser");
    form().Eintrag_erfassen(form().Pfad);
    EXPECT_EQ(sim.files.get(TitelDatei), formatEntries({"Seite", "Zweite", "Dritte", "Danach"}));
}

// While the user confirms, the close cycle goes on and neither the button's timer nor a
// hotkey starts a second capture; the entry goes to the list shown when the capture began.
TEST_F(Capture, AnAddressGoesToTheListShownWhenItsCaptureBeganOnALineOfItsOwn) {
    sim.files.put(UrlDatei, "\"alt.example\""); // saved by hand, no line end after the last
    start({"t"});
    sim.dde.serve("iexplore", "WWW_GetWindowInfo", "\"http://neu.example/p/\",\"Neu\"");
    Hwnd unwanted = 0;
    inDialog([&](FrmHinzufuegen& d) {
        EXPECT_EQ(d.Text1.text(), "http://neu.example/p/");
        EXPECT_FALSE(sim.desktop.exists(unwanted));
        EXPECT_TRUE(form().tmrneuerEintrag.enabled());
        sim.desktop.keyDown(F8); // F8 alone, the title hotkey
        tick();
        sim.desktop.releaseKeys();
        EXPECT_TRUE(form().optListe1.value());
        form().optListe0.setValue(true); // the user looks at the title list meanwhile
        d.Command1.click();
    });
    form().cmdHinzufuegen.click();
    form().cmdHinzufuegen.click(); // a second click cancels
    EXPECT_FALSE(form().tmrneuerEintrag.enabled());
    form().cmdHinzufuegen.click(); // armed while the title list is shown
    form().optListe1.setValue(true);
    const Hwnd page = front("Neu - Microsoft Internet Explorer", "http://neu.example/p/x");
    sim.advance(450);
    unwanted = sim.desktop.openBrowser("IEFrame", "U", "http://alt.example/", sim::OnClose::Slow);
    sim.advance(50); // the close cycle asks it to close, then the capture opens the dialog
    EXPECT_EQ(sim.toolkit.modalWindows().size(), 1u);
    EXPECT_EQ(sim.dde.requests().size(), 1u);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"alt.example\"\r\n\"http://neu.example/p\"\r\n");
    EXPECT_EQ(form().List1.items(), Items{"t"});
    tick();
    EXPECT_FALSE(sim.desktop.exists(page));
}

TEST_F(Capture, OnlyAHotkeyPressSinceTheLastTickCounts) {
    sim.desktop.tap(F8); // before the program started
    start();
    front("Eins - Mozilla Firefox");
    tick(2);
    sim.desktop.tap(Shift); // a capital letter typed in the browser
    tick(5);
    sim.desktop.tap(F8);
    tick();
    EXPECT_EQ(titles(), (Items{"Eins"})); // F8 alone: no address dialog

    front("Zwei - Mozilla Firefox");
    for (int key : {Ctrl, LeftCtrl}) sim.desktop.keyDown(key);
    sim.desktop.tap('C');
    sim.desktop.releaseKeys();
    tick();
    sim.desktop.tap(F8); // the first F8 after Ctrl+C
    tick();
    EXPECT_EQ(titles(), (Items{"Eins", "Zwei"}));

    // Pressed while the hotkeys are off, F8 does nothing once they are on again.
    app->frmconfig().window.show();
    app->frmconfig().Check1.click();
    front("Drei - Mozilla Firefox");
    sim.desktop.tap(F8);
    tick();
    app->frmconfig().Check1.click();
    tick(2);
    EXPECT_EQ(titles(), (Items{"Eins", "Zwei"}));
}

// Typed in through the button, an entry takes a capture's way into the shown list; Enter
// confirms, Escape cancels.
TEST_F(Capture, AnEntryTypedInTakesTheCapturesWayEnterConfirmsEscapeCancels) {
    start({"Alt"});
    expectMessages(1);
    form().window.show();
    const struct {
        bool urls;
        const char* typed;
        int key;
        Items shown;
    } rows[] = {
        {false, "Neu", ui::KEY_RETURN, {"Alt", "Neu"}},
        {false, "ALT", ui::KEY_RETURN, {"Alt", "Neu"}}, // refused
        {false, "Weg", ui::KEY_ESCAPE, {"Alt", "Neu"}},
        {true, "http://neu.example/", ui::KEY_RETURN, {"http://neu.example"}},
    };
    for (const auto& row : rows) {
        (row.urls ? form().optListe1 : form().optListe0).setValue(true);
        inDialog([&](FrmHinzufuegen& d) {
            EXPECT_EQ(d.Label1.caption(), row.urls ? "Url:" : "Titel:");
            EXPECT_EQ(d.Text1.text(), "");
            d.Text1.setText(row.typed);
            sim.toolkit.pressKey(row.key);
        });
        sim.toolkit.click(form().cmdTypeIn);
        EXPECT_EQ(form().List1.items(), row.shown) << row.typed;
    }
    EXPECT_EQ(message(0), "Die Webseite befindet sich bereits in der Liste");
    EXPECT_EQ(sim.files.get(TitelDatei), formatEntries({"Alt", "Neu"}));
    EXPECT_EQ(sim.files.get(UrlDatei), formatEntries({"http://neu.example"}));
}

} // namespace
} // namespace zk
