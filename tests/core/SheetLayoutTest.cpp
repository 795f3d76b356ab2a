// Pages arranged on sheets: which page lands in which slot of each side, and
// where, in millimetres of the sheet. A rectangle is the page's paper as it
// lands (x, y, width, height, from the printable corner).

#include "render/SheetLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace quillet;

namespace {

using Rect = std::array<double, 4>;
using Sides = std::vector<std::vector<int>>;

/// The page's paper as placement puts it on the sheet.
Rect placedPage(const PagePlacement &p)
{
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (const double x : {p.clipLeftMm, p.clipLeftMm + p.clipWidthMm})
        for (const double y : {p.clipTopMm, p.clipTopMm + p.clipHeightMm}) {
            const double sx = p.m11 * x + p.m21 * y + p.dx, sy = p.m12 * x + p.m22 * y + p.dy;
            left = std::min(left, sx), right = std::max(right, sx);
            top = std::min(top, sy), bottom = std::max(bottom, sy);
        }
    return {left, top, right - left, bottom - top};
}

void expectNear(const Rect &actual, const Rect &expected, const char *why)
{
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 0.01) << why << ", term " << i;
}

constexpr SheetPaper A4{210, 297, 0, 0, 210, 297};
constexpr SheetPaper A4Landscape{297, 210, 0, 0, 297, 210};
constexpr SheetPaper Letter{215.9, 279.4, 0, 0, 215.9, 279.4};
constexpr SheetPaper A4Bordered{210, 297, 5, 5, 200, 287};

} // namespace

TEST(SheetLayout, PlacesEachPageInItsSlot)
{
    constexpr SheetArrangement booklet{2, true}, twoUp{2, false}, fourUp{4, false};
    // clang-format off
    const struct {
        const char *why;
        SheetArrangement arrangement;
        SheetPaper paper;
        int pages;
        Sides sides;
        bool turned;
        Rect first, last; ///< the first and the last slot of a side
    } rows[] = {
        {"booklet of 8: folded, the sheets read 1 to 8", booklet, A4, 8, {{8, 1}, {2, 7}, {6, 3}, {4, 5}},
         true, {0, 148.508, 210, 148.485}, {0, 0.008, 210, 148.485}},
        {"booklet of 5: three blank pages at the end", booklet, A4, 5, {{0, 1}, {2, 0}, {0, 3}, {4, 5}},
         true, {0, 148.508, 210, 148.485}, {0, 0.008, 210, 148.485}},
        {"booklet of 1: one sheet, its back blank", booklet, A4, 1, {{0, 1}, {0, 0}},
         true, {0, 148.508, 210, 148.485}, {0, 0.008, 210, 148.485}},
        {"no pages, no sheets", booklet, A4, 0, {},
         true, {0, 148.508, 210, 148.485}, {0, 0.008, 210, 148.485}},
        {"2 a side: in order, the last side half empty", twoUp, A4, 3, {{1, 2}, {3, 0}},
         true, {0, 148.508, 210, 148.485}, {0, 0.008, 210, 148.485}},
        {"4 a side: upright, left to right, then down", fourUp, A4, 5, {{1, 2, 3, 4}, {5, 0, 0, 0}},
         false, {0, 0, 105, 148.5}, {105, 148.5, 105, 148.5}},
        {"Letter halves are wider than the page: centred across", twoUp, Letter, 2, {{1, 2}},
         true, {17.555, 139.7, 180.79, 139.7}, {17.555, 0, 180.79, 139.7}},
        {"landscape: halves side by side, the first on the left", twoUp, A4Landscape, 2, {{1, 2}},
         true, {0, 0, 148.49, 210}, {148.5, 0, 148.49, 210}},
        {"a border: the printable area is divided, the page's border shrinks with it", fourUp, A4Bordered, 4,
         {{1, 2, 3, 4}}, false, {0, 1.035, 100, 141.43}, {100, 144.535, 100, 141.43}},
    };
    // clang-format on
    for (const auto &row : rows) {
        const SheetLayout layout(row.arrangement, row.paper);
        Sides sides;
        for (int side = 0; side < layout.sideCount(row.pages); ++side)
            sides.push_back(layout.pagesOnSide(side, row.pages));
        EXPECT_EQ(sides, row.sides) << row.why;
        const PagePlacement &first = layout.placement(0);
        EXPECT_EQ(first.m11 == 0, row.turned) << row.why;
        expectNear(placedPage(first), row.first, row.why);
        expectNear(placedPage(layout.placement(layout.slotsPerSide() - 1)), row.last, row.why);
        for (int slot = 0; slot < layout.slotsPerSide(); ++slot) { // proportions kept
            const Rect placed = placedPage(layout.placement(slot));
            const double ratio = row.turned ? placed[3] / placed[2] : placed[2] / placed[3];
            EXPECT_NEAR(ratio, row.paper.widthMm / row.paper.heightMm, 1e-9) << row.why;
        }
    }
}
