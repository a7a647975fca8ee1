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

    form().addEntry(true, form().Pfad, "neu"); // appending loses nothing
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

TEST_F(Form1Test, ListsSavedAsUtf8AreReadInTheCodePageAndLoseNothing) {
    const std::string uebersicht = "\xDC"
                                   "bersicht",
                      groesse = "Gr\xF6\xDF"
                                "e";
    const struct {
        const char* name;
        std::string file;
        Items entries;  // in the code page, in file order
        bool deletable; // else the list holds less than the file, which stays as it is
    } cases[] = {
        {"UTF-8",
         "\"\xC3\x9C"
         "bersicht\"\r\n\"Gr\xC3\xB6\xC3\x9F"
         "e\"\r\n",
         {uebersicht, groesse},
         true},
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF\"Seite\"\r\n\"\xE2\x82\xAC\"\r\n",
         {"Seite", "\x80"},
         true},
        {"ANSI", "\"" + uebersicht + "\"\r\n\"\xC3\"\r\n", {uebersicht, "\xC3"}, true},
        {"beyond the code page",
         "\"\xE6\x97\xA5\"\r\n\"\xC3\x9C"
         "bersicht\"\r\n",
         {uebersicht},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimPlatform fresh;
        fresh.files.put(TitelDatei, c.file);
        Zuklapper program(fresh.platform);
        program.start();
        Form1& form1 = program.form1();
        EXPECT_EQ(form1.TitelEintraege.items(), c.entries);
        const Hwnd page = fresh.desktop.openBrowser("IEFrame", c.entries[0], nullptr);
        fresh.advance(100);
        EXPECT_FALSE(fresh.desktop.exists(page));

        fresh.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
        form1.Command1_Click();
        EXPECT_EQ(fresh.toolkit.messageBoxes().size(), c.deletable ? 0u : 1u);
        if (!c.deletable) EXPECT_EQ(fresh.files.get(TitelDatei), c.file);
    }
}

} // namespace
} // namespace zk
