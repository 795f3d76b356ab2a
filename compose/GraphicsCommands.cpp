#include "compose/Composer.h"
#include "render/Surface.h"

namespace quillet {

void Composer::PColor(int FColor)
{
    record<commands::PColor>(FColor);
    if (Surface *s = surface())
        s->pen().foreColor = FColor;
}

void Composer::PFill(int FColor, int FStyle)
{
    record<commands::PFill>(FColor, FStyle);
    if (Surface *s = surface()) {
        s->pen().fillStyle = FStyle;
        s->pen().fillColor = FColor;
    }
}

void Composer::PFix(bool FX, bool FY)
{
    m_state.FixX = FX;
    m_state.FixY = FY;
    record<commands::PFix>(FX, FY);
}

void Composer::PDraw(int DStyle, int DMode)
{
    if (Surface *s = surface()) {
        s->pen().drawStyle = DStyle;
        s->pen().drawMode = DMode;
    }
    record<commands::PDraw>(DStyle, DMode);
}

} // namespace quillet
