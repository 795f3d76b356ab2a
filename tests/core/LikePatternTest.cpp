// The Like wildcards of find, matched against whole texts.

#include "preview/LikePattern.h"

#include <gtest/gtest.h>

namespace {

using quillet::LikePattern;

struct Case {
    const char *name;
    std::u32string pattern;
    std::u32string text;
    bool matches;
};

class LikePatternTest : public testing::TestWithParam<Case> {};

TEST_P(LikePatternTest, MatchesWholeText)
{
    const Case &c = GetParam();
    const std::optional<LikePattern> pattern = LikePattern::compile(c.pattern);
    ASSERT_TRUE(pattern.has_value());
    EXPECT_EQ(pattern->matches(c.text), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Wildcards, LikePatternTest,
    testing::Values(
        Case{"literal_is_whole_text", U"abc", U"abc", true},
        Case{"literal_needs_whole_text", U"abc", U"abcd", false},
        Case{"compares_code_by_code", U"abc", U"ABC", false},
        Case{"question_mark_takes_one", U"a?c", U"abc", true},
        Case{"question_mark_needs_one", U"a?c", U"ac", false},
        Case{"question_mark_takes_a_code_point", U"?", U"ç", true},
        Case{"star_takes_none", U"a*c", U"ac", true}, Case{"star_takes_a_run", U"a*c", U"a-b-c", true},
        Case{"star_alone_takes_empty", U"*", U"", true},
        Case{"stars_make_containment", U"*ota*", U"Total 7", true},
        Case{"star_backtracks", U"*ab*abc*", U"xxabyyabcabzz", true},
        Case{"star_backtracks_to_fail", U"*abc", U"abcab", false},
        Case{"hash_takes_a_digit", U"Total #", U"Total 7", true},
        Case{"hash_refuses_a_letter", U"Total #", U"Total x", false},
        Case{"lone_hash_on_empty", U"#", U"", false}, Case{"list_takes_one_of_it", U"[abc]x", U"bx", true},
        Case{"list_refuses_others", U"[abc]x", U"dx", false}, Case{"range", U"[a-f]", U"e", true},
        Case{"range_bounds", U"[a-f]", U"g", false}, Case{"negated_list", U"[!0-9]", U"a", true},
        Case{"negated_list_refuses", U"[!0-9]", U"5", false},
        Case{"hyphen_first_is_itself", U"[-a]", U"-", true},
        Case{"wildcards_inside_list_are_themselves", U"[*?#]", U"?", true},
        Case{"open_bracket_inside_list", U"[[]", U"[", true}, Case{"closing_bracket_alone", U"]", U"]", true},
        Case{"empty_list_is_nothing", U"a[]b", U"ab", true},
        Case{"fifty_wildcards", std::u32string(25, U'*') + std::u32string(25, U'?'), std::u32string(30, U'x'),
             true},
        Case{"fifty_wildcards_too_short", std::u32string(25, U'*') + std::u32string(25, U'?'),
             std::u32string(24, U'x'), false}),
    [](const testing::TestParamInfo<Case> &info) { return info.param.name; });

TEST(LikePatternInvalid, UnbalancedBracketOrReversedRangeIsNoPattern)
{
    EXPECT_FALSE(LikePattern::compile(U"*[abc*").has_value());
    EXPECT_FALSE(LikePattern::compile(U"[").has_value());
    EXPECT_FALSE(LikePattern::compile(U"[z-a]").has_value());
}

} // namespace
