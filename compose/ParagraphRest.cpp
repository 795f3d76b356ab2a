#include "compose/ParagraphRest.h"

namespace quillet {

std::optional<int64_t> ParagraphRest::widthUnits(std::string_view text, const Surface &surface)
{
    m_lastHeld = m_surface == &surface && m_font == surface.font() && holds(text);
    if (m_lastHeld)
        return m_units;
    forget();
    const std::optional<int64_t> units = surface.widthUnits(text);
    if (units) {
        m_surface = &surface;
        m_font = surface.font();
    }
    return units;
}

void ParagraphRest::remember(std::string_view text, size_t tailFrom, std::string_view head, int64_t units)
{
    if (m_lastHeld && tailFrom >= m_head.size()) {
        m_tailFrom += tailFrom - m_head.size();
    } else {
        m_paragraph.assign(text.substr(tailFrom));
        m_tailFrom = 0;
    }
    m_head.assign(head);
    m_units = units;
    m_lastHeld = false;
}

void ParagraphRest::forget()
{
    m_surface = nullptr;
    m_lastHeld = false;
    std::string().swap(m_head);
    std::string().swap(m_paragraph);
    m_tailFrom = 0;
}

} // namespace quillet
