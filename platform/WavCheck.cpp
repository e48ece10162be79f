// Checks a sound file before the player's sound service sees it.
#include "platform/WavCheck.h"

#include <cstdint>
#include <cstring>
#include <fstream>

namespace {

uint32_t LittleEndian32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

}  // namespace

bool IsPlayableWav(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  file.seekg(0, std::ios::end);
  const std::streamoff fileSize = file.tellg();
  file.seekg(0);

  unsigned char header[12];
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) return false;

  bool haveFormat = false;
  std::streamoff position = 12;
  while (position + 8 <= fileSize) {
    unsigned char chunk[8];
    file.seekg(position);
    if (!file.read(reinterpret_cast<char*>(chunk), sizeof chunk)) return false;
    const std::streamoff bodySize = LittleEndian32(chunk + 4);
    const std::streamoff bodyStart = position + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (bodySize < 16 || bodyStart + bodySize > fileSize) return false;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      return haveFormat && bodySize > 0 && bodyStart + bodySize <= fileSize;
    }
    position = bodyStart + bodySize + (bodySize & 1);  // chunks are padded to even sizes
  }
  return false;
}
