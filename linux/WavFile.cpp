// Sound files as the game plays them: checked before the player's sound service sees them.
#include "linux/WavFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "base/LittleEndian.h"

namespace {

bool ReadAt(int fd, uint8_t* bytes, size_t size, off_t offset) {
  return ::pread(fd, bytes, size, offset) == static_cast<ssize_t>(size);
}

}  // namespace

bool IsPlayableWav(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > MaxSoundFileSize) return false;
  const off_t fileSize = status.st_size;

  uint8_t header[12];
  if (!ReadAt(fd, header, sizeof header, 0)) return false;
  if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) return false;

  bool haveFormat = false;
  off_t position = 12;
  while (position + 8 <= fileSize) {
    uint8_t chunk[8];
    if (!ReadAt(fd, chunk, sizeof chunk, position)) return false;
    const off_t bodySize = ReadLittleEndian32(chunk + 4);
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

Descriptor OpenPlayableWav(const std::string& path) {
  Descriptor file(OpenFile(path, O_RDONLY | O_NONBLOCK));
  if (file.Valid() && !IsPlayableWav(file.Get())) file.Close();
  return file;
}
