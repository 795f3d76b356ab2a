// Single-line text: page markers, cutting to a width, where L, R and C put a
// text and the print position, what they record, and how the text engine
// aligns and backs a text. The fake surface makes every character 2 mm wide
// and a 12 pt line 4 mm high.

#include "support/RowName.h"
#include "support/TextListing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

std::string repeated(std::string_view piece, size_t times)
{
    std::string text;
    text.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// ---------------------------------------------------------------- ExpandMarkers

enum class MarkerMode { ComposingForPreview, Direct, ReplayOnPreview, PrintingFromPreview };

/// A listing on page 3 of 12, in the given mode.
std::unique_ptr<TestSession> listingOnPage3Of12(MarkerMode mode)
{
    auto t = std::make_unique<TestSession>(mode == MarkerMode::Direct ? ListingMode::Direct
                                                                      : ListingMode::Preview);
    ListingState &s = t->state();
    if (mode == MarkerMode::ReplayOnPreview)
        s.Spooling = false;
    if (mode == MarkerMode::PrintingFromPreview)
        s.Preview = s.Spooling = false; // the spool file stays open
    s.CurPage = 3;
    s.NumPages = 12;
    return t;
}

struct MarkerRow {
    const char *name;
    MarkerMode mode;
    const char *text;
    const char *expected;
    const char *reason;
};

const MarkerRow markerRows[] = {
    {"ComposingForPreview", MarkerMode::ComposingForPreview, "Page PRICOCO of TRICOCO",
     "Page PRICOCO of TRICOCO", "the page count is unknown until Show"},
    {"Direct", MarkerMode::Direct, "Page PRICOCO of TRICOCO", "Page 3 of *", "no page count exists yet"},
    {"ReplayOnPreview", MarkerMode::ReplayOnPreview, "Page PRICOCO of TRICOCO", "Page 3 of 12", ""},
    {"PrintingFromPreview", MarkerMode::PrintingFromPreview, "Page PRICOCO of TRICOCO", "Page 3 of 12",
     "Preview is off while printing, but the spool is open"},
    {"MixedCase", MarkerMode::ReplayOnPreview, "Seite pRiCoCo von tricoco.", "Seite 3 von 12.",
     "markers match in any case, the rest keeps its case"},
    {"MixedCaseKeptWhileComposing", MarkerMode::ComposingForPreview, "pRiCoCo", "pRiCoCo", ""},
    {"AdjacentMarkers", MarkerMode::ReplayOnPreview, "PRICOCOTRICOCOPRICOCO", "3123", ""},
    {"AdjacentMarkersDirect", MarkerMode::Direct, "TRICOCOPRICOCO", "*3", ""},
    {"ReplacementFormsNoNewMarker", MarkerMode::ReplayOnPreview, "TRITRICOCOCOCO", "TRI12COCO",
     "the digits put in never join the letters around them into a marker"},
    {"IncompleteMarkers", MarkerMode::ReplayOnPreview, "PRICOC TRICOC", "PRICOC TRICOC", ""},
    {"MarkerAtTheEnd", MarkerMode::Direct, "n.PRICOCO", "n.3", ""},
    {"AmongMultiByteCharacters", MarkerMode::ReplayOnPreview, "Página PRICOCO — TRICOCO", "Página 3 — 12",
     ""},
    {"Empty", MarkerMode::Direct, "", "", ""},
};

class Markers : public ::testing::TestWithParam<MarkerRow> {};

TEST_P(Markers, ResolvesAsTheModeRequires)
{
    const MarkerRow &row = GetParam();
    SCOPED_TRACE(row.reason);
    auto t = listingOnPage3Of12(row.mode);
    EXPECT_EQ(t->composer.ExpandMarkers(row.text), row.expected);

    // L draws the expanded text; only while composing is it recorded, markers and all.
    const size_t recordsBefore = t->records().size();
    surfaceInUse(*t).calls.clear();
    t->composer.L(row.text);
    EXPECT_EQ(textDrawn(surfaceInUse(*t)), row.expected);
    if (row.mode == MarkerMode::ComposingForPreview) {
        EXPECT_EQ(t->lastRecord().text, row.text);
    } else {
        EXPECT_EQ(t->records().size(), recordsBefore);
    }
    if (row.mode == MarkerMode::Direct) {
        EXPECT_TRUE(t->pageSurface.callsOf("print").empty()) << "direct mode draws on the printer only";
    }
}

INSTANTIATE_TEST_SUITE_P(Text, Markers, ::testing::ValuesIn(markerRows), RowName());

TEST(TextMarkersAtScale, ResolvesTenThousandMarkersOfEachKind)
{
    auto t = listingOnPage3Of12(MarkerMode::ReplayOnPreview);
    EXPECT_EQ(t->composer.ExpandMarkers(repeated("PRICOCO/tricoco ", 10000)), repeated("3/12 ", 10000));
}

// ---------------------------------------------------------------- FitText

/// Measures every prefix through the base class, as the Qt surfaces do.
class PrefixByPrefixSurface : public FakeSurface {
public:
    std::vector<float> prefixWidths(std::string_view text, float stopAfterMm) const override
    {
        return Surface::prefixWidths(text, stopAfterMm);
    }
};

TEST(TextPrefixWidths, MeasuresEachCodePointPrefixAndStopsAfterTheFirstTooWide)
{
    const PrefixByPrefixSurface prefixByPrefix;
    const Surface &surface = prefixByPrefix;
    const std::string text = "a€𝄞\377b"; // a stray byte counts as one character
    EXPECT_EQ(surface.prefixWidths(text), (std::vector<float>{2, 4, 6, 8, 10}));
    EXPECT_EQ(surface.prefixWidths(text, 4), (std::vector<float>{2, 4, 6})) << "4 mm is not past 4 mm";
    EXPECT_EQ(surface.prefixWidths("", 4), std::vector<float>{});
}

struct FitRow {
    const char *name;
    const char *text;
    float widthMm;
    const char *expected;
    const char *reason;
};

// "..." is 6 mm wide.
const FitRow fitRows[] = {
    {"Fits", "abc", 10, "abc", ""},
    {"ExactFit", "abcde", 10, "abcde", "equal width counts as fitting"},
    {"JustTooWide", "abcde", 9.99f, "a...", "4 characters fit, only 1 with the ellipsis"},
    {"CutWithEllipsis", "abcdefghij", 12, "abc...", "the longest prefix that fits with the ellipsis"},
    {"EllipsisFitsExactly", "abcdefghij", 14, "abcd...", ""},
    {"NotEvenOneCharacter", "abc", 1.9f, "", ""},
    {"ZeroWidth", "abc", 0, "", ""},
    {"NegativeWidth", "abc", -5, "", ""},
    {"NaNWidth", "abc", NaN, "", "nothing is at most NaN wide"},
    {"InfiniteWidth", "abc", Inf, "abc", ""},
    {"NoPrefixFitsWithEllipsis", "abcdef", 7.9f, "abc", "3 characters fit, none with the ellipsis: cut bare"},
    {"EmptyText", "", 10, "", ""},
    {"TwoByteCharacters", "äöüßäöü", 12, "äöü...", "widths count characters, cuts fall between them"},
    {"ThreeByteCharacters", "€€€€", 7, "€€€", "no ellipsis fits"},
    {"FourByteCharacters", "𝄞𝄞𝄞𝄞𝄞", 8, "𝄞...", ""},
    {"InvalidUtf8", "\377\376abc", 7, "\377\376a", "a stray byte is one character"},
    {"TruncatedSequence", "ab\xE2\x82", 6, "ab\xE2", "a cut-off sequence counts byte by byte"},
};

enum class Measuring { Additive, PrefixByPrefix };

class Fit : public ::testing::TestWithParam<std::tuple<FitRow, Measuring>> {};

TEST_P(Fit, KeepsTheLongestPrefixThatFits)
{
    const auto &[row, measuring] = GetParam();
    SCOPED_TRACE(row.reason);
    TestSession t;
    PrefixByPrefixSurface prefixByPrefix;
    if (measuring == Measuring::PrefixByPrefix)
        t.state().Surface = &prefixByPrefix;
    EXPECT_EQ(t.composer.FitText(row.text, row.widthMm), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Text, Fit,
                         ::testing::Combine(::testing::ValuesIn(fitRows),
                                            ::testing::Values(Measuring::Additive,
                                                              Measuring::PrefixByPrefix)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == Measuring::Additive ? "" : "_PrefixByPrefix");
                         });

TEST(TextFitAtScale, HundredThousandCharacters)
{
    TestSession t;
    const std::string ascii(100000, 'x');
    EXPECT_EQ(t.composer.FitText(ascii, 50), std::string(22, 'x') + "...");
    EXPECT_EQ(t.composer.FitText(ascii, 200000), ascii) << "fits exactly";
    EXPECT_EQ(t.composer.FitText(ascii, 199999.f), std::string(99996, 'x') + "...");

    const std::string euros = repeated("€", 100000);
    EXPECT_EQ(t.composer.FitText(euros, 50), repeated("€", 22) + "...");

    PrefixByPrefixSurface prefixByPrefix;
    t.state().Surface = &prefixByPrefix;
    EXPECT_EQ(t.composer.FitText(ascii, 50), std::string(22, 'x') + "...")
        << "measuring stops past the width";
}

// ---------------------------------------------------------------- L, R, C placement

/// The text of the placement rows: 10 mm wide, 4 mm high.
constexpr const char *Text = "abcde";
constexpr float StartX = 30; ///< print position before each row, from the margins
constexpr float StartY = 20;

struct Recorded {
    float valA = 0, valB = 0, valC = 0, valE = 0;
};

struct PlacementRow {
    const char *name;
    char command; ///< 'L', 'R' or 'C', on Text
    float PosY, PosX;
    float WidOrMaxX; ///< Wid of L and R, MaxX of C (column "Wid")
    bool FixX, FixY;
    PointMm drawnAt;   ///< the text's top-left corner, from the margins
    PointMm cursor;    ///< the print position afterwards, from the margins
    Recorded recorded; ///< with Text
};

// clang-format off
const PlacementRow placementRows[] = {
    // name                         cmd  PosY    PosX    Wid  FixX   FixY   drawn at      cursor     recorded: valA, valB, valC, valE
    // L: starts at PosX, moves past the text unless FixX
    {"L_AtThePrintPosition",        'L', -1,     -1,     0,   false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 0}},
    {"L_AtPosX",                    'L', -1,     50,     0,   false, true,  {50, 16},     {60, 20},  {50, 20, 0, 0}},
    {"L_PosXAtThePrintPosition",    'L', -1,     StartX, 0,   false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 0}},
    {"L_NegativePosX",              'L', -1,     -5,     0,   false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 0}},
    {"L_NaNPosX",                   'L', -1,     NaN,    0,   false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 0}},
    {"L_InfinitePosX",              'L', -1,     Inf,    0,   false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 0}},
    {"L_AtPosY",                    'L', 40,     -1,     0,   false, true,  {30, 36},     {40, 40},  {-1, 40, 0, 0}},
    {"L_PosYOnTheCurrentLine",      'L', StartY, -1,     0,   false, true,  {30, 16},     {40, 20},  {-1, -1, 0, 0}},
    {"L_NegativePosY",              'L', -3,     -1,     0,   false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 0}},
    {"L_NaNPosY",                   'L', NaN,    -1,     0,   false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 0}},
    {"L_MinusInfinitePosY",         'L', -Inf,   -1,     0,   false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 0}},
    {"L_FixX",                      'L', -1,     -1,     0,   true,  true,  {30, 16},     {30, 20},  {-1, 20, 0, 0}},
    {"L_FixXAtPosX",                'L', -1,     50,     0,   true,  true,  {50, 16},     {50, 20},  {50, 20, 0, 0}},
    {"L_NotFixY",                   'L', -1,     -1,     0,   false, false, {30, 16},     {40, 24},  {-1, 20, 0, 0}},
    {"L_NotFixYAtPosY",             'L', 40,     -1,     0,   false, false, {30, 36},     {40, 44},  {-1, 40, 0, 0}},
    {"L_WidWideEnough",             'L', -1,     -1,     20,  false, true,  {30, 16},     {40, 20},  {-1, 20, 0, 20}},
    // R: ends at PosX and puts the print position there whatever FixX says
    {"R_AtThePrintPosition",        'R', -1,     -1,     0,   false, true,  {20, 16},     {30, 20},  {-1, 20, 0, 0}},
    {"R_AtPosX100",                 'R', -1,     100,    0,   false, true,  {90, 16},     {100, 20}, {100, 20, 0, 0}},
    {"R_AtPosX100FixX",             'R', -1,     100,    0,   true,  true,  {90, 16},     {100, 20}, {100, 20, 0, 0}},
    {"R_PosXAtThePrintPosition",    'R', -1,     StartX, 0,   false, true,  {20, 16},     {30, 20},  {-1, 20, 0, 0}},
    {"R_NaNPosX",                   'R', -1,     NaN,    0,   false, true,  {20, 16},     {30, 20},  {-1, 20, 0, 0}},
    {"R_NotFixYAtPosY",             'R', 40,     100,    0,   false, false, {90, 36},     {100, 44}, {100, 40, 0, 0}},
    // C: centred 0.2 mm right of the middle; PosX is kept even at the print position; CursorX stays
    {"C_BetweenTheMargins",         'C', -1,     -1,     -1,  false, true,  {90.2f, 16},  {30, 20},  {-1, 20, -1, 0}},
    {"C_BetweenPosXAndMaxX",        'C', -1,     20,     60,  false, true,  {35.2f, 16},  {30, 20},  {20, 20, 60, 0}},
    {"C_MaxXEqualToTheUsableWidth", 'C', -1,     -1,     190, false, true,  {90.2f, 16},  {30, 20},  {-1, 20, -1, 0}},
    {"C_NegativeMaxX",              'C', -1,     -1,     -4,  false, true,  {90.2f, 16},  {30, 20},  {-1, 20, -1, 0}},
    {"C_NaNMaxX",                   'C', -1,     -1,     NaN, false, true,  {90.2f, 16},  {30, 20},  {-1, 20, -1, 0}},
    {"C_NegativePosX",              'C', -1,     -2,     -1,  false, true,  {90.2f, 16},  {30, 20},  {-1, 20, -1, 0}},
    {"C_PosXAtThePrintPosition",    'C', -1,     StartX, -1,  false, true,  {105.2f, 16}, {30, 20},  {StartX, 20, -1, 0}},
    {"C_PosYOnTheCurrentLine",      'C', StartY, -1,     -1,  false, true,  {90.2f, 16},  {30, 20},  {-1, -1, -1, 0}},
    {"C_NotFixYAtPosY",             'C', 40,     -1,     -1,  true,  false, {90.2f, 36},  {30, 44},  {-1, 40, -1, 0}},
};
// clang-format on

void run(Composer &c, const PlacementRow &row)
{
    switch (row.command) {
    case 'L':
        return c.L(Text, row.PosY, row.PosX, row.WidOrMaxX);
    case 'R':
        return c.R(Text, row.PosY, row.PosX, row.WidOrMaxX);
    default:
        return c.C(Text, row.PosY, row.PosX, row.WidOrMaxX);
    }
}

Opcode opcodeOf(char command)
{
    return command == 'L' ? RecTextLeft : command == 'R' ? RecTextRight : RecTextCenter;
}

/// A preview listing with the print position at (StartX, StartY).
class TextCommand : public TextListing {
protected:
    void SetUp() override { startAt(StartX, StartY); }
};

class Placement : public TextCommand, public ::testing::WithParamInterface<PlacementRow> {};

TEST_P(Placement, PlacesRecordsAndMovesThePrintPosition)
{
    const PlacementRow &row = GetParam();
    t.state().FixX = row.FixX;
    t.state().FixY = row.FixY;
    run(t.composer, row);

    const auto drawn = prints();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, Text);
    EXPECT_NEAR(drawn[0].x, 10 + row.drawnAt.x, ToleranceMm);
    EXPECT_NEAR(drawn[0].y, 10 + row.drawnAt.y, ToleranceMm);
    EXPECT_NEAR(t.composer.CurX(), row.cursor.x, ToleranceMm);
    EXPECT_NEAR(t.composer.CurY(), row.cursor.y, ToleranceMm);
    EXPECT_EQ(newRecords(), 1u);
    EXPECT_EQ(fieldsOf(t.lastRecord()),
              (RecordFields{opcodeOf(row.command), row.recorded.valA, row.recorded.valB, row.recorded.valC, 0,
                            Text, row.recorded.valE}));
}

INSTANTIATE_TEST_SUITE_P(Text, Placement, ::testing::ValuesIn(placementRows), RowName());

TEST_F(TextCommand, LCutsWhatItDrawsToWidButRecordsTheWholeText)
{
    t.composer.L("abcdefghijklmno", -1, -1, 20);
    EXPECT_EQ(textDrawn(t.pageSurface), "abcdefg...");
    EXPECT_NEAR(t.composer.CurX(), StartX + 20, ToleranceMm) << "moved past the text drawn";
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecTextLeft, -1, StartY, 0, 0, "abcdefghijklmno", 20}));
}

TEST_F(TextCommand, LWithANegativeWidDrawsNothingButRecords)
{
    t.composer.L("abc", -1, -1, -5);
    EXPECT_EQ(textDrawn(t.pageSurface), "");
    EXPECT_NEAR(t.composer.CurX(), StartX, ToleranceMm);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecTextLeft, -1, StartY, 0, 0, "abc", -5}));
}

TEST_F(TextCommand, RWithWidEndsTheCutTextAtPosX)
{
    t.composer.R("abcdefghij", -1, 100, 12);
    const auto drawn = prints();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "abc...");
    EXPECT_NEAR(drawn[0].x, 10 + 100 - 12, ToleranceMm);
    EXPECT_NEAR(t.composer.CurX(), 100, ToleranceMm);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecTextRight, 100, StartY, 0, 0, "abcdefghij", 12}));
}

TEST_F(TextCommand, EmptyTextsAreRecordedAndLeaveTheCursorAlone)
{
    t.composer.L("");
    t.composer.R("", -1, 100);
    t.composer.C("");
    EXPECT_EQ(textDrawn(t.pageSurface), "");
    EXPECT_NEAR(t.composer.CurX(), 100, ToleranceMm) << "only R's PosX moves it";
    EXPECT_NEAR(t.composer.CurY(), StartY, ToleranceMm);
    const auto records = t.records();
    ASSERT_EQ(newRecords(), 3u);
    EXPECT_EQ(fieldsOf(records[records.size() - 3]), (RecordFields{RecTextLeft, -1, StartY, 0, 0, "", 0}));
    EXPECT_EQ(fieldsOf(records.back()), (RecordFields{RecTextCenter, -1, StartY, -1, 0, "", 0}));
}

TEST_F(TextCommand, AMegabyteTextIsRecordedWholeAndCutQuickly)
{
    const std::string megabyte = repeated("€", (1 << 20) / 3); // split across the spool's text chunks
    t.composer.L(megabyte);
    EXPECT_EQ(textDrawn(t.pageSurface), megabyte);
    EXPECT_EQ(t.lastRecord().text, megabyte);

    t.pageSurface.calls.clear();
    t.composer.L(megabyte, -1, 0, 50);
    EXPECT_EQ(textDrawn(t.pageSurface), repeated("€", 22) + "...");
    EXPECT_EQ(t.lastRecord().text, megabyte);
}

TEST_F(TextCommand, InvalidUtf8IsMeasuredByteByByteAndRecordedAsGiven)
{
    const std::string invalid = "\377\376abc";
    t.composer.L(invalid, -1, -1, 7);
    EXPECT_EQ(textDrawn(t.pageSurface), "\377\376a");
    EXPECT_EQ(t.lastRecord().text, invalid);

    t.pageSurface.calls.clear();
    t.composer.R("\xE2\x82", -1, 100); // a cut-off euro sign: two stray bytes, 4 mm
    ASSERT_EQ(prints().size(), 1u);
    EXPECT_NEAR(prints()[0].x, 10 + 100 - 4, ToleranceMm);
    EXPECT_EQ(t.lastRecord().text, "\xE2\x82");
}

// ---------------------------------------------------------------- EmitText

struct AlignRow {
    const char *name;
    int16_t AlignMode;
    float topBelowLine; ///< where the 4 mm text's top lands, from the print line
};

// A 12 pt line on the fake: ascent 3.2 mm, descent 0.8 mm.
const AlignRow alignRows[] = {
    {"BottomOnTheLine", 2, -4}, {"BaselineOnTheLine", 1, 0.8f - 4}, {"AscentAboveTheLine", -1, 3.2f - 4},
    {"TopOnTheLine", -2, 0},    {"BeforeTheFirstInit", 0, 0},
};

class EmitTextAlignment : public TextCommand, public ::testing::WithParamInterface<AlignRow> {};

TEST_P(EmitTextAlignment, PutsTheTextWhereTheModeSays)
{
    t.state().AlignMode = GetParam().AlignMode;
    t.pageSurface.setCurrentX(50);
    t.pageSurface.setCurrentY(t.state().CursorY);
    t.composer.EmitText("abc");

    const auto drawn = prints();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_NEAR(drawn[0].x, 50, ToleranceMm);
    EXPECT_NEAR(drawn[0].y, 10 + StartY + GetParam().topBelowLine, ToleranceMm);
    EXPECT_NEAR(t.composer.CurX(), StartX, ToleranceMm) << "the engine never moves CursorX";
    EXPECT_NEAR(t.composer.CurY(), StartY, ToleranceMm) << "nor CursorY below the top margin";
}

INSTANTIATE_TEST_SUITE_P(Text, EmitTextAlignment, ::testing::ValuesIn(alignRows), RowName());

struct TopMarginRow {
    const char *name;
    int16_t AlignMode;
    float lineMm; ///< the print line, below the top margin
    bool FixY;
    float cursorY; ///< afterwards, from the top margin
};

const TopMarginRow topMarginRows[] = {
    {"BottomOnTheLine", 2, 1, true, 4},   {"BottomOnTheLineNotFixY", 2, 1, false, 8},
    {"Baseline", 1, 1, true, 4 - 0.8f},   {"BaselineNotFixY", 1, 1, false, 8 - 0.8f},
    {"Ascent", -1, 0.5f, true, 4 - 3.2f}, {"AscentNotFixY", -1, 0.5f, false, 8 - 3.2f},
};

class EmitTextAtTheTopMargin : public TextCommand, public ::testing::WithParamInterface<TopMarginRow> {};

TEST_P(EmitTextAtTheTopMargin, NeverRisesAboveItAndPushesTheLineDown)
{
    const TopMarginRow &row = GetParam();
    t.state().AlignMode = row.AlignMode;
    t.state().FixY = row.FixY;
    t.composer.L("abc", row.lineMm);

    const auto drawn = prints();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_NEAR(drawn[0].y, t.state().TopMarg, ToleranceMm);
    EXPECT_NEAR(t.composer.CurY(), row.cursorY, ToleranceMm);
}

INSTANTIATE_TEST_SUITE_P(Text, EmitTextAtTheTopMargin, ::testing::ValuesIn(topMarginRows), RowName());

struct BackgroundRow {
    const char *name;
    int fillStyle;
    bool transparentFont;
    bool painted;
};

const BackgroundRow backgroundRows[] = {
    {"SolidFillOpaqueFont", 0, false, true},
    {"HatchedFillOpaqueFont", 2, false, true},
    {"NoFillOpaqueFont", 1, false, false},
    {"SolidFillTransparentFont", 0, true, false},
};

class EmitTextBackground : public TextCommand, public ::testing::WithParamInterface<BackgroundRow> {};

TEST_P(EmitTextBackground, PaintsTheTextsBoxInTheFillColourFirst)
{
    constexpr int Red = 0x0000FF, Green = 0x00FF00;
    const BackgroundRow &row = GetParam();
    t.composer.PColor(Red);
    t.composer.PFill(Green, row.fillStyle);
    t.composer.PFont("", 0, false, false, row.transparentFont);
    t.pageSurface.calls.clear();
    t.composer.L(Text, 20, 30); // 10 x 4 mm, top-left at (40, 26)

    const auto &calls = t.pageSurface.calls;
    const auto print = t.pageSurface.callsOf("print");
    ASSERT_EQ(print.size(), 1u);
    EXPECT_EQ(print[0].args, (std::vector<float>{40, 26}));
    EXPECT_EQ(print[0].pen.foreColor, Red);
    EXPECT_EQ(t.pageSurface.pen().foreColor, Red);
    EXPECT_EQ(t.pageSurface.font().transparent, row.transparentFont);
    if (!row.painted) {
        EXPECT_EQ(calls.size(), 1u) << "only the text";
        return;
    }
    std::vector<std::string> ops;
    for (const auto &call : calls)
        ops.push_back(call.op);
    ASSERT_EQ(ops, (std::vector<std::string>{"font", "line", "print", "font"}));
    const auto &box = calls[1];
    EXPECT_EQ(box.args, (std::vector<float>{static_cast<float>(LineKind::BoxRelative), 40, 26, 10, 4}));
    EXPECT_EQ(box.pen.foreColor, Green);
    EXPECT_TRUE(box.font.transparent);
    EXPECT_TRUE(print[0].font.transparent) << "the text goes on top of the box";
}

INSTANTIATE_TEST_SUITE_P(Text, EmitTextBackground, ::testing::ValuesIn(backgroundRows), RowName());

} // namespace
