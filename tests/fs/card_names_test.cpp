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
        {"COM\xc2\xb9.dat", false},  // COM¹: Windows takes superscript ports too
        {"lpt\xc2\xb3", false},      // LPT³
        {"COM\xc2\xb4.dat", true},   // an acute accent is no digit
        {"COM\xc2\xb9\xc2\xb9", true},
        {"CON .txt", false},  // blanks before the extension are dropped
        {"nul  .a.b", false},
        {"CON_.txt", true},
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

// Each pair as Windows' FAT takes it: one name when each letter's simple uppercase is the
// same, two otherwise. A pair the card holds apart must pass; a pair it joins must not.
TEST(CardNamesTest, PairsAreOneNameExactlyWhenTheirUppercaseIsTheSame) {
    const struct {
        std::string a, b;
        bool oneName;
    } pairs[] = {
        {"A.DAT", "a.dat", true},
        {"\xc3\x89.dat", "\xc3\xa9.dat", true},                                  // É é
        {"\xc5\x81", "\xc5\x82", true},                                          // Ł ł
        {"\xd0\x96.txt", "\xd0\xb6.txt", true},                                  // Ж ж
        {"\xd0\x81", "\xd1\x91", true},                                          // Ё ё
        {"\xef\xbc\xa1\xef\xbc\xa2.dat", "\xef\xbd\x81\xef\xbd\x82.dat", true},  // ＡＢ ａｂ
        {"\xef\xbc\xa1\xef\xbc\xa2.dat", "AB.dat", false},  // fullwidth is not ASCII
        {"\xcf\x83.dat", "\xcf\x82.dat", true},             // σ ς
        {"\xcf\x82.dat", "\xce\xa3.dat", true},             // ς Σ
        {"\xc4\xb1.dat", "i.dat", true},                    // ı i
        {"\xc4\xb1.dat", "I.dat", true},                    // ı I
        {"\xc4\xb0.dat", "i.dat", false},                   // İ i
        {"\xc4\xb0.dat", "\xc4\xb1.dat", false},            // İ ı
        {"\xc3\x9f.dat", "\xe1\xba\x9e.dat", false},        // ß ẞ
        {"\xc3\x9f.dat", "ss.dat", false},                  // ß is no two letters
        {"\xc3\xbf", "\xc5\xb8", true},                     // ÿ Ÿ
        {"\xe1\xbe\x80", "\xe1\xbe\x88", true},             // ᾀ ᾈ: the simple mapping
        {"\xe2\x84\xaa", "k", false},                       // Kelvin sign k
        {"\xf0\x90\x90\xa8", "\xf0\x90\x90\x80", false},    // beyond the first plane
        {"a\xff", "A\xff", true},                           // not UTF-8: bytes kept
        {"a.dat", "b.dat", false},
    };
    using Names = std::vector<std::string>;
    for (const auto& p : pairs) {
        const auto twins = fs::cardTwins(Names{p.a, "other", p.b});
        EXPECT_EQ(twins.has_value(), p.oneName) << p.a << " " << p.b;
        if (twins) {
            EXPECT_EQ(*twins, std::make_pair(p.a, p.b));
        }
    }
}

}  // namespace
