#pragma once
// A picture registered by the host: a QImage whose natural size comes from its
// resolution (96 dots per inch when the image carries none).

#include "render/Surface.h"

#include <QImage>

namespace quillet {

class ImagePicture : public Picture {
public:
    explicit ImagePicture(QImage image);

    const QImage &image() const { return m_image; }
    float widthMm() const override;
    float heightMm() const override;

private:
    QImage m_image;
};

} // namespace quillet
