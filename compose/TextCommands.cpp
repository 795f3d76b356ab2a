#include "compose/Composer.h"
#include "compose/Lengths.h"
#include "render/Surface.h"

namespace quillet {

namespace {

/// Centred texts stand this far right of the exact middle.
constexpr float CentreShiftMm = 0.2f;

/// Where a text starts on one axis: at the cursor for a negative position,
/// else that far from the margin. The cursor moves on by advance past it, and
/// stays a usable length whatever a font's measures come to.
float placeOnAxis(float position, float margin, float advance, float &cursor)
{
    const float start = position < 0 ? cursor : margin + position;
    cursor = clampLength(start + lengthOrZero(advance));
    return start;
}

} // namespace

float Composer::horizontalValue(float PosX) const
{
    return PosX < 0 || PosX == CurX() ? -1.0f : PosX;
}

float Composer::verticalValue(float PosY) const
{
    if (PosY < 0)
        return CurY();
    return PosY == CurY() ? -1.0f : PosY;
}

void Composer::placeLeft(float PosX, float widthMm)
{
    ListingState &s = m_state;
    surface()->setCurrentX(placeOnAxis(PosX, s.LeftMarg, s.FixX ? 0.0f : widthMm, s.CursorX));
}

float Composer::placeVertically(float PosY, float heightMm)
{
    ListingState &s = m_state;
    const float recorded = verticalValue(PosY);
    surface()->setCurrentY(placeOnAxis(PosY, s.TopMarg, s.FixY ? 0.0f : heightMm, s.CursorY));
    return recorded;
}

void Composer::L(std::string_view StrToPrint, float PosY, float PosX, float Wid)
{
    sideText<commands::L>(StrToPrint, PosY, PosX, Wid);
}

void Composer::R(std::string_view StrToPrint, float PosY, float PosX, float Wid)
{
    sideText<commands::R>(StrToPrint, PosY, PosX, Wid);
}

template <typename Row>
void Composer::sideText(std::string_view StrToPrint, float PosY, float PosX, float Wid)
{
    if (!surface())
        return;
    PosY = positionOrMissing(PosY);
    PosX = positionOrMissing(PosX);
    Wid = lengthOrZero(Wid); // 0: no limit
    const std::string s = ExpandMarkers(StrToPrint);
    const std::string placed = placedText(s);
    const std::string t = Wid == 0 ? placed : FitText(placed, Wid);
    const float w = WX(t);
    const float recordedX = horizontalValue(PosX);
    if constexpr (Row::op == RecTextLeft) {
        placeLeft(PosX, w);
    } else if (PosX < 0) {
        surface()->setCurrentX(m_state.CursorX - w); // a right-aligned text ends at the cursor
    } else {
        surface()->setCurrentX(m_state.LeftMarg + PosX - w);
        m_state.CursorX = m_state.LeftMarg + PosX;
    }
    const float recordedY = placeVertically(PosY, WY(t));
    record<Row>(s, recordedY, recordedX, Wid);
    EmitText(t);
}

void Composer::C(std::string_view StrToPrint, float PosY, float PosX, float MaxX)
{
    if (!surface())
        return;
    PosY = positionOrMissing(PosY);
    PosX = positionOrMissing(PosX);
    MaxX = positionOrMissing(MaxX);
    const std::string s = ExpandMarkers(StrToPrint);
    const std::string placed = placedText(s);
    const float from = PosX < 0 ? 0.0f : PosX;
    const float to = MaxX < 0 ? m_state.UseW : MaxX;
    surface()->setCurrentX(m_state.LeftMarg + from + ((to - from) - WX(placed)) / 2 + CentreShiftMm);
    const float recordedY = placeVertically(PosY, WY(placed));
    const float recordedMax = MaxX < 0 || MaxX == m_state.UseW ? -1.0f : MaxX;
    record<commands::C>(s, recordedY, PosX, recordedMax);
    EmitText(placed);
}

} // namespace quillet
