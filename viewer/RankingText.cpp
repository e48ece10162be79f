// How the ranking window writes scores.
#include "viewer/RankingText.h"

#include <algorithm>

std::string TotalText(int64_t total) { return total == 0 ? "0" : std::to_string(total) + "00"; }

std::string DetailLine(std::span<const int32_t> values, int width) {
  std::string line;
  for (int32_t value : values) {
    const std::string piece = value == 0 ? "0/" : std::to_string(value) + "00/";
    const int blanks = std::max(0, width - static_cast<int>(piece.size()));
    line += std::string(static_cast<size_t>(blanks), ' ') + piece;
  }
  if (!line.empty()) line.pop_back();
  return line;
}
