#include "render/Surface.h"

namespace quillet {

void Surface::setFont(const SurfaceFont &font)
{
    const float keptSize = m_font.size;
    m_font = font;
    if (!(font.size > 0))
        m_font.size = keptSize;
}

} // namespace quillet
