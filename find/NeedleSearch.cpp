#include "find/NeedleSearch.h"

#include <experimental/simd>

namespace quillet {

namespace {

namespace stdx = std::experimental;
using Bytes = stdx::native_simd<unsigned char>;

/// The bit that tells an ASCII small letter from its capital.
constexpr unsigned char CaseBit = 0x20;

bool isAsciiSmallLetter(unsigned char c)
{
    return c >= 'a' && c <= 'z';
}

bool holdsAt(const unsigned char *text, std::string_view needle, bool foldAsciiCase)
{
    for (const char wanted : needle) {
        unsigned char c = *text++;
        if (foldAsciiCase && c >= 'A' && c <= 'Z')
            c |= CaseBit;
        if (c != static_cast<unsigned char>(wanted))
            return false;
    }
    return true;
}

} // namespace

bool holdsNeedle(std::string_view text, std::string_view needle, bool foldAsciiCase)
{
    if (needle.empty())
        return true;
    if (text.size() < needle.size())
        return false;
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    const size_t starts = text.size() - needle.size() + 1;
    const auto first = static_cast<unsigned char>(needle.front());
    const auto last = static_cast<unsigned char>(needle.back());
    // Setting the case bit on both sides compares a letter in either case and
    // nothing else with it; it is set only where the needle has a letter.
    const Bytes firstCase(foldAsciiCase && isAsciiSmallLetter(first) ? CaseBit : 0);
    const Bytes lastCase(foldAsciiCase && isAsciiSmallLetter(last) ? CaseBit : 0);
    size_t start = 0;
    // Only starts whose first and last bytes agree are compared in full.
    for (; start + Bytes::size() <= starts; start += Bytes::size()) {
        const Bytes heads(bytes + start, stdx::element_aligned);
        const Bytes tails(bytes + start + needle.size() - 1, stdx::element_aligned);
        const auto agree = ((heads | firstCase) == Bytes(first)) && ((tails | lastCase) == Bytes(last));
        if (stdx::none_of(agree))
            continue;
        for (int lane = stdx::find_first_set(agree); lane < static_cast<int>(Bytes::size()); ++lane)
            if (agree[lane] && holdsAt(bytes + start + lane, needle, foldAsciiCase))
                return true;
    }
    for (; start < starts; ++start)
        if (holdsAt(bytes + start, needle, foldAsciiCase))
            return true;
    return false;
}

} // namespace quillet
