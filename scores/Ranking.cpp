// Ranking rules: where a result places in the normal ranking or a player's top five, and the
// insertion that makes room for it.
#include "scores/Ranking.h"

namespace {

constexpr int32_t AttackPlaces = 5;
constexpr int32_t CriteriaPerPlace = 3;

// Where AttackBest keeps the total of place 1..5.
constexpr std::array<size_t, AttackPlaces> AttackBestTotalIndex = {0, 4, 5, 6, 7};
constexpr size_t AttackBestCriteria = 1;  // [1..3]: 1st place's softness, control, course

}  // namespace

int32_t NormalRank(int32_t runTotal, const std::array<int32_t, 11>& normalTotals) {
  for (int32_t entry = 0; entry < NormalEntryCount; ++entry) {
    if (runTotal > normalTotals[entry]) return entry + 1;
  }
  return 0;
}

int32_t AttackRank(int32_t softness, int32_t control, int32_t course, std::array<int32_t, 11>& attackBest) {
  // Criteria stay far below the 32-bit range; summed wide all the same so that no input overflows.
  const int64_t total = int64_t{softness} + control + course;
  for (int32_t place = 1; place <= AttackPlaces; ++place) {
    if (total <= attackBest[AttackBestTotalIndex[place - 1]]) continue;
    for (int32_t below = AttackPlaces; below > place; --below) {
      attackBest[AttackBestTotalIndex[below - 1]] = attackBest[AttackBestTotalIndex[below - 2]];
    }
    attackBest[AttackBestTotalIndex[place - 1]] = static_cast<int32_t>(total);
    if (place == 1) {
      attackBest[AttackBestCriteria] = softness;
      attackBest[AttackBestCriteria + 1] = control;
      attackBest[AttackBestCriteria + 2] = course;
    }
    return place;
  }
  return 0;
}

void InsertNormalRanking(ScoreTables& tables, int32_t place, const std::string& name,
                         const std::array<int32_t, 6>& runStageScores) {
  if (place < 1 || place > NormalEntryCount) return;
  for (int32_t entry = NormalEntryCount - 1; entry > place - 1; --entry) {
    tables.NormalNames[entry] = tables.NormalNames[entry - 1];
    tables.NormalScores[entry] = tables.NormalScores[entry - 1];
  }
  tables.NormalNames[place - 1] = name;
  for (int32_t stage = 1; stage <= StageCount; ++stage)
    tables.NormalScores[place - 1][stage - 1] = runStageScores[stage];
}

void InsertAttackRanking(ScoreTables& tables, int32_t playerIndex, int32_t stage, int32_t place,
                         int32_t softness, int32_t control, int32_t course) {
  if (playerIndex < 0 || playerIndex >= PlayerCount || stage < 1 || stage > StageCount || place < 1 ||
      place > AttackPlaces) {
    return;
  }
  auto& values = tables.AttackScores[playerIndex];
  for (int32_t lower = AttackPlaces; lower > place; --lower) {
    for (int criterion = 0; criterion < CriteriaPerPlace; ++criterion) {
      values[AttackIndex(stage, lower, criterion)] = values[AttackIndex(stage, lower - 1, criterion)];
    }
  }
  values[AttackIndex(stage, place, 0)] = softness;
  values[AttackIndex(stage, place, 1)] = control;
  values[AttackIndex(stage, place, 2)] = course;
}
