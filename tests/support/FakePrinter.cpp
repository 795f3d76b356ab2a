#include "support/FakePrinter.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillet::testing {

bool FakePrinter::setOrientation(int code)
{
    if (code != 1 && code != Landscape)
        return false;
    m_orientation = code;
    return true;
}

bool FakePrinter::setPaperSize(int code)
{
    const auto accepted = acceptedPapers.find(code);
    if (accepted == acceptedPapers.end())
        return false;
    m_paperCode = code;
    paper = accepted->second;
    return true;
}

CustomPaperResult FakePrinter::setCustomPaper(int widthMm, int heightMm)
{
    if (customPaperResult == CustomPaperApplied) {
        m_paperCode = CustomPaperCode;
        paper = {static_cast<double>(widthMm), static_cast<double>(heightMm)};
    }
    return customPaperResult;
}

PrinterPage FakePrinter::page() const
{
    PaperMm sheet = paper;
    if (m_orientation == Landscape)
        std::swap(sheet.width, sheet.height);
    const auto twips = [](double mm) { return static_cast<int>(std::lround(mm * 1440 / 25.4)); };
    const auto printable = [this](double side) { return std::max(0.0, side - 2 * borderMm); };
    return {twips(sheet.width), twips(sheet.height), twips(printable(sheet.width)),
            twips(printable(sheet.height))};
}

} // namespace quillet::testing
