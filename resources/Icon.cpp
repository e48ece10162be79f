// The window icon: the craft coming down its course towards the yellow pad.
#include <cmath>

#include "resources/Resources.h"

namespace {

constexpr int IconSize = 32;
constexpr Rgb Sky = MakeRgb(128, 255, 255);  // the play window's own background
constexpr Rgb Pad = MakeRgb(255, 255, 0);
constexpr Rgb Outline = MakeRgb(0, 0, 0);

Bitmap DrawIcon() {
  Bitmap icon(IconSize, IconSize, Sky);
  icon.FillBox(0, 27, IconSize - 1, IconSize - 1, PictureColour::Grey);
  icon.FillBox(0, 25, IconSize - 1, 26, PictureColour::Orange);
  icon.FillBox(18, 23, 29, 24, Pad);

  // The course ahead of the craft bends down onto the pad's left end, dotted like a plotted path.
  constexpr double DotSpacing = 3.5;
  double travelled = DotSpacing;
  double lastX = 11;
  double lastY = 7;
  for (int step = 0; step <= 400; ++step) {
    const double along = step / 400.0;
    const double x = 11 + 8 * along;
    const double y = 7 + 14 * along * along * (3 - 2 * along);
    travelled += std::hypot(x - lastX, y - lastY);
    lastX = x;
    lastY = y;
    if (travelled >= DotSpacing || step == 400) {
      travelled -= DotSpacing;
      const int left = static_cast<int>(std::lround(x));
      const int top = static_cast<int>(std::lround(y));
      icon.FillBox(left, top, left + 1, top + 1, PictureColour::Orange);
    }
  }

  // The craft: a white square with a dark outline, at the start of its course.
  constexpr int CraftLeft = 2;
  constexpr int CraftTop = 2;
  constexpr int CraftSize = 8;
  icon.FillBox(CraftLeft, CraftTop, CraftLeft + CraftSize - 1, CraftTop + CraftSize - 1, Outline);
  icon.FillBox(CraftLeft + 1, CraftTop + 1, CraftLeft + CraftSize - 2, CraftTop + CraftSize - 2,
               PictureColour::White);
  return icon;
}

}  // namespace

const Bitmap& ProgramIcon() {
  static const Bitmap icon = DrawIcon();
  return icon;
}
