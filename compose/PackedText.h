#pragma once
// Several texts kept in the one text of a record: each as its length in
// decimal, a colon, then its bytes. The lengths make it unambiguous whatever
// bytes the texts hold (a GS separator, a colon, a zero byte).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::commands {

/// The packed texts with the one at place set to value; places before it
/// that are missing become empty texts.
std::string withPart(std::string_view packed, uint8_t place, std::string_view value);
/// The text at place; none when the packing is malformed or has no such place.
std::optional<std::string_view> partOf(std::string_view packed, uint8_t place);

} // namespace quillet::commands
