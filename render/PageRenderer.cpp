#include "render/PageRenderer.h"

#include "compose/Composer.h"
#include "compose/PenWidthCode.h"
#include "spool/PageReader.h"

#include <cmath>
#include <limits>
#include <optional>

namespace quillet {

namespace {

/// Whole numbers from recorded singles, rounding half to even; a value out of
/// the range makes the command unusable. The upper bound is -min, exclusive:
/// a float cannot hold INT32_MAX, and rounding it up would let 2^31 through.
template <typename Int> std::optional<Int> wholeNumber(float value)
{
    const float rounded = std::nearbyint(value);
    const float lowest = static_cast<float>(std::numeric_limits<Int>::min());
    if (!(rounded >= lowest && rounded < -lowest))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

const auto CInt = wholeNumber<int16_t>;
const auto CLng = wholeNumber<int32_t>;

} // namespace

void PageRenderer::render(int page)
{
    ListingState &s = m_session.state;
    if (s.Spooling || !m_session.spool || page < 1 || page > MaxPages)
        return; // replaying while recording would append the page to itself
    s.CurPage = static_cast<int16_t>(page);
    s.CursorX = s.LeftMarg;
    s.CursorY = s.TopMarg;
    forEachRecordOfPage(*m_session.spool, s.PageIndex, page, [this](const SpoolRecord &r) { dispatch(r); });
}

ListingReplay::ListingReplay(const Session &listing, Surface &target, Look look, float zoom)
{
    m_copy.state = listing.state;
    m_copy.spool = listing.spool;
    m_copy.printer = listing.printer;
    ListingState &s = m_copy.state;
    s.NumPages = static_cast<int16_t>(quillet::pageCount(listing.state)); // for the page-count marker
    s.Spooling = false;
    s.Surface = &target;
    s.Zoom = zoom;
    if (look == Look::Printed)
        s.Preview = false;
}

void PageRenderer::dispatch(const SpoolRecord &r)
{
    Composer c(m_session);
    const auto code = [&r] { return penWidthOf(r.text); };
    switch (r.op) {
    case RecMargins:
        c.PMargins(r.valB, r.valA, r.valD, r.valC);
        break;
    case RecTextLeft:
        c.L(r.text, r.valB, r.valA, r.valE);
        break;
    case RecBox:
        c.PBox(r.valB, r.valA, r.valD, r.valC, code());
        break;
    case RecColor:
        if (auto color = CLng(r.valA))
            c.PColor(*color);
        break;
    case RecFill:
        if (auto color = CLng(r.valA)) {
            if (auto style = CInt(r.valB))
                c.PFill(*color, *style);
        }
        break;
    case RecFont:
        c.PFont(r.text, r.valA, r.valB != 0, r.valC != 0, r.valD != 0);
        break;
    case RecFix:
        c.PFix(r.valA != 0, r.valB != 0);
        break;
    case RecAlign:
        if (auto mode = CInt(r.valA))
            c.PAlign(*mode);
        break;
    case RecDraw:
        if (auto style = CInt(r.valA), mode = CInt(r.valB); style && mode)
            c.PDraw(*style, *mode);
        break;
    case RecNewLine:
        c.PNL(r.valA);
        break;
    case RecTextRight:
        c.R(r.text, r.valB, r.valA, r.valE);
        break;
    case RecNewCol:
        c.NewCol(r.valA, r.valB);
        break;
    case RecClsCols:
        c.ClsCols();
        break;
    case RecColLeft:
        if (auto column = CInt(r.valA))
            c.LCol(*column, r.text, r.valB, r.valC, r.valE != 0);
        break;
    case RecColRight:
        if (auto column = CInt(r.valA))
            c.RCol(*column, r.text, r.valB, r.valC, r.valE != 0);
        break;
    case RecTextCenter:
        c.C(r.text, r.valB, r.valA, r.valC);
        break;
    case RecColCenter:
        if (auto column = CInt(r.valA))
            c.CCol(*column, r.text, r.valB, r.valE != 0);
        break;
    case RecTextMulti:
        c.M(r.text, r.valB, r.valA, r.valC);
        break;
    case RecCircle:
        c.PCircle(r.valB, r.valA, r.valC, code());
        break;
    case RecLine:
        c.PLine(r.valB, r.valA, r.valD, r.valC, code());
        break;
    case RecImage:
        if (auto picture = CInt(r.valC))
            c.PDrawImg(*picture, r.valB, r.valA);
        break;
    default:
        break; // opcodes of later versions
    }
}

} // namespace quillet
