// The program's own folder, as the system names it: bytes, not text.
#include "linux/ProgramFolder.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

namespace {

// The link in /proc/self/map_files to the file mapped at `address`, or "" when no file is.
std::string MappedFileLink(uintptr_t address) {
  const std::unique_ptr<FILE, int (*)(FILE*)> maps(std::fopen("/proc/self/maps", "re"), std::fclose);
  if (!maps) return {};
  std::array<char, 512> line;
  bool lineStart = true;
  while (std::fgets(line.data(), static_cast<int>(line.size()), maps.get())) {
    // A long path goes on over several pieces; only the first piece of a line names a range.
    const bool startsLine = lineStart;
    lineStart = std::string_view(line.data()).ends_with('\n');
    unsigned long from = 0, to = 0;
    if (!startsLine || std::sscanf(line.data(), "%lx-%lx", &from, &to) != 2) continue;
    if (address < from || address >= to) continue;
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
