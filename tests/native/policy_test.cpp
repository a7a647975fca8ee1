#include "program_fixture.h"

namespace zk {
namespace {

using Scope = PolicyRegistry::Scope;
using sim::SimPolicyRegistry;

class Policies : public ProgramTest {
protected:
    void set(Scope scope, const std::string& key, PolicyRegistry::Values values) {
        sim.policies.keys[{scope, key}] = std::move(values);
    }
    bool closes(const std::string& address) {
        const Hwnd window = sim.desktop.openBrowser("IEFrame", "Seite", address.c_str());
        tick(3);
        return !sim.desktop.closeLog().empty() && sim.desktop.closeLog().back() == window;
    }
    std::string log() {
        return sim.files.get("C:\\Programme\\Zuklapper\\Protokoll.txt").value_or("");
    }
};

// Both scopes' entries close beside the user's; the computer's settings win; a value of the
// wrong type or a line that cannot be read is said, and the block stays whole.
TEST_F(Policies, EntriesCloseMarkedAndKeptSettingsWinGreyedBadValuesAreSaid) {
    set(Scope::Computer, "Urlliste",
        {{"10", SimPolicyRegistry::text("zehn")},
         {"2", SimPolicyRegistry::text("casino")},
         {"3", SimPolicyRegistry::number(1)}});
    set(Scope::User, "Urlliste", {{"1", SimPolicyRegistry::text("wetten")}});
    set(Scope::Computer, "",
        {{"AktuelleBrowser", SimPolicyRegistry::number(0)},
         {"BeendenErlaubt", SimPolicyRegistry::number(0)},
         {"Sperrzeiten", SimPolicyRegistry::text("Mo 25:00-26:00")},
         {"PausenProTag", SimPolicyRegistry::text("2")}});
    set(Scope::User, "",
        {{"PausenProTag", SimPolicyRegistry::number(0)},
         {"Autostart", SimPolicyRegistry::number(1)},
         {"AktuelleBrowser", SimPolicyRegistry::number(1)}});
    sim.files.put(ConfigDatei, "[Sperrzeiten]\r\nZeiten=Sa 10:00-11:00\r\n"); // not in force
    expectMessages(2);
    start({}, {"eigen"});
    for (const char* said :
         {"HKLM Urlliste\\3", "HKLM PausenProTag", "Sperrzeiten: nicht lesbar"}) {
        EXPECT_NE(message(0).find(said), std::string::npos) << message(0);
        EXPECT_NE(log().find(std::string("\tRichtlinie\t") + said), std::string::npos) << log();
    }
    form().optListe1.setValue(true);
    EXPECT_EQ(form().List1.items(), (Items{"casino (Organisation)", "eigen",
                                           "wetten (Organisation)", "zehn (Organisation)"}));
    form().List1.setListIndex(0);
    form().Command1.click();
    EXPECT_NE(message(1).find("Organisation vor"), std::string::npos);
    EXPECT_EQ(form().List1.listCount(), 4);
    for (const char* address : {"http://casino.de/", "http://wetten.de/", "http://zehn.de/"})
        EXPECT_TRUE(closes(address)) << address;

    EXPECT_FALSE(app->AktuelleBrowser);
    EXPECT_FALSE(form().mAktuelleBrowser.enabled() || form().mSperrzeiten.enabled() ||
                 form().mschliesen.enabled() || form().mPause.enabled() ||
                 form().mAutostart.enabled());
    EXPECT_EQ(form().mschliesen.caption(), "&schlie\xDF"
                                           "en (von Ihrer Organisation gesperrt)");
    EXPECT_TRUE(form().startsWithWindows());

    // Read again within a minute: the computer's value gone, the user's holds; its list changed
    // (the selected entry stays selected).
    form().List1.setListIndex(2);
    set(Scope::Computer, "", {});
    set(Scope::Computer, "Urlliste", {{"1", SimPolicyRegistry::text("neu")}});
    sim.advance(60000);
    EXPECT_TRUE(app->AktuelleBrowser && form().mschliesen.enabled());
    EXPECT_EQ(form().List1.items(),
              (Items{"eigen", "neu (Organisation)", "wetten (Organisation)"}));
    EXPECT_EQ(form().List1.listIndex(), 2);
}

// The list folder's entries close; its copy stands in when it is away or read in part.
TEST_F(Policies, AListFolderIsReadKeptAsACopyAndTheCopyStandsIn) {
    const std::string share = "\\\\server\\zk\\lstUrl.txt";
    const std::string copy = "C:\\Programme\\Zuklapper\\Richtlinie-lstUrl.txt";
    set(Scope::Computer, "", {{"Listenordner", SimPolicyRegistry::text("\\\\server\\zk")}});
    sim.files.put(share, formatEntries({"ordner.example"}));
    start();
    EXPECT_TRUE(closes("http://ordner.example/"));
    EXPECT_EQ(sim.files.get(copy), formatEntries({"ordner.example"}));

    sim.files.put(share, formatEntries({"neu.example"}));
    sim.files.failReads(share);
    sim.advance(ListFolder::kCheckMs);
    EXPECT_TRUE(closes("http://ordner.example/2")) << "read in part: the copy holds";
    sim.files.heal();
    sim.advance(ListFolder::kCheckMs);
    EXPECT_TRUE(closes("http://neu.example/"));
    EXPECT_FALSE(closes("http://ordner.example/3"));

    sim.files.remove(share);
    sim.advance(ListFolder::kCheckMs);
    EXPECT_TRUE(closes("http://neu.example/2")) << "away: the copy holds";
    EXPECT_EQ(sim.desktop.notifyIcons().at(0).notes.size(), 1u);
    EXPECT_NE(log().find("\tRichtlinie\tListenordner: \\\\server\\zk\\ nicht erreichbar"),
              std::string::npos)
        << log();
}

} // namespace
} // namespace zk
