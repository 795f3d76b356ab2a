#pragma once
// Window geometry is given in twips; the screen has 15 twips per pixel.

namespace quillet {

constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}

} // namespace quillet
