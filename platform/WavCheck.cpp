// Checks a sound file before the player's sound service sees it.
#include "platform/WavCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace {

uint32_t LittleEndian32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

bool ReadAt(int fd, unsigned char* bytes, size_t size, off_t offset) {
  return ::pread(fd, bytes, size, offset) == static_cast<ssize_t>(size);
}

}  // namespace

bool IsPlayableWav(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > MaxSoundFileSize) return false;
  const off_t fileSize = status.st_size;

  unsigned char header[12];
  if (!ReadAt(fd, header, sizeof header, 0)) return false;
  if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) return false;

  bool haveFormat = false;
  off_t position = 12;
  while (position + 8 <= fileSize) {
    unsigned char chunk[8];
    if (!ReadAt(fd, chunk, sizeof chunk, position)) return false;
    const off_t bodySize = LittleEndian32(chunk + 4);
    const off_t bodyStart = position + 8;
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
