// How long a name may be, as the name boxes count it.
#pragma once

#include <cstddef>

#include "base/Utf8.h"

// Names in the rankings and of the players: at most this many characters, counted in UTF-16 code
// units (Utf16Length) as the score file's length byte counts them, so each Japanese character
// counts one.
inline constexpr size_t MaxNameLength = 16;
