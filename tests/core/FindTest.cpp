// Find as a person searches, and the byte filter that rules pages out before
// the matcher. Find in the preview is in tests/qt/find_test.

#include "find/NeedleSearch.h"
#include "find/PageTextFilter.h"
#include "find/TextMatcher.h"
#include "spool/PageTrigrams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace quillet;
using namespace std::string_view_literals;

namespace {

constexpr FindOptions Exact{}, AnyCase{.ignoreCase = true}, AnyAccent{.ignoreAccents = true},
    AnyCaseAnyAccent{.ignoreCase = true, .ignoreAccents = true};
// "ação" stored decomposed: c, cedilla, a, tilde, o.
constexpr const char *Decomposed = "ac\u0327a\u0303o";
constexpr std::pair<size_t, size_t> Unchecked{0, 0};

bool mayShow(const char *pattern, FindOptions options, std::string_view pageTexts)
{
    return PageTextFilter(pattern, options, "1")
        .mayShow({1, pageTexts, charactersBeyondAscii(pageTexts), bytesOf(trigramsOf(pageTexts))});
}

TEST(Find, MatchesAsAPersonReads)
{
    // clang-format off
    // run: the hit's code points as written.
    const struct { const char *reason, *pattern; FindOptions options; const char *text; bool matches;
                   std::pair<size_t, size_t> run = Unchecked; } rows[] = {
        {"a decomposed text, the composed pattern", "ção", Exact, Decomposed, true, {1, 6}},
        {"a composed text, the decomposed pattern", "c\u0327a\u0303o", Exact, "ação", true, {1, 4}},
        {"? takes a letter and its mark", "a?ão", Exact, Decomposed, true, {0, 6}},
        {"a list takes a letter and its mark", "[ç]ã", Exact, Decomposed, true, {1, 5}},
        {"an accent counts unless ignored", "acao", Exact, "ação", false},
        {"case counts unless ignored", "AÇÃO", Exact, "ação", false},
        {"case ignored beyond ASCII", "AÇÃO", AnyCase, Decomposed, true, {0, 6}},
        {"full case folding: ß is ss", "STRASSE", AnyCase, "Straße", true, {0, 6}},
        {"and ss is ß", "straße", AnyCase, "STRASSE", true, {0, 7}},
        {"? takes what one character folds to", "STRA?E", AnyCase, "straße", true},
        {"? takes a whole unit, never half", "STRA??E", AnyCase, "straße", false},
        {"a literal may end inside a unit", "STRAS", AnyCase, "a straße", true, {2, 7}},
        {"a list holds what a character folds to", "stra[ß]e", AnyCase, "STRAßE", true},
        {"# is no letter, folded or not", "stra#e", AnyCase, "straße", false},
        {"a range with case ignored", "Total [A-C]#", AnyCase, "TOTAL b7", true},
        {"dotless ı folds to itself, not to i", "ID", AnyCase, "ıd", false},
        {"the Kelvin sign is a K", "K", Exact, "\u212A", true},
        {"Hangul jamo compose to a syllable", "\uAC00", Exact, "\u1100\u1161", true},
        {"accents ignored", "acao", AnyAccent, "ação", true, {0, 4}},
        {"accents ignored in a decomposed text", "acao", AnyAccent, Decomposed, true, {0, 6}},
        {"accents ignored in the pattern too", "ação", AnyAccent, "acao", true},
        {"accents ignored, case kept", "acao", AnyAccent, "AÇÃO", false},
        {"accents and case ignored", "acao", AnyCaseAnyAccent, "AÇÃO", true},
        {"a lone mark goes with the accents", "ab", AnyAccent, "a\u0301\u0301b", true},
        {"? is one letter once its accent is gone", "a?ao", AnyAccent, Decomposed, true},
        {"malformed bytes are each one character", "a??b", Exact, "a\xe2\x82" "b", true},
        {"a malformed text never matches a real character", "a\u00e9", Exact, "a\xc3", false},
        {"an empty pattern matches the whole text", "", Exact, "ação", true, {0, 4}},
    };
    // clang-format on
    for (const auto &row : rows) {
        const std::optional<TextMatcher> matcher = TextMatcher::compile(row.pattern, row.options);
        ASSERT_TRUE(matcher.has_value()) << row.reason;
        EXPECT_EQ(matcher->contains(row.text), row.matches) << row.reason;
        const auto run = matcher->firstMatch(row.text);
        EXPECT_EQ(run.has_value(), row.matches) << row.reason;
        if (run && row.run != Unchecked) {
            EXPECT_EQ(*run, row.run) << row.reason;
        }
        // The filter never stops a page that matches.
        if (row.matches) {
            EXPECT_TRUE(mayShow(row.pattern, row.options, row.text)) << row.reason;
        }
    }
}

TEST(Find, ByteFilterRulesOutPagesWithoutTheText)
{
    // clang-format off
    // pageTexts: texts separated by a zero, as the index keeps them.
    const struct { const char *reason, *pattern; FindOptions options; std::string_view pageTexts;
                   bool passes; } rows[] = {
        {"ASCII, case ignored", "total", AnyCase, "TOTAL", true},
        {"ASCII, absent", "total", AnyCase, "soma", false},
        {"accented capitals do not hold ASCII", "total", AnyCase, "RELATÓRIO\0SOMA"sv, false},
        {"a composed needle in its bytes", "ção", Exact, "ação", true},
        {"a composed needle, absent", "ção", Exact, "acao", false},
        {"a composed needle, case ignored", "ÇÃO", AnyCase, "AÇÃO", true},
        {"the ASCII runs of a composed needle", "número 7", AnyCase, "RELATÓRIO\0número 8"sv, false},
        {"small letters of Latin-1 fold to themselves", "número 7", AnyCase, "número 8", false},
        {"µ folds to μ", "μ", AnyCase, "5 µm", true},
        {"beyond the first plane, a capital folds", "\U00010428", AnyCase, "\U00010400", true},
        {"beyond the first plane, case kept", "\U00010428", Exact, "\U00010400", false},
        {"accents ignored: any accented letter may hold it", "cao", AnyAccent, "ação", true},
        {"accents ignored, no accent on the page", "cao", AnyAccent, "acxo", false},
    };
    // clang-format on
    for (const auto &row : rows)
        EXPECT_EQ(mayShow(row.pattern, row.options, row.pageTexts), row.passes) << row.reason;
}

TEST(Find, BadInputGivesNoHit)
{
    EXPECT_FALSE(TextMatcher::compile("[abc", Exact).has_value()) << "a [ without its ]";
    EXPECT_FALSE(TextMatcher::compile("[z-a]", AnyCase).has_value()) << "a reversed range";
    EXPECT_TRUE(TextMatcher::compile("[Z-a]", AnyCase).has_value()) << "a range reversed only once folded";
    // Malformed UTF-8 on either side, a character folding to three, marks without a letter.
    for (const char *text : {"\xff\xfe", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\u0390", "\u0301\u0301", ""})
        for (const FindOptions options : {Exact, AnyCase, AnyCaseAnyAccent}) {
            const std::optional<TextMatcher> matcher = TextMatcher::compile("x?*", options);
            ASSERT_TRUE(matcher.has_value());
            EXPECT_FALSE(matcher->firstMatch(text).has_value()) << text;
        }
}

TEST(Find, NeedleSearchFindsWhatAPlainSearchFindsAtEveryOffset)
{
    // Bytes one case bit apart that are not letters ("@" and "`", and a
    // UTF-8 lead byte) must not be taken for each other. A zero ends a text in
    // the index: runs of three bytes across it are left out of a page's trigrams.
    const std::string alphabet(std::string_view("aAmM@`0\xc3\xe3\0", 10));
    const auto folded = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; };
    std::mt19937 random(7);
    const auto pick = [&](size_t length, bool smallOnly) {
        std::string bytes;
        while (bytes.size() < length) {
            const char c = alphabet[random() % alphabet.size()];
            bytes += smallOnly ? folded(c) : c;
        }
        return bytes;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = pick(random() % 70, false);
        for (const bool fold : {false, true}) {
            const std::string needle = pick(1 + random() % 4, fold);
            const auto same = [&](char a, char b) { return (fold ? folded(a) : a) == b; };
            const bool expected =
                std::search(text.begin(), text.end(), needle.begin(), needle.end(), same) != text.end();
            ASSERT_EQ(holdsNeedle(text, needle, fold), expected) << text << ' ' << needle;
            // The page's runs of three bytes never rule out a page that holds it.
            if (expected) {
                ASSERT_TRUE(hasTrigramBits(bytesOf(trigramsOf(text)), trigramBitsOf(needle)))
                    << text << ' ' << needle;
            }
        }
    }
}

} // namespace
