#pragma once
// The preview page surface: a QImage of the whole sheet on which commands draw
// in millimetres. At zoom 1 one pixel is 15 twips (96 per inch); font sizes
// are points at that density, which is why the preview multiplies them by the
// zoom while the text keeps its size in millimetres.

#include "platform/PainterSurface.h"

#include <QImage>

namespace quillet {

class ImageSurface : public PainterSurface {
public:
    ImageSurface();
    ~ImageSurface() override;

    /// Resizes (and clears to white) the page image; size in device pixels.
    void setPixelSize(QSize size, qreal devicePixelRatio = 1.0);
    const QImage &image() const { return m_image; }
    /// Fills the page with white.
    void clear();

    void setScale(float left, float top, float right, float bottom) override;

private:
    QImage m_image;
};

} // namespace quillet
