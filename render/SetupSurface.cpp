#include "render/SetupSurface.h"

#include "compose/Session.h"

#include <cmath>

namespace quillet {

namespace {

constexpr double TwipsPerMm = 1440.0 / 25.4;

/// Tenths of a millimetre to whole millimetres, half up.
int roundTenths(int tenths)
{
    return tenths / 10 + (tenths % 10 >= 5 ? 1 : 0);
}

/// Half the unprintable part of a side: the printable area is taken as centred.
float border(float paperMm, int printableTwips, int paperTwips)
{
    return static_cast<float>((paperMm - paperMm * printableTwips / static_cast<double>(paperTwips)) / 2);
}

} // namespace

CustomPaperResult SetCustomPaper(Session &session, int widthMm, int heightMm)
{
    if (!session.printer)
        return PrinterNotOpened;
    session.printer->killDoc();
    if (widthMm <= 0 || heightMm <= 0 || widthMm > MaxCustomPaperMm || heightMm > MaxCustomPaperMm)
        return PaperSizeRefused;
    return session.printer->setCustomPaper(widthMm, heightMm);
}

void SetupSurface(Session &session)
{
    PrinterDevice *printer = session.printer;
    if (!printer)
        return;
    ListingState &s = session.state;
    printer->endDoc();
    printer->setOrientation(s.PrtOri);
    if (s.PrtPaper != -1 && s.PrtPaper != CustomPaperCode)
        printer->setPaperSize(s.PrtPaper);
    if (s.PrtPaper == CustomPaperCode)
        SetCustomPaper(session, s.PaperW, s.PaperH);

    const bool custom = s.PrtPaper == CustomPaperCode;
    if (custom) {
        // The size asked for is the page as printed, in either orientation.
        s.PageW = s.PaperW;
        s.PageH = s.PaperH;
    }
    const PrinterPage page = printer->page();
    if (page.paperWidthTwips <= 0 || page.paperHeightTwips <= 0 || page.printableWidthTwips <= 0 ||
        page.printableHeightTwips <= 0)
        return; // cannot measure: the rest keeps its earlier measures

    if (!custom) {
        // Printable millimetres scaled up to the whole sheet, in tenths.
        const double printableWidthMm = page.printableWidthTwips / TwipsPerMm;
        const double printableHeightMm = page.printableHeightTwips / TwipsPerMm;
        const auto tenthsW = static_cast<int>(
            std::floor(printableWidthMm * page.paperWidthTwips / page.printableWidthTwips * 10));
        const auto tenthsH = static_cast<int>(
            std::floor(printableHeightMm * page.paperHeightTwips / page.printableHeightTwips * 10));
        s.PageW = static_cast<float>(roundTenths(tenthsW));
        s.PageH = static_cast<float>(roundTenths(tenthsH));
    }
    s.OffX = border(s.PageW, page.printableWidthTwips, page.paperWidthTwips);
    s.OffY = border(s.PageH, page.printableHeightTwips, page.paperHeightTwips);
}

} // namespace quillet
