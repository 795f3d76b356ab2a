// Boxes, lines, circles and pictures: the record each one leaves and the call
// it makes on the surface (ReplayTest checks that replay makes the same call).
// Margins are 10 mm on A4 without a border, so the margins' corner is (10, 10).

#include "compose/PenWidthCode.h"
#include "render/PageRenderer.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace quillet;
using namespace quillet::testing;

namespace {

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
    const struct {
        const char *name;
        std::function<void(Composer &)> call;
        RecordFields recorded;
        std::string op;
        std::vector<float> args; ///< of the one drawing call
        int drawWidth;
    } rows[] = {
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
        {"circle at a negative centre", [](Composer &c) { c.PCircle(-4, -5, 2); },
         {RecCircle, -5, -4, 2, 0, "\x01", 0}, "circle", {5, 6, 2}, 1},
        {"pen below 1 becomes 1", [](Composer &c) { c.PLine(1, 1, 2, 2, -9); }, {RecLine, 1, 1, 2, 2, "\x01", 0},
         "line", {Line, 11, 11, 12, 12}, 1},
        {"pen 255 is U+00FF, the widest a record carries", [](Composer &c) { c.PLine(1, 1, 2, 2, 255); },
         {RecLine, 1, 1, 2, 2, "\xC3\xBF", 0}, "line", {Line, 11, 11, 12, 12}, 255},
        {"pen 300 is drawn, recorded without a width", [](Composer &c) { c.PBox(1, 1, 2, 2, 300); },
         {RecBox, 1, 1, 2, 2, "", 0}, "line", {Box, 11, 11, 13, 13}, 300},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TestSession t;
        row.call(t.composer);
        EXPECT_EQ(fieldsOf(t.lastRecord()), row.recorded);
        const auto calls = drawn(t.pageSurface);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].op, row.op);
        EXPECT_EQ(calls[0].args, row.args);
        EXPECT_EQ(calls[0].pen.drawWidth, row.drawWidth);
        EXPECT_EQ(t.pageSurface.pen().drawWidth, 1) << "back to 1 after the shape";
    }
}

// The preview multiplies the pen by the zoom and records the whole part of that
// product (a NaN zoom gives the thinnest pen); the printer takes the width as given.
TEST(Shapes, PenScalesWithTheZoomInThePreviewOnly)
{
    // clang-format off
    const struct {
        ListingMode mode;
        float zoom;
        int Expe, drawWidth;
        std::string recorded;
    } rows[] = {
        {ListingMode::Preview, 2.0f, 3, 6, "\x06"},  {ListingMode::Preview, 1.5f, 3, 4, "\x04"},
        {ListingMode::Preview, 0.1f, 3, 1, "\x01"},  {ListingMode::Preview, 2.0f, 200, 400, ""},
        {ListingMode::Preview, std::numeric_limits<float>::quiet_NaN(), 3, 1, "\x01"}, // found by fuzzing
        {ListingMode::Direct, 2.0f, 3, 3, ""},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::Message() << "zoom " << row.zoom << " pen " << row.Expe);
        TestSession t(row.mode);
        t.state().Zoom = row.zoom;
        t.composer.PLine(1, 1, 5, 5, row.Expe);
        EXPECT_EQ(drawn(t.surfaceInUse()).at(0).pen.drawWidth, row.drawWidth);
        if (row.mode == ListingMode::Preview) {
            EXPECT_EQ(t.lastRecord().text, row.recorded);
        }
    }
    TestSession t; // a record made at zoom 1 is zoomed in the preview, not on paper
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
    EXPECT_EQ(t.state().NumImgs, 200);
    const int32_t slots = t.slotsWritten();
    t.composer.PDrawImg(201, 0, 0);
    EXPECT_EQ(t.slotsWritten(), slots) << "nothing recorded";
    t.state().Zoom = 2.0f; // the page surface maps millimetres; the zoom is its business
    t.composer.PDrawImg(200, 0, 0);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecImage, 0, 0, 200, 0, "", 0}));
    t.composer.PDrawImg(0, 5, 6);
    t.composer.PDrawImg(-3, 5, 6);
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecImage, 6, 5, -3, 0, "", 0})) << "recorded anyway";
    for (const bool replay : {false, true}) {
        if (replay) {
            t.endComposition();
            t.render(1);
        }
        const auto pictures = t.pageSurface.callsOf("picture");
        ASSERT_EQ(pictures.size(), 1u) << "replay " << replay;
        EXPECT_EQ(pictures[0].args, (std::vector<float>{10, 10, 200, 400}));
    }
}

} // namespace
