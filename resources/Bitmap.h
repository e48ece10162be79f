// A plain RGB picture, so that stage pictures can be drawn and checked without a window system.
#pragma once

#include <cstdint>
#include <vector>

// 0xRRGGBB.
using Rgb = uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
  return (static_cast<Rgb>(red) << 16) | (static_cast<Rgb>(green) << 8) | static_cast<Rgb>(blue);
}

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row by row, top row first

  Bitmap() = default;
  Bitmap(int w, int h, Rgb fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  void Set(int x, int y, Rgb colour) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<size_t>(y) * width + x] = colour;
  }
  // Fills the box with corners (x1, y1) and (x2, y2), both included.
  void FillBox(int x1, int y1, int x2, int y2, Rgb colour) {
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) Set(x, y, colour);
  }
  bool operator==(const Bitmap&) const = default;
};
