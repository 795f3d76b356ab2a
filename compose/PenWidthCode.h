#pragma once
// A shape's pen width travels in its record as the code of the text's only
// character (1 to 255). Wider pens are recorded with no text.

#include <string>
#include <string_view>

namespace quillet {

constexpr int MaxRecordedPenWidth = 255;

/// The record text for a pen width: one character, UTF-8 encoded; "" above 255.
std::string penWidthText(int width);

/// The pen width a record text carries; 255 for a text without a width.
int penWidthOf(std::string_view text);

} // namespace quillet
