// Cursor, lines, pages and margins: PNL, PNP, PMargins and the page defaults,
// checked on the spool records and the listing state.

#include "support/RowName.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace quillet;
using namespace quillet::testing;

namespace {

using quillet::testing::PrintTo; // rows print as their names

constexpr float Tolerance = 0.01f;  // the printer reports whole twips (0.018 mm)
constexpr float LineHeight12pt = 4; // the fake surface: 12 pt / 3

const RecordFields pageDefaults[] = {
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

const std::vector<RecordFields> defaultsOfAPage(std::begin(pageDefaults), std::end(pageDefaults));

TEST(ListingDefaults, RecordTheEightPageDefaultsInOrder)
{
    TestSession t;
    const auto records = t.records();
    EXPECT_EQ(fieldsOfAll(records), defaultsOfAPage);
    for (const auto &record : records)
        EXPECT_EQ(record.page, 1);
}

TEST(ListingDefaults, PutEverySettingOfTheLastPageBack)
{
    TestSession t(ListingMode::Preview, 4);
    Composer &c = t.composer;
    c.PMargins(20, 30, 20, 30);
    c.PColor(0xFF);
    c.PFill(0x00FF00, 0);
    c.PFont("Arial", 20, true, true, false);
    c.PFix(true, false);
    c.PAlign(-2);
    c.PDraw(2, 7);
    c.NewCol(10, 50);
    c.PNP();

    const ListingState &s = t.state();
    EXPECT_NEAR(s.LeftMarg, 6, Tolerance);
    EXPECT_NEAR(s.TopMarg, 6, Tolerance);
    EXPECT_EQ(s.CursorX, s.LeftMarg) << "cursor at the 10 mm corner again";
    EXPECT_EQ(s.CursorY, s.TopMarg);
    EXPECT_FALSE(s.FixX);
    EXPECT_TRUE(s.FixY);
    EXPECT_EQ(s.AlignMode, 2);
    EXPECT_EQ(s.NumCols, 0);
    const SurfacePen &pen = t.pageSurface.pen();
    EXPECT_EQ(pen.foreColor, 0);
    EXPECT_EQ(pen.fillColor, 0);
    EXPECT_EQ(pen.fillStyle, 1);
    EXPECT_EQ(pen.drawStyle, 0);
    EXPECT_EQ(pen.drawMode, 13);
    const SurfaceFont &font = t.pageSurface.font();
    EXPECT_EQ(font.name, "Times New Roman");
    EXPECT_EQ(font.size, 12);
    EXPECT_FALSE(font.bold);
    EXPECT_FALSE(font.italic);
    EXPECT_TRUE(font.transparent);
}

TEST(PNP, IndexesTheSlotOfThePagesFirstRecord)
{
    TestSession t;
    const int32_t nextSlot = t.slotsWritten() + 1;
    t.composer.PNP();
    ASSERT_EQ(t.state().PageIndex, (std::vector<int32_t>{1, nextSlot}));
    EXPECT_EQ(t.state().CurPage, 2);

    t.session.spool->seek(nextSlot);
    const auto first = t.session.spool->read();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->page, 2);
    EXPECT_EQ(fieldsOf(*first), pageDefaults[0]);
}

TEST(PNP, ThreePagesLaterTheIndexHasFourEntriesAndEveryPageItsDefaults)
{
    TestSession t;
    for (int i = 0; i < 3; ++i)
        t.composer.PNP();
    EXPECT_EQ(t.state().CurPage, 4);
    ASSERT_EQ(t.state().PageIndex.size(), 4u);
    for (int page = 1; page <= 4; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(fieldsOfAll(t.pageRecords(page)), defaultsOfAPage)
            << "two PNP in a row leave only the defaults";
    }
}

TEST(PNP, LastPageRunsOnInsteadOfOverflowing)
{
    TestSession t;
    t.state().CurPage = MaxPages - 1;
    t.composer.PNP();
    ASSERT_EQ(t.state().CurPage, MaxPages);
    const auto indexSize = t.state().PageIndex.size();
    t.composer.PNP();
    t.composer.PNL(7);

    EXPECT_EQ(t.state().CurPage, MaxPages);
    EXPECT_EQ(t.state().PageIndex.size(), indexSize) << "no second entry for the same page";
    // The last page keeps every record: both sets of defaults and the new line.
    std::vector<SpoolRecord> lastPage;
    for (auto &record : t.records())
        if (record.page == MaxPages)
            lastPage.push_back(record);
    ASSERT_EQ(lastPage.size(), 2 * defaultsOfAPage.size() + 1);
    EXPECT_EQ(fieldsOf(lastPage.back()), (RecordFields{RecNewLine, 7, 0, 0, 0, "", 0}));
}

TEST(PNP, DirectModeStartsAPrinterPageAndRecordsNothing)
{
    TestSession t(ListingMode::Direct);
    t.composer.PNP();
    t.composer.PNP();
    EXPECT_EQ(t.printer.newPages, 2);
    EXPECT_EQ(t.state().CurPage, 3);
    EXPECT_TRUE(t.state().PageIndex.empty());
    EXPECT_EQ(t.session.spool, nullptr);
}

TEST(PNP, PreviewNeverTouchesThePrinterPage)
{
    TestSession t;
    t.composer.PNP();
    EXPECT_EQ(t.printer.newPages, 0);
}

class RecordingEvents : public ListingEvents {
public:
    void pageStarted(int page) override { pages.push_back(page); }
    std::vector<int> pages;
};

struct PageReportRow {
    const char *name;
    ListingMode mode;
    bool showWait;
    bool reported;
};

const PageReportRow pageReportRows[] = {
    {"PreviewAlways", ListingMode::Preview, false, true},
    {"DirectWithWaitDialog", ListingMode::Direct, true, true},
    {"DirectWithoutWaitDialog", ListingMode::Direct, false, false},
};

class PNPReport : public ::testing::TestWithParam<PageReportRow> {};

TEST_P(PNPReport, TellsTheWaitDialogTheNewPage)
{
    TestSession t(GetParam().mode);
    RecordingEvents events;
    t.session.events = &events;
    t.state().ShowWait = GetParam().showWait;
    t.composer.PNP();
    EXPECT_EQ(events.pages, GetParam().reported ? std::vector<int>{2} : std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(Modes, PNPReport, ::testing::ValuesIn(pageReportRows), quillet::testing::RowName());

struct MarginRow {
    const char *name;
    float top, left, bottom, right; // PMargins argument order
    float leftMarg, topMarg, rightMarg, botMarg;
    const char *reason;
};

const MarginRow marginRows[] = {
    {"TenMillimetres", 10, 10, 10, 10, 6, 6, 6, 6, "the 4 mm border is taken off"},
    {"Zero", 0, 0, 0, 0, 0, 0, 0, 0, "below the border means 0, not -4"},
    {"BelowTheBorder", 3, 2, 1, 3.99f, 0, 0, 0, 0, "text starts at the edge of the printable area"},
    {"EqualToTheBorder", 4, 4, 4, 4, 0, 0, 0, 0, "exactly the border"},
    {"EachSideItsOwn", 30, 20, 15, 25, 16, 26, 21, 11, "arguments are top, left, bottom, right"},
};

class PMargins : public ::testing::TestWithParam<MarginRow> {};

TEST_P(PMargins, TakeOffTheBorderAndPutTheCursorInTheCorner)
{
    const MarginRow &row = GetParam();
    SCOPED_TRACE(row.reason);
    TestSession t(ListingMode::Preview, 4);
    const ListingState &s = t.state();
    ASSERT_NEAR(s.OffX, 4, Tolerance);
    ASSERT_NEAR(s.OffY, 4, Tolerance);
    t.state().CursorX = 77;
    t.state().CursorY = 88;
    t.composer.PMargins(row.top, row.left, row.bottom, row.right);

    EXPECT_NEAR(s.LeftMarg, row.leftMarg, Tolerance);
    EXPECT_NEAR(s.TopMarg, row.topMarg, Tolerance);
    EXPECT_NEAR(s.RightMarg, row.rightMarg, Tolerance);
    EXPECT_NEAR(s.BotMarg, row.botMarg, Tolerance);
    EXPECT_NEAR(t.composer.mx(), 210 - row.leftMarg - row.rightMarg - 8, 2 * Tolerance);
    EXPECT_NEAR(t.composer.MY(), 297 - row.topMarg - row.botMarg - 8, 2 * Tolerance);
    EXPECT_EQ(t.composer.CurX(), 0);
    EXPECT_EQ(t.composer.CurY(), 0);
    EXPECT_EQ(fieldsOf(t.lastRecord()),
              (RecordFields{RecMargins, row.left, row.top, row.right, row.bottom, "", 0}))
        << "recorded as given, before the border is taken off";
}

INSTANTIATE_TEST_SUITE_P(Margins, PMargins, ::testing::ValuesIn(marginRows), quillet::testing::RowName());

TEST(PMarginsPreview, MapsThePageSoThatZeroIsThePrintableCorner)
{
    TestSession t(ListingMode::Preview, 4);
    const auto scales = t.pageSurface.callsOf("scale");
    ASSERT_FALSE(scales.empty());
    const std::vector<float> expected{-4, -4, 206, 293}; // the whole sheet, printable width + border
    ASSERT_EQ(scales.back().args.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(scales.back().args[i], expected[i], Tolerance) << i;
}

TEST(PMarginsDirect, LeavesThePreviewPageAlone)
{
    TestSession t(ListingMode::Direct, 4);
    EXPECT_TRUE(t.pageSurface.callsOf("scale").empty());
    EXPECT_NEAR(t.state().LeftMarg, 6, Tolerance) << "the margins themselves are set";
}

struct NewLineRow {
    const char *name;
    float skip;
    float advance;
};

const NewLineRow newLineRows[] = {
    {"NoArgumentMeasuresOneLine", 0, LineHeight12pt},
    {"FiveMillimetresDown", 5, 5},
    {"NegativeMovesUp", -5, -5},
};

class PNL : public ::testing::TestWithParam<NewLineRow> {};

TEST_P(PNL, MovesDownByTheAdvanceAndRecordsIt)
{
    TestSession t;
    t.state().CursorX = 50;
    const float y = t.state().CursorY;
    t.composer.PNL(GetParam().skip);
    EXPECT_FLOAT_EQ(t.state().CursorY, y + GetParam().advance);
    EXPECT_EQ(t.state().CursorX, t.state().LeftMarg) << "back to the left margin";
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecNewLine, GetParam().advance, 0, 0, 0, "", 0}))
        << "the measured height is recorded, so replay keeps it";
}

INSTANTIATE_TEST_SUITE_P(Skips, PNL, ::testing::ValuesIn(newLineRows), quillet::testing::RowName());

TEST(PNLLineHeight, FollowsTheCurrentFont)
{
    TestSession t;
    t.composer.PFont("", 24);
    const float y = t.state().CursorY;
    t.composer.PNL();
    EXPECT_FLOAT_EQ(t.state().CursorY - y, 8);
}

// Host numbers that are not numbers must neither poison the geometry nor reach the spool.
struct BadNumberRow {
    const char *name;
    std::function<void(Composer &)> call;
};

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float Huge = std::numeric_limits<float>::max();

const BadNumberRow badNumberRows[] = {
    {"PNLNaN", [](Composer &c) { c.PNL(NaN); }},
    {"PNLInfinity", [](Composer &c) { c.PNL(Inf); }},
    {"PNLMinusInfinity", [](Composer &c) { c.PNL(-Inf); }},
    {"PNLHugeTwice",
     [](Composer &c) {
         c.PNL(Huge);
         c.PNL(Huge);
     }},
    {"PMarginsNaNTop", [](Composer &c) { c.PMargins(NaN, 10, 10, 10); }},
    {"PMarginsInfiniteRight", [](Composer &c) { c.PMargins(10, 10, 10, Inf); }},
    {"PMarginsHuge", [](Composer &c) { c.PMargins(Huge, Huge, -Huge, -Huge); }},
    {"PFontNaNSize", [](Composer &c) { c.PFont("Arial", NaN); }},
    {"PFontInfiniteSize", [](Composer &c) { c.PFont("Arial", Inf); }},
    {"PFontHugeSize", [](Composer &c) { c.PFont("Arial", Huge); }},
};

class BadNumbers : public ::testing::TestWithParam<BadNumberRow> {};

TEST_P(BadNumbers, LeaveStateAndSpoolFinite)
{
    TestSession t;
    GetParam().call(t.composer);
    t.composer.PNL();

    const ListingState &s = t.state();
    for (float value : {s.CursorX, s.CursorY, s.LeftMarg, s.TopMarg, s.RightMarg, s.BotMarg, s.UseW, s.UseH})
        EXPECT_TRUE(std::isfinite(value)) << value;
    const float fontSize = t.pageSurface.font().size;
    EXPECT_TRUE(std::isfinite(fontSize) && fontSize > 0) << fontSize;
    for (const auto &record : t.records())
        for (float value : {record.valA, record.valB, record.valC, record.valD, record.valE})
            EXPECT_TRUE(std::isfinite(value)) << "op " << int{record.op} << ": " << value;
    EXPECT_TRUE(std::isfinite(t.composer.NLines()));
}

INSTANTIATE_TEST_SUITE_P(Calls, BadNumbers, ::testing::ValuesIn(badNumberRows), quillet::testing::RowName());

TEST(BadNumbersIgnored, NaNMarginsChangeNothingAndRecordNothing)
{
    TestSession t;
    const int32_t slots = t.slotsWritten();
    const float left = t.state().LeftMarg, y = t.state().CursorY;
    t.composer.PMargins(NaN, 0, 0, 0);
    t.composer.PNL(NaN);
    EXPECT_EQ(t.slotsWritten(), slots);
    EXPECT_EQ(t.state().LeftMarg, left);
    EXPECT_EQ(t.state().CursorY, y);
}

} // namespace
