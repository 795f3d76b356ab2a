// Replaying pages from the spool. The preview and the printout are both
// replays, so a replayed page must draw exactly what composing it drew: same
// calls, same numbers to the last bit, same texts, pen and font, in order.

#include "compose/CommandRecord.h"
#include "compose/PenWidthCode.h"
#include "support/FakeBarcodeEncoder.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <set>
#include <span>
#include <utility>

using namespace quillet;
using namespace quillet::testing;

namespace {

using Calls = std::vector<FakeSurface::Call>;

struct Row {
    std::string_view name;
    int op;
    std::span<const commands::Arg> args;
};
#define QUILLET_ROW(Name, ...) Row{#Name, commands::Name::op, commands::Name::args},
constexpr std::array Rows = {QUILLET_COMMANDS(QUILLET_ROW)};
#undef QUILLET_ROW

/// Each call as text, numbers in their shortest exact form. A margin change is
/// compared by its numbers only and a font change without the pen: at the start
/// of a page both are made under what the page drawn before left behind.
std::vector<std::string> described(const Calls &calls)
{
    std::vector<std::string> lines;
    for (const FakeSurface::Call &call : calls) {
        std::string out = call.op + " \"" + call.text + "\"";
        const SurfaceFont &f = call.font;
        const SurfacePen &p = call.pen;
        std::vector<float> numbers = call.args;
        if (call.op != "scale")
            numbers.insert(numbers.end(), {f.size, float(f.bold), float(f.italic), float(f.transparent)});
        if (call.op != "scale" && call.op != "font")
            numbers.insert(numbers.end(), {float(p.foreColor), float(p.fillColor), float(p.fillStyle),
                                           float(p.drawWidth), float(p.drawStyle), float(p.drawMode)});
        for (float number : numbers) {
            char digits[32];
            out.append(" ").append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
        }
        lines.push_back(out + (call.op == "scale" ? "" : " " + f.name));
    }
    return lines;
}

/// One page as a host writes it: every text, column, shape and pen command,
/// markers, a paragraph, pictures, font and margin changes.
void composePage(Composer &c, int page)
{
    c.R("pág. PRICOCO/TRICOCO", 0, 190);
    c.PFont("Arial", 16, true);
    c.C("Página PRICOCO de TRICOCO", 12);
    c.PFont("Times New Roman", 10);
    c.L("de TRICOCO folhas", 18, 0);
    c.NewCol(0, 30);
    c.NewCol(30, 25);
    c.LCol(1, "Folha PRICOCO");    // a cell resolves the page number on the hidden page too
    c.RCol(2, "12.345.678,90", 1); // cut: 26 mm in 23.8
    c.CCol(1, "uma descrição demasiado longa");
    c.PNL();
    c.LCol(1, "sem corte, invade a coluna seguinte", 2, -1, false);
    c.PBox(c.CurY(), c.CurX(), 10, 100, 0); // at the print position: recorded as -1, -1
    c.PLine(75, 0, 75, 190, 3);
    c.PCircle(95, 50 + page, 12, 300); // wider than a record can carry
    c.PColor(page == 2 ? 0xFF0000 : 0x0000FF);
    c.PFill(0x00FF00, 0);
    c.PDraw(2, 7);
    c.PBox(120, 10, 15, 40, 1);
    c.PFont("Courier New", 11, false, true, false);
    c.L("fundo pintado", 140, 10); // opaque text on the solid fill
    for (int align : {1, -1, -2}) {
        c.PAlign(align);
        c.L("alinhado", 150, 40.0f * (align + 2));
    }
    c.PFix(true, false);
    c.L("fixo em X");
    c.PNL();
    for (std::string rest =
             "Cada linha é embrulhada uma só vez, ao compor a página PRICOCO, e depois redesenhada, "
             "espalhada até aos 150 mm; a última linha fica sem espalhar.";
         !rest.empty(); c.PNL())
        rest = c.M(rest, -1, -1, 150);
    c.PDrawImg(1, 215, 150);
    c.PBarcode("code128", "PRICOCO", 230, 10 * page, 12, 0, "text=1"); // the data stays as given
    if (page == 2) {
        c.PMargins(20, 25, 20, 25);
        c.PDrawImg(2, 0, 0);
    }
}

/// A shown listing with the calls its hidden page received page by page.
struct ComposedListing {
    static constexpr int Pages = 3;

    ComposedListing()
    {
        t.session.barcodes = std::make_shared<FakeBarcodeEncoder>();
        t.composer.PNewImg(fakePicture(30, 20));
        t.composer.PNewImg(fakePicture(12.5f, 40));
        for (int page = 1; page <= Pages; ++page) {
            if (page > 1)
                t.composer.PNP();
            composePage(t.composer, page);
            composed.push_back(std::exchange(t.pageSurface.calls, {}));
        }
        t.endComposition();
    }
    Calls replay(int page)
    {
        t.render(page);
        return std::exchange(t.surfaceInUse().calls, {});
    }
    /// What composing drew, with the markers resolved (the text moving so that its
    /// anchor stays put) and pens at most as wide as a record carries.
    Calls expected(int page)
    {
        const std::map<std::string, std::pair<std::string, float>> markers = {
            {"Página PRICOCO de TRICOCO", {"Página " + std::to_string(page) + " de 3", 0.5f}}, // C
            {"pág. PRICOCO/TRICOCO", {"pág. " + std::to_string(page) + "/3", 1.0f}},           // R
            {"de TRICOCO folhas", {"de 3 folhas", 0.0f}}};                                     // L
        Calls calls = composed.at(page - 1);
        for (FakeSurface::Call &call : calls) {
            if (const auto marked = markers.find(call.text); marked != markers.end() && call.op == "print") {
                const auto &[resolved, share] = marked->second;
                call.args.at(0) +=
                    share * (t.pageSurface.textWidth(call.text) - t.pageSurface.textWidth(resolved));
                call.text = resolved;
            }
            call.pen.drawWidth = std::min(call.pen.drawWidth, MaxRecordedPenWidth);
        }
        return calls;
    }

    TestSession t;
    std::vector<Calls> composed; ///< entry page - 1
};

TEST(ReplayInvariant, EveryPageDrawsWhatComposingItDrewInAnyOrderAndOnPaper)
{
    ComposedListing listing;
    std::set<int> opcodes;
    for (const SpoolRecord &r : listing.t.records())
        opcodes.insert(r.op);
    for (const Row &command : Rows)
        EXPECT_TRUE(command.op == commands::NotRecorded || opcodes.contains(command.op))
            << command.name << " is not recorded by the listing";
    for (int page : {1, 2, 3, 3, 1, 2, 2})
        EXPECT_EQ(described(listing.expected(page)), described(listing.replay(page))) << "page " << page;

    ListingState &s = listing.t.state();
    s.Preview = false; // as the print job sets it
    s.Surface = &listing.t.printer.fakeSurface;
    for (int page = 1; page <= ComposedListing::Pages; ++page) {
        Calls onPaper = listing.expected(page);
        std::erase_if(onPaper, [](const FakeSurface::Call &call) { return call.op == "scale"; });
        EXPECT_EQ(described(onPaper), described(listing.replay(page))) << "page " << page << " on paper";
    }
}

TEST(ReplayInvariant, EveryArgumentOfEveryCommandComesBackFromItsRecord)
{
    // Distinct values per argument: two arguments kept in one field, or a kind
    // its field cannot hold, show up as a value that does not come back.
    for (const Row &command : Rows) {
        if (command.op == commands::NotRecorded)
            continue;
        SpoolRecord record;
        std::vector<commands::StoredValue> given;
        for (const commands::Arg &arg : command.args) {
            // Texts packed into one differ, so that one read for another shows.
            static constexpr std::string_view texts[] = {"text", "t\x1d:2", "", "3"};
            const bool isText = arg.kind == commands::Kind::Text || arg.kind == commands::Kind::Part;
            given.push_back({isText ? 0.0 : 2.0 + given.size(), isText ? texts[arg.part] : ""});
            commands::store(arg, given.back(), record);
        }
        for (std::size_t i = 0; i < command.args.size(); ++i) {
            const commands::Arg &arg = command.args[i];
            const std::optional<commands::StoredValue> back = commands::load(arg, record);
            ASSERT_TRUE(back) << command.name << ' ' << arg.name;
            EXPECT_EQ(back->number, given[i].number) << command.name << ' ' << arg.name;
            EXPECT_EQ(back->text, given[i].text) << command.name << ' ' << arg.name;
        }
    }
}

} // namespace
