// Fonts and alignment: what reaches the surface and what is recorded for replay.

#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace quillet;
using namespace quillet::testing;

namespace {

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
