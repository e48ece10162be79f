// The four persistent score tables, as every window reads them. Scores are in hundreds of points.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr int NormalEntryCount = 10;
inline constexpr int StageCount = 5;
inline constexpr int PlayerCount = 8;
inline constexpr int AttackValueCount = 75;  // 5 stages x 5 places x 3 criteria

struct ScoreTables {
  // Index 0 is 1st place. Names are UTF-8.
  std::array<std::string, NormalEntryCount> NormalNames;
  // NormalScores[entry][stage - 1].
  std::array<std::array<int32_t, StageCount>, NormalEntryCount> NormalScores{};
  // An empty name marks a free slot.
  std::array<std::string, PlayerCount> PlayerNames;
  // AttackScores[player][(stage - 1) * 15 + (place - 1) * 3 + criterion].
  std::array<std::array<int32_t, AttackValueCount>, PlayerCount> AttackScores{};

  bool operator==(const ScoreTables&) const = default;
};

// Index into AttackScores[player] for stage 1..5, place 1..5, criterion 0..2
// (landing softness, control steadiness, course accuracy).
constexpr int AttackIndex(int stage, int place, int criterion) {
  return (stage - 1) * 15 + (place - 1) * 3 + criterion;
}
