// The old look in one place: the colours the windows name, the desktop colours they borrow, and the
// Japanese font faces by their old names (the real platform maps them to installed fonts).
#pragma once

#include "resources/Bitmap.h"

// The desktop's own colours: no RGB value but the number of a colour of the desktop's scheme with
// the top bit set, as the old windows stored them. The view takes each from the desktop's palette,
// so that a dark scheme gets light text where the windows ask for the desktop's text colour.
namespace SystemColour {
inline constexpr Rgb Flag = 0x80000000u;
inline constexpr Rgb WindowBackground = Flag | 5;
inline constexpr Rgb WindowText = Flag | 8;
inline constexpr Rgb ButtonFace = Flag | 15;
}  // namespace SystemColour

namespace Colour {
inline constexpr Rgb White = MakeRgb(255, 255, 255);
inline constexpr Rgb Black = MakeRgb(0, 0, 0);
inline constexpr Rgb Red = MakeRgb(255, 0, 0);
inline constexpr Rgb Green = MakeRgb(0, 255, 0);
inline constexpr Rgb Yellow = MakeRgb(255, 255, 0);
inline constexpr Rgb LightGrey = MakeRgb(192, 192, 192);
// The play screen's background.
inline constexpr Rgb Sky = MakeRgb(128, 255, 255);
}  // namespace Colour

// "MS P Gothic": proportional, the face of almost every text.
inline constexpr char ProportionalGothic[] = "ＭＳ Ｐゴシック";
// "MS Gothic": fixed pitch, half-width and full-width at 1:2, for the ranking's columns.
inline constexpr char FixedGothic[] = "ＭＳ ゴシック";
