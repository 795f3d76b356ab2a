#pragma once
// The preview page surface: a QImage of the whole sheet on which commands draw
// in millimetres. At zoom 1 one pixel is 15 twips (96 per inch); font sizes
// are points at that density, which is why the preview multiplies them by the
// zoom while the text keeps its size in millimetres. The hidden page of a
// listing being recorded is told not to paint: see setPainting.

#include "platform/PainterSurface.h"

#include <QImage>
#include <QRectF>

#include <functional>
#include <memory>
#include <string_view>

namespace quillet {

class ImageSurface : public PainterSurface {
public:
    ImageSurface();
    ~ImageSurface() override;

    /// Resizes (and clears to white) the page image; size in device pixels.
    /// An empty or absurd size (over 64 megapixels) leaves no image to draw on.
    void setPixelSize(QSize size, qreal devicePixelRatio = 1.0);
    /// The page as drawn so far.
    const QImage &image() const;
    /// Fills the page with white.
    void clear();

    /// Maps the page so that the image's corners are (left, top) and (right,
    /// bottom) in millimetres. The zoom that font sizes carry is read from this
    /// mapping, to the nearest whole percent, as the preview zooms in percent.
    void setScale(float left, float top, float right, float bottom) override;

    /// Told of each text printed, with the rectangle it covers on the image in
    /// device-independent pixels; while it runs the text's font is in force.
    using TextObserver = std::function<void(std::string_view text, const QRectF &pixels)>;
    void setTextObserver(TextObserver observer) { m_textObserver = std::move(observer); }
    /// While a preview listing is being recorded nobody sees its page: every
    /// page shown is replayed from the spool. The commands keep measuring and
    /// changing state as ever; only the pixels are left out.
    void setPainting(bool painting) { m_painting = painting; }
    void print(std::string_view text) override;

protected:
    QPainter *beginDrawing(QTransform &mmToDevice) override;
    qreal fontZoom() const override { return m_zoom; }

private:
    void updateMapping();

    QImage m_image;
    /// Open from the first drawing until the image is read.
    mutable std::unique_ptr<QPainter> m_painter;
    /// The image's corners in millimetres; an empty rectangle maps 96 dpi from the corner.
    QRectF m_pageMm;
    QTransform m_mmToPixels;
    qreal m_zoom = 1;
    bool m_painting = true;
    TextObserver m_textObserver;
};

} // namespace quillet
