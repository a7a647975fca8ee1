#include "program_fixture.h"

namespace zk {
namespace {

using Entries = std::vector<std::string>;

TEST(FieldReader, ReadsQuotedAndUnquotedFields) {
    const std::pair<const char*, Entries> cases[] = {
        {"", {}},
        {"\"a, b\"\r\n", {"a, b"}},                           // a comma inside quotes stays
        {"a, b\r\n", {"a", "b"}},                             // an unquoted comma splits
        {"  \"lead\"\r\n   plain   \r\n", {"lead", "plain"}}, // blanks around fields go
        {"\"  keep  \"\r\n", {"  keep  "}},                   // blanks inside quotes stay
        {"\r\n\"x\"\r\n\r\n", {"", "x", ""}},                 // empty lines are empty entries
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},               // LF, CR, CR LF, no final line end
        {"\"a\",\"b\"\r\n", {"a", "b"}},
        {"a,\r\nb", {"a", "", "b"}},
        // Quotes inside entries stay; an unclosed quote ends at the line end.
        {"\"say \"hi\" now\"\r\n", {"say \"hi\" now"}},
        {"\"ends with \"\"\r\nnext\r\n", {"ends with \"", "next"}},
        {"\"open\r\n\"b\"\r\n", {"open", "b"}},
        {"\"a\"b\r\n", {"a\"b"}},
    };
    for (const auto& [data, entries] : cases) EXPECT_EQ(parseEntries(data), entries) << data;
}

TEST(ListFile, AnAppendedEntryStartsOnALineOfItsOwnInTheFilesEncoding) {
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::optional<std::string> before;
        std::string after;
    } cases[] = {
        {std::nullopt, "\"\xDC"
                       "bersicht\"\r\n"},
        {"", "\"\xDC"
             "bersicht\"\r\n"},
        {"\"a\"", "\"a\"\r\n\"\xDC"
                  "bersicht\"\r\n"},
        {"a\n", "a\n\"\xDC"
                "bersicht\"\r\n"},
        {bom, bom + "\"\xC3\x9C"
                    "bersicht\"\r\n"},
        {"\"Gr\xC3\xB6\xC3\x9F"
         "e\"",
         "\"Gr\xC3\xB6\xC3\x9F"
         "e\"\r\n\"\xC3\x9C"
         "bersicht\"\r\n"},
    };
    for (const auto& c : cases) {
        sim::SimFiles files;
        const std::string path = "C:\\z\\lstTitel.txt";
        if (c.before) files.put(path, *c.before);
        EXPECT_TRUE(appendEntry(files, path,
                                "\xDC"
                                "bersicht"));
        EXPECT_EQ(files.get(path), c.after) << c.before.value_or("(none)");
    }
}

class Form1Test : public ProgramTest {};

TEST_F(Form1Test, ShowsTheListsSortedAndDeletesByButtonOrKeyRewritingTheFileQuoted) {
    sim.files.put(TitelDatei, "\"zeta\"\r\n\"Alpha\"\r\nbeta, gamma\r\n");
    sim.files.put(UrlDatei, "zeta,alpha\r\n\"Mitte\"\r\nbeta");
    startAsIs();
    EXPECT_EQ(form().List1.items(), (Items{"Alpha", "beta", "gamma", "zeta"}));
    EXPECT_EQ(form().List1.listIndex(), 0);
    EXPECT_EQ(form().TitelEintraege.items(), (Items{"zeta", "Alpha", "beta", "gamma"}));

    form().optListe1.setValue(true);
    EXPECT_FALSE(form().optListe0.value());
    form().List1.setListIndex(2); // "Mitte"
    form().Command1_Click();
    EXPECT_EQ(form().List1.items(), (Items{"alpha", "beta", "zeta"}));
    EXPECT_EQ(form().List1.listIndex(), 0);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"alpha\"\r\n\"beta\"\r\n\"zeta\"\r\n");
    EXPECT_EQ(sim.files.get(TitelDatei), "\"zeta\"\r\n\"Alpha\"\r\nbeta, gamma\r\n");

    // In the list, the Delete key does the same, with or without Shift; other keys do
    // nothing. After a click on "&Löschen" the button has the focus: Delete does nothing
    // there, Enter clicks it.
    form().window.show();
    sim.toolkit.pressKey(ui::KEY_DELETE + 1);
    sim.toolkit.pressKey(ui::KEY_DELETE, 1);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"beta\"\r\n\"zeta\"\r\n");
    sim.toolkit.click(form().Command1);
    sim.toolkit.pressKey(ui::KEY_DELETE);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"zeta\"\r\n");
    sim.toolkit.pressKey(ui::KEY_RETURN);
    EXPECT_EQ(sim.files.get(UrlDatei), "");
    EXPECT_TRUE(form().UrlEintraege.empty());
}

// A rewrite that fails keeps the entry in the file, the list and the close cycle; a list
// whose file could not be read at start is never rewritten, so nothing in it is lost.
TEST_F(Form1Test, FileFaultsLoseNoEntryAndAreSaid) {
    sim.files.put(TitelDatei, "\"b\"\r\n\"a\"\r\n");
    sim.files.put(UrlDatei, "\"u\"\r\n");
    sim.files.failReads(UrlDatei); // another program holds the file at start
    startAsIs();
    sim.files.heal();
    expectMessages(3);
    sim.files.failWrites(TitelDatei);
    form().Command1_Click();
    EXPECT_NE(message(0).find(TitelDatei), std::string::npos);
    EXPECT_EQ(sim.toolkit.messageBoxes()[0].caption, "Zuklapper");
    EXPECT_EQ(form().List1.items(), (Items{"a", "b"}));
    EXPECT_EQ(sim.files.get(TitelDatei), "\"b\"\r\n\"a\"\r\n");
    const Hwnd browser = sim.desktop.openBrowser("IEFrame", "a", nullptr);
    tick();
    EXPECT_FALSE(sim.desktop.exists(browser));

    form().optListe1.setValue(true);
    EXPECT_EQ(form().List1.listCount(), 0);
    form().addEntry(false, form().UrlPfad, "neu"); // appending loses nothing
    form().List1.setListIndex(0);
    form().Command1_Click();
    form().Command1_Click();
    EXPECT_NE(message(1).find(UrlDatei), std::string::npos);
    EXPECT_EQ(sim.files.get(UrlDatei), "\"u\"\r\n\"neu\"\r\n");
    EXPECT_EQ(form().UrlEintraege.items(), (Items{"neu"}));
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
        EXPECT_TRUE(c.deletable || fresh.files.get(TitelDatei) == c.file);
    }
}

} // namespace
} // namespace zk
