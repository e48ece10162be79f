// What the program carries with it: the course strings, the stage pictures and the icon.
#pragma once

#include <string>

#include "resources/Bitmap.h"

// String resource by id: the course table of stage s at x is id s * 1000 + x (x 64..149),
// a two-digit decimal text such as "36". Unknown ids give the empty text.
std::string LoadResString(int id);

// Stage picture 100..105 (280 x 140): 100 the empty chart, 101..104 stages 1..4 with their
// course, 105 stage 5 ("FREE!"). Any other id gives an empty (0 x 0) bitmap.
const Bitmap& LoadPicture(int id);

// The window icon, 32 x 32.
const Bitmap& ProgramIcon();

// The four colours the stage pictures use.
namespace PictureColour {
inline constexpr Rgb Cyan = MakeRgb(0, 235, 219);
inline constexpr Rgb Grey = MakeRgb(127, 127, 127);
inline constexpr Rgb Orange = MakeRgb(248, 120, 88);
inline constexpr Rgb White = MakeRgb(255, 255, 255);
}  // namespace PictureColour
