// The program folder as the game uses it: always ending in the separator.
#include "shell/AppFolder.h"

#include <climits>

namespace {

// Room for the longest name the game puts in its folder, "MTScore.dat.tmp-PID-N" with a
// seven-digit process id and a two-digit attempt, and then some.
constexpr size_t LongestFileName = 32;

}  // namespace

std::string AppFolderFrom(const std::string& programFolder) {
  if (!programFolder.empty() && programFolder.back() == '/') return programFolder;
  return programFolder + "/";
}

bool IsUsableProgramFolder(const std::string& programFolder) {
  // PATH_MAX counts the terminating NUL.
  return programFolder.starts_with('/') && programFolder.size() + 1 + LongestFileName < PATH_MAX;
}
