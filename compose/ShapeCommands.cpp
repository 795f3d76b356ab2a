#include "compose/Composer.h"
#include "compose/Lengths.h"
#include "render/Surface.h"

#include <climits>
#include <cmath>

namespace quillet {

int Composer::penWidth(int Expe) const
{
    double width = Expe;
    if (m_state.Preview)
        width = std::floor(width * m_state.Zoom);
    // A zoom that is not a number draws with the thinnest pen, as 0 does.
    return !(width >= 1) ? 1 : width > INT_MAX ? INT_MAX : static_cast<int>(width);
}

template <typename Draw> void Composer::withPenWidth(int width, Draw &&draw)
{
    Surface *s = surface();
    if (!s)
        return;
    s->pen().drawWidth = width;
    draw(*s);
    s->pen().drawWidth = 1;
}

void Composer::PBox(float y1, float x1, float y2, float x2, int Expe)
{
    if (!clampLengths(y1, x1, y2, x2))
        return;
    const int width = penWidth(Expe);
    record<commands::PBox>(y1 == CurY() ? -1.0f : y1, x1 == CurX() ? -1.0f : x1, y2, x2, width);
    if (x1 < 0)
        x1 = CurX();
    if (y1 < 0)
        y1 = CurY();
    const float left = m_state.LeftMarg + x1;
    const float top = m_state.TopMarg + y1;
    const float right = left + x2;
    const float bottom = top + y2;
    withPenWidth(width, [&](Surface &s) {
        if (y2 == 0)
            s.line(LineKind::Line, left, top, right, top);
        else if (x2 == 0)
            s.line(LineKind::Line, left, top, left, bottom);
        else
            s.line(LineKind::Box, left, top, right, bottom);
    });
}

void Composer::PLine(float y1, float x1, float y2, float x2, int Expe)
{
    if (!clampLengths(y1, x1, y2, x2))
        return;
    const int width = penWidth(Expe);
    record<commands::PLine>(y1, x1, y2, x2, width);
    const float left = m_state.LeftMarg;
    const float top = m_state.TopMarg;
    withPenWidth(width,
                 [&](Surface &s) { s.line(LineKind::Line, left + x1, top + y1, left + x2, top + y2); });
}

void Composer::PCircle(float PosY, float PosX, float Raio, int Expe)
{
    if (!clampLengths(PosY, PosX, Raio))
        return;
    const int width = penWidth(Expe);
    record<commands::PCircle>(PosY, PosX, Raio, width);
    const float x = m_state.LeftMarg + PosX;
    const float y = m_state.TopMarg + PosY;
    withPenWidth(width, [&](Surface &s) { s.circle(x, y, Raio); });
}

void Composer::PNewImg(std::shared_ptr<const Picture> IMG)
{
    if (m_state.NumImgs >= MaxImages || !IMG)
        return;
    m_state.Imgs[m_state.NumImgs++] = std::move(IMG);
}

void Composer::PDrawImg(int NImg, float PosY, float PosX)
{
    if (NImg > m_state.NumImgs || !clampLengths(PosY, PosX))
        return;
    Surface *s = surface();
    const Picture *picture = NImg >= 1 ? m_state.Imgs[NImg - 1].get() : nullptr;
    // Natural size relative to the sheet, on paper and at any zoom.
    if (s && picture)
        s->paintPicture(*picture, m_state.LeftMarg + PosX, m_state.TopMarg + PosY, picture->widthMm(),
                        picture->heightMm());
    record<commands::PDrawImg>(NImg, PosY, PosX);
}

} // namespace quillet
