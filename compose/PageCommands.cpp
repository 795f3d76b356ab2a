#include "compose/Composer.h"
#include "compose/Lengths.h"
#include "render/PrinterDevice.h"
#include "render/Surface.h"

#include <cmath>

namespace quillet {

void Composer::PMargins(float TMarg, float LMarg, float BMarg, float RMarg)
{
    if (!clampLengths(TMarg, LMarg, BMarg, RMarg))
        return;
    record<commands::PMargins>(TMarg, LMarg, BMarg, RMarg);

    ListingState &s = m_state;
    const auto fromBorder = [](float margin, float border) {
        return margin < border ? 0.0f : margin - border;
    };
    s.LeftMarg = fromBorder(LMarg, s.OffX);
    s.TopMarg = fromBorder(TMarg, s.OffY);
    s.RightMarg = fromBorder(RMarg, s.OffX);
    s.BotMarg = fromBorder(BMarg, s.OffY);
    s.UseW = s.PageW - s.LeftMarg - s.RightMarg - 2 * s.OffX;
    s.UseH = s.PageH - s.TopMarg - s.BotMarg - 2 * s.OffY;
    s.CursorX = s.LeftMarg;
    s.CursorY = s.TopMarg;

    // The preview page shows the whole sheet with 0 at the printable corner, as on the printer.
    if (s.Preview && m_session.pageSurface && m_session.printer)
        mapWholeSheet(*m_session.pageSurface, m_session.printer->page(), s.OffX, s.OffY);
}

void Composer::PNL(float Skip)
{
    if (!std::isfinite(Skip))
        return;
    const float advance = Skip == 0 ? WY({}) : clampLength(Skip);
    m_state.CursorY = clampLength(m_state.CursorY + advance);
    m_state.CursorX = m_state.LeftMarg;
    record<commands::PNL>(advance);
}

void Composer::PNP()
{
    ListingState &s = m_state;
    if (!s.Preview && !m_session.spool && m_session.printer)
        m_session.printer->newPage();
    s.CursorX = s.LeftMarg;
    s.CursorY = s.TopMarg;
    // A listing holds at most 32767 pages; later pages run on into the last one.
    const bool advanced = s.CurPage < MaxPages;
    if (advanced)
        ++s.CurPage;
    if ((s.ShowWait || s.Spooling) && m_session.events)
        m_session.events->pageStarted(s.CurPage);
    if (advanced && s.Spooling && m_session.spool)
        s.PageIndex.push_back(m_session.spool->lastSlot() + 1);
    ListingDefaults();
}

void Composer::ListingDefaults()
{
    PMargins(10, 10, 10, 10);
    PColor(0);
    PFill(0, 1);
    PFont("Times New Roman", 12, false, false, true);
    PFix(false, true);
    PAlign(2);
    PDraw(0, 13);
    ClsCols();
}

} // namespace quillet
