// The play screen's results: the rank checks, the insertion into the rankings with the name entry,
// and what follows a landing in the stage prompt.
#include <string>

#include "flight/Form1.h"
#include "scores/Memo.h"
#include "scores/NameLength.h"
#include "scores/Ranking.h"
#include "scores/ScoreFile.h"
#include "scores/ScoreNumbers.h"

void Form1::RankCheckNormal() { RankResult = NormalRank(TotalScore, module1_.NormalTotals); }

void Form1::RankCheckAttack() {
  RankResult = AttackRank(SoftnessPoints, ControlPoints, CoursePoints, module1_.AttackBest);
}

void Form1::InsertNormalRanking(int32_t place, const std::string& name) {
  ::InsertNormalRanking(module1_, place, name, module1_.RunStageScores);
}

void Form1::InsertAttackRanking(int32_t place) {
  ::InsertAttackRanking(module1_, module1_.PlayerIndex, module1_.Stage, place, SoftnessPoints, ControlPoints,
                        CoursePoints);
}

void Form1::LankinNormal() {
  Platform& platform = module1_.platform;
  const std::string prompt = std::to_string(RankResult) + "位にランクインしました！\r\n" +
                             "お名前をどうぞ。（16文字まで、漢字もOK）";
  constexpr char Title[] = "ランクインしたぞ";
  std::string name = platform.InputBox(prompt, Title, "");
  while (Utf16Length(name) > MaxNameLength) {
    platform.MessageBox("名前が長すぎます！", AppTitle, MessageIcon::Exclamation);
    name = platform.InputBox(prompt, Title, name);
  }
  InsertNormalRanking(RankResult, name);
  SaveScoreFile(module1_);

  links_.ShowNormalRanking();
}

void Form1::StageResult() {
  const int32_t total = LandingTotal();
  int32_t& promptState = module1_.PromptState;
  switch (module1_.GameMode) {
    case 1:
      if (module1_.Stage < 5) {
        links_.SetPromptMessage("OK!! 次のステージへゴー!");
        promptState = 3;
        module1_.Stage = module1_.Stage + 1;
      } else {
        links_.SetPromptMessage("全面クリアー！！\r\nスコアは" + Hundreds(TotalScore) + "点だっ。");
        PlayGameSound("all.wav");
        if (module1_.AutoMemo == 1) AppendScoreMemo(module1_);
        RankCheckNormal();
        promptState = RankResult != 0 ? 5 : 2;
      }
      break;
    case 2:
      if (RankResult != 0) {
        for (size_t i = 0; i <= 7; ++i) module1_.LandingPoints[i] = module1_.AttackBest[i];
        ScoreListUpAttack();
        InsertAttackRanking(RankResult);
        SaveScoreFile(module1_);
        links_.SetPromptMessage(std::to_string(RankResult) + "位にランクイン！！");
      } else {
        links_.SetPromptMessage("ランクインせず…");
      }
      promptState = 4;
      break;
    case 3:
      ScoreListUpNormal();
      if (HighScoreUpdated == 0) {
        // Wide: a loaded high score may lie anywhere in the 32-bit range.
        const int64_t shortOf = int64_t{module1_.HighScore} - total;
        links_.SetPromptMessage("ランクインせず…\r\nハイスコアまであと" + Hundreds(shortOf) + "点");
      } else {
        InsertAttackRanking(1);
        SaveScoreFile(module1_);
        links_.SetPromptMessage("Stage" + std::to_string(module1_.Stage) + ",ハイスコア更新！！");
      }
      promptState = 4;
      break;
    default: return;
  }
  links_.ShowPrompt();
}

void Form1::GameOverNormal() {
  if (module1_.AutoMemo == 1) AppendScoreMemo(module1_);
  links_.SetPromptMessage("ゲームオーバー");
  RankCheckNormal();
  module1_.PromptState = RankResult != 0 ? 5 : 2;
  links_.ShowPrompt();
}
