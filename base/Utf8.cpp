// UTF-8 as the game's texts carry it.
#include "base/Utf8.h"

#include <cstdint>

char32_t NextCodePoint(std::string_view text, size_t& pos) {
  const uint8_t lead = static_cast<uint8_t>(text[pos]);
  size_t length = 0;
  char32_t codePoint = 0;
  char32_t smallest = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, codePoint = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, codePoint = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, codePoint = lead & 0x07, smallest = 0x10000;
  }
  bool valid = length != 0 && text.size() - pos >= length;
  for (size_t i = 1; valid && i < length; ++i) {
    const uint8_t trail = static_cast<uint8_t>(text[pos + i]);
    valid = (trail & 0xC0) == 0x80;
    codePoint = (codePoint << 6) | (trail & 0x3F);
  }
  valid = valid && codePoint >= smallest && codePoint <= 0x10FFFF &&
          !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
  pos += valid ? length : 1;
  return valid ? codePoint : ReplacementCharacter;
}

size_t Utf16Length(std::string_view text) {
  size_t units = 0;
  for (size_t pos = 0; pos < text.size();) units += NextCodePoint(text, pos) > 0xFFFF ? 2 : 1;
  return units;
}

void DropLastCharacter(std::string& text) {
  size_t last = 0;
  for (size_t pos = 0; pos < text.size(); NextCodePoint(text, pos)) last = pos;
  text.resize(text.empty() ? 0 : last);
}
