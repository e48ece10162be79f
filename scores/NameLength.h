// How long a name is, as the name boxes count it.
#pragma once

#include <cstddef>
#include <string_view>

// Names in the rankings and of the players: at most this many characters.
inline constexpr size_t MaxNameLength = 16;

// Length of UTF-8 text in UTF-16 code units: one per character of the Basic Multilingual Plane
// (full-width or not), two for a character beyond it, one per byte that is not valid UTF-8.
size_t Utf16Length(std::string_view utf8);
