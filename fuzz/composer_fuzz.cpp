// Any sequence of listing commands with any numbers and texts, in preview or
// direct mode, then every page replayed: the listing's geometry and font size
// stay finite whatever the host passes, and every record written is finite.

#include "FuzzInput.h"
#include "render/PageRenderer.h"
#include "support/FakeBarcodeEncoder.h"
#include "support/TestSession.h"

#include <algorithm>
#include <cmath>

using namespace quillet;
using namespace quillet::testing;

namespace {

void checkFinite(std::initializer_list<float> values)
{
    for (float value : values)
        if (!std::isfinite(value))
            __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    const bool preview = input.take<uint8_t>() % 2;
    TestSession listing(preview ? ListingMode::Preview : ListingMode::Direct);
    listing.surfaceInUse().logging = false;
    listing.session.barcodes = std::make_shared<FakeBarcodeEncoder>();
    Composer &c = listing.composer;
    c.PNewImg(fakePicture(20, 10));
    for (int calls = 0; calls < 64 && !input.rest().empty(); ++calls) {
        const auto op = input.take<uint8_t>();
        const auto f = input.take<float>(), g = input.take<float>();
        const auto i = input.take<int32_t>();
        const std::string_view t = input.takeText(input.take<uint8_t>());
        // clang-format off
        switch (op % 21) {
        case 0: c.PNL(f); break;
        case 1: c.PNP(); break;
        case 2: c.PMargins(f, g, f, g); break;
        case 3: c.PFont(t, f, i & 1, i & 2, i & 4); break;
        case 4: c.PAlign(i); break;
        case 5: c.C(t, f, g, f); break;
        case 6: c.L(t, f, g, f); break;
        case 7: c.R(t, f, g, g); break;
        case 8: c.M(t, f, g, f); break;
        case 9: c.NewCol(f, g); break;
        case 10: c.LCol(i, t, f, g, i & 1); break;
        case 11: c.RCol(i, t, f, g, i & 1); break;
        case 12: c.CCol(i, t, f, i & 1); break;
        case 13: c.PBox(f, g, g, f, i); break;
        case 14: c.PCircle(f, g, f, i); break;
        case 15: c.PLine(f, g, g, f, i); break;
        case 16: c.PColor(i), c.PFill(i, i >> 8); break;
        case 17: c.PDraw(i, i >> 8), c.PFix(i & 1, i & 2); break;
        case 18: c.PDrawImg(i, f, g); break;
        case 19: c.PBarcode(t.substr(0, i & 15), t, f, g, f, g, t.substr(std::min<size_t>(i & 15, t.size()))); break;
        default: c.ClsCols(), c.WX(t), c.WY(t), c.InSize(t, f); break;
        }
        // clang-format on
        const ListingState &s = listing.state();
        checkFinite({s.CursorX, s.CursorY, s.LeftMarg, s.TopMarg, s.RightMarg, s.BotMarg, s.UseW, s.UseH,
                     listing.surfaceInUse().font().size});
    }
    if (!preview)
        return 0;
    for (const SpoolRecord &r : listing.records())
        checkFinite({r.valA, r.valB, r.valC, r.valD, r.valE});
    listing.endComposition();
    for (int16_t page = 1; page <= listing.state().NumPages; ++page)
        listing.render(page);
    return 0;
}
