// The program folder as the game uses it: always ending in the separator.
#include "shell/AppFolder.h"

std::string AppFolderFrom(const std::string& programFolder) {
  if (!programFolder.empty() && programFolder.back() == '/') return programFolder;
  return programFolder + "/";
}
