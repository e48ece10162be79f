// Score memo "MTSCmemo.txt": one three-line record appended per finished normal run.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "shell/Module1.h"

inline constexpr char ScoreMemoFileName[] = "MTSCmemo.txt";

// The record exactly as it goes into the file, CR LF after each line:
//   "2026/12/06 9:05:07"                       when the run ended (yyyy/MM/dd H:mm:ss)
//   "700000 (250000/240000/180000/30000/000)"  run total, then stages 1..5, each with "00" added
//   ""
// `runStageScores` is indexed by stage, 1..5, in hundreds of points; [0] is not used.
std::string ScoreMemoRecord(const LocalDateTime& when, const std::array<int32_t, 6>& runStageScores);

// Appends the record for RunStageScores, stamped with the platform's local time, to
// AppFolder + "MTSCmemo.txt", creating the file if needed. A failure shows the write error and
// ends the program.
void AppendScoreMemo(Module1& module1);
