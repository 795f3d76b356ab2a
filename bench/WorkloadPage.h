#pragma once
// The page the replay and print benchmarks work on: a centred bold 14 pt title
// with the page markers, a line under it, a table of five column titles and 50
// rows of Times New Roman 10 in a box, and a footer. Written once for any
// listing that has the composition commands: the core's Composer or the
// Quillet widget (string literals and c_str() convert to both).

#include <array>
#include <string>

namespace quillet::bench {

struct WorkloadColumn {
    float leftMm;
    float widthMm;
    const char *title;
};

inline constexpr const char *WorkloadFont = "Times New Roman";
inline constexpr float WorkloadTitleSizePt = 14;
inline constexpr float WorkloadCellSizePt = 10;
inline constexpr const char *WorkloadTitle = "Listagem de teste - Página PRICOCO de TRICOCO";
inline constexpr const char *WorkloadFooter = "Quillet - listagem de teste, fim da página";
/// Space between the line under the title and the table.
inline constexpr float WorkloadRuleGapMm = 2;
inline constexpr int WorkloadRows = 50;
inline constexpr std::array<WorkloadColumn, 5> WorkloadColumns{{{0, 20, "Código"},
                                                                {20, 70, "Descrição"},
                                                                {90, 30, "Quantidade"},
                                                                {120, 30, "Preço"},
                                                                {150, 40, "Total"}}};
inline constexpr float WorkloadTableWidthMm = WorkloadColumns.back().leftMm + WorkloadColumns.back().widthMm;

/// The text of a table cell; page from 1, row and column from 0.
std::string workloadCell(int page, int row, int column);

/// The workload page from the top of the page in progress; page numbers its
/// cells. Texts stand on the print line (the default alignment), so each line
/// moves the print line down before its text.
template <typename Listing> void composeWorkloadPage(Listing &listing, int page)
{
    constexpr int columnCount = static_cast<int>(WorkloadColumns.size());
    listing.PFont(WorkloadFont, WorkloadTitleSizePt, true);
    listing.PNL();
    listing.C(WorkloadTitle);
    listing.PNL(WorkloadRuleGapMm);
    const float ruleMm = listing.CurY();
    listing.PLine(ruleMm, 0, ruleMm, WorkloadTableWidthMm);
    listing.PNL(WorkloadRuleGapMm);

    for (const WorkloadColumn &column : WorkloadColumns)
        listing.NewCol(column.leftMm, column.widthMm);
    const float tableTopMm = listing.CurY();
    listing.PFont(WorkloadFont, WorkloadCellSizePt, true);
    listing.PNL();
    for (int column = 0; column < columnCount; ++column)
        listing.LCol(column + 1, WorkloadColumns[column].title);
    listing.PFont(WorkloadFont, WorkloadCellSizePt);
    for (int row = 0; row < WorkloadRows; ++row) {
        listing.PNL();
        for (int column = 0; column < columnCount; ++column)
            listing.LCol(column + 1, workloadCell(page, row, column).c_str());
    }
    listing.PBox(tableTopMm, 0, listing.CurY() - tableTopMm, WorkloadTableWidthMm); // height, width
    listing.L(WorkloadFooter, listing.MY(), 0);
}

/// pageCount workload pages, the first on the page in progress.
template <typename Listing> void composeWorkloadListing(Listing &listing, int pageCount)
{
    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1)
            listing.PNP();
        composeWorkloadPage(listing, page);
    }
}

} // namespace quillet::bench
