// The program folder as the game uses it: always ending in the separator.
#pragma once

#include <string>

// Appends "/" unless the folder already ends in it (the root folder "/" stays "/").
std::string AppFolderFrom(const std::string& programFolder);
