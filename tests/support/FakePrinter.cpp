#include "support/FakePrinter.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillet::testing {

int mmToTwips(double mm)
{
    return static_cast<int>(std::lround(mm * 1440 / 25.4));
}

FakePrinter::FakePrinter(double paperWidthMm, double paperHeightMm, double borderMm)
    : paper{paperWidthMm, paperHeightMm}, borderMm(borderMm)
{
}

bool FakePrinter::setOrientation(int code)
{
    if (code != Portrait && code != Landscape)
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
    const auto printable = [this](double side) { return std::max(0.0, side - 2 * borderMm); };
    return {mmToTwips(sheet.width), mmToTwips(sheet.height), mmToTwips(printable(sheet.width)),
            mmToTwips(printable(sheet.height))};
}

} // namespace quillet::testing
