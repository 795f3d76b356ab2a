// Fonts, alignment, text metrics and the pen settings: what reaches the surface
// and what is recorded for replay.

#include "support/RowName.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace quillet;
using namespace quillet::testing;

namespace {

using quillet::testing::PrintTo; // rows print as their names

struct FontRow {
    const char *name;
    ListingMode mode;
    float zoom;
    std::function<void(Composer &)> call;
    SurfaceFont expected;  ///< on the surface afterwards
    RecordFields recorded; ///< ignored in direct mode
    const char *reason;
};

// Every row starts from Times New Roman 12 bold italic opaque, so turning those off shows.
const FontRow fontRows[] = {
    {"OnlyAName",
     ListingMode::Preview,
     1,
     [](Composer &c) { c.PFont("Arial"); },
     {"Arial", 12, false, false, true},
     {RecFont, 0, 0, 0, 1, "Arial", 0},
     "the size in force survives the new name; bold and italic go off"},
    {"OnlySizeAtZoom150",
     ListingMode::Preview,
     1.5f,
     [](Composer &c) { c.PFont("", 10); },
     {"Times New Roman", 15, false, false, true},
     {RecFont, 10, 0, 0, 1, "", 0},
     "the preview shows the zoomed size, the spool keeps the size asked for"},
    {"NoArguments",
     ListingMode::Preview,
     1,
     [](Composer &c) { c.PFont(); },
     {"Times New Roman", 12, false, false, true},
     {RecFont, 0, 0, 0, 1, "", 0},
     "only bold, italic and transparency change"},
    {"NegativeSize",
     ListingMode::Preview,
     1,
     [](Composer &c) { c.PFont("Courier New", -3, true); },
     {"Courier New", 12, true, false, true},
     {RecFont, 0, 1, 0, 1, "Courier New", 0},
     "a size <= 0 keeps the size and records 0"},
    {"EverythingGiven",
     ListingMode::Preview,
     1,
     [](Composer &c) { c.PFont("Arial", 9, false, true, false); },
     {"Arial", 9, false, true, false},
     {RecFont, 9, 0, 1, 0, "Arial", 0},
     "bold, italic, transparent recorded"},
    {"DirectModeIgnoresZoom",
     ListingMode::Direct,
     1.5f,
     [](Composer &c) { c.PFont("", 10); },
     {"Times New Roman", 10, false, false, true},
     {},
     "the zoom belongs to the preview"},
};

class PFont : public ::testing::TestWithParam<FontRow> {};

TEST_P(PFont, SetsTheSurfaceFontAndRecordsTheCall)
{
    const FontRow &row = GetParam();
    SCOPED_TRACE(row.reason);
    TestSession t(row.mode);
    t.composer.PFont("Times New Roman", 12, true, true, false);
    t.state().Zoom = row.zoom;
    row.call(t.composer);

    const SurfaceFont &font = t.state().Surface->font();
    EXPECT_EQ(font.name, row.expected.name);
    EXPECT_FLOAT_EQ(font.size, row.expected.size);
    EXPECT_EQ(font.bold, row.expected.bold);
    EXPECT_EQ(font.italic, row.expected.italic);
    EXPECT_EQ(font.transparent, row.expected.transparent);
    if (row.mode == ListingMode::Preview) {
        EXPECT_EQ(fieldsOf(t.lastRecord()), row.recorded);
    }
}

INSTANTIATE_TEST_SUITE_P(Calls, PFont, ::testing::ValuesIn(fontRows), quillet::testing::RowName());

struct AlignRow {
    const char *name;
    int value;
    bool accepted;
};

const AlignRow alignRows[] = {
    {"TopEdge", -2, true},     {"Top", -1, true},          {"Baseline", 1, true},
    {"BottomEdge", 2, true},   {"Zero", 0, false},         {"Three", 3, false},
    {"MinusThree", -3, false}, {"IntMin", INT_MIN, false}, {"IntMax", INT_MAX, false},
};

class PAlign : public ::testing::TestWithParam<AlignRow> {};

TEST_P(PAlign, TakesOnlyTheFourModes)
{
    TestSession t;
    t.composer.PAlign(-1);
    const int32_t slots = t.slotsWritten();
    t.composer.PAlign(GetParam().value);
    if (GetParam().accepted) {
        EXPECT_EQ(t.state().AlignMode, GetParam().value);
        EXPECT_EQ(fieldsOf(t.lastRecord()),
                  (RecordFields{RecAlign, static_cast<float>(GetParam().value), 0, 0, 0, "", 0}));
    } else {
        EXPECT_EQ(t.state().AlignMode, -1) << "ignored";
        EXPECT_EQ(t.slotsWritten(), slots) << "and not recorded";
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PAlign, ::testing::ValuesIn(alignRows), quillet::testing::RowName());

struct LinesRow {
    const char *name;
    float linesAboveBottom; ///< where the print line is, in lines of 4 mm above the bottom of the usable area
    float expected;
};

const LinesRow linesRows[] = {
    {"AtTheBottom", 0, 0},         {"OneLineAbove", 1, 1}, {"AlmostTwoLinesAbove", 1.9f, 1},
    {"HalfALineBelow", -0.5f, -1}, // rounded towards minus infinity
    {"ThreeLinesBelow", -3, -3},
};

class NLines : public ::testing::TestWithParam<LinesRow> {};

TEST_P(NLines, CountsWholeLinesLeftOnThePage)
{
    TestSession t;
    ListingState &s = t.state();
    s.CursorY = s.TopMarg + s.UseH - GetParam().linesAboveBottom * 4;
    EXPECT_EQ(t.composer.NLines(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PrintLines, NLines, ::testing::ValuesIn(linesRows), quillet::testing::RowName());

TEST(NLinesTopOfPage, UsesTheCurrentLineHeight)
{
    TestSession t; // A4, no border: 277 mm usable
    EXPECT_EQ(t.composer.NLines(), 69) << "277 / 4";
    t.composer.PFont("", 24);
    EXPECT_EQ(t.composer.NLines(), 34) << "277 / 8";
}

struct InSizeRow {
    const char *name;
    const char *text;
    float size;
    bool fits;
};

const InSizeRow inSizeRows[] = {
    {"EqualWidthFits", "abc", 6, true}, {"JustWider", "abc", 5.99f, false}, {"Narrower", "abc", 6.01f, true},
    {"EmptyFitsInZero", "", 0, true},   {"NegativeSize", "a", -1, false},
};

class InSize : public ::testing::TestWithParam<InSizeRow> {};

TEST_P(InSize, ComparesTheTextWidth)
{
    TestSession t;
    EXPECT_EQ(t.composer.InSize(GetParam().text, GetParam().size), GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(Texts, InSize, ::testing::ValuesIn(inSizeRows), quillet::testing::RowName());

TEST(Metrics, MeasureTheTextItselfWithoutExpandingMarkers)
{
    TestSession t;
    EXPECT_FLOAT_EQ(t.composer.WX("PRICOCO"), 7 * FakeSurface::CharWidthMm);
}

TEST(PenCommands, SetTheSurfaceAndRecordTheirArguments)
{
    TestSession t;
    Composer &c = t.composer;
    const SurfacePen &pen = t.pageSurface.pen();

    c.PColor(16777215);
    EXPECT_EQ(pen.foreColor, 16777215);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecColor, 16777215, 0, 0, 0, "", 0}))
        << "24-bit colour exact";

    c.PFill(0x123456, 3);
    EXPECT_EQ(pen.fillColor, 0x123456);
    EXPECT_EQ(pen.fillStyle, 3);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecFill, 0x123456, 3, 0, 0, "", 0}));

    c.PDraw(2, 7);
    EXPECT_EQ(pen.drawStyle, 2);
    EXPECT_EQ(pen.drawMode, 7);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecDraw, 2, 7, 0, 0, "", 0}));

    c.PFix(true, false);
    EXPECT_TRUE(t.state().FixX);
    EXPECT_FALSE(t.state().FixY);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecFix, 1, 0, 0, 0, "", 0}));
}

TEST(Replay, CommandsDrawButRecordNothingWhileSpoolingIsOff)
{
    TestSession t;
    t.state().Spooling = false;
    const int32_t slots = t.slotsWritten();
    Composer &c = t.composer;
    c.PMargins(20, 20, 20, 20);
    c.PNL(3);
    c.PFont("Arial", 14);
    c.PAlign(1);
    c.PColor(5);
    c.PFill(6, 0);
    c.PFix(true, true);
    c.PDraw(1, 13);
    c.ClsCols();
    EXPECT_EQ(t.slotsWritten(), slots);
    EXPECT_EQ(t.pageSurface.font().name, "Arial");
    EXPECT_EQ(t.pageSurface.pen().foreColor, 5);
    EXPECT_EQ(t.state().AlignMode, 1);
}

} // namespace
