// The program folder as the game uses it: always ending in the separator.
#pragma once

#include <string>

// Appends "/" unless the folder already ends in it (the root folder "/" stays "/").
std::string AppFolderFrom(const std::string& programFolder);

// True when the game can keep its files in `programFolder` as the system gave it: an absolute
// path, short enough that every file the game puts beside the program still has a path the
// system accepts. An empty folder (the system could not tell) is not usable: the files would land
// somewhere else, the root folder first of all.
bool IsUsableProgramFolder(const std::string& programFolder);
