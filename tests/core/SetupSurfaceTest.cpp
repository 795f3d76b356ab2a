// Paper, orientation and page measures: what SetupSurface reads from the
// printer, and how it applies custom paper.

#include "render/SetupSurface.h"

#include "compose/Session.h"
#include "support/FakePrinter.h"
#include "support/RowName.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::testing;

namespace {

using quillet::testing::PrintTo; // rows print as their names

constexpr float Tolerance = 0.01f; // the printer reports whole twips (0.018 mm)
constexpr int16_t KeepPaper = -1;
constexpr int16_t Custom = 256;

struct PaperRow {
    const char *name;
    FakePrinter::PaperMm loadedPaper; ///< in the printer before set-up
    double borderMm;
    uint8_t orientation;
    int16_t paperCode;
    int16_t customW, customH;
    float pageW, pageH, offX, offY;
    const char *reason;
};

const PaperRow paperRows[] = {
    {"A4Portrait", {210, 297}, 4, 1, 9, 0, 0, 210, 297, 4, 4, "printable width 202 mm"},
    {"A4Landscape", {210, 297}, 4, 2, 9, 0, 0, 297, 210, 4, 4, "width and height swap"},
    {"LetterRoundsEachSideItsWay", {210, 297}, 0, 1, 1, 0, 0, 216, 279, 0, 0, "2159 tenths up, 2794 down"},
    {"A3FromA4", {210, 297}, 2, 1, 8, 0, 0, 297, 420, 2, 2, "the code changes the paper"},
    {"KeepThePrintersPaper", {148, 210}, 0, 1, KeepPaper, 0, 0, 148, 210, 0, 0, "-1 measures what is loaded"},
    {"RefusedCodeMeasuresThePaperLoaded", {148, 210}, 0, 1, 70, 0, 0, 148, 210, 0, 0, "no error, no change"},
    {"RefusedOrientationMeasuresPortrait", {210, 297}, 0, 3, 9, 0, 0, 210, 297, 0, 0, "only 1 and 2 exist"},
    {"JustBelowHalfAMillimetre", {210.45, 297}, 0, 1, KeepPaper, 0, 0, 210, 297, 0, 0, "2104 tenths -> 210"},
    {"HalfAMillimetreRoundsUp", {210.55, 297}, 0, 1, KeepPaper, 0, 0, 211, 297, 0, 0, "2105 tenths -> 211"},
    {"CustomPortrait", {210, 297}, 0, 1, Custom, 100, 150, 100, 150, 0, 0, "the size the host asked for"},
    {"CustomLandscape", {210, 297}, 0, 2, Custom, 100, 150, 100, 150, 0, 0, "whatever the orientation"},
};

class SetupSurfacePaper : public ::testing::TestWithParam<PaperRow> {};

TEST_P(SetupSurfacePaper, MeasuresThePageAndBorder)
{
    const PaperRow &row = GetParam();
    SCOPED_TRACE(row.reason);
    FakePrinter printer(row.loadedPaper.width, row.loadedPaper.height, row.borderMm);
    Session session;
    session.printer = &printer;
    ListingState &s = session.state;
    s.PrtOri = row.orientation;
    s.PrtPaper = row.paperCode;
    s.PaperW = row.customW;
    s.PaperH = row.customH;

    SetupSurface(session);

    EXPECT_EQ(s.PageW, row.pageW);
    EXPECT_EQ(s.PageH, row.pageH);
    EXPECT_NEAR(s.OffX, row.offX, Tolerance);
    EXPECT_NEAR(s.OffY, row.offY, Tolerance);
    EXPECT_EQ(printer.endDocs, 1) << "a job in progress is ended first";
}

INSTANTIATE_TEST_SUITE_P(Papers, SetupSurfacePaper, ::testing::ValuesIn(paperRows),
                         quillet::testing::RowName());

TEST(SetupSurface, AppliesCustomPaperToThePrinter)
{
    FakePrinter printer;
    Session session;
    session.printer = &printer;
    session.state.PrtPaper = Custom;
    session.state.PaperW = 100;
    session.state.PaperH = 150;
    SetupSurface(session);
    EXPECT_EQ(printer.paperSize(), Custom);
    EXPECT_EQ(printer.paper.width, 100);
    EXPECT_EQ(printer.paper.height, 150);
    EXPECT_EQ(printer.killDocs, 1) << "the device is reset only without a job";
}

TEST(SetupSurface, PrinterThatCannotBeMeasuredKeepsTheEarlierValues)
{
    FakePrinter printer(0, 0);
    Session session;
    session.printer = &printer;
    ListingState &s = session.state;
    s.PrtPaper = KeepPaper;
    s.PageW = 123;
    s.PageH = 456;
    s.OffX = 7;
    s.OffY = 8;
    SetupSurface(session);
    EXPECT_EQ(s.PageW, 123);
    EXPECT_EQ(s.PageH, 456);
    EXPECT_EQ(s.OffX, 7);
    EXPECT_EQ(s.OffY, 8);
}

struct CustomPaperRow {
    const char *name;
    int widthMm, heightMm;
    CustomPaperResult driverResult;
    CustomPaperResult expected;
    bool applied;
};

const CustomPaperRow customPaperRows[] = {
    {"Ordinary", 100, 150, CustomPaperApplied, CustomPaperApplied, true},
    {"LargestThatFitsInTenths", 3276, 3276, CustomPaperApplied, CustomPaperApplied, true},
    {"WidthOver3276", 3277, 100, CustomPaperApplied, PaperSizeRefused, false},
    {"HeightOver3276", 100, 3277, CustomPaperApplied, PaperSizeRefused, false},
    {"ZeroWidth", 0, 100, CustomPaperApplied, PaperSizeRefused, false},
    {"NegativeHeight", 100, -5, CustomPaperApplied, PaperSizeRefused, false},
    {"PrinterNotOpened", 100, 150, PrinterNotOpened, PrinterNotOpened, false},
    {"SettingsUnreadable", 100, 150, PrinterSettingsUnreadable, PrinterSettingsUnreadable, false},
};

class SetCustomPaperSizes : public ::testing::TestWithParam<CustomPaperRow> {};

TEST_P(SetCustomPaperSizes, ReportsAndAppliesOnlyWhatTheDeviceTakes)
{
    const CustomPaperRow &row = GetParam();
    FakePrinter printer;
    printer.customPaperResult = row.driverResult;
    Session session;
    session.printer = &printer;

    EXPECT_EQ(SetCustomPaper(session, row.widthMm, row.heightMm), row.expected);
    EXPECT_EQ(printer.paperSize(), row.applied ? Custom : 9);
    EXPECT_EQ(printer.paper.width, row.applied ? row.widthMm : 210);
    EXPECT_EQ(printer.killDocs, 1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SetCustomPaperSizes, ::testing::ValuesIn(customPaperRows),
                         quillet::testing::RowName());

TEST(SetCustomPaper, WithoutAPrinterReportsItCouldNotBeOpened)
{
    Session session;
    EXPECT_EQ(SetCustomPaper(session, 100, 150), PrinterNotOpened);
}

} // namespace
