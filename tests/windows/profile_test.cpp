// The simulated platform's profile reader and writer against the system's
// GetPrivateProfileStringA and WritePrivateProfileStringA, on the same files.

#include "harness.h"
#include "platform/sim/profile_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>

using zkt::readFile;

namespace {

struct Lookup {
    std::string section;
    std::string key;
    std::string fallback = "dflt";
    std::size_t size = 1000;
};

struct Write {
    std::string section;
    std::string key;
    std::string value;
};

class ProfileDifferential : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "zk-profile-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
    }

    static void TearDownTestSuite() {
        for (const std::string& file : files_) DeleteFileA(file.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // A file no other case has used, so that nothing the system caches stands in for it.
    static std::string newFile(const std::optional<std::string>& content) {
        files_.push_back(folder_ + "\\case" + std::to_string(files_.size()) + ".ini");
        if (content) std::ofstream(files_.back(), std::ios::binary) << *content;
        return files_.back();
    }

    static std::string systemRead(const std::string& file, const Lookup& l) {
        std::string buffer(l.size + 1, '#');
        const DWORD copied =
            GetPrivateProfileStringA(l.section.c_str(), l.key.c_str(), l.fallback.c_str(), buffer.data(),
                                     static_cast<DWORD>(l.size), file.c_str());
        buffer.resize(buffer.find('\0') == std::string::npos ? l.size : buffer.find('\0'));
        EXPECT_EQ(copied, buffer.size());
        return buffer;
    }

    static void compareReads(const std::string& file, const std::optional<std::string>& content,
                             std::initializer_list<Lookup> lookups) {
        for (const Lookup& l : lookups) {
            SCOPED_TRACE("[" + l.section + "] " + l.key + " default \"" + l.fallback + "\" size " +
                         std::to_string(l.size));
            EXPECT_EQ(zk::sim::profileRead(content, l.section, l.key, l.fallback, l.size),
                      systemRead(file, l));
        }
    }

    static void compareReads(const std::optional<std::string>& content,
                             std::initializer_list<Lookup> lookups) {
        compareReads(newFile(content), content, lookups);
    }

    // Applies the writes to both; sameBytes compares the file after each, then the lookups
    // and every written key are read back.
    static void compareWrites(const std::optional<std::string>& content,
                              std::initializer_list<Write> writes, bool sameBytes,
                              std::initializer_list<Lookup> readBack = {}) {
        const std::string file = newFile(content);
        std::optional<std::string> portable = content;
        for (const Write& w : writes) {
            SCOPED_TRACE("write [" + w.section + "] " + w.key + "=" + w.value);
            ASSERT_TRUE(WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(),
                                                   file.c_str()));
            portable = zk::sim::profileWrite(portable, w.section, w.key, w.value);
            if (sameBytes) {
                EXPECT_EQ(portable, readFile(file));
            }
        }
        // Flushed, so that what follows reads the file and not a cache.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
        compareReads(file, portable, readBack);
        for (const Write& w : writes) compareReads(file, portable, {{w.section, w.key}});
    }

    static inline std::string folder_;
    static inline std::vector<std::string> files_;
};

TEST_F(ProfileDifferential, NamesMatchWhateverTheirBlanksAndLetterCase) {
    compareReads("[Hotkeys]\r\n"
                 "AddTitle=  F5  \r\n"
                 "  AddUrl  =\tF6\t\r\n"
                 "\tTab\t=\t x y \t\r\n"
                 "Inner Key = v\r\n"
                 "[  Webbrowser  ]\r\n"
                 "Bezeichnung = Mozilla\r\n"
                 "[\tTabs\t]\r\n"
                 "k=1\r\n"
                 "  [Indented]  \r\n"
                 "k=2\r\n",
                 {{"Hotkeys", "AddTitle"}, {" Hotkeys\t", "AddUrl"}, {"Hotkeys", " \tTab "},
                  {"Hotkeys", "Inner Key"}, {"Hotkeys", "InnerKey"}, {"Hotkeys", "Inner  Key"},
                  {"Webbrowser", "Bezeichnung"}, {"  Webbrowser  ", "Bezeichnung"}, {"Tabs", "k"},
                  {"Indented", "k"}, {"HOTKEYS", "addtitle"}, {"webBrowser", "BEZEICHNUNG"}});
}

TEST_F(ProfileDifferential, OnePairOfEnclosingQuotesIsDropped) {
    const char* const values[] = {"\"x\"", "'x'", "\"x'", "'x\"", "\"x", "x\"", "\"", "'", "\"\"",
                                  "''", "\"\"\"", "  \"  x  \"  ", "\"\" x \"\"", "\"x\" y", "x \"y\"",
                                  "\" \"", "\"\t\"", "\"\" - Mozilla\"\""};
    auto key = [](std::size_t i) { return std::string(1, static_cast<char>('a' + i)); };
    std::string file = "[Quotes]\r\n";
    for (std::size_t i = 0; i < std::size(values); ++i)
        file.append(key(i)).append("=").append(values[i]).append("\r\n");
    const std::string path = newFile(file);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(values[i]);
        compareReads(path, file, {{"Quotes", key(i)}});
    }
}

TEST_F(ProfileDifferential, EmptyValuesAndWhatIsMissing) {
    compareReads("; Kommentar\r\n"
                 "[Hotkeys]\r\n"
                 "Leer=\r\n"
                 "Blanks=   \t\r\n"
                 "NoEquals\r\n"
                 "; AddUrl=F6\r\n"
                 ";AddUrl=F7\r\n"
                 "[Leer]\r\n"
                 "[Webbrowser]\r\n"
                 "Bezeichnung=Mozilla\r\n",
                 {{"Hotkeys", "Leer"}, {"Hotkeys", "Blanks"}, {"Hotkeys", "NoEquals"},
                  {"Hotkeys", "AddUrl"}, {"Hotkeys", "Fehlt"}, {"Hotkeys", "Bezeichnung"},
                  {"Leer", "Leer"}, {"Fehlt", "Leer"}});
    compareReads(std::nullopt, {{"Hotkeys", "AddTitle"}});
    compareReads("", {{"Hotkeys", "AddTitle"}});
}

TEST_F(ProfileDifferential, DefaultsLoseTrailingSpacesAndAreCutToTheBuffer) {
    for (const auto& file : {std::optional<std::string>(), std::optional<std::string>("[A]\r\na=1\r\n")})
        compareReads(file, {{"A", "b", "F8  "}, {"A", "b", "  F8"}, {"A", "b", " F 8 "}, {"A", "b", ""},
                            {"A", "b", "abcdef", 3}, {"A", "b", "ab  ", 3}, {"A", "b", "abcdef", 1}});
}

TEST_F(ProfileDifferential, LongValuesAndSmallBuffersAreCut) {
    const std::string x(1200, 'x');
    compareReads("[A]\r\n"
                 "k998=" + x.substr(0, 998) + "\r\n"
                 "k999=" + x.substr(0, 999) + "\r\n"
                 "k1000=" + x.substr(0, 1000) + "\r\n"
                 "k1200=" + x + "\r\n"
                 "q998=\"" + x.substr(0, 998) + "\"\r\n"
                 "q1000='" + x.substr(0, 1000) + "'\r\n"
                 "short=abcdef\r\n"
                 "quoted=\"abcdef\"\r\n",
                 {{"A", "k998"}, {"A", "k999"}, {"A", "k1000"}, {"A", "k1200"}, {"A", "q998"},
                  {"A", "q1000"}, {"A", "short", "", 1}, {"A", "short", "", 2}, {"A", "short", "", 6},
                  {"A", "short", "", 7}, {"A", "quoted", "", 3}, {"A", "quoted", "", 6},
                  {"A", "quoted", "", 8}});
}

TEST_F(ProfileDifferential, CrLfAndLfFilesReadAlike) {
    for (const std::string e : {"\r\n", "\n"}) {
        for (const std::string& file : {"[A]" + e + "a=1" + e + "[B]" + e + "b= 2 " + e,
                                        "[A]" + e + "a=1" + e + "[B]" + e + "b= 2 ",
                                        "[A]\r\na=1" + e + "[B]\nb=2\r\n"})
            compareReads(file, {{"A", "a"}, {"B", "b"}, {"A", "b"}});
    }
}

TEST_F(ProfileDifferential, WritesCreateTheFileAndMissingSections) {
    compareWrites(std::nullopt,
                  {{"Hotkeys", "AddTitle", "F5"}, {"Hotkeys", "AddUrl", "F6"},
                   {"Webbrowser", "Bezeichnung", "\"\" - Opera\"\""}},
                  true);
    compareWrites("", {{"Hotkeys", "AddTitle", "F5"}}, true);
    for (const char* file : {"[Hotkeys]\r\nAddTitle=F5\r\n", "[Hotkeys]\r\nAddTitle=F5"})
        compareWrites(file, {{"Webbrowser", "Bezeichnung", "x"}}, true, {{"Hotkeys", "AddTitle"}});
}

TEST_F(ProfileDifferential, WritesAddKeysAtTheEndOfTheirSection) {
    compareWrites("[A]\r\na=1\r\n[B]\r\nb=1\r\n", {{"A", "c", "3"}, {"B", "c", "4"}, {"a", "d", "5"}},
                  true);
    compareWrites("[A]\r\na=1\r\n[B]\r\nb=1", {{"B", "c", "3"}}, true, {{"B", "b"}});
    compareWrites("[A]\r\n[B]\r\nb=1\r\n", {{"A", "a", "1"}}, true);
    compareWrites("[A]\r\na=1\r\n;c\r\n[B]\r\nb=1\r\n", {{"A", "c", "3"}}, true, {{"A", "a"}});
}

TEST_F(ProfileDifferential, WritesReplaceValuesInPlace) {
    const std::string file =
        "[Hotkeys]\r\nAddTitle=F5\r\nAddUrl=F6\r\n[Webbrowser]\r\nBezeichnung=x\r\n";
    compareWrites(file,
                  {{"hotkeys", "ADDTITLE", "F7"}, {"Hotkeys", "AddUrl", "\"  F9\""},
                   {"Webbrowser", "Bezeichnung", ""}},
                  true, {{"Hotkeys", "AddTitle"}});
    compareWrites(file,
                  {{"Webbrowser", "Bezeichnung", "\"\" - Opera\"\""},
                   {"Hotkeys", "AddTitle", std::string(1200, 'x')}},
                  true, {{"Hotkeys", "AddUrl"}});
    compareWrites("[A]\r\nnoeq\r\nb=1\r\n", {{"A", "NOEQ", "v"}}, true);
}

// Wine rewrites the whole file, every line in its own form and blank lines dropped, where
// Windows changes only the line concerned: here only what reads back is compared.
TEST_F(ProfileDifferential, OtherLayoutsReadTheSameAfterWriting) {
    compareWrites("[A]\na=1\nb=2\n[B]\nc=3\n",
                  {{"A", "b", "5"}, {"A", "d", "6"}, {"B", "e", "7"}, {"C", "f", "8"}}, false,
                  {{"A", "a"}, {"B", "c"}});
    compareWrites("  [ A ]  \r\n  a = 1 \r\n\tb\t=\t2\r\n[B]\r\nc=3\r\n",
                  {{"A", "A", "5"}, {"A", "b", "6"}, {"a", "new", "7"}}, false, {{"B", "c"}});
    compareWrites("; top\r\n\r\n[A]\r\na=1\r\n\r\n; about B\r\n[B]\r\nc=3\r\n\r\n",
                  {{"A", "z", "1"}, {"B", "c", "4"}, {"B", "y", "2"}}, false, {{"A", "a"}});
    compareWrites("[A]\r\na=1\r\n[B]\r\nb=1", {{"A", "c", "3"}, {"B", "b", "2"}}, false, {{"A", "a"}});
    // Wine keeps blanks behind written names and values.
    compareWrites("[A]\r\na=1\r\n",
                  {{" A ", " a\t", "  x  "}, {" New ", " k ", " v "}, {"A", "b", " \t "}}, false,
                  {{"A", "a"}, {"New", "k"}, {"new", "K"}});
}

} // namespace
