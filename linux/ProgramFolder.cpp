// The program's own folder, as the system names it: bytes, not text.
#include "linux/ProgramFolder.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fstream>

namespace {

// The link in /proc/self/map_files to the file mapped at `address`, or "" when no file is.
std::string MappedFileLink(uintptr_t address) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);) {
    unsigned long from = 0, to = 0;
    if (std::sscanf(line.c_str(), "%lx-%lx", &from, &to) != 2 || address < from || address >= to) continue;
    std::array<char, 64> link;
    std::snprintf(link.data(), link.size(), "/proc/self/map_files/%lx-%lx", from, to);
    return link.data();
  }
  return {};
}

}  // namespace

std::string ProgramFolder() {
  return ProgramFolderFromLink(MappedFileLink(reinterpret_cast<uintptr_t>(&MappedFileLink)));
}

std::string ProgramFolderFromLink(const std::string& link) {
  // The system reports no path longer than PATH_MAX - 1 bytes; a full buffer would be a cut one.
  std::array<char, PATH_MAX> buffer;
  const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
  if (length < 0 || static_cast<size_t>(length) == buffer.size()) return {};
  const std::string program(buffer.data(), static_cast<size_t>(length));
  if (!program.starts_with('/')) return {};
  const size_t slash = program.rfind('/');
  return slash == 0 ? std::string("/") : program.substr(0, slash);
}
