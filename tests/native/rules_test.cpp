#include "app/entry_list_file.h"
#include "capture/cuts.h"
#include "engine/close_cycle.h"
#include "engine/get_url.h"
#include "engine/todays_browsers.h"
#include "hotkeys/hotkey.h"
#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

#include <random>

namespace zk {
namespace {

// The title entry is the title's head, the designation its tail: they meet at the character
// before the last hyphen (or, for today's browsers, dash).
TEST(Cuts, TitlesSplitBeforeTheLastHyphenAndAddressesLoseOneSlash) {
    const struct {
        const char* title = nullptr;
        bool dashes = false;
        std::optional<std::string> entry, designation;
    } cases[] = {
        {"a-b - Mozilla", false, "a-b", " - Mozilla"},
        {"abc-def", false, "ab", "c-def"},
        {"-abc", false, "", "-abc"},
        {"ohne Strich", false, std::nullopt, std::nullopt},
        {"Seite \x97 Mozilla Firefox", false, std::nullopt, std::nullopt},
        {"Seite \x97 Mozilla Firefox", true, "Seite", " \x97 Mozilla Firefox"},
        {"a-b \x96 Opera", true, "a-b", " \x96 Opera"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.title)));
        EXPECT_EQ(titleEntry(c.title, c.dashes), c.entry);
        EXPECT_EQ(designationEntry(c.title, c.dashes), c.designation);
    }
    const std::pair<const char*, const char*> urls[] = {
        {"http://a.b//", "http://a.b/"}, {"abcde/", "abcde/"}, {"abcdef/", "abcdef"}};
    for (const auto& [typed, entry] : urls) EXPECT_EQ(urlEntry(typed), entry);
    EXPECT_EQ(shownForm("https://www.example.org/"), "example.org/");
    EXPECT_EQ(shownForm("www.http://x"), "http://x");
}

// Blanks around fields go, blanks and quotes inside quotes stay; an unquoted comma splits, an
// unclosed quote ends at the line end; LF, CR and CR LF end lines, the last may lack one.
TEST(FieldReader, ReadsQuotedAndUnquotedFields) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"", {}},
        {"\"a, b\"\r\n", {"a, b"}},
        {"  \"lead\"\r\n   plain   \r\n", {"lead", "plain"}},
        {"\"  keep  \"\r\n", {"  keep  "}},
        {"\r\n\"x\"\r\n\r\n", {"", "x", ""}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\"a\",\"b\"\r\n", {"a", "b"}},
        {"a, b,\r\nc", {"a", "b", "", "c"}},
        {"\"say \"hi\" now\"\r\n", {"say \"hi\" now"}},
        {"\"ends with \"\"\r\nnext\r\n", {"ends with \"", "next"}},
        {"\"open\r\n\"b\"\r\n", {"open", "b"}},
        {"\"a\"b\r\n", {"a\"b"}},
    };
    for (const auto& [data, entries] : cases) EXPECT_EQ(parseEntries(data), entries) << data;
}

// An appended entry keeps a file's own line end, and its encoding without the mark.
TEST(ListFile, AnAppendedEntryKeepsTheFilesLineEndAndEncoding) {
    const std::string entry = "\"\334bersicht\"\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"a\n", "a\n" + entry},
        {"\"Gr\303\266\303\237e\"", "\"Gr\303\266\303\237e\"\r\n\"\303\234bersicht\"\r\n"},
    };
    for (const auto& [before, after] : cases) {
        sim::SimFiles files;
        files.put("C:\\z\\l.txt", before);
        EXPECT_TRUE(appendEntry(files, "C:\\z\\l.txt", "\334bersicht"));
        EXPECT_EQ(files.get("C:\\z\\l.txt"), after) << before;
    }
}

// The query goes to the table's first browser named in the title, none without one; the
// reply's first field.
TEST(GetUrl, AsksTheFirstBrowserOfTheTableNamedInTheTitleAndReadsTheFirstField) {
    sim::SimDde dde;
    const std::pair<const char*, const char*> named[] = {
        {"Seite - MICROSOFT INTERNET EXPLORER (Mozilla)", "iexplore"},
        {"Netscape 7 (Mozilla)", "mozilla"},
        {"Seite - Netscape", "netscape"},
        {"Seite - opera", "opera"},
        {"Seite - Microsoft Internet", ""},
    };
    std::vector<sim::DdeRequest> expected;
    for (const auto& [title, service] : named) {
        EXPECT_EQ(GetURL(dde, title), "") << title; // no server
        if (*service) expected.push_back({service, "WWW_GetWindowInfo", "-1", 5000});
    }
    EXPECT_EQ(dde.requests(), expected);

    const std::pair<std::string, std::string> cases[] = {
        {"\"http://x/?a=1,2\",\"Titel\"", "http://x/?a=1,2"},
        {"\"http://x/\",\"Titel \",\" mehr\",\"\"", "http://x/"},
        {"\"a\"b\",\"Titel\"", "a\"b"},
        {"\"\",\"Titel\"", ""},
        {"http://x/,Titel, mit Komma,\"\"", "http://x/"},
        // A quoted field that never ends reads like an unquoted one.
        {"\"http://x/,Titel", "\"http://x/"},
        {"\"http://x/\"Titel", "\"http://x/\"Titel"},
        // Only the text before the first NUL counts.
        {std::string("\"http://x/\"\0,\"T\"", 16), "http://x/"},
        {std::string("http://x/\0,T", 12), "http://x/"},
    };
    for (const auto& [reply, address] : cases) EXPECT_EQ(addressFromReply(reply), address) << reply;
}

constexpr int Shift = 16, Ctrl = 17, Alt = 18, LeftCtrl = 162, RightCtrl = 163;

TEST(Zusatztaste, ReportsTheModifierAsTheKeyboardShowsIt) {
    const std::pair<std::vector<int>, std::int32_t> cases[] = {
        {{}, -1},
        {{Shift}, 1},
        {{Ctrl, LeftCtrl}, 2},
        {{Ctrl, RightCtrl}, 2},
        {{Ctrl}, -1}, // the generic Ctrl state alone, neither Ctrl key
        {{Alt}, 3},
        {{Ctrl, LeftCtrl, Alt}, 4}, // what AltGr sends
        {{Ctrl, LeftCtrl, Shift}, 2},
        {{Shift, Alt}, 1},
    };
    for (const auto& [held, report] : cases) {
        sim::SimDesktop desktop;
        for (int key : held) desktop.keyDown(key);
        TickKeys keys(desktop);
        EXPECT_EQ(Zusatztaste_ermitteln(keys), report) << ::testing::PrintToString(held);
    }
}

// The indexed close order against its definition: each URL entry's first match, then all
// matches of each title entry.
TEST(CloseRules, IndexedOrderEqualsThePlainDefinition) {
    std::mt19937 random(2024);
    auto text = [&](std::size_t maxLength) {
        std::string s;
        for (std::size_t n = random() % (maxLength + 1); n > 0; --n) s += "ab/-A"[random() % 5];
        return s;
    };
    CloseRules rules;
    EntryList urls, titles;
    std::vector<CloseTarget> indexed;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> u(random() % 12), t(random() % 12);
        const char* schemes[] = {"", "", "http://", "https://www.", "www.", "https://"};
        for (auto& e : u) e = schemes[random() % 6] + text(4);
        for (auto& e : t) e = text(3);
        if (round % 3 != 0) { // keep the lists now and then, so the cached indexes are used
            urls.assign(u);
            titles.assign(t);
        }
        const std::string designation = round % 2 ? "" : text(2);
        std::vector<BrowserWindow> rows(1 + random() % 8);
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = {text(3) + (random() % 2 ? designation : ""),
                       schemes[random() % 6] + text(12), 0x100 + i, random() % 2 == 0};
        rules.closeOrder(rows, urls, titles, designation, indexed);
        std::vector<CloseTarget> plain;
        for (int e = 0; e < static_cast<int>(urls.items().size()); ++e) {
            const std::string& entry = urls.items()[static_cast<std::size_t>(e)];
            // An address of today's browsers, in its shown form, may start with the entry's.
            const std::string shown(shownForm(entry));
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const BrowserWindow& r) {
                return (!entry.empty() && r.Url.find(entry) != std::string::npos) ||
                       (r.todays && !shown.empty() && shownForm(r.Url).starts_with(shown));
            });
            if (row != rows.end())
                plain.push_back({row->hWnd, static_cast<int>(row - rows.begin()), false, e});
        }
        for (int e = 0; e < static_cast<int>(titles.items().size()); ++e)
            for (const BrowserWindow& row : rows)
                if (row.Title == titles.items()[static_cast<std::size_t>(e)] + designation ||
                    (row.todays && titleEntry(row.Title, true) == titles.items()[e]))
                    plain.push_back({row.hWnd, static_cast<int>(&row - rows.data()), true, e});
        ASSERT_EQ(indexed, plain) << "round " << round;
    }
}

} // namespace
} // namespace zk
