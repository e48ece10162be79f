// Refuses a second running copy of the program started from the same folder.
#pragma once

#include <string>

// Claims the name for `programFolder` for this process's lifetime. Returns false when another
// live process holds it. The claim is an abstract Unix socket: the kernel drops it the moment the
// holder dies, however it dies, so a killed copy never blocks the next start and no file is left.
bool ClaimProgramFolder(const std::string& programFolder);
