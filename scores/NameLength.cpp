// How long a name is, as the name boxes count it.
#include "scores/NameLength.h"

#include <cstdint>

size_t Utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (size_t pos = 0; pos < utf8.size();) {
    const auto lead = static_cast<uint8_t>(utf8[pos]);
    size_t length = lead < 0x80             ? 1
                    : (lead & 0xE0) == 0xC0 ? 2
                    : (lead & 0xF0) == 0xE0 ? 3
                    : (lead & 0xF8) == 0xF0 ? 4
                                            : 0;
    bool valid = length != 0 && utf8.size() - pos >= length;
    for (size_t i = 1; valid && i < length; ++i) valid = (static_cast<uint8_t>(utf8[pos + i]) & 0xC0) == 0x80;
    if (!valid) length = 1;
    units += valid && length == 4 ? 2 : 1;
    pos += length;
  }
  return units;
}
