// Checks a sound file before the player's sound service sees it.
#pragma once

#include <string>

// True when the file is a complete RIFF/WAVE file with a "fmt " chunk and a "data" chunk whose
// declared length is present. The sound service never finishes loading an empty, truncated or
// foreign file (and can hang the program when it is dropped), so such files are skipped instead.
bool IsPlayableWav(const std::string& path);
