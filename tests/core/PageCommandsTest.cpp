// Cursor, lines, pages and margins: PNL, PNP, PMargins and the page defaults,
// checked on the spool records and the listing state. Numbers that are not
// numbers are fuzzed (fuzz/composer_fuzz.cpp).

#include "support/TestSession.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr float Tolerance = 0.01f; // the printer reports whole twips (0.018 mm)

const std::vector<RecordFields> pageDefaults = {
    {RecMargins, 10, 10, 10, 10, "", 0}, // L, T, R, B as the host gave them
    {RecColor, 0, 0, 0, 0, "", 0},
    {RecFill, 0, 1, 0, 0, "", 0},
    {RecFont, 12, 0, 0, 1, "Times New Roman", 0},
    {RecFix, 0, 1, 0, 0, "", 0},
    {RecAlign, 2, 0, 0, 0, "", 0},
    {RecDraw, 0, 13, 0, 0, "", 0},
    {RecClsCols, 0, 0, 0, 0, "", 0},
};

std::vector<RecordFields> fieldsOfAll(const std::vector<SpoolRecord> &records)
{
    std::vector<RecordFields> fields;
    for (const auto &record : records)
        fields.push_back(fieldsOf(record));
    return fields;
}

TEST(PNP, EveryPageStartsWithTheDefaultsAndItsFirstSlotIsIndexed)
{
    TestSession t;
    EXPECT_EQ(fieldsOfAll(t.records()), pageDefaults);
    Composer &c = t.composer;
    c.PFix(true, false);
    c.PAlign(-2);
    c.NewCol(10, 50);
    const ListingState &s = t.state();
    const auto switches = [&s] { return std::make_tuple(s.FixX, s.FixY, s.AlignMode, s.NumCols); };
    EXPECT_EQ(switches(), std::make_tuple(true, false, int16_t(-2), int16_t(1)));
    const int32_t page2 = t.slotsWritten() + 1;
    c.PNP();
    c.PNP();
    EXPECT_EQ(s.PageIndex, (std::vector<int32_t>{1, page2, page2 + 9}));
    EXPECT_EQ(fieldsOfAll(t.pageRecords(2)), pageDefaults);
    EXPECT_EQ(t.pageRecords(2).at(0).page, 2);
    EXPECT_EQ(fieldsOfAll(t.pageRecords(3)), pageDefaults);

    EXPECT_EQ(switches(), std::make_tuple(false, true, int16_t(2), int16_t(0)))
        << "the state follows the records";
    EXPECT_EQ(t.printer.newPages, 0) << "the preview never touches the printer";
}

TEST(PMargins, TakeOffTheBorderAndPutTheCursorInTheCorner)
{
    // clang-format off
    const struct {
        const char *name;
        float top, left, bottom, right; // PMargins argument order
        float leftMarg, topMarg, rightMarg, botMarg;
    } rows[] = {
        {"10 mm less the 4 mm border", 10, 10, 10, 10, 6, 6, 6, 6},
        {"below the border means 0, not less", 3, 2, 1, 3.99f, 0, 0, 0, 0},
        {"each side its own: top, left, bottom, right", 30, 20, 15, 25, 16, 26, 21, 11},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TestSession t(ListingMode::Preview, 4);
        const ListingState &s = t.state();
        t.state().CursorX = 77;
        t.state().CursorY = 88;
        t.composer.PMargins(row.top, row.left, row.bottom, row.right);
        EXPECT_NEAR(s.LeftMarg, row.leftMarg, Tolerance);
        EXPECT_NEAR(s.TopMarg, row.topMarg, Tolerance);
        EXPECT_NEAR(s.RightMarg, row.rightMarg, Tolerance);
        EXPECT_NEAR(s.BotMarg, row.botMarg, Tolerance);
        EXPECT_NEAR(t.composer.mx(), 210 - row.leftMarg - row.rightMarg - 8, 2 * Tolerance);
        EXPECT_NEAR(t.composer.MY(), 297 - row.topMarg - row.botMarg - 8, 2 * Tolerance);
        EXPECT_EQ(std::make_pair(t.composer.CurX(), t.composer.CurY()), std::make_pair(0.0f, 0.0f));
        EXPECT_EQ(fieldsOf(t.lastRecord()),
                  (RecordFields{RecMargins, row.left, row.top, row.right, row.bottom, "", 0}))
            << "recorded as given";
        // The preview page maps the whole sheet so that 0 is the printable corner.
        const std::vector<float> scale = t.pageSurface.callsOf("scale").back().args;
        EXPECT_NEAR(scale[0], -4, Tolerance);
        EXPECT_NEAR(scale[3], 293, Tolerance);
    }
    TestSession direct(ListingMode::Direct, 4);
    EXPECT_TRUE(direct.pageSurface.callsOf("scale").empty()) << "direct mode leaves the preview page alone";
}

TEST(PNL, MovesDownByTheSkipOrOneLineOfTheFontAndRecordsTheAdvance)
{
    for (const auto &[fontSize, skip, advance] :
         {std::tuple{12.0f, 0.0f, 4.0f}, {24.0f, 0.0f, 8.0f}, {12.0f, 5.0f, 5.0f}, {12.0f, -5.0f, -5.0f}}) {
        TestSession t;
        t.composer.PFont("", fontSize);
        t.state().CursorX = 50;
        const float y = t.state().CursorY;
        t.composer.PNL(skip);
        EXPECT_FLOAT_EQ(t.state().CursorY, y + advance);
        EXPECT_EQ(t.state().CursorX, t.state().LeftMarg) << "back to the left margin";
        EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecNewLine, advance, 0, 0, 0, "", 0}))
            << "the measured height is recorded, so replay keeps it";
    }
}

} // namespace
