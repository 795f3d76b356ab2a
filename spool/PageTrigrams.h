#pragma once
// Which runs of three bytes a page's texts hold, ASCII letters taken as small
// letters, hashed into a few thousand bits that the text index keeps with
// each page: a find rules out a page lacking one run of its needle from those
// bits alone, without going through the page's texts.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillet {

constexpr size_t PageTrigramBytes = 512;
using PageTrigrams = std::array<unsigned char, PageTrigramBytes>;

/// The bits of every run of three bytes within one of texts (texts separated
/// by a zero byte, as the index keeps them).
PageTrigrams trigramsOf(std::string_view texts);

/// The bits as the index keeps them.
inline std::string_view bytesOf(const PageTrigrams &trigrams)
{
    return {reinterpret_cast<const char *>(trigrams.data()), trigrams.size()};
}

/// The bits that texts holding needle have set, ASCII letters in either case;
/// none when the needle is shorter than three bytes. Worked out once a find.
std::vector<uint16_t> trigramBitsOf(std::string_view needle);

/// Whether a page whose bytesOf(trigrams) is trigrams has every one of bits
/// set, so that its texts may hold the needle; true when trigrams is empty
/// (not known).
bool hasTrigramBits(std::string_view trigrams, const std::vector<uint16_t> &bits);

} // namespace quillet
