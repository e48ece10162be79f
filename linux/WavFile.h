// Sound files as the game plays them: checked before the player's sound service sees them.
#pragma once

#include <sys/types.h>

#include <string>

#include "linux/PosixFile.h"

// The largest sound file the game plays: far beyond its own sounds of a second or two, and small
// enough to hold, as the sound service holds every file it has played until the program ends.
inline constexpr off_t MaxSoundFileSize = off_t{8} << 20;

// True when the file open at `fd` is a regular file of at most MaxSoundFileSize bytes and a
// complete RIFF/WAVE file, with a "fmt " chunk and a "data" chunk whose declared length is
// present. The sound service never finishes loading an empty, truncated or foreign file (and can
// hang the program when it is dropped), so such files are skipped instead. Reads with pread: the
// position stays.
bool IsPlayableWav(int fd);

// The sound file at `path` (the system's bytes, any encoding) opened for reading without waiting,
// so that a pipe in its place cannot hang the game; an invalid descriptor unless IsPlayableWav.
Descriptor OpenPlayableWav(const std::string& path);
