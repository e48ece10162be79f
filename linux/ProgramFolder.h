// The program's own folder, as the system names it: bytes, not text.
#pragma once

#include <string>

// The folder of the program file that holds the running code, found through the file mapped at that
// code rather than /proc/self/exe, which names the dynamic loader when the program was started
// through it. Empty when the system cannot tell.
std::string ProgramFolder();

// The folder that holds the file `link` points to, exactly as the system reports it: any bytes but
// NUL, not necessarily UTF-8, absolute, no trailing "/" except for the root folder itself. Empty
// when the system cannot tell, for instance when the path is longer than the system reports
// through the link.
std::string ProgramFolderFromLink(const std::string& link);
