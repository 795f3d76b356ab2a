// Pages arranged on sheets: which page lands in which slot of each side, and
// where the second slot puts its page: the centre of the page's paper, in
// millimetres from the sheet's printable corner (centred in its half or
// quarter; that also tells the slots' order), its scale and whether it is turned.

#include "render/SheetLayout.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillet;

TEST(SheetLayout, PlacesEachPageInItsSlot)
{
    constexpr SheetArrangement booklet{2, true}, twoUp{2, false}, fourUp{4, false};
    constexpr SheetPaper a4{210, 297, 0, 0, 210, 297}, letter{215.9, 279.4, 0, 0, 215.9, 279.4};
    constexpr SheetPaper a4Landscape{297, 210, 0, 0, 297, 210}, a4Bordered{210, 297, 5, 5, 200, 287};
    // clang-format off
    // x, y, scale and turned: of the second slot.
    const struct { const char *why; SheetArrangement arrangement; SheetPaper paper; int pages;
                   std::vector<std::vector<int>> sides; double x, y, scale; bool turned; } rows[] = {
        {"8: folded, 1 to 8", booklet, a4, 8, {{8, 1}, {2, 7}, {6, 3}, {4, 5}}, 105, 74.25, .7071, true},
        {"5: 3 blanks at the end", booklet, a4, 5, {{0, 1}, {2, 0}, {0, 3}, {4, 5}}, 105, 74.25, .7071, true},
        {"1: its back blank", booklet, a4, 1, {{0, 1}, {0, 0}}, 105, 74.25, .7071, true},
        {"2 a side: the last side half empty", twoUp, a4, 3, {{1, 2}, {3, 0}}, 105, 74.25, .7071, true},
        {"4 a side: across, then down", fourUp, a4, 5, {{1, 2, 3, 4}, {5, 0, 0, 0}}, 157.5, 74.25, .5, false},
        {"Letter: a half's height decides", twoUp, letter, 2, {{1, 2}}, 107.95, 69.85, .6471, true},
        {"landscape: halves side by side", twoUp, a4Landscape, 2, {{1, 2}}, 222.75, 105, .7071, true},
        {"border: printable area divided", fourUp, a4Bordered, 4, {{1, 2, 3, 4}}, 150, 71.75, .4762, false},
    };
    // clang-format on
    for (const auto &row : rows) {
        const SheetLayout layout(row.arrangement, row.paper);
        std::vector<std::vector<int>> sides;
        for (int side = 0; side < layout.sideCount(row.pages); ++side)
            sides.push_back(layout.pagesOnSide(side, row.pages));
        EXPECT_EQ(sides, row.sides) << row.why;
        const PagePlacement &p = layout.placement(1);
        const double cx = p.clipLeftMm + p.clipWidthMm / 2, cy = p.clipTopMm + p.clipHeightMm / 2;
        EXPECT_NEAR(p.m11 * cx + p.m21 * cy + p.dx, row.x, 1e-3) << row.why;
        EXPECT_NEAR(p.m12 * cx + p.m22 * cy + p.dy, row.y, 1e-3) << row.why;
        EXPECT_NEAR(std::hypot(p.m11, p.m12), row.scale, 1e-4) << row.why;
        EXPECT_EQ(p.m11 == 0, row.turned) << row.why;
    }
}
