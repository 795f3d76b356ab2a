#include "spool/PageMarkers.h"

#include <algorithm>

namespace quillet {

namespace {

// Locale-free: a host's locale must not make other bytes read as marker letters.
char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

} // namespace

void appendWithMarkersExpanded(std::string &into, std::string_view text, std::string_view pageNumber,
                               std::string_view pageCount)
{
    static_assert(PageNumberMarker.substr(1) == PageCountMarker.substr(1));
    constexpr std::string_view SharedTail = PageNumberMarker.substr(1);
    const auto sameLetter = [](char marker, char c) { return marker == asciiUpper(c); };
    into.reserve(into.size() + text.size());
    size_t copied = 0;
    for (size_t at = 0; at + PageNumberMarker.size() <= text.size(); ++at) {
        const char first = asciiUpper(text[at]);
        if ((first != PageNumberMarker[0] && first != PageCountMarker[0]) ||
            !std::equal(SharedTail.begin(), SharedTail.end(), text.begin() + at + 1, sameLetter))
            continue;
        into.append(text.substr(copied, at - copied));
        into.append(first == PageNumberMarker[0] ? pageNumber : pageCount);
        at += PageNumberMarker.size() - 1;
        copied = at + 1;
    }
    into.append(text.substr(copied));
}

} // namespace quillet
