// Course tables: the ideal descent of stages 1 to 4, served as the string table's two-digit texts.
#include <array>
#include <string>

#include "resources/Resources.h"

namespace {

constexpr int FirstCourseX = 64;
constexpr int LastCourseX = 149;
constexpr int CourseLength = LastCourseX - FirstCourseX + 1;
constexpr int CourseStages = 4;

// One row per stage, ten columns per line; the comment gives the x of the line's first entry.
// Each value is the ideal y of the craft's top edge at that x, in pixels of the stage picture.
constexpr std::array<std::array<int, CourseLength>, CourseStages> CourseTables = {{
    // Stage 1
    {{
        36, 36, 36, 36, 36, 36, 36, 36, 36, 36,  // x 64
        37, 37, 37, 37, 38, 38, 39, 39, 40, 40,  // x 74
        40, 40, 41, 41, 43, 43, 45, 45, 47, 47,  // x 84
        49, 49, 52, 52, 55, 55, 58, 58, 62, 62,  // x 94
        65, 65, 67, 67, 71, 71, 74, 74, 77, 77,  // x 104
        79, 79, 81, 81, 83, 83, 83, 83, 85, 85,  // x 114
        86, 86, 87, 87, 89, 89, 90, 90, 91, 91,  // x 124
        92, 92, 93, 93, 93, 93, 94, 94, 94, 94,  // x 134
        95, 95, 96, 96, 96, 96,  // x 144
    }},
    // Stage 2
    {{
        36, 36, 36, 36, 36, 36, 36, 36, 36, 36,  // x 64
        36, 37, 38, 40, 41, 44, 48, 51, 54, 58,  // x 74
        62, 64, 67, 70, 72, 74, 76, 78, 80, 82,  // x 84
        83, 84, 85, 86, 87, 88, 89, 90, 90, 91,  // x 94
        91, 92, 92, 92, 92, 93, 93, 93, 93, 94,  // x 104
        94, 94, 94, 94, 94, 95, 95, 95, 95, 95,  // x 114
        95, 95, 95, 95, 95, 95, 95, 95, 95, 96,  // x 124
        96, 96, 96, 96, 96, 97, 97, 97, 97, 97,  // x 134
        97, 97, 97, 97, 97, 97,  // x 144
    }},
    // Stage 3
    {{
        36, 36, 36, 36, 36, 36, 36, 36, 36, 36,  // x 64
        36, 36, 36, 36, 36, 38, 39, 39, 40, 41,  // x 74
        42, 42, 43, 45, 45, 46, 47, 48, 48, 49,  // x 84
        50, 50, 51, 52, 53, 54, 54, 55, 56, 57,  // x 94
        57, 58, 59, 60, 60, 61, 62, 63, 63, 64,  // x 104
        65, 66, 66, 67, 68, 69, 69, 70, 71, 72,  // x 114
        72, 73, 74, 75, 75, 76, 77, 78, 78, 79,  // x 124
        80, 80, 81, 82, 83, 83, 83, 84, 85, 86,  // x 134
        86, 87, 88, 89, 89, 90,  // x 144
    }},
    // Stage 4
    {{
        36, 36, 36, 36, 36, 36, 36, 36, 36, 36,  // x 64
        36, 36, 37, 38, 38, 39, 39, 40, 41, 41,  // x 74
        42, 44, 45, 48, 51, 54, 58, 62, 65, 67,  // x 84
        70, 72, 73, 74, 75, 76, 76, 77, 77, 78,  // x 94
        78, 78, 77, 76, 76, 75, 74, 72, 71, 69,  // x 104
        66, 64, 62, 61, 59, 58, 57, 57, 56, 55,  // x 114
        55, 55, 55, 56, 56, 57, 57, 58, 59, 60,  // x 124
        62, 64, 66, 69, 72, 76, 80, 83, 86, 88,  // x 134
        90, 92, 93, 93, 94, 95,  // x 144
    }},
}};

// A short row would be padded with zeros silently; every entry must be a two-digit text.
constexpr bool AllTwoDigit() {
  for (const auto& table : CourseTables)
    for (int value : table)
      if (value < 10 || value > 99) return false;
  return true;
}
static_assert(AllTwoDigit());

}  // namespace

std::string LoadResString(int id) {
  const int stage = id / 1000;
  const int x = id % 1000;
  if (id < 0 || stage < 1 || stage > CourseStages || x < FirstCourseX || x > LastCourseX) return {};
  return std::to_string(CourseTables[stage - 1][x - FirstCourseX]);
}
