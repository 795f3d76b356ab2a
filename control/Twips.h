#pragma once
// Window geometry is given in twips; the screen has 15 twips per pixel.

#include <QLatin1String>
#include <QRect>

namespace quillet {

constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}

/// A rectangle given in twips, in pixels.
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

/// Names a child widget and puts it at a rectangle in pixels.
template <typename Widget> Widget *placed(Widget *widget, const char *objectName, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(objectName));
    widget->setGeometry(geometry);
    return widget;
}

} // namespace quillet
