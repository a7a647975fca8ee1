#include "app/entry_list_file.h"
#include "platform/sim/sim_files.h"

#include <gtest/gtest.h>

#include <random>

namespace zk {
namespace {

using Entries = std::vector<std::string>;

TEST(FieldReader, ReadsQuotedAndUnquotedFields) {
    struct Case {
        const char* data;
        Entries entries;
    };
    const Case cases[] = {
        {"", {}},
        {"\"a\"\r\n\"b\"\r\n", {"a", "b"}},
        {"\"a, b\"\r\n", {"a, b"}},                           // a comma inside quotes stays
        {"a, b\r\n", {"a", "b"}},                             // an unquoted comma splits
        {"  \"lead\"\r\n   plain   \r\n", {"lead", "plain"}}, // blanks around fields go
        {"\"  keep  \"\r\n", {"  keep  "}},                   // blanks inside quotes stay
        {"\r\n\"x\"\r\n\r\n", {"", "x", ""}},                 // empty lines are empty entries
        {"\"\"\r\n", {""}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}}, // LF, CR, CR LF, no final line end
        {"\"a\",\"b\"\r\n", {"a", "b"}},
        {"a,\r\nb", {"a", "", "b"}},
        {"\"a\"   \r\n", {"a"}},
        // Quotes inside entries stay; an unclosed quote ends at the line end.
        {"\"say \"hi\" now\"\r\n", {"say \"hi\" now"}},
        {"\"ends with \"\"\r\nnext\r\n", {"ends with \"", "next"}},
        {"\"open\r\n\"b\"\r\n", {"open", "b"}},
        {"\"open at end", {"open at end"}},
        {"\"a\"b\r\n", {"a\"b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseEntries(c.data), c.entries) << c.data;
}

TEST(FieldReader, ReadsBackWhatTheProgramWrites) {
    std::mt19937 random(7);
    const std::string alphabet = "ab \",:/.-\xE4\xF6";
    for (int round = 0; round < 300; ++round) {
        Entries entries(random() % 5);
        for (std::string& entry : entries) {
            for (std::size_t n = random() % 8; n > 0; --n)
                entry += alphabet[random() % alphabet.size()];
            // A quote that only blanks separate from a comma would end the field early.
            for (std::size_t q = 0; q < entry.size(); ++q) {
                const std::size_t after = entry.find_first_not_of(' ', q + 1);
                if (entry[q] == '"' && after != std::string::npos && entry[after] == ',') {
                    entry.erase(q, 1);
                    q = static_cast<std::size_t>(-1); // look again from the start
                }
            }
        }
        EXPECT_EQ(parseEntries(formatEntries(entries)), entries);
    }
}

TEST(ListeEinlesen, MissingOrUnreadableFilesGiveEmptyLists) {
    sim::SimFiles files;
    EntryList list;
    list.append("old");
    Liste_einlesen(list, files, "C:\\z\\lstUrl.txt");
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(files.exists("C:\\z\\lstUrl.txt")); // reading creates nothing

    files.put("C:\\z\\lstUrl.txt", "\"a\"\r\n");
    files.failReads("C:\\z\\lstUrl.txt");
    list.append("old");
    Liste_einlesen(list, files, "C:\\z\\lstUrl.txt");
    EXPECT_TRUE(list.empty());

    files.heal();
    Liste_einlesen(list, files, "c:\\Z\\LSTURL.TXT");
    EXPECT_EQ(list.items(), Entries{"a"});
}

} // namespace
} // namespace zk
