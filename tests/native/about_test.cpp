#include "program_fixture.h"

#include "app/texte.h"
#include "tray/frm_info_box.h"

namespace zk {
namespace {

class AboutTest : public ProgramTest {
protected:
    FrmInfoBox& box() { return app->frmInfoBox(); }
};

// The address opens the homepage and the box stays; "&Hilfe" starts the editor on the help
// text beside the program, with a single backslash at a drive's root.
TEST_F(AboutTest, TheAddressOpensTheHomepageAndHelpTheHelpTextInTheEditor) {
    sim.files.setProgramFolder("D:\\");
    startAsIs();
    choose("&INFO");
    box().Label1.click();
    const std::vector<sim::SimShellRequest> opened = {
        {box().window.handle(), "Open", texte::Homepage, 1}};
    EXPECT_EQ(sim.desktop.shellRequests(), opened);
    EXPECT_EQ(box().Label1.caption(), std::string(" ") + texte::Homepage);
    EXPECT_TRUE(box().window.visible());

    sim.desktop.failStarts = true; // shows nothing, and the program goes on
    choose("&Hilfe");
    EXPECT_EQ(sim.desktop.programStarts(),
              (std::vector<sim::SimProgramStart>{{"notepad D:\\Hilfe.txt", 1}}));
    const Hwnd shown = box().window.handle();
    choose("&schlie\xDF"
           "en");
    EXPECT_FALSE(sim.desktop.exists(shown));
}

} // namespace
} // namespace zk
