// Scores as numbers: every score is kept in hundreds of points. Sums of stored scores are taken in
// 64 bits, since the score file holds any 32-bit values, and where a sum must go back into a 32-bit
// variable it is held at the range's end rather than wrapped round into a small or negative score.
#pragma once

#include <cstdint>
#include <limits>
#include <numeric>
#include <span>
#include <string>

inline int64_t WideSum(std::span<const int32_t> values) {
  return std::accumulate(values.begin(), values.end(), int64_t{0});
}

inline int32_t Saturated(int64_t sum) {
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sum);
}

// A score as the play screen, the prompt and the memo show it: its digits and "00", so 37 reads
// 3700 and 0 reads 000.
inline std::string Hundreds(int64_t value) { return std::to_string(value) + "00"; }
