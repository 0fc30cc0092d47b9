// Twips, the unit of window positions, sizes and stored settings: 15 to a
// pixel.
#pragma once

#include <QRect>

#include <cmath>

namespace helicordia {

constexpr int TwipsPerPixel = 15;

// Twips to whole pixels, rounded to the nearest.
inline int TwipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

// Pixels to whole twips, halves to the even neighbour.
inline int PixelsToTwips(double pixels)
{
    return static_cast<int>(std::nearbyint(pixels * TwipsPerPixel));
}

// A rectangle given in twips, in pixels.
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace helicordia
