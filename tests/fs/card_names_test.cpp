// The names a FAT card holds distinctly: one table of names on the edge of each rule.
#include "fs/card_names.h"

#include <gtest/gtest.h>

namespace {

TEST(CardNamesTest, EachRuleAndItsEdge) {
    const struct {
        std::string name;
        bool fits;
    } cases[] = {
        {"archive.dat", true},
        {".cfg", true},
        {"con", false},
        {"Con.txt", false},
        {"console", true},
        {"COM1", false},
        {"com9.dat", false},
        {"COM10", true},
        {"COM0", true},
        {"lpt1", false},
        {"cfg.", false},
        {"cfg ", false},
        {" cfg", true},
        {"a?b", false},
        {"a\tb", false},
        {"a|b", false},
        {std::string(255, 'x'), true},
        {std::string(256, 'x'), false},
        {std::string(127, 'x') + "\xc3\xa9", true},
        // The limit counts UTF-16 units: not bytes, not code points.
        {std::string(254, 'x') + "\xc3\xa9", true},           // é: one unit
        {std::string(254, 'x') + "\xf0\x9f\x98\x80", false},  // an emoji: two units
        {"", false},
        {"\xff.dat", false},  // not UTF-8: a long name cannot spell it
    };
    for (const auto& c : cases)
        EXPECT_EQ(!fs::cardNameProblem(c.name).has_value(), c.fits) << c.name;
}

TEST(CardNamesTest, TwinsFoldAccentedGreekAndCyrillicLetters) {
    using Names = std::vector<std::string>;
    EXPECT_FALSE(fs::cardTwins(Names{"a.dat", "b.dat", "\xc3\xa9.dat"}));
    const struct {
        Names names;
        std::pair<std::string, std::string> twins;
    } cases[] = {
        {{"A.DAT", "x", "a.dat"}, {"A.DAT", "a.dat"}},
        {{"\xc3\x89.dat", "\xc3\xa9.dat"}, {"\xc3\x89.dat", "\xc3\xa9.dat"}},  // É é
        {{"\xc5\x81", "\xc5\x82"}, {"\xc5\x81", "\xc5\x82"}},                  // Ł ł
        {{"\xce\xa3", "\xcf\x83"}, {"\xce\xa3", "\xcf\x83"}},                  // Σ σ
        {{"\xd0\x96.txt", "\xd0\xb6.txt"}, {"\xd0\x96.txt", "\xd0\xb6.txt"}},  // Ж ж
        {{"\xd0\x81", "\xd1\x91"}, {"\xd0\x81", "\xd1\x91"}},                  // Ё ё
    };
    for (const auto& c : cases)
        EXPECT_EQ(fs::cardTwins(c.names), c.twins) << c.names[0];
}

}  // namespace
