// Stage pictures: the chart every stage is flown over, with the course of stages 1 to 4 and the
// FREE! sign of stage 5, drawn once on first use.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "resources/Resources.h"

namespace {

constexpr int PictureWidth = 280;
constexpr int PictureHeight = 140;
constexpr int FirstPictureId = 100;
constexpr int LastPictureId = 105;
constexpr int FreeStagePictureId = 105;

// Frame, outer bounds; 2 pixels wide, grey inside.
constexpr int FrameLeft = 30;
constexpr int FrameTop = 22;
constexpr int FrameRight = 253;
constexpr int FrameBottom = 117;
constexpr int FrameThickness = 2;
// Corner pixels whose distance (dx + dy) from the outer corner is below this are cut away.
constexpr int FrameChamfer = 3;

// Axes: the vertical one at x 54..55, the ground at y 100..101.
constexpr int AxisX = 54;
constexpr int AxisTop = 36;
constexpr int GroundY = 100;
constexpr int GroundRight = 215;

// The course runs from the craft's start to just above the ground.
constexpr int CourseStartX = 56;
constexpr int FirstCourseX = 64;
constexpr int LastCourseX = 149;
constexpr int CourseEndX = 169;
constexpr int StartBandTop = 36;     // the craft's starting height...
constexpr int StartBandBottom = 39;  // ...and its 4-pixel size
constexpr int CourseEndRow = GroundY - 2;

void DrawFrame(Bitmap& picture) {
  for (int y = FrameTop; y <= FrameBottom; ++y) {
    for (int x = FrameLeft; x <= FrameRight; ++x) {
      const int dx = std::min(x - FrameLeft, FrameRight - x);
      const int dy = std::min(y - FrameTop, FrameBottom - y);
      if (dx + dy < FrameChamfer) continue;
      // Everything inside the frame's two pixels is grey, the inner corners too.
      const bool onFrame = dx < FrameThickness || dy < FrameThickness;
      picture.Set(x, y, onFrame ? PictureColour::Cyan : PictureColour::Grey);
    }
  }
}

void DrawAxes(Bitmap& picture) {
  const Rgb orange = PictureColour::Orange;
  picture.FillBox(AxisX, AxisTop, AxisX + 1, GroundY + 1, orange);
  picture.FillBox(AxisX, GroundY, GroundRight, GroundY + 1, orange);
  for (int y = 36; y <= 84; y += 16) picture.FillBox(AxisX - 2, y, AxisX + 3, y + 1, orange);
  for (int y = 44; y <= 92; y += 16) picture.FillBox(AxisX + 2, y, AxisX + 3, y + 1, orange);
  for (int x = 62; x <= 214; x += 8) picture.FillBox(x, GroundY - 2, x + 1, GroundY - 1, orange);
  for (int x = 70; x <= 214; x += 16) picture.FillBox(x, GroundY + 2, x + 1, GroundY + 3, orange);
}

struct ColumnSpan {
  int top = 0;
  int bottom = 0;
};

int CourseRow(int stage, int x) { return std::stoi(LoadResString(stage * 1000 + x)); }

// The course of a stage 1..4: the start band, the course table on two rows, then a straight bend
// down to the rows just above the ground.
void DrawCourse(Bitmap& picture, int stage) {
  std::array<ColumnSpan, CourseEndX + 1> spans{};
  for (int x = CourseStartX; x < FirstCourseX; ++x) spans[x] = {StartBandTop, StartBandBottom};
  for (int x = FirstCourseX; x <= LastCourseX; ++x) {
    const int row = CourseRow(stage, x);
    spans[x] = {row, row + 1};
  }
  const int lastRow = CourseRow(stage, LastCourseX);
  for (int x = LastCourseX + 1; x <= CourseEndX; ++x) {
    const double along = static_cast<double>(x - LastCourseX) / (CourseEndX - LastCourseX);
    const int row = lastRow + static_cast<int>(std::lround((CourseEndRow - lastRow) * along));
    spans[x] = {row, row + 1};
  }

  // Where the course drops (or climbs) more than a row between neighbouring columns, each column
  // takes half of the gap, so the line stays continuous without growing thicker than 4 pixels.
  std::array<ColumnSpan, CourseEndX + 1> filled = spans;
  for (int x = CourseStartX + 1; x <= CourseEndX; ++x) {
    const ColumnSpan& left = spans[x - 1];
    const ColumnSpan& right = spans[x];
    if (right.top > left.bottom + 1) {
      const int gap = right.top - left.bottom - 1;
      filled[x - 1].bottom = std::max(filled[x - 1].bottom, left.bottom + gap / 2);
      filled[x].top = std::min(filled[x].top, right.top - (gap - gap / 2));
    } else if (left.top > right.bottom + 1) {
      const int gap = left.top - right.bottom - 1;
      filled[x - 1].top = std::min(filled[x - 1].top, left.top - gap / 2);
      filled[x].bottom = std::max(filled[x].bottom, right.bottom + (gap - gap / 2));
    }
  }
  for (int x = CourseStartX; x <= CourseEndX; ++x)
    picture.FillBox(x, filled[x].top, x, filled[x].bottom, PictureColour::Orange);
}

// FREE! in block letters: each glyph cell is 4 pixels wide and 5 high, one empty cell between
// glyphs; 26 x 7 cells, 104 x 35 pixels, centred in the box x 84..191, y 47..85.
constexpr int SignCellWidth = 4;
constexpr int SignCellHeight = 5;
constexpr int SignLeft = 86;
constexpr int SignTop = 49;
constexpr std::array<std::string_view, 7> FreeSign = {
    "#####.####..#####.#####.##",
    "#.....#...#.#.....#.....##",
    "#.....#...#.#.....#.....##",
    "####..####..####..####..##",
    "#.....#.#...#.....#.....##",
    "#.....#..#..#.....#.......",
    "#.....#...#.#####.#####.##",
};

void DrawFreeStage(Bitmap& picture) {
  picture.FillBox(CourseStartX, StartBandTop, FirstCourseX, StartBandBottom, PictureColour::Orange);
  for (size_t row = 0; row < FreeSign.size(); ++row) {
    for (size_t column = 0; column < FreeSign[row].size(); ++column) {
      if (FreeSign[row][column] != '#') continue;
      const int left = SignLeft + static_cast<int>(column) * SignCellWidth;
      const int top = SignTop + static_cast<int>(row) * SignCellHeight;
      picture.FillBox(left, top, left + SignCellWidth - 1, top + SignCellHeight - 1, PictureColour::Cyan);
    }
  }
}

Bitmap DrawPicture(int id) {
  Bitmap picture(PictureWidth, PictureHeight, PictureColour::White);
  DrawFrame(picture);
  DrawAxes(picture);
  if (id == FreeStagePictureId)
    DrawFreeStage(picture);
  else if (id > FirstPictureId)
    DrawCourse(picture, id - FirstPictureId);
  return picture;
}

}  // namespace

const Bitmap& LoadPicture(int id) {
  static const std::array<Bitmap, LastPictureId - FirstPictureId + 1> pictures = [] {
    std::array<Bitmap, LastPictureId - FirstPictureId + 1> drawn;
    for (int id = FirstPictureId; id <= LastPictureId; ++id) drawn[id - FirstPictureId] = DrawPicture(id);
    return drawn;
  }();
  static const Bitmap none;
  if (id < FirstPictureId || id > LastPictureId) return none;
  return pictures[id - FirstPictureId];
}
