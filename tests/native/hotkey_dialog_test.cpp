#include "program_fixture.h"

#include "hotkeys/frmconfig.h"

namespace zk {
namespace {

Items shownKeys(Frmconfig& dialog) {
    return {dialog.cbTitel1.text(), dialog.cbTitel2.text(), dialog.cbUrl1.text(),
            dialog.cbUrl2.text()};
}

class HotkeyDialog : public ProgramTest {
protected:
    Frmconfig& dialog() { return app->frmconfig(); }
    void open() { choose("H&otkeys"); }
    std::optional<std::string> config() { return sim.files.get(ConfigDatei); }
};

// ChkAddUrl at start and in the dialog: the hotkeys run only with 1; the box takes 0, 1
// and 2, and its load-time click writes the value back. Key names show as they are stored.
TEST_F(HotkeyDialog, StoredValuesAreShownAsTheyAreAndOnly1SwitchesTheHotkeysOn) {
    const struct {
        const char* chkAddUrl;
        bool on;
        int box;
    } cases[] = {{"1", true, 1},    {" 1 ", true, 1}, {"0", false, 0},
                 {"2", false, 2},   {"7", false, 0},  {"-1", false, 0},
                 {"abc", false, 0}, {"", false, 0},   {"1.5", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chkAddUrl);
        sim::SimPlatform fresh;
        const std::string stored = std::string("[Hotkeys]\r\nAddTitle=F13\r\nAddTitle2=Strg\r\n"
                                               "AddUrl=f9\r\nChkAddUrl=") +
                                   c.chkAddUrl + "\r\n";
        fresh.files.put(ConfigDatei, stored);
        Zuklapper program(fresh.platform);
        program.start();
        EXPECT_EQ(program.form1().tmrHotkey.enabled(), c.on);
        program.frmconfig().window.show();
        Frmconfig& shown = program.frmconfig();
        EXPECT_EQ(shownKeys(shown), (Items{"F13", "Strg", "f9", "Shift"}));
        EXPECT_EQ(shown.cbTitel1.listIndex(), -1);
        EXPECT_EQ(shown.cbTitel2.listIndex(), 2);
        EXPECT_EQ(shown.Check1.value(), c.box);
        EXPECT_EQ(fresh.files.writes(), c.box == 0 ? 0 : 1);
        EXPECT_EQ(program.form1().tmrHotkey.enabled(), c.on);
        // Unknown names leave their slots at 0.
        EXPECT_EQ(program.Hotkey, (HotkeyTable{0, 2, 0, 1}));
    }
}

TEST_F(HotkeyDialog, AChoiceIsSavedAndAppliedAtOnceAndTheDialogLoadsAfreshWhenOpenedAgain) {
    startAsIs();
    // The defaults, and the box ticked by a click that writes back only what was read: its
    // failed write says nothing.
    sim.files.failWrites(ConfigDatei);
    open();
    sim.files.heal();
    EXPECT_EQ(dialog().cbTitel1.items(),
              (Items{"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"}));
    EXPECT_EQ(dialog().cbUrl2.items(), (Items{"keine", "Shift", "Strg", "Alt", "AltGr"}));
    EXPECT_EQ(shownKeys(dialog()), (Items{"F8", "keine", "F8", "Shift"}));
    dialog().cbUrl2.choose(3);
    dialog().cbTitel1.choose(4);
    EXPECT_EQ(app->Hotkey, (HotkeyTable{116, 5, 119, 3}));
    const std::string chosen = "[Hotkeys]\r\nAddUrl2=Alt\r\nAddTitle=F5\r\n";
    EXPECT_EQ(config(), chosen);
    // Delete, which types no character, edits the field; only a choice counts.
    dialog().cbTitel1.setText("F");
    EXPECT_EQ(config(), chosen);

    // Opened again while open, the dialog only comes to the front.
    sim.desktop.setForeground(sim.desktop.openBrowser("IEFrame", "Seite", nullptr));
    const Hwnd shown = dialog().window.handle();
    open();
    EXPECT_EQ(sim.desktop.foreground(), shown);
    EXPECT_EQ(dialog().cbTitel1.text(), "F");

    // A greyed box (2) is unticked by a click.
    dialog().Check1.setValue(2);
    EXPECT_FALSE(form().tmrHotkey.enabled());
    dialog().Check1.click();
    EXPECT_EQ(config(), chosen + "ChkAddUrl=0\r\n");

    // Closed, it is unloaded; the next opening loads afresh from the file.
    dialog().window.requestClose();
    EXPECT_FALSE(sim.desktop.exists(shown));
    open();
    EXPECT_EQ(dialog().cbTitel1.listCount(), 12);
    EXPECT_EQ(shownKeys(dialog()), (Items{"F5", "keine", "F8", "Alt"}));
    EXPECT_EQ(dialog().Check1.value(), 0);
}

} // namespace
} // namespace zk
