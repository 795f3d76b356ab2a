#include "render/PrinterDevice.h"

#include "render/Surface.h"

namespace quillet {

void mapWholeSheet(Surface &picture, const PrinterPage &sheet, float offXMm, float offYMm)
{
    constexpr double TwipsPerMm = 1440 / 25.4;
    if (sheet.paperWidthTwips <= 0 || sheet.paperHeightTwips <= 0)
        return;
    picture.setScale(-offXMm, -offYMm, static_cast<float>(sheet.paperWidthTwips / TwipsPerMm) - offXMm,
                     static_cast<float>(sheet.paperHeightTwips / TwipsPerMm) - offYMm);
}

} // namespace quillet
