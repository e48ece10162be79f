// Refuses a second running copy of the program on the same program folder.
//
// The claim is a write lock on the file "MTScore.lock" inside the program folder, taken as an
// open-file-description lock (F_OFD_SETLK) on a descriptor opened for writing:
// - Locks belong to the file, not to a path: a copy started through a symbolic link, a bind
//   mount, another mount or network namespace, or any other path to the same folder meets the
//   same file and is refused. Two different folders hold two different files.
// - The kernel drops the lock when the last descriptor of the holder closes, which happens when
//   the process ends however it ends (SIGKILL included). The file itself stays and blocks nothing.
// - Only folder writers can create, replace or link the file. It is created readable and writable
//   for exactly the classes (owner, group, others) that may write the folder or the score file,
//   and its owner puts those bits back at every claim. Anyone else cannot open it at all: not for
//   writing, so no write lock, and not for reading, so no read lock that would stand in the way of
//   ours (flock would not do: it can be taken through a read-only descriptor). People who may write
//   the score file can hold the claim; they could stop the game anyway by spoiling that file.
// - A copy that can neither create nor write the claim file (a player who may not write the folder)
//   is refused when the file shows a held claim, and otherwise claims with a write lock on the
//   score file itself, which such a player can only have opened when they may write it; every
//   claim through the claim file checks that no such lock is held.
#pragma once

#include <string>

inline constexpr char ClaimFileName[] = "MTScore.lock";

// Claims the program folder (with or without the trailing "/") for this process's lifetime.
// False when another running copy holds it.
bool ClaimProgramFolder(const std::string& programFolder);
