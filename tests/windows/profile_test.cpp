// The simulated profile reader and writer against the system's, on the same files.

#include "harness.h"
#include "platform/sim/profile_text.h"

#include <gtest/gtest.h>

using namespace zkt;

TEST(ProfileDifferential, ReadsAndWritesAsTheSystemDoes) {
    const std::string folder = freshFolder(), x(1200, 'x');
    const std::string file = "; AddUrl=F6\r\n[Hotkeys]\r\nAddTitle=  F5  \r\n  AddUrl  =\tF6\t\r\n"
                             "Leer=\r\nNoEquals\r\n[  Webbrowser  ]\r\n"
                             "Bezeichnung=\"\" - Mozilla\"\"\r\na='x'\r\nb=\"x\r\nc=\"x\" y\r\n"
                             "d=\"\r\ne=  \"  x  \"  \r\n[A]\na=1\n[B]\nlang=" +
                             x;
    const std::string path = folder + "\\read.ini";
    writeFile(path, file);
    const struct {
        const char *section = nullptr, *key = nullptr, *fallback = "dflt";
    } reads[] = {
        {"Hotkeys", "AddTitle"},
        {" hotkeys\t", " ADDURL "},
        {"Hotkeys", "Leer"},
        {"Hotkeys", "NoEquals"},
        {"Hotkeys", "Fehlt", " F 8 "},
        {"Webbrowser", "Bezeichnung"},
        {"Webbrowser", "a"},
        {"Webbrowser", "b"},
        {"Webbrowser", "c"},
        {"Webbrowser", "d"},
        {"Webbrowser", "e"},
        {"A", "a"},
        {"B", "lang"},
        {"A", "b", ""},
    };
    for (const auto& r : reads) {
        std::string buffer(1001, '#'); // as the program reads
        buffer.resize(GetPrivateProfileStringA(r.section, r.key, r.fallback, buffer.data(), 1000,
                                               path.c_str()));
        EXPECT_EQ(zk::sim::profileRead(file, r.section, r.key, r.fallback, 1000), buffer)
            << "[" << r.section << "] " << r.key;
    }

    // Writes make the file, add a section and keys, and replace a value whatever the case.
    const std::string target = folder + "\\write.ini";
    const char* const written[][3] = {{"Hotkeys", "AddTitle", "F5"},
                                      {"Webbrowser", "Bezeichnung", "\"\" - Opera\"\""},
                                      {"Hotkeys", "AddUrl", "F6"},
                                      {"hotkeys", "ADDTITLE", ""}};
    std::optional<std::string> simulated;
    for (const auto& [section, key, value] : written) {
        ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, target.c_str()));
        simulated = zk::sim::profileWrite(simulated, section, key, value);
        EXPECT_EQ(readFile(target), simulated) << "[" << section << "] " << key << "=" << value;
    }
}
