#pragma once
// A printer with a configurable sheet and unprintable border, counting the job
// calls made on it. Measures are reported in whole twips, as a real driver does.

#include "render/PrinterDevice.h"
#include "support/FakeSurface.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>

namespace quillet::testing {

class FakePrinter : public PrinterDevice {
public:
    struct PaperMm {
        double width = 0, height = 0;
    };
    static constexpr int Landscape = 2;
    static constexpr int CustomPaperCode = 256;

    /// Paper in portrait and the unprintable border on each side, millimetres.
    explicit FakePrinter(double paperWidthMm = 210, double paperHeightMm = 297, double borderMm = 0)
        : paper{paperWidthMm, paperHeightMm}, borderMm(borderMm)
    {
    }

    PaperMm paper; ///< portrait size of the sheet in use; 0 x 0 cannot be measured
    double borderMm = 0;
    /// Paper codes the printer takes (Letter, Legal, A3, A4), with their portrait size.
    std::map<int, PaperMm> acceptedPapers{
        {1, {215.9, 279.4}}, {5, {215.9, 355.6}}, {8, {297, 420}}, {9, {210, 297}}};
    CustomPaperResult customPaperResult = CustomPaperApplied;
    int endDocs = 0, killDocs = 0;

    void followDefault() override {}
    std::string deviceName() const override { return "Fake printer"; }
    bool setOrientation(int code) override
    {
        if (code != 1 && code != Landscape)
            return false;
        m_orientation = code;
        return true;
    }
    int orientation() const override { return m_orientation; }
    bool setPaperSize(int code) override
    {
        const auto accepted = acceptedPapers.find(code);
        if (accepted == acceptedPapers.end())
            return false;
        m_paperCode = code;
        paper = accepted->second;
        return true;
    }
    int paperSize() const override { return m_paperCode; }
    CustomPaperResult setCustomPaper(int widthMm, int heightMm) override
    {
        if (customPaperResult == CustomPaperApplied) {
            m_paperCode = CustomPaperCode;
            paper = {static_cast<double>(widthMm), static_cast<double>(heightMm)};
        }
        return customPaperResult;
    }
    PrinterPage page() const override
    {
        PaperMm sheet = paper;
        if (m_orientation == Landscape)
            std::swap(sheet.width, sheet.height);
        const auto twips = [](double mm) { return static_cast<int>(std::lround(mm * 1440 / 25.4)); };
        const auto printable = [this](double side) { return std::max(0.0, side - 2 * borderMm); };
        return {twips(sheet.width), twips(sheet.height), twips(printable(sheet.width)),
                twips(printable(sheet.height))};
    }
    Surface &surface() override { return fakeSurface; }
    void newPage() override {}
    void endDoc() override { ++endDocs; }
    void killDoc() override { ++killDocs; }

    FakeSurface fakeSurface;

private:
    int m_orientation = 1;
    int m_paperCode = 9;
};

} // namespace quillet::testing
