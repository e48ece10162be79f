// Refuses a second running copy of the program started from the same folder.
#include "platform/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// FNV-1a: stable across builds, so two builds of the game in one folder still see each other.
uint64_t StableHash(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace

bool ClaimProgramFolder(const std::string& programFolder) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return true;  // cannot tell: let the player play rather than refuse wrongly

  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  char name[sizeof(address.sun_path)];
  // Named by folder alone: a copy started by another user from the same folder would write the
  // same score file.
  int length = std::snprintf(name, sizeof name, "morvane-tesk/%016llx",
                             static_cast<unsigned long long>(StableHash(programFolder)));
  // Abstract namespace: the first byte of the path is NUL.
  std::memcpy(address.sun_path + 1, name, static_cast<size_t>(length));
  auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);

  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0) {
    return true;  // the descriptor stays open (and the claim held) until the process ends
  }
  bool taken = errno == EADDRINUSE;
  close(fd);
  return !taken;
}
