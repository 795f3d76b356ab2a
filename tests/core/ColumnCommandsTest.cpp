// Column tables and cells: where a cell's text goes, how it is cut to the
// column, and that each cell leaves exactly one record of its own. The fake
// surface makes every character 2 mm wide and a 12 pt line 4 mm high.

#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <limits>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr float StartX = 30, StartY = 20; ///< print position before each case, from the margins
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float ToleranceMm = 1e-3f;
constexpr const char *Long = "abcdefghijklmnopqrstuvwxyz0123";

enum class Cell { L, R, C };

struct CellCall {
    Cell kind;
    float inset = 0; ///< AddX of LCol, SubX of RCol
    float PosY = -1;
    bool TRUNC = true;
};

void writeCell(Composer &c, const CellCall &call, int NCol, std::string_view text)
{
    switch (call.kind) {
    case Cell::L:
        return c.LCol(NCol, text, call.inset, call.PosY, call.TRUNC);
    case Cell::R:
        return c.RCol(NCol, text, call.inset, call.PosY, call.TRUNC);
    case Cell::C:
        return c.CCol(NCol, text, call.PosY, call.TRUNC);
    }
}

/// A preview listing with column 1 from 10 to 60 mm right of the left margin,
/// the print position at (StartX, StartY) and the log cleared.
struct ColumnTable {
    ColumnTable()
    {
        t.composer.NewCol(10, 50);
        t.startAt(StartX, StartY);
        recordsBefore = t.records().size();
    }
    TestSession t;
    size_t recordsBefore = 0;
};

TEST(Columns, CellsDrawInTheColumnCutToItAndLeaveOneRecordOfTheWholeText)
{
    // clang-format off
    const struct {
        const char *name;
        CellCall call;         ///< in column 1
        float drawnX, drawnY;  ///< the text's top-left corner, from the margins
        float cursorX, cursorY;
        float valB, valC;      ///< valA is the column, valE the TRUNC flag
        const char *text = "abc"; ///< 6 mm wide, 4 mm high; recorded whole
        const char *drawn = text;
    } rows[] = {
        {"LCol at the left edge", {Cell::L}, 10.2f, 16, 16.2f, 20, 0, -1},
        {"LCol AddX", {Cell::L, 5}, 15.2f, 16, 21.2f, 20, 5, -1},
        {"LCol at PosY", {Cell::L, 0, 40}, 10.2f, 36, 16.2f, 40, 0, 40},
        {"LCol PosY on the current line is kept", {Cell::L, 0, StartY}, 10.2f, 16, 16.2f, 20, 0, StartY},
        {"LCol NaN PosY", {Cell::L, 0, NaN}, 10.2f, 16, 16.2f, 20, 0, -1},
        {"RCol SubX 2", {Cell::R, 2}, 51.8f, 16, 57.8f, 20, 2, -1},
        {"CCol centred", {Cell::C}, 32.2f, 16, StartX, 20, StartY, 0},
        {"CCol PosY on the current line", {Cell::C, 0, StartY}, 32.2f, 16, StartX, 20, -1, 0},
        {"CCol at PosY", {Cell::C, 0, 40}, 32.2f, 36, StartX, 40, 40, 0},
        // 60 mm of text in the 50 mm column
        {"LCol cut to 49.8 mm", {Cell::L}, 10.2f, 16, 58.2f, 20, 0, -1, Long, "abcdefghijklmnopqrstu..."},
        {"LCol AddX cut to 39.8 mm", {Cell::L, 10}, 20.2f, 16, 58.2f, 20, 10, -1, Long, "abcdefghijklmnop..."},
        {"RCol SubX cut to 45.8 mm", {Cell::R, 4}, 11.8f, 16, 55.8f, 20, 4, -1, Long, "abcdefghijklmnopqrs..."},
        {"CCol cut to 49.8 mm, centred", {Cell::C}, 11.2f, 16, StartX, 20, StartY, 0, Long, "abcdefghijklmnopqrstu..."},
        {"LCol overflows past the column", {Cell::L, 0, -1, false}, 10.2f, 16, 70.2f, 20, 0, -1, Long},
        {"RCol overflows into the margin", {Cell::R, 0, -1, false}, -0.2f, 16, 59.8f, 20, 0, -1, Long},
        {"CCol overflows on both sides", {Cell::C, 0, -1, false}, 5.2f, 16, StartX, 20, StartY, 0, Long},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        ColumnTable table;
        TestSession &t = table.t;
        writeCell(t.composer, row.call, 1, row.text);
        const auto prints = t.pageSurface.callsOf("print");
        ASSERT_EQ(prints.size(), 1u);
        EXPECT_EQ(prints[0].text, row.drawn);
        EXPECT_NEAR(prints[0].args[0], 10 + row.drawnX, ToleranceMm);
        EXPECT_NEAR(prints[0].args[1], 10 + row.drawnY, ToleranceMm);
        EXPECT_NEAR(t.composer.CurX(), row.cursorX, ToleranceMm);
        EXPECT_NEAR(t.composer.CurY(), row.cursorY, ToleranceMm);
        EXPECT_EQ(t.records().size(), table.recordsBefore + 1) << "the text command inside records nothing";
        const int op = row.call.kind == Cell::L   ? RecColLeft
                       : row.call.kind == Cell::R ? RecColRight
                                                  : RecColCenter;
        EXPECT_EQ(fieldsOf(t.lastRecord()),
                  (RecordFields{op, 1, row.valB, row.valC, 0, row.text, row.call.TRUNC}));
    }
}

TEST(Columns, CellsOutsideTheTableDrawAndRecordNothing)
{
    for (const Cell kind : {Cell::L, Cell::R, Cell::C}) {
        for (const int NCol : {0, -5, 3, 21}) {
            SCOPED_TRACE(::testing::Message() << "kind " << int(kind) << " column " << NCol);
            ColumnTable table;
            table.t.composer.NewCol(70, 20);
            table.t.pageSurface.calls.clear();
            writeCell(table.t.composer, {kind}, NCol, "abc");
            EXPECT_TRUE(table.t.pageSurface.calls.empty());
            EXPECT_EQ(table.t.records().size(), table.recordsBefore + 1) << "only the NewCol";
            EXPECT_NEAR(table.t.composer.CurX(), StartX, ToleranceMm);
        }
    }
}

TEST(Columns, TwentyAtMostNoneAfterANewPageAndAZeroWidthOneCutsAll)
{
    ColumnTable table;
    TestSession &t = table.t;
    for (int n = 2; n <= MaxColumns + 1; ++n)
        t.composer.NewCol(static_cast<float>(5 * n), n == MaxColumns ? 0 : 10);
    EXPECT_EQ(t.state().NumCols, MaxColumns);
    EXPECT_EQ(t.records().size(), table.recordsBefore + MaxColumns - 1) << "the 21st is not recorded";
    t.composer.LCol(21, "abc");
    EXPECT_TRUE(t.pageSurface.texts().empty());
    t.composer.LCol(20, "abc");
    for (const std::string &text : t.pageSurface.texts())
        EXPECT_EQ(text, "") << "no width: everything is cut";
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecColLeft, 20, 0, -1, 0, "abc", 1}));
    EXPECT_NEAR(t.composer.CurX(), 100.2f, ToleranceMm) << "the cursor rules run with the empty text";

    t.composer.PNP();
    t.pageSurface.calls.clear();
    t.composer.LCol(1, "abc");
    EXPECT_TRUE(t.pageSurface.calls.empty()) << "a new page starts with no columns";
}

} // namespace
