// Column tables and cells: where a cell's text goes, how it is cut to the
// column, and that each cell leaves exactly one record of its own. The fake
// surface makes every character 2 mm wide and a 12 pt line 4 mm high.

#include "support/RowName.h"
#include "support/TextListing.h"

#include <gtest/gtest.h>

#include <limits>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr float StartX = 30; ///< print position before each case, from the margins
constexpr float StartY = 20;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

/// A preview listing with column 1 from 10 to 60 mm right of the left margin.
class ColumnTable : public TextListing {
protected:
    void SetUp() override
    {
        t.composer.NewCol(10, 50);
        startAt(StartX, StartY);
    }
};

TEST_F(ColumnTable, NewColAndClsColsAreRecorded)
{
    t.composer.NewCol(70, 25.5f);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecNewCol, 70, 25.5f, 0, 0, "", 0}));
    t.composer.ClsCols();
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecClsCols, 0, 0, 0, 0, "", 0}));
    EXPECT_EQ(t.state().NumCols, 0);
}

enum class CellKind { L, R, C };

struct CellCall {
    CellKind kind;
    float inset = 0; ///< AddX of LCol, SubX of RCol
    float PosY = -1;
    bool TRUNC = true;
};

void writeCell(Composer &c, const CellCall &call, int NCol, std::string_view text)
{
    switch (call.kind) {
    case CellKind::L:
        return c.LCol(NCol, text, call.inset, call.PosY, call.TRUNC);
    case CellKind::R:
        return c.RCol(NCol, text, call.inset, call.PosY, call.TRUNC);
    case CellKind::C:
        return c.CCol(NCol, text, call.PosY, call.TRUNC);
    }
}

Opcode opcodeOf(CellKind kind)
{
    return kind == CellKind::L ? RecColLeft : kind == CellKind::R ? RecColRight : RecColCenter;
}

struct CellRow {
    const char *name;
    CellCall call;   ///< in column 1, on "abc": 6 mm wide, 4 mm high
    PointMm drawnAt; ///< the text's top-left corner, from the margins
    PointMm cursor;  ///< the print position afterwards, from the margins
    struct {
        float valB, valC;
    } recorded; ///< valA is the column, valE the TRUNC flag
};

// clang-format off
const CellRow cellRows[] = {
    // name                             {kind,        inset, PosY,   TRUNC}, drawn at     cursor        recorded valB, valC
    {"LCol_AtTheLeftEdge",              {CellKind::L, 0,     -1,     true},  {10.2f, 16}, {16.2f, 20},  {0, -1}},
    {"LCol_AddX",                       {CellKind::L, 5,     -1,     true},  {15.2f, 16}, {21.2f, 20},  {5, -1}},
    {"LCol_AtPosY",                     {CellKind::L, 0,     40,     true},  {10.2f, 36}, {16.2f, 40},  {0, 40}},
    {"LCol_PosYOnTheCurrentLineIsKept", {CellKind::L, 0,     StartY, true},  {10.2f, 16}, {16.2f, 20},  {0, StartY}},
    {"LCol_NaNPosY",                    {CellKind::L, 0,     NaN,    true},  {10.2f, 16}, {16.2f, 20},  {0, -1}},
    {"LCol_NotTruncated",               {CellKind::L, 0,     -1,     false}, {10.2f, 16}, {16.2f, 20},  {0, -1}},
    {"RCol_AtTheRightEdge",             {CellKind::R, 0,     -1,     true},  {53.8f, 16}, {59.8f, 20},  {0, -1}},
    {"RCol_SubX2",                      {CellKind::R, 2,     -1,     true},  {51.8f, 16}, {57.8f, 20},  {2, -1}},
    {"RCol_PosYOnTheCurrentLineIsKept", {CellKind::R, 0,     StartY, true},  {53.8f, 16}, {59.8f, 20},  {0, StartY}},
    {"CCol_Centred",                    {CellKind::C, 0,     -1,     true},  {32.2f, 16}, {StartX, 20}, {StartY, 0}},
    {"CCol_PosYOnTheCurrentLine",       {CellKind::C, 0,     StartY, true},  {32.2f, 16}, {StartX, 20}, {-1, 0}},
    {"CCol_NegativePosY",               {CellKind::C, 0,     -2,     true},  {32.2f, 16}, {StartX, 20}, {StartY, 0}},
    {"CCol_AtPosY",                     {CellKind::C, 0,     40,     true},  {32.2f, 36}, {StartX, 40}, {40, 0}},
    {"CCol_NotTruncated",               {CellKind::C, 0,     -1,     false}, {32.2f, 16}, {StartX, 20}, {StartY, 0}},
};
// clang-format on

class Cell : public ColumnTable, public ::testing::WithParamInterface<CellRow> {};

TEST_P(Cell, DrawsInTheColumnAndLeavesOneRecord)
{
    const CellRow &row = GetParam();
    writeCell(t.composer, row.call, 1, "abc");

    const auto drawn = prints();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "abc");
    EXPECT_NEAR(drawn[0].x, 10 + row.drawnAt.x, ToleranceMm);
    EXPECT_NEAR(drawn[0].y, 10 + row.drawnAt.y, ToleranceMm);
    EXPECT_NEAR(t.composer.CurX(), row.cursor.x, ToleranceMm);
    EXPECT_NEAR(t.composer.CurY(), row.cursor.y, ToleranceMm);
    EXPECT_EQ(newRecords(), 1u) << "the text command inside records nothing";
    EXPECT_EQ(fieldsOf(t.lastRecord()),
              (RecordFields{opcodeOf(row.call.kind), 1, row.recorded.valB, row.recorded.valC, 0, "abc",
                            row.call.TRUNC ? 1.0f : 0.0f}));
    EXPECT_TRUE(t.state().Spooling) << "recording is back on";
}

INSTANTIATE_TEST_SUITE_P(Column, Cell, ::testing::ValuesIn(cellRows), RowName());

constexpr const char *Long = "abcdefghijklmnopqrstuvwxyz0123"; // 60 mm in a 50 mm column

struct CutRow {
    const char *name;
    CellCall call; ///< in column 1
    const char *drawn;
    float drawnAtX; ///< from the left margin
};

const CutRow cutRows[] = {
    {"LCol", {CellKind::L}, "abcdefghijklmnopqrstu...", 10.2f},      // to 49.8 mm
    {"LColAddX", {CellKind::L, 10}, "abcdefghijklmnop...", 20.2f},   // to 39.8 mm
    {"RColSubX", {CellKind::R, 4}, "abcdefghijklmnopqrs...", 11.8f}, // to 45.8 mm, ending at 55.8
    {"CCol", {CellKind::C}, "abcdefghijklmnopqrstu...", 11.2f},      // to 49.8 mm, centred
    {"LColOverflows", {CellKind::L, 0, -1, false}, Long, 10.2f},     // past the column
    {"RColOverflows", {CellKind::R, 0, -1, false}, Long, -0.2f},     // into the left margin
    {"CColOverflows", {CellKind::C, 0, -1, false}, Long, 5.2f},      // on both sides
};

class CellCut : public ColumnTable, public ::testing::WithParamInterface<CutRow> {};

TEST_P(CellCut, CutsToTheColumnButRecordsTheWholeText)
{
    const CutRow &row = GetParam();
    writeCell(t.composer, row.call, 1, Long);

    const auto drawn = prints();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, row.drawn);
    EXPECT_NEAR(drawn[0].x, 10 + row.drawnAtX, ToleranceMm);
    EXPECT_EQ(t.lastRecord().text, Long);
    EXPECT_EQ(t.lastRecord().valE, row.call.TRUNC ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Column, CellCut, ::testing::ValuesIn(cutRows), RowName());

TEST_F(ColumnTable, AColumnWithNoWidthCutsEverythingButStillRecords)
{
    t.composer.NewCol(70, 0);
    startAt(StartX, StartY);
    t.composer.LCol(2, "abc");
    EXPECT_EQ(textDrawn(t.pageSurface), "");
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecColLeft, 2, 0, -1, 0, "abc", 1}));
    EXPECT_NEAR(t.composer.CurX(), 70.2f, ToleranceMm) << "the cursor rules run with the empty text";
}

class CellOutsideTheTable : public ColumnTable,
                            public ::testing::WithParamInterface<std::tuple<CellKind, int>> {};

TEST_P(CellOutsideTheTable, DrawsAndRecordsNothing)
{
    t.composer.NewCol(70, 20);
    startAt(StartX, StartY);
    const auto [kind, NCol] = GetParam();
    writeCell(t.composer, {kind}, NCol, "abc");
    EXPECT_TRUE(t.pageSurface.calls.empty());
    EXPECT_EQ(newRecords(), 0u);
    EXPECT_NEAR(t.composer.CurX(), StartX, ToleranceMm);
    EXPECT_NEAR(t.composer.CurY(), StartY, ToleranceMm);
}

std::string outsideRowName(const ::testing::TestParamInfo<std::tuple<CellKind, int>> &info)
{
    static const char *const kinds[] = {"LCol", "RCol", "CCol"};
    const auto [kind, NCol] = info.param;
    return std::string(kinds[static_cast<int>(kind)]) + "_" +
           (NCol < 0 ? "Minus" + std::to_string(-NCol) : std::to_string(NCol));
}

INSTANTIATE_TEST_SUITE_P(Column, CellOutsideTheTable,
                         ::testing::Combine(::testing::Values(CellKind::L, CellKind::R, CellKind::C),
                                            ::testing::Values(0, -5, 3, 21)),
                         outsideRowName);

TEST_F(ColumnTable, ATwentyFirstColumnIsIgnoredAndNotRecorded)
{
    for (int n = 2; n <= MaxColumns; ++n)
        t.composer.NewCol(static_cast<float>(5 * n), 10);
    startAt(StartX, StartY);
    t.composer.NewCol(150, 10);
    EXPECT_EQ(t.state().NumCols, MaxColumns);
    EXPECT_EQ(newRecords(), 0u);

    t.composer.LCol(21, "abc");
    EXPECT_TRUE(prints().empty());
    t.composer.LCol(20, "ab");
    ASSERT_EQ(prints().size(), 1u);
    EXPECT_NEAR(prints()[0].x, 10 + 100.2f, ToleranceMm) << "the twentieth column still works";
}

TEST_F(ColumnTable, ANewPageStartsWithNoColumns)
{
    t.composer.PNP();
    const size_t defaults = t.pageRecords(2).size();
    t.pageSurface.calls.clear();
    t.composer.LCol(1, "abc");
    EXPECT_TRUE(prints().empty());
    EXPECT_EQ(t.pageRecords(2).size(), defaults);

    t.composer.NewCol(10, 50);
    t.composer.LCol(1, "abc");
    ASSERT_EQ(prints().size(), 1u);
    EXPECT_NEAR(prints()[0].x, 10 + 10.2f, ToleranceMm);
}

TEST_F(ColumnTable, MarkersStayInTheRecordButAreResolvedInTheCopyDrawnNow)
{
    t.composer.LCol(1, "p. PRICOCO");
    EXPECT_EQ(textDrawn(t.pageSurface), "p. 1");
    EXPECT_EQ(t.lastRecord().text, "p. PRICOCO");
}

TEST(ColumnReplay, RedrawsTheCellsWithoutRecording)
{
    for (const ListingMode mode : {ListingMode::Preview, ListingMode::Direct}) {
        SCOPED_TRACE(mode == ListingMode::Preview ? "replay" : "direct");
        TestSession t(mode);
        t.state().Spooling = false;
        const size_t recordsBefore = t.records().size();
        t.composer.NewCol(10, 50);
        t.composer.RCol(1, "abc", 2);
        const auto drawn = printsOn(surfaceInUse(t));
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_NEAR(drawn[0].x, 10 + 51.8f, ToleranceMm);
        EXPECT_EQ(t.records().size(), recordsBefore);
    }
}

} // namespace
