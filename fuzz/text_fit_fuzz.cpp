// ExpandMarkers, FitText and M on arbitrary UTF-8 and widths: they end, stay
// inside the text, and M used as hosts use it ("until nothing is left") ends.

#include "FuzzInput.h"
#include "render/Utf8.h"
#include "support/TestSession.h"

#include <cmath>

using namespace quillet;
using namespace quillet::testing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    const auto mode = input.take<uint8_t>() % 2 ? ListingMode::Preview : ListingMode::Direct;
    const float widthMm = input.take<float>();
    const float posY = input.take<float>();
    const float posX = input.take<float>();
    const auto page = input.take<int16_t>();
    const std::string_view text = input.rest();

    static TestSession preview(ListingMode::Preview);
    static TestSession direct(ListingMode::Direct);
    TestSession &listing = mode == ListingMode::Preview ? preview : direct;
    listing.surfaceInUse().logging = false;
    listing.state().CurPage = page;
    Composer &c = listing.composer;

    c.ExpandMarkers(text);
    const std::string fitted = c.FitText(text, widthMm);
    if (fitted.size() > text.size() + 3)
        __builtin_trap(); // at most the text and "..."
    c.WX(text);
    c.InSize(text, widthMm);
    c.L(text, posY, posX, widthMm);

    std::string rest(text);
    // A line break turns into a blank before the rest, so a text of breaks
    // takes more lines than it has characters, but never many more.
    const size_t maxLines = 4 * characterOffsets(text).size() + 2;
    for (size_t lines = 0; !rest.empty(); ++lines) {
        if (lines > maxLines)
            __builtin_trap(); // a host looping on M would never end
        rest = c.M(rest, posY, posX, widthMm);
    }
    if (mode == ListingMode::Preview && listing.session.spool->lastSlot() > 100000) {
        // Keep the shared spool file small across runs.
        listing.session.spool->remove();
        listing.session.spool = SpoolFile::create("QuilletFuzz-");
    }
    return 0;
}
