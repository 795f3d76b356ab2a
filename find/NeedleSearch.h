#pragma once
// Whether a text holds a needle, a vector of starts at a time: the find
// looks through every page's texts, and most pages hold the needle nowhere.

#include <string_view>

namespace quillet {

/// With foldAsciiCase, ASCII capitals in text compare as their small letters,
/// and needle must hold no capitals; other bytes compare as they are.
bool holdsNeedle(std::string_view text, std::string_view needle, bool foldAsciiCase);

} // namespace quillet
