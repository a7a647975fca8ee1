#include "program_fixture.h"

#include "capture/frm_hinzufuegen.h"
#include "hotkeys/frmconfig.h"
#include "hotkeys/hotkey.h"

namespace zk {
namespace {

constexpr int Shift = 16, Ctrl = 17, Alt = 18, LeftCtrl = 162, RightCtrl = 163, F8 = 119, F9 = 120;

TEST(Zusatztaste, ReportsTheModifierAsTheKeyboardShowsIt) {
    const std::pair<std::vector<int>, std::int32_t> cases[] = {
        {{}, -1},
        {{Shift}, 1},
        {{Ctrl, LeftCtrl}, 2},
        {{Ctrl, RightCtrl}, 2},
        {{Ctrl}, -1}, // the generic Ctrl state alone, neither Ctrl key
        {{Alt}, 3},
        {{Ctrl, LeftCtrl, Alt}, 4}, // what AltGr sends
        {{Ctrl, LeftCtrl, Shift}, 2},
        {{Shift, Alt}, 1},
    };
    for (const auto& [held, report] : cases) {
        sim::SimDesktop desktop;
        for (int key : held) desktop.keyDown(key);
        TickKeys keys(desktop);
        EXPECT_EQ(Zusatztaste_ermitteln(keys), report) << ::testing::PrintToString(held);
    }
}

class Hotkeys : public ProgramTest {
protected:
    void press(std::initializer_list<int> keys) {
        for (int key : keys) sim.desktop.keyDown(key);
        tick();
        sim.desktop.releaseKeys();
    }
    // The user leaves the next address dialogs with OK or "&Abbrechen".
    void inDialog(bool ok) {
        sim.toolkit.expectModal([this, ok](const sim::ModalCall&) {
            (ok ? app->frmHinzufuegen().Command1 : app->frmHinzufuegen().Command2).click();
            return 0;
        });
    }
    const Items& titles() { return form().TitelEintraege.items(); }
};

TEST_F(Hotkeys, EveryTickCapturesTheTitleHotkeyFirstAndAWrongModifierLeavesTheUrlKey) {
    start();
    expectMessages(2);
    const Hwnd page = front("Seite - Browser");
    app->Hotkey = {F8, 5, F8, 5}; // both on the same binding: only the title hotkey fires
    sim.desktop.keyDown(F8);
    tick(2); // held: a capture on every tick, the duplicate refused
    EXPECT_EQ(sim.toolkit.messageBoxes().size(), 1u);
    tick(); // the user read the message meanwhile; the key is still down
    sim.desktop.releaseKeys();
    EXPECT_EQ(titles(), (Items{"Seite"}));

    app->Hotkey = {F8, 2, F9, 5}; // Strg+F8 for titles, F9 alone for addresses
    inDialog(false);
    press({F8, F9});
    EXPECT_EQ(sim.toolkit.modalWindows().size(), 1u);
    EXPECT_TRUE(form().optListe1.value());

    // While the button's capture waits in the dialog, a hotkey starts none and leaves the
    // list alone.
    sim.toolkit.expectModal([&](const sim::ModalCall&) {
        press({F8, Ctrl, LeftCtrl});
        EXPECT_TRUE(form().optListe1.value());
        app->frmHinzufuegen().Command2.click();
        return 0;
    });
    sim.desktop.setForeground(page);
    form().cmdHinzufuegen.click();
    sim.advance(500);
    EXPECT_EQ(sim.toolkit.modalWindows().size(), 2u);
    EXPECT_EQ(titles(), (Items{"Seite"}));
}

TEST_F(Hotkeys, OnlyAPressSinceTheLastTickCounts) {
    sim.desktop.tap(F8); // before the program started
    start();
    front("Eins - Mozilla Firefox");
    tick(2);
    sim.desktop.tap(Shift); // a capital letter typed in the browser
    tick(5);
    sim.desktop.tap(F8);
    tick();
    EXPECT_EQ(titles(), (Items{"Eins"})); // F8 alone: no address dialog
    EXPECT_TRUE(sim.toolkit.modalWindows().empty());

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

} // namespace
} // namespace zk
