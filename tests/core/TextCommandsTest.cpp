// Single-line text: page markers, cutting to a width, where L, R and C put a
// text and the print position, what they record, how the text engine aligns
// and backs a text, and the font and alignment commands. The fake surface
// makes every character 2 mm wide and a 12 pt line 4 mm high; margins are 10 mm.

#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <limits>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float ToleranceMm = 1e-3f;

TEST(Markers, ResolveAsTheModeRequires)
{
    enum Mode { Composing, Direct, Replay, Printing };
    // clang-format off
    const struct {
        Mode mode;
        const char *text, *expected, *reason;
    } rows[] = {
        {Composing, "Page PRICOCO of TRICOCO", "Page PRICOCO of TRICOCO", "the page count is unknown until Show"},
        {Direct, "Page PRICOCO of TRICOCO", "Page 3 of *", "no page count exists in direct mode"},
        {Replay, "Page PRICOCO of TRICOCO", "Page 3 of 12", "replay on the preview"},
        {Printing, "Page PRICOCO of TRICOCO", "Page 3 of 12", "Preview is off while printing, the spool open"},
        {Replay, "Seite pRiCoCo von tricoco.", "Seite 3 von 12.", "any case; the rest keeps its case"},
        {Direct, "TRICOCOPRICOCO", "*3", "adjacent markers"},
        {Replay, "TRITRICOCOCOCO", "TRI12COCO", "digits put in never make a new marker"},
        {Replay, "Página PRICOCO — TRICOCO", "Página 3 — 12", "among multi-byte characters"},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.reason);
        TestSession t(row.mode == Direct ? ListingMode::Direct : ListingMode::Preview);
        t.state().Spooling = row.mode == Composing;
        t.state().Preview = row.mode != Printing && row.mode != Direct;
        t.state().CurPage = 3;
        t.state().NumPages = 12;
        EXPECT_EQ(t.composer.ExpandMarkers(row.text), row.expected);
    }
}

TEST(FitText, KeepsTheLongestPrefixThatFitsWithTheEllipsis)
{
    // clang-format off
    const struct {
        const char *text;
        float widthMm;
        const char *expected, *reason;
    } rows[] = {
        // "..." is 6 mm wide.
        {"abcde", 10, "abcde", "equal width counts as fitting"},
        {"abcde", 9.99f, "a...", "4 characters fit, only 1 with the ellipsis"},
        {"abcdefghij", 12, "abc...", "the longest prefix that fits with the ellipsis"},
        {"abcdef", 7.9f, "abc", "3 characters fit, none with the ellipsis: cut bare"},
        {"abc", 1.9f, "", "not even one character"},
        {"abc", NaN, "", "nothing is at most NaN wide"},
        {"abc", Inf, "abc", "infinite width"},
        {"äöüßäöü", 12, "äöü...", "widths count characters, cuts fall between them"},
        {"𝄞𝄞𝄞𝄞𝄞", 8, "𝄞...", "four-byte characters"},
        {"ab\xE2\x82", 6, "ab\xE2", "a cut-off sequence counts byte by byte"},
    };
    // clang-format on
    for (const bool byPrefix : {false, true}) {
        TestSession t;
        t.pageSurface.measuresEachPrefix = byPrefix;
        for (const auto &row : rows)
            EXPECT_EQ(t.composer.FitText(row.text, row.widthMm), row.expected) << row.reason << byPrefix;
    }
}

struct PointMm {
    float x = 0, y = 0;
};

constexpr float StartX = 30, StartY = 20;

TEST(TextPlacement, LRAndCPlaceCutRecordAndMoveThePrintPosition)
{
    // clang-format off
    const struct {
        const char *name;
        char command;
        float PosY, PosX, WidOrMaxX;
        bool FixX, FixY;
        PointMm drawnAt, cursor; ///< from the margins
        float valA, valB, valC, valE;
        const char *text = "abcde"; ///< 10 mm wide, 4 mm high; recorded whole
        const char *drawn = text;
    } rows[] = {
        // L: starts at PosX, moves past the text unless FixX
        {"L at the print position", 'L', -1, -1, 0, false, true, {30, 16}, {40, 20}, -1, 20, 0, 0},
        {"L at PosX", 'L', -1, 50, 0, false, true, {50, 16}, {60, 20}, 50, 20, 0, 0},
        {"L PosX at the print position", 'L', -1, StartX, 0, false, true, {30, 16}, {40, 20}, -1, 20, 0, 0},
        {"L NaN PosX", 'L', -1, NaN, 0, false, true, {30, 16}, {40, 20}, -1, 20, 0, 0},
        {"L infinite PosX", 'L', -1, Inf, 0, false, true, {30, 16}, {40, 20}, -1, 20, 0, 0},
        {"L PosY on the current line", 'L', StartY, -1, 0, false, true, {30, 16}, {40, 20}, -1, -1, 0, 0},
        {"L FixX", 'L', -1, 50, 0, true, true, {50, 16}, {50, 20}, 50, 20, 0, 0},
        {"L not FixY at PosY", 'L', 40, -1, 0, false, false, {30, 36}, {40, 44}, -1, 40, 0, 0},
        {"L Wid wide enough", 'L', -1, -1, 20, false, true, {30, 16}, {40, 20}, -1, 20, 0, 20},
        {"L cut to Wid, moves past what is drawn", 'L', -1, -1, 20, false, true, {30, 16}, {50, 20}, -1, 20, 0, 20,
         "abcdefghijklmno", "abcdefg..."},
        {"L negative Wid draws nothing", 'L', -1, -1, -5, false, true, {30, 16}, {30, 20}, -1, 20, 0, -5, "abc", ""},
        // R: ends at PosX and puts the print position there whatever FixX says
        {"R at the print position, ending there", 'R', -1, -1, 0, false, true, {20, 16}, {30, 20}, -1, 20, 0, 0},
        {"R at PosX, FixX", 'R', -1, 100, 0, true, true, {90, 16}, {100, 20}, 100, 20, 0, 0},
        {"R not FixY at PosY", 'R', 40, 100, 0, false, false, {90, 36}, {100, 44}, 100, 40, 0, 0},
        {"R cut to Wid, ends at PosX", 'R', -1, 100, 12, false, true, {88, 16}, {100, 20}, 100, 20, 0, 12,
         "abcdefghij", "abc..."},
        // C: centred 0.2 mm right of the middle; PosX kept even at the print position; CursorX stays
        {"C between the margins", 'C', -1, -1, -1, false, true, {90.2f, 16}, {30, 20}, -1, 20, -1, 0},
        {"C between PosX and MaxX", 'C', -1, 20, 60, false, true, {35.2f, 16}, {30, 20}, 20, 20, 60, 0},
        {"C MaxX = usable width", 'C', -1, -1, 190, false, true, {90.2f, 16}, {30, 20}, -1, 20, -1, 0},
        {"C PosX at the print position", 'C', -1, StartX, -1, false, true, {105.2f, 16}, {30, 20}, StartX, 20, -1, 0},
        {"C PosY on the current line", 'C', StartY, -1, -1, false, true, {90.2f, 16}, {30, 20}, -1, -1, -1, 0},
        {"C not FixY at PosY", 'C', 40, -1, -1, true, false, {90.2f, 36}, {30, 44}, -1, 40, -1, 0},
        {"C empty text", 'C', -1, -1, -1, false, true, {95.2f, 16}, {30, 20}, -1, 20, -1, 0, ""},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TestSession t;
        t.startAt(StartX, StartY);
        t.state().FixX = row.FixX;
        t.state().FixY = row.FixY;
        const size_t recordsBefore = t.records().size();
        const auto command = row.command == 'L'   ? &Composer::L
                             : row.command == 'R' ? &Composer::R
                                                  : &Composer::C;
        (t.composer.*command)(row.text, row.PosY, row.PosX, row.WidOrMaxX);

        const auto prints = t.pageSurface.callsOf("print");
        ASSERT_EQ(prints.size(), 1u);
        EXPECT_EQ(prints[0].text, row.drawn);
        EXPECT_NEAR(prints[0].args[0], 10 + row.drawnAt.x, ToleranceMm);
        EXPECT_NEAR(prints[0].args[1], 10 + row.drawnAt.y, ToleranceMm);
        EXPECT_NEAR(t.composer.CurX(), row.cursor.x, ToleranceMm);
        EXPECT_NEAR(t.composer.CurY(), row.cursor.y, ToleranceMm);
        EXPECT_EQ(t.records().size(), recordsBefore + 1);
        const int op = row.command == 'L' ? RecTextLeft : row.command == 'R' ? RecTextRight : RecTextCenter;
        EXPECT_EQ(fieldsOf(t.lastRecord()),
                  (RecordFields{op, row.valA, row.valB, row.valC, 0, row.text, row.valE}));
    }
}

// A 12 pt line on the fake: ascent 3.2 mm, descent 0.8 mm. A text never rises
// above the top margin: it pushes the print line down instead.
TEST(EmitText, AlignsTheTextOnThePrintLineButNeverAboveTheTopMargin)
{
    // clang-format off
    const struct {
        int16_t AlignMode;
        float lineMm; ///< the print line, below the top margin
        bool FixY;
        float topMm, lineAfterMm; ///< the text's top and the print line afterwards
    } rows[] = {
        {2, 20, true, 16, 20},         {1, 20, true, 16.8f, 20},  {-1, 20, true, 19.2f, 20},
        {-2, 20, true, 20, 20},        {0, 20, true, 20, 20},     {2, 1, true, 0, 4},
        {2, 1, false, 0, 8},           {1, 1, true, 0, 4 - 0.8f}, {-1, 0.5f, false, 0, 8 - 3.2f},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << "align " << row.AlignMode << " line " << row.lineMm << " FixY " << row.FixY);
        TestSession t;
        t.state().AlignMode = row.AlignMode;
        t.state().FixY = row.FixY;
        t.pageSurface.calls.clear();
        t.composer.L("abc", row.lineMm);
        EXPECT_NEAR(t.pageSurface.callsOf("print").at(0).args[1], 10 + row.topMm, ToleranceMm);
        EXPECT_NEAR(t.composer.CurY(), row.lineAfterMm, ToleranceMm);
    }
}

TEST(EmitText, PaintsTheTextsBoxInTheFillColourFirstWhenOpaqueOnAFill)
{
    constexpr int Red = 0x0000FF, Green = 0x00FF00;
    for (const auto &[fillStyle, transparentFont, painted] :
         {std::tuple{2, false, true}, {1, false, false}, {0, true, false}}) {
        SCOPED_TRACE(::testing::Message() << "fill " << fillStyle << " transparent " << transparentFont);
        TestSession t;
        t.composer.PColor(Red);
        t.composer.PFill(Green, fillStyle);
        t.composer.PFont("", 0, false, false, transparentFont);
        t.pageSurface.calls.clear();
        t.composer.L("abcde", 20, 30); // 10 x 4 mm, top-left at (40, 26)
        const auto &calls = t.pageSurface.calls;
        const auto print = t.pageSurface.callsOf("print").at(0);
        EXPECT_EQ(print.args, (std::vector<float>{40, 26}));
        EXPECT_EQ(print.pen.foreColor, Red);
        EXPECT_EQ(t.pageSurface.font().transparent, transparentFont) << "the font comes back";
        if (!painted) {
            EXPECT_EQ(calls.size(), 1u) << "only the text";
            continue;
        }
        ASSERT_EQ(calls.size(), 4u) << "font, box, text, font";
        EXPECT_EQ(calls[1].args, (std::vector<float>{float(LineKind::BoxRelative), 40, 26, 10, 4}));
        EXPECT_EQ(calls[1].pen.foreColor, Green);
        EXPECT_TRUE(print.font.transparent) << "the text goes on top of the box";
    }
}

TEST(PFont, SetsTheSurfaceFontAndRecordsTheCall)
{
    // clang-format off
    const struct {
        const char *reason;
        ListingMode mode;
        float zoom;
        std::function<void(Composer &)> call;
        SurfaceFont expected;  ///< on the surface afterwards
        RecordFields recorded; ///< ignored in direct mode
    } rows[] = {
        {"the size in force survives a new name; bold and italic go off", ListingMode::Preview, 1,
         [](Composer &c) { c.PFont("Arial"); }, {"Arial", 12, false, false, true}, {RecFont, 0, 0, 0, 1, "Arial", 0}},
        {"the preview shows the zoomed size, the spool keeps the size asked for", ListingMode::Preview, 1.5f,
         [](Composer &c) { c.PFont("", 10); }, {"Times New Roman", 15, false, false, true},
         {RecFont, 10, 0, 0, 1, "", 0}},
        {"a size <= 0 keeps the size and records 0", ListingMode::Preview, 1,
         [](Composer &c) { c.PFont("Courier New", -3, true); }, {"Courier New", 12, true, false, true},
         {RecFont, 0, 1, 0, 1, "Courier New", 0}},
        {"bold, italic, transparent recorded", ListingMode::Preview, 1,
         [](Composer &c) { c.PFont("Arial", 9, false, true, false); }, {"Arial", 9, false, true, false},
         {RecFont, 9, 0, 1, 0, "Arial", 0}},
        {"the zoom belongs to the preview", ListingMode::Direct, 1.5f, [](Composer &c) { c.PFont("", 10); },
         {"Times New Roman", 10, false, false, true}, {}},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.reason);
        TestSession t(row.mode);
        t.composer.PFont("Times New Roman", 12, true, true, false); // so that turning these off shows
        t.state().Zoom = row.zoom;
        row.call(t.composer);
        const SurfaceFont &f = t.state().Surface->font(), &e = row.expected;
        EXPECT_EQ(std::tie(f.name, f.size, f.bold, f.italic, f.transparent),
                  std::tie(e.name, e.size, e.bold, e.italic, e.transparent));
        if (row.mode == ListingMode::Preview) {
            EXPECT_EQ(fieldsOf(t.lastRecord()), row.recorded);
        }
    }
}

TEST(PAlign, TakesOnlyTheFourModes)
{
    for (const int value : {-2, -1, 1, 2, 0, 3, -3, INT_MIN, INT_MAX}) {
        TestSession t;
        t.composer.PAlign(-1);
        const int32_t slots = t.slotsWritten();
        t.composer.PAlign(value);
        const bool accepted = value >= -2 && value <= 2 && value != 0;
        EXPECT_EQ(t.state().AlignMode, accepted ? value : -1) << value;
        EXPECT_EQ(t.slotsWritten(), slots + accepted) << value;
    }
}

} // namespace
