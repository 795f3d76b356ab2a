#pragma once
// The rest of a paragraph as M handed it back last, with its width in the
// surface's exact units. The host gives that rest to the next call, which is
// placed by the width of the whole rest: remembered, it need not be measured
// again from its first letter, so a paragraph costs what its lines cost. The
// rest is kept as a short head before a tail of one text copied once, so
// that remembering it costs no copy of the rest per line.

#include "render/Surface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

class ParagraphRest {
public:
    /// The width of text on surface in its units: the one remembered when
    /// text is the rest handed back last, on the same surface in the same
    /// font; measured otherwise. Nothing when the surface cannot add widths up.
    std::optional<int64_t> widthUnits(std::string_view text, const Surface &surface);
    /// Remembers the rest handed back after text, the text last given to
    /// widthUnits, whose width it gave: head, then text from tailFrom on.
    void remember(std::string_view text, size_t tailFrom, std::string_view head, int64_t units);
    void forget();

private:
    bool holds(std::string_view text) const
    {
        return text.size() == m_head.size() + m_paragraph.size() - m_tailFrom && text.starts_with(m_head) &&
               text.substr(m_head.size()) == std::string_view(m_paragraph).substr(m_tailFrom);
    }

    const Surface *m_surface = nullptr; ///< none: nothing remembered
    SurfaceFont m_font;
    std::string m_head;
    std::string m_paragraph; ///< the rest is m_head, then this from m_tailFrom on
    size_t m_tailFrom = 0;
    int64_t m_units = 0;
    bool m_lastHeld = false; ///< the text last given was the rest remembered
};

} // namespace quillet
