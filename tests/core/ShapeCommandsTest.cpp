// Boxes, lines, circles and pictures: the record each one leaves, the call it
// makes on the surface, and the same call again when the record is replayed.
// Margins are 10 mm on A4 without a border, so the margins' corner is (10, 10).

#include "compose/PenWidthCode.h"
#include "render/PageRenderer.h"
#include "support/FakePicture.h"
#include "support/RowName.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quillet;
using namespace quillet::testing;

namespace {

using quillet::testing::PrintTo; // rows print as their names

constexpr int Line = static_cast<int>(LineKind::Line);
constexpr int Box = static_cast<int>(LineKind::Box);

/// The drawing calls (not margin or font changes) made since the log was cleared.
std::vector<FakeSurface::Call> drawn(const FakeSurface &surface)
{
    std::vector<FakeSurface::Call> calls;
    for (const auto &call : surface.calls)
        if (call.op != "scale" && call.op != "font")
            calls.push_back(call);
    return calls;
}

struct ShapeRow {
    const char *name;
    std::function<void(Composer &)> call;
    RecordFields recorded;
    std::string op;
    std::vector<float> args; ///< of the one drawing call
    int drawWidth;
    const char *reason;
};

const ShapeRow shapeRows[] = {
    {"BoxOfNoSize",
     [](Composer &c) { c.PBox(5, 7, 0, 0); },
     {RecBox, 7, 5, 0, 0, "\x01", 0},
     "line",
     {Line, 17, 15, 17, 15},
     1,
     "a horizontal line of length 0 at the corner"},
    {"FlatBox",
     [](Composer &c) { c.PBox(5, 7, 0, 30, 2); },
     {RecBox, 7, 5, 30, 0, "\x02", 0},
     "line",
     {Line, 17, 15, 47, 15},
     2,
     "no height: a horizontal line x2 long"},
    {"ThinBox",
     [](Composer &c) { c.PBox(5, 7, 12, 0); },
     {RecBox, 7, 5, 0, 12, "\x01", 0},
     "line",
     {Line, 17, 15, 17, 27},
     1,
     "no width: a vertical line y2 long"},
    {"Box",
     [](Composer &c) { c.PBox(5, 7, 12, 30, 4); },
     {RecBox, 7, 5, 30, 12, "\x04", 0},
     "line",
     {Box, 17, 15, 47, 27},
     4,
     "x2 and y2 are width and height"},
    {"BoxAtThePrintPosition",
     [](Composer &c) { c.PBox(0, 0, 3, 4); },
     {RecBox, -1, -1, 4, 3, "\x01", 0},
     "line",
     {Box, 10, 10, 14, 13},
     1,
     "the print position is recorded as -1"},
    {"BoxAtNegativeCorner",
     [](Composer &c) { c.PBox(-2, -3, 3, 4); },
     {RecBox, -3, -2, 4, 3, "\x01", 0},
     "line",
     {Box, 10, 10, 14, 13},
     1,
     "negative means the print position"},
    {"Line",
     [](Composer &c) { c.PLine(5, 7, 40, 90, 2); },
     {RecLine, 7, 5, 90, 40, "\x02", 0},
     "line",
     {Line, 17, 15, 100, 50},
     2,
     "x2, y2 are the end point, not sizes"},
    {"LinePenLeftOut",
     [](Composer &c) { c.PLine(1, 2, 3, 4); },
     {RecLine, 2, 1, 4, 3, "\x01", 0},
     "line",
     {Line, 12, 11, 14, 13},
     1,
     "Expe left out draws 1 wide"},
    {"Circle",
     [](Composer &c) { c.PCircle(50, 60, 12.5f, 3); },
     {RecCircle, 60, 50, 12.5f, 0, "\x03", 0},
     "circle",
     {70, 60, 12.5f},
     3,
     "around its centre"},
    {"CircleAtNegativeCentre",
     [](Composer &c) { c.PCircle(-4, -5, 2); },
     {RecCircle, -5, -4, 2, 0, "\x01", 0},
     "circle",
     {5, 6, 2},
     1,
     "negative positions mean nothing special"},
    {"PenZero",
     [](Composer &c) { c.PCircle(1, 1, 1, 0); },
     {RecCircle, 1, 1, 1, 0, "\x01", 0},
     "circle",
     {11, 11, 1},
     1,
     "below 1 becomes 1"},
    {"PenNegative",
     [](Composer &c) { c.PLine(1, 1, 2, 2, -9); },
     {RecLine, 1, 1, 2, 2, "\x01", 0},
     "line",
     {Line, 11, 11, 12, 12},
     1,
     "below 1 becomes 1"},
    {"Pen255",
     [](Composer &c) { c.PLine(1, 1, 2, 2, 255); },
     {RecLine, 1, 1, 2, 2, "\xC3\xBF", 0},
     "line",
     {Line, 11, 11, 12, 12},
     255,
     "the widest a record carries: U+00FF"},
    {"Pen300",
     [](Composer &c) { c.PBox(1, 1, 2, 2, 300); },
     {RecBox, 1, 1, 2, 2, "", 0},
     "line",
     {Box, 11, 11, 13, 13},
     300,
     "drawn at 300, recorded without a width"},
};

class Shape : public ::testing::TestWithParam<ShapeRow> {};

TEST_P(Shape, RecordsDrawsAndReplaysTheSameCall)
{
    const ShapeRow &row = GetParam();
    SCOPED_TRACE(row.reason);
    TestSession t;
    t.pageSurface.calls.clear();
    row.call(t.composer);

    const SpoolRecord recorded = t.lastRecord();
    EXPECT_EQ(fieldsOf(recorded), row.recorded);
    auto calls = drawn(t.pageSurface);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].op, row.op);
    EXPECT_EQ(calls[0].args, row.args);
    EXPECT_EQ(calls[0].pen.drawWidth, row.drawWidth);
    EXPECT_EQ(t.pageSurface.pen().drawWidth, 1) << "back to 1 after the shape";

    t.state().Spooling = false;
    t.pageSurface.calls.clear();
    PageRenderer(t.session).dispatch(recorded);
    calls = drawn(t.pageSurface);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].op, row.op);
    EXPECT_EQ(calls[0].args, row.args);
    EXPECT_EQ(calls[0].pen.drawWidth, std::min(row.drawWidth, MaxRecordedPenWidth))
        << "a record without a width replays at 255";
    EXPECT_EQ(t.pageSurface.pen().drawWidth, 1);
}

INSTANTIATE_TEST_SUITE_P(ShapeRecords, Shape, ::testing::ValuesIn(shapeRows), RowName());

TEST(ShapeAtThePrintPosition, FollowsThePrintPositionOnReplay)
{
    TestSession t;
    Composer &c = t.composer;
    c.PNL(7);
    c.L("abc");
    c.PBox(c.CurY(), c.CurX(), 4, 10);
    const SpoolRecord box = t.lastRecord();
    EXPECT_EQ(fieldsOf(box), (RecordFields{RecBox, -1, -1, 10, 4, "\x01", 0}));

    t.state().Spooling = false;
    c.PNL(5);
    c.L("abcd");
    t.pageSurface.calls.clear();
    PageRenderer(t.session).dispatch(box);
    EXPECT_EQ(drawn(t.pageSurface).at(0).args, (std::vector<float>{Box, 18, 22, 28, 26}))
        << "at the new print position (10 + 8, 10 + 7 + 5)";
}

struct ZoomRow {
    const char *name;
    ListingMode mode;
    float zoom;
    int Expe;
    int drawWidth;
    std::string recorded; ///< empty in direct mode, which records nothing
};

// The preview multiplies the pen by the zoom, keeps the whole part and records
// that product; the printer takes the width as given.
const ZoomRow zoomRows[] = {
    {"PreviewAtZoom2", ListingMode::Preview, 2.0f, 3, 6, "\x06"},
    {"PreviewAtZoom1", ListingMode::Preview, 1.0f, 3, 3, "\x03"},
    {"PreviewAtZoom1_5RoundsDown", ListingMode::Preview, 1.5f, 3, 4, "\x04"},
    {"PreviewAtZoom0_1StaysVisible", ListingMode::Preview, 0.1f, 3, 1, "\x01"},
    {"PreviewAtZoom2PastTheRecord", ListingMode::Preview, 2.0f, 200, 400, ""},
    {"DirectIgnoresTheZoom", ListingMode::Direct, 2.0f, 3, 3, ""},
};

class ShapePenZoom : public ::testing::TestWithParam<ZoomRow> {};

TEST_P(ShapePenZoom, ScalesThePenInThePreviewOnly)
{
    const ZoomRow &row = GetParam();
    TestSession t(row.mode);
    t.state().Zoom = row.zoom;
    t.composer.PLine(1, 1, 5, 5, row.Expe);
    auto &surface = static_cast<FakeSurface &>(*t.state().Surface);
    EXPECT_EQ(drawn(surface).at(0).pen.drawWidth, row.drawWidth);
    if (row.mode == ListingMode::Preview) {
        EXPECT_EQ(t.lastRecord().text, row.recorded);
    }
}

INSTANTIATE_TEST_SUITE_P(ShapeWidths, ShapePenZoom, ::testing::ValuesIn(zoomRows), RowName());

TEST(ShapePenReplay, ARecordMadeAtZoom1IsZoomedInThePreviewAndNotOnPaper)
{
    TestSession t;
    t.composer.PLine(1, 1, 5, 5, 3);
    const SpoolRecord line = t.lastRecord();
    ASSERT_EQ(line.text, "\x03");
    t.state().Spooling = false;

    t.state().Zoom = 2.0f;
    PageRenderer(t.session).dispatch(line);
    EXPECT_EQ(drawn(t.pageSurface).back().pen.drawWidth, 6);

    t.state().Preview = false;
    t.state().Surface = &t.printer.fakeSurface;
    PageRenderer(t.session).dispatch(line);
    EXPECT_EQ(drawn(t.printer.fakeSurface).back().pen.drawWidth, 3);
}

TEST(ShapePen, PDrawWithoutArgumentsIsSolidCopyPen)
{
    TestSession t;
    t.composer.PDraw(2, 7);
    t.composer.PDraw();
    EXPECT_EQ(t.pageSurface.pen().drawStyle, 0);
    EXPECT_EQ(t.pageSurface.pen().drawMode, 13);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecDraw, 0, 13, 0, 0, "", 0}));
}

/// A preview listing with pictures of 1 x 2, 2 x 4, ... n x 2n millimetres.
class ShapePictures : public ::testing::Test {
protected:
    void registerPictures(int count)
    {
        for (int n = 1; n <= count; ++n)
            t.composer.PNewImg(fakePicture(static_cast<float>(n), 2.0f * n));
    }
    std::vector<FakeSurface::Call> pictures() const { return t.pageSurface.callsOf("picture"); }

    TestSession t;
};

TEST_F(ShapePictures, TwoHundredAreKeptAndThe201stIsRefused)
{
    registerPictures(200);
    t.composer.PNewImg(fakePicture(999, 999));
    EXPECT_EQ(t.state().NumImgs, 200);
    const int32_t slots = t.slotsWritten();

    t.composer.PDrawImg(201, 0, 0);
    EXPECT_TRUE(pictures().empty());
    EXPECT_EQ(t.slotsWritten(), slots) << "nothing recorded";

    t.composer.PDrawImg(200, 0, 0);
    ASSERT_EQ(pictures().size(), 1u);
    EXPECT_EQ(pictures()[0].args, (std::vector<float>{10, 10, 200, 400}));
}

TEST_F(ShapePictures, NumberOneAtTheMarginsCornerAtItsNaturalSizeAtAnyZoom)
{
    registerPictures(1);
    t.state().Zoom = 2.0f; // the page surface maps millimetres; the zoom is its business
    t.composer.PDrawImg(1, 0, 0);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecImage, 0, 0, 1, 0, "", 0}));
    ASSERT_EQ(pictures().size(), 1u);
    EXPECT_EQ(pictures()[0].args, (std::vector<float>{10, 10, 1, 2}));
}

TEST_F(ShapePictures, NumberZeroOrBelowDrawsNothingButIsRecorded)
{
    registerPictures(1);
    for (int number : {0, -3}) {
        t.composer.PDrawImg(number, 5, 6);
        EXPECT_EQ(fieldsOf(t.lastRecord()),
                  (RecordFields{RecImage, 6, 5, static_cast<float>(number), 0, "", 0}));
    }
    t.state().Spooling = false;
    for (const SpoolRecord &r : t.pageRecords(1))
        PageRenderer(t.session).dispatch(r);
    EXPECT_TRUE(pictures().empty()) << "neither when composed nor on replay";
}

TEST_F(ShapePictures, OnePictureOnThreePagesIsDrawnOnEachReplay)
{
    registerPictures(1);
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            t.composer.PNP();
        t.composer.PDrawImg(1, 10.0f * page, 5);
    }
    ListingState &s = t.state();
    s.Spooling = false;
    s.NumPages = s.CurPage;
    for (int page : {2, 1, 3, 2}) {
        s.CurPage = static_cast<int16_t>(page);
        t.pageSurface.calls.clear();
        PageRenderer(t.session).render();
        ASSERT_EQ(pictures().size(), 1u) << "page " << page;
        EXPECT_EQ(pictures()[0].args, (std::vector<float>{15, 10 + 10.0f * page, 1, 2})) << "page " << page;
    }
}

} // namespace
