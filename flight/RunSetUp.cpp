// Setting a run's globals up.
#include "flight/RunSetUp.h"

#include "scores/ScoreNumbers.h"
#include "shell/AppFolder.h"

namespace {

// Total of place 1..5 of `player` on `stage` 1..5: the sum of its three criteria.
int64_t PlaceTotal(const Module1& module1, size_t player, int stage, int place) {
  return WideSum(std::span(module1.AttackScores[player]).subspan(static_cast<size_t>(AttackIndex(stage, place, 0)), 3));
}

}  // namespace

void BeginNormalRun(Form1& form1, Module1& module1, int32_t autoMemo) {
  module1.GameMode = 1;
  module1.Stage = 1;
  module1.AutoMemo = autoMemo;
  module1.NormalTotals.fill(0);
  module1.RunStageScores.fill(0);
  form1.TotalScore = 0;
  for (size_t entry = 0; entry < NormalEntryCount; ++entry) {
    module1.NormalTotals[entry] = Saturated(WideSum(module1.NormalScores[entry]));
  }
}

void BeginAttackRun(Module1& module1) {
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
    // The best of every stage, this one included: the other stages' sum is taken from the wide
    // totals, the shown sum from the shown (held) values.
    int64_t allStages = 0;
    int64_t shown = 0;
    for (int other = 1; other <= 5; ++other) {
      const int64_t stageTotal = PlaceTotal(module1, player, other, 1);
      const int32_t stageBest = Saturated(stageTotal);
      module1.LandingPoints[static_cast<size_t>(other + 3)] = stageBest;
      allStages += stageTotal;
      shown += stageBest;
    }
    module1.HighScore = Saturated(highScore);
    module1.OtherStagesBest = Saturated(allStages - highScore);
    module1.LandingPoints[0] = module1.HighScore;
    module1.LandingPoints[1] = scores[best];
    module1.LandingPoints[2] = scores[best + 1];
    module1.LandingPoints[3] = scores[best + 2];
    module1.LandingPoints[9] = Saturated(shown);
  }
}

void SetUpNormalFlight(Form1& form1, Module1& module1, int32_t stage) {
  module1.AppFolder = AppFolderFrom(module1.platform.ProgramFolder());
  ApplyStartValues(module1);
  BeginNormalRun(form1, module1, 0);
  module1.Stage = stage;
  form1.GameInit();
}
