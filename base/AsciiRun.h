#pragma once
// Texts are mostly ASCII: where a run of it ends is found eight bytes at a time.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillet {

/// The index of the first byte at or after from that is not ASCII; text.size() if none.
inline size_t endOfAscii(std::string_view text, size_t from)
{
    constexpr uint64_t HighBits = 0x8080808080808080u;
    for (uint64_t word; from + sizeof word <= text.size(); from += sizeof word) {
        std::memcpy(&word, text.data() + from, sizeof word);
        if (word & HighBits)
            break;
    }
    while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80)
        ++from;
    return from;
}

} // namespace quillet
