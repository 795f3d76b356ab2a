// Justified paragraphs written one line per call of M: where lines are cut,
// what comes back, what is recorded with or without the line mark, how a line
// is spread, and that the recorded lines replay to the same drawing. The fake
// surface makes every character 2 mm wide and a 12 pt line 4 mm high.

#include "support/RowName.h"
#include "support/TextListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr float StartX = 5; ///< print position before each case, from the margins
constexpr float StartY = 20;
constexpr std::string_view Mark(&Composer::LineMark, 1);

std::string marked(std::string_view text)
{
    return std::string(text) + Composer::LineMark;
}

/// A listing in the given mode with the print position at (StartX, StartY).
class MultiLine : public TextListing {
protected:
    explicit MultiLine(ListingMode mode = ListingMode::Preview) : TextListing(mode) {}
    void SetUp() override { startAt(StartX, StartY); }
    /// The texts drawn, left to right, at offsets from where the line starts.
    std::vector<std::pair<float, std::string>> wordsDrawn()
    {
        std::vector<std::pair<float, std::string>> words;
        for (const auto &p : prints())
            words.emplace_back(p.x - (10 + StartX), p.text);
        return words;
    }
};

using Words = std::vector<std::pair<float, std::string>>;

struct WrapRow {
    const char *name;
    std::string text;
    float MaxX; ///< words are fitted to MaxX - 2 mm
    std::string returned;
    Words drawn; ///< offset from the line's start, text
    std::string recorded;
};

// clang-format off
const WrapRow wrapRows[] = {
    // The paragraph's last line: plain, marked as such.
    {"FitsDrawnUnspread", "aa bb cc", 30, "", {{0, "aa bb cc"}}, marked("aa bb cc")},
    {"FitsExactly", "aaaa bbbb cccc", 30, "", {{0, "aaaa bbbb cccc"}}, marked("aaaa bbbb cccc")},
    {"MarkOfTheLastCallRemoved", marked("dddd"), 30, "", {{0, "dddd"}}, marked("dddd")},
    // Cut by the width: spread over W, the rest marked for the next call.
    {"CutAtTheSpaceAfterTheLastFittingCharacter", "aaaa bbbb cccc dddd", 30, marked("dddd"),
     {{0, "aaaa"}, {11, "bbbb"}, {22, "cccc"}}, "aaaa bbbb cccc"},
    {"CutAtAnEarlierSpace", "aaaa bbbb ccccc ddd", 30, marked("ccccc ddd"), {{0, "aaaa"}, {22, "bbbb"}}, "aaaa bbbb"},
    {"RestLosesItsLeadingSpaces", "aaaa bbbb cccc    dddd", 30, marked("dddd"),
     {{0, "aaaa"}, {11, "bbbb"}, {22, "cccc"}}, "aaaa bbbb cccc"},
    {"LeadingSpacesKeepTheirWidth", "  aaaa bbbb cccc dddd", 30, marked("cccc dddd"),
     {{0, " "}, {2, " "}, {4, "aaaa"}, {26, "bbbb"}}, "  aaaa bbbb"},
    {"FiveWordsSpreadToExactlyW", "aa bbb c dddd ee fffffff", 40, marked("fffffff"),
     {{0, "aa"}, {8, "bbb"}, {18, "c"}, {24, "dddd"}, {36, "ee"}}, "aa bbb c dddd ee"}, // "ee" ends at 40 mm
    {"LongWordCutInside", "abcdefghijklmnopqrstuvwxyz", 30, marked("opqrstuvwxyz"), {{0, "abcdefghijklmn"}},
     "abcdefghijklmn"},
    {"TwoByteWordsNeverSplit", "ääää ëëëë üüüü öö", 30, marked("öö"),
     {{0, "ääää"}, {11, "ëëëë"}, {22, "üüüü"}}, "ääää ëëëë üüüü"},
    {"ThreeByteWordCutBetweenCharacters", "€€€€€€", 12, marked("€"), {{0, "€€€€€"}}, "€€€€€"},
    // A line break ends the line as a paragraph's last; the rest follows the part after it.
    {"CrLf", "one\r\ntwo", 30, "two", {{0, "one"}}, marked("one")},
    {"Lf", "one\ntwo", 30, "two", {{0, "one"}}, marked("one")},
    {"Cr", "one\rtwo", 30, "two", {{0, "one"}}, marked("one")},
    {"LfInACutLine", "one\ntwo three four five six", 30, "two three four five six", {{0, "one"}}, marked("one")},
    {"CrLfInACutLine", "one\r\ntwo three four five", 30, "two three four five", {{0, "one"}}, marked("one")},
    {"CrLfIsLookedForFirst", "a\nb\r\nc", 30, "c", {{0, "a\nb"}}, marked("a\nb")}, // the lone LF stays
    // Too narrow: the text is lost.
    {"WidthOf8Mm", "abc", 8, "", {}, std::string(Mark)},
    {"WidthOf10Mm", "abc", 10, "", {}, std::string(Mark)},
    {"WidthJustOver10Mm", "abc", 10.5f, "", {{0, "abc"}}, marked("abc")}, // 8.5 mm for the words
};
// clang-format on

class Wrap : public MultiLine, public ::testing::WithParamInterface<WrapRow> {};

TEST_P(Wrap, DrawsOneLineAndReturnsTheRest)
{
    const WrapRow &row = GetParam();
    EXPECT_EQ(t.composer.M(row.text, -1, -1, row.MaxX), row.returned);

    Words drawn;
    for (const auto &[x, text] : wordsDrawn())
        if (!text.empty())
            drawn.emplace_back(x, text);
    ASSERT_EQ(drawn.size(), row.drawn.size()) << ::testing::PrintToString(drawn);
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].second, row.drawn[i].second);
        EXPECT_NEAR(drawn[i].first, row.drawn[i].first, ToleranceMm) << row.drawn[i].second;
    }
    for (const auto &p : prints())
        EXPECT_NEAR(p.y, 10 + StartY - 4, ToleranceMm) << "every word on the same line";
    EXPECT_EQ(newRecords(), 1u);
    EXPECT_EQ(t.lastRecord().text, row.recorded);
}

INSTANTIATE_TEST_SUITE_P(MultiLine, Wrap, ::testing::ValuesIn(wrapRows), RowName());

struct MPlacementRow {
    const char *name;
    std::string text;
    float PosY, PosX, MaxX;
    bool FixX;
    float cursorX; ///< afterwards, from the left margin
    struct {
        float valA, valB, valC;
        std::string text;
    } recorded;
};

constexpr const char *Paragraph = "aaaa bbbb cccc dddd"; // 38 mm; "aaaa bbbb cccc" is drawn in 30 mm

// clang-format off
const MPlacementRow mPlacementRows[] = {
    // name                         text       PosY    PosX    MaxX FixX   CurX after   recorded valA, valB, valC, text
    {"AdvancesByTheWholeText",      Paragraph, -1,     -1,     30,  false, StartX + 38, {-1, StartY, 30, "aaaa bbbb cccc"}},
    {"FixX",                        Paragraph, -1,     -1,     30,  true,  StartX,      {-1, StartY, 30, "aaaa bbbb cccc"}},
    {"AtPosXAndPosY",               Paragraph, 40,     50,     30,  false, 50 + 38,     {50, 40, 30, "aaaa bbbb cccc"}},
    {"OnTheCurrentLineAndPosition", Paragraph, StartY, StartX, 30,  false, StartX + 38, {-1, -1, 30, "aaaa bbbb cccc"}},
    {"MaxXEqualToTheUsableWidth",   "abc",     -1,     -1,     190, false, StartX + 6,  {-1, StartY, -1, marked("abc")}},
    {"NoMaxX",                      "abc",     -1,     -1,     -1,  false, StartX + 6,  {-1, StartY, -1, marked("abc")}},
};
// clang-format on

class MPlacement : public MultiLine, public ::testing::WithParamInterface<MPlacementRow> {};

TEST_P(MPlacement, PlacesLikeLAndRecordsTheLine)
{
    const MPlacementRow &row = GetParam();
    t.state().FixX = row.FixX;
    t.composer.M(row.text, row.PosY, row.PosX, row.MaxX);
    EXPECT_NEAR(t.composer.CurX(), row.cursorX, ToleranceMm);
    const auto &r = row.recorded;
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecTextMulti, r.valA, r.valB, r.valC, 0, r.text, 0}));
}

INSTANTIATE_TEST_SUITE_P(MultiLine, MPlacement, ::testing::ValuesIn(mPlacementRows), RowName());

class MultiLineDirect : public MultiLine {
protected:
    MultiLineDirect() : MultiLine(ListingMode::Direct) {}
};

TEST_F(MultiLineDirect, WrapsWithoutMarkingTheRest)
{
    EXPECT_EQ(t.composer.M(Paragraph, -1, -1, 30), "dddd");
    EXPECT_EQ(wordsDrawn(), (Words{{0, "aaaa"}, {11, "bbbb"}, {22, "cccc"}}));
    EXPECT_TRUE(t.pageSurface.callsOf("print").empty()) << "drawn on the printer";
}

TEST_F(MultiLineDirect, DrawsAMarkedTextWholeAsOnePlainLine)
{
    EXPECT_EQ(t.composer.M(marked("aaaa bbbb cccc dddd eeee"), -1, -1, 30), "");
    EXPECT_EQ(wordsDrawn(), (Words{{0, "aaaa bbbb cccc dddd eeee"}}));
}

TEST_F(MultiLine, ReplayDrawsTheRecordedLineByItsMarkWithoutWrapping)
{
    t.state().Spooling = false; // the spool file stays open
    EXPECT_EQ(t.composer.M("aaaa bbbb cccc", -1, -1, 30), "");
    EXPECT_EQ(wordsDrawn(), (Words{{0, "aaaa"}, {11, "bbbb"}, {22, "cccc"}})) << "no mark: spread";

    surfaceInUse(t).calls.clear();
    t.state().CursorX = t.state().LeftMarg + StartX;
    EXPECT_EQ(t.composer.M(marked("aaaa bbbb cccc"), -1, -1, 30), "");
    EXPECT_EQ(wordsDrawn(), (Words{{0, "aaaa bbbb cccc"}})) << "marked: plain";

    surfaceInUse(t).calls.clear();
    EXPECT_EQ(t.composer.M("aaaa bbbb cccc dddd eeee", -1, -1, 30), "") << "never wrapped again";
    EXPECT_EQ(textDrawn(surfaceInUse(t)), "aaaabbbbccccddddeeee");
    EXPECT_EQ(newRecords(), 0u);
}

/// Calls M until it returns "", moving down a line each time; at most `limit` calls.
int writeParagraph(Composer &c, std::string text, float MaxX, int limit = 1000)
{
    int calls = 0;
    while (!text.empty() && calls < limit) {
        text = c.M(text, -1, -1, MaxX);
        c.PNL();
        ++calls;
    }
    return calls;
}

TEST_F(MultiLine, AParagraphReplaysFromItsRecordsToTheSameDrawing)
{
    const std::string text =
        "Lorem ipsum dolor sit amet, consectetur adipiscing elit,\nsed do eiusmod tempor "
        "incididunt ut labore et dolore magna aliqua.";
    EXPECT_EQ(writeParagraph(t.composer, text, 60), 6);
    const auto composed = prints();

    std::string words;
    for (const auto &p : composed) {
        EXPECT_EQ(p.text.find(Composer::LineMark), std::string::npos) << "the mark is never drawn";
        words += p.text;
    }
    std::string expectedWords = text;
    std::erase_if(expectedWords, [](char ch) { return ch == ' ' || ch == '\n'; });
    std::erase(words, ' ');
    EXPECT_EQ(words, expectedWords) << "every word drawn once, in order";

    // Replay as the renderer does: the page's lines and line feeds, recording off.
    const auto records = t.records();
    t.state().Spooling = false;
    t.state().CursorX = t.state().LeftMarg + StartX;
    t.state().CursorY = t.state().TopMarg + StartY;
    surfaceInUse(t).calls.clear();
    for (size_t i = recordsBefore(); i < records.size(); ++i) {
        const SpoolRecord &r = records[i];
        if (r.op == RecTextMulti)
            EXPECT_EQ(t.composer.M(r.text, r.valB, r.valA, r.valC), "");
        else if (r.op == RecNewLine)
            t.composer.PNL(r.valA);
    }
    const auto replayed = prints();
    ASSERT_EQ(replayed.size(), composed.size());
    for (size_t i = 0; i < composed.size(); ++i) {
        EXPECT_EQ(replayed[i].text, composed[i].text);
        EXPECT_NEAR(replayed[i].x, composed[i].x, ToleranceMm) << composed[i].text;
        EXPECT_NEAR(replayed[i].y, composed[i].y, ToleranceMm) << composed[i].text;
    }
}

/// Characters 15 mm wide: not even one fits a 12 mm line.
class WideCharacterSurface : public FakeSurface {
public:
    static constexpr float WidthMm = 15;
    float textWidth(std::string_view text) const override
    {
        return FakeSurface::textWidth(text) / CharWidthMm * WidthMm;
    }
    std::vector<float> prefixWidths(std::string_view text, float stopAfterMm) const override
    {
        return Surface::prefixWidths(text, stopAfterMm);
    }
};

class MultiLineTooNarrow : public ::testing::TestWithParam<ListingMode> {};

TEST_P(MultiLineTooNarrow, AParagraphLoopStillEndsWithOneCharacterPerLine)
{
    TestSession t(GetParam());
    WideCharacterSurface wide;
    t.state().Surface = &wide;
    EXPECT_EQ(writeParagraph(t.composer, "abc de", 12), 5);
    std::vector<std::string> lines;
    for (const auto &p : printsOn(wide))
        if (!p.text.empty())
            lines.push_back(p.text);
    // The last "e" is a one-character text that does not fit: dropped like any such text.
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));
}

INSTANTIATE_TEST_SUITE_P(MultiLine, MultiLineTooNarrow,
                         ::testing::Values(ListingMode::Preview, ListingMode::Direct), [](const auto &info) {
                             return info.param == ListingMode::Preview ? "Preview" : "Direct";
                         });

} // namespace
