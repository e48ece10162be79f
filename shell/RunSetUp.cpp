// Setting a run's globals up.
#include "shell/RunSetUp.h"

#include <limits>

#include "shell/Game.h"

namespace {

// Scores come from the score file, which holds any 32-bit values; a sum beyond the range is held
// at its end rather than wrapped round into a small or negative score.
int32_t Saturated(int64_t sum) {
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sum);
}

// Total of place 1..5 of `player` on `stage` 1..5: the sum of its three criteria.
int64_t PlaceTotal(const Module1& module1, size_t player, int stage, int place) {
  const auto& scores = module1.AttackScores[player];
  int64_t total = 0;
  for (int criterion = 0; criterion < 3; ++criterion)
    total += scores[static_cast<size_t>(AttackIndex(stage, place, criterion))];
  return total;
}

}  // namespace

void BeginNormalRun(Game& game, int32_t autoMemo) {
  Module1& module1 = game.module1;
  module1.GameMode = 1;
  module1.Stage = 1;
  module1.AutoMemo = autoMemo;
  module1.NormalTotals.fill(0);
  module1.RunStageScores.fill(0);
  game.form1.TotalScore = 0;
  for (size_t entry = 0; entry < NormalEntryCount; ++entry) {
    int64_t total = 0;
    for (int32_t score : module1.NormalScores[entry]) total += score;
    module1.NormalTotals[entry] = Saturated(total);
  }
}

void BeginAttackRun(Game& game) {
  Module1& module1 = game.module1;
  const auto player = static_cast<size_t>(module1.PlayerIndex);
  const int stage = module1.Stage;
  const auto& scores = module1.AttackScores[player];
  const auto best = static_cast<size_t>(AttackIndex(stage, 1, 0));
  if (module1.GameMode == 2) {
    module1.AttackBest[1] = scores[best];
    module1.AttackBest[2] = scores[best + 1];
    module1.AttackBest[3] = scores[best + 2];
    module1.AttackBest[0] = Saturated(PlaceTotal(module1, player, stage, 1));
    for (int place = 2; place <= 5; ++place)
      module1.AttackBest[static_cast<size_t>(place + 2)] =
          Saturated(PlaceTotal(module1, player, stage, place));
  } else if (module1.GameMode == 3) {
    const int64_t highScore = PlaceTotal(module1, player, stage, 1);
    int64_t allStages = 0;
    for (int other = 1; other <= 5; ++other) allStages += PlaceTotal(module1, player, other, 1);
    module1.HighScore = Saturated(highScore);
    module1.OtherStagesBest = Saturated(allStages - highScore);
    module1.LandingPoints[0] = module1.HighScore;
    module1.LandingPoints[1] = scores[best];
    module1.LandingPoints[2] = scores[best + 1];
    module1.LandingPoints[3] = scores[best + 2];
    int64_t shown = 0;
    for (int other = 1; other <= 5; ++other) {
      const int32_t stageBest = Saturated(PlaceTotal(module1, player, other, 1));
      module1.LandingPoints[static_cast<size_t>(other + 3)] = stageBest;
      shown += stageBest;
    }
    module1.LandingPoints[9] = Saturated(shown);
  }
}
