#pragma once
// Guards for numbers coming from the host: a NaN or an infinity must not
// poison the cursor or the page geometry.

#include <algorithm>
#include <cmath>

namespace quillet {

/// Lengths are limited to +-100 m, far beyond any paper.
constexpr float MaxLengthMm = 100000.0f;

inline float clampLength(float mm)
{
    return std::clamp(mm, -MaxLengthMm, MaxLengthMm);
}

/// Clamps every length in place; false, changing nothing, when one is not finite.
template <typename... Floats> bool clampLengths(Floats &...mm)
{
    if (!(std::isfinite(mm) && ...))
        return false;
    ((mm = clampLength(mm)), ...);
    return true;
}

/// A length where NaN means none (0), as an unset width or offset does.
inline float lengthOrZero(float mm)
{
    return std::isnan(mm) ? 0.0f : clampLength(mm);
}

/// An optional position: missing, negative and non-finite all mean "here" (-1).
inline float positionOrMissing(float mm)
{
    return std::isfinite(mm) && mm >= 0 ? std::min(mm, MaxLengthMm) : -1.0f;
}

} // namespace quillet
