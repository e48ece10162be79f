// Start-up in the order players see it.
#pragma once

#include "shell/Module1.h"

class Game;

inline constexpr char SecondCopyMessage[] = "二重起動はできません！";
inline constexpr char NoProgramFolderMessage[] = "ゲームのフォルダが見つかりません！";
inline constexpr char NoClaimMessage[] = "ゲームのフォルダを確保できません！";

// The whole start: AppStartBeforeWindows, then the play screen and the menu shown, the criteria's
// captions, the stage prompt loaded hidden, and the keyboard to the menu.
void AppStart(Game& game);

// The first half of AppStart, before any window: ends the program after a message, before any file
// is touched, when the program folder cannot be told or used, when another copy runs on its score
// file or when no claim on it can be taken; then sets AppFolder, removes what killed saves left,
// creates the score file with its defaults when there is none, always loads it, and gives Stage,
// PlayerIndex and SoundFlags their start values.
void AppStartBeforeWindows(Module1& module1);
