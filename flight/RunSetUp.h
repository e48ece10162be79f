// Setting a run and a flight up: one home for the menu's START, the player select's START, the
// replay tool, the benchmark and the tests, so that each plays exactly the game the menu starts.
#pragma once

#include <cstdint>

#include "flight/Form1.h"

// A normal run from stage 1: GameMode 1, the memo choice (1 on, 0 off), the run's stage scores and
// total cleared, and NormalTotals computed from the normal ranking as it stands now.
void BeginNormalRun(Form1& form1, Module1& module1, int32_t autoMemo);

// A score attack for the selected player (PlayerIndex) on Stage in GameMode 2 or 3: AttackBest from
// the player's top five on the stage (GameMode 2), or HighScore, OtherStagesBest and LandingPoints
// from the player's bests (GameMode 3, SUPER).
void BeginAttackRun(Module1& module1);

// One normal-mode flight of `stage` 1..5 ready to fly, as the replay tool and the benchmark fly it:
// the program folder and start values, a normal run without memo begun at that stage, and the
// stage prepared on the play screen.
void SetUpNormalFlight(Form1& form1, Module1& module1, int32_t stage);
