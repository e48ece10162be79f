// Score memo "MTSCmemo.txt": one three-line record appended per finished normal run.
#include "scores/Memo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "linux/PosixFile.h"
#include "scores/ScoreFile.h"
#include "scores/ScoreNumbers.h"
#include "shell/EndProgram.h"

namespace {

constexpr char LineEnd[] = "\r\n";

std::string DateTimeText(const LocalDateTime& when) {
  char text[96];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %d:%02d:%02d", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  return text;
}

bool AppendToFile(const std::string& path, const std::string& record) {
  // Non-blocking: a pipe in the memo's place must fail, not wait for a reader for ever.
  Descriptor memo(OpenFile(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK, 0666));
  struct stat before {};
  if (!memo.Valid() || ::fstat(memo.Get(), &before) != 0 || !S_ISREG(before.st_mode)) return false;
  if (!WriteAll(memo.Get(), std::span(reinterpret_cast<const uint8_t*>(record.data()), record.size()))) {
    // Part of a record (a full disk, the file size limit) would stay in the memo for good.
    [[maybe_unused]] const int ignored = ::ftruncate(memo.Get(), before.st_size);
    return false;
  }
  // A full disk can show up only at the close.
  return memo.Close();
}

}  // namespace

std::string ScoreMemoRecord(const LocalDateTime& when, const std::array<int32_t, 6>& runStageScores) {
  const int64_t total = WideSum(std::span(runStageScores).subspan(1));
  std::string record = DateTimeText(when) + LineEnd;
  record += Hundreds(total) + " (";
  for (int stage = 1; stage <= 5; ++stage) record += Hundreds(runStageScores[stage]) + (stage < 5 ? "/" : ")");
  return record + LineEnd + LineEnd;
}

void AppendScoreMemo(Module1& module1) {
  bool appended;
  try {
    appended = AppendToFile(module1.AppFolder + ScoreMemoFileName,
                            ScoreMemoRecord(module1.platform.Now(), module1.RunStageScores));
  } catch (const std::exception&) {
    appended = false;
  }
  if (!appended) ShowMessageAndEnd(module1, FileWriteErrorText);
}
