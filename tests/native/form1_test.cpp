#include "program_fixture.h"

namespace zk {
namespace {

using Items = std::vector<std::string>;

class Form1Test : public ProgramTest {};

TEST_F(Form1Test, ShowsTheTitleListSortedAndSwitchesLists) {
    sim.files.put(TitelDatei, "\"zeta\"\r\n\"Alpha\"\r\nbeta, gamma\r\n");
    sim.files.put(UrlDatei, "\"http://b/\"\r\n\"http://a/\"\r\n");
    startAsIs();
    EXPECT_EQ(form().window.caption(), "Zuklapper 1.08");
    EXPECT_EQ(form().List1.items(), (Items{"Alpha", "beta", "gamma", "zeta"}));
    EXPECT_EQ(form().List1.listIndex(), 0);
    EXPECT_EQ(form().TitelEintraege.items(),
              (Items{"zeta", "Alpha", "beta", "gamma"})); // file order

    form().optListe1.setValue(true);
    EXPECT_FALSE(form().optListe0.value());
    EXPECT_EQ(form().List1.items(), (Items{"http://a/", "http://b/"}));
    form().List1.setListIndex(1);
    form().optListe0.setValue(true);
    EXPECT_EQ(form().List1.item(0), "Alpha");
    EXPECT_EQ(form().List1.listIndex(), 0);
}

TEST_F(Form1Test, DeletingRewritesTheShownListQuotedInListOrder) {
    sim.files.put(UrlDatei, "zeta,alpha\r\n\"Mitte\"\r\nbeta");
    sim.files.put(TitelDatei, "\"t\"\r\n");
    startAsIs();
    form().optListe1.setValue(true);
    form().List1.setListIndex(2); // "Mitte"
    form().Command1_Click();
    EXPECT_EQ(form().List1.items(), (Items{"alpha", "beta", "zeta"}));
    EXPECT_EQ(form().List1.listIndex(), 0);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"alpha\"\r\n\"beta\"\r\n\"zeta\"\r\n");
    EXPECT_EQ(sim.files.get(TitelDatei), "\"t\"\r\n"); // the other list is not touched

    // A deleted entry closes no more windows.
    const Hwnd gone = sim.desktop.openBrowser("IEFrame", "A", "http://Mitte/");
    const Hwnd stays = sim.desktop.openBrowser("IEFrame", "B", "http://zeta/");
    tick();
    EXPECT_TRUE(sim.desktop.exists(gone));
    EXPECT_FALSE(sim.desktop.exists(stays));

    // In the list, the Delete key does the same, with or without Shift; other keys do nothing.
    // After a click on "&Löschen" the button has the focus: Delete does nothing, Enter
    // clicks it.
    form().window.show();
    sim.toolkit.pressKey(ui::KEY_DELETE + 1);
    EXPECT_EQ(form().List1.listCount(), 3);
    sim.toolkit.pressKey(ui::KEY_DELETE, 1);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"beta\"\r\n\"zeta\"\r\n");
    sim.toolkit.click(form().Command1);
    sim.toolkit.pressKey(ui::KEY_DELETE);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"zeta\"\r\n");
    sim.toolkit.pressKey(ui::KEY_RETURN);
    EXPECT_EQ(sim.files.get(UrlDatei), "");
    EXPECT_TRUE(form().UrlEintraege.empty());
    EXPECT_EQ(form().List1.listIndex(), -1);
}

TEST_F(Form1Test, AFailedRewriteKeepsTheEntryEverywhereAndSaysSo) {
    start({"b", "a"});
    sim.files.failWrites(TitelDatei);
    sim.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
    form().Command1_Click();

    ASSERT_EQ(sim.toolkit.messageBoxes().size(), 1u);
    const sim::MessageBoxCall& box = sim.toolkit.messageBoxes()[0];
    EXPECT_EQ(box.caption, "Zuklapper");
    EXPECT_EQ(box.style, ui::MB_OK_INFORMATION);
    EXPECT_NE(box.text.find(TitelDatei), std::string::npos);

    EXPECT_EQ(form().List1.items(), (Items{"a", "b"}));
    EXPECT_EQ(form().List1.listIndex(), 0);
    EXPECT_EQ(sim.files.get(TitelDatei), "\"b\"\r\n\"a\"\r\n");
    const Hwnd browser = sim.desktop.openBrowser("IEFrame", "a", nullptr);
    tick();
    EXPECT_FALSE(sim.desktop.exists(browser)); // the entry still closes windows
}

TEST_F(Form1Test, AListWhoseFileCouldNotBeReadIsNeverRewritten) {
    sim.files.put(TitelDatei, "\"alt\"\r\n");
    sim.files.failReads(TitelDatei); // another program holds the file at start
    sim.files.put(UrlDatei, "\"u\"\r\n");
    startAsIs();
    EXPECT_EQ(form().List1.listCount(), 0);
    sim.files.heal();

    form().addEntry(form().Pfad, "neu"); // appending loses nothing
    EXPECT_EQ(sim.files.get(TitelDatei), "\"alt\"\r\n\"neu\"\r\n");
    form().List1.setListIndex(0);
    sim.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
    form().Command1_Click();
    form().Command1_Click();
    ASSERT_EQ(sim.toolkit.messageBoxes().size(), 2u);
    EXPECT_NE(sim.toolkit.messageBoxes()[0].text.find(TitelDatei), std::string::npos);
    EXPECT_EQ(sim.files.get(TitelDatei), "\"alt\"\r\n\"neu\"\r\n");
    EXPECT_EQ(form().List1.items(), (Items{"neu"}));
    EXPECT_EQ(form().TitelEintraege.items(), (Items{"neu"}));

    // The list that was read is rewritten as usual.
    form().optListe1.setValue(true);
    form().Command1_Click();
    EXPECT_EQ(sim.files.get(UrlDatei), "");
    EXPECT_EQ(sim.toolkit.messageBoxes().size(), 2u);
}

} // namespace
} // namespace zk
