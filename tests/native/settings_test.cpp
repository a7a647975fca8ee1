#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile.h"
#include "settings/ini.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

// The profile rules themselves are compared with the system's under Wine; here what the
// settings routines add to them.
TEST(IniLesen, DropsLeadingBlanksKeepsTrailingOnesAndCutsLongValues) {
    sim::SimFiles files;
    sim::SimProfile profile(files);
    const std::string ini = "C:\\z\\config.ini";
    EXPECT_EQ(Ini_lesen(profile, ini, "Hotkeys", "ChkAddUrl", 1), "1");
    EXPECT_FALSE(files.exists(ini)); // reading creates nothing

    Ini_schreiben(profile, ini, "Webbrowser", "Bezeichnung", "\"\" - Firefox \"\"");
    EXPECT_EQ(Ini_lesen(profile, ini, "Webbrowser", "Bezeichnung", ""), "\" - Firefox \"");
    Ini_schreiben(profile, ini, "Hotkeys", "AddTitle", "\" F5 \"");
    EXPECT_EQ(Ini_lesen(profile, ini, "Hotkeys", "AddTitle", "F8"), "F5 ");
    Ini_schreiben(profile, ini, "Hotkeys", "ChkAddUrl", 0);
    EXPECT_EQ(Ini_lesen(profile, ini, "Hotkeys", "ChkAddUrl", 1), "0");
    Ini_schreiben(profile, ini, "Hotkeys", "Lang", std::string(1200, 'x'));
    EXPECT_EQ(Ini_lesen(profile, ini, "Hotkeys", "Lang", ""), std::string(999, 'x'));

    EXPECT_EQ(Nullzeichen_entfernen(std::string("a\0b\0\0c", 6)), "abc");
}

} // namespace
} // namespace zk
