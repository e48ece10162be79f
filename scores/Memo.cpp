// Score memo "MTSCmemo.txt": one three-line record appended per finished normal run.
#include "scores/Memo.h"

#include <cstdio>
#include <fstream>

#include "scores/ScoreFile.h"
#include "shell/EndProgram.h"

namespace {

constexpr char LineEnd[] = "\r\n";

std::string DateTimeText(const LocalDateTime& when) {
  char text[96];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %d:%02d:%02d", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  return text;
}

}  // namespace

std::string ScoreMemoRecord(const LocalDateTime& when, const std::array<int32_t, 6>& runStageScores) {
  // Summed wide: five 32-bit stage scores cannot overflow it.
  int64_t total = 0;
  for (int stage = 1; stage <= 5; ++stage) total += runStageScores[stage];
  std::string record = DateTimeText(when) + LineEnd;
  record += std::to_string(total) + "00 (";
  for (int stage = 1; stage <= 5; ++stage) {
    record += std::to_string(runStageScores[stage]) + (stage < 5 ? "00/" : "00)");
  }
  return record + LineEnd + LineEnd;
}

void AppendScoreMemo(Module1& module1) {
  const std::string record = ScoreMemoRecord(module1.platform.Now(), module1.RunStageScores);
  std::ofstream memo(module1.AppFolder + ScoreMemoFileName, std::ios::binary | std::ios::app);
  memo << record;
  // Closing flushes; a full disk shows up only there.
  memo.close();
  if (!memo) ShowMessageAndEnd(module1, FileWriteErrorText);
}
