#pragma once
// Window geometry is given in twips; the screen has 15 twips per pixel.

#include "render/PrinterDevice.h"

#include <QLatin1String>
#include <QRect>
#include <QWidget>

#include <algorithm>
#include <cmath>

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

/// The pixel size of the sheet at a zoom; 0 for a size that cannot be shown.
inline QSize sheetPixels(const PrinterPage &paper, float zoom)
{
    const auto pixels = [zoom = double(zoom)](int twips) {
        const double size = std::round(zoom * twips / TwipsPerPixel);
        return std::isfinite(size) ? static_cast<int>(std::clamp(size, 0.0, double(QWIDGETSIZE_MAX))) : 0;
    };
    return {pixels(paper.paperWidthTwips), pixels(paper.paperHeightTwips)};
}

/// Names a child widget and puts it at a rectangle in pixels.
template <typename Widget> Widget *placed(Widget *widget, const char *objectName, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(objectName));
    widget->setGeometry(geometry);
    return widget;
}

} // namespace quillet
