// Little-endian numbers in byte buffers, as the score file and WAV files store them.
#pragma once

#include <cstdint>
#include <vector>

// The unsigned 32-bit number in the four bytes at `bytes`, lowest byte first.
constexpr uint32_t ReadLittleEndian32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// Appends `value` as four bytes, lowest byte first.
inline void AppendLittleEndian32(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
}
