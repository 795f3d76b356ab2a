#pragma once
// Texts are UTF-8; a "character" is a code point. A malformed byte counts as
// one character of its own, so any byte string can be cut and measured.

#include <cstddef>
#include <string_view>
#include <vector>

namespace quillet {

/// Byte offsets at which the characters of text start, the first
/// maxCharacters of them, followed by where the next one starts (text.size()
/// after the last).
std::vector<size_t> characterOffsets(std::string_view text, size_t maxCharacters = std::string_view::npos);

/// Length in bytes of the character that starts with this byte (1 for a malformed one).
size_t characterLength(std::string_view text, size_t offset);

} // namespace quillet
