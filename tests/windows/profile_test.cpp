// The simulated platform's profile reader and writer against the system's
// GetPrivateProfileStringA and WritePrivateProfileStringA, on the same files.

#include "harness.h"
#include "platform/sim/profile_text.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace zkt;

namespace {

struct Lookup {
    std::string section, key, fallback = "dflt";
    std::size_t size = 1000;
};

struct Write {
    std::string section, key, value;
};

class ProfileDifferential : public ::testing::Test {
protected:
    // A file no other case has used, so that nothing the system caches stands in for it.
    std::string newFile(const std::optional<std::string>& content) {
        static int cases = 0;
        std::string path = folder_ + "\\case" + std::to_string(++cases) + ".ini";
        if (content) writeFile(path, *content);
        return path;
    }

    static void compareReads(const std::string& path, const std::optional<std::string>& content,
                             std::initializer_list<Lookup> lookups) {
        for (const Lookup& l : lookups) {
            SCOPED_TRACE("[" + l.section + "] " + l.key + " default \"" + l.fallback + "\" size " +
                         std::to_string(l.size));
            std::string buffer(l.size + 1, '#');
            const DWORD copied =
                GetPrivateProfileStringA(l.section.c_str(), l.key.c_str(), l.fallback.c_str(),
                                         buffer.data(), static_cast<DWORD>(l.size), path.c_str());
            buffer.resize(std::min(buffer.find('\0'), l.size));
            EXPECT_EQ(copied, buffer.size());
            EXPECT_EQ(zk::sim::profileRead(content, l.section, l.key, l.fallback, l.size), buffer);
        }
    }

    void compareReads(const std::optional<std::string>& content,
                      std::initializer_list<Lookup> lookups) {
        compareReads(newFile(content), content, lookups);
    }

    // Applies the writes to both; sameBytes compares the file after each, then the lookups
    // and every written key are read back.
    void compareWrites(const std::optional<std::string>& content,
                       std::initializer_list<Write> writes, bool sameBytes,
                       std::initializer_list<Lookup> readBack = {}) {
        const std::string path = newFile(content);
        std::optional<std::string> portable = content;
        for (const Write& w : writes) {
            SCOPED_TRACE("write [" + w.section + "] " + w.key + "=" + w.value);
            ASSERT_TRUE(WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(),
                                                   w.value.c_str(), path.c_str()));
            portable = zk::sim::profileWrite(portable, w.section, w.key, w.value);
            if (sameBytes) {
                EXPECT_EQ(portable, readFile(path));
            }
        }
        // Flushed, so that what follows reads the file and not a cache.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
        compareReads(path, portable, readBack);
        for (const Write& w : writes) compareReads(path, portable, {{w.section, w.key}});
    }

    const std::string folder_ = freshFolder();
};

TEST_F(ProfileDifferential, NamesMatchWhateverTheirBlanksLetterCaseAndLineEnds) {
    compareReads("[Hotkeys]\r\n"
                 "AddTitle=  F5  \r\n"
                 "  AddUrl  =\tF6\t\r\n"
                 "\tTab\t=\t x y \t\r\n"
                 "Inner Key = v\r\n"
                 "[  Webbrowser  ]\r\n"
                 "Bezeichnung = Mozilla\r\n"
                 "  [Indented]  \r\n"
                 "k=2\r\n",
                 {{"Hotkeys", "AddTitle"},
                  {" Hotkeys\t", "AddUrl"},
                  {"Hotkeys", " \tTab "},
                  {"Hotkeys", "Inner Key"},
                  {"Hotkeys", "InnerKey"},
                  {"Webbrowser", "Bezeichnung"},
                  {"  Webbrowser  ", "Bezeichnung"},
                  {"Indented", "k"},
                  {"HOTKEYS", "addtitle"}});
    for (const char* file : {"[A]\r\na=1\r\n[B]\r\nb= 2 \r\n", "[A]\r\na=1\r\n[B]\r\nb= 2 ",
                             "[A]\na=1\n[B]\nb= 2 \n", "[A]\na=1\n[B]\nb= 2 "})
        compareReads(file, {{"A", "a"}, {"B", "b"}, {"A", "b"}});
}

TEST_F(ProfileDifferential, OnePairOfEnclosingQuotesIsDropped) {
    const char* const values[] = {
        "\"x\"",       "'x'",     "\"x'",    "'x\"",  "\"x",    "x\"",
        "\"",          "'",       "\"\"",    "''",    "\"\"\"", "  \"  x  \"  ",
        "\"\" x \"\"", "\"x\" y", "x \"y\"", "\" \"", "\"\t\"", "\"\" - Mozilla\"\""};
    auto key = [](std::size_t i) { return std::string(1, static_cast<char>('a' + i)); };
    std::string file = "[Quotes]\r\n";
    for (std::size_t i = 0; i < std::size(values); ++i)
        file.append(key(i)).append("=").append(values[i]).append("\r\n");
    const std::string path = newFile(file);
    for (std::size_t i = 0; i < std::size(values); ++i)
        compareReads(path, file, {{"Quotes", key(i)}});
}

TEST_F(ProfileDifferential, EmptyValuesMissingNamesDefaultsAndLongValues) {
    const std::string x(1200, 'x');
    compareReads("; AddUrl=F6\r\n"
                 "[Hotkeys]\r\n"
                 "Leer=\r\n"
                 "Blanks=   \t\r\n"
                 "NoEquals\r\n"
                 "[Leer]\r\n"
                 "[A]\r\n"
                 "k999=" +
                     x.substr(0, 999) +
                     "\r\n"
                     "k1200=" +
                     x +
                     "\r\n"
                     "q998=\"" +
                     x.substr(0, 998) +
                     "\"\r\n"
                     "short=abcdef\r\n"
                     "quoted=\"abcdef\"\r\n",
                 {{"Hotkeys", "Leer"},     {"Hotkeys", "Blanks"},  {"Hotkeys", "NoEquals"},
                  {"Hotkeys", "AddUrl"},   {"Hotkeys", "Fehlt"},   {"Leer", "Leer"},
                  {"Fehlt", "Leer"},       {"A", "k999"},          {"A", "k1200"},
                  {"A", "q998"},           {"A", "short", "", 1},  {"A", "short", "", 6},
                  {"A", "short", "", 7},   {"A", "quoted", "", 3}, {"A", "quoted", "", 8},
                  {"A", "b", "F8  "},      {"A", "b", "  F8"},     {"A", "b", ""},
                  {"A", "b", "abcdef", 3}, {"A", "b", "ab  ", 3}});
    for (const auto& missing : {std::optional<std::string>(), std::optional<std::string>("")})
        compareReads(missing, {{"Hotkeys", "AddTitle"}, {"A", "b", " F 8 "}, {"A", "b", "abc", 1}});
}

TEST_F(ProfileDifferential, WritesCreateAddAndReplaceInPlace) {
    compareWrites(std::nullopt,
                  {{"Hotkeys", "AddTitle", "F5"},
                   {"Hotkeys", "AddUrl", "F6"},
                   {"Webbrowser", "Bezeichnung", "\"\" - Opera\"\""}},
                  true);
    for (const char* file : {"", "[Hotkeys]\r\nAddTitle=F5\r\n", "[Hotkeys]\r\nAddTitle=F5"})
        compareWrites(file, {{"Webbrowser", "Bezeichnung", "x"}}, true, {{"Hotkeys", "AddTitle"}});
    compareWrites("[A]\r\na=1\r\n;c\r\n[B]\r\nb=1\r\n",
                  {{"A", "c", "3"}, {"B", "c", "4"}, {"a", "d", "5"}}, true, {{"A", "a"}});
    compareWrites("[A]\r\n[B]\r\nb=1\r\n", {{"A", "a", "1"}}, true);
    compareWrites("[A]\r\na=1\r\n[B]\r\nb=1", {{"B", "c", "3"}}, true, {{"B", "b"}});
    const std::string file =
        "[Hotkeys]\r\nAddTitle=F5\r\nAddUrl=F6\r\nnoeq\r\n[Webbrowser]\r\nBezeichnung=x\r\n";
    compareWrites(file,
                  {{"hotkeys", "ADDTITLE", "F7"},
                   {"Hotkeys", "AddUrl", "\"  F9\""},
                   {"Hotkeys", "NOEQ", "v"},
                   {"Webbrowser", "Bezeichnung", ""}},
                  true, {{"Hotkeys", "AddTitle"}});
    compareWrites(file, {{"Hotkeys", "AddTitle", std::string(1200, 'x')}}, true);
}

// Wine rewrites the whole file, every line in its own form and blank lines dropped, where
// Windows changes only the line concerned: here only what reads back is compared.
TEST_F(ProfileDifferential, OtherLayoutsReadTheSameAfterWriting) {
    compareWrites("  [ A ]  \n  a = 1 \n\tb\t=\t2\n\n; about B\n[B]\nc=3\n",
                  {{"A", "A", "5"}, {"A", "b", "6"}, {"a", "new", "7"}, {"C", "f", "8"}}, false,
                  {{"B", "c"}});
    // Wine keeps blanks behind written names and values.
    compareWrites("[A]\r\na=1\r\n", {{" A ", " a\t", "  x  "}, {" New ", " k ", " v "}}, false,
                  {{"A", "a"}, {"new", "K"}});
}

} // namespace
