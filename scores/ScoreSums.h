// Sums of stored scores. The score file holds any 32-bit values, so a sum of them is taken in 64
// bits, and where it must go back into a 32-bit variable it is held at the range's end rather
// than wrapped round into a small or negative score.
#pragma once

#include <cstdint>
#include <limits>
#include <numeric>
#include <span>

inline int64_t WideSum(std::span<const int32_t> values) {
  return std::accumulate(values.begin(), values.end(), int64_t{0});
}

inline int32_t Saturated(int64_t sum) {
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sum);
}
