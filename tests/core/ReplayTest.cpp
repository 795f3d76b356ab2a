// Replaying pages from the spool. The preview and the printout are both
// replays, so a replayed page must draw exactly what composing it drew: same
// calls, same numbers to the last bit, same texts, pen and font, in order.

#include "compose/PenWidthCode.h"
#include "render/PageRenderer.h"
#include "support/FakePicture.h"
#include "support/PrintedText.h"
#include "support/RowName.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <utility>

using namespace quillet;
using namespace quillet::testing;

namespace {

using quillet::testing::PrintTo; // rows print as their names
using Calls = std::vector<FakeSurface::Call>;

std::string exact(float value)
{
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end); // shortest form that reads back as the same float
}

/// One call as text. A margin change is compared by its numbers only and a
/// font change without the pen: at the start of a page both are made under the
/// pen and font the page drawn before left behind, and neither draws anything.
std::string describe(const FakeSurface::Call &call)
{
    std::string out = call.op + "(";
    for (float arg : call.args)
        out += exact(arg) + " ";
    out += ") \"" + call.text + "\"";
    if (call.op == "scale")
        return out;
    const SurfaceFont &f = call.font;
    out += " font " + f.name + " " + exact(f.size) + (f.bold ? " bold" : "") + (f.italic ? " italic" : "") +
           (f.transparent ? " transparent" : " opaque");
    if (call.op == "font")
        return out;
    const SurfacePen &p = call.pen;
    for (int v : {p.foreColor, p.fillColor, p.fillStyle, p.drawWidth, p.drawStyle, p.drawMode})
        out += " " + std::to_string(v);
    return out;
}

::testing::AssertionResult sameCalls(const Calls &expected, const Calls &actual)
{
    const size_t common = std::min(expected.size(), actual.size());
    for (size_t i = 0; i < common; ++i) {
        const std::string e = describe(expected[i]);
        const std::string a = describe(actual[i]);
        if (e != a)
            return ::testing::AssertionFailure()
                   << "call " << i << " differs\n  expected " << e << "\n  actual   " << a;
    }
    if (expected.size() != actual.size()) {
        const FakeSurface::Call &extra = expected.size() > common ? expected[common] : actual[common];
        return ::testing::AssertionFailure() << expected.size() << " calls expected, " << actual.size()
                                             << " made; the first unmatched is " << describe(extra);
    }
    return ::testing::AssertionSuccess();
}

std::string replaceAll(std::string text, std::string_view marker, const std::string &by)
{
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + by.size()))
        text.replace(at, marker.size(), by);
    return text;
}

/// The hidden page keeps the markers of C, L and R; the replay resolves them,
/// and the shorter text moves so that its anchor stays put. Value: the share of
/// the width lost that the text moves right (left end 0, centre 1/2, right end 1).
const std::map<std::string, float> markerTexts = {
    {"Página PRICOCO de TRICOCO", 0.5f}, // C
    {"pág. PRICOCO/TRICOCO", 1.0f},      // R
    {"de TRICOCO folhas", 0.0f},         // L
};

const char *const Paragraph =
    "Cada linha deste parágrafo é embrulhada uma só vez, ao compor a página PRICOCO, e depois "
    "apenas redesenhada, espalhada até à margem direita, sempre igual no ecrã e no papel. Uma palavra "
    "comprida como inconstitucionalissimamente cabe numa linha; a última linha fica sem espalhar.";

/// One page of a listing as a host writes it: every text, column, shape and
/// pen command, markers, a paragraph, pictures, font and margin changes.
void composePage(Composer &c, int page)
{
    c.R("pág. PRICOCO/TRICOCO", 0, 190);
    c.PFont("Arial", 16, true);
    c.C("Relatório mensal", 12);
    c.PFont("Times New Roman", 10);
    c.L("de TRICOCO folhas", 18, 0);
    c.PNL(12);

    c.NewCol(0, 30);
    c.NewCol(30, 25);
    c.NewCol(55, 60);
    c.LCol(1, "Código");
    c.RCol(2, "Valor", 1);
    c.CCol(3, "Descrição");
    c.PNL();
    c.LCol(1, "Folha PRICOCO"); // a cell resolves the page number on the hidden page too
    c.RCol(2, "12.345.678,90"); // cut: 26 mm in 24.8
    c.CCol(3, "uma descrição demasiado longa para a sua coluna");
    c.PNL();
    c.LCol(1, "sem corte, invade a coluna seguinte", 2, -1, false);
    c.RCol(2, std::to_string(page * 111), 0, 60);
    c.PNL();

    c.PBox(c.CurY(), c.CurX(), 10, 100, 0); // at the print position: recorded as -1, -1
    c.PLine(75, 0, 75, 190, 3);
    c.PCircle(95, 50 + page, 12, 300); // wider than a record can carry
    c.PBox(110, 10, 0, 50);
    c.PBox(110, 70, 20, 0, 2);
    c.PColor(page == 2 ? 0xFF0000 : 0x0000FF);
    c.PFill(0x00FF00, 0);
    c.PDraw(2, 7);
    c.PBox(120, 10, 15, 40, 1);
    c.PFont("Courier New", 11, false, true, false);
    c.L("fundo pintado", 140, 10); // opaque text on the solid fill
    c.PFont("Times New Roman", 12);
    c.PAlign(1);
    c.L("base", 150, 10);
    c.PAlign(-1);
    c.L("ascendente", 150, 40);
    c.PAlign(-2);
    c.L("topo", 150, 80);
    c.PAlign(2);
    c.PFix(true, false);
    c.L("fixo em X");
    c.L("e desce");
    c.PFix(false, true);
    c.PNL();

    std::string rest = Paragraph;
    for (int line = 0; line < 20 && !rest.empty(); ++line) {
        rest = c.M(rest);
        c.PNL();
    }
    c.PDrawImg(1, 215, 150);
    if (page == 2) {
        c.PMargins(20, 25, 20, 25);
        c.L("depois das margens");
        c.PBox(c.CurY(), c.CurX(), 5, 5);
        c.PDrawImg(2, 0, 0);
    }
    c.C("Página PRICOCO de TRICOCO", 260);
}

/// A listing composed in preview, with the calls its hidden page received page
/// by page, then shown: Spooling off and the page count fixed, as Show does.
class ComposedListing {
public:
    static constexpr int Pages = 3;

    ComposedListing()
    {
        Composer &c = t.composer;
        c.PNewImg(fakePicture(30, 20));
        c.PNewImg(fakePicture(12.5f, 40));
        for (int page = 1; page <= Pages; ++page) {
            if (page > 1)
                c.PNP();
            composePage(c, page);
            composed.push_back(std::exchange(t.pageSurface.calls, {}));
        }
        ListingState &s = t.state();
        s.Spooling = false;
        s.NumPages = s.CurPage;
    }

    Calls replay(int page, FakeSurface &on)
    {
        t.state().CurPage = static_cast<int16_t>(page);
        on.calls.clear();
        PageRenderer(t.session).render();
        return std::exchange(on.calls, {});
    }
    Calls replay(int page) { return replay(page, t.pageSurface); }

    /// What replaying a page must draw: what composing it drew, with the
    /// markers resolved and pens wider than a record carries at the widest it does.
    Calls expected(int page)
    {
        Calls calls = composed.at(page - 1);
        for (FakeSurface::Call &call : calls) {
            const auto marked = markerTexts.find(call.text);
            if (call.op == "print" && marked != markerTexts.end()) {
                const std::string resolved = replaceAll(
                    replaceAll(call.text, "TRICOCO", std::to_string(Pages)), "PRICOCO", std::to_string(page));
                call.args.at(0) += marked->second * (width(call.text) - width(resolved));
                call.text = resolved;
            }
            call.pen.drawWidth = std::min(call.pen.drawWidth, MaxRecordedPenWidth);
        }
        return calls;
    }

    float width(const std::string &text) const { return t.pageSurface.textWidth(text); }

    TestSession t;
    std::vector<Calls> composed; ///< entry page - 1
};

std::set<std::string> opsOf(const Calls &calls)
{
    std::set<std::string> ops;
    for (const auto &call : calls)
        ops.insert(call.op);
    return ops;
}

TEST(ReplayInvariant, EveryPageDrawsWhatComposingItDrew)
{
    ComposedListing listing;
    std::set<int> opcodes;
    for (const SpoolRecord &r : listing.t.records())
        opcodes.insert(r.op);
    ASSERT_EQ(opcodes.size(), 21u) << "the listing records every opcode";
    for (int page = 1; page <= ComposedListing::Pages; ++page) {
        ASSERT_EQ(opsOf(listing.composed[page - 1]),
                  (std::set<std::string>{"print", "line", "circle", "picture", "scale", "font"}));
        EXPECT_TRUE(sameCalls(listing.expected(page), listing.replay(page))) << "page " << page;
    }
}

TEST(ReplayInvariant, PagesReplayAlikeAgainAndInAnyOrder)
{
    ComposedListing listing;
    for (int page : {3, 1, 3, 2, 2, 1})
        EXPECT_TRUE(sameCalls(listing.expected(page), listing.replay(page))) << "page " << page;
}

TEST(ReplayInvariant, PrinterGetsThePreviewsCallsWithoutThePreviewScale)
{
    ComposedListing listing;
    for (int page = 1; page <= ComposedListing::Pages; ++page) {
        listing.t.state().Preview = true;
        listing.t.state().Surface = &listing.t.pageSurface;
        Calls shown = listing.replay(page);
        std::erase_if(shown, [](const FakeSurface::Call &call) { return call.op == "scale"; });

        listing.t.state().Preview = false; // as the print job sets it
        listing.t.state().Surface = &listing.t.printer.fakeSurface;
        EXPECT_TRUE(sameCalls(shown, listing.replay(page, listing.t.printer.fakeSurface))) << "page " << page;
    }
}

Calls callsOf(const Calls &calls, std::string_view op)
{
    Calls found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [op](const FakeSurface::Call &call) { return call.op == op; });
    return found;
}

// A pen above 255 cannot be written as one character: the record carries no
// width and the replay draws the shape at 255 rather than dropping it.
TEST(ReplayInvariant, PenWiderThan255IsRecordedWithoutWidthAndReplaysAt255)
{
    ComposedListing listing;
    const Calls composed = callsOf(listing.composed[0], "circle");
    ASSERT_EQ(composed.size(), 1u);
    EXPECT_EQ(composed[0].pen.drawWidth, 300);
    const auto records = listing.t.pageRecords(1);
    const auto circle =
        std::find_if(records.begin(), records.end(), [](const auto &r) { return r.op == RecCircle; });
    ASSERT_NE(circle, records.end());
    EXPECT_EQ(circle->text, "");

    const Calls replayed = callsOf(listing.replay(1), "circle");
    ASSERT_EQ(replayed.size(), 1u);
    EXPECT_EQ(replayed[0].pen.drawWidth, 255);
    EXPECT_EQ(replayed[0].args, composed[0].args);
}

TEST(ReplayInvariant, ReplayResolvesMarkersExceptInParagraphs)
{
    ComposedListing listing;
    std::set<std::string> texts;
    for (const auto &call : callsOf(listing.replay(2), "print"))
        texts.insert(call.text);
    for (const char *resolved : {"Página 2 de 3", "pág. 2/3", "de 3 folhas", "Folha 2"})
        EXPECT_TRUE(texts.contains(resolved)) << resolved;
    EXPECT_TRUE(texts.contains("PRICOCO,")) << "M never expands markers: a paragraph shows them as written";
}

/// A shown listing to dispatch records into: two columns (0-20 and 50-70 mm),
/// two pictures (30 x 20 and 12.5 x 40 mm), alignment -1.
class ReplayDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        Composer &c = t.composer;
        c.NewCol(0, 20);
        c.NewCol(50, 20);
        c.PNewImg(fakePicture(30, 20));
        c.PNewImg(fakePicture(12.5f, 40));
        c.PAlign(-1);
        t.state().Spooling = false;
        t.pageSurface.calls.clear();
    }
    void dispatch(const SpoolRecord &record) { PageRenderer(t.session).dispatch(record); }

    TestSession t;
};

/// The first argument of the first call of a kind; NaN when there is none.
float firstArgOf(const FakeSurface &surface, std::string_view op)
{
    const Calls calls = callsOf(surface.calls, op);
    return calls.empty() || calls[0].args.empty() ? NAN : calls[0].args[0];
}

SpoolRecord record(uint8_t op, float valA = 0, float valB = 0, float valC = 0, float valD = 0, float valE = 0,
                   std::string text = {})
{
    return {1, op, valA, valB, valC, valD, valE, std::move(text)};
}

struct RoundingRow {
    const char *name;
    SpoolRecord record;
    std::function<double(TestSession &)> observed;
    double expected;
    const char *reason;
};

double alignMode(TestSession &t)
{
    return t.state().AlignMode;
}
double drawStyle(TestSession &t)
{
    return t.pageSurface.pen().drawStyle;
}
double drawMode(TestSession &t)
{
    return t.pageSurface.pen().drawMode;
}
double foreColor(TestSession &t)
{
    return t.pageSurface.pen().foreColor;
}
double fillColor(TestSession &t)
{
    return t.pageSurface.pen().fillColor;
}
double fillStyle(TestSession &t)
{
    return t.pageSurface.pen().fillStyle;
}
double textX(TestSession &t)
{
    return firstArgOf(t.pageSurface, "print");
}
double pictureX(TestSession &t)
{
    return firstArgOf(t.pageSurface, "picture");
}
double pictureWidth(TestSession &t)
{
    const Calls pictures = callsOf(t.pageSurface.calls, "picture");
    return pictures.empty() ? NAN : pictures[0].args.at(2);
}

// Whole-number arguments come back from singles rounded half to even; a value
// that no 16- or 32-bit number holds skips the command.
const RoundingRow roundingRows[] = {
    {"AlignOneAndAHalf", record(RecAlign, 1.5f), alignMode, 2, "half goes to the even 2"},
    {"AlignTwoAndAHalf", record(RecAlign, 2.5f), alignMode, 2, "half goes to the even 2, down"},
    {"AlignMinusOneAndAHalf", record(RecAlign, -1.5f), alignMode, -2, "halves round to even below zero too"},
    {"AlignHalf", record(RecAlign, 0.5f), alignMode, -1, "0.5 rounds to 0, which PAlign refuses"},
    {"DrawStyleTwoAndAHalf", record(RecDraw, 2.5f, 12.5f), drawStyle, 2, "down to even"},
    {"DrawModeTwelveAndAHalf", record(RecDraw, 2.5f, 12.5f), drawMode, 12, "down to even"},
    {"DrawStyleBeyond16Bits", record(RecDraw, 40000, 9), drawMode, 13,
     "the whole command is skipped, not wrapped"},
    {"WhiteColour", record(RecColor, 16777215), foreColor, 16777215, "every 24-bit colour travels exactly"},
    {"ColourThreeAndAHalf", record(RecColor, 3.5f), foreColor, 4, "up to even"},
    {"ColourBeyond32Bits", record(RecColor, 5e9f), foreColor, 0, "skipped: the colour stays"},
    {"FillWhite", record(RecFill, 16777215, 0.5f), fillColor, 16777215, "exact colour"},
    {"FillStyleHalf", record(RecFill, 16777215, 0.5f), fillStyle, 0, "0.5 rounds to the even 0"},
    {"FillColourBeyond32Bits", record(RecFill, -5e9f, 0), fillStyle, 1,
     "an unusable colour skips the style too"},
    {"ColumnOneAndAHalf", record(RecColLeft, 1.5f, 0, -1, 0, 1, "x"), textX, 10 + 50.2f, "column 2"},
    {"ColumnTwoAndAHalf", record(RecColLeft, 2.5f, 0, -1, 0, 1, "x"), textX, 10 + 50.2f,
     "column 2, down to even"},
    {"ColumnHalf", record(RecColLeft, 0.5f, 0, -1, 0, 1, "x"), textX, NAN, "column 0 does not exist"},
    {"PictureOneAndAHalf", record(RecImage, 5, 0, 1.5f), pictureWidth, 12.5f, "picture 2"},
    {"PictureHalf", record(RecImage, 5, 0, 0.5f), pictureX, NAN, "picture 0 draws nothing"},
};

class DispatchRounding : public ReplayDispatch, public ::testing::WithParamInterface<RoundingRow> {};

TEST_P(DispatchRounding, WholeNumbersRoundHalfToEven)
{
    const RoundingRow &row = GetParam();
    SCOPED_TRACE(row.reason);
    dispatch(row.record);
    if (std::isnan(row.expected)) {
        EXPECT_TRUE(std::isnan(row.observed(t))) << "nothing drawn";
    } else {
        EXPECT_EQ(row.observed(t), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(ReplayRecords, DispatchRounding, ::testing::ValuesIn(roundingRows), RowName());

TEST_F(ReplayDispatch, UnknownOpcodesAreSkipped)
{
    ListingState &s = t.state();
    s.CursorX = 33;
    s.CursorY = 44;
    for (uint8_t op : {21, 99, 255})
        dispatch(record(op, 5, 5, 5, 5, 5, "x"));
    EXPECT_TRUE(t.pageSurface.calls.empty());
    EXPECT_EQ(s.CursorX, 33);
    EXPECT_EQ(s.CursorY, 44);
}

TEST_F(ReplayDispatch, MinusOneStandsForThePrintPosition)
{
    ListingState &s = t.state();
    t.composer.PAlign(-2); // texts hang from the print line
    s.CursorX = 33;
    s.CursorY = 44;
    dispatch(record(RecTextLeft, -1, -1, 0, 0, 0, "ab"));
    dispatch(record(RecTextRight, -1, -1, 0, 0, 0, "xyz"));
    dispatch(record(RecBox, -1, -1, 5, 6, 0, "\x02"));
    const Calls prints = callsOf(t.pageSurface.calls, "print");
    ASSERT_EQ(prints.size(), 2u);
    EXPECT_EQ(prints[0].args, (std::vector<float>{33, 44}));
    EXPECT_EQ(prints[1].args, (std::vector<float>{37 - 6, 44})) << "R ends at the print position L moved on";
    EXPECT_EQ(callsOf(t.pageSurface.calls, "line").at(0).args, (std::vector<float>{20, 37, 44, 42, 50}));
}

/// A shown three-page listing with one text per page.
class ReplayPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.composer.L("p1");
        for (const char *text : {"p2", "p3"}) {
            t.composer.PNP();
            t.composer.L(text);
        }
        t.state().Spooling = false;
        t.state().NumPages = t.state().CurPage;
    }
    std::vector<std::string> render(int page)
    {
        t.state().CurPage = static_cast<int16_t>(page);
        t.pageSurface.calls.clear();
        PageRenderer(t.session).render();
        std::vector<std::string> texts;
        for (const auto &p : printsOn(t.pageSurface))
            texts.push_back(p.text);
        return texts;
    }
    using Texts = std::vector<std::string>;

    TestSession t;
};

TEST_F(ReplayPages, EachPageEndsAtTheNextPageAndTheLastAtTheEndOfTheFile)
{
    EXPECT_EQ(render(1), Texts{"p1"});
    EXPECT_EQ(render(3), Texts{"p3"});
    EXPECT_EQ(render(2), Texts{"p2"});
}

struct IndexRow {
    const char *name;
    std::vector<int32_t> pageIndex;
};

const IndexRow badIndexRows[] = {
    {"EntryMissing", {1}},
    {"EntryZero", {1, 0, 0}},
    {"EntryNegative", {1, -7, -7}},
};

class ReplayBadIndex : public ReplayPages, public ::testing::WithParamInterface<IndexRow> {};

// Without a usable entry the read goes on from where the last one stopped:
// right after page n that is page n + 1, less its first record, which ended
// page n (here the margins of its defaults); at the end of the file it is nothing.
TEST_P(ReplayBadIndex, ReadsOnFromWhereTheLastReadStopped)
{
    t.state().PageIndex = GetParam().pageIndex;
    EXPECT_EQ(render(1), Texts{"p1"});
    EXPECT_EQ(render(2), Texts{"p2"});
    EXPECT_EQ(render(3), Texts{"p3"});
    EXPECT_EQ(render(2), Texts{}) << "the last read stopped at the end of the file";
}

INSTANTIATE_TEST_SUITE_P(ReplayPageIndex, ReplayBadIndex, ::testing::ValuesIn(badIndexRows), RowName());

TEST(ReplayDefaultsOnly, APageWithOnlyItsDefaultsDrawsNothingAndRestoresThem)
{
    TestSession fresh;
    TestSession t;
    Composer &c = t.composer;
    const auto changeEverything = [&c] {
        c.PMargins(30, 25, 20, 15);
        c.PColor(0xFF);
        c.PFill(0xFF00, 0);
        c.PFont("Arial", 20, true, true, false);
        c.PFix(true, false);
        c.PAlign(-2);
        c.PDraw(3, 7);
        c.NewCol(0, 10);
        c.L("texto");
    };
    changeEverything();
    c.PNP();
    c.PNP();
    changeEverything();
    t.state().Spooling = false;
    t.state().NumPages = 3;
    for (int page : {1, 2}) {
        t.state().CurPage = static_cast<int16_t>(page);
        t.pageSurface.calls.clear();
        PageRenderer(t.session).render();
    }
    EXPECT_EQ(opsOf(t.pageSurface.calls), (std::set<std::string>{"scale", "font"})) << "nothing drawn";

    const ListingState &s = t.state();
    const ListingState &d = fresh.state();
    EXPECT_EQ(std::tie(s.LeftMarg, s.TopMarg, s.RightMarg, s.BotMarg, s.CursorX, s.CursorY),
              std::tie(d.LeftMarg, d.TopMarg, d.RightMarg, d.BotMarg, d.CursorX, d.CursorY));
    EXPECT_EQ(std::tie(s.FixX, s.FixY, s.AlignMode, s.NumCols),
              std::tie(d.FixX, d.FixY, d.AlignMode, d.NumCols));
    EXPECT_EQ(describe({"pen", {}, "", t.pageSurface.pen(), t.pageSurface.font()}),
              describe({"pen", {}, "", fresh.pageSurface.pen(), fresh.pageSurface.font()}));
}

TEST(ReplayWhileSpooling, DoesNothingRatherThanAppendThePageToItself)
{
    TestSession t;
    t.composer.L("texto");
    t.composer.PBox(1, 1, 5, 5);
    t.composer.PNP(); // a next page ends the read even if page 1 were appended to itself
    const int32_t slots = t.slotsWritten();
    t.state().CurPage = 1;
    t.pageSurface.calls.clear();
    PageRenderer(t.session).render();
    EXPECT_EQ(t.slotsWritten(), slots);
    EXPECT_TRUE(t.pageSurface.calls.empty());
}

} // namespace
