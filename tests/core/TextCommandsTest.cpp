// Texts on the page, what each records and where it leaves the print position
// (replay is checked in ReplayTest). The fake surface makes every character
// 2 mm wide and a 12 pt line 4 mm high; margins are 10 mm.

#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr float ToleranceMm = 1e-3f;
constexpr float StartX = 30, StartY = 20; ///< print position before each case, from the margins

struct PointMm {
    float x = 0, y = 0;
};

TEST(Markers, ResolveAsTheModeRequires)
{
    enum Mode { Composing, Direct, Replay }; // replay and printing are also in ReplayTest
    // clang-format off
    const struct { Mode mode; const char *text, *expected, *reason; } rows[] = {
        {Composing, "Page PRICOCO of TRICOCO", "Page PRICOCO of TRICOCO", "the page count is unknown until Show"},
        {Direct, "Page PRICOCO of TRICOCO", "Page 3 of *", "no page count exists in direct mode"},
        {Replay, "Seite pRiCoCo von tricoco.", "Seite 3 von 12.", "any case; the rest keeps its case"},
        {Direct, "TRICOCOPRICOCO", "*3", "adjacent markers"},
        {Replay, "TRITRICOCOCOCO", "TRI12COCO", "digits put in never make a new marker"},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.reason);
        TestSession t(row.mode == Direct ? ListingMode::Direct : ListingMode::Preview);
        t.state().Spooling = row.mode == Composing;
        t.state().CurPage = 3;
        t.state().NumPages = 12;
        EXPECT_EQ(t.composer.ExpandMarkers(row.text), row.expected);
    }
}

TEST(FitText, KeepsTheLongestPrefixThatFitsWithTheEllipsis)
{
    // clang-format off
    const struct { const char *text; float widthMm; const char *expected, *reason; } rows[] = {
        // "..." is 6 mm wide.
        {"abcde", 10, "abcde", "equal width counts as fitting"},
        {"abcdef", 7.9f, "abc", "3 characters fit, none with the ellipsis: cut bare"},
        {"abc", 1.9f, "", "not even one character"},
        {"äöüßäöü", 12, "äöü...", "widths count characters, cuts fall between them"},
        {"𝄞𝄞𝄞𝄞𝄞", 8, "𝄞...", "four-byte characters"},
    };
    // clang-format on
    for (const bool byPrefix : {false, true}) {
        TestSession t;
        t.pageSurface.measuresEachPrefix = byPrefix;
        for (const auto &row : rows)
            EXPECT_EQ(t.composer.FitText(row.text, row.widthMm), row.expected) << row.reason << byPrefix;
    }
}

constexpr const char *Long = "abcdefghijklmnopqrstuvwxyz0123"; ///< 60 mm

/// Column 1 from 10 to 60 mm right of the left margin, the print position at (StartX, StartY).
void openTable(TestSession &t)
{
    t.composer.NewCol(10, 50);
    t.startAt(StartX, StartY);
}

using Text = const char *;

// Texts and the cells of column 1, each from the print position of openTable.
TEST(TextPlacement, TextsAndCellsPlaceCutRecordAndMoveThePrintPosition)
{
    // clang-format off
    // Positions from the margins; the record but for its text, the one given, recorded whole; "abcde" is
    // 10 mm wide and 4 mm high.
    const struct { const char *name; void (*command)(TestSession &, Text); PointMm drawnAt, cursor;
                   RecordFields recorded; Text text = "abcde"; Text drawn = text; } rows[] = {
        // L: starts at PosX, moves past the text unless FixX
        {"L at PosX", [](TestSession &t, Text s) { t.composer.L(s, -1, 50); }, {50, 16}, {60, 20},
         {RecTextLeft, 50, 20, 0, 0, "", 0}},
        {"L FixX", [](TestSession &t, Text s) { t.state().FixX = true; t.composer.L(s, -1, 50); }, {50, 16}, {50, 20},
         {RecTextLeft, 50, 20, 0, 0, "", 0}},
        {"L not FixY at PosY", [](TestSession &t, Text s) { t.state().FixY = false; t.composer.L(s, 40); }, {30, 36},
         {40, 44}, {RecTextLeft, -1, 40, 0, 0, "", 0}},
        {"L cut to Wid, moves past what is drawn", [](TestSession &t, Text s) { t.composer.L(s, -1, -1, 20); },
         {30, 16}, {50, 20}, {RecTextLeft, -1, 20, 0, 0, "", 20}, "abcdefghijklmno", "abcdefg..."},
        // R: ends at PosX and puts the print position there whatever FixX says
        {"R at the print position, ending there", [](TestSession &t, Text s) { t.composer.R(s); }, {20, 16}, {30, 20},
         {RecTextRight, -1, 20, 0, 0, "", 0}},
        {"R at PosX, FixX", [](TestSession &t, Text s) { t.state().FixX = true; t.composer.R(s, -1, 100); }, {90, 16},
         {100, 20}, {RecTextRight, 100, 20, 0, 0, "", 0}},
        {"R cut to Wid, ends at PosX", [](TestSession &t, Text s) { t.composer.R(s, -1, 100, 12); }, {88, 16},
         {100, 20}, {RecTextRight, 100, 20, 0, 0, "", 12}, "abcdefghij", "abc..."},
        // C: centred 0.2 mm right of the middle; PosX kept even at the print position; CursorX stays
        {"C between the margins", [](TestSession &t, Text s) { t.composer.C(s); }, {90.2f, 16}, {30, 20},
         {RecTextCenter, -1, 20, -1, 0, "", 0}},
        {"C between PosX and MaxX", [](TestSession &t, Text s) { t.composer.C(s, -1, 20, 60); }, {35.2f, 16}, {30, 20},
         {RecTextCenter, 20, 20, 60, 0, "", 0}},
        {"C PosX at the print position", [](TestSession &t, Text s) { t.composer.C(s, -1, StartX); }, {105.2f, 16},
         {30, 20}, {RecTextCenter, StartX, 20, -1, 0, "", 0}},
        // Cells: valA is the column, valE the TRUNC flag
        {"LCol at PosY", [](TestSession &t, Text s) { t.composer.LCol(1, s, 0, 40); }, {10.2f, 36}, {20.2f, 40},
         {RecColLeft, 1, 0, 40, 0, "", 1}},
        // 60 mm of text in the 50 mm column
        {"LCol cut to 49.8 mm", [](TestSession &t, Text s) { t.composer.LCol(1, s); }, {10.2f, 16}, {58.2f, 20},
         {RecColLeft, 1, 0, -1, 0, "", 1}, Long, "abcdefghijklmnopqrstu..."},
        {"LCol AddX cut to 39.8 mm", [](TestSession &t, Text s) { t.composer.LCol(1, s, 10); }, {20.2f, 16},
         {58.2f, 20}, {RecColLeft, 1, 10, -1, 0, "", 1}, Long, "abcdefghijklmnop..."},
        {"RCol SubX cut to 45.8 mm", [](TestSession &t, Text s) { t.composer.RCol(1, s, 4); }, {11.8f, 16},
         {55.8f, 20}, {RecColRight, 1, 4, -1, 0, "", 1}, Long, "abcdefghijklmnopqrs..."},
        {"CCol cut to 49.8 mm, centred", [](TestSession &t, Text s) { t.composer.CCol(1, s); }, {11.2f, 16},
         {StartX, 20}, {RecColCenter, 1, StartY, 0, 0, "", 1}, Long, "abcdefghijklmnopqrstu..."},
        {"LCol overflows past the column", [](TestSession &t, Text s) { t.composer.LCol(1, s, 0, -1, false); },
         {10.2f, 16}, {70.2f, 20}, {RecColLeft, 1, 0, -1, 0, "", 0}, Long},
        {"RCol overflows into the margin", [](TestSession &t, Text s) { t.composer.RCol(1, s, 0, -1, false); },
         {-0.2f, 16}, {59.8f, 20}, {RecColRight, 1, 0, -1, 0, "", 0}, Long},
        {"CCol overflows on both sides", [](TestSession &t, Text s) { t.composer.CCol(1, s, -1, false); },
         {5.2f, 16}, {StartX, 20}, {RecColCenter, 1, StartY, 0, 0, "", 0}, Long},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TestSession t;
        openTable(t);
        const size_t recordsBefore = t.records().size();
        row.command(t, row.text);
        const auto prints = t.pageSurface.callsOf("print");
        ASSERT_EQ(prints.size(), 1u);
        EXPECT_EQ(prints[0].text, row.drawn);
        EXPECT_NEAR(prints[0].args[0], 10 + row.drawnAt.x, ToleranceMm);
        EXPECT_NEAR(prints[0].args[1], 10 + row.drawnAt.y, ToleranceMm);
        EXPECT_NEAR(t.composer.CurX(), row.cursor.x, ToleranceMm);
        EXPECT_NEAR(t.composer.CurY(), row.cursor.y, ToleranceMm);
        EXPECT_EQ(t.records().size(), recordsBefore + 1) << "a text command inside records nothing";
        RecordFields recorded = row.recorded;
        std::get<5>(recorded) = row.text;
        EXPECT_EQ(fieldsOf(t.lastRecord()), recorded);
    }
}

// A 12 pt line on the fake: ascent 3.2 mm, descent 0.8 mm. A text never rises
// above the top margin: it pushes the print line down instead.
// PAlign takes only -2, -1, 1 and 2; any other value keeps the mode in force (2).
TEST(EmitText, AlignsTheTextOnThePrintLineButNeverAboveTheTopMargin)
{
    // clang-format off
    // lineMm: the print line, below the top margin; topMm and lineAfterMm: the text's top and the print
    // line afterwards.
    const struct { int16_t AlignMode; float lineMm; bool FixY; float topMm, lineAfterMm; } rows[] = {
        {2, 20, true, 16, 20},         {1, 20, true, 16.8f, 20},  {-1, 20, true, 19.2f, 20},
        {-2, 20, true, 20, 20},        {0, 20, true, 16, 20},     {3, 20, true, 16, 20},
        {2, 1, true, 0, 4},            {2, 1, false, 0, 8},       {1, 1, true, 0, 4 - 0.8f},
        {-1, 0.5f, false, 0, 8 - 3.2f},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << "align " << row.AlignMode << " line " << row.lineMm << " FixY " << row.FixY);
        TestSession t;
        t.composer.PAlign(row.AlignMode);
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

// A size of 0 keeps the size in force and an empty name the name; bold and
// italic go off unless asked. The preview shows the zoomed size; the spool and
// the printer take the size asked for.
TEST(PFont, SetsTheSurfaceFontAndRecordsWhatWasAsked)
{
    const auto fields = [](const SurfaceFont &f) {
        return std::make_tuple(f.name, f.size, f.bold, f.italic, f.transparent);
    };
    for (const ListingMode mode : {ListingMode::Preview, ListingMode::Direct}) {
        TestSession t(mode);
        const float zoom = mode == ListingMode::Preview ? 1.5f : 1;
        t.state().Zoom = 1.5f;
        t.composer.PFont("Times New Roman", 12, true, true, false);
        t.composer.PFont("Arial");
        EXPECT_EQ(fields(t.surfaceInUse().font()), fields({"Arial", 12 * zoom, false, false, true}));
        t.composer.PFont("", 10, false, true);
        EXPECT_EQ(fields(t.surfaceInUse().font()), fields({"Arial", 10 * zoom, false, true, true}));
        if (mode == ListingMode::Preview) {
            EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecFont, 10, 0, 1, 1, "", 0}));
        }
    }
}

TEST(Columns, NoneOutsideTheTableTwentyAtMostAndAZeroWidthOneCutsAll)
{
    TestSession t;
    openTable(t);
    const size_t recordsBefore = t.records().size();
    for (const int NCol : {0, 2}) {
        t.composer.LCol(NCol, "abc");
        t.composer.RCol(NCol, "abc");
        t.composer.CCol(NCol, "abc");
    }
    EXPECT_TRUE(t.pageSurface.calls.empty()) << "no column 0 or 2: nothing drawn";
    EXPECT_EQ(t.records().size(), recordsBefore) << "nor recorded";
    EXPECT_NEAR(t.composer.CurX(), StartX, ToleranceMm);
    for (int n = 2; n <= MaxColumns + 1; ++n)
        t.composer.NewCol(static_cast<float>(5 * n), n == MaxColumns ? 0 : 10);
    EXPECT_EQ(t.state().NumCols, MaxColumns);
    EXPECT_EQ(t.records().size(), recordsBefore + MaxColumns - 1) << "the 21st is not recorded";
    t.composer.LCol(21, "abc");
    EXPECT_TRUE(t.pageSurface.texts().empty());
    t.composer.LCol(20, "abc");
    for (const std::string &text : t.pageSurface.texts())
        EXPECT_EQ(text, "") << "no width: everything is cut";
    EXPECT_EQ(fieldsOf(t.lastRecord()), (RecordFields{RecColLeft, 20, 0, -1, 0, "abc", 1}));
    EXPECT_NEAR(t.composer.CurX(), 100.2f, ToleranceMm) << "the cursor rules run with the empty text";
}

constexpr float LineX = 5; ///< where each paragraph line starts, from the left margin

std::string marked(std::string_view text)
{
    return std::string(text) + Composer::LineMark;
}

using Words = std::vector<std::pair<float, std::string>>;

/// The non-empty texts drawn, at offsets from where the line starts.
Words wordsDrawn(TestSession &t)
{
    Words words;
    for (const auto &call : t.surfaceInUse().callsOf("print")) {
        EXPECT_NEAR(call.args[1], 10 + StartY - 4, ToleranceMm) << "every word on the same line";
        if (!call.text.empty())
            words.emplace_back(std::round((call.args[0] - 10 - LineX) * 1000) / 1000, call.text);
    }
    return words;
}

TEST(MultiLine, DrawsOneLineReturnsTheRestAndRecordsTheLine)
{
    // clang-format off
    // Words are fitted to MaxX - 2 mm and drawn at offsets from the line's start.
    const struct { const char *name; std::string text; float MaxX; std::string returned; Words drawn;
                   std::string recorded; } rows[] = {
        {"fits exactly: the last line, unspread, marked", "aaaa bbbb cccc", 30, "", {{0, "aaaa bbbb cccc"}}, marked("aaaa bbbb cccc")},
        {"the mark of the last call removed", marked("dddd"), 30, "", {{0, "dddd"}}, marked("dddd")},
        {"cut at the space after the last fitting character", "aaaa bbbb cccc    dddd", 30, marked("dddd"),
         {{0, "aaaa"}, {11, "bbbb"}, {22, "cccc"}}, "aaaa bbbb cccc"},
        {"cut at an earlier space", "aaaa bbbb ccccc ddd", 30, marked("ccccc ddd"), {{0, "aaaa"}, {22, "bbbb"}},
         "aaaa bbbb"},
        {"leading spaces keep their width", "  aaaa bbbb cccc dddd", 30, marked("cccc dddd"),
         {{0, " "}, {2, " "}, {4, "aaaa"}, {26, "bbbb"}}, "  aaaa bbbb"},
        {"five words spread to exactly W", "aa bbb c dddd ee fffffff", 40, marked("fffffff"),
         {{0, "aa"}, {8, "bbb"}, {18, "c"}, {24, "dddd"}, {36, "ee"}}, "aa bbb c dddd ee"},
        {"a long word is cut inside", "abcdefghijklmnopqrstuvwxyz", 30, marked("opqrstuvwxyz"),
         {{0, "abcdefghijklmn"}}, "abcdefghijklmn"},
        {"a three-byte word is cut between characters", "€€€€€€", 12, marked("€"), {{0, "€€€€€"}}, "€€€€€"},
        // A line break ends the line as a paragraph's last; the rest follows it.
        {"CR LF", "one\r\ntwo three four five", 30, "two three four five", {{0, "one"}}, marked("one")},
        {"LF", "one\ntwo", 30, "two", {{0, "one"}}, marked("one")},
        {"CR", "one\rtwo", 30, "two", {{0, "one"}}, marked("one")},
        {"CR LF is looked for first", "a\nb\r\nc", 30, "c", {{0, "a\nb"}}, marked("a\nb")},
        // Too narrow: the text is lost.
        {"10 mm leaves no room", "abc", 10, "", {}, marked("")},
        {"10.5 mm leaves 8.5 mm", "abc", 10.5f, "", {{0, "abc"}}, marked("abc")},
    };
    // clang-format on
    for (const auto &row : rows) {
        for (const bool byPrefix : {false, true}) {
            SCOPED_TRACE(::testing::Message() << row.name << (byPrefix ? ", each prefix measured" : ""));
            TestSession t;
            t.pageSurface.measuresEachPrefix = byPrefix;
            t.startAt(LineX, StartY);
            const size_t recordsBefore = t.records().size();
            EXPECT_EQ(t.composer.M(row.text, -1, -1, row.MaxX), row.returned);
            EXPECT_EQ(wordsDrawn(t), row.drawn);
            EXPECT_EQ(t.records().size(), recordsBefore + 1);
            EXPECT_EQ(t.lastRecord().text, row.recorded);
        }
    }
}

TEST(MultiLine, DirectModeWrapsTheSameButReturnsTheRestUnmarked)
{
    TestSession direct(ListingMode::Direct);
    direct.startAt(LineX, StartY);
    EXPECT_EQ(direct.composer.M("aaaa bbbb cccc dddd", -1, -1, 30), "dddd");
    EXPECT_EQ(wordsDrawn(direct), (Words{{0, "aaaa"}, {11, "bbbb"}, {22, "cccc"}}));
}

} // namespace
