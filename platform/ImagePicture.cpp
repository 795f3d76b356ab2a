#include "platform/ImagePicture.h"

namespace quillet {

namespace {

constexpr double DefaultDotsPerMetre = 96 / 0.0254;

/// Millimetres covered by a number of pixels at a resolution in dots per metre.
/// QImage stores 96 dpi rounded (3780): taken as exactly 96 dpi.
float pixelsToMm(int pixels, int dotsPerMetre)
{
    const bool isDefault = dotsPerMetre <= 0 || dotsPerMetre == qRound(DefaultDotsPerMetre);
    return static_cast<float>(pixels * 1000.0 / (isDefault ? DefaultDotsPerMetre : dotsPerMetre));
}

} // namespace

ImagePicture::ImagePicture(QImage image) : m_image(std::move(image)) {}

float ImagePicture::widthMm() const
{
    return pixelsToMm(m_image.width(), m_image.dotsPerMeterX());
}

float ImagePicture::heightMm() const
{
    return pixelsToMm(m_image.height(), m_image.dotsPerMeterY());
}

} // namespace quillet
