#include "platform/sim/text_order.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zk::sim {
namespace {

int signOf(int value) { return (value > 0) - (value < 0); }

// The Wine tests hold the order against a real list box at length; these cases are the rules
// a change of the weights or of the levels would break first.
TEST(TextOrder, ComparesLettersThenDiacriticsThenWordSortCharacters) {
    const std::vector<std::string> ascending = {
        "10", "9", // character by character, digits before letters
        "a b", "a!b", "a&b", "a,b", "a.b", "a/b", "a@b", "a_b", "a+b", "a<b", "a0b", "a2b",
        "A\xB2" "b", "a9b", // the superscript two beside the two
        // Hyphen and apostrophe decide only a tie, and weigh more nearer the start; a diacritic
        // anywhere outweighs them.
        "ab", "ab-", "a'b", "a-b", "-ab", "\xE4" "b", "\xC4" "b-",
        // Letters first over the whole text: Ä sorts beside A.
        "abc", "Arg", "\xC4rger", "Azur", "b", "Ore", "\xD8re", "Orf",
        "Stras", "Stra\xDF" "e", "Stra\xDF" "en", "Strasser", "Strat", // ß as "ss"
        "x2", "X\xB2", // letter case is ignored, the superscript's mark is not
    };
    for (std::size_t i = 0; i < ascending.size(); ++i)
        for (std::size_t j = 0; j < ascending.size(); ++j)
            EXPECT_EQ(signOf(compareTextLikeWindows(ascending[i], ascending[j])),
                      (i > j) - (i < j))
                << ascending[i] << " against " << ascending[j];
}

TEST(TextOrder, LigaturesEqualTheirLettersAndTheSoftHyphenCountsForNothing) {
    const std::pair<std::string, std::string> equal[] = {
        {"Stra\xDF" "e", "STRASSE"}, {"\xC6on", "aeon"}, {"\x8Cuvre", "oeuvre"},
        {"\xDEorn", "thorn"}, {"a\xAD" "b", "ab"}, {"\x88", "^"}};
    for (const auto& [a, b] : equal)
        EXPECT_EQ(compareTextLikeWindows(a, b), 0) << a << " against " << b;
}

} // namespace
} // namespace zk::sim
