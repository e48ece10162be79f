// Setting a run's globals up: shared by the menu's START, the player select's START, the replay
// tool and the benchmark, so that each plays exactly the game the menu starts.
#pragma once

#include <cstdint>

class Game;

// A normal run from stage 1: GameMode 1, the memo choice (1 on, 0 off), the run's stage scores and
// total cleared, and NormalTotals computed from the normal ranking as it stands now.
void BeginNormalRun(Game& game, int32_t autoMemo);

// A score attack for the selected player (PlayerIndex) on Stage in GameMode 2 or 3: AttackBest from
// the player's top five on the stage (GameMode 2), or HighScore, OtherStagesBest and LandingPoints
// from the player's bests (GameMode 3, SUPER).
void BeginAttackRun(Game& game);
