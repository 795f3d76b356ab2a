#include "render/Utf8.h"

#include <algorithm>

namespace quillet {

size_t characterLength(std::string_view text, size_t offset)
{
    const auto lead = static_cast<unsigned char>(text[offset]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
    if (offset + length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[offset + i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

std::vector<size_t> characterOffsets(std::string_view text, size_t maxCharacters)
{
    std::vector<size_t> offsets;
    offsets.reserve(std::min(text.size(), maxCharacters) + 1);
    size_t offset = 0;
    for (; offset < text.size() && offsets.size() < maxCharacters; offset += characterLength(text, offset))
        offsets.push_back(offset);
    offsets.push_back(offset);
    return offsets;
}

} // namespace quillet
