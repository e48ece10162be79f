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

// Writes the tables to AppFolder + "MTScore.dat" (through a symbolic link to where it points).
// The new bytes go to a temporary file in the same folder, which is synced and renamed over the
// old one, and then the folder is synced, so a save that fails or is killed keeps the old file
// whole. The new file keeps the old one's mode and, where the process may set them, its owner and
// group. Old bytes beyond the new length stay behind it, as an in-place overwrite would leave
// them; they are copied in bounded pieces, holes staying holes. Where the folder refuses a new
// file but the score file itself is writable, the new bytes are written over the old in place
// and synced instead; so is a score file that carries the single-copy claim (see SingleInstance.h),
// so that the claim stays with the file. A hard link to the score file keeps the old bytes: the rename gives the name
// a new file. Any failure, running out of memory included, shows the write error and ends the
// program.
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
