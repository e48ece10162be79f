// How the ranking window writes scores: totals and the slash-separated detail lines.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// A total in hundreds of points: its digits and "00", or "0" for zero. Sums of loaded scores are
// passed wide, so that no sum of 32-bit values wraps round.
std::string TotalText(int64_t total);

// Values in hundreds, each in a column `width` characters wide against its "/" (no "/" after the
// last): zero as "0/", any other value as its digits and "00/", right-aligned with blanks. A value
// too wide for its column (or negative) gets no blanks and widens its column instead of cutting it.
std::string DetailLine(std::span<const int32_t> values, int width);
