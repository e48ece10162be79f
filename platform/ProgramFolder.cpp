// The program's own folder, as the system names it: bytes, not text.
#include "platform/ProgramFolder.h"

#include <unistd.h>

#include <vector>

std::string ProgramFolderFromLink(const std::string& link) {
  // The link's length is not known in advance; a read that fills the buffer may have been cut.
  for (size_t size = 256; size <= 65536; size *= 4) {
    std::vector<char> buffer(size);
    const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) == buffer.size()) continue;
    const std::string program(buffer.data(), static_cast<size_t>(length));
    if (program.empty() || program[0] != '/') return {};
    const size_t slash = program.rfind('/');
    return slash == 0 ? std::string("/") : program.substr(0, slash);
  }
  return {};
}
