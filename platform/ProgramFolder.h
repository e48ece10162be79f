// The program's own folder, as the system names it: bytes, not text.
#pragma once

#include <string>

// The folder that holds the file `link` points to (by default the running program), exactly as
// the system reports it: any bytes but NUL, not necessarily UTF-8, absolute, no trailing "/"
// except for the root folder itself. Empty when the system cannot tell, for instance when the
// path is longer than the system reports through the link.
std::string ProgramFolderFromLink(const std::string& link = "/proc/self/exe");
