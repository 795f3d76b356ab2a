#include "render/Surface.h"

#include "render/Utf8.h"

namespace quillet {

void Surface::setFont(const SurfaceFont &font)
{
    const float keptSize = m_font.size;
    m_font = font;
    if (!(font.size > 0))
        m_font.size = keptSize;
}

std::vector<float> Surface::prefixWidths(std::string_view text, float stopAfterMm) const
{
    // Measures every prefix: exact for any device, quadratic; devices with
    // additive advances override it.
    std::vector<float> widths;
    const std::vector<size_t> offsets = characterOffsets(text);
    for (size_t i = 1; i < offsets.size(); ++i) {
        widths.push_back(textWidth(text.substr(0, offsets[i])));
        if (widths.back() > stopAfterMm)
            break;
    }
    return widths;
}

void Surface::fillRect(float x, float y, float width, float height, int color)
{
    constexpr int NoOutline = 5;
    constexpr int CopyPen = 13;
    const SurfacePen kept = m_pen;
    m_pen = SurfacePen{color, color, 0, 1, NoOutline, CopyPen};
    line(LineKind::BoxRelative, x, y, width, height);
    m_pen = kept;
}

} // namespace quillet
