// Find's wildcard patterns: any pattern compiles or is refused, any text is
// matched in bounded time.

#include "FuzzInput.h"
#include "find/LikePattern.h"

#include <string>

using namespace quillet;

namespace {

/// Four bytes a character, folded into the Unicode range (surrogates too).
std::u32string characters(std::string_view bytes)
{
    std::u32string text;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        char32_t c;
        std::memcpy(&c, bytes.data() + i, 4);
        // Mostly ASCII, where the pattern's own characters live.
        text.push_back(c & 0x80000000u ? c % 0x110000u : c % 0x80u);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    const std::u32string pattern = characters(input.takeText(4 * input.take<uint8_t>()));
    const std::u32string text = characters(input.rest());
    if (const auto compiled = LikePattern::compile(pattern)) {
        compiled->matches(text);
        compiled->matches(pattern);
    }
    return 0;
}
