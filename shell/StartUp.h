// The first steps of start-up, before any window: the single-copy guard, the program folder,
// the score file and the start values.
#pragma once

#include "shell/Module1.h"

inline constexpr char SecondCopyMessage[] = "二重起動はできません！";

// Refuses a second copy (message, then the end), sets AppFolder, creates the score file with its
// defaults when there is none, always loads it, and sets Stage, PlayerIndex and SoundFlags.
void PrepareStart(Module1& module1);
