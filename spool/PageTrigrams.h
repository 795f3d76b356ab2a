#pragma once
// Which runs of three bytes a page's texts hold, ASCII letters taken as small
// letters, hashed into a few thousand bits that the text index keeps with
// each page: a find rules out a page lacking one run of its needle from those
// bits alone, without going through the page's texts.

#include <array>
#include <cstddef>
#include <string_view>

namespace quillet {

constexpr size_t PageTrigramBytes = 512;
using PageTrigrams = std::array<unsigned char, PageTrigramBytes>;

/// The bits of every run of three bytes within one of texts (texts separated
/// by a zero byte, as the index keeps them).
PageTrigrams trigramsOf(std::string_view texts);

/// Whether texts whose trigramsOf gave trigrams may hold needle, ASCII letters
/// compared in either case. True when trigrams is empty (not known) or the
/// needle is shorter than three bytes.
bool mayHoldTrigrams(std::string_view trigrams, std::string_view needle);

} // namespace quillet
