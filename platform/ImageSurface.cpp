#include "platform/ImageSurface.h"

#include <QPainter>

#include <cmath>

namespace quillet {

namespace {

constexpr qreal PixelsPerMmAtZoom1 = 96 / 25.4;
constexpr qint64 MaxImagePixels = 64LL * 1024 * 1024;

} // namespace

ImageSurface::ImageSurface()
{
    updateMapping();
}

ImageSurface::~ImageSurface() = default;

void ImageSurface::setPixelSize(QSize size, qreal devicePixelRatio)
{
    m_painter.reset();
    const bool usable =
        size.width() > 0 && size.height() > 0 && qint64(size.width()) * size.height() <= MaxImagePixels;
    m_image = usable ? QImage(size, QImage::Format_RGB32) : QImage();
    if (std::isfinite(devicePixelRatio) && devicePixelRatio > 0)
        m_image.setDevicePixelRatio(devicePixelRatio);
    m_image.fill(Qt::white);
    updateMapping();
}

const QImage &ImageSurface::image() const
{
    m_painter.reset(); // a copy taken now must not change with later drawing
    return m_image;
}

void ImageSurface::clear()
{
    m_painter.reset();
    m_image.fill(Qt::white);
}

void ImageSurface::setScale(float left, float top, float right, float bottom)
{
    const QRectF page(QPointF(left, top), QPointF(right, bottom));
    if (!std::isfinite(page.width()) || !std::isfinite(page.height()) || page.width() == 0 ||
        page.height() == 0 || !std::isfinite(left) || !std::isfinite(top))
        return;
    m_pageMm = page;
    updateMapping();
}

void ImageSurface::updateMapping()
{
    const QSizeF pixels = m_image.deviceIndependentSize();
    if (m_pageMm.isNull() || pixels.isEmpty()) {
        m_mmToPixels = QTransform::fromTranslate(-m_pageMm.left(), -m_pageMm.top()) *
                       QTransform::fromScale(PixelsPerMmAtZoom1, PixelsPerMmAtZoom1);
        m_zoom = 1;
    } else {
        const qreal sx = pixels.width() / m_pageMm.width();
        const qreal sy = pixels.height() / m_pageMm.height();
        m_mmToPixels = QTransform(sx, 0, 0, sy, -m_pageMm.left() * sx, -m_pageMm.top() * sy);
        // The longer side has the smaller rounding error.
        const qreal pixelsPerMm = std::abs(pixels.width() > pixels.height() ? sx : sy);
        m_zoom = std::max(0.01, std::round(pixelsPerMm / PixelsPerMmAtZoom1 * 100) / 100);
    }
}

void ImageSurface::print(std::string_view text)
{
    const QPointF startMm(currentX(), currentY());
    PainterSurface::print(text);
    if (m_textObserver && currentX() > startMm.x())
        m_textObserver(text, m_mmToPixels.mapRect(
                                 QRectF(startMm, QSizeF(currentX() - startMm.x(), textHeight(text)))));
}

QPainter *ImageSurface::beginDrawing(QTransform &mmToDevice)
{
    if (m_image.isNull() || !m_painting)
        return nullptr;
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(&m_image)) {
            m_painter.reset();
            return nullptr;
        }
    }
    mmToDevice = m_mmToPixels;
    return m_painter.get();
}

} // namespace quillet
