#include "compose/PenWidthCode.h"

namespace quillet {

std::string penWidthText(int width)
{
    if (width < 1 || width > MaxRecordedPenWidth)
        return {};
    if (width < 0x80)
        return std::string(1, static_cast<char>(width));
    return {static_cast<char>(0xC0 | (width >> 6)), static_cast<char>(0x80 | (width & 0x3F))};
}

int penWidthOf(std::string_view text)
{
    if (text.empty())
        return MaxRecordedPenWidth;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80)
        return lead == 0 ? 1 : lead;
    if ((lead >> 5) == 0x6 && text.size() >= 2)
        return ((lead & 0x1F) << 6) | (static_cast<unsigned char>(text[1]) & 0x3F);
    return MaxRecordedPenWidth;
}

} // namespace quillet
