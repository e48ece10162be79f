// Score file "MTScore.dat": default tables, loading at start-up and saving after every change.
#pragma once

#include <functional>

#include "shell/Module1.h"

inline constexpr char ScoreFileName[] = "MTScore.dat";
inline constexpr char FileWriteErrorText[] = "ファイル書きこみ中エラー発生!";
inline constexpr char FileReadErrorText[] = "ファイル読みこみ中エラー発生!";

// Fills the tables with their defaults (empty players, ten house names with 2000 - 200 x e on
// every stage for entry e) and saves them. Called at start-up when there is no score file.
void InitScoreTables(Module1& module1);

// Replaces the tables with the contents of AppFolder + "MTScore.dat". A missing, unreadable or
// short file shows the read error and ends the program; the tables are then left untouched. Only
// the bytes the records can need are read, however large the file; a pipe in its place does not
// wait for a writer.
void LoadScoreFile(Module1& module1);

// Writes the tables to AppFolder + "MTScore.dat", where its symbolic link leads if it is one, so
// that a failed or killed save keeps the old file whole: the new bytes go to a synced temporary file
// that is renamed over the old one. The new file keeps the old one's mode and, where the process may
// set them, its owner and group; old bytes beyond the new length stay behind it, holes staying
// holes. Where the folder takes no new file, or the file carries the single-copy claim (which must
// stay with it), the bytes are written over the old ones in place instead. Any failure, running out
// of memory included, shows the write error and ends the program.
void SaveScoreFile(Module1& module1);

// Removes what saves killed before their rename left beside the score file (or beside the file
// its link points to): files named like "MTScore.dat.tmp-PID-N", nothing else. The single-copy
// guard makes sure no save of another copy is under way.
void RemoveSaveLeftovers(const Module1& module1);

// The system calls of a save, for tests that watch them or make one of them fail.
enum class SaveStep {
  OpenOld,
  ReadOld,
  CreateTemp,
  WriteTemp,
  SyncTemp,
  CloseTemp,
  Rename,
  SyncFolder,
  WriteInPlace,
  SyncInPlace
};
// Runs just before each call of `step`, with the descriptor the call acts on (-1 where it acts on
// a path). Returning true makes the call fail as if the system had refused it.
using SaveHookForTests = std::function<bool(SaveStep step, int fd)>;

void SaveScoreFile(Module1& module1, const SaveHookForTests& hook);
