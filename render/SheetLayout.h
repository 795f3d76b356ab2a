#pragma once
// Several pages on each side of a sheet, or a booklet: which page of a job
// goes where, how much smaller and turned which way. The sheet is the
// listing's own paper, so a PDF file and a printer get the same sheets
// whatever the printer's driver can do.

#include <vector>

namespace quillet {

/// How the pages of a job go onto sheets.
struct SheetArrangement {
    int pagesPerSheet = 1; ///< 1, 2 or 4 pages on each side of a sheet
    /// Two pages a side, ordered so that the sheets, printed on both sides
    /// turned on the short edge, stacked and folded, read 1, 2, 3...
    bool booklet = false;

    static bool isValidPagesPerSheet(int pages) { return pages == 1 || pages == 2 || pages == 4; }
    /// One page a sheet, as drawn: nothing to arrange.
    bool isPlain() const { return !booklet && pagesPerSheet == 1; }
    bool operator==(const SheetArrangement &) const = default;
};

/// A sheet's paper and its printable area, in millimetres from the paper's corner.
struct SheetPaper {
    double widthMm = 0;
    double heightMm = 0;
    double printableLeftMm = 0;
    double printableTopMm = 0;
    double printableWidthMm = 0;
    double printableHeightMm = 0;
};

/// Where one page lands on a side: the page's drawing coordinates (from its
/// printable corner) mapped to the sheet's, as QTransform names its terms:
/// x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
struct PagePlacement {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    /// The page's paper in its own drawing coordinates: what is drawn beyond
    /// it would land on the neighbouring page.
    double clipLeftMm = 0, clipTopMm = 0, clipWidthMm = 0, clipHeightMm = 0;
};

class SheetLayout {
public:
    /// Pages the size of the sheet's paper, each scaled into an equal part of
    /// the printable area (halves across its longer side, or quarters), turned
    /// a quarter anticlockwise when it is larger so, and centred there.
    SheetLayout(const SheetArrangement &arrangement, const SheetPaper &paper);

    int slotsPerSide() const { return static_cast<int>(m_slots.size()); }
    /// Sides of sheets a job of pageCount pages takes; a booklet's come in
    /// pairs, front and back of each sheet.
    int sideCount(int pageCount) const;
    /// The positions in the job (from 1) of the pages on side (from 0), one
    /// per slot in placement order; 0 leaves the slot blank.
    std::vector<int> pagesOnSide(int side, int pageCount) const;
    /// Where the page in slot (from 0) lands, on every side alike. Slots run
    /// as the turned pages are read: left to right, then top to bottom.
    const PagePlacement &placement(int slot) const { return m_slots[slot]; }

private:
    std::vector<PagePlacement> m_slots;
    bool m_booklet;
};

} // namespace quillet
