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
// short file shows the read error and ends the program; the tables are then left untouched.
void LoadScoreFile(Module1& module1);

// Writes the tables to AppFolder + "MTScore.dat". The new bytes go to a temporary file in the
// same folder, which is synced and renamed over the old one, so a failed save keeps the old
// file whole. Old bytes beyond the new length stay behind it, as an in-place overwrite would
// leave them. Any failure shows the write error and ends the program.
void SaveScoreFile(Module1& module1);

// The steps of a save, in order, for tests that make one of them fail.
enum class SaveStep { OpenOld, ReadOld, CreateTemp, WriteTemp, SyncTemp, CloseTemp, Rename, SyncFolder };
// Returns true for the step that is to fail as if the system had refused it.
using SaveFaultForTests = std::function<bool(SaveStep)>;

void SaveScoreFile(Module1& module1, const SaveFaultForTests& failStep);
