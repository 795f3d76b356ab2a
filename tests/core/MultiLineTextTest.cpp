// Justified paragraphs written one line per call of M: where lines are cut,
// what comes back, what is recorded with or without the line mark, and how a
// line is spread. Replay through the renderer is checked in ReplayTest. The fake
// surface makes every character 2 mm wide and a 12 pt line 4 mm high.

#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr float StartX = 5, StartY = 20; ///< print position before each case, from the margins
constexpr float ToleranceMm = 1e-3f;

std::string marked(std::string_view text)
{
    return std::string(text) + Composer::LineMark;
}

using Words = std::vector<std::pair<float, std::string>>;

/// The non-empty texts drawn, at offsets from where the line starts.
Words wordsDrawn(TestSession &t)
{
    Words words;
    for (const auto &call : t.surfaceInUse().callsOf("print")) {
        EXPECT_NEAR(call.args[1], 10 + StartY - 4, ToleranceMm) << "every word on the same line";
        if (!call.text.empty())
            words.emplace_back(std::round((call.args[0] - 10 - StartX) * 1000) / 1000, call.text);
    }
    return words;
}

TEST(MultiLine, DrawsOneLineReturnsTheRestAndRecordsTheLine)
{
    // clang-format off
    const struct {
        const char *name;
        std::string text;
        float MaxX; ///< words are fitted to MaxX - 2 mm
        std::string returned;
        Words drawn; ///< offset from the line's start, text
        std::string recorded;
    } rows[] = {
        {"fits: the last line, unspread, marked", "aa bb cc", 30, "", {{0, "aa bb cc"}}, marked("aa bb cc")},
        {"fits exactly", "aaaa bbbb cccc", 30, "", {{0, "aaaa bbbb cccc"}}, marked("aaaa bbbb cccc")},
        {"the mark of the last call removed", marked("dddd"), 30, "", {{0, "dddd"}}, marked("dddd")},
        {"cut at the space after the last fitting character", "aaaa bbbb cccc    dddd", 30, marked("dddd"),
         {{0, "aaaa"}, {11, "bbbb"}, {22, "cccc"}}, "aaaa bbbb cccc"},
        {"cut at an earlier space", "aaaa bbbb ccccc ddd", 30, marked("ccccc ddd"), {{0, "aaaa"}, {22, "bbbb"}},
         "aaaa bbbb"},
        {"leading spaces keep their width", "  aaaa bbbb cccc dddd", 30, marked("cccc dddd"),
         {{0, " "}, {2, " "}, {4, "aaaa"}, {26, "bbbb"}}, "  aaaa bbbb"},
        {"five words spread to exactly W", "aa bbb c dddd ee fffffff", 40, marked("fffffff"),
         {{0, "aa"}, {8, "bbb"}, {18, "c"}, {24, "dddd"}, {36, "ee"}}, "aa bbb c dddd ee"},
        {"a long word is cut inside", "abcdefghijklmnopqrstuvwxyz", 30, marked("opqrstuvwxyz"),
         {{0, "abcdefghijklmn"}}, "abcdefghijklmn"},
        {"a three-byte word is cut between characters", "€€€€€€", 12, marked("€"), {{0, "€€€€€"}}, "€€€€€"},
        // A line break ends the line as a paragraph's last; the rest follows it.
        {"CR LF", "one\r\ntwo three four five", 30, "two three four five", {{0, "one"}}, marked("one")},
        {"LF", "one\ntwo", 30, "two", {{0, "one"}}, marked("one")},
        {"CR", "one\rtwo", 30, "two", {{0, "one"}}, marked("one")},
        {"CR LF is looked for first", "a\nb\r\nc", 30, "c", {{0, "a\nb"}}, marked("a\nb")},
        // Too narrow: the text is lost.
        {"10 mm leaves no room", "abc", 10, "", {}, marked("")},
        {"10.5 mm leaves 8.5 mm", "abc", 10.5f, "", {{0, "abc"}}, marked("abc")},
    };
    // clang-format on
    for (const auto &row : rows) {
        for (const bool byPrefix : {false, true}) {
            SCOPED_TRACE(::testing::Message() << row.name << (byPrefix ? ", each prefix measured" : ""));
            TestSession t;
            t.pageSurface.measuresEachPrefix = byPrefix;
            t.startAt(StartX, StartY);
            const size_t recordsBefore = t.records().size();
            EXPECT_EQ(t.composer.M(row.text, -1, -1, row.MaxX), row.returned);
            EXPECT_EQ(wordsDrawn(t), row.drawn);
            EXPECT_EQ(t.records().size(), recordsBefore + 1);
            EXPECT_EQ(t.lastRecord().text, row.recorded);
        }
    }
}

TEST(MultiLine, DirectWrapsWithoutMarksAndReplayDrawsByTheMarkWithoutWrapping)
{
    TestSession direct(ListingMode::Direct);
    direct.startAt(StartX, StartY);
    EXPECT_EQ(direct.composer.M("aaaa bbbb cccc dddd", -1, -1, 30), "dddd");
    EXPECT_EQ(wordsDrawn(direct), (Words{{0, "aaaa"}, {11, "bbbb"}, {22, "cccc"}}));
    direct.startAt(StartX, StartY);
    EXPECT_EQ(direct.composer.M(marked("aaaa bbbb cccc dddd eeee"), -1, -1, 30), "");
    EXPECT_EQ(wordsDrawn(direct), (Words{{0, "aaaa bbbb cccc dddd eeee"}}))
        << "a marked text: one plain line";

    TestSession t;
    t.state().Spooling = false; // replay: the spool file stays open
    const size_t records = t.records().size();
    t.startAt(StartX, StartY);
    EXPECT_EQ(t.composer.M("aaaa bbbb cccc dddd eeee", -1, -1, 30), "") << "never wrapped again";
    EXPECT_EQ(wordsDrawn(t).size(), 5u) << "no mark: spread";
    EXPECT_EQ(t.records().size(), records);
}

} // namespace
