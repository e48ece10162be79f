// How the ranking window writes scores.
#include "viewer/RankingText.h"

#include <algorithm>

std::string TotalText(int64_t total) { return total == 0 ? "0" : std::to_string(total) + "00"; }

std::string DetailLine(std::span<const int32_t> values, size_t width) {
  std::string line;
  size_t columnEnd = 0;
  for (int32_t value : values) {
    const std::string piece = value == 0 ? "0/" : std::to_string(value) + "00/";
    columnEnd += width;
    // A piece that ran past its column is made up for by the blanks of the next one, so that a
    // single oversized value does not push the rest of the line out of line with the other rows.
    const size_t used = line.size() + piece.size();
    line.append(columnEnd - std::min(columnEnd, used), ' ');
    line += piece;
  }
  if (!line.empty()) line.pop_back();
  return line;
}
