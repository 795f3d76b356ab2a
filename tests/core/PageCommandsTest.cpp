// Pages, their measures and defaults, and the shapes and pictures drawn on
// them, checked on the spool records, the listing state and the surface's calls
// (ReplayTest checks that replay makes the same call). Numbers that are not
// numbers are fuzzed (fuzz/composer_fuzz.cpp).

#include "render/PageRenderer.h"
#include "render/SetupSurface.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr int16_t KeepPaper = -1, Custom = 256;

TEST(SetupSurface, MeasuresThePageAndBorderInWholeMillimetres)
{
    // clang-format off
    // loadedPaper: in the printer before set-up.
    const struct { const char *name; FakePrinter::PaperMm loadedPaper; double borderMm; uint8_t orientation;
                   int16_t paperCode; float pageW, pageH, offset; } rows[] = {
        {"A4 landscape swaps", {210, 297}, 4, 2, 9, 297, 210, 4},
        {"-1 measures what is loaded", {148, 210}, 0, 1, KeepPaper, 148, 210, 0},
        {"a refused code measures what is loaded", {148, 210}, 0, 1, 70, 148, 210, 0},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        FakePrinter printer(row.loadedPaper.width, row.loadedPaper.height, row.borderMm);
        Session session;
        session.printer = &printer;
        ListingState &s = session.state;
        s.PrtOri = row.orientation;
        s.PrtPaper = row.paperCode;
        SetupSurface(session);
        EXPECT_EQ(s.PageW, row.pageW);
        EXPECT_EQ(s.PageH, row.pageH);
        EXPECT_NEAR(s.OffX, row.offset, 0.01f);
        EXPECT_NEAR(s.OffY, row.offset, 0.01f);
        EXPECT_EQ(printer.endDocs, 1) << "a job in progress is ended first";
    }
}

TEST(SetCustomPaper, ReportsAndAppliesOnlyWhatTheDeviceTakes)
{
    // clang-format off
    const struct { const char *name; int widthMm, heightMm;
                   CustomPaperResult driverResult, expected; } rows[] = {
        {"largest that fits in tenths", 3276, 3276, CustomPaperApplied, CustomPaperApplied},
        {"3277 wide", 3277, 100, CustomPaperApplied, PaperSizeRefused},
        {"zero width", 0, 100, CustomPaperApplied, PaperSizeRefused},
        {"printer not opened", 100, 150, PrinterNotOpened, PrinterNotOpened},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        FakePrinter printer;
        printer.customPaperResult = row.driverResult;
        Session session;
        session.printer = &printer;
        EXPECT_EQ(SetCustomPaper(session, row.widthMm, row.heightMm), row.expected);
        const bool applied = row.expected == CustomPaperApplied;
        EXPECT_EQ(printer.paperSize(), applied ? Custom : 9);
        EXPECT_EQ(printer.paper.width, applied ? row.widthMm : 210);
        EXPECT_EQ(printer.killDocs, 1) << "the device is reset only without a job";
    }
    Session withoutPrinter;
    EXPECT_EQ(SetCustomPaper(withoutPrinter, 100, 150), PrinterNotOpened);
}

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
}

TEST(PMargins, TakeOffTheBorderAndPutTheCursorInTheCorner)
{
    // clang-format off
    const struct { const char *name; float top, left, bottom, right; // PMargins argument order
                   float leftMarg, topMarg, rightMarg, botMarg; } rows[] = {
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

// Shapes: margins are 10 mm on A4 without a border, so the margins' corner is (10, 10).
constexpr auto Line = static_cast<float>(LineKind::Line);
constexpr auto Box = static_cast<float>(LineKind::Box);

/// The drawing calls (not margin or font changes) on a surface.
std::vector<FakeSurface::Call> drawn(const FakeSurface &surface)
{
    std::vector<FakeSurface::Call> calls = surface.calls;
    std::erase_if(calls, [](const auto &call) { return call.op == "scale" || call.op == "font"; });
    return calls;
}

TEST(Shapes, RecordDrawAndReplayTheSameCall)
{
    // clang-format off
    // args: of the one drawing call; zoom: the preview multiplies the pen by it and records the whole part,
    // paper does not.
    const struct { const char *name; std::function<void(Composer &)> call; RecordFields recorded;
                   std::string op; std::vector<float> args; int drawWidth; float zoom = 1;
                   ListingMode mode = ListingMode::Preview; } rows[] = {
        {"box of no size: a point", [](Composer &c) { c.PBox(5, 7, 0, 0); }, {RecBox, 7, 5, 0, 0, "\x01", 0}, "line",
         {Line, 17, 15, 17, 15}, 1},
        {"flat box: a horizontal line", [](Composer &c) { c.PBox(5, 7, 0, 30, 2); }, {RecBox, 7, 5, 30, 0, "\x02", 0},
         "line", {Line, 17, 15, 47, 15}, 2},
        {"thin box: a vertical line", [](Composer &c) { c.PBox(5, 7, 12, 0); }, {RecBox, 7, 5, 0, 12, "\x01", 0},
         "line", {Line, 17, 15, 17, 27}, 1},
        {"box: x2, y2 are width and height", [](Composer &c) { c.PBox(5, 7, 12, 30, 4); },
         {RecBox, 7, 5, 30, 12, "\x04", 0}, "line", {Box, 17, 15, 47, 27}, 4},
        {"box at a negative corner: the print position", [](Composer &c) { c.PBox(-2, -3, 3, 4); },
         {RecBox, -3, -2, 4, 3, "\x01", 0}, "line", {Box, 10, 10, 14, 13}, 1},
        {"line: x2, y2 are the end point", [](Composer &c) { c.PLine(5, 7, 40, 90, 2); },
         {RecLine, 7, 5, 90, 40, "\x02", 0}, "line", {Line, 17, 15, 100, 50}, 2},
        {"circle around its centre", [](Composer &c) { c.PCircle(50, 60, 12.5f, 3); },
         {RecCircle, 60, 50, 12.5f, 0, "\x03", 0}, "circle", {70, 60, 12.5f}, 3},
        {"pen below 1 becomes 1", [](Composer &c) { c.PLine(1, 1, 2, 2, -9); }, {RecLine, 1, 1, 2, 2, "\x01", 0},
         "line", {Line, 11, 11, 12, 12}, 1},
        {"pen 255 is U+00FF, the widest a record carries", [](Composer &c) { c.PLine(1, 1, 2, 2, 255); },
         {RecLine, 1, 1, 2, 2, "\xC3\xBF", 0}, "line", {Line, 11, 11, 12, 12}, 255},
        {"pen 300 is drawn, recorded without a width", [](Composer &c) { c.PBox(1, 1, 2, 2, 300); },
         {RecBox, 1, 1, 2, 2, "", 0}, "line", {Box, 11, 11, 13, 13}, 300},
        {"zoom 2 in the preview", [](Composer &c) { c.PLine(1, 1, 5, 5, 3); }, {RecLine, 1, 1, 5, 5, "\x06", 0},
         "line", {Line, 11, 11, 15, 15}, 6, 2.0f},
        {"zoom 1.5: the whole part", [](Composer &c) { c.PLine(1, 1, 5, 5, 3); }, {RecLine, 1, 1, 5, 5, "\x04", 0},
         "line", {Line, 11, 11, 15, 15}, 4, 1.5f},
        {"zoom 0.1: never below 1", [](Composer &c) { c.PLine(1, 1, 5, 5, 3); }, {RecLine, 1, 1, 5, 5, "\x01", 0},
         "line", {Line, 11, 11, 15, 15}, 1, 0.1f},
        {"zoom 2 on paper: as given, nothing recorded", [](Composer &c) { c.PLine(1, 1, 5, 5, 3); }, {},
         "line", {Line, 11, 11, 15, 15}, 3, 2.0f, ListingMode::Direct},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TestSession t(row.mode);
        t.state().Zoom = row.zoom;
        row.call(t.composer);
        EXPECT_EQ(fieldsOf(t.lastRecord()), row.recorded);
        const auto calls = drawn(t.surfaceInUse());
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].op, row.op);
        EXPECT_EQ(calls[0].args, row.args);
        EXPECT_EQ(calls[0].pen.drawWidth, row.drawWidth);
        EXPECT_EQ(t.surfaceInUse().pen().drawWidth, 1) << "back to 1 after the shape";
    }
}

// A record made at zoom 1 is drawn zoomed in the preview, as given on paper.
TEST(Shapes, ReplayZoomsThePenInThePreviewOnly)
{
    TestSession t;
    t.composer.PLine(1, 1, 5, 5, 3);
    const SpoolRecord line = t.lastRecord();
    t.state().Spooling = false;
    t.state().Zoom = 2.0f;
    PageRenderer(t.session).dispatch(line);
    EXPECT_EQ(drawn(t.pageSurface).back().pen.drawWidth, 6);
    t.state().Preview = false;
    t.state().Surface = &t.printer.fakeSurface;
    PageRenderer(t.session).dispatch(line);
    EXPECT_EQ(drawn(t.printer.fakeSurface).back().pen.drawWidth, 3);
}

TEST(Pictures, TwoHundredAtTheirNaturalSizeAndNumbersOutOfRangeDrawNothing)
{
    TestSession t;
    for (int n = 1; n <= 201; ++n) // n x 2n mm; the 201st is refused
        t.composer.PNewImg(fakePicture(static_cast<float>(n), 2.0f * n));
    t.state().Zoom = 2.0f; // the page surface maps millimetres; the zoom is its business
    for (const int n : {201, 200, 0, -3})
        t.composer.PDrawImg(n, 0, 0);
    const auto pictures = t.pageSurface.callsOf("picture");
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].args, (std::vector<float>{10, 10, 200, 400}));
}

} // namespace
