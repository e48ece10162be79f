// The program's own folder, as the system names it: bytes, not text.
#include "platform/ProgramFolder.h"

#include <unistd.h>

#include <array>
#include <climits>

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
