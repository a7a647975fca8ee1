#include "program_fixture.h"

#include "tray/frm_info_box.h"

#include <algorithm>

namespace zk {
namespace {

class AboutTest : public ProgramTest {
protected:
    FrmInfoBox& box() { return app->frmInfoBox(); }
    // Chooses a popup item of the notification icon by its caption.
    void choose(const std::string& caption) {
        sim.toolkit.expectPopupMenu([caption](const sim::PopupMenuCall& call) {
            const auto item = std::find(call.items.begin(), call.items.end(), caption);
            return item == call.items.end() ? -1 : static_cast<int>(item - call.items.begin());
        });
        ASSERT_TRUE(sim.toolkit.notifyIconEvent(517));
    }
};

TEST_F(AboutTest, InfoShowsTheVersionAndOkEnterOrEscapeCloseTheBox) {
    startAsIs();
    choose("&INFO");
    ASSERT_TRUE(box().window.visible());
    EXPECT_TRUE(sim.toolkit.modalWindows().empty());
    EXPECT_EQ(win(box().window.handle()).owner, form().window.handle());
    EXPECT_EQ(box().window.caption(), "");
    EXPECT_EQ(box().lblVersion.caption(), "Version: 1.08");

    sim.toolkit.pressKey(ui::KEY_ESCAPE);
    EXPECT_FALSE(box().window.loaded());
    // Every load sets the label anew, minor and revision run together.
    app->version = {1, 0, 12};
    choose("&INFO");
    EXPECT_EQ(box().lblVersion.caption(), "Version: 1.012");
    sim.toolkit.pressKey(ui::KEY_RETURN);
    EXPECT_FALSE(box().window.loaded());
    choose("&INFO");
    box().cmdOK.click();
    EXPECT_FALSE(box().window.loaded());
    EXPECT_EQ(Versionstext({2, 10, 0}), "Version: 2.100");
}

TEST_F(AboutTest, TheAddressOpensTheHomepageAndTheBoxStaysUntilTheProgramEnds) {
    startAsIs();
    choose("&INFO");
    box().Label1.click();
    ASSERT_EQ(sim.desktop.shellRequests().size(), 1u);
    const sim::SimShellRequest& request = sim.desktop.shellRequests()[0];
    EXPECT_EQ(request, (sim::SimShellRequest{box().window.handle(), "Open", request.file, 1}));
    EXPECT_EQ(box().Label1.caption(), " " + request.file);
    EXPECT_TRUE(request.file.starts_with("https://")) << request.file;
    EXPECT_TRUE(box().window.visible());

    const Hwnd shown = box().window.handle();
    choose("&schlie\xDF"
           "en");
    EXPECT_TRUE(sim.toolkit.quitRequested());
    EXPECT_FALSE(box().window.loaded());
    EXPECT_FALSE(sim.desktop.exists(shown));
}

TEST_F(AboutTest, HelpStartsTheEditorOnTheHelpTextBesideTheProgram) {
    startAsIs();
    choose("&Hilfe");
    sim.desktop.failStarts = true; // shows nothing, and the program goes on
    choose("&Hilfe");
    EXPECT_FALSE(sim.toolkit.quitRequested());
    EXPECT_TRUE(sim.toolkit.messageBoxes().empty());

    sim::SimPlatform root;
    root.files.setProgramFolder("D:\\");
    Zuklapper program(root.platform);
    program.start();
    program.form1().mHilfe.click();

    using Starts = std::vector<sim::SimProgramStart>;
    EXPECT_EQ(sim.desktop.programStarts(),
              (Starts{{"notepad C:\\Programme\\Zuklapper\\Hilfe.txt", 1},
                      {"notepad C:\\Programme\\Zuklapper\\Hilfe.txt", 1}}));
    EXPECT_EQ(root.desktop.programStarts(), (Starts{{"notepad D:\\Hilfe.txt", 1}}));
}

} // namespace
} // namespace zk
