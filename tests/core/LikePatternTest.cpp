// The Like wildcards of find, matched against whole texts: the cases the
// find tests in the preview do not reach.

#include "preview/LikePattern.h"

#include <gtest/gtest.h>

namespace {

using quillet::LikePattern;

TEST(LikePattern, MatchesWholeTexts)
{
    // clang-format off
    const struct {
        const char *name;
        std::u32string pattern, text;
        bool matches;
    } rows[] = {
        {"a literal needs the whole text", U"abc", U"abcd", false},
        {"compares code by code", U"abc", U"ABC", false},
        {"? takes one code point", U"a?c", U"açc", true},
        {"? needs one", U"a?c", U"ac", false},
        {"* takes none", U"a*c", U"ac", true},
        {"* alone takes the empty text", U"*", U"", true},
        {"* backtracks", U"*ab*abc*", U"xxabyyabcabzz", true},
        {"* backtracks to fail", U"*abc", U"abcab", false},
        {"# refuses a letter", U"Total #", U"Total x", false},
        {"a range has bounds", U"[a-f]", U"g", false},
        {"a negated list refuses", U"[!0-9]", U"5", false},
        {"a hyphen first is itself", U"[-a]", U"-", true},
        {"wildcards in a list are themselves", U"[*?#]", U"?", true},
        {"[ in a list", U"[[]", U"[", true},
        {"] alone", U"]", U"]", true},
        {"an empty list is nothing", U"a[]b", U"ab", true},
        {"fifty wildcards", std::u32string(25, U'*') + std::u32string(25, U'?'), std::u32string(30, U'x'), true},
        {"fifty wildcards, too short", std::u32string(25, U'*') + std::u32string(25, U'?'), std::u32string(24, U'x'),
         false},
    };
    // clang-format on
    for (const auto &row : rows) {
        const std::optional<LikePattern> pattern = LikePattern::compile(row.pattern);
        ASSERT_TRUE(pattern.has_value()) << row.name;
        EXPECT_EQ(pattern->matches(row.text), row.matches) << row.name;
    }
    // An unbalanced bracket is refused in the find tests.
    EXPECT_FALSE(LikePattern::compile(U"[z-a]").has_value()) << "reversed range";
}

} // namespace
