// Window layouts were designed in twips: 15 twips make one pixel at 96 dots per inch.
#pragma once

#include <QRect>

constexpr int FromTwips(int twips) { return twips / 15; }

// A control's box given in twips as left, top, width, height.
constexpr QRect TwipsRect(int left, int top, int width, int height) {
  return {FromTwips(left), FromTwips(top), FromTwips(width), FromTwips(height)};
}
