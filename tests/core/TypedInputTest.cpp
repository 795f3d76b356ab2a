// What users type: page lists in a print dialog and the from/to range of
// SavePDF, the Like wildcards of find matched against whole texts (the cases
// the find tests in the preview do not reach; an unbalanced bracket is refused
// there), and scripts for the command-line tool.

#include "cli/ScriptParser.h"
#include "find/LikePattern.h"
#include "print/PageList.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::cli;

namespace {

using Spans = std::vector<PageSpan>;

TEST(PageList, ParsesWhatUsersTypeAndRefusesTheRest)
{
    // clang-format off
    const struct { const char *text; Spans spans; PageListError error = PageListError::None; } rows[] = {
        {"1-3,7,10-", {{1, 3}, {7, 7}, {10, 12}}},
        {" 1 - 3 ,\t7 , 10 - ", {{1, 3}, {7, 7}, {10, 12}}}, // blanks anywhere
        {"-5", {{1, 5}}},
        {"9,2-3,2", {{9, 9}, {2, 3}, {2, 2}}},                // order and repeats as typed
        {"11-40,99,20-", {{11, 12}, {12, 12}, {12, 12}}},     // clamped to the last page
        {"0,0-2", {{1, 1}, {1, 2}}},
        {"99999999999999999999999", {{12, 12}}},              // no overflow
        {"", {}, PageListError::Empty},
        {" \t", {}, PageListError::Empty},
        {"1;3", {}, PageListError::BadCharacter},
        {"+3", {}, PageListError::BadCharacter},
        {"1,,3", {}, PageListError::EmptyItem},
        {"1,", {}, PageListError::EmptyItem},
        {"-", {}, PageListError::BadItem},
        {"1-2-3", {}, PageListError::BadItem},
        {"3 4", {}, PageListError::BadItem},
        {"5-3", {}, PageListError::Reversed},
    };
    // clang-format on
    for (const auto &row : rows) {
        const PageList list = PageList::parse(row.text, 12);
        EXPECT_EQ(list.error(), row.error) << '"' << row.text << '"';
        EXPECT_EQ(list.spans(), row.spans) << '"' << row.text << '"';
    }
    EXPECT_TRUE(PageList::parse("1-3", 0).isEmpty()); // a listing without pages
}

TEST(PageList, RangeOfSavePdf)
{
    // From before the first page, to -1 or past the last: the whole listing; from past the last:
    // the last page; backwards, or to 0: nothing.
    for (const auto &[from, to, spans] : {std::tuple{1, -1, Spans{{1, 5}}},
                                          {-4, 99, Spans{{1, 5}}},
                                          {9, -1, Spans{{5, 5}}},
                                          {4, 3, Spans{}},
                                          {1, 0, Spans{}}})
        EXPECT_EQ(PageList::range(from, to, 5).spans(), spans) << from << ".." << to;
}

/// The first and shortest matching run, found by trying every start and end.
std::optional<std::pair<size_t, size_t>> firstRunByTrial(const LikePattern &pattern, std::u32string_view text)
{
    for (size_t first = 0; first < text.size(); ++first)
        for (size_t end = first + 1; end <= text.size(); ++end)
            if (pattern.matches(text.substr(first, end - first)))
                return std::pair<size_t, size_t>(first, end);
    return std::nullopt;
}

TEST(LikePattern, MatchesWholeTextsAndMarksTheFirstShortestRun)
{
    // clang-format off
    const struct { const char *name; std::u32string pattern, text; bool matches; } rows[] = {
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
        {"a run inside: starts first, then ends first", U"b*#", U"abc1b2d3", false},
        {"* at the ends takes the least", U"*x?*", U"axbxc", true},
        {"fifty wildcards backtrack, one short", std::u32string(25, U'*') + std::u32string(25, U'?'),
         std::u32string(24, U'x'), false},
    };
    // clang-format on
    for (const auto &row : rows) {
        const std::optional<LikePattern> pattern = LikePattern::compile(row.pattern);
        ASSERT_TRUE(pattern.has_value()) << row.name;
        EXPECT_EQ(pattern->matches(row.text), row.matches) << row.name;
        EXPECT_EQ(pattern->firstRun(row.text), firstRunByTrial(*pattern, row.text)) << row.name;
    }
    EXPECT_FALSE(LikePattern::compile(U"[z-a]").has_value()) << "reversed range";
}

TEST(ScriptParser, ReportsABadLineAtItsLineAndColumnAndReadsTheLinesAround)
{
    // clang-format off
    // Each script: a good first line, the bad line, a good last line.
    const struct { const char *script; int line, column; const char *messagePart; } rows[] = {
        {"PNP\nL \"ends in \\\"\nPNP", 2, 3, "unclosed quote"},
        {"PNP\n  L \"a\\qb\"\nPNP", 2, 7, "unknown escape"},
        {"PNP\nL \"a\"b\nPNP", 2, 6, "blank must follow"},
        {"PNP\n   PBoxx 1 2 3 4\nPNP", 2, 4, "unknown command \"PBoxx\""},
        {"PNP\n\"PNP\"\nPNP", 2, 1, "unknown command"},
        {"PNP\nNewCol 20\nPNP", 2, 10, "missing cx"},
        {"PNP\nPNL five\nPNP", 2, 5, "\"five\" is not a number"},
        {"PNP\nPNL \"5\"\nPNP", 2, 5, "not a number"},
        {"PNP\nPNL inf\nPNP", 2, 5, "not a number"},
        {"PNP\nLCol 21 \"x\"\nPNP", 2, 6, "out of range 1..20"},
        {"PNP\nPAlign 1.5\nPNP", 2, 8, "not a whole number"},
        {"PNP\nPFix maybe N\nPNP", 2, 6, "not a boolean"},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.script);
        const ParsedScript script = parseScript(row.script);
        EXPECT_EQ(script.commands.size(), 2u);
        ASSERT_EQ(script.errors.size(), 1u);
        const ScriptError &error = script.errors.front();
        EXPECT_EQ(std::pair(error.line, error.column), std::pair(row.line, row.column));
        EXPECT_NE(error.message.find(row.messagePart), std::string::npos) << error.message;
    }
}

TEST(ScriptParser, ReadsAGoodScript)
{
    const ParsedScript script = parseScript("# an invoice\r\n"
                                            "init \"Vendas\" S L 0x9\n"
                                            "\n"
                                            "  C \"Say \\\"hi\\\"\\tnow\\\\\" 10 # title\n"
                                            "L Total\n"
                                            "LCol 2 \"#1\" 0 -1 n\n"
                                            "PColor 0xC0C0C0\n"
                                            "PNL -2.5");
    ASSERT_TRUE(script.errors.empty()) << script.errors.front().message;
    ASSERT_EQ(script.commands.size(), 6u);
    EXPECT_EQ(script.commands[0].line, 2);
    // clang-format off
    const struct { size_t command, arg; ArgValue value; const char *why; } rows[] = {
        {0, 2, std::string("L"), "a bare word"},
        {0, 3, std::string("0x9"), "the paper kept as written"},
        {0, 4, true, "cSETUP left out: its default"},
        {1, 0, std::string("Say \"hi\"\tnow\\"), "escapes"},
        {1, 1, 10.0, "a number"},
        {1, 2, -1.0, "PosX left out: the current position"},
        {2, 0, std::string("Total"), "a bare word as the text"},
        {3, 1, std::string("#1"), "# inside a string is text"},
        {3, 4, false, "n is false"},
        {4, 0, double(0xC0C0C0), "a hexadecimal number"},
        {5, 0, -2.5, "a negative fraction"},
    };
    // clang-format on
    for (const auto &row : rows)
        EXPECT_EQ(script.commands[row.command].args.at(row.arg), row.value) << row.why;
}

TEST(ScriptParser, TakesEveryCommandWithItsDefaultsAndHelpNamesIt)
{
    const std::string help = commandHelp();
    for (const CommandEntry &entry : commandTable()) {
        EXPECT_NE(help.find("  " + std::string(entry.name)), std::string::npos) << entry.name;
        // A command given only its required arguments takes every default: each must be valid.
        std::string line(entry.name);
        for (std::size_t i = 0; i < entry.requiredCount(); ++i)
            line += " 1"; // valid for every required type
        EXPECT_TRUE(parseScript(line).errors.empty()) << line;
    }
}

} // namespace
