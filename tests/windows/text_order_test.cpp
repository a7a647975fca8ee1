// The simulated platform's text order against a real sorted list box.

#include "platform/sim/code_page.h"
#include "platform/sim/text_order.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Code page 1252 text from the UTF-8 of this source.
std::string ansi(const std::string& utf8) { return zk::sim::cp1252FromUtf8(utf8).value(); }

int systemOrder(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

// Titles and addresses as the lists hold them, and random texts over characters whose
// weights differ in kind: letters with and without diacritics, ligatures, digits and their
// superscripts, blanks, word-sort characters, signs, in both cases.
std::vector<std::string> corpus() {
    std::vector<std::string> texts;
    // clang-format off
    for (const char* utf8 : {
             "Ärger im Büro - Forum", "Arbeit", "Äpfel kaufen", "Azur", "Zürich", "Übersicht",
             "Uhr", "Öl", "Oel", "Ofen", "Straße", "Strasse", "Straßenbahn", "Stras",
             "Œuvres complètes", "oeuvre", "Ørsted", "Åland", "Éclair", "école", "façade",
             "señor", "Ðoð", "þorn", "Æsop", "Ÿpsilon", "1. FC Köln", "10 Tipps", "2 Tipps",
             "²D", "2D", "ª", "a b", "ab", " a", "\u00A0a", "a\tb", "co-op", "coop", "co'op",
             "-coop", "coop-", "E-Mail-Adresse", "–dash", "—dash", "Tom’s", "Ab\u00ADschnitt",
             "http://www.example.com/", "https://example.com/a?b=c&d=e", "www.ex-ample.de",
             "www.exämple.de", "C:\\Temp", "[Draft]", "(1)", "#1", "€5", "@home", "_under",
             "a.b", "a,b", "a/b", "a+b", "«Zitat»", "„Zitat“", "¿Qué?", "§ 1", "© 2024", "°C",
             "µm", "×", "ˆ", "˜", "x\x01y", "x\x7Fy"})
        texts.push_back(ansi(utf8));
    // clang-format on

    const std::string alphabet = ansi("aAbeEoOsSuUzZ09 -'.,/_&äÄöÖüÜßéÉèæÆœŒøØåÅçÇñÑÿŸðÐþÞ²³¹ªº"
                                      "\u00AD–—’\u00A0\t^ˆ") +
                                 "\x01\x7F\x81";
    std::mt19937 random(1252);
    std::uniform_int_distribution<std::size_t> length(1, 10), pick(0, alphabet.size() - 1);
    for (int i = 0; i < 400; ++i) {
        std::string text(length(random), ' ');
        for (char& c : text) c = alphabet[pick(random)];
        texts.push_back(text);
    }
    return texts;
}

} // namespace

// Items the system finds equal stay out: the list box places such an item beside whichever
// equal one its search meets first, the portable list after all of them.
TEST(ListOrder, SortedListBoxPlacesItemsAsTheSimulatedListDoes) {
    std::vector<std::string> texts;
    for (const std::string& text : corpus())
        if (std::none_of(texts.begin(), texts.end(),
                         [&](const std::string& other) { return systemOrder(text, other) == 0; }))
            texts.push_back(text);
    ASSERT_GT(texts.size(), 400u);

    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_SORT | LBS_HASSTRINGS, 0, 0, 200,
                                200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(list);
    std::vector<std::string> simulated;
    for (const std::string& text : texts) {
        const auto place = std::upper_bound(simulated.begin(), simulated.end(), text,
                                            [](const std::string& a, const std::string& b) {
                                                return zk::sim::compareTextLikeWindows(a, b) < 0;
                                            });
        simulated.insert(place, text);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    std::vector<std::string> real;
    for (LRESULT i = 0, count = SendMessageA(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        std::vector<char> text(static_cast<std::size_t>(length) + 1);
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        real.emplace_back(text.data());
    }
    DestroyWindow(list);

    ASSERT_EQ(real.size(), simulated.size());
    for (std::size_t i = 0; i < real.size(); ++i)
        ASSERT_EQ(real[i], simulated[i])
            << "item " << i << ": " << ::testing::PrintToString(real[i]) << " simulated "
            << ::testing::PrintToString(simulated[i]);
}
