#include "render/SheetLayout.h"

#include <algorithm>

namespace quillet {

namespace {

/// A booklet's sheet holds four pages, two a side.
constexpr int PagesPerBookletSheet = 4;

} // namespace

SheetLayout::SheetLayout(const SheetArrangement &arrangement, const SheetPaper &paper)
    : m_booklet(arrangement.booklet)
{
    const int slots = arrangement.booklet ? 2
                      : SheetArrangement::isValidPagesPerSheet(arrangement.pagesPerSheet)
                          ? arrangement.pagesPerSheet
                          : 1;
    const double printableW = paper.printableWidthMm, printableH = paper.printableHeightMm;
    const int columns = slots == 4 || (slots == 2 && printableW >= printableH) ? 2 : 1;
    const int rows = slots / columns;
    const double slotW = printableW / columns, slotH = printableH / rows;
    const double pageW = paper.widthMm, pageH = paper.heightMm;
    if (!(pageW > 0) || !(pageH > 0))
        return;
    const double uprightScale = std::min(slotW / pageW, slotH / pageH);
    const double turnedScale = std::min(slotW / pageH, slotH / pageW);
    const bool turned = turnedScale > uprightScale * (1 + 1e-9);
    const double scale = turned ? turnedScale : uprightScale;
    // The page's centre in its own drawing coordinates.
    const double pageCx = pageW / 2 - paper.printableLeftMm, pageCy = pageH / 2 - paper.printableTopMm;
    const auto placed = [&](double m11, double m12, double m21, double m22, double dx, double dy) {
        return PagePlacement{m11,   m12,  m21, m22, dx, dy, -paper.printableLeftMm, -paper.printableTopMm,
                             pageW, pageH};
    };
    for (int slot = 0; slot < slots; ++slot) {
        // A page turned anticlockwise, its top towards the sheet's left, is
        // read from the sheet's bottom up, column by column.
        const int column = turned ? slot / rows : slot % columns;
        const int row = turned ? rows - 1 - slot % rows : slot / columns;
        const double cx = (column + 0.5) * slotW, cy = (row + 0.5) * slotH;
        m_slots.push_back(turned ? placed(0, -scale, scale, 0, cx - scale * pageCy, cy + scale * pageCx)
                                 : placed(scale, 0, 0, scale, cx - scale * pageCx, cy - scale * pageCy));
    }
}

int SheetLayout::sideCount(int pageCount) const
{
    if (pageCount <= 0 || m_slots.empty())
        return 0;
    if (m_booklet)
        return (pageCount + PagesPerBookletSheet - 1) / PagesPerBookletSheet * 2;
    return (pageCount + slotsPerSide() - 1) / slotsPerSide();
}

std::vector<int> SheetLayout::pagesOnSide(int side, int pageCount) const
{
    std::vector<int> pages;
    const auto add = [&](int position) { pages.push_back(position <= pageCount ? position : 0); };
    if (m_booklet) {
        // Sheet j holds the pages 2j+1 and 2j+2 from the front of the booklet
        // and as many from its back: the outer sheet 1, 2 and last, last but one.
        const int last = (pageCount + PagesPerBookletSheet - 1) / PagesPerBookletSheet * PagesPerBookletSheet;
        const int sheet = side / 2;
        if (side % 2 == 0) {
            add(last - 2 * sheet);
            add(2 * sheet + 1);
        } else {
            add(2 * sheet + 2);
            add(last - 2 * sheet - 1);
        }
        return pages;
    }
    for (int slot = 0; slot < slotsPerSide(); ++slot)
        add(side * slotsPerSide() + slot + 1);
    return pages;
}

} // namespace quillet
