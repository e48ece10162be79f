// Global state that every window shares: the module variables and the score tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "scores/ScoreTables.h"

inline constexpr char AppTitle[] = "Morvane-Tesk";
inline constexpr int32_t DefaultSoundFlags = 139267;  // FileName | NoWait | NoDefault | Async

// One instance lives for the whole program; every window and procedure reaches it by reference.
// Numbers start at 0 and texts empty; AppStart gives Stage, PlayerIndex and SoundFlags their
// start values.
struct Module1 : ScoreTables {
  explicit Module1(Platform& services) : platform(services) {}
  Module1(const Module1&) = delete;
  Module1& operator=(const Module1&) = delete;

  Platform& platform;

  int32_t GameMode = 0;  // 1 normal, 2 score attack, 3 SUPER score attack, 4 high scores
  int32_t Stage = 0;     // 1..5
  int32_t PlayerIndex = 0;
  int32_t PromptState = 0;  // what the stage prompt's button does next
  int32_t AutoMemo = 0;     // 1 when the memo box was ticked at the START of this normal run
  std::string AppFolder;    // program folder, ends in "/"
  int32_t SoundFlags = 0;
  int32_t HighScore = 0;
  int32_t OtherStagesBest = 0;
  std::array<int32_t, 11> LandingPoints{};
  std::array<int32_t, 11> NormalTotals{};
  std::array<int32_t, 6> RunStageScores{};  // [1..5]; [0] unused
  std::array<int32_t, 11> AttackBest{};
};

// The values start-up gives: Stage 1, PlayerIndex 0 and the sound flags (also for the replay tool
// and the benchmark, which play without a score file).
void ApplyStartValues(Module1& module1);
