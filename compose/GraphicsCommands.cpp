#include "compose/Composer.h"
#include "render/Surface.h"

namespace quillet {

void Composer::PColor(int FColor)
{
    record(RecColor, static_cast<float>(FColor));
    if (Surface *s = surface())
        s->pen().foreColor = FColor;
}

void Composer::PFill(int FColor, int FStyle)
{
    record(RecFill, static_cast<float>(FColor), static_cast<float>(FStyle));
    if (Surface *s = surface()) {
        s->pen().fillStyle = FStyle;
        s->pen().fillColor = FColor;
    }
}

void Composer::PFix(bool FX, bool FY)
{
    m_state.FixX = FX;
    m_state.FixY = FY;
    record(RecFix, FX ? 1 : 0, FY ? 1 : 0);
}

void Composer::PDraw(int DStyle, int DMode)
{
    if (Surface *s = surface()) {
        s->pen().drawStyle = DStyle;
        s->pen().drawMode = DMode;
    }
    record(RecDraw, static_cast<float>(DStyle), static_cast<float>(DMode));
}

} // namespace quillet
