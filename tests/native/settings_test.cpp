#include "platform/sim/profile_text.h"
#include "settings/ini.h"

#include <gtest/gtest.h>

#include <map>

namespace zk {
namespace {

using sim::profileRead;
using sim::profileWrite;

std::string read(const std::optional<std::string>& file, const char* section, const char* key,
                 const char* fallback = "dflt", std::size_t size = 1000) {
    return profileRead(file, section, key, fallback, size);
}

TEST(ProfileText, ReadsValuesByTheSystemsRules) {
    const std::string file =
        "[Hotkeys]\r\n"
        "AddTitle=  F5  \r\n"
        "  addurl  =\"  Shift \"\r\n"
        "Leer=\r\n"
        "Single='x'\r\n"
        "Half=\"x\r\n"
        "NoEquals\r\n"
        "[Webbrowser]\r\n"
        "Bezeichnung=\"\" - Mozilla\"\"\r\n";
    EXPECT_EQ(read(file, "Hotkeys", "AddTitle"), "F5");
    EXPECT_EQ(read(file, " HOTKEYS ", "ADDURL"), "  Shift ");
    EXPECT_EQ(read(file, "Hotkeys", "Leer"), "");
    EXPECT_EQ(read(file, "Hotkeys", "Single"), "x");
    EXPECT_EQ(read(file, "Hotkeys", "Half"), "\"x");
    EXPECT_EQ(read(file, "Webbrowser", "Bezeichnung"), "\" - Mozilla\"");
    EXPECT_EQ(read(file, "Webbrowser", "AddTitle"), "dflt");
    EXPECT_EQ(read(file, "Fehlt", "AddTitle"), "dflt");
    EXPECT_EQ(read(std::nullopt, "Hotkeys", "AddTitle", "F8  "), "F8");
    EXPECT_EQ(read(file, "Hotkeys", "AddTitle", "", 2), "F");
}

TEST(ProfileText, WritesInPlaceAndCreatesWhatIsMissing) {
    std::string file = profileWrite(std::nullopt, "Hotkeys", "AddTitle", "F5");
    EXPECT_EQ(file, "[Hotkeys]\r\nAddTitle=F5\r\n");
    file = profileWrite(file, "Hotkeys", "AddUrl", "F6");
    file = profileWrite(file, "Webbrowser", "Bezeichnung", "\"\" - Opera\"\"");
    file = profileWrite(file, "hotkeys", "addtitle", "F7");
    EXPECT_EQ(read(file, "Hotkeys", "AddTitle"), "F7");
    EXPECT_EQ(read(file, "Hotkeys", "AddUrl"), "F6");
    EXPECT_EQ(read(file, "Webbrowser", "Bezeichnung"), "\" - Opera\"");
    EXPECT_NE(file.find("[Hotkeys]\r\nAddTitle=F7\r\nAddUrl=F6\r\n"), std::string::npos); // place and spelling kept
}

TEST(IniLesen, DropsLeadingBlanksKeepsTrailingOnesAndCutsLongValues) {
    struct FileProfile : Profile {
        std::map<std::string, std::string> files;
        std::string readString(const std::string& f, const std::string& s, const std::string& k,
                               const std::string& d, std::size_t n) override {
            auto found = files.find(f);
            return profileRead(found == files.end() ? std::nullopt : std::optional(found->second), s, k, d, n);
        }
        bool writeString(const std::string& f, const std::string& s, const std::string& k,
                         const std::string& v) override {
            auto found = files.find(f);
            files[f] = profileWrite(found == files.end() ? std::nullopt : std::optional(found->second), s, k, v);
            return true;
        }
    } profile;
    const std::string ini = "C:\\z\\config.ini";
    EXPECT_EQ(Ini_lesen(profile, ini, "Hotkeys", "ChkAddUrl", 1), "1");
    EXPECT_TRUE(profile.files.empty()); // reading creates nothing

    Ini_schreiben(profile, ini, "Webbrowser", "Bezeichnung", "\"\" - Firefox \"\"");
    EXPECT_EQ(Nullzeichen_entfernen(Ini_lesen(profile, ini, "Webbrowser", "Bezeichnung", "")), "\" - Firefox \"");
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
