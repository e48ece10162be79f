// The first steps of start-up, before any window: the program folder, the single-copy guard,
// the score file and the start values.
#pragma once

#include "shell/Module1.h"

inline constexpr char SecondCopyMessage[] = "二重起動はできません！";
inline constexpr char NoProgramFolderMessage[] = "ゲームのフォルダが見つかりません！";
inline constexpr char NoClaimMessage[] = "ゲームのフォルダを確保できません！";

// Ends the program after a message, before any file is touched, when the program folder cannot be
// told or used, when another copy runs on its score file or when no claim on it can be taken; sets AppFolder, removes what killed saves
// left, creates the score file with its defaults when there is none, always loads it, and sets
// Stage, PlayerIndex and SoundFlags.
void PrepareStart(Module1& module1);

// The values start-up gives: Stage 1, PlayerIndex 0 and the sound flags (also for the replay tool
// and the benchmark, which play without a score file).
void ApplyStartValues(Module1& module1);
