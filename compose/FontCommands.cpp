#include "compose/Composer.h"
#include "render/Surface.h"

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {
constexpr float MaxFontPoints = 2160;
}

void Composer::PFont(std::string_view FTName, float FTSize, bool FTBold, bool FTItalic, bool FTTrans)
{
    const float size = std::isfinite(FTSize) && FTSize > 0 ? std::min(FTSize, MaxFontPoints) : 0.0f;
    SurfaceFont font;
    if (Surface *s = surface()) {
        font = s->font();
        if (!FTName.empty())
            font.name = std::string(FTName);
        // A size of 0 keeps the size in force.
        font.size = size > 0 ? (m_state.Preview ? size * m_state.Zoom : size) : 0;
        font.bold = FTBold;
        font.italic = FTItalic;
        font.transparent = FTTrans;
        s->setFont(font);
        font = s->font();
    } else {
        font.bold = FTBold;
        font.italic = FTItalic;
        font.transparent = FTTrans;
    }
    record<commands::PFont>(FTName, size, font.bold, font.italic, font.transparent);
}

void Composer::PAlign(int PAl)
{
    if (PAl < -2 || PAl > 2 || PAl == 0)
        return;
    m_state.AlignMode = static_cast<int16_t>(PAl);
    record<commands::PAlign>(PAl);
}

float Composer::WX(std::string_view StrToSee) const
{
    return surface() ? surface()->textWidth(StrToSee) : 0.0f;
}

float Composer::WY(std::string_view StrToSee) const
{
    return surface() ? surface()->textHeight(StrToSee) : 0.0f;
}

bool Composer::InSize(std::string_view StrToSee, float PrtSize) const
{
    return WX(StrToSee) <= PrtSize;
}

float Composer::NLines() const
{
    const float lineHeight = WY({});
    if (!(lineHeight > 0))
        return 0;
    return std::floor((m_state.UseH - CurY()) / lineHeight);
}

} // namespace quillet
