#include "program_fixture.h"

#include "hotkeys/frmconfig.h"

#include <algorithm>

namespace zk {
namespace {

using Items = std::vector<std::string>;

constexpr const char* ConfigDatei = "C:\\Programme\\Zuklapper\\config.ini";

// Opens the dialog through the tray's popup menu, as the user does.
void openDialog(sim::SimPlatform& platform) {
    platform.toolkit.expectPopupMenu([](const sim::PopupMenuCall& call) {
        const auto item = std::find(call.items.begin(), call.items.end(), "H&otkeys");
        return item == call.items.end() ? -1 : static_cast<int>(item - call.items.begin());
    });
    ASSERT_TRUE(platform.toolkit.notifyIconEvent(517));
}

Items shownKeys(Frmconfig& dialog) {
    return {dialog.cbTitel1.text(), dialog.cbTitel2.text(), dialog.cbUrl1.text(),
            dialog.cbUrl2.text()};
}

class HotkeyDialog : public ProgramTest {
protected:
    Frmconfig& dialog() { return app->frmconfig(); }
    void open() { openDialog(sim); }
    std::optional<std::string> config() { return sim.files.get(ConfigDatei); }
};

TEST_F(HotkeyDialog, LoadsInAnEmptyFolderWithTheDefaultsAndTicksTheBoxAsAClick) {
    startAsIs();
    open();
    ASSERT_TRUE(dialog().window.visible());
    EXPECT_EQ(dialog().window.caption(), "Hotkeys");
    EXPECT_EQ(win(dialog().window.handle()).owner, form().window.handle());
    EXPECT_EQ(dialog().cbTitel1.items(),
              (Items{"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"}));
    EXPECT_EQ(dialog().cbUrl1.items(), dialog().cbTitel1.items());
    EXPECT_EQ(dialog().cbTitel2.items(), (Items{"keine", "Shift", "Strg", "Alt", "AltGr"}));
    EXPECT_EQ(dialog().cbUrl2.items(), dialog().cbTitel2.items());
    EXPECT_EQ(shownKeys(dialog()), (Items{"F8", "keine", "F8", "Shift"}));
    EXPECT_EQ(dialog().Check1.value(), 1);
    // Only the box's click writes; shown texts are no choices.
    EXPECT_EQ(config(), "[Hotkeys]\r\nChkAddUrl=1\r\n");
    EXPECT_TRUE(form().tmrHotkey.enabled());
    EXPECT_EQ(app->Hotkey, (HotkeyTable{119, 5, 119, 1}));
}

TEST_F(HotkeyDialog, StoredValuesAreShownAsTheyAre) {
    struct Case {
        const char* chkAddUrl;
        int shown;
        bool written;
    };
    // Values the box refuses leave it unticked; nothing is written and the hotkeys stay as
    // the start left them.
    const Case cases[] = {
        {"0", 0, false}, {"2", 2, true}, {"7", 0, false}, {"-1", 0, false}, {"abc", 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chkAddUrl);
        sim::SimPlatform fresh;
        const std::string stored = std::string("[Hotkeys]\r\nAddTitle=F13\r\nAddTitle2=Strg\r\n"
                                               "AddUrl=f9\r\nChkAddUrl=") +
                                   c.chkAddUrl + "\r\n";
        fresh.files.put(ConfigDatei, stored);
        Zuklapper program(fresh.platform);
        program.start();
        const HotkeyTable atStart = program.Hotkey;
        openDialog(fresh);
        Frmconfig& dialog = program.frmconfig();
        EXPECT_EQ(shownKeys(dialog), (Items{"F13", "Strg", "f9", "Shift"}));
        EXPECT_EQ(dialog.cbTitel1.listIndex(), -1);
        EXPECT_EQ(dialog.cbTitel2.listIndex(), 2);
        EXPECT_EQ(dialog.Check1.value(), c.shown);
        EXPECT_EQ(fresh.files.writes(), c.written ? 1 : 0);
        EXPECT_EQ(fresh.files.get(ConfigDatei), stored);
        EXPECT_FALSE(program.form1().tmrHotkey.enabled());
        EXPECT_EQ(program.Hotkey, atStart);
    }
}

TEST_F(HotkeyDialog, AChoiceIsSavedAndAppliedAtOnceButTypedCharactersNeverArrive) {
    sim.files.put(ConfigDatei, "[Hotkeys]\r\nChkAddUrl=1\r\n");
    startAsIs();
    open();
    dialog().cbUrl2.choose(3);
    EXPECT_EQ(dialog().cbUrl2.text(), "Alt");
    EXPECT_EQ(app->Hotkey, (HotkeyTable{119, 5, 119, 3}));
    dialog().cbTitel1.choose(4);
    EXPECT_EQ(app->Hotkey, (HotkeyTable{116, 5, 119, 3}));
    const std::string chosen = "[Hotkeys]\r\nChkAddUrl=1\r\nAddUrl2=Alt\r\nAddTitle=F5\r\n";
    EXPECT_EQ(config(), chosen);

    const int writes = sim.files.writes();
    sim.toolkit.type(dialog().cbTitel2, "Alt\b\b");
    EXPECT_EQ(dialog().cbTitel2.text(), "keine");
    // Delete, which types no character, edits the field; only a choice counts.
    dialog().cbTitel1.setText("F");
    EXPECT_EQ(sim.files.writes(), writes);
    EXPECT_EQ(app->Hotkey, (HotkeyTable{116, 5, 119, 3}));

    // Opened again while open, the dialog only comes to the front.
    const Hwnd page = sim.desktop.openBrowser("IEFrame", "Seite", nullptr);
    sim.desktop.setForeground(page);
    const Hwnd shown = dialog().window.handle();
    open();
    EXPECT_EQ(sim.desktop.foreground(), shown);
    EXPECT_EQ(dialog().window.handle(), shown);
    EXPECT_EQ(dialog().cbTitel1.text(), "F");
    EXPECT_EQ(dialog().cbTitel1.listCount(), 12);

    // Closed, it is unloaded; the next opening loads afresh from the file.
    dialog().window.requestClose();
    EXPECT_FALSE(dialog().window.loaded());
    EXPECT_FALSE(sim.desktop.exists(shown));
    open();
    EXPECT_EQ(dialog().cbTitel1.listCount(), 12);
    EXPECT_EQ(dialog().cbUrl2.listCount(), 5);
    EXPECT_EQ(shownKeys(dialog()), (Items{"F5", "keine", "F8", "Alt"}));
    EXPECT_EQ(config(), chosen);
}

TEST_F(HotkeyDialog, UntickingStopsTheHotkeysAlsoAfterTheNextStart) {
    startAsIs();
    open();
    dialog().Check1.click();
    EXPECT_EQ(dialog().Check1.value(), 0);
    EXPECT_FALSE(form().tmrHotkey.enabled());
    EXPECT_EQ(config(), "[Hotkeys]\r\nChkAddUrl=0\r\n");
    dialog().Check1.click();
    EXPECT_TRUE(form().tmrHotkey.enabled());
    dialog().Check1.setValue(2);
    EXPECT_FALSE(form().tmrHotkey.enabled());
    EXPECT_EQ(config(), "[Hotkeys]\r\nChkAddUrl=2\r\n");
    dialog().Check1.click(); // greyed: the click unticks
    EXPECT_EQ(dialog().Check1.value(), 0);
    EXPECT_EQ(config(), "[Hotkeys]\r\nChkAddUrl=0\r\n");

    // The next start, on the files this one left.
    sim::SimPlatform next;
    next.files = sim.files;
    Zuklapper program(next.platform);
    program.start();
    EXPECT_FALSE(program.form1().tmrHotkey.enabled());
    const int writes = next.files.writes();
    openDialog(next);
    EXPECT_EQ(program.frmconfig().Check1.value(), 0);
    EXPECT_EQ(next.files.writes(), writes);
}

TEST_F(HotkeyDialog, AChoiceThatCannotBeSavedIsSaidAndHoldsUntilTheProgramEnds) {
    const std::string stored = "[Hotkeys]\r\nChkAddUrl=1\r\n";
    sim.files.put(ConfigDatei, stored);
    sim.files.failWrites(ConfigDatei); // read-only
    startAsIs();
    open(); // the box's load-time click writes what was read: nothing is lost
    EXPECT_TRUE(sim.toolkit.messageBoxes().empty());

    sim.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
    dialog().cbTitel1.choose(4);
    dialog().Check1.click();
    ASSERT_EQ(sim.toolkit.messageBoxes().size(), 2u);
    for (const sim::MessageBoxCall& box : sim.toolkit.messageBoxes()) {
        EXPECT_NE(box.text.find(ConfigDatei), std::string::npos) << box.text;
        EXPECT_EQ(box.caption, "Zuklapper");
    }
    EXPECT_EQ(app->Hotkey[0], 116); // F5 for this run
    EXPECT_FALSE(form().tmrHotkey.enabled());
    EXPECT_EQ(config(), stored);
}

} // namespace
} // namespace zk
