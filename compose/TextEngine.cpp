#include "compose/Composer.h"
#include "compose/Lengths.h"
#include "render/Surface.h"
#include "render/Utf8.h"
#include "spool/PageMarkers.h"

#include <algorithm>

namespace quillet {

namespace {

constexpr std::string_view Ellipsis = "...";
constexpr int SolidFill = 0;

} // namespace

std::string Composer::ExpandMarkers(std::string_view text) const
{
    const ListingState &s = m_state;
    if (s.Preview && recording())
        return std::string(text); // resolved when the page is replayed
    const bool direct = !s.Preview && !m_session.spool;
    const std::string pageCount = direct ? "*" : std::to_string(s.NumPages);
    return withMarkersExpanded(text, std::to_string(s.CurPage), pageCount);
}

std::string Composer::placedText(std::string_view recorded) const
{
    if (!m_state.PrintAtShow || !recording())
        return std::string(recorded);
    return withMarkersExpanded(recorded, std::to_string(m_state.CurPage), "*");
}

std::string Composer::FitText(std::string_view text, float widthMm) const
{
    if (!surface())
        return {};
    // Most texts fit whole, and one measure of the whole text says so.
    if (WX(text) <= widthMm)
        return std::string(text);
    const std::vector<size_t> offsets = characterOffsets(text);
    const size_t length = offsets.size() - 1;
    const std::vector<float> widths = surface()->prefixWidths(text, widthMm);
    size_t fitting = widths.size();
    while (fitting >= 1 && !(widths[fitting - 1] <= widthMm))
        --fitting;
    if (fitting == length)
        return std::string(text);
    const float ellipsisWidth = WX(Ellipsis);
    for (size_t kept = fitting; kept >= 1; --kept)
        if (widths[kept - 1] + ellipsisWidth <= widthMm)
            return std::string(text.substr(0, offsets[kept])) + std::string(Ellipsis);
    return std::string(text.substr(0, offsets[fitting]));
}

void Composer::EmitText(std::string_view text)
{
    Surface *surf = surface();
    if (!surf)
        return;
    ListingState &s = m_state;
    const float height = WY(text);
    const float line = surf->currentY();
    float shift = 0; // the ascent or descent the alignment stands on
    float top = line;
    switch (s.AlignMode) {
    case 2:
        top = line - height;
        break;
    case 1:
        shift = surf->fontDescent();
        top = line + shift - height;
        break;
    case -1:
        shift = surf->fontAscent();
        top = line + shift - height;
        break;
    default:
        break;
    }
    if (top < s.TopMarg) {
        // A text never rises above the top margin; the print line follows it down.
        surf->setCurrentY(s.TopMarg);
        s.CursorY = lengthOrZero(s.TopMarg - shift + height + (s.FixY ? 0 : height));
    } else {
        surf->setCurrentY(top);
    }

    SurfaceFont font = surf->font();
    if (surf->pen().fillStyle == 1 || font.transparent) {
        surf->print(text);
        return;
    }
    // Opaque text: its box is painted solid in the fill colour, whatever hatch
    // the boxes use, then the text goes on top.
    const float x = surf->currentX();
    const float y = surf->currentY();
    const SurfacePen pen = surf->pen();
    font.transparent = true;
    surf->setFont(font);
    surf->pen().foreColor = pen.fillColor;
    surf->pen().fillStyle = SolidFill;
    surf->line(LineKind::BoxRelative, x, y, WX(text), height);
    surf->setCurrentX(x);
    surf->setCurrentY(y);
    surf->pen() = pen;
    surf->print(text);
    font.transparent = false;
    surf->setFont(font);
}

} // namespace quillet
