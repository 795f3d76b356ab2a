#include "spool/PageTrigrams.h"

#include <algorithm>

namespace quillet {

namespace {

uint32_t smallAscii(unsigned char c)
{
    return static_cast<uint32_t>(c - 'A') < 26u ? c | 0x20u : c;
}

/// The bit of the three bytes that end in the low 24 bits of run.
uint32_t bitOf(uint32_t run)
{
    constexpr int Bits = 12; // PageTrigramBytes * 8 == 1 << Bits
    static_assert(PageTrigramBytes * 8 == 1u << Bits);
    return ((run & 0xFFFFFFu) * 0x9E3779B1u) >> (32 - Bits);
}

/// Calls take(bit) for each run of three bytes of text that holds no zero byte.
template <typename Take> void forEachTrigram(std::string_view text, Take &&take)
{
    uint32_t run = 0;
    int length = 0;
    for (const char byte : text) {
        if (byte == '\0') {
            length = 0;
            continue;
        }
        run = run << 8 | smallAscii(static_cast<unsigned char>(byte));
        if (++length >= 3)
            take(bitOf(run));
    }
}

} // namespace

PageTrigrams trigramsOf(std::string_view texts)
{
    PageTrigrams bits{};
    forEachTrigram(texts,
                   [&bits](uint32_t bit) { bits[bit >> 3] |= static_cast<unsigned char>(1u << (bit & 7)); });
    return bits;
}

std::vector<uint16_t> trigramBitsOf(std::string_view needle)
{
    std::vector<uint16_t> bits;
    forEachTrigram(needle, [&bits](uint32_t bit) { bits.push_back(static_cast<uint16_t>(bit)); });
    return bits;
}

bool hasTrigramBits(std::string_view trigrams, const std::vector<uint16_t> &bits)
{
    return trigrams.size() != PageTrigramBytes || std::all_of(bits.begin(), bits.end(), [&](uint16_t bit) {
               return (static_cast<unsigned char>(trigrams[bit >> 3]) >> (bit & 7)) & 1u;
           });
}

} // namespace quillet
