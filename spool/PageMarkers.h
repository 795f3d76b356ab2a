#pragma once
// The page markers of a text: "PRICOCO" shows as the page number and
// "TRICOCO" as the page count, their letters in any case.

#include <string>
#include <string_view>

namespace quillet {

constexpr std::string_view PageNumberMarker = "PRICOCO";
constexpr std::string_view PageCountMarker = "TRICOCO";

/// Appends text to into with every marker replaced by its value, in one pass;
/// what is put in is not searched again, so it never forms a new marker.
void appendWithMarkersExpanded(std::string &into, std::string_view text, std::string_view pageNumber,
                               std::string_view pageCount);

inline std::string withMarkersExpanded(std::string_view text, std::string_view pageNumber,
                                       std::string_view pageCount)
{
    std::string expanded;
    appendWithMarkersExpanded(expanded, text, pageNumber, pageCount);
    return expanded;
}

} // namespace quillet
