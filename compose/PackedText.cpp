#include "compose/PackedText.h"

#include <charconv>
#include <vector>

namespace quillet::commands {

namespace {

/// Far more than any command packs: garbage cannot make the split grow without bound.
constexpr std::size_t MaxParts = 16;

/// Every part, in order; none when the text is not a whole packing.
std::optional<std::vector<std::string_view>> split(std::string_view packed)
{
    std::vector<std::string_view> parts;
    while (!packed.empty()) {
        std::size_t length = 0;
        const auto [end, error] = std::from_chars(packed.data(), packed.data() + packed.size(), length);
        const std::size_t digits = static_cast<std::size_t>(end - packed.data());
        if (error != std::errc() || digits == 0 || digits >= packed.size() || *end != ':' ||
            length > packed.size() - digits - 1 || parts.size() == MaxParts)
            return std::nullopt;
        parts.push_back(packed.substr(digits + 1, length));
        packed.remove_prefix(digits + 1 + length);
    }
    return parts;
}

} // namespace

std::string withPart(std::string_view packed, uint8_t place, std::string_view value)
{
    std::vector<std::string_view> parts = split(packed).value_or(std::vector<std::string_view>());
    if (parts.size() <= place)
        parts.resize(place + 1);
    parts[place] = value;
    std::string joined;
    for (std::string_view part : parts)
        joined.append(std::to_string(part.size())).append(1, ':').append(part);
    return joined;
}

std::optional<std::string_view> partOf(std::string_view packed, uint8_t place)
{
    const std::optional<std::vector<std::string_view>> parts = split(packed);
    if (!parts || place >= parts->size())
        return std::nullopt;
    return (*parts)[place];
}

} // namespace quillet::commands
