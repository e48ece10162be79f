// Ranking rules: where a result places in the normal ranking or a player's top five, and the
// insertion that makes room for it. Scores are in hundreds of points.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "scores/ScoreTables.h"

// A result takes the first place whose total it beats strictly: equal to a place's total it goes
// below it, equal to the last place it does not rank, and 0 never ranks against unfilled places.

// Place 1..10 of a normal run total against NormalTotals[0..9] (entry totals, 1st place first),
// or 0 when it does not rank.
int32_t NormalRank(int32_t runTotal, const std::array<int32_t, 11>& normalTotals);

// Place 1..5 of a score-attack landing in the player's top five held in AttackBest ([0] 1st
// place's total, [1..3] its three criteria, [4..7] totals of places 2..5), or 0. A placing
// result is entered into `attackBest` at once, shifting the places below it down.
int32_t AttackRank(int32_t softness, int32_t control, int32_t course, std::array<int32_t, 11>& attackBest);

// Puts a finished run at `place` (1..10) of the normal ranking, moving the entries from there
// down by one and dropping the old 10th. `runStageScores` is indexed by stage, 1..5. A place
// outside 1..10 changes nothing.
void InsertNormalRanking(ScoreTables& tables, int32_t place, const std::string& name,
                         const std::array<int32_t, 6>& runStageScores);

// Puts a landing's three criteria at `place` (1..5) of the top five of player slot
// `playerIndex` (0..7) on `stage` (1..5), moving the places from there down by one and dropping
// the old 5th. Arguments out of range change nothing.
void InsertAttackRanking(ScoreTables& tables, int32_t playerIndex, int32_t stage, int32_t place,
                         int32_t softness, int32_t control, int32_t course);
