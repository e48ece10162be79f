// How the ranking window writes scores: totals and the slash-separated detail lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// A total in hundreds of points: its digits and "00", or "0" for zero. Sums of loaded scores are
// passed wide, so that no sum of 32-bit values wraps round.
std::string TotalText(int64_t total);

// Values in hundreds, each in a column `width` characters wide against its "/" (no "/" after the
// last): zero as "0/", any other value as its digits (with its sign when negative) and "00/",
// right-aligned with blanks. A value too wide for its column is never cut: it gets no blanks and
// runs into the next column, whose blanks shrink by as much, so the later columns stay where they
// are whenever their values leave room.
std::string DetailLine(std::span<const int32_t> values, size_t width);
