// UTF-8 as the game's texts carry it: one decoding rule for every place that walks a text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The code point at `pos` of `text`, advancing `pos` past it. A byte that does not begin a valid
// sequence (a stray continuation byte, a cut sequence, an overlong form, a surrogate, a value
// beyond U+10FFFF) gives U+FFFD and moves on by that one byte, so every byte of any text is
// accounted for and no two readers can disagree about where a character ends. `pos` must be
// below text.size().
char32_t NextCodePoint(std::string_view text, size_t& pos);

inline constexpr char32_t ReplacementCharacter = U'\uFFFD';

// Length of the text in UTF-16 code units: one per character of the Basic Multilingual Plane
// (full-width or not) and per malformed byte, two for a character beyond it.
size_t Utf16Length(std::string_view text);

// The text without its last character, as NextCodePoint reads it.
void DropLastCharacter(std::string& text);
