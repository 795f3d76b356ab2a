// Paper, orientation and page measures: what SetupSurface reads from the
// printer, and how it applies custom paper.

#include "render/SetupSurface.h"

#include "compose/Session.h"
#include "support/FakePrinter.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr int16_t KeepPaper = -1, Custom = 256;

TEST(SetupSurface, MeasuresThePageAndBorderInWholeMillimetres)
{
    // clang-format off
    const struct {
        const char *name;
        FakePrinter::PaperMm loadedPaper; ///< in the printer before set-up
        double borderMm;
        uint8_t orientation;
        int16_t paperCode, customW, customH;
        float pageW, pageH, offset;
    } rows[] = {
        {"A4 portrait", {210, 297}, 4, 1, 9, 0, 0, 210, 297, 4},
        {"A4 landscape swaps", {210, 297}, 4, 2, 9, 0, 0, 297, 210, 4},
        {"Letter: 2159 tenths up, 2794 down", {210, 297}, 0, 1, 1, 0, 0, 216, 279, 0},
        {"A3 from A4: the code changes the paper", {210, 297}, 2, 1, 8, 0, 0, 297, 420, 2},
        {"-1 measures what is loaded", {148, 210}, 0, 1, KeepPaper, 0, 0, 148, 210, 0},
        {"a refused code measures what is loaded", {148, 210}, 0, 1, 70, 0, 0, 148, 210, 0},
        {"a refused orientation measures portrait", {210, 297}, 0, 3, 9, 0, 0, 210, 297, 0},
        {"2104 tenths -> 210", {210.45, 297}, 0, 1, KeepPaper, 0, 0, 210, 297, 0},
        {"2105 tenths -> 211", {210.55, 297}, 0, 1, KeepPaper, 0, 0, 211, 297, 0},
        {"custom, whatever the orientation", {210, 297}, 0, 2, Custom, 100, 150, 100, 150, 0},
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
        s.PaperW = row.customW;
        s.PaperH = row.customH;
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
    const struct {
        const char *name;
        int widthMm, heightMm;
        CustomPaperResult driverResult, expected;
    } rows[] = {
        {"largest that fits in tenths", 3276, 3276, CustomPaperApplied, CustomPaperApplied},
        {"3277 wide", 3277, 100, CustomPaperApplied, PaperSizeRefused},
        {"3277 high", 100, 3277, CustomPaperApplied, PaperSizeRefused},
        {"zero width", 0, 100, CustomPaperApplied, PaperSizeRefused},
        {"negative height", 100, -5, CustomPaperApplied, PaperSizeRefused},
        {"printer not opened", 100, 150, PrinterNotOpened, PrinterNotOpened},
        {"settings unreadable", 100, 150, PrinterSettingsUnreadable, PrinterSettingsUnreadable},
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

} // namespace
